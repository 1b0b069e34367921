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

QVariantMap styleMap(const BackdropStyle &style)
{
    QVariantList stops;
    for (const QColor &color : style.stops)
        stops.append(color);
    QVariant glow;
    if (style.glow) {
        glow = QVariantMap{
            {QStringLiteral("color"), style.glow->color},
            {QStringLiteral("x"), style.glow->anchor.x()},
            {QStringLiteral("y"), style.glow->anchor.y()},
            {QStringLiteral("startRadius"), style.glow->startRadius},
            {QStringLiteral("endRadius"), style.glow->endRadius},
        };
    }
    return {
        {QStringLiteral("stops"), stops},
        {QStringLiteral("diagonal"), style.diagonal},
        {QStringLiteral("glow"), glow},
    };
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

QVariantMap ThemeCatalog::backdrop(const QString &rawValue, const QString &fillMode) const
{
    const OverlayThemeID id =
        OverlayTheme::fromRawValue(rawValue).value_or(OverlayThemeID::liveBlur);
    return styleMap(BackdropStyle::forTheme(id, fillFrom(fillMode)));
}

QVariantMap ThemeCatalog::liveBlurFallback(const QString &fillMode) const
{
    return styleMap(BackdropStyle::liveBlurFallback(fillFrom(fillMode)));
}

double ThemeCatalog::liveScrimOpacity(double radius) const
{
    return LiveBlurScrim::liveOpacity(radius);
}

double ThemeCatalog::fallbackScrimOpacity(double radius) const
{
    return LiveBlurScrim::fallbackOpacity(radius);
}
