#include "core/preferencekeys.h"
#include "overlay/lockscreencontent.h"
#include "support/lockstack.h"
#include "themes/overlaythemeid.h"

#include <QDir>
#include <QQuickWindow>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimeZone>

namespace {
RunningTask task(const QString &name, TaskCategory category)
{
    RunningTask t;
    t.name = name.toLower();
    t.displayName = name;
    t.category = category;
    return t;
}

QStringList names(const QList<RunningTask> &tasks)
{
    QStringList list;
    for (const RunningTask &t : tasks)
        list << t.displayName;
    return list;
}

QStringList kinds(const QVariantList &column)
{
    QStringList list;
    for (const QVariant &element : column)
        list << element.toMap().value(QStringLiteral("kind")).toString();
    return list;
}
} // namespace

class TestLockScreenContent : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LockStack> m_stack;
    std::unique_ptr<LockScreenContent> m_content;

private Q_SLOTS:
    void init()
    {
        m_stack = std::make_unique<LockStack>();
        m_content = std::make_unique<LockScreenContent>(m_stack->themes, m_stack->tasks,
                                                        m_stack->animations);
    }

    void cleanup()
    {
        m_content.reset();
        m_stack.reset();
    }

    void tickerRows_data()
    {
        QTest::addColumn<QList<RunningTask>>("running");
        QTest::addColumn<OverlayThemeID>("theme");
        QTest::addColumn<QStringList>("agents");
        QTest::addColumn<bool>("separator");
        QTest::addColumn<QStringList>("others");

        const auto agent = [](const char *n) {
            return task(QString::fromLatin1(n), TaskCategory::AIAgent);
        };
        const auto build = [](const char *n) {
            return task(QString::fromLatin1(n), TaskCategory::Build);
        };
        const QList<RunningTask> fiveAgents{agent("A1"), agent("A2"), agent("A3"), agent("A4"),
                                            agent("A5")};
        QTest::addRow("five agents: three in the ticker, no rule")
            << fiveAgents << OverlayThemeID::avDark
            << QStringList{QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3")}
            << false << QStringList{};
        QTest::addRow("six builds: the first four")
            << QList<RunningTask>{build("B1"), build("B2"), build("B3"),
                                  build("B4"), build("B5"), build("B6")}
            << OverlayThemeID::charcoal << QStringList{} << false
            << QStringList{QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3"),
                           QStringLiteral("B4")};
        QTest::addRow("an agent and a build: the rule between")
            << QList<RunningTask>{agent("A1"), build("B1")} << OverlayThemeID::sunset
            << QStringList{QStringLiteral("A1")} << true << QStringList{QStringLiteral("B1")};
        QTest::addRow("live blur lists no agents")
            << QList<RunningTask>{agent("A1"), build("B1")} << OverlayThemeID::liveBlur
            << QStringList{} << false << QStringList{QStringLiteral("B1")};
    }

    void tickerRows()
    {
        QFETCH(QList<RunningTask>, running);
        QFETCH(OverlayThemeID, theme);
        QFETCH(QStringList, agents);
        QFETCH(bool, separator);
        QFETCH(QStringList, others);
        const LockScreenContent::TickerRows rows = LockScreenContent::tickerRows(running, theme);
        QCOMPARE(names(rows.agents), agents);
        QCOMPARE(rows.separator, separator);
        QCOMPARE(names(rows.others), others);
    }

    void tickerColoursFollowTheCategoryNotItsLabel()
    {
        const QList<TaskCategory> fixed = {TaskCategory::AIAgent, TaskCategory::Build,
                                           TaskCategory::DevTool, TaskCategory::System};
        QList<QColor> before;
        for (TaskCategory category : fixed)
            before << m_content->categoryColor(category);
        QCOMPARE(QSet<QRgb>({before[0].rgba(), before[1].rgba(), before[2].rgba(),
                             before[3].rgba()})
                     .size(),
                 4);
        // Apps wear the theme's accent; the rest keep their colour.
        for (OverlayThemeID theme : {OverlayThemeID::sunset, OverlayThemeID::avYellow}) {
            m_stack->themes.setCurrentTheme(theme);
            QCOMPARE(m_content->categoryColor(TaskCategory::App), OverlayTheme::accentColor(theme));
            for (qsizetype i = 0; i < fixed.size(); ++i)
                QCOMPARE(m_content->categoryColor(fixed[i]), before[i]);
        }
    }

    void everyThemeHasAWayToUnlock()
    {
        // Whatever else a theme shows, the hint row must be there (the web
        // themes show it under their page), or the PIN could not be asked for.
        for (OverlayThemeID theme : OverlayTheme::allCases()) {
            const QStringList column = kinds(LockScreenContent::centreColumnFor(theme));
            QVERIFY2(column.contains(QLatin1String("hint")) || OverlayTheme::isWeb(theme),
                     qPrintable(OverlayTheme::rawValue(theme)));
        }
        // A web theme whose page may not show still asks for the PIN.
        m_stack->themes.setCurrentTheme(OverlayThemeID::customHTML);
        QVERIFY(m_content->showsWebPage());
        m_content->setWebPagesAllowed(false);
        QVERIFY(!m_content->showsWebPage());
        QVERIFY(kinds(m_content->centreColumn()).contains(QLatin1String("hint")));
    }

    void identityFollowsThemeFillAndWebsite()
    {
        QSignalSpy identity(m_content.get(), &LockScreenContent::identityChanged);
        QCOMPARE(m_content->identity(), QStringLiteral("live_blur-gradient-"));
        m_stack->themes.setShowClock(false);
        m_stack->themes.setCustomHeadline(QStringLiteral("Away"));
        QCOMPARE(identity.count(), 0); // texts and switches redraw in place
        m_stack->themes.setBackgroundFillModeRawValue(QStringLiteral("solid"));
        m_stack->themes.setCustomWebsiteURL(QStringLiteral("https://example.org"));
        QCOMPARE(identity.count(), 2);
        QCOMPARE(m_content->identity(), QStringLiteral("live_blur-solid-https://example.org"));
    }

    void themeWrittenByAnotherProcessIsFollowed()
    {
        QSignalSpy identity(m_content.get(), &LockScreenContent::identityChanged);
        Preferences(m_stack->defaults.filePath())
            .setString(PreferenceKey::selectedTheme, QStringLiteral("sunset"));
        m_stack->themes.reload();
        QCOMPARE(m_content->themeRawValue(), QStringLiteral("sunset"));
        QCOMPARE(identity.count(), 1);
    }

    void reducedMotionStopsEverythingThatMoves()
    {
        QVERIFY(m_content->isMotionLayerShown());
        m_stack->animations.setEnabled(false);
        QVERIFY(!m_content->areAnimationsEnabled());
        QVERIFY(!m_content->isMotionLayerShown());
        m_stack->animations.setEnabled(true);
        m_stack->themes.setCurrentThemeRawValue(QStringLiteral("custom_website"));
        QVERIFY(!m_content->isMotionLayerShown()); // never over a web page
    }

    void snapshotGoesToTheDesktopFolder()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        qputenv("HOME", QFile::encodeName(home.path()));
        QVERIFY(!m_content->saveSnapshot()); // no window: nothing, silently

        QQuickWindow window;
        window.resize(64, 48);
        window.setColor(Qt::darkBlue);
        m_content->setSnapshotSource([&window] { return &window; });
        const QDateTime taken(QDate(2026, 12, 6), QTime(20, 31, 5), QTimeZone::utc());
        QVERIFY(m_content->saveSnapshot(taken));
        QVERIFY(m_content->showShareConfirmation());
        const QDir desktop(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        const auto files = [&desktop] {
            return desktop.entryList({QStringLiteral("Vostrel-*.png")});
        };
        QCOMPARE(files(), QStringList{QStringLiteral("Vostrel-2026-12-06T20-31-05Z.png")});
        QCOMPARE(QImage(desktop.filePath(files().first())).size(), QSize(64, 48));

        // Clicks within the interval write nothing; the next one after it does,
        // and so does one after the clock was set back.
        QVERIFY(!m_content->saveSnapshot(taken.addMSecs(2999)));
        QCOMPARE(files().size(), 1);
        QVERIFY(m_content->saveSnapshot(taken.addSecs(3)));
        QVERIFY(m_content->saveSnapshot(taken.addSecs(-3600)));
        QCOMPARE(files().size(), 3);
        QTRY_VERIFY_WITH_TIMEOUT(!m_content->showShareConfirmation(), 5000);
    }
};

QTEST_MAIN(TestLockScreenContent)
#include "tst_lockscreencontent.moc"
