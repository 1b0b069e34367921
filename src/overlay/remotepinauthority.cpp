#include "overlay/remotepinauthority.h"

#include "overlay/lockchannel.h"
#include "overlay/lockmessage.h"

RemotePinAuthority::RemotePinAuthority(LockChannel &channel, QObject *parent)
    : PinAuthority(parent)
    , m_channel(channel)
{
    connect(&channel, &LockChannel::messageReceived, this, &RemotePinAuthority::handle);
    // Nobody left to answer: a check still waiting will not succeed.
    connect(&channel, &LockChannel::closed, this, [this] { finishBiometrics(false); });
}

RemotePinAuthority::~RemotePinAuthority() = default;

bool RemotePinAuthority::verifyPIN(const QString &candidate)
{
    m_channel.send(LockMessage::make(LockMessage::verify, {{QLatin1String("pin"), candidate}}));
    const std::optional<QJsonObject> answer =
        m_channel.waitFor(LockMessage::verified, answerTimeout);
    if (!answer)
        return false;
    applyState(*answer);
    return answer->value(QLatin1String("accepted")).toBool();
}

void RemotePinAuthority::authenticateWithBiometrics(std::function<void(bool)> completion)
{
    m_biometricWaiters.push_back(std::move(completion));
    if (m_biometricWaiters.size() == 1)
        m_channel.send(LockMessage::make(LockMessage::fingerprint));
    if (!m_channel.isOpen())
        finishBiometrics(false);
}

void RemotePinAuthority::cancelBiometrics()
{
    if (m_biometricWaiters.empty())
        return;
    m_channel.send(LockMessage::make(LockMessage::cancelFingerprint));
    finishBiometrics(false);
}

void RemotePinAuthority::finishBiometrics(bool success)
{
    for (const std::function<void(bool)> &waiter : std::exchange(m_biometricWaiters, {}))
        waiter(success);
}

void RemotePinAuthority::handle(const QJsonObject &message)
{
    const QString type = LockMessage::typeOf(message);
    if (type == LockMessage::pinState)
        applyState(message);
    else if (type == LockMessage::fingerprintResult)
        finishBiometrics(message.value(QLatin1String("success")).toBool());
    else if (type == LockMessage::fingerNotRecognised)
        Q_EMIT biometricNotRecognised();
}

void RemotePinAuthority::applyState(const QJsonObject &state)
{
    const auto number = [&state](const char *key, qint64 current) {
        const QJsonValue value = state.value(QLatin1String(key));
        return value.isDouble() ? qint64(value.toDouble()) : current;
    };
    const qint64 failed = number("failedAttempts", m_failedAttempts);
    const qint64 remaining = number("lockoutRemainingSeconds", m_lockoutRemaining);
    const qint64 maxAttempts = qMax<qint64>(1, number("maxPINAttempts", m_maxAttempts));
    const qint64 length = qMax<qint64>(1, number("expectedPINLength", m_expectedLength));
    const bool lockedOut = state.value(QLatin1String("lockedOut")).toBool(m_lockedOut);
    if (failed != m_failedAttempts) {
        m_failedAttempts = failed;
        Q_EMIT failedAttemptsChanged();
    }
    if (lockedOut != m_lockedOut) {
        m_lockedOut = lockedOut;
        Q_EMIT isLockedOutChanged();
    }
    if (remaining != m_lockoutRemaining) {
        m_lockoutRemaining = remaining;
        Q_EMIT lockoutRemainingSecondsChanged();
    }
    if (maxAttempts != m_maxAttempts) {
        m_maxAttempts = maxAttempts;
        Q_EMIT maxPINAttemptsChanged();
    }
    if (length != m_expectedLength) {
        m_expectedLength = length;
        Q_EMIT storedPINChanged();
    }
}
