#include "settings/schedulesettings.h"

#include "triggers/schedulemanager.h"

#include <QUuid>

ScheduleSettings::ScheduleSettings(ScheduleManager &schedule, QObject *parent)
    : QObject(parent)
    , m_schedule(schedule)
{
    connect(&m_schedule, &ScheduleManager::slotsChanged, this, &ScheduleSettings::refreshRows);
    refreshRows();
}

QString ScheduleSettings::timeRange(const ScheduleSlot &slot)
{
    const auto time = [](int hour, int minute) {
        return QStringLiteral("%1:%2")
            .arg(hour, 2, 10, QLatin1Char('0'))
            .arg(minute, 2, 10, QLatin1Char('0'));
    };
    return time(slot.startHour, slot.startMinute) + QStringLiteral(" – ") +
           time(slot.endHour, slot.endMinute);
}

void ScheduleSettings::refreshRows()
{
    QList<ScheduleRow> rows;
    for (const ScheduleSlot &slot : m_schedule.slots()) {
        rows.append({slot.id.toString(QUuid::WithoutBraces), timeRange(slot),
                     ScheduleManager::daysDescription(slot)});
    }
    m_rows.setItems(std::move(rows));
    Q_EMIT rowsChanged();
}

void ScheduleSettings::addSlot()
{
    m_schedule.addSlot();
}

void ScheduleSettings::removeSlot(const QString &id)
{
    const QUuid uuid(id);
    if (!uuid.isNull())
        m_schedule.removeSlot(uuid);
}
