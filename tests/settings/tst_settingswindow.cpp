#include "core/notificationcenter.h"
#include "core/notificationnames.h"
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakecolorschemesource.h"
#include "settings/settingsappearance.h"
#include "settings/settingsnavigation.h"
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
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
        m_desktop.change(ColorSchemeSource::Scheme::noPreference);
        m_navigation.emplace();
        m_controller.emplace(SettingsWindowController::Services{*m_defaults, m_notifications,
                                                                m_desktop, *m_navigation});
    }
    void cleanup()
    {
        m_controller.reset();
        m_navigation.reset();
        m_defaults.reset();
        m_dir.reset();
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
        SettingsAppearance appearance(*m_defaults, m_notifications, m_desktop);
        QCOMPARE(appearance.appearance(), QStringLiteral("system"));
        QVERIFY(!appearance.isDark());

        QSignalSpy changed(&appearance, &SettingsAppearance::darkChanged);
        m_desktop.change(ColorSchemeSource::Scheme::dark);
        QVERIFY(appearance.isDark());

        m_defaults->setString(PreferenceKey::settingsAppearance, QStringLiteral("light"));
        // Nothing changes until the change is announced.
        QVERIFY(appearance.isDark());
        m_notifications.post(Notification::settingsAppearanceChanged);
        QVERIFY(!appearance.isDark());
        QCOMPARE(appearance.appearance(), QStringLiteral("light"));

        // A forced appearance ignores the desktop.
        m_desktop.change(ColorSchemeSource::Scheme::light);
        m_desktop.change(ColorSchemeSource::Scheme::dark);
        QVERIFY(!appearance.isDark());

        m_defaults->setString(PreferenceKey::settingsAppearance, QStringLiteral("Dark!"));
        m_notifications.post(Notification::settingsAppearanceChanged);
        QCOMPARE(appearance.appearance(), QStringLiteral("system"));
        QVERIFY(appearance.isDark());
        QCOMPARE(changed.count(), 3);
    }

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
    NotificationCenter m_notifications;
    FakeColorSchemeSource m_desktop;
    std::optional<SettingsNavigation> m_navigation;
    std::optional<SettingsWindowController> m_controller;
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
