#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "triggers/countinglock.h"
#include "triggers/schedulemanager.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <bitset>
#include <memory>

using DaySet = QSet<Weekday>;
// Built one by one: GCC 12 at -O2 mistakes QSet's initializer-list
// constructor for a use of a dangling pointer.
DaySet daySet(std::initializer_list<Weekday> days)
{
    DaySet set;
    for (Weekday day : days)
        set.insert(day);
    return set;
}

Q_DECLARE_METATYPE(ScheduleSlot)

namespace {
ScheduleSlot slot(int startHour, int startMinute, int endHour, int endMinute, DaySet days,
                  bool enabled = true)
{
    ScheduleSlot s;
    s.startHour = startHour;
    s.startMinute = startMinute;
    s.endHour = endHour;
    s.endMinute = endMinute;
    s.days = std::move(days);
    s.enabled = enabled;
    return s;
}

// 2024-01-01 is a Monday; day 0 is Monday.
QDateTime at(int day, int hour, int minute)
{
    return QDateTime(QDate(2024, 1, 1).addDays(day), QTime(hour, minute));
}

// Which minutes of the week a schedule covers, found by walking each slot
// forward from its start, minute by minute, until its end.
std::bitset<7 * 1440> coveredMinutes(const QList<ScheduleSlot> &slots)
{
    std::bitset<7 * 1440> covered;
    for (const ScheduleSlot &s : slots) {
        if (!s.enabled)
            continue;
        const int start = s.startHour * 60 + s.startMinute;
        const int end = s.endHour * 60 + s.endMinute;
        for (Weekday day : s.days) {
            const int base = (Weekdays::rawValue(day) - 1) * 1440;
            for (int minute = start; minute != end; minute = (minute + 1) % 1440)
                covered.set(base + minute);
        }
    }
    return covered;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject validSlotObject()
{
    return ScheduleSlot{}.toJson();
}
} // namespace

// The schedule: matching, its stored form, the days text and the check that
// raises the lock, with the clock set by the test.
class TestScheduleManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;
    std::unique_ptr<CountingLock> m_lock;
    QDateTime m_now;

