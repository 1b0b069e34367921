#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakecolorschemesource.h"
#include "settings/settingsappearance.h"
#include "settings/settingsnavigation.h"
#include "settings/settingsstack.h"
#include "settings/settingswindowcontroller.h"

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

private:
    std::optional<SettingsStack> m_stack;
    Preferences *m_defaults = nullptr;
    SettingsNavigation *m_navigation = nullptr;
    FakeColorSchemeSource m_desktop;
    std::optional<SettingsWindowController> m_controller;
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
