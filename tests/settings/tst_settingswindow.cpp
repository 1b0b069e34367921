#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakecolorschemesource.h"
#include "settings/settingsappearance.h"
#include "settings/settingsnavigation.h"
#include "settings/settingsstack.h"
#include "settings/settingswindowcontroller.h"
#include "settings/settingswindowgeometry.h"

#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_stack.emplace();
        m_defaults = &m_stack->defaults;
        m_navigation = &m_stack->navigation;
        m_desktop.change(ColorSchemeSource::Scheme::noPreference);
        m_controller.emplace(SettingsWindowController::Services{*m_defaults, m_desktop,
                                                                *m_navigation, m_stack->qml});
    }
    void cleanup()
    {
        m_controller.reset();
        m_stack.reset();
    }

    void frameIsClampedAndCentred_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        QTest::addRow("1280x800") << QRect(0, 0, 1280, 800) << QRect(190, 100, 900, 600);
        QTest::addRow("2560x1440") << QRect(0, 0, 2560, 1440) << QRect(740, 350, 1080, 740);
        QTest::addRow("1920x1080 at both limits")
            << QRect(0, 0, 1920, 1080) << QRect(420, 170, 1080, 740);
        QTest::addRow("1600x1000 scaled") << QRect(0, 0, 1600, 1000) << QRect(320, 150, 960, 700);
        QTest::addRow("second monitor") << QRect(1920, 0, 1280, 800) << QRect(2110, 100, 900, 600);
        QTest::addRow("smaller than the minimum")
            << QRect(0, 0, 800, 600) << QRect(-50, 0, 900, 600);
    }
    void frameIsClampedAndCentred()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        const QRect frame = SettingsWindowGeometry::frame(available);
        QCOMPARE(frame.size(), expected.size());
        // Centred to within the pixel QRect's integer centre rounds away.
        QVERIFY(qAbs(frame.center().x() - available.center().x()) <= 1);
        QVERIFY(qAbs(frame.center().y() - available.center().y()) <= 1);
    }

    void referenceRectWithoutScreens()
    {
        QCOMPARE(SettingsWindowGeometry::referenceRect(nullptr, {}), QRect(0, 0, 1920, 1080));
    }

    void navigationRefusesUnknownPages()
    {
        SettingsNavigation &navigation = *m_navigation;
        QSignalSpy changed(&navigation, &SettingsNavigation::selectedPageChanged);
        QCOMPARE(navigation.selectedPageId(), QStringLiteral("general"));
        navigation.selectPage(QStringLiteral("about"));
        QCOMPARE(navigation.selectedPage(), SettingsPage::about);
        QTest::ignoreMessage(QtWarningMsg, "SettingsNavigation: no settings page \"nowhere\"");
        navigation.selectPage(QStringLiteral("nowhere"));
        QCOMPARE(navigation.selectedPage(), SettingsPage::about);
        QCOMPARE(changed.count(), 1);
    }

    void sidebarListsEveryPageInGroups()
    {
        QStringList titles;
        for (const QVariant &page : m_navigation->pages())
            titles << page.toMap().value(QStringLiteral("title")).toString();
        QCOMPARE(titles,
                 (QStringList{QStringLiteral("General"), QStringLiteral("Security"),
                              QStringLiteral("Overlay & Themes"), QStringLiteral("Schedule"),
                              QStringLiteral("Integrations"), QStringLiteral("About & Support")}));
        QCOMPARE(m_navigation->groups(),
                 (QStringList{QStringLiteral("SETTINGS"), QStringLiteral("ACCOUNT")}));
        QCOMPARE(m_navigation->pagesInGroup(QStringLiteral("ACCOUNT")).size(), 1);
    }

    void showBuildsRaisesAndRebuildsAfterClosing()
    {
        QSignalSpy built(&*m_controller, &SettingsWindowController::windowBuilt);
        m_controller->show(SettingsPage::general);
        QCOMPARE(built.count(), 1);
        QQuickView *first = m_controller->window();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->title(), QStringLiteral("Vostrel Settings"));
        QCOMPARE(first->minimumSize(), QSize(820, 560));
        QVERIFY(first->rootObject());

        // Open on General: About comes to the front in the same window.
        m_controller->show(SettingsPage::about);
        QCOMPARE(built.count(), 1);
        auto *loader = first->rootObject()->findChild<QQuickItem *>(QStringLiteral("pageLoader"));
        QVERIFY(loader);
        QCOMPARE(loader->property("source").toUrl().fileName(), QStringLiteral("AboutPage.qml"));
        QCOMPARE(m_controller->window(), first);
        QCOMPARE(m_navigation->selectedPage(), SettingsPage::about);

        QPointer<SettingsAppearance> appearance = m_controller->appearance();
        first->close();
        QVERIFY(!m_controller->isVisible());
        // A closed window holds no memory until it is opened again.
        QTRY_VERIFY(!m_controller->window());
        QVERIFY(appearance.isNull());
        m_controller->show(SettingsPage::general);
        QCOMPARE(built.count(), 2);
        QVERIFY(m_controller->window());
        QVERIFY(m_controller->window()->isVisible());
        QCOMPARE(m_navigation->selectedPage(), SettingsPage::general);
    }

    void appearanceFollowsPreferenceAndDesktop()
    {
        SettingsAppearance appearance(*m_defaults, m_desktop);
        QCOMPARE(appearance.appearance(), QStringLiteral("system"));
        QVERIFY(!appearance.isDark());

        QSignalSpy changed(&appearance, &SettingsAppearance::darkChanged);
        m_desktop.change(ColorSchemeSource::Scheme::dark);
        QVERIFY(appearance.isDark());

        m_defaults->setString(PreferenceKey::settingsAppearance, QStringLiteral("light"));
        QVERIFY(!appearance.isDark());
        QCOMPARE(appearance.appearance(), QStringLiteral("light"));

        // A forced appearance ignores the desktop.
        m_desktop.change(ColorSchemeSource::Scheme::light);
        m_desktop.change(ColorSchemeSource::Scheme::dark);
        QVERIFY(!appearance.isDark());

        m_defaults->setString(PreferenceKey::settingsAppearance, QStringLiteral("Dark!"));
        QCOMPARE(appearance.appearance(), QStringLiteral("system"));
        QVERIFY(appearance.isDark());
        QCOMPARE(changed.count(), 3);
    }

    void openWindowTurnsDarkAtOnce()
    {
        m_controller->show(SettingsPage::general);
        QVERIFY(!m_controller->appearance()->isDark());
        m_defaults->setString(PreferenceKey::settingsAppearance, QStringLiteral("dark"));
        QVERIFY(m_controller->appearance()->isDark());
        QCOMPARE(m_controller->window()->color(), QColor(0x1c, 0x1b, 0x21));
    }

private:
    std::optional<SettingsStack> m_stack;
    Preferences *m_defaults = nullptr;
    SettingsNavigation *m_navigation = nullptr;
    FakeColorSchemeSource m_desktop;
    std::optional<SettingsWindowController> m_controller;
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
