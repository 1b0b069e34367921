// Renders every settings page and every onboarding step, light and dark, to
// PNG files for review: settings_screenshots OUTPUT_FOLDER. Runs offscreen on
// preferences of its own.
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakecolorschemesource.h"
#include "settings/onboardingflow.h"
#include "settings/onboardingwindowcontroller.h"
#include "settings/settingsnavigation.h"
#include "settings/settingspage.h"
#include "settings/settingsstack.h"
#include "settings/settingswindowcontroller.h"
#include "triggers/schedulemanager.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {
QImage settle(QQuickView *window)
{
    // Symbols and images load on later turns of the event loop, and
    // onboarding fades in over half a second.
    QTest::qWait(700);
    return window->grabWindow();
}
} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("HOME", home.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: settings_screenshots OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    SettingsStack stack;
    Preferences &defaults = stack.defaults;
    SettingsWindowController settings({defaults, stack.desktop, stack.navigation, stack.qml});
    OnboardingWindowController onboarding({defaults, stack.themes, stack.desktop, stack.qml});

    // Content for the pages that show more once something is set.
    stack.schedule.addSlot();
    defaults.setBool(PreferenceKey::slackSyncEnabled, true);
    defaults.setBool(PreferenceKey::cloudSyncEnabled, true);
    defaults.setString(PreferenceKey::calendarSources,
                       QStringLiteral("/home/me/work.ics\nhttps://calendar.example.org/team.ics"));
    defaults.setString(PreferenceKey::customWebsiteURL, QStringLiteral("https://example.com/"));
    // Pages taller than the window are also rendered whole.
    const QStringList tallPages{QStringLiteral("overlay"), QStringLiteral("integrations")};

    for (const bool dark : {false, true}) {
        stack.desktop.change(dark ? ColorSchemeSource::Scheme::dark
                                  : ColorSchemeSource::Scheme::light);
        const QString mode = dark ? QStringLiteral("dark") : QStringLiteral("light");
        for (const SettingsPageInfo &page : SettingsPages::all()) {
            settings.show(page.page);
            settings.window()->resize(900, 640);
            settle(settings.window())
                .save(out.filePath(QStringLiteral("settings-%1-%2.png").arg(page.id, mode)));
            if (tallPages.contains(page.id)) {
                settings.window()->resize(900, 2300);
                settle(settings.window())
                    .save(out.filePath(
                        QStringLiteral("settings-%1-%2-whole.png").arg(page.id, mode)));
            }
        }
        onboarding.show();
        QQuickView *window = onboarding.window();
        auto *flow = window->rootObject()->property("flow").value<OnboardingFlow *>();
        for (int step = 0; step < OnboardingFlow::totalStepCount; ++step) {
            if (step == OnboardingFlow::pin) {
                flow->setPinInput(QStringLiteral("123"));
                flow->validatePIN();
            }
            settle(window).save(
                out.filePath(QStringLiteral("onboarding-%1-%2.png").arg(step).arg(mode)));
            if (step == OnboardingFlow::pin) {
                flow->setPinInput(QStringLiteral("12345"));
                flow->setPinConfirm(QStringLiteral("12345"));
            }
            if (step < OnboardingFlow::totalStepCount - 1)
                flow->advance();
        }
        window->close();
    }
    // A Wayland session without a secure lock: the General page says so.
    stack.overlay.setWaylandSession(true);
    settings.show(SettingsPages::all().constLast().page);
    settings.show(SettingsPages::all().constFirst().page);
    settle(settings.window()).save(out.filePath(QStringLiteral("settings-general-wayland.png")));
    return 0;
}
