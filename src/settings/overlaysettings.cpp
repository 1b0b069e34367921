#include "settings/overlaysettings.h"

#include "themes/thememanager.h"

#include <cmath>
#include <limits>

OverlaySettings::OverlaySettings(ThemeManager &themes, QObject *parent)
    : QObject(parent)
    , m_themes(themes)
{
    connect(&m_themes, &ThemeManager::customWebsiteURLChanged, this,
            &OverlaySettings::websiteURLChanged);
    connect(&m_themes, &ThemeManager::currentThemeChanged, this, &OverlaySettings::themeChanged);
    connect(&m_themes, &ThemeManager::liveBlurRadiusChanged, this,
            &OverlaySettings::blurRadiusChanged);
}

QString OverlaySettings::websiteURL() const
{
    return m_themes.customWebsiteURL().value_or(QString());
}

bool OverlaySettings::hasWebsiteURL() const
{
    return m_themes.customWebsiteURL().has_value();
}

bool OverlaySettings::showsLiveBlurSettings() const
{
    return m_themes.currentTheme() == OverlayThemeID::liveBlur;
}

QString OverlaySettings::blurRadiusLabel() const
{
    return radiusLabel(m_themes.liveBlurRadius());
}

QString OverlaySettings::radiusLabel(double radius)
{
    if (std::isnan(radius))
        return QStringLiteral("0");
    // Converting a double outside the range of qint64 is undefined.
    constexpr double limit = 9.2e18;
    if (radius >= limit)
        return QString::number(std::numeric_limits<qint64>::max());
    if (radius <= -limit)
        return QString::number(std::numeric_limits<qint64>::min());
    return QString::number(static_cast<qint64>(std::trunc(radius)));
}

void OverlaySettings::editWebsiteURL(const QString &text)
{
    // QString::trimmed() takes white space and line breaks alike.
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        m_themes.setCustomWebsiteURL(std::nullopt);
    else
        m_themes.setCustomWebsiteURL(trimmed);
}

void OverlaySettings::clearWebsiteURL()
{
    m_themes.setCustomWebsiteURL(std::nullopt);
}
