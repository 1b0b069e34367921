#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>

class ThemeManager;

// The Overlay & Themes page's own decisions; everything else on the page
// binds to the theme manager directly.
class OverlaySettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(OverlaySettings)
    // The stored website address, "" when none.
    Q_PROPERTY(QString websiteURL READ websiteURL NOTIFY websiteURLChanged)
    Q_PROPERTY(bool hasWebsiteURL READ hasWebsiteURL NOTIFY websiteURLChanged)
    // The live-blur card exists only while liveBlur is the theme.
    Q_PROPERTY(bool showsLiveBlurSettings READ showsLiveBlurSettings NOTIFY themeChanged)
    // The radius as a whole number, as the label beside the slider shows it.
    Q_PROPERTY(QString blurRadiusLabel READ blurRadiusLabel NOTIFY blurRadiusChanged)

public:
    explicit OverlaySettings(ThemeManager &themes, QObject *parent = nullptr);

    [[nodiscard]] QString websiteURL() const;
    [[nodiscard]] bool hasWebsiteURL() const;
    [[nodiscard]] bool showsLiveBlurSettings() const;
    [[nodiscard]] QString blurRadiusLabel() const;
    // Truncated towards zero; a value no whole number can hold (a share link
    // may carry anything) shows as the nearest limit, NaN as 0.
    [[nodiscard]] static QString radiusLabel(double radius);

    // One edit of the URL field: trimmed at both ends and stored, or the
    // setting removed when nothing is left.
    Q_INVOKABLE void editWebsiteURL(const QString &text);
    Q_INVOKABLE void clearWebsiteURL();

Q_SIGNALS:
    void websiteURLChanged();
    void themeChanged();
    void blurRadiusChanged();

private:
    ThemeManager &m_themes;
};
