#include "triggers/schedulemanager.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "triggers/locktarget.h"

#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>

namespace {
Q_LOGGING_CATEGORY(lcSchedule, "vostrel.schedule")

bool isExactly(const QSet<Weekday> &days, std::initializer_list<Weekday> expected)
{
    return days == QSet<Weekday>(expected);
}
} // namespace

ScheduleManager::ScheduleManager(Preferences &defaults, LockTarget &target, Clock clock,
                                 QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_target(target)
    , m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); }))
    , m_timer(this)
{
    load();
    m_timer.setInterval(checkInterval);
    connect(&m_timer, &QTimer::timeout, this, &ScheduleManager::check);
    m_timer.start();
    // Created at launch, a slot that is already running should not wait a
    // whole interval for its lock.
    QMetaObject::invokeMethod(this, &ScheduleManager::check, Qt::QueuedConnection);
}

ScheduleManager::~ScheduleManager() = default;

bool ScheduleManager::hasStoredSchedule(const Preferences &defaults)
{
    return defaults.contains(PreferenceKey::scheduleSlots);
}

void ScheduleManager::load()
{
    const std::optional<QByteArray> stored = m_defaults.data(PreferenceKey::scheduleSlots);
    if (!stored) {
        if (m_defaults.contains(PreferenceKey::scheduleSlots))
            qCWarning(lcSchedule) << "the stored schedule is not a data value; schedule empty";
        return;
    }
    std::optional<QList<ScheduleSlot>> slots = ScheduleSlot::decode(*stored);
    if (!slots) {
        // The stored value stays as it is, so a newer version's format or a
        // hand edit is not lost before someone can look at it.
        qCWarning(lcSchedule) << "the stored schedule cannot be read; schedule empty";
        return;
    }
    m_slots = std::move(*slots);
}

void ScheduleManager::save()
{
    if (!m_defaults.setData(PreferenceKey::scheduleSlots, ScheduleSlot::encode(m_slots)))
        qCWarning(lcSchedule) << "the schedule could not be saved:" << m_defaults.lastError();
}

void ScheduleManager::addSlot()
{
    m_slots.append(ScheduleSlot{});
    save();
    Q_EMIT slotsChanged();
}

void ScheduleManager::removeSlot(const ScheduleSlot &slot)
{
    removeSlot(slot.id);
}

void ScheduleManager::removeSlot(const QUuid &id)
{
    m_slots.removeIf([&id](const ScheduleSlot &slot) { return slot.id == id; });
    save();
    Q_EMIT slotsChanged();
}

bool ScheduleManager::isInSchedule() const
{
    return isInSchedule(m_slots, m_clock());
}

bool ScheduleManager::isInSchedule(const QList<ScheduleSlot> &slots, const QDateTime &at)
{
    if (!at.isValid())
        return false;
    const QDateTime local = at.toLocalTime();
    const QTime time = local.time();
    // Qt numbers the days from Monday = 1, as the schedule does.
    const std::optional<Weekday> today = Weekdays::fromRawValue(local.date().dayOfWeek());
    if (!today || !time.isValid())
        return false;
    const int now = time.hour() * 60 + time.minute();

    return std::any_of(slots.cbegin(), slots.cend(), [&](const ScheduleSlot &slot) {
        if (!slot.enabled || slot.days.isEmpty() || !slot.days.contains(*today))
            return false;
        const qint64 start = qint64(slot.startHour) * 60 + slot.startMinute;
        const qint64 end = qint64(slot.endHour) * 60 + slot.endMinute;
        if (end < start)
            return start <= now || now < end;
        return start <= now && now < end;
    });
}

QString ScheduleManager::daysDescription(const ScheduleSlot &slot)
{
    if (slot.days.size() == qsizetype(Weekdays::all.size()))
        return tr("Every day");
    if (isExactly(slot.days, {Weekday::Monday, Weekday::Tuesday, Weekday::Wednesday,
                              Weekday::Thursday, Weekday::Friday}))
        return tr("Weekdays");
    if (isExactly(slot.days, {Weekday::Saturday, Weekday::Sunday}))
        return tr("Weekends");
    QStringList names;
    for (Weekday day : Weekdays::all) {
        if (slot.days.contains(day))
            names.append(Weekdays::shortName(day));
    }
    return names.join(QStringLiteral(", "));
}

void ScheduleManager::check()
{
    if (!isInSchedule() || m_target.isLocked())
        return;
    QPointer<ScheduleManager> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self)
                self->m_target.lock();
        },
        Qt::QueuedConnection);
}
