#pragma once

#include "triggers/weekday.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QUuid>

#include <optional>

// One weekly period during which the screen stays locked. The end is
// exclusive; an end before the start runs across midnight.
struct ScheduleSlot
{
    QUuid id = QUuid::createUuid();
    int startHour = 9;
    int startMinute = 0;
    int endHour = 17;
    int endMinute = 0;
    QSet<Weekday> days{Weekday::Monday, Weekday::Tuesday, Weekday::Wednesday, Weekday::Thursday,
                       Weekday::Friday};
    bool enabled = true;

    bool operator==(const ScheduleSlot &) const = default;

    [[nodiscard]] QJsonObject toJson() const;
    // All seven keys are required and typed: whole numbers for the times, raw
    // weekday values 1...7 for the days, a Bool for "enabled", a UUID for "id".
    [[nodiscard]] static std::optional<ScheduleSlot> fromJson(const QJsonObject &object);

    // The stored form: a JSON array of slots.
    [[nodiscard]] static QByteArray encode(const QList<ScheduleSlot> &slots);
    // Nothing unless every element decodes.
    [[nodiscard]] static std::optional<QList<ScheduleSlot>> decode(const QByteArray &json);
};
