#include "core/preferencekeys.h"
#include "integrations/automationactions.h"
#include "support/lockstack.h"
#include "tray/traymodel.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using Action = TrayModel::Action;

class TestTrayModel : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LockStack> m_stack;
    QList<TrayModel::SettingsPage> m_openedPages;

    [[nodiscard]] std::unique_ptr<TrayModel> makeModel(bool withSettings = false)
    {
        TrayModel::SettingsOpener opener;
        if (withSettings)
            opener = [this](TrayModel::SettingsPage page) {
                m_openedPages << page;
            };
        auto model = std::make_unique<TrayModel>(
            TrayModel::Services{m_stack->overlay, m_stack->keepAwake, m_stack->defaults}, opener,
            [] {});
        connect(model.get(), &TrayModel::panelShouldClose, &m_stack->log,
                [this] { m_stack->log.record(Event::trayPanelShouldClose); });
        return model;
    }

    static QStringList rowTitles(const TrayModel &model, qsizetype section)
    {
        QStringList titles;
        const QList<TrayModel::Section> sections = model.sections();
        for (const TrayModel::Row &row : sections.at(section).rows)
            titles << row.title;
        return titles;
    }

    static std::optional<TrayModel::Row> findRow(const TrayModel &model, Action action)
    {
        const QList<TrayModel::Section> sections = model.sections();
        for (const TrayModel::Section &section : sections) {
            for (const TrayModel::Row &row : section.rows) {
                if (row.action == action)
                    return row;
            }
        }
        return std::nullopt;
    }

    // The panel and the automation status read the same state.
    void compareWithAutomationStatus(const TrayModel &model)
    {
        AutomationActions actions(m_stack->overlay, m_stack->pins, m_stack->keepAwake,
                                  m_stack->tasks);
        QCOMPARE(model.statusText(), actions.status());
    }