    [[nodiscard]] std::unique_ptr<ScheduleManager> makeManager()
    {
        return std::make_unique<ScheduleManager>(*m_defaults, m_lock->target,
                                                 [this] { return m_now; });
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("d.json")));
        m_lock = std::make_unique<CountingLock>();
        m_now = at(0, 3, 0);
    }

    void cleanup()
    {
        m_lock.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void matching_data()
    {
        QTest::addColumn<ScheduleSlot>("slot");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<bool>("inside");

        // Whole minutes are walked below; these are the times between them.
        const ScheduleSlot office = slot(9, 0, 17, 0, {Weekday::Monday});
        QTest::addRow("office: 16:59:59")
            << office << QDateTime(QDate(2024, 1, 1), QTime(16, 59, 59)) << true;

        QTest::addRow("invalid time")
            << slot(0, 0, 23, 59, {Weekday::Monday}) << QDateTime() << false;
    }

    void matching()
    {
        QFETCH(ScheduleSlot, slot);
        QFETCH(QDateTime, when);
        QFETCH(bool, inside);
        QCOMPARE(ScheduleManager::isInSchedule({slot}, when), inside);
    }

    // Every minute of a week, for hand-picked and random schedules.
    void wholeWeekAgainstReference()
    {
        QList<QList<ScheduleSlot>> schedules{
            {},
            {slot(22, 0, 6, 0, {Weekday::Monday, Weekday::Sunday})},
            {slot(9, 0, 17, 0, {Weekday::Monday, Weekday::Wednesday}),
             slot(12, 0, 12, 0, {Weekday::Tuesday}), slot(0, 0, 23, 59, {}),
             slot(0, 0, 0, 1, {Weekday::Saturday}, false)},
            {slot(23, 59, 0, 0, {Weekday::Friday}), slot(0, 0, 0, 1, {Weekday::Saturday})},
        };
        QRandomGenerator random(20240101);
        for (int n = 0; n < 12; ++n) {
            QList<ScheduleSlot> schedule;
            const int count = random.bounded(1, 4);
            for (int i = 0; i < count; ++i) {
                DaySet days;
                for (Weekday day : Weekdays::all) {
                    if (random.bounded(2))
                        days.insert(day);
                }
                schedule.append(slot(random.bounded(24), random.bounded(60), random.bounded(24),
                                     random.bounded(60), days, random.bounded(5) != 0));
            }
            schedules.append(schedule);
        }

        for (const QList<ScheduleSlot> &schedule : std::as_const(schedules)) {
            const auto expected = coveredMinutes(schedule);
            for (int minute = 0; minute < 7 * 1440; ++minute) {
                const QDateTime when = at(minute / 1440, (minute % 1440) / 60, minute % 60);
                if (ScheduleManager::isInSchedule(schedule, when) != expected.test(minute)) {
                    QFAIL(qPrintable(QStringLiteral("minute %1 (%2) of schedule %3")
                                         .arg(minute)
                                         .arg(when.toString(Qt::ISODate))
                                         .arg(QString::fromUtf8(ScheduleSlot::encode(schedule)))));
                }
            }
        }
    }

    void addSaveAndReload()
    {
        auto manager = makeManager();
        QVERIFY(manager->slots().isEmpty());
        QVERIFY(!ScheduleManager::hasStoredSchedule(*m_defaults));
        manager->addSlot();
        manager->addSlot();
        QVERIFY(ScheduleManager::hasStoredSchedule(*m_defaults));

        const QVariant stored = m_defaults->value(PreferenceKey::scheduleSlots);
        QCOMPARE(stored.typeId(), QMetaType::QByteArray);
        const QJsonArray array = QJsonDocument::fromJson(stored.toByteArray()).array();
        QCOMPARE(array.size(), 2);
        // The names other machines read.
        const QJsonObject first = array.at(0).toObject();
        QCOMPARE(first.keys().join(u','), QStringLiteral("days,enabled,endHour,endMinute,id,"
                                                         "startHour,startMinute"));
        QCOMPARE(QUuid::fromString(first.value(QStringLiteral("id")).toString()),
                 manager->slots().at(0).id);
        QVERIFY(manager->slots().at(0).id != manager->slots().at(1).id);

        const auto reloaded = makeManager();
        QCOMPARE(reloaded->slots(), manager->slots());
    }

    void removeTakesEverySlotWithTheId()
    {
        ScheduleSlot twin = slot(1, 0, 2, 0, {Weekday::Monday});
        ScheduleSlot other = slot(3, 0, 4, 0, {Weekday::Monday});
        QJsonArray array{twin.toJson(), other.toJson(), twin.toJson()};
        m_defaults->setData(PreferenceKey::scheduleSlots, QJsonDocument(array).toJson());
        auto manager = makeManager();
        QCOMPARE(manager->slotCount(), 3);

        manager->removeSlot(twin);
        QCOMPARE(manager->slots(), QList<ScheduleSlot>{other});
        QCOMPARE(makeManager()->slots(), QList<ScheduleSlot>{other});

        manager->removeSlot(QUuid::createUuid());
        QCOMPARE(manager->slotCount(), 1);
    }

    void acceptsWhatOthersWrite()
    {
        // Days in any order and repeated, lower-case ids, extra keys.
        QJsonObject object = validSlotObject();
        object[QStringLiteral("days")] = QJsonArray{7, 1, 7};
        object[QStringLiteral("id")] = object.value(QStringLiteral("id")).toString().toLower();
        object[QStringLiteral("note")] = QStringLiteral("from elsewhere");
        m_defaults->setData(PreferenceKey::scheduleSlots,
                            QJsonDocument(QJsonArray{object}).toJson());
        const auto manager = makeManager();
        QCOMPARE(manager->slotCount(), 1);
        QCOMPARE(manager->slots().at(0).days, (daySet({Weekday::Monday, Weekday::Sunday})));
    }

    void malformedStoredSchedule_data()
    {
        QTest::addColumn<QVariant>("stored");

        const auto withSlot = [](const std::function<void(QJsonObject &)> &edit) {
            QJsonObject object = validSlotObject();
            edit(object);
            return QVariant(QJsonDocument(QJsonArray{validSlotObject(), object})
                                .toJson(QJsonDocument::Indented));
        };
        for (const char *key :
             {"id", "startHour", "startMinute", "endHour", "endMinute", "days", "enabled"}) {
            QTest::addRow("a slot without %s", key)
                << withSlot([key](QJsonObject &o) { o.remove(QLatin1String(key)); });
        }
        QTest::addRow("enabled as 1")
            << withSlot([](QJsonObject &o) { o[QStringLiteral("enabled")] = 1; });
        QTest::addRow("hour 9.5") << withSlot(
            [](QJsonObject &o) { o[QStringLiteral("startHour")] = 9.5; });
        QTest::addRow("hour 1e300")
            << withSlot([](QJsonObject &o) { o[QStringLiteral("endHour")] = 1e300; });
        QTest::addRow("day 0") << withSlot([](QJsonObject &o) {
            o[QStringLiteral("days")] = QJsonArray{0, 1};
        });
        QTest::addRow("day as name") << withSlot(
            [](QJsonObject &o) { o[QStringLiteral("days")] = QJsonArray{QStringLiteral("Mon")}; });
        QTest::addRow("id not a UUID")
            << withSlot([](QJsonObject &o) { o[QStringLiteral("id")] = QStringLiteral("slot-1"); });
        QTest::addRow("an element not an object")
            << QVariant(QJsonDocument(QJsonArray{validSlotObject(), 3}).toJson());
        QTest::addRow("truncated")
            << QVariant(QJsonDocument(QJsonArray{validSlotObject()}).toJson().chopped(3));
        QTest::addRow("binary") << QVariant(QByteArray("\x00\xff\xfe[{", 5));
        QTest::addRow("stored as a string")
            << QVariant(QString::fromUtf8(QJsonDocument(QJsonArray{validSlotObject()}).toJson()));
    }

    void malformedStoredSchedule()
    {
        QFETCH(QVariant, stored);
        QVERIFY(m_defaults->setValue(PreferenceKey::scheduleSlots, stored));
        const QByteArray fileBefore = fileBytes(m_defaults->filePath());

        m_now = at(0, 10, 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("schedule empty$")));
        auto manager = makeManager();
        QVERIFY(manager->slots().isEmpty());
        QVERIFY(!manager->isInSchedule());
        manager->check();
        QCoreApplication::processEvents();
        QCOMPARE(m_lock->locks, 0);
        manager.reset();

        QCOMPARE(m_defaults->value(PreferenceKey::scheduleSlots), stored);
        QCOMPARE(fileBytes(m_defaults->filePath()), fileBefore);
    }

    void checkLocksOnALaterTurn_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("alreadyLocked");
        QTest::addColumn<int>("locks");
        QTest::addRow("inside, unlocked") << at(0, 10, 0) << false << 1;
        QTest::addRow("inside, locked") << at(0, 10, 0) << true << 0;
        QTest::addRow("outside") << at(0, 18, 0) << false << 0;
    }

    void checkLocksOnALaterTurn()
    {
        QFETCH(QDateTime, now);
        QFETCH(bool, alreadyLocked);
        QFETCH(int, locks);

        m_now = at(0, 3, 0);
        auto manager = makeManager();
        manager->addSlot();
        QCoreApplication::processEvents();
        QCOMPARE(m_lock->locks, 0);

        m_now = now;
        m_lock->isLocked = alreadyLocked;
        manager->check();
        QCOMPARE(m_lock->locks, 0);
        if (locks > 0) {
            QTRY_COMPARE(m_lock->locks, locks);
        } else {
            QCoreApplication::processEvents();
            QCOMPARE(m_lock->locks, 0);
        }
    }

    // The check runs at creation, so a schedule stored before start-up locks
    // without waiting for the first interval; then every 30 s.
    void checksAtCreationThenEveryThirtySeconds()
    {
        m_defaults->setData(PreferenceKey::scheduleSlots,
                            ScheduleSlot::encode({slot(9, 0, 17, 0, {Weekday::Monday})}));
        m_now = at(0, 10, 0);
        auto manager = makeManager();
        QCOMPARE(m_lock->locks, 0);
        QTRY_COMPARE(m_lock->locks, 1);

        auto *timer = manager->findChild<QTimer *>();
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QVERIFY(!timer->isSingleShot());
        QCOMPARE(timer->intervalAsDuration(), std::chrono::milliseconds(30000));

        // Unlocked inside the slot: the next check brings the lock back.
        m_lock->isLocked = false;
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QTRY_COMPARE(m_lock->locks, 2);
    }

    void managerGoneBeforeTheLock()
    {
        m_defaults->setData(PreferenceKey::scheduleSlots,
                            ScheduleSlot::encode({slot(9, 0, 17, 0, {Weekday::Monday})}));
        m_now = at(0, 10, 0);
        auto manager = makeManager();
        manager->check();
        manager.reset();
        QCoreApplication::processEvents();
        QCOMPARE(m_lock->locks, 0);
    }
};

QTEST_GUILESS_MAIN(TestScheduleManager)
#include "tst_schedulemanager.moc"
