#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The look of the lock screen as it travels in a share link: a small JSON
// object whose keys are the field names. Photo and HTML paths name local
// files and never travel.
struct ThemeConfig
{
    QString theme;
    QString headline;
    QString subtext;
    bool showTicker = true;
    bool showClock = true;
    double blurRadius = 15.0;
    std::optional<QString> fillMode;
    std::optional<bool> motion;
    std::optional<bool> liveBlurDesktop;
    std::optional<QString> websiteURL;

    // Compact JSON, the optional fields only when set. None when a value
    // cannot be written as JSON (a radius that is not a finite number).
    [[nodiscard]] std::optional<QByteArray> toJson() const;

    // The whole document is checked before anything is returned: it must be
    // one object holding the six required keys with their types; an optional
    // key may be absent or null, and any other type for a known key rejects the
    // document. Unknown keys are ignored. A radius must be finite.
    [[nodiscard]] static std::optional<ThemeConfig> fromJson(QByteArrayView json);

    // Standard, padded Base64 only: no white space, no line breaks, no
    // URL-safe alphabet, nothing after the padding.
    [[nodiscard]] static std::optional<QByteArray> decodeBase64(QByteArrayView text);

    // The longest text an import looks at. A real document is a few hundred
    // bytes; the limit keeps a pasted novel from being decoded and parsed.
    static constexpr qsizetype maxEncodedLength = 64 * 1024;
};
