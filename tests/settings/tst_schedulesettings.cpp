#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "settings/schedulesettings.h"
#include "triggers/locktarget.h"
#include "triggers/schedulemanager.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

class TestScheduleSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
        m_target.emplace([] { return false; }, [this] { ++m_locks; });
        m_schedule.emplace(*m_defaults, *m_target,
                           [] { return QDateTime(QDate(2026, 3, 7), QTime(12, 0)); });
        m_settings.emplace(*m_schedule);
    }
    void cleanup()
    {
        m_settings.reset();
        m_schedule.reset();
        m_target.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void addingToAnEmptyScheduleShowsTheDefaultSlot()
    {
        QVERIFY(m_settings->rows().isEmpty());
        QSignalSpy changed(m_settings.operator->(), &ScheduleSettings::rowsChanged);
        m_settings->addSlot();
        QCOMPARE(changed.count(), 1);
        const QList<ScheduleRow> rows = m_settings->rows();
        QCOMPARE(rows.size(), 1);
        const ScheduleRow row = rows.first();
        QCOMPARE(row.timeRange, QStringLiteral("09:00 – 17:00"));
        QCOMPARE(row.days, QStringLiteral("Weekdays"));
        QCOMPARE(m_settings->rowModel()->count(), 1);

        const auto stored = ScheduleSlot::decode(
            m_defaults->data(PreferenceKey::scheduleSlots).value_or(QByteArray()));
        QVERIFY(stored.has_value());
        QCOMPARE(stored->size(), 1);
        QCOMPARE(stored->first().id.toString(QUuid::WithoutBraces), row.slotId);
    }

    void removingWritesTheRestInOrder()
    {
        m_settings->addSlot();
        m_settings->addSlot();
        m_settings->addSlot();
        const QList<ScheduleRow> rows = m_settings->rows();
        m_settings->removeSlot(rows.at(1).slotId);

        const auto stored = ScheduleSlot::decode(
            m_defaults->data(PreferenceKey::scheduleSlots).value_or(QByteArray()));
        QVERIFY(stored.has_value());
        QCOMPARE(stored->size(), 2);
        QCOMPARE(stored->at(0).id.toString(QUuid::WithoutBraces), rows.at(0).slotId);
        QCOMPARE(stored->at(1).id.toString(QUuid::WithoutBraces), rows.at(2).slotId);

        m_settings->removeSlot(rows.at(0).slotId);
        m_settings->removeSlot(rows.at(2).slotId);
        QVERIFY(m_settings->rows().isEmpty());
        QCOMPARE(ScheduleSlot::decode(
                     m_defaults->data(PreferenceKey::scheduleSlots).value_or(QByteArray()))
                     ->size(),
                 0);
    }

    void anUnknownOrMalformedIdRemovesNothing_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addRow("unknown") << QUuid::createUuid().toString(QUuid::WithoutBraces);
        QTest::addRow("not an id") << QStringLiteral("trash");
    }
    void anUnknownOrMalformedIdRemovesNothing()
    {
        QFETCH(QString, id);
        m_settings->addSlot();
        const QByteArray before =
            m_defaults->data(PreferenceKey::scheduleSlots).value_or(QByteArray());
        m_settings->removeSlot(id);
        QCOMPARE(m_settings->rows().size(), 1);
        QCOMPARE(m_defaults->data(PreferenceKey::scheduleSlots).value_or(QByteArray()), before);
    }

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
    std::optional<LockTarget> m_target;
    std::optional<ScheduleManager> m_schedule;
    std::optional<ScheduleSettings> m_settings;
    int m_locks = 0;
};

QTEST_GUILESS_MAIN(TestScheduleSettings)
#include "tst_schedulesettings.moc"
