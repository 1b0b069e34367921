#pragma once

#include <QObject>
#include <QString>

#include <functional>

// What a lock screen asks about the PIN: how many digits to collect, whether
// a typed one unlocks, the count of wrong attempts and the lockout, and the
// fingerprint alternative. The application answers itself (PINManager); a
// lock-screen process asks the application over its channel, so that one
// count and one lockout hold however many lock screens come and go.
class PinAuthority : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PinAuthority)

public:
    using QObject::QObject;
    ~PinAuthority() override = default;

    [[nodiscard]] virtual qint64 failedAttempts() const = 0;
    [[nodiscard]] virtual bool isLockedOut() const = 0;
    [[nodiscard]] virtual qint64 lockoutRemainingSeconds() const = 0;
    [[nodiscard]] virtual qint64 maxPINAttempts() const = 0;
    // The number of digits the lock screen collects before it checks.
    [[nodiscard]] virtual qint64 expectedPINLength() const = 0;

    // False while locked out; a wrong candidate counts and may start a
    // lockout; the right one clears the count.
    Q_INVOKABLE virtual bool verifyPIN(const QString &candidate) = 0;
    // One fingerprint check; see PINManager for how concurrent requests share it.
    virtual void authenticateWithBiometrics(std::function<void(bool)> completion) = 0;
    Q_INVOKABLE virtual void cancelBiometrics() = 0;

Q_SIGNALS:
    void failedAttemptsChanged();
    void isLockedOutChanged();
    void lockoutRemainingSecondsChanged();
    void maxPINAttemptsChanged();
    void storedPINChanged();
    // A finger was read and did not match; the running check goes on. It
    // does not count as a wrong attempt.
    void biometricNotRecognised();
};
