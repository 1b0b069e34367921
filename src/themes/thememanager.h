#pragma once

#include "themes/overlaybackgroundfillmode.h"
#include "themes/overlaythemeid.h"
#include "themes/themeconfig.h"

#include <QObject>
#include <qqmlregistration.h>
#include <QString>

#include <optional>

class QJSEngine;
class QQmlEngine;
class QUrl;
class Preferences;

// The user's choice of lock-screen look and texts. Every value is read once at
// creation (a value of the wrong type counts as absent) and written through to
// the preferences on every set, even an unchanged one; creation writes nothing.
// Outside changes to the file are seen at the next launch only, unless the
// writer sets the property here.
//
// QML sees the theme and the fill mode as their raw value strings and the
// three optional strings as "" when absent; assigning undefined to one of
// those removes it.
class ThemeManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(ThemeManager)
    Q_PROPERTY(QString currentTheme READ currentThemeRawValue WRITE setCurrentThemeRawValue NOTIFY
                   currentThemeChanged)
    Q_PROPERTY(QString customHeadline READ customHeadline WRITE setCustomHeadline NOTIFY
                   customHeadlineChanged)
    Q_PROPERTY(
        QString customSubtext READ customSubtext WRITE setCustomSubtext NOTIFY customSubtextChanged)
    Q_PROPERTY(bool showTaskTicker READ showTaskTicker WRITE setShowTaskTicker NOTIFY
                   showTaskTickerChanged)
    Q_PROPERTY(bool showClock READ showClock WRITE setShowClock NOTIFY showClockChanged)
    Q_PROPERTY(QString customPhotoPath READ customPhotoPathText WRITE setCustomPhotoPathText RESET
                   resetCustomPhotoPath NOTIFY customPhotoPathChanged)
    Q_PROPERTY(QString customHTMLPath READ customHTMLPathText WRITE setCustomHTMLPathText RESET
                   resetCustomHTMLPath NOTIFY customHTMLPathChanged)
    Q_PROPERTY(QString customWebsiteURL READ customWebsiteURLText WRITE setCustomWebsiteURLText
                   RESET resetCustomWebsiteURL NOTIFY customWebsiteURLChanged)
    Q_PROPERTY(double liveBlurRadius READ liveBlurRadius WRITE setLiveBlurRadius NOTIFY
                   liveBlurRadiusChanged)
    Q_PROPERTY(bool liveBlurShowDesktop READ liveBlurShowDesktop WRITE setLiveBlurShowDesktop NOTIFY
                   liveBlurShowDesktopChanged)
    Q_PROPERTY(QString backgroundFillMode READ backgroundFillModeRawValue WRITE
                   setBackgroundFillModeRawValue NOTIFY backgroundFillModeChanged)
    Q_PROPERTY(bool backgroundMotionEnabled READ backgroundMotionEnabled WRITE
                   setBackgroundMotionEnabled NOTIFY backgroundMotionEnabledChanged)

