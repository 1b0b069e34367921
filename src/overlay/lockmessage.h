#pragma once

#include <QJsonObject>
#include <QLatin1StringView>

class PinAuthority;

// The messages of the lock channel, by their "type".
namespace LockMessage {
// Application to lock screen.
inline constexpr QLatin1StringView lock{"lock"};
inline constexpr QLatin1StringView unlock{"unlock"};
// The answer to `verify`: {"accepted": bool} and the PIN state.
inline constexpr QLatin1StringView verified{"verified"};
// The count of attempts, the lockout and the PIN's length changed.
inline constexpr QLatin1StringView pinState{"pinState"};
// The answer to `fingerprint`: {"success": bool}.
inline constexpr QLatin1StringView fingerprintResult{"fingerprintResult"};
inline constexpr QLatin1StringView fingerNotRecognised{"fingerNotRecognised"};

// Lock screen to application.
// Every output is covered and the compositor confirmed the lock.
inline constexpr QLatin1StringView locked{"locked"};
// The compositor refused the lock or ended it; {"reason": text}.
inline constexpr QLatin1StringView finished{"finished"};
inline constexpr QLatin1StringView unlocked{"unlocked"};
// {"pin": digits}
inline constexpr QLatin1StringView verify{"verify"};
inline constexpr QLatin1StringView fingerprint{"fingerprint"};
inline constexpr QLatin1StringView cancelFingerprint{"cancelFingerprint"};

[[nodiscard]] QJsonObject make(QLatin1StringView type, QJsonObject fields = {});
[[nodiscard]] QString typeOf(const QJsonObject &message);
// The PIN state as the lock screen shows it.
[[nodiscard]] QJsonObject pinStateOf(const PinAuthority &pins);
} // namespace LockMessage
