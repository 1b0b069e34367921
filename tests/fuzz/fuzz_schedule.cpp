// Feeds arbitrary bytes to the reader of the stored schedule, directly and as
// the value the schedule manager loads from the preferences. Whatever is
// accepted must write back and read again unchanged; whatever is refused must
// leave the stored value as it was.
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "triggers/locktarget.h"
#include "triggers/schedulemanager.h"
#include "triggers/scheduleslot.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *folder = nullptr;

void silence(QtMsgType, const QMessageLogContext &, const QString &)
{}

// Monday 1 January 2024 at the given minute of the week, local time.
QDateTime minuteOfWeek(int minute)
{
    return QDateTime(QDate(2024, 1, 1).addDays(minute / 1440),
                     QTime((minute % 1440) / 60, minute % 60));
}

// The matcher must answer for any slot the reader let through, and a slot
// that is off or has no days never matches.
void checkMatching(const QList<ScheduleSlot> &slots)
{
    QList<ScheduleSlot> live;
    for (const ScheduleSlot &slot : slots) {
        if (slot.enabled && !slot.days.isEmpty())
            live.append(slot);
        if (ScheduleManager::daysDescription(slot).isEmpty() != slot.days.isEmpty())
            std::abort();
    }
    for (int minute : {0, 59, 600, 1439, 1440 + 720, 5 * 1440 + 1, 7 * 1440 - 1}) {
        const QDateTime when = minuteOfWeek(minute);
        if (ScheduleManager::isInSchedule(slots, when) != ScheduleManager::isInSchedule(live, when))
            std::abort();
    }
    if (ScheduleManager::isInSchedule(slots, QDateTime()))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    folder = new QTemporaryDir;
    qInstallMessageHandler(silence);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QList<ScheduleSlot>> slots = ScheduleSlot::decode(bytes);

    if (slots) {
        // Each element on its own reads as it did inside the array.
        const QJsonArray array = QJsonDocument::fromJson(bytes).array();
        if (array.size() != slots->size())
            std::abort();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (ScheduleSlot::fromJson(array.at(i).toObject()) != slots->at(i))
                std::abort();
        }
        // What is written reads back the same, and writes the same again.
        const QByteArray encoded = ScheduleSlot::encode(*slots);
        const std::optional<QList<ScheduleSlot>> again = ScheduleSlot::decode(encoded);
        if (!again || *again != *slots || ScheduleSlot::encode(*again) != encoded)
            std::abort();
        checkMatching(*slots);
    }

    // The manager loads the same slots from the preferences, or none, and
    // never rewrites a value it could not read.
    const QString path = folder->filePath(QStringLiteral("defaults.json"));
    {
        Preferences defaults(path);
        if (!defaults.setData(PreferenceKey::scheduleSlots, bytes))
            std::abort();
        LockTarget target([] { return true; }, [] {});
        ScheduleManager manager(defaults, target, [] { return minuteOfWeek(600); });
        if (manager.slots() != slots.value_or(QList<ScheduleSlot>()))
            std::abort();
        if (!slots && defaults.data(PreferenceKey::scheduleSlots) != bytes)
            std::abort();
        manager.check();
    }
    QFile::remove(path);
    return 0;
}
