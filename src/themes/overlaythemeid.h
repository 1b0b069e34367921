#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <optional>

// The closed list of lock-screen looks. The raw value is what is stored and
// what travels in share links, so it never changes once shipped; the order of
// allOverlayThemes() is the order of every theme picker.
enum class OverlayThemeID {
    avDark,
    minimalDark,
    minimalLight,
    avYellow,
    glass,
    liveBlur,
    customPhoto,
    customHTML,
    customWebsite,
    deepOcean,
    aurora,
    sunset,
    nebula,
    charcoal,
};

namespace OverlayTheme {
[[nodiscard]] const QList<OverlayThemeID> &allCases();

[[nodiscard]] QString rawValue(OverlayThemeID theme);
// Exact match only: no trimming, no case folding. Anything else is no theme.
[[nodiscard]] std::optional<OverlayThemeID> fromRawValue(QStringView raw);

[[nodiscard]] QString displayName(OverlayThemeID theme);
// The symbol name as the rest of the application spells it (see SymbolTable).
[[nodiscard]] QString iconName(OverlayThemeID theme);
// Transparent for the two see-through themes; cards draw a neutral wash then.
[[nodiscard]] QColor previewColor(OverlayThemeID theme);
[[nodiscard]] QColor accentColor(OverlayThemeID theme);

// The three themes whose content the user supplies.
[[nodiscard]] bool isCustom(OverlayThemeID theme);
// The web themes draw their own page and take no motion layer.
[[nodiscard]] bool isWeb(OverlayThemeID theme);
} // namespace OverlayTheme
