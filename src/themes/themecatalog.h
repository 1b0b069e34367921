#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QVariantList>
#include <QVariantMap>

// The theme table for QML, keyed by raw value. Each theme is a map with
// rawValue, displayName, iconName, previewColor, accentColor, isCustom, isWeb;
// an unknown raw value gives an empty map.
class ThemeCatalog : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(ThemeCatalog)
    // Every theme in picker order.
    Q_PROPERTY(QVariantList themes READ themes CONSTANT)

public:
    explicit ThemeCatalog(QObject *parent = nullptr);

    [[nodiscard]] QVariantList themes() const;

    Q_INVOKABLE [[nodiscard]] QVariantMap theme(const QString &rawValue) const;
    Q_INVOKABLE [[nodiscard]] bool isTheme(const QString &rawValue) const;
    // Accent of the theme; white for an unknown raw value.
    Q_INVOKABLE [[nodiscard]] QColor accentColor(const QString &rawValue) const;
    // The live-blur theme's base when the desktop is not shown (see
    // BackdropStyle::toVariantMap); an unknown fill mode is "gradient".
    Q_INVOKABLE [[nodiscard]] QVariantMap liveBlurFallback(const QString &fillMode) const;
    Q_INVOKABLE [[nodiscard]] double liveScrimOpacity(double radius) const;
    Q_INVOKABLE [[nodiscard]] double fallbackScrimOpacity(double radius) const;
};
