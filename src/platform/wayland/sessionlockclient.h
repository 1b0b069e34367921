#pragma once

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRegion>
#include <QSize>

#include <map>
#include <memory>

class QSocketNotifier;
class QTimer;
class XkbKeyboard;
struct wl_display;

// A screen lock through ext-session-lock-v1 on a Wayland connection of its
// own: one lock surface per output (outputs that appear during the lock get
// one at once), drawn from QImages copied into wl_shm buffers, with the
// keyboard and pointer that the compositor sends only to these surfaces
// while locked. Outputs are named by their wl_registry name.
//
// The compositor keeps every output covered until unlockAndDestroy(); if this
// object or its process goes away while locked, the session stays locked.
class SessionLockClient : public QObject
{
    Q_OBJECT
public:
    explicit SessionLockClient(QObject *parent = nullptr);
    ~SessionLockClient() override;
    Q_DISABLE_COPY_MOVE(SessionLockClient)

    // Connects to the compositor of WAYLAND_DISPLAY (a name in
    // XDG_RUNTIME_DIR or an absolute socket path). False, with the reason in
    // error, when there is none or it offers no session lock.
    bool connectToCompositor(QString *error);
    // Whether the session's compositor offers ext-session-lock-v1: one
    // round trip on a connection made and closed for the purpose.
    static bool compositorOffersSessionLock();

    // Asks for the lock: locked() when every output is covered, finished()
    // when the compositor refuses (another client holds a lock).
    void lock();
    // Ends the lock; only once locked() came (before that, the lock is not
    // ours to end).
    void unlockAndDestroy();
    [[nodiscard]] bool isLocked() const { return m_state == State::Locked; }

    // The outputs whose lock surface is configured, and their size.
    [[nodiscard]] QList<int> outputs() const;
    [[nodiscard]] QSize surfaceSize(int output) const;
    // The compositor's name of the output ("HEADLESS-1", "DP-2"), empty when it
    // sends none (wl_output before version 4).
    [[nodiscard]] QString outputName(int output) const;

    // Shows frame on the output's lock surface; damage is what changed since
    // the last frame. Only after surfaceConfigured() for that output. When
    // the compositor still holds every buffer, the newest frame waits for
    // the next one it gives back.
    void present(int output, const QImage &frame, const QRegion &damage);

Q_SIGNALS:
    void locked();
    void finished();
    void surfaceConfigured(int output, QSize size);
    void outputRemoved(int output);
    void keyPressed(int qtKey, const QString &text, Qt::KeyboardModifiers modifiers);
    void keyReleased(int qtKey, const QString &text, Qt::KeyboardModifiers modifiers);
    void pointerMoved(int output, QPointF position);
    void pointerButton(int output, QPointF position, Qt::MouseButton button, bool pressed);
    // The connection broke (the compositor went away or sent a protocol
    // error); nothing more will come from this object.
    void connectionError(const QString &message);

private:
    struct Globals;
    struct Output;
    enum class State { Idle, Locking, Locked };

    void closeConnection();
    void releaseSeat();
    void releaseKeyboard();
    void releasePointer();
    void showCursor(struct wl_pointer *pointer, quint32 serial);
    void readEvents();
    void dispatchPending();
    void flush();
    bool checkError();
    void addSurface(Output &output);
    void destroySurface(Output &output);
    void removeOutput(quint32 name);
    void endLock();
    void drawPending(Output &output);
    Output *outputOfSurface(const void *surface);
    void keyEvent(quint32 key, bool pressed);
    void repeatKey();

    wl_display *m_display = nullptr;
    std::unique_ptr<Globals> m_globals;
    std::map<quint32, std::unique_ptr<Output>> m_outputs;
    std::unique_ptr<XkbKeyboard> m_keyboard;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer *m_repeatTimer = nullptr;
    quint32 m_repeatCode = 0;
    int m_repeatRate = 25;
    int m_repeatDelay = 600;
    Output *m_pointerOutput = nullptr;
    QPointF m_pointerPosition;
    QPoint m_cursorHotspot;
    State m_state = State::Idle;
    bool m_broken = false;

    friend struct SessionLockListeners;
};
