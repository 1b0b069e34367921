#include "triggers/weekday.h"

#include <QCoreApplication>

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
        return QCoreApplication::translate("Weekdays", "Mon");
    case Weekday::Tuesday:
        return QCoreApplication::translate("Weekdays", "Tue");
    case Weekday::Wednesday:
        return QCoreApplication::translate("Weekdays", "Wed");
    case Weekday::Thursday:
        return QCoreApplication::translate("Weekdays", "Thu");
    case Weekday::Friday:
        return QCoreApplication::translate("Weekdays", "Fri");
    case Weekday::Saturday:
        return QCoreApplication::translate("Weekdays", "Sat");
    case Weekday::Sunday:
        return QCoreApplication::translate("Weekdays", "Sun");
    }
    return QString();
}

} // namespace Weekdays
