#pragma once

#include <QHashFunctions>
#include <QString>

#include <array>
#include <optional>

// Days of the week numbered from Monday = 1 to Sunday = 7; these numbers are
// what the stored schedule holds.
enum class Weekday { Monday = 1, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday };

inline size_t qHash(Weekday day, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(day), seed);
}

namespace Weekdays {
inline constexpr std::array<Weekday, 7> all{Weekday::Monday,   Weekday::Tuesday, Weekday::Wednesday,
                                            Weekday::Thursday, Weekday::Friday,  Weekday::Saturday,
                                            Weekday::Sunday};

[[nodiscard]] constexpr int rawValue(Weekday day)
{
    return static_cast<int>(day);
}
// Nothing outside 1...7.
[[nodiscard]] std::optional<Weekday> fromRawValue(qint64 raw);
// From the numbering that starts the week on Sunday = 1 (… Saturday = 7).
[[nodiscard]] std::optional<Weekday> fromSundayFirst(int day);
// "Mon" … "Sun".
[[nodiscard]] QString shortName(Weekday day);
} // namespace Weekdays
