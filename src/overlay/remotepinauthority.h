#pragma once

#include "overlay/pinauthority.h"

#include <QJsonObject>

#include <chrono>
#include <vector>

class LockChannel;

// The lock-screen process's view of the application's PIN manager: the
// state the application last sent, and every check asked over the channel.
// No answer in time, or no application, refuses the PIN.
class RemotePinAuthority : public PinAuthority
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RemotePinAuthority)

public:
    static constexpr std::chrono::milliseconds answerTimeout{3000};

    explicit RemotePinAuthority(LockChannel &channel, QObject *parent = nullptr);
    ~RemotePinAuthority() override;

    [[nodiscard]] qint64 failedAttempts() const override { return m_failedAttempts; }
    [[nodiscard]] bool isLockedOut() const override { return m_lockedOut; }
    [[nodiscard]] qint64 lockoutRemainingSeconds() const override { return m_lockoutRemaining; }
    [[nodiscard]] qint64 maxPINAttempts() const override { return m_maxAttempts; }
    [[nodiscard]] qint64 expectedPINLength() const override { return m_expectedLength; }

    bool verifyPIN(const QString &candidate) override;
    void authenticateWithBiometrics(std::function<void(bool)> completion) override;
    void cancelBiometrics() override;

private:
    void handle(const QJsonObject &message);
    void applyState(const QJsonObject &state);
    void finishBiometrics(bool success);

    LockChannel &m_channel;
    qint64 m_failedAttempts = 0;
    bool m_lockedOut = false;
    qint64 m_lockoutRemaining = 0;
    qint64 m_maxAttempts = 5;
    qint64 m_expectedLength = 4;
    std::vector<std::function<void(bool)>> m_biometricWaiters;
};
