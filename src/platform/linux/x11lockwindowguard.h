#pragma once

#include "platform/lockwindowguard.h"

#include <QPointer>
#include <QSet>
#include <QTimer>

#include "platform/linux/x11stackkeeper.h"

#include <xcb/xcb.h>

// The X11 side of holding the lock. The grabs are made on Qt's own connection
// (grabbed input is delivered to the client that grabbed it, and Qt must see
// the keys). The window stack is kept by an X11StackKeeper on a connection and
// thread of its own, so selecting root-window events never disturbs the event
// mask Qt relies on, and a window raised above a panel is pushed back under it
// at once even while the main thread is busy drawing; that thread also takes
// a lost grab back on Qt's connection.
class X11LockWindowGuard : public LockWindowGuard
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(X11LockWindowGuard)

public:
    explicit X11LockWindowGuard(QObject *parent = nullptr);
    ~X11LockWindowGuard() override;

    void prepare(QWindow *panel) override;
    void engage(const QList<QWindow *> &panels, QWindow *focusPanel) override;
    bool seizeInput(std::chrono::milliseconds timeout) override;
    void release() override;
    [[nodiscard]] bool isInputGrabbed() const override { return m_keyboard && m_pointer; }

    // One grab attempt; the retry timer calls it until both grabs are held.
    void tryGrab();
    // The crash guard's cover, kept right under the panels while engaged so
    // that it shows, and takes the keys, the instant the panels vanish.
    void setCrashCover(quint32 window);

private:
    [[nodiscard]] xcb_connection_t *qtConnection() const;
    [[nodiscard]] xcb_atom_t atom(const char *name) const;
    void keepPanelsOnTop();
    void focusLock(xcb_connection_t *c) const;
    // The stack keeper found a grab gone: the lock says so until it has
    // taken it back.
    void retakeInput();
    void setGrabbed(bool keyboard, bool pointer);

    QList<QPointer<QWindow>> m_panels;
    QSet<xcb_window_t> m_panelIds;
    QPointer<QWindow> m_focusPanel;
    xcb_window_t m_crashCover = XCB_NONE;
    bool m_engaged = false;
    bool m_keyboard = false;
    bool m_pointer = false;
    QTimer m_retryTimer;
    X11StackKeeper m_stackKeeper;
};
