#pragma once

#include <QPointer>
#include <QQuickView>

class LockScreenContent;
class UnlockFlow;

// The window that covers one screen while locked: frameless, above every
// other window and outside the window manager's control, so that nothing can
// move, hide or decorate it. In windowed mode (for development) it is an
// ordinary window instead.
class OverlayPanel : public QQuickView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayPanel)

public:
    OverlayPanel(QScreen *screen, QQmlEngine *engine, UnlockFlow *flow, LockScreenContent *content,
                 bool windowed);
    ~OverlayPanel() override;

    [[nodiscard]] QScreen *targetScreen() const { return m_targetScreen; }
    [[nodiscard]] UnlockFlow *unlockFlow() const { return m_flow; }
    [[nodiscard]] LockScreenContent *content() const { return m_content; }

    // Applies the screen's frame again and shows the panel in front.
    void present();

private:
    QPointer<QScreen> m_targetScreen;
    UnlockFlow *m_flow;
    LockScreenContent *m_content;
    bool m_windowed;
};
