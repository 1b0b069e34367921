#include "themes/overlaythemeid.h"

#include <QCoreApplication>

#include <array>

namespace {
struct Row
{
    OverlayThemeID id;
    const char *rawValue;
    const char *displayName;
    const char *iconName;
    QColor preview;
    QColor accent;
};

QColor rgb(double r, double g, double b, double a = 1.0)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(a));
}

// The system green of the platform the themes were drawn for.
const QColor systemGreen = QColor(0x34, 0xc7, 0x59);

const std::array<Row, 14> &rows()
{
    static const std::array<Row, 14> table{{
        {OverlayThemeID::avDark, "av_dark", QT_TRANSLATE_NOOP("OverlayThemeID", "Ashvale Dark"),
         "flask", rgb(0.05, 0.05, 0.08), systemGreen},
        {OverlayThemeID::minimalDark, "minimal_dark",
         QT_TRANSLATE_NOOP("OverlayThemeID", "Minimal Dark"), "moon.fill", rgb(0, 0, 0),
         rgb(1, 1, 1, 0.6)},
        {OverlayThemeID::minimalLight, "minimal_light",
         QT_TRANSLATE_NOOP("OverlayThemeID", "Minimal Light"), "sun.max", rgb(0.96, 0.96, 0.94),
         rgb(0, 0, 0, 0.7)},
        {OverlayThemeID::avYellow, "av_yellow",
         QT_TRANSLATE_NOOP("OverlayThemeID", "Quessel Yellow"), "exclamationmark.triangle.fill",
         rgb(0.95, 0.82, 0.15), rgb(0.85, 0.65, 0.0)},
        {OverlayThemeID::glass, "glass", QT_TRANSLATE_NOOP("OverlayThemeID", "Frosted Glass"),
         "rectangle.on.rectangle", QColor(Qt::transparent), rgb(1, 1, 1, 0.8)},
        {OverlayThemeID::liveBlur, "live_blur", QT_TRANSLATE_NOOP("OverlayThemeID", "Live Blur"),
         "eye.slash", QColor(Qt::transparent), rgb(1, 1, 1, 0.8)},
        {OverlayThemeID::customPhoto, "custom_photo",
         QT_TRANSLATE_NOOP("OverlayThemeID", "Custom Photo"), "photo", rgb(0, 0, 0), rgb(1, 1, 1)},
        {OverlayThemeID::customHTML, "custom_html",
         QT_TRANSLATE_NOOP("OverlayThemeID", "Custom HTML"),
         "chevron.left.forwardslash.chevron.right", rgb(0, 0, 0), rgb(1, 1, 1)},
        {OverlayThemeID::customWebsite, "custom_website",
         QT_TRANSLATE_NOOP("OverlayThemeID", "Custom Website"), "globe", rgb(0, 0, 0),
         rgb(1, 1, 1)},
        {OverlayThemeID::deepOcean, "deep_ocean", QT_TRANSLATE_NOOP("OverlayThemeID", "Deep Ocean"),
         "water.waves", rgb(0.02, 0.07, 0.14), rgb(0.4, 0.85, 0.95)},
        {OverlayThemeID::aurora, "aurora", QT_TRANSLATE_NOOP("OverlayThemeID", "Aurora"),
         "sparkles", rgb(0.08, 0.04, 0.18), rgb(0.6, 1.0, 0.85)},
        {OverlayThemeID::sunset, "sunset", QT_TRANSLATE_NOOP("OverlayThemeID", "Sunset"),
         "sun.horizon.fill", rgb(0.18, 0.06, 0.12), rgb(1.0, 0.55, 0.45)},
        {OverlayThemeID::nebula, "nebula", QT_TRANSLATE_NOOP("OverlayThemeID", "Nebula"),
         "moon.stars.fill", rgb(0.1, 0.02, 0.16), rgb(0.85, 0.45, 1.0)},
        {OverlayThemeID::charcoal, "charcoal", QT_TRANSLATE_NOOP("OverlayThemeID", "Charcoal Mist"),
         "cloud.fill", rgb(0.12, 0.12, 0.14), rgb(1, 1, 1, 0.75)},
    }};
    return table;
}

const Row &row(OverlayThemeID theme)
{
    // The table is in declaration order, so the enumerator is the index.
    return rows().at(std::size_t(theme));
}
} // namespace

namespace OverlayTheme {
const QList<OverlayThemeID> &allCases()
{
    static const QList<OverlayThemeID> cases = [] {
        QList<OverlayThemeID> list;
        for (const Row &r : rows())
            list.append(r.id);
        return list;
    }();
    return cases;
}

QString rawValue(OverlayThemeID theme)
{
    return QString::fromLatin1(row(theme).rawValue);
}

std::optional<OverlayThemeID> fromRawValue(QStringView raw)
{
    for (const Row &r : rows()) {
        if (raw == QLatin1String(r.rawValue))
            return r.id;
    }
    return std::nullopt;
}

QString displayName(OverlayThemeID theme)
{
    return QCoreApplication::translate("OverlayThemeID", row(theme).displayName);
}

QString iconName(OverlayThemeID theme)
{
    return QString::fromLatin1(row(theme).iconName);
}

QColor previewColor(OverlayThemeID theme)
{
    return row(theme).preview;
}

QColor accentColor(OverlayThemeID theme)
{
    return row(theme).accent;
}

bool isCustom(OverlayThemeID theme)
{
    return theme == OverlayThemeID::customPhoto || theme == OverlayThemeID::customHTML ||
           theme == OverlayThemeID::customWebsite;
}

bool isWeb(OverlayThemeID theme)
{
    return theme == OverlayThemeID::customHTML || theme == OverlayThemeID::customWebsite;
}
} // namespace OverlayTheme
