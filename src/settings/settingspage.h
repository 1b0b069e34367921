#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// The pages of the settings window, in sidebar order.
enum class SettingsPage { general, security, overlay, schedule, integrations, about };

// One row of the page table: everything the sidebar and the page area need.
struct SettingsPageInfo
{
    SettingsPage page;
    QString id;       // "general": stable, used on the command line and in tests
    QString title;    // the raw value: "General"
    QString symbol;   // "gearshape.fill"
    QString group;    // "SETTINGS" or "ACCOUNT"
    QString subtitle; // under the page's title
    // The QML type in Vostrel.Settings that draws the page; empty while the
    // page is not built yet, which shows a placeholder.
    QString component;
};

namespace SettingsPages {
[[nodiscard]] const QList<SettingsPageInfo> &all();
[[nodiscard]] const SettingsPageInfo &info(SettingsPage page);
[[nodiscard]] std::optional<SettingsPage> fromId(const QString &id);
} // namespace SettingsPages
