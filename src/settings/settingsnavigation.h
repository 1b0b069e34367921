#pragma once

#include "settings/settingspage.h"

#include <QObject>
#include <qqmlregistration.h>
#include <QVariantList>

class QJSEngine;
class QQmlEngine;

// Which page the settings window shows. The sidebar writes it, show(page)
// writes it, the page area follows it. QML sees pages by their id
// ("general", "about" ...).
class SettingsNavigation : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(SettingsNavigation)
    Q_PROPERTY(QString selectedPage READ selectedPageId WRITE selectPage NOTIFY selectedPageChanged)
    // The page table's row of the selected page: {id, title, symbol, group,
    // subtitle, component}.
    Q_PROPERTY(QVariantMap selectedPageInfo READ selectedPageInfo NOTIFY selectedPageChanged)
    // Every page in sidebar order, as the same maps.
    Q_PROPERTY(QVariantList pages READ pages CONSTANT)
    // The sidebar's group headers in order: ["SETTINGS", "ACCOUNT"].
    Q_PROPERTY(QStringList groups READ groups CONSTANT)

public:
    explicit SettingsNavigation(QObject *parent = nullptr);

    static SettingsNavigation *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] SettingsPage selectedPage() const { return m_selectedPage; }
    void setSelectedPage(SettingsPage page);

    [[nodiscard]] QString selectedPageId() const;
    // An unknown id is refused with a warning and changes nothing.
    void selectPage(const QString &id);

    [[nodiscard]] QVariantMap selectedPageInfo() const;
    [[nodiscard]] QVariantList pages() const;
    [[nodiscard]] QStringList groups() const;
    Q_INVOKABLE [[nodiscard]] QVariantList pagesInGroup(const QString &group) const;

    [[nodiscard]] static QVariantMap toMap(const SettingsPageInfo &info);

Q_SIGNALS:
    void selectedPageChanged();

private:
    SettingsPage m_selectedPage = SettingsPage::general;
};
