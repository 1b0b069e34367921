#include "settings/settingspage.h"

#include <QCoreApplication>

#include <algorithm>

namespace SettingsPages {

const QList<SettingsPageInfo> &all()
{
    // Built at first use, after start-up installed the user's catalogue.
    static const QList<SettingsPageInfo> table = [] {
        const QString settings = QCoreApplication::translate("SettingsPages", "SETTINGS");
        QList<SettingsPageInfo> pages{
            {SettingsPage::general, QStringLiteral("general"),
             QCoreApplication::translate("SettingsPages", "General"),
             QStringLiteral("gearshape.fill"), settings,
             QCoreApplication::translate("SettingsPages",
                                         "App behavior, startup, and display preferences."),
             QStringLiteral("GeneralPage")},
            {SettingsPage::security, QStringLiteral("security"),
             QCoreApplication::translate("SettingsPages", "Security"),
             QStringLiteral("lock.shield.fill"), settings,
             QCoreApplication::translate("SettingsPages",
                                         "PIN, fingerprint, and lockout settings."),
             QStringLiteral("SecurityPage")},
            {SettingsPage::overlay, QStringLiteral("overlay"),
             QCoreApplication::translate("SettingsPages", "Overlay & Themes"),
             QStringLiteral("paintpalette.fill"), settings,
             QCoreApplication::translate("SettingsPages", "Customize your lock screen appearance."),
             QStringLiteral("OverlayPage")},
            {SettingsPage::schedule, QStringLiteral("schedule"),
             QCoreApplication::translate("SettingsPages", "Schedule"),
             QStringLiteral("calendar.badge.clock"), settings,
             QCoreApplication::translate("SettingsPages",
                                         "Automatically lock your screen on a schedule."),
             QStringLiteral("SchedulePage")},
            {SettingsPage::integrations, QStringLiteral("integrations"),
             QCoreApplication::translate("SettingsPages", "Integrations"),
             QStringLiteral("puzzlepiece.extension.fill"), settings,
             QCoreApplication::translate("SettingsPages",
                                         "Connect Vostrel to Slack, Cloud Sync, and your scripts."),
             QStringLiteral("IntegrationsPage")},
            {SettingsPage::about, QStringLiteral("about"),
             QCoreApplication::translate("SettingsPages", "About & Support"),
             QStringLiteral("info.circle.fill"),
             QCoreApplication::translate("SettingsPages", "ACCOUNT"),
             QCoreApplication::translate("SettingsPages", "Vostrel — don't interrupt the tamber."),
             QStringLiteral("AboutPage")},
        };
        return pages;
    }();
    return table;
}

const SettingsPageInfo &info(SettingsPage page)
{
    const QList<SettingsPageInfo> &pages = all();
    const auto found =
        std::find_if(pages.cbegin(), pages.cend(),
                     [page](const SettingsPageInfo &row) { return row.page == page; });
    return found != pages.cend() ? *found : pages.first();
}

std::optional<SettingsPage> fromId(const QString &id)
{
    const QList<SettingsPageInfo> &pages = all();
    const auto found = std::find_if(pages.cbegin(), pages.cend(),
                                    [&id](const SettingsPageInfo &row) { return row.id == id; });
    if (found == pages.cend())
        return std::nullopt;
    return found->page;
}

} // namespace SettingsPages
