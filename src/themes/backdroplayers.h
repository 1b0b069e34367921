#pragma once

#include "themes/overlaybackgroundfillmode.h"
#include "themes/overlaythemeid.h"

#include <QColor>
#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QVariantMap>

// Which layers of a theme's backdrop show, given the theme, the fill mode,
// whether motion is allowed and the custom photo. The backdrop in QML only
// binds its layers' visibility to these.
class BackdropLayers : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(BackdropLayers)

    // Raw value of the theme; an unknown one draws the default theme.
    Q_PROPERTY(QString theme READ theme WRITE setTheme NOTIFY changed)
    // "solid" or "gradient"; anything else counts as "gradient".
    Q_PROPERTY(QString fillMode READ fillMode WRITE setFillMode NOTIFY changed)
    // Whether the motion light may show at all: the caller folds in the
    // reduce-motion setting and the user's switch.
    Q_PROPERTY(bool motion READ isMotionAllowed WRITE setMotionAllowed NOTIFY changed)
    Q_PROPERTY(QString photoPath READ photoPath WRITE setPhotoPath NOTIFY changed)

    // The theme actually drawn, after the fallback for an unknown one.
    Q_PROPERTY(QString shownTheme READ shownTheme NOTIFY changed)
    Q_PROPERTY(QColor accentColor READ accentColor NOTIFY changed)
    // Base and glow: {stops: [color], diagonal: bool, glow: {color, x, y,
    // startRadius, endRadius} or null}.
    Q_PROPERTY(QVariantMap style READ style NOTIFY changed)
    Q_PROPERTY(bool baseShown READ isBaseShown NOTIFY changed)
    Q_PROPERTY(bool glowShown READ isGlowShown NOTIFY changed)
    Q_PROPERTY(bool liveBlurShown READ isLiveBlurShown NOTIFY changed)
    Q_PROPERTY(bool photoShown READ isPhotoShown NOTIFY changed)
    // The large tilted person symbol of the yellow theme.
    Q_PROPERTY(bool watermarkShown READ isWatermarkShown NOTIFY changed)
    Q_PROPERTY(bool glassShown READ isGlassShown NOTIFY changed)
    Q_PROPERTY(bool motionShown READ isMotionShown NOTIFY changed)
    Q_PROPERTY(bool particlesShown READ areParticlesShown NOTIFY changed)
    // Some layer moves, so the backdrop needs a running timeline.
    Q_PROPERTY(bool needsTime READ needsTime NOTIFY changed)

public:
    explicit BackdropLayers(QObject *parent = nullptr);

    [[nodiscard]] QString theme() const { return m_theme; }
    void setTheme(const QString &theme);
    [[nodiscard]] QString fillMode() const { return m_fillMode; }
    void setFillMode(const QString &fillMode);
    [[nodiscard]] bool isMotionAllowed() const { return m_motion; }
    void setMotionAllowed(bool motion);
    [[nodiscard]] QString photoPath() const { return m_photoPath; }
    void setPhotoPath(const QString &path);

    [[nodiscard]] OverlayThemeID shownThemeID() const;
    [[nodiscard]] QString shownTheme() const;
    [[nodiscard]] QColor accentColor() const;
    [[nodiscard]] QVariantMap style() const;
    [[nodiscard]] bool isBaseShown() const;
    [[nodiscard]] bool isGlowShown() const;
    [[nodiscard]] bool isLiveBlurShown() const;
    [[nodiscard]] bool isPhotoShown() const;
    [[nodiscard]] bool isWatermarkShown() const;
    [[nodiscard]] bool isGlassShown() const;
    [[nodiscard]] bool isMotionShown() const;
    [[nodiscard]] bool areParticlesShown() const;
    [[nodiscard]] bool needsTime() const;

Q_SIGNALS:
    void changed();

private:
    [[nodiscard]] OverlayBackgroundFillMode fill() const;

    QString m_theme = QStringLiteral("live_blur");
    QString m_fillMode = QStringLiteral("gradient");
    bool m_motion = true;
    QString m_photoPath;
};
