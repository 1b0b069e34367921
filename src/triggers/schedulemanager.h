#pragma once

#include "triggers/scheduleslot.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

class LockTarget;
class Preferences;

// Keeps the weekly schedule and raises the lock whenever the local time falls
// inside an enabled slot on one of its days. It only ever raises the lock: an
// unlock inside a slot is undone at the next check.
class ScheduleManager : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScheduleManager)
    Q_PROPERTY(int slotCount READ slotCount NOTIFY slotsChanged)

public:
    using Clock = std::function<QDateTime()>;
    static constexpr std::chrono::seconds checkInterval{30};

    // Loads the stored slots and starts checking: once on the next turn of the
    // event loop, then every checkInterval.
    explicit ScheduleManager(Preferences &defaults, LockTarget &target, Clock clock = {},
                             QObject *parent = nullptr);
    ~ScheduleManager() override;

    // Whether a schedule is stored, so the application creates the manager at
    // launch rather than waiting for the Schedule page to be opened.
    [[nodiscard]] static bool hasStoredSchedule(const Preferences &defaults);

    [[nodiscard]] QList<ScheduleSlot> slots() const { return m_slots; }
    [[nodiscard]] int slotCount() const { return int(m_slots.size()); }

    // The only edits: append a slot with the defaults, or remove by identity.
    // Each saves at once.
    Q_INVOKABLE void addSlot();
    void removeSlot(const ScheduleSlot &slot);
    Q_INVOKABLE void removeSlot(const QUuid &id);
    // Leaves the stored value as it was when the slots cannot be encoded.
    void save();

    [[nodiscard]] bool isInSchedule() const;
    [[nodiscard]] static bool isInSchedule(const QList<ScheduleSlot> &slots, const QDateTime &at);
    // "Every day", "Weekdays", "Weekends", else the short names Monday first.
    [[nodiscard]] static QString daysDescription(const ScheduleSlot &slot);

    // The timer's callback, public so tests drive the clock. The lock is
    // raised on a later turn of the event loop.
    void check();

Q_SIGNALS:
    void slotsChanged();

private:
    void load();

    Preferences &m_defaults;
    LockTarget &m_target;
    Clock m_clock;
    QList<ScheduleSlot> m_slots;
    QTimer m_timer;
};
