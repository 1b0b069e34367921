#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class KeyGrabber;
class QWindow;
class Preferences;

// The one key combination that raises the lock from anywhere (Super+L unless
// the user records another). It is persisted under three preference keys and
// recognised by a global grab where the display server allows one, otherwise
// by an application-wide event filter that sees only the keys typed into this
// application's own windows.
class HotkeyManager : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HotkeyManager)
    Q_PROPERTY(
        quint64 modifierFlags READ modifierFlags WRITE setModifierFlags NOTIFY modifierFlagsChanged)
    Q_PROPERTY(quint16 keyCode READ keyCode WRITE setKeyCode NOTIFY keyCodeChanged)
    Q_PROPERTY(
        QString keyCharacter READ keyCharacter WRITE setKeyCharacter NOTIFY keyCharacterChanged)
    Q_PROPERTY(QString displayString READ displayString NOTIFY displayStringChanged)
    Q_PROPERTY(bool hasConflict READ hasConflict NOTIFY conflictChanged)
    Q_PROPERTY(QString conflictMessage READ conflictMessage NOTIFY conflictChanged)
    Q_PROPERTY(bool globalGrabSupported READ isGlobalGrabSupported CONSTANT)
    Q_PROPERTY(bool recording READ isRecording NOTIFY recordingChanged)

public:
    static constexpr quint64 defaultModifierFlags = 0x100000; // command
    static constexpr quint16 defaultKeyCode = 37;             // L

    // Reads the stored combination; writes nothing and emits nothing.
    explicit HotkeyManager(Preferences &defaults, KeyGrabber &grabber, QObject *parent = nullptr);
    ~HotkeyManager() override;

    [[nodiscard]] quint64 modifierFlags() const { return m_modifierFlags; }
    [[nodiscard]] quint16 keyCode() const { return m_keyCode; }
    [[nodiscard]] QString keyCharacter() const { return m_keyCharacter; }
    // Each setter stores its one key and emits hotkeyChanged(),
    // even when the value is unchanged.
    void setModifierFlags(quint64 flags);
    void setKeyCode(quint16 keyCode);
    void setKeyCharacter(const QString &character);

    // "Super+L": the combination in the desktop's words (KeyCombination).
    [[nodiscard]] QString displayString() const;
    // The same, one entry per key cap: {"Super", "L"}.
    [[nodiscard]] QStringList displayParts() const;
    // The combination stored in `defaults` as displayString() shows it, for
    // views that show it without owning the manager.
    [[nodiscard]] static QString storedDisplayString(const Preferences &defaults);

    // True when the last registration found the combination held by another
    // application: it then works only inside this one.
    [[nodiscard]] bool hasConflict() const { return m_hasConflict; }
    [[nodiscard]] QString conflictMessage() const;
    [[nodiscard]] bool isGlobalGrabSupported() const;

    // Replaces whatever was registered before; never stacks handlers. The
    // handler runs on the main thread: for a global press on a later turn of
    // the event loop, for a press inside the application at once. A
    // combination without any of the four modifiers is never installed, as
    // it would take a plain key away from every application.
    void registerHandler(std::function<void()> handler);
    Q_INVOKABLE void unregister();

    // The global grab watches other applications only: while one of this
    // application's own windows that take typing (settings, onboarding, a
    // dialog) has the focus, the grab is let go, so the recorder and the
    // text fields there receive every key and the combination does nothing.
    // The tray's pop-up panel and the lock's panels do not count. Follows
    // the application's focus window by itself.
    void setTypingWindowFocused(bool focused);
    [[nodiscard]] bool isTypingWindowFocused() const { return m_isTypingWindowFocused; }

    [[nodiscard]] bool isGlobalMonitorInstalled() const { return m_isGlobalInstalled; }
    [[nodiscard]] bool isLocalMonitorInstalled() const { return m_isLocalInstalled; }

    // Only shift, control, option and command count; lock and keypad bits don't.
    [[nodiscard]] bool matches(quint16 keyCode, quint64 modifierFlags) const;

    // While recording, the installed monitors are suspended (so pressing the
    // current combination records it instead of locking) and key presses
    // typed into the application go to recordKeyEvent().
    [[nodiscard]] bool isRecording() const { return m_isRecording; }
    Q_INVOKABLE void startRecording();
    Q_INVOKABLE void cancelRecording();
    // A press without one of the four modifiers is not consumed and recording
    // goes on; otherwise the flags, key code and character (upper-cased, "?"
    // when empty) are stored in that order, recording ends and the press is
    // consumed. Returns false when not recording.
    bool recordKeyEvent(quint16 keyCode, quint64 modifierFlags, const QString &characters);

Q_SIGNALS:
    void modifierFlagsChanged();
    void keyCodeChanged();
    void keyCharacterChanged();
    void displayStringChanged();
    void conflictChanged();
    void recordingChanged();
    // A setter ran: the combination may be new, and its grab with it.
    void hotkeyChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void install();
    void removeMonitors();
    void updateEventFilter();
    void setConflict(bool conflict);
    void stopRecording();
    void runHandler();
    void onGlobalActivated();
    void followFocusWindow(QWindow *window);

    Preferences &m_defaults;
    KeyGrabber &m_grabber;

    quint64 m_modifierFlags = defaultModifierFlags;
    quint16 m_keyCode = defaultKeyCode;
    QString m_keyCharacter;

    std::function<void()> m_handler;
    bool m_isGlobalInstalled = false;
    bool m_isLocalInstalled = false;
    bool m_isFilterInstalled = false;
    bool m_hasConflict = false;
    bool m_isRecording = false;
    bool m_isTypingWindowFocused = false;
    QMetaObject::Connection m_focusHidden;
    QMetaObject::Connection m_focusDestroyed;
};
