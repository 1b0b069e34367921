#include "themes/thememanager.h"

#include <cmath>

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "themes/themeslog.h"

#include <QJSEngine>
#include <QUrl>
#include <QUrlQuery>

ThemeManager::ThemeManager(Preferences &defaults, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
{
    reload();
}

void ThemeManager::reload()
{
    const auto update = [this](auto &member, const auto &value, void (ThemeManager::*changed)()) {
        if (member == value)
            return;
        member = value;
        Q_EMIT(this->*changed)();
    };
    OverlayThemeID theme = defaultTheme;
    if (const auto raw = storedString(PreferenceKey::selectedTheme))
        theme = OverlayTheme::fromRawValue(*raw).value_or(defaultTheme);
    update(m_currentTheme, theme, &ThemeManager::currentThemeChanged);
    update(m_customHeadline,
           storedString(PreferenceKey::overlayHeadline).value_or(defaultHeadline()),
           &ThemeManager::customHeadlineChanged);
    update(m_customSubtext, storedString(PreferenceKey::overlaySubtext).value_or(defaultSubtext()),
           &ThemeManager::customSubtextChanged);
    update(m_showTaskTicker, storedBool(PreferenceKey::showTaskTicker, true),
           &ThemeManager::showTaskTickerChanged);
    update(m_showClock, storedBool(PreferenceKey::showClock, true),
           &ThemeManager::showClockChanged);
    update(m_customPhotoPath, storedString(PreferenceKey::customPhotoPath),
           &ThemeManager::customPhotoPathChanged);
    update(m_customHTMLPath, storedString(PreferenceKey::customHTMLPath),
           &ThemeManager::customHTMLPathChanged);
    update(m_customWebsiteURL, storedString(PreferenceKey::customWebsiteURL),
           &ThemeManager::customWebsiteURLChanged);
    // Integers count as numbers here; a Bool does not, though JSON readers
    // elsewhere might take true for 1.
    double radius = defaultLiveBlurRadius;
    const QVariant stored = m_defaults.value(PreferenceKey::liveBlurRadius);
    if ((stored.typeId() == QMetaType::Double || stored.typeId() == QMetaType::LongLong) &&
        std::isfinite(stored.toDouble()))
        radius = stored.toDouble();
    update(m_liveBlurRadius, radius, &ThemeManager::liveBlurRadiusChanged);
    update(m_liveBlurShowDesktop, storedBool(PreferenceKey::liveBlurShowDesktop, false),
           &ThemeManager::liveBlurShowDesktopChanged);
    const bool solid = storedString(PreferenceKey::overlayBackgroundFill) == QLatin1String("solid");
    update(m_fillMode,
           solid ? OverlayBackgroundFillMode::solid : OverlayBackgroundFillMode::gradient,
           &ThemeManager::backgroundFillModeChanged);
    update(m_backgroundMotionEnabled, storedBool(PreferenceKey::overlayBackgroundMotion, true),
           &ThemeManager::backgroundMotionEnabledChanged);
}

ThemeManager *ThemeManager::create(QQmlEngine *engine, QJSEngine *)
{
    return QmlInstances::singleton<ThemeManager>(engine);
}

QString ThemeManager::defaultHeadline()
{
    return tr("Don't interrupt the tamber.");
}

QString ThemeManager::defaultSubtext()
{
    return tr("The lab is busy.");
}

bool ThemeManager::storedBool(QLatin1String key, bool fallback) const
{
    const QVariant value = m_defaults.value(key);
    return value.typeId() == QMetaType::Bool ? value.toBool() : fallback;
}

std::optional<QString> ThemeManager::storedString(QLatin1String key) const
{
    const QVariant value = m_defaults.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

void ThemeManager::writeOptional(QLatin1String key, const std::optional<QString> &value)
{
    if (value)
        m_defaults.setString(key, *value);
    else
        m_defaults.remove(key);
}

QString ThemeManager::currentThemeRawValue() const
{
    return OverlayTheme::rawValue(m_currentTheme);
}

QString ThemeManager::backgroundFillModeRawValue() const
{
    return BackgroundFillMode::rawValue(m_fillMode);
}

void ThemeManager::setCurrentTheme(OverlayThemeID theme)
{
    if (m_currentTheme != theme) {
        m_currentTheme = theme;
        Q_EMIT currentThemeChanged();
    }
    m_defaults.setString(PreferenceKey::selectedTheme, OverlayTheme::rawValue(theme));
}

void ThemeManager::setCurrentThemeRawValue(const QString &rawValue)
{
    const auto theme = OverlayTheme::fromRawValue(rawValue);
    if (!theme) {
        qCWarning(lcThemes, "ThemeManager: \"%s\" names no theme; the theme stays \"%s\"",
                  qPrintable(rawValue), qPrintable(currentThemeRawValue()));
        return;
    }
    setCurrentTheme(*theme);
}

void ThemeManager::setCustomHeadline(const QString &text)
{
    if (m_customHeadline != text) {
        m_customHeadline = text;
        Q_EMIT customHeadlineChanged();
    }
    m_defaults.setString(PreferenceKey::overlayHeadline, text);
}

void ThemeManager::setCustomSubtext(const QString &text)
{
    if (m_customSubtext != text) {
        m_customSubtext = text;
        Q_EMIT customSubtextChanged();
    }
    m_defaults.setString(PreferenceKey::overlaySubtext, text);
}

void ThemeManager::setShowTaskTicker(bool show)
{
    if (m_showTaskTicker != show) {
        m_showTaskTicker = show;
        Q_EMIT showTaskTickerChanged();
    }
    m_defaults.setBool(PreferenceKey::showTaskTicker, show);
}

void ThemeManager::setShowClock(bool show)
{
    if (m_showClock != show) {
        m_showClock = show;
        Q_EMIT showClockChanged();
    }
    m_defaults.setBool(PreferenceKey::showClock, show);
}

void ThemeManager::setCustomPhotoPath(const std::optional<QString> &path)
{
    if (m_customPhotoPath != path) {
        m_customPhotoPath = path;
        Q_EMIT customPhotoPathChanged();
    }
    writeOptional(PreferenceKey::customPhotoPath, path);
}

void ThemeManager::setCustomHTMLPath(const std::optional<QString> &path)
{
    if (m_customHTMLPath != path) {
        m_customHTMLPath = path;
        Q_EMIT customHTMLPathChanged();
    }
    writeOptional(PreferenceKey::customHTMLPath, path);
}

void ThemeManager::setCustomWebsiteURL(const std::optional<QString> &url)
{
    if (m_customWebsiteURL != url) {
        m_customWebsiteURL = url;
        Q_EMIT customWebsiteURLChanged();
    }
    writeOptional(PreferenceKey::customWebsiteURL, url);
}

void ThemeManager::setLiveBlurRadius(double radius)
{
    // Exact comparison on purpose: any new value, however close, is a change.
    if (m_liveBlurRadius != radius) {
        m_liveBlurRadius = radius;
        Q_EMIT liveBlurRadiusChanged();
    }
    m_defaults.setDouble(PreferenceKey::liveBlurRadius, radius);
}

void ThemeManager::setLiveBlurShowDesktop(bool show)
{
    if (m_liveBlurShowDesktop != show) {
        m_liveBlurShowDesktop = show;
        Q_EMIT liveBlurShowDesktopChanged();
    }
    m_defaults.setBool(PreferenceKey::liveBlurShowDesktop, show);
}

void ThemeManager::setBackgroundFillMode(OverlayBackgroundFillMode mode)
{
    if (m_fillMode != mode) {
        m_fillMode = mode;
        Q_EMIT backgroundFillModeChanged();
    }
    m_defaults.setString(PreferenceKey::overlayBackgroundFill, BackgroundFillMode::rawValue(mode));
}

void ThemeManager::setBackgroundFillModeRawValue(const QString &rawValue)
{
    const auto mode = BackgroundFillMode::fromRawValue(rawValue);
    if (!mode) {
        qCWarning(lcThemes, "ThemeManager: \"%s\" is no fill mode; it stays \"%s\"",
                  qPrintable(rawValue), qPrintable(backgroundFillModeRawValue()));
        return;
    }
    setBackgroundFillMode(*mode);
}

void ThemeManager::setBackgroundMotionEnabled(bool enabled)
{
    if (m_backgroundMotionEnabled != enabled) {
        m_backgroundMotionEnabled = enabled;
        Q_EMIT backgroundMotionEnabledChanged();
    }
    m_defaults.setBool(PreferenceKey::overlayBackgroundMotion, enabled);
}

ThemeConfig ThemeManager::config() const
{
    ThemeConfig config;
    config.theme = currentThemeRawValue();
    config.headline = m_customHeadline;
    config.subtext = m_customSubtext;
    config.showTicker = m_showTaskTicker;
    config.showClock = m_showClock;
    config.blurRadius = m_liveBlurRadius;
    config.fillMode = backgroundFillModeRawValue();
    config.motion = m_backgroundMotionEnabled;
    config.liveBlurDesktop = m_liveBlurShowDesktop;
    if (m_currentTheme == OverlayThemeID::customWebsite)
        config.websiteURL = m_customWebsiteURL;
    return config;
}

std::optional<QString> ThemeManager::exportConfig() const
{
    const auto json = config().toJson();
    if (!json)
        return std::nullopt;
    return QString::fromLatin1(json->toBase64());
}

bool ThemeManager::importConfig(QStringView base64)
{
    if (base64.size() > ThemeConfig::maxEncodedLength)
        return false;
    // Anything outside Latin-1 is no Base64 either; toLatin1 would turn it
    // into '?', which the decoder refuses as well.
    const auto json = ThemeConfig::decodeBase64(base64.toLatin1());
    if (!json)
        return false;
    const auto config = ThemeConfig::fromJson(*json);
    if (!config)
        return false;
    apply(*config);
    return true;
}

bool ThemeManager::importFromURL(const QUrl &url)
{
    if (!url.isValid() || !url.hasQuery())
        return false;
    const QList<std::pair<QString, QString>> items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const auto &[name, value] : items) {
        if (name == QLatin1String("config"))
            return !value.isEmpty() && importConfig(value);
    }
    return false;
}

bool ThemeManager::importFromURL(const QString &urlText)
{
    if (urlText.size() > ThemeConfig::maxEncodedLength * 2)
        return false;
    return importFromURL(QUrl(urlText, QUrl::StrictMode));
}

void ThemeManager::apply(const ThemeConfig &config)
{
    if (const auto theme = OverlayTheme::fromRawValue(config.theme))
        setCurrentTheme(*theme);
    setCustomHeadline(config.headline);
    setCustomSubtext(config.subtext);
    setShowTaskTicker(config.showTicker);
    setShowClock(config.showClock);
    setLiveBlurRadius(config.blurRadius);
    if (config.fillMode) {
        if (const auto mode = BackgroundFillMode::fromRawValue(*config.fillMode))
            setBackgroundFillMode(*mode);
    }
    if (config.motion)
        setBackgroundMotionEnabled(*config.motion);
    if (config.liveBlurDesktop)
        setLiveBlurShowDesktop(*config.liveBlurDesktop);
    if (m_currentTheme == OverlayThemeID::customWebsite && config.websiteURL) {
        const QString url = config.websiteURL->trimmed();
        if (!url.isEmpty())
            setCustomWebsiteURL(url);
    }
}
