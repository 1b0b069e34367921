#include "themes/backdroplayers.h"

#include "themes/backdropstyle.h"

namespace {
// The theme a fresh installation shows, and so the one an unreadable value
// falls back to.
constexpr OverlayThemeID defaultTheme = OverlayThemeID::liveBlur;

template <typename T>
void assign(BackdropLayers *layers, T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    Q_EMIT layers->changed();
}
} // namespace

BackdropLayers::BackdropLayers(QObject *parent)
    : QObject(parent)
{}

void BackdropLayers::setTheme(const QString &theme)
{
    assign(this, m_theme, theme);
}

void BackdropLayers::setFillMode(const QString &fillMode)
{
    assign(this, m_fillMode, fillMode);
}

void BackdropLayers::setMotionAllowed(bool motion)
{
    assign(this, m_motion, motion);
}

void BackdropLayers::setPhotoPath(const QString &path)
{
    assign(this, m_photoPath, path);
}

OverlayBackgroundFillMode BackdropLayers::fill() const
{
    return BackgroundFillMode::fromRawValue(m_fillMode).value_or(OverlayBackgroundFillMode::gradient);
}

OverlayThemeID BackdropLayers::shownThemeID() const
{
    return OverlayTheme::fromRawValue(m_theme).value_or(defaultTheme);
}

QString BackdropLayers::shownTheme() const
{
    return OverlayTheme::rawValue(shownThemeID());
}

QColor BackdropLayers::accentColor() const
{
    return OverlayTheme::accentColor(shownThemeID());
}

QVariantMap BackdropLayers::style() const
{
    return BackdropStyle::forTheme(shownThemeID(), fill()).toVariantMap();
}

bool BackdropLayers::isBaseShown() const
{
    // The live blur draws its own base: the desktop or its dark fallback.
    return !isLiveBlurShown();
}

bool BackdropLayers::isGlowShown() const
{
    return isBaseShown() && BackdropStyle::forTheme(shownThemeID(), fill()).glow.has_value();
}

bool BackdropLayers::isLiveBlurShown() const
{
    return shownThemeID() == OverlayThemeID::liveBlur;
}

bool BackdropLayers::isPhotoShown() const
{
    return shownThemeID() == OverlayThemeID::customPhoto && !m_photoPath.isEmpty();
}

bool BackdropLayers::isWatermarkShown() const
{
    return shownThemeID() == OverlayThemeID::avYellow;
}

bool BackdropLayers::isGlassShown() const
{
    return shownThemeID() == OverlayThemeID::glass;
}

bool BackdropLayers::isMotionShown() const
{
    // A web page covers the whole screen; light moving under it is wasted.
    return m_motion && !OverlayTheme::isWeb(shownThemeID());
}

bool BackdropLayers::areParticlesShown() const
{
    return shownThemeID() == OverlayThemeID::avDark && fill() != OverlayBackgroundFillMode::solid;
}

bool BackdropLayers::needsTime() const
{
    return isMotionShown() || areParticlesShown() || isGlassShown();
}
