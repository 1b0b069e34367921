#include "triggers/weekday.h"

namespace Weekdays {

std::optional<Weekday> fromRawValue(qint64 raw)
{
    if (raw < 1 || raw > 7)
        return std::nullopt;
    return static_cast<Weekday>(raw);
}

std::optional<Weekday> fromSundayFirst(int day)
{
    if (day < 1 || day > 7)
        return std::nullopt;
    return day == 1 ? Weekday::Sunday : static_cast<Weekday>(day - 1);
}

QString shortName(Weekday day)
{
    switch (day) {
    case Weekday::Monday:
        return QStringLiteral("Mon");
    case Weekday::Tuesday:
        return QStringLiteral("Tue");
    case Weekday::Wednesday:
        return QStringLiteral("Wed");
    case Weekday::Thursday:
        return QStringLiteral("Thu");
    case Weekday::Friday:
        return QStringLiteral("Fri");
    case Weekday::Saturday:
        return QStringLiteral("Sat");
    case Weekday::Sunday:
        return QStringLiteral("Sun");
    }
    return QString();
}

} // namespace Weekdays
