#pragma once

#include "lockwindowguard.h"

#include <QPointer>
#include <QSet>
#include <QTimer>

#include <xcb/xcb.h>

class QSocketNotifier;

// The X11 side of holding the lock. The grabs are made on Qt's own connection
// (grabbed input is delivered to the client that grabbed it, and Qt must see
// the keys). The window stack is watched on a connection of our own, so that
// selecting root-window events never disturbs the event mask Qt relies on: a
// window that maps or is raised above a panel is pushed back under it at once,
// without a window manager's help and without polling.
class X11LockWindowGuard : public LockWindowGuard
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(X11LockWindowGuard)

public:
    explicit X11LockWindowGuard(QObject *parent = nullptr);
    ~X11LockWindowGuard() override;

    static X11LockWindowGuard &shared();

    void prepare(QWindow *panel) override;
    void engage(const QList<QWindow *> &panels, QWindow *focusPanel) override;
    void release() override;
    [[nodiscard]] bool isInputGrabbed() const override { return m_keyboard && m_pointer; }

    // One grab attempt; the retry timer calls it until both grabs are held.
    void tryGrab();

private:
    [[nodiscard]] xcb_connection_t *qtConnection() const;
    bool openWatchConnection();
    void closeWatchConnection();
    void watchStack(bool watch);
    void readStackEvents();
    void raisePanels();
    void setGrabbed(bool keyboard, bool pointer);

    QList<QPointer<QWindow>> m_panels;
    QSet<xcb_window_t> m_panelIds;
    QPointer<QWindow> m_focusPanel;
    bool m_engaged = false;
    bool m_keyboard = false;
    bool m_pointer = false;
    QTimer m_retryTimer;

    xcb_connection_t *m_watch = nullptr;
    xcb_window_t m_root = XCB_NONE;
    QSocketNotifier *m_notifier = nullptr;
};
