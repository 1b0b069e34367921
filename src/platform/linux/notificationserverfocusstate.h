#pragma once

#include "platform/focusstate.h"

#include <QDBusServiceWatcher>
#include <QStringList>
#include <QVariantMap>

// Do Not Disturb as the desktop's notification server publishes it (KDE
// Plasma): the Bool property "Inhibited" of org.freedesktop.Notifications and
// its PropertiesChanged signal. The server may come and go; while it is
// absent nothing is inhibited, and its leaving is not reported as a change,
// so a crashing server never counts as the user turning anything on or off.
class NotificationServerFocusState : public FocusState
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationServerFocusState)

public:
    explicit NotificationServerFocusState(QObject *parent = nullptr);
    ~NotificationServerFocusState() override;

    [[nodiscard]] bool isFocusActive() const override { return m_isInhibited; }

private Q_SLOTS:
    void onPropertiesChanged(const QString &interface, const QVariantMap &changed,
                             const QStringList &invalidated);

private:
    // Reads the property afresh; `report` announces the answer as a change.
    void fetch(bool report);

    QDBusServiceWatcher m_watcher;
    bool m_isInhibited = false;
    // Answers asked of a server that has left since are dropped.
    quint64 m_generation = 0;
};