private Q_SLOTS:
    void init()
    {
        m_stack = std::make_unique<LockStack>();
        m_openedPages.clear();
    }

    void cleanup()
    {
        m_stack->overlay.deactivate();
        m_stack.reset();
    }

    void followsTheManagersWhileOpen()
    {
        const auto model = makeModel();
        QSignalSpy sections(model.get(), &TrayModel::sectionsChanged);
        QSignalSpy status(model.get(), &TrayModel::statusChanged);
        QSignalSpy remaining(model.get(), &TrayModel::remainingTimeTextChanged);

        m_stack->keepAwake.start(15min);
        QVERIFY(model->isKeepAwakeActive());
        QCOMPARE(rowTitles(*model, 0), QStringList{QStringLiteral("Stop Tambering")});
        QCOMPARE(sections.count(), 1);
        QCOMPARE(model->topRows()->items().first().action, int(TrayModel::Action::StopKeepAwake));
        QCOMPARE(model->statusLine(), QStringLiteral("Keeping awake"));

        m_stack->keepAwake.tick();
        QCOMPARE(model->remainingTimeText(), QStringLiteral("14:59"));
        QVERIFY(remaining.count() >= 2);

        // Locked from elsewhere (the hotkey) while the panel is open.
        m_stack->overlay.lock();
        QCOMPARE(model->statusLine(), QStringLiteral("Tambering — screen locked"));
        compareWithAutomationStatus(*model);

        m_stack->overlay.deactivate();
        m_stack->keepAwake.stop();
        QCOMPARE(model->statusLine(), QStringLiteral("Idle"));
        QCOMPARE(rowTitles(*model, 0).size(), 4);
        QCOMPARE(model->remainingTimeText(), QString());
        QCOMPARE(sections.count(), 2);
        QCOMPARE(status.count(), 4);
        compareWithAutomationStatus(*model);
    }

    void refusedKeepAwakeSaysWhy()
    {
        m_stack->assertions.setRefused(PowerAssertions::Kind::Display);
        m_stack->assertions.setRefused(PowerAssertions::Kind::System);
        const auto model = makeModel();
        // What a binding reads each time it is told of a change.
        QStringList shown;
        connect(model.get(), &TrayModel::keepAwakeRefusalChanged, this,
                [&] { shown << model->keepAwakeRefusal(); });
        model->trigger(Action::KeepAwakeFor15Minutes);
        QVERIFY(model->isKeepAwakeActive());
        m_stack->assertions.settle();
        QVERIFY(!model->isKeepAwakeActive());
        QCOMPARE(model->remainingTimeText(), QString());
        QCOMPARE(rowTitles(*model, 0).size(), 4);
        QVERIFY(!model->keepAwakeRefusal().isEmpty());
        QCOMPARE(shown.last(), model->keepAwakeRefusal());
        const AutomationActions actions(m_stack->overlay, m_stack->pins, m_stack->keepAwake,
                                        m_stack->tasks);
        QCOMPARE(actions.status(),
                 model->statusText() + QLatin1Char(' ') + model->keepAwakeRefusal() + u'.');
    }

    void keepAwakeRowsStartTheirPeriod_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QVariant>("duration");
        QTest::addRow("indefinitely") << Action::KeepAwakeIndefinitely << QVariant();
        QTest::addRow("15 minutes") << Action::KeepAwakeFor15Minutes << QVariant(900.0);
        QTest::addRow("1 hour") << Action::KeepAwakeFor1Hour << QVariant(3600.0);
    }

    void keepAwakeRowsStartTheirPeriod()
    {
        QFETCH(Action, action);
        QFETCH(QVariant, duration);
        const auto model = makeModel();
        model->trigger(action);
        QVERIFY(m_stack->keepAwake.isActive());
        QCOMPARE(m_stack->keepAwake.totalDurationValue(), duration);
        // Keep-awake rows leave the panel open.
        QVERIFY(!m_stack->posted.contains(Event::trayPanelShouldClose));

        model->trigger(Action::StopKeepAwake);
        QVERIFY(!m_stack->keepAwake.isActive());
        QVERIFY(m_stack->assertions.held().isEmpty());
    }

    void lockNowHintIsTheRecordedHotkey()
    {
        const auto model = makeModel();
        QCOMPARE(findRow(*model, Action::LockNow)->hint, QStringLiteral("Super+L"));
        QSignalSpy changed(model.get(), &TrayModel::sectionsChanged);
        m_stack->defaults.setInteger(PreferenceKey::hotkeyModifiers, 0x40000 | 0x80000);
        m_stack->defaults.setInteger(PreferenceKey::hotkeyKeyCode, 40);
        m_stack->defaults.setString(PreferenceKey::hotkeyCharacter, QStringLiteral("K"));
        QVERIFY(changed.count() > 0);
        QCOMPARE(findRow(*model, Action::LockNow)->hint, QStringLiteral("Ctrl+Alt+K"));
    }

    void lockNowClosesThePanelFirst()
    {
        const auto model = makeModel();
        model->trigger(Action::LockNow);
        QVERIFY(m_stack->overlay.isOverlayActive());
        QVERIFY(m_stack->keepAwake.isActive());
        const qsizetype close = m_stack->posted.indexOf(Event::trayPanelShouldClose);
        const qsizetype activated = m_stack->posted.indexOf(Event::overlayDidActivate);
        QVERIFY(close >= 0);
        QVERIFY(close < activated);
    }

    void lockNowAsksTheApplicationAndSaysWhenTheSessionRefuses()
    {
        const auto model = makeModel();
        int requests = 0;
        model->setLockHandler([&requests] { ++requests; });
        model->trigger(Action::LockNow);
        QCOMPARE(requests, 1);
        QVERIFY(!m_stack->overlay.isOverlayActive());
        QVERIFY(findRow(*model, Action::LockNow)->toolTip.isEmpty());

        // A missing PIN is fixed behind the row; a session that cannot be
        // locked is not, and the row says so.
        m_stack->defaults.remove(PreferenceKey::storedPIN);
        QVERIFY(findRow(*model, Action::LockNow)->available);
        m_stack->overlay.setWaylandSession(true);
        const std::optional<TrayModel::Row> row = findRow(*model, Action::LockNow);
        QVERIFY(!row->available);
        QVERIFY(row->toolTip.contains(QLatin1String("Wayland")));
    }

    void lockNowWhileLockedOnlyCloses()
    {
        m_stack->overlay.lock();
        const auto model = makeModel();
        m_stack->posted.clear();
        const qsizetype creations = m_stack->assertions.requests().size();
        model->trigger(Action::LockNow);
        QCOMPARE(m_stack->posted, QStringList{Event::trayPanelShouldClose});
        QCOMPARE(m_stack->assertions.requests().size(), creations);
        QVERIFY(m_stack->overlay.isOverlayActive());
    }

    void autoLockPickerShows_data()
    {
        QTest::addColumn<QVariant>("enabled");
        QTest::addColumn<QVariant>("minutes");
        QTest::addColumn<int>("shown");
        QTest::addRow("nothing stored") << QVariant() << QVariant() << 0;
        QTest::addRow("off, minutes kept") << QVariant(false) << QVariant(30) << 0;
        QTest::addRow("on, minutes absent") << QVariant(true) << QVariant() << 10;
        QTest::addRow("on, negative") << QVariant(true) << QVariant(-5) << 10;
        QTest::addRow("on, 30") << QVariant(true) << QVariant(30) << 30;
        QTest::addRow("on, a value no choice has") << QVariant(true) << QVariant(15) << 15;
        QTest::addRow("on, minutes of the wrong type")
            << QVariant(true) << QVariant(QStringLiteral("abc")) << 10;
        QTest::addRow("on, beyond an int") << QVariant(true) << QVariant(qint64(1) << 40) << 10;
    }

    void autoLockPickerShows()
    {
        QFETCH(QVariant, enabled);
        QFETCH(QVariant, minutes);
        QFETCH(int, shown);
        if (enabled.isValid())
            m_stack->defaults.setBool(PreferenceKey::autoLockEnabled, enabled.toBool());
        if (minutes.typeId() == QMetaType::QString)
            m_stack->defaults.setString(PreferenceKey::autoLockMinutes, minutes.toString());
        else if (minutes.isValid())
            m_stack->defaults.setInteger(PreferenceKey::autoLockMinutes, minutes.toLongLong());
        QCOMPARE(makeModel()->autoLockChoice(), shown);
    }

    void autoLockPickerWrites()
    {
        const auto model = makeModel();
        QSignalSpy changed(model.get(), &TrayModel::autoLockChoiceChanged);
        Preferences &defaults = m_stack->defaults;

        model->chooseAutoLock(30);
        QVERIFY(defaults.boolValue(PreferenceKey::autoLockEnabled));
        QCOMPARE(defaults.integer(PreferenceKey::autoLockMinutes), 30);
        QCOMPARE(model->autoLockChoice(), 30);

        // Off keeps the minutes for the next time it is turned on.
        model->chooseAutoLock(0);
        QVERIFY(defaults.contains(PreferenceKey::autoLockEnabled));
        QVERIFY(!defaults.boolValue(PreferenceKey::autoLockEnabled));
        QCOMPARE(defaults.integer(PreferenceKey::autoLockMinutes), 30);
        QCOMPARE(model->autoLockChoice(), 0);

        model->chooseAutoLock(5);
        QCOMPARE(defaults.integer(PreferenceKey::autoLockMinutes), 5);
        QVERIFY(changed.count() >= 3);

        // Written by another view while the panel is open.
        changed.clear();
        defaults.setBool(PreferenceKey::autoLockEnabled, false);
        QVERIFY(changed.count() >= 1);
        QCOMPARE(model->autoLockChoice(), 0);
    }

    void quitStopsKeepAwakeFirst()
    {
        m_stack->keepAwake.start(1h);
        bool activeWhenQuitting = true;
        int quits = 0;
        TrayModel model({m_stack->overlay, m_stack->keepAwake, m_stack->defaults}, {}, [&] {
            activeWhenQuitting = m_stack->keepAwake.isActive();
            ++quits;
        });
        model.trigger(Action::Quit);
        QCOMPARE(quits, 1);
        QVERIFY(!activeWhenQuitting);
        QVERIFY(m_stack->assertions.held().isEmpty());
    }

    void settingsRowsOpenTheirPage()
    {
        const auto model = makeModel(true);
        QVERIFY(findRow(*model, Action::OpenSettings)->available);
        QVERIFY(findRow(*model, Action::OpenSettings)->toolTip.isEmpty());
        model->trigger(Action::OpenSettings);
        model->trigger(Action::OpenAbout);
        QCOMPARE(m_openedPages, (QList<TrayModel::SettingsPage>{TrayModel::SettingsPage::General,
                                                                TrayModel::SettingsPage::About}));
        QCOMPARE(m_stack->posted.count(Event::trayPanelShouldClose), 2);
    }
};

QTEST_GUILESS_MAIN(TestTrayModel)
#include "tst_traymodel.moc"