public:
    explicit ThemeManager(Preferences &defaults, QObject *parent = nullptr);

    // Reads every setting again (another process may have written them) and
    // announces what changed. Writes nothing.
    void reload();
    static ThemeManager *create(QQmlEngine *, QJSEngine *);

    static constexpr OverlayThemeID defaultTheme = OverlayThemeID::liveBlur;
    static constexpr double defaultLiveBlurRadius = 15.0;
    [[nodiscard]] static QString defaultHeadline();
    [[nodiscard]] static QString defaultSubtext();

    [[nodiscard]] OverlayThemeID currentTheme() const { return m_currentTheme; }
    [[nodiscard]] QString currentThemeRawValue() const;
    [[nodiscard]] QString customHeadline() const { return m_customHeadline; }
    [[nodiscard]] QString customSubtext() const { return m_customSubtext; }
    [[nodiscard]] bool showTaskTicker() const { return m_showTaskTicker; }
    [[nodiscard]] bool showClock() const { return m_showClock; }
    [[nodiscard]] std::optional<QString> customPhotoPath() const { return m_customPhotoPath; }
    [[nodiscard]] std::optional<QString> customHTMLPath() const { return m_customHTMLPath; }
    [[nodiscard]] std::optional<QString> customWebsiteURL() const { return m_customWebsiteURL; }
    [[nodiscard]] double liveBlurRadius() const { return m_liveBlurRadius; }
    [[nodiscard]] bool liveBlurShowDesktop() const { return m_liveBlurShowDesktop; }
    [[nodiscard]] OverlayBackgroundFillMode backgroundFillMode() const { return m_fillMode; }
    [[nodiscard]] QString backgroundFillModeRawValue() const;
    [[nodiscard]] bool backgroundMotionEnabled() const { return m_backgroundMotionEnabled; }

    void setCurrentTheme(OverlayThemeID theme);
    // An unknown raw value is refused with a warning and changes nothing.
    void setCurrentThemeRawValue(const QString &rawValue);
    void setCustomHeadline(const QString &text);
    void setCustomSubtext(const QString &text);
    void setShowTaskTicker(bool show);
    void setShowClock(bool show);
    void setCustomPhotoPath(const std::optional<QString> &path);
    void setCustomHTMLPath(const std::optional<QString> &path);
    void setCustomWebsiteURL(const std::optional<QString> &url);
    // Not clamped: the slider offers 10…80 but share links may carry anything.
    void setLiveBlurRadius(double radius);
    void setLiveBlurShowDesktop(bool show);
    void setBackgroundFillMode(OverlayBackgroundFillMode mode);
    // Anything but "solid" and "gradient" is refused with a warning.
    void setBackgroundFillModeRawValue(const QString &rawValue);
    void setBackgroundMotionEnabled(bool enabled);

    // The QML faces of the optional strings.
    [[nodiscard]] QString customPhotoPathText() const
    {
        return m_customPhotoPath.value_or(QString());
    }
    [[nodiscard]] QString customHTMLPathText() const
    {
        return m_customHTMLPath.value_or(QString());
    }
    [[nodiscard]] QString customWebsiteURLText() const
    {
        return m_customWebsiteURL.value_or(QString());
    }
    void setCustomPhotoPathText(const QString &path) { setCustomPhotoPath(path); }
    void setCustomHTMLPathText(const QString &path) { setCustomHTMLPath(path); }
    void setCustomWebsiteURLText(const QString &url) { setCustomWebsiteURL(url); }
    void resetCustomPhotoPath() { setCustomPhotoPath(std::nullopt); }
    void resetCustomHTMLPath() { setCustomHTMLPath(std::nullopt); }
    void resetCustomWebsiteURL() { setCustomWebsiteURL(std::nullopt); }

    // Share links. The document of the current settings; the website address
    // travels only while customWebsite is the theme.
    [[nodiscard]] ThemeConfig config() const;
    // Its Base64 text, or none when it cannot be encoded.
    [[nodiscard]] std::optional<QString> exportConfig() const;
    // Applies a document through the setters, so each change is published and
    // stored. Base64, JSON, required keys and types are all checked before the
    // first setter runs: on false nothing has changed. A theme name that names
    // no theme is no error; the rest still applies.
    bool importConfig(QStringView base64);
    // The first "config" item of the URL's query, given to importConfig.
    // Scheme, host and path play no part.
    bool importFromURL(const QUrl &url);
    // The text parsed strictly as a URL first (white space, for one, makes
    // it no URL).
    bool importFromURL(const QString &urlText);
    void apply(const ThemeConfig &config);

Q_SIGNALS:
    void currentThemeChanged();
    void customHeadlineChanged();
    void customSubtextChanged();
    void showTaskTickerChanged();
    void showClockChanged();
    void customPhotoPathChanged();
    void customHTMLPathChanged();
    void customWebsiteURLChanged();
    void liveBlurRadiusChanged();
    void liveBlurShowDesktopChanged();
    void backgroundFillModeChanged();
    void backgroundMotionEnabledChanged();

private:
    [[nodiscard]] bool storedBool(QLatin1String key, bool fallback) const;
    [[nodiscard]] std::optional<QString> storedString(QLatin1String key) const;
    void writeOptional(QLatin1String key, const std::optional<QString> &value);

    Preferences &m_defaults;
    OverlayThemeID m_currentTheme = defaultTheme;
    QString m_customHeadline;
    QString m_customSubtext;
    bool m_showTaskTicker = true;
    bool m_showClock = true;
    std::optional<QString> m_customPhotoPath;
    std::optional<QString> m_customHTMLPath;
    std::optional<QString> m_customWebsiteURL;
    double m_liveBlurRadius = defaultLiveBlurRadius;
    bool m_liveBlurShowDesktop = false;
    OverlayBackgroundFillMode m_fillMode = OverlayBackgroundFillMode::gradient;
    bool m_backgroundMotionEnabled = true;
};
