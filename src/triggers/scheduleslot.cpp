#include "triggers/scheduleslot.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// JSON has only one kind of number; a time written as 9.5 or "9" is not one.
std::optional<qint64> wholeNumber(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::trunc(number) != number ||
        std::abs(number) > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return qint64(number);
}
} // namespace

QJsonObject ScheduleSlot::toJson() const
{
    QList<int> raw;
    for (Weekday day : days)
        raw.append(Weekdays::rawValue(day));
    std::sort(raw.begin(), raw.end());
    QJsonArray dayArray;
    for (int value : raw)
        dayArray.append(value);
    return {
        {QStringLiteral("id"), id.toString(QUuid::WithoutBraces).toUpper()},
        {QStringLiteral("startHour"), startHour},
        {QStringLiteral("startMinute"), startMinute},
        {QStringLiteral("endHour"), endHour},
        {QStringLiteral("endMinute"), endMinute},
        {QStringLiteral("days"), dayArray},
        {QStringLiteral("enabled"), enabled},
    };
}

std::optional<ScheduleSlot> ScheduleSlot::fromJson(const QJsonObject &object)
{
    ScheduleSlot slot;
    const QJsonValue id = object.value(QStringLiteral("id"));
    slot.id = QUuid::fromString(id.toString());
    if (!id.isString() || slot.id.isNull())
        return std::nullopt;

    const std::pair<const char *, int *> times[] = {{"startHour", &slot.startHour},
                                                    {"startMinute", &slot.startMinute},
                                                    {"endHour", &slot.endHour},
                                                    {"endMinute", &slot.endMinute}};
    for (const auto &[key, field] : times) {
        const std::optional<qint64> number = wholeNumber(object.value(QLatin1String(key)));
        if (!number)
            return std::nullopt;
        *field = int(*number);
    }

    const QJsonValue days = object.value(QStringLiteral("days"));
    if (!days.isArray())
        return std::nullopt;
    slot.days.clear();
    for (const QJsonValue &value : days.toArray()) {
        const std::optional<qint64> raw = wholeNumber(value);
        const std::optional<Weekday> day = raw ? Weekdays::fromRawValue(*raw) : std::nullopt;
        if (!day)
            return std::nullopt;
        slot.days.insert(*day);
    }

    const QJsonValue enabled = object.value(QStringLiteral("enabled"));
    if (!enabled.isBool())
        return std::nullopt;
    slot.enabled = enabled.toBool();
    return slot;
}

QByteArray ScheduleSlot::encode(const QList<ScheduleSlot> &slots)
{
    QJsonArray array;
    for (const ScheduleSlot &slot : slots)
        array.append(slot.toJson());
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<QList<ScheduleSlot>> ScheduleSlot::decode(const QByteArray &json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QList<ScheduleSlot> slots;
    for (const QJsonValue &value : document.array()) {
        if (!value.isObject())
            return std::nullopt;
        std::optional<ScheduleSlot> slot = fromJson(value.toObject());
        if (!slot)
            return std::nullopt;
        slots.append(*slot);
    }
    return slots;
}
