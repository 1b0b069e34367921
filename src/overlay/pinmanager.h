#pragma once

#include "overlay/pinauthority.h"

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

class BiometricAuthenticator;
class QJSEngine;
class QQmlEngine;
class Preferences;

// Decides whether a typed PIN unlocks the overlay: the stored PIN and its
// scrambling, the count of wrong attempts, the escalating lockout with its
// one-second countdown, and the fingerprint alternative.
//
// The PIN is kept reversibly scrambled in the preferences (not hashed), so the
// same value can be read back by every part of the application. The count of
// wrong attempts and the running lockout are kept in a small file of their own
// beside the preferences, so that killing the process, a relaunch after a
// crash or a reboot does not hand out fresh guesses.
// The preferences are read at every use, so a change made by another process
// takes effect at the next check; the *Changed signals of the two preference
// backed properties fire only for changes made through this process's
// Preferences object. While a lock is up, though, the PIN stored when it went
// up is the one that unlocks it: a preferences file damaged or replaced
// meanwhile must not shut the owner out.
class PINManager : public PinAuthority
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(PINManager)

    Q_PROPERTY(qint64 failedAttempts READ failedAttempts NOTIFY failedAttemptsChanged)
    Q_PROPERTY(bool isLockedOut READ isLockedOut NOTIFY isLockedOutChanged)
    Q_PROPERTY(qint64 lockoutRemainingSeconds READ lockoutRemainingSeconds NOTIFY
                   lockoutRemainingSecondsChanged)
    Q_PROPERTY(qint64 maxPINAttempts READ maxPINAttempts NOTIFY maxPINAttemptsChanged)
    Q_PROPERTY(qint64 expectedPINLength READ expectedPINLength NOTIFY storedPINChanged)
    Q_PROPERTY(bool hasPIN READ hasPIN NOTIFY storedPINChanged)

public:
    static constexpr qint64 defaultMaxPINAttempts = 5;
    static constexpr qint64 defaultPINLength = 4;
    static constexpr qint64 baseLockoutSeconds = 30;
    // 30 * 2^58 still fits in a qint64; one more doubling would not.
    static constexpr qint64 maxLockoutExponent = 58;
    static constexpr std::chrono::milliseconds lockoutTickInterval{1000};

    explicit PINManager(Preferences &defaults, BiometricAuthenticator &biometrics,
                        QObject *parent = nullptr);
    ~PINManager() override;

    static PINManager *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] qint64 failedAttempts() const override { return m_failedAttempts; }
    [[nodiscard]] bool isLockedOut() const override { return m_isLockedOut; }
    [[nodiscard]] qint64 lockoutRemainingSeconds() const override
    {
        return m_lockoutRemainingSeconds;
    }
    [[nodiscard]] bool isLockoutTimerActive() const { return m_lockoutTimer.isActive(); }

    // The "maxPINAttempts" preference; 5 when it is absent, not an integer or
    // below 1 (a limit of 0 or less would lock out on the first wrong PIN for
    // an absurd time).
    [[nodiscard]] qint64 maxPINAttempts() const override;
    // Characters (code points) of the stored PIN, or 4 when none decodes: the
    // number of digits the lock screen collects before it checks.
    [[nodiscard]] qint64 expectedPINLength() const override;

    // False while locked out and whenever no PIN decodes, without counting;
    // a wrong candidate counts and may start a lockout; the right one clears
    // the count.
    Q_INVOKABLE bool verifyPIN(const QString &candidate) override;
    // Stores newPIN only when current is the stored PIN, or, when no PIN
    // decodes, when current is empty (there is nothing to prove then, and
    // nothing can lock until a PIN exists). The caller validates newPIN.
    // Neither the count nor the lockout changes.
    Q_INVOKABLE bool changePIN(const QString &current, const QString &newPIN);

    // UTF-8, XOR with the repeating salt "RiverOx", standard padded Base64.
    [[nodiscard]] static QString encodePIN(const QString &pin);
    // Nothing for text that is not strict, padded Base64, for bytes that are not
    // UTF-8 after unscrambling, and for an empty PIN (which would otherwise
    // unlock on the first key press).
    [[nodiscard]] static std::optional<QString> decodePIN(const QString &stored);
    [[nodiscard]] std::optional<QString> storedPIN() const;
    [[nodiscard]] bool hasPIN() const { return storedPIN().has_value(); }

    // The lock went up: the stored PIN is kept as it is now until endLock().
    // Without one, the preferences are still asked at every check.
    void beginLock();
    void endLock();

    // Where the count and the lockout survive the process.
    [[nodiscard]] QString stateFilePath() const { return m_statePath; }

    Q_INVOKABLE void resetAttempts();
    void startLockout();
    // 30 * 2^max(attempts - maxPINAttempts(), 0) seconds, the exponent capped
    // at maxLockoutExponent.
    [[nodiscard]] qint64 lockoutDuration(qint64 attempts) const;

    // One fingerprint check, which lasts until a finger matches, none comes in
    // time or it is cancelled; fingers not recognised meanwhile are reported
    // by biometricNotRecognised(). Requests made while one is running share
    // its answer, so every screen's lock view may ask at once. On success the
    // attempts are reset before any completion runs. Completions run on the
    // main thread; without a reader they may run before this returns.
    void authenticateWithBiometrics(std::function<void(bool)> completion) override;
    // Gives the reader back, e.g. once the PIN has unlocked; the waiting
    // completions receive false at once. Whatever the reader still says about
    // that check is ignored, and a request made before it has been given back
    // starts a check of its own once it has.
    Q_INVOKABLE void cancelBiometrics() override;
    [[nodiscard]] bool isBiometricCheckRunning() const { return !m_biometricWaiters.empty(); }

    // The once-a-second lockout countdown.
    void lockoutTick();

private:
    void setFailedAttempts(qint64 value);
    void setLockedOut(bool value);
    void setLockoutRemainingSeconds(qint64 value);
    void startBiometrics();
    void finishBiometrics(bool success);
    // The PIN that unlocks now: the one kept for the lock that is up, else
    // the stored one.
    [[nodiscard]] std::optional<QString> unlockingPIN() const;
    void restoreState();
    void saveState();

    Preferences &m_defaults;
    BiometricAuthenticator &m_biometrics;
    QTimer m_lockoutTimer;
    qint64 m_failedAttempts = 0;
    bool m_isLockedOut = false;
    qint64 m_lockoutRemainingSeconds = 0;
    std::vector<std::function<void(bool)>> m_biometricWaiters;
    // The reader's check has not answered yet (it may be a cancelled one).
    bool m_isReaderBusy = false;
    // Numbers the checks, so that one cancelled is told from the current one.
    quint64 m_biometricCheck = 0;
    std::optional<QString> m_lockPIN;
    QString m_statePath;
};
