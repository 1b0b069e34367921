#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QTimer>

#include <chrono>

class PinAuthority;
class QKeyEvent;
class Preferences;

// The entry of the PIN (or a fingerprint) on one lock screen. Each covered
// screen has its own flow; the lock screen binds to its properties and the
// overlay feeds it the keys it grabbed. Typed digits never leave this object:
// the view only learns how many there are.
class UnlockFlow : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Each lock screen is given its flow by the overlay")
    Q_DISABLE_COPY_MOVE(UnlockFlow)

    Q_PROPERTY(bool showPINField READ showPINField NOTIFY showPINFieldChanged)
    Q_PROPERTY(int enteredCount READ enteredCount NOTIFY pinEntryChanged)
    Q_PROPERTY(int expectedLength READ expectedLength NOTIFY expectedLengthChanged)
    Q_PROPERTY(bool wrongPIN READ isWrongPIN NOTIFY wrongPINChanged)
    Q_PROPERTY(
        bool fingerprintAttempted READ isFingerprintAttempted NOTIFY fingerprintAttemptedChanged)
    Q_PROPERTY(bool fingerprintEnabled READ isFingerprintEnabled NOTIFY fingerprintEnabledChanged)
    // A finger was just read and not recognised; the reader goes on listening.
    Q_PROPERTY(
        bool fingerNotRecognised READ isFingerNotRecognised NOTIFY fingerNotRecognisedChanged)
    // The caption under the fingerprint symbol of the hint row.
    Q_PROPERTY(QString touchCaption READ touchCaption NOTIFY fingerNotRecognisedChanged)
    Q_PROPERTY(bool lockedOut READ isLockedOut NOTIFY lockoutChanged)
    Q_PROPERTY(qint64 lockoutRemainingSeconds READ lockoutRemainingSeconds NOTIFY lockoutChanged)
    Q_PROPERTY(qint64 failedAttempts READ failedAttempts NOTIFY failedAttemptsChanged)
    Q_PROPERTY(qint64 maxPINAttempts READ maxPINAttempts NOTIFY failedAttemptsChanged)
    // Another application still holds the keyboard: typed keys may not arrive.
    Q_PROPERTY(bool waitingForInput READ isWaitingForInput NOTIFY waitingForInputChanged)
    // What a web theme's page asks to check a PIN it collected itself.
    Q_PROPERTY(QObject *pinAuthority READ pinAuthority CONSTANT)

public:
    // Virtual key codes of the keys that edit the entry.
    static constexpr int backspaceKeyCode = 51;
    static constexpr int escapeKeyCode = 53;
    // How long "Not recognised" stays before the hint invites a touch again.
    static constexpr std::chrono::milliseconds notRecognisedDuration{3000};

    explicit UnlockFlow(PinAuthority &pins, Preferences &defaults, QObject *parent = nullptr);
    ~UnlockFlow() override;

    [[nodiscard]] bool showPINField() const { return m_showPINField; }
    [[nodiscard]] int enteredCount() const;
    [[nodiscard]] int expectedLength() const;
    [[nodiscard]] bool isWrongPIN() const { return m_wrongPIN; }
    [[nodiscard]] bool isFingerprintAttempted() const { return m_fingerprintAttempted; }
    [[nodiscard]] bool isFingerprintEnabled() const;
    [[nodiscard]] bool isFingerNotRecognised() const { return m_fingerNotRecognised; }
    [[nodiscard]] QString touchCaption() const;
    [[nodiscard]] bool isLockedOut() const;
    [[nodiscard]] qint64 lockoutRemainingSeconds() const;
    [[nodiscard]] qint64 failedAttempts() const;
    [[nodiscard]] qint64 maxPINAttempts() const;
    [[nodiscard]] bool isWaitingForInput() const { return m_waitingForInput; }
    void setWaitingForInput(bool waiting);
    [[nodiscard]] QObject *pinAuthority() const;

    // One key press: its text without modifiers and its virtual key code.
    void handleKeyPress(const QString &characters, int keyCode);
    void handleKeyEvent(const QKeyEvent &event);
    Q_INVOKABLE void submitPIN();
    Q_INVOKABLE void attemptFingerprint();
    // A fresh attempt, unless the reader is already listening for this screen.
    Q_INVOKABLE void retryFingerprint();
    // The end of the "Not recognised" display.
    void notRecognisedExpired();
    // Called when the lock screen is shown: one automatic fingerprint attempt.
    Q_INVOKABLE void appeared();
    // Called when the lock screen is put away to be shown again at the next
    // lock: the entry, the error and any fingerprint check still under way
    // belong to the lock that ended, and none of them may reach the next one.
    void reset();

Q_SIGNALS:
    // The user is authenticated; the overlay lowers the lock.
    void unlockRequested();
    // A PIN was typed in full and refused (also during a lockout, which
    // refuses every PIN); the panel shakes its dots.
    void pinRejected();
    void showPINFieldChanged();
    void pinEntryChanged();
    void expectedLengthChanged();
    void wrongPINChanged();
    void fingerprintAttemptedChanged();
    void fingerprintEnabledChanged();
    void fingerNotRecognisedChanged();
    void lockoutChanged();
    void failedAttemptsChanged();
    void waitingForInputChanged();

private:
    void setShowPINField(bool show);
    void setPinEntry(const QString &entry);
    void setWrongPIN(bool wrong);
    void setFingerprintAttempted(bool attempted);
    void finishFingerprint(bool success);
    void setFingerNotRecognised(bool notRecognised);
    void refreshExpectedLength();

    PinAuthority &m_pins;
    Preferences &m_defaults;
    QString m_pinEntry;
    bool m_showPINField = false;
    bool m_wrongPIN = false;
    bool m_fingerprintAttempted = false;
    bool m_fingerNotRecognised = false;
    QTimer m_notRecognisedTimer;
    int m_lastExpectedLength = 0;
    bool m_waitingForInput = false;
    // Counts the locks this flow has served; timers and fingerprint answers
    // started for an earlier one are dropped.
    quint64 m_session = 0;
};
