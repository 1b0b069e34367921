#include "themes/backdropstyle.h"

namespace {
QColor rgb(double r, double g, double b, double a = 1.0)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(a));
}

BackdropStyle flat(const QColor &color)
{
    return {{color}, true, std::nullopt};
}

BackdropStyle diagonalFill(QList<QColor> stops, std::optional<BackdropStyle::Glow> glow = {})
{
    return {std::move(stops), true, std::move(glow)};
}

BackdropStyle verticalFill(QList<QColor> stops, std::optional<BackdropStyle::Glow> glow = {})
{
    return {std::move(stops), false, std::move(glow)};
}

const QPointF centre(0.5, 0.5);
} // namespace

BackdropStyle BackdropStyle::forTheme(OverlayThemeID theme, OverlayBackgroundFillMode fill)
{
    const bool solid = fill == OverlayBackgroundFillMode::solid;
    switch (theme) {
    case OverlayThemeID::avDark:
        if (solid)
            return flat(rgb(0.05, 0.05, 0.08));
        return diagonalFill({rgb(0.04, 0.06, 0.12), rgb(0.06, 0.1, 0.18), rgb(0.03, 0.04, 0.07)},
                            Glow{rgb(0.15, 0.25, 0.2, 0.45), centre, 100, 600});
    case OverlayThemeID::minimalDark:
        if (solid)
            return flat(rgb(0, 0, 0));
        return verticalFill({rgb(0.12, 0.12, 0.16), rgb(0, 0, 0), rgb(0.05, 0.05, 0.08)},
                            Glow{rgb(1, 1, 1, 0.06), centre, 0, 500});
    case OverlayThemeID::minimalLight:
        if (solid)
            return flat(rgb(0.96, 0.96, 0.94));
        return diagonalFill({rgb(0.99, 0.99, 0.97), rgb(0.92, 0.92, 0.88), rgb(0.96, 0.95, 0.9)},
                            Glow{rgb(1, 1, 1, 0.55), QPointF(0, 0), 0, 800});
    case OverlayThemeID::avYellow:
        if (solid)
            return flat(rgb(0.95, 0.82, 0.15));
        return verticalFill({rgb(0.95, 0.82, 0.15), rgb(0.85, 0.72, 0.1)});
    case OverlayThemeID::glass:
        if (solid)
            return flat(rgb(0.04, 0.04, 0.06));
        return diagonalFill({rgb(0.08, 0.09, 0.12), rgb(0.02, 0.02, 0.04)});
    case OverlayThemeID::liveBlur:
        return liveBlurFallback(fill);
    case OverlayThemeID::customPhoto:
        if (solid)
            return flat(rgb(0, 0, 0));
        return diagonalFill({rgb(0.06, 0.06, 0.1), rgb(0.02, 0.02, 0.05)});
    case OverlayThemeID::customHTML:
    case OverlayThemeID::customWebsite:
        return flat(rgb(0, 0, 0));
    case OverlayThemeID::deepOcean:
        if (solid)
            return flat(rgb(0.03, 0.11, 0.22));
        return diagonalFill({rgb(0.02, 0.07, 0.14), rgb(0.04, 0.15, 0.28), rgb(0.02, 0.18, 0.32)});
    case OverlayThemeID::aurora:
        if (solid)
            return flat(rgb(0.08, 0.04, 0.18));
        return diagonalFill({rgb(0.12, 0.04, 0.22), rgb(0.04, 0.2, 0.18), rgb(0.2, 0.05, 0.35)});
    case OverlayThemeID::sunset:
        if (solid)
            return flat(rgb(0.2, 0.08, 0.18));
        return diagonalFill({rgb(0.35, 0.12, 0.2), rgb(0.22, 0.06, 0.22), rgb(0.45, 0.2, 0.15)});
    case OverlayThemeID::nebula:
        if (solid)
            return flat(rgb(0.1, 0.02, 0.16));
        return diagonalFill({rgb(0.14, 0.02, 0.22), rgb(0.08, 0.04, 0.18), rgb(0.25, 0.05, 0.32)});
    case OverlayThemeID::charcoal:
        if (solid)
            return flat(rgb(0.12, 0.12, 0.14));
        return diagonalFill({rgb(0.1, 0.1, 0.12), rgb(0.16, 0.16, 0.18), rgb(0.09, 0.09, 0.11)});
    }
    return flat(rgb(0, 0, 0));
}

BackdropStyle BackdropStyle::liveBlurFallback(OverlayBackgroundFillMode fill)
{
    if (fill == OverlayBackgroundFillMode::solid)
        return flat(rgb(0.03, 0.11, 0.22));
    return diagonalFill({rgb(0.04, 0.06, 0.12), rgb(0.07, 0.09, 0.18), rgb(0.02, 0.04, 0.09)});
}

QVariantMap BackdropStyle::toVariantMap() const
{
    QVariantList colors;
    for (const QColor &color : stops)
        colors.append(color);
    QVariant glowValue;
    if (glow) {
        glowValue = QVariantMap{
            {QStringLiteral("color"), glow->color},
            {QStringLiteral("x"), glow->anchor.x()},
            {QStringLiteral("y"), glow->anchor.y()},
            {QStringLiteral("startRadius"), glow->startRadius},
            {QStringLiteral("endRadius"), glow->endRadius},
        };
    }
    return {
        {QStringLiteral("stops"), colors},
        {QStringLiteral("diagonal"), diagonal},
        {QStringLiteral("glow"), glowValue},
    };
}
