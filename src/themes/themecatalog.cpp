#include "themes/themecatalog.h"

#include "themes/backdropstyle.h"
#include "themes/liveblurscrim.h"
#include "themes/overlaythemeid.h"

namespace {
QVariantMap themeMap(OverlayThemeID id)
{
    return {
        {QStringLiteral("rawValue"), OverlayTheme::rawValue(id)},
        {QStringLiteral("displayName"), OverlayTheme::displayName(id)},
        {QStringLiteral("iconName"), OverlayTheme::iconName(id)},
        {QStringLiteral("previewColor"), OverlayTheme::previewColor(id)},
        {QStringLiteral("accentColor"), OverlayTheme::accentColor(id)},
        {QStringLiteral("isCustom"), OverlayTheme::isCustom(id)},
        {QStringLiteral("isWeb"), OverlayTheme::isWeb(id)},
    };
}

OverlayBackgroundFillMode fillFrom(const QString &raw)
{
    return BackgroundFillMode::fromRawValue(raw).value_or(OverlayBackgroundFillMode::gradient);
}
} // namespace

ThemeCatalog::ThemeCatalog(QObject *parent)
    : QObject(parent)
{}

QVariantList ThemeCatalog::themes() const
{
    QVariantList list;
    for (OverlayThemeID id : OverlayTheme::allCases())
        list.append(themeMap(id));
    return list;
}

QVariantMap ThemeCatalog::theme(const QString &rawValue) const
{
    const auto id = OverlayTheme::fromRawValue(rawValue);
    return id ? themeMap(*id) : QVariantMap();
}

bool ThemeCatalog::isTheme(const QString &rawValue) const
{
    return OverlayTheme::fromRawValue(rawValue).has_value();
}

QColor ThemeCatalog::accentColor(const QString &rawValue) const
{
    const auto id = OverlayTheme::fromRawValue(rawValue);
    return id ? OverlayTheme::accentColor(*id) : QColor(Qt::white);
}

QVariantMap ThemeCatalog::liveBlurFallback(const QString &fillMode) const
{
    return BackdropStyle::liveBlurFallback(fillFrom(fillMode)).toVariantMap();
}

double ThemeCatalog::liveScrimOpacity(double radius) const
{
    return LiveBlurScrim::liveOpacity(radius);
}

double ThemeCatalog::fallbackScrimOpacity(double radius) const
{
    return LiveBlurScrim::fallbackOpacity(radius);
}
