#include "settings/settingsnavigation.h"
#include "core/qmlinstances.h"

#include "settings/settingslog.h"

#include <QDebug>
#include <QJSEngine>

SettingsNavigation::SettingsNavigation(QObject *parent)
    : QObject(parent)
{}

SettingsNavigation *SettingsNavigation::create(QQmlEngine *engine, QJSEngine *)
{
    return QmlInstances::singleton<SettingsNavigation>(engine);
}

void SettingsNavigation::setSelectedPage(SettingsPage page)
{
    if (m_selectedPage == page)
        return;
    m_selectedPage = page;
    Q_EMIT selectedPageChanged();
}

QString SettingsNavigation::selectedPageId() const
{
    return SettingsPages::info(m_selectedPage).id;
}

void SettingsNavigation::selectPage(const QString &id)
{
    const std::optional<SettingsPage> page = SettingsPages::fromId(id);
    if (!page) {
        qCWarning(lcSettings) << "SettingsNavigation: no settings page" << id;
        return;
    }
    setSelectedPage(*page);
}

QVariantMap SettingsNavigation::toMap(const SettingsPageInfo &info)
{
    return {{QStringLiteral("id"), info.id},
            {QStringLiteral("title"), info.title},
            {QStringLiteral("symbol"), info.symbol},
            {QStringLiteral("group"), info.group},
            {QStringLiteral("subtitle"), info.subtitle},
            {QStringLiteral("component"), info.component}};
}

QVariantMap SettingsNavigation::selectedPageInfo() const
{
    return toMap(SettingsPages::info(m_selectedPage));
}

QVariantList SettingsNavigation::pages() const
{
    QVariantList result;
    for (const SettingsPageInfo &info : SettingsPages::all())
        result.append(toMap(info));
    return result;
}

QStringList SettingsNavigation::groups() const
{
    QStringList result;
    for (const SettingsPageInfo &info : SettingsPages::all()) {
        if (!result.contains(info.group))
            result.append(info.group);
    }
    return result;
}

QVariantList SettingsNavigation::pagesInGroup(const QString &group) const
{
    QVariantList result;
    for (const SettingsPageInfo &info : SettingsPages::all()) {
        if (info.group == group)
            result.append(toMap(info));
    }
    return result;
}
