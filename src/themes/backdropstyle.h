#pragma once

#include "themes/overlaybackgroundfillmode.h"
#include "themes/overlaythemeid.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QVariantMap>

#include <optional>

// The static part of a theme's backdrop: its base fill and the one radial glow
// some themes lay over it. Layers that move or depend on the user's content
// (particles, blobs, the photo, the desktop capture) are drawn by the view.
struct BackdropStyle
{
    struct Glow
    {
        QColor color;
        // In unit coordinates of the screen: (0.5, 0.5) is its centre.
        QPointF anchor;
        // In points; inside the start radius the glow has its full colour.
        double startRadius = 0;
        double endRadius = 0;
    };

    // One colour is a flat fill; more are an evenly spaced linear gradient.
    QList<QColor> stops;
    // Top-leading to bottom-trailing when true, top to bottom otherwise.
    bool diagonal = true;
    std::optional<Glow> glow;

    // {stops: [color], diagonal: bool, glow: {color, x, y, startRadius,
    // endRadius} or null}, as QML reads it.
    [[nodiscard]] QVariantMap toVariantMap() const;

    [[nodiscard]] static BackdropStyle forTheme(OverlayThemeID theme,
                                                OverlayBackgroundFillMode fill);
    // The dark backdrop of the live-blur theme when the desktop is not shown.
    [[nodiscard]] static BackdropStyle liveBlurFallback(OverlayBackgroundFillMode fill);
};
