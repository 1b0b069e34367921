#include "overlay/lockmessage.h"

#include "overlay/pinauthority.h"

namespace LockMessage {

QJsonObject make(QLatin1StringView type, QJsonObject fields)
{
    fields.insert(QLatin1String("type"), QString(type));
    return fields;
}

QString typeOf(const QJsonObject &message)
{
    return message.value(QLatin1String("type")).toString();
}

QJsonObject pinStateOf(const PinAuthority &pins)
{
    return {{QLatin1String("failedAttempts"), pins.failedAttempts()},
            {QLatin1String("lockedOut"), pins.isLockedOut()},
            {QLatin1String("lockoutRemainingSeconds"), pins.lockoutRemainingSeconds()},
            {QLatin1String("maxPINAttempts"), pins.maxPINAttempts()},
            {QLatin1String("expectedPINLength"), pins.expectedPINLength()}};
}

} // namespace LockMessage
