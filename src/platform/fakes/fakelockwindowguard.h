#pragma once

#include "platform/lockwindowguard.h"

#include <QPointer>
#include <QWindow>

class FakeLockWindowGuard : public LockWindowGuard
{
    Q_OBJECT

public:
    using LockWindowGuard::LockWindowGuard;

    void prepare(QWindow *panel) override { prepared.append(panel); }
    void engage(const QList<QWindow *> &panels, QWindow *focusPanel) override
    {
        guarded = panels;
        focus = focusPanel;
        ++engageCount;
        setGrabbed(grabSucceeds);
    }
    bool seizeInput(std::chrono::milliseconds) override
    {
        ++seizeCount;
        setGrabbed(grabSucceeds);
        return grabSucceeds;
    }
    void release() override
    {
        guarded.clear();
        focus = nullptr;
        ++releaseCount;
        setGrabbed(false);
    }
    [[nodiscard]] bool isInputGrabbed() const override { return m_grabbed; }

    void setGrabbed(bool grabbed)
    {
        if (m_grabbed == grabbed)
            return;
        m_grabbed = grabbed;
        Q_EMIT inputGrabbedChanged(grabbed);
    }

    bool grabSucceeds = true;
    QList<QWindow *> prepared;
    QList<QWindow *> guarded;
    QPointer<QWindow> focus;
    int engageCount = 0;
    int releaseCount = 0;
    int seizeCount = 0;

private:
    bool m_grabbed = false;
};
