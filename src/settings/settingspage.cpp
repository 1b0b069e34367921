#include "settings/settingspage.h"

#include <algorithm>

namespace SettingsPages {

const QList<SettingsPageInfo> &all()
{
    static const QList<SettingsPageInfo> table = [] {
        const QString settings = QStringLiteral("SETTINGS");
        QList<SettingsPageInfo> pages{
            {SettingsPage::general, QStringLiteral("general"), QStringLiteral("General"),
             QStringLiteral("gearshape.fill"), settings,
             QStringLiteral("App behavior, startup, and display preferences."),
             QStringLiteral("GeneralPage")},
            {SettingsPage::security, QStringLiteral("security"), QStringLiteral("Security"),
             QStringLiteral("lock.shield.fill"), settings,
             QStringLiteral("PIN, fingerprint, and lockout settings."),
             QStringLiteral("SecurityPage")},
            {SettingsPage::overlay, QStringLiteral("overlay"), QStringLiteral("Overlay & Themes"),
             QStringLiteral("paintpalette.fill"), settings,
             QStringLiteral("Customize your lock screen appearance."),
             QStringLiteral("OverlayPage")},
            {SettingsPage::schedule, QStringLiteral("schedule"), QStringLiteral("Schedule"),
             QStringLiteral("calendar.badge.clock"), settings,
             QStringLiteral("Automatically lock your screen on a schedule."),
             QStringLiteral("SchedulePage")},
            {SettingsPage::integrations, QStringLiteral("integrations"),
             QStringLiteral("Integrations"), QStringLiteral("puzzlepiece.extension.fill"), settings,
             QStringLiteral("Connect Vostrel to Slack, Cloud Sync, and your scripts."),
             QStringLiteral("IntegrationsPage")},
            {SettingsPage::about, QStringLiteral("about"), QStringLiteral("About & Support"),
             QStringLiteral("info.circle.fill"), QStringLiteral("ACCOUNT"),
             QStringLiteral("Vostrel — don't interrupt the tamber."), QStringLiteral("AboutPage")},
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
