#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>

class ColorSchemeSource;
class Preferences;

// Whether the settings window draws light or dark: "dark" and "light" in
// settingsAppearance force it; anything else (including "system" and no
// value) follows the desktop. Re-read on every "settingsAppearanceChanged".
class SettingsAppearance : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the window that it colours")
    Q_DISABLE_COPY_MOVE(SettingsAppearance)
    Q_PROPERTY(bool dark READ isDark NOTIFY darkChanged)
    // "system", "light" or "dark", as applied.
    Q_PROPERTY(QString appearance READ appearance NOTIFY darkChanged)

public:
    explicit SettingsAppearance(Preferences &defaults, ColorSchemeSource &desktop,
                                QObject *parent = nullptr);

    [[nodiscard]] bool isDark() const { return m_isDark; }
    [[nodiscard]] QString appearance() const { return m_appearance; }

    // Reads the preference and the desktop again.
    void apply();

    // "light" or "dark" when the text forces one, else "system".
    [[nodiscard]] static QString normalized(const QString &stored);

Q_SIGNALS:
    void darkChanged();

private:
    Preferences &m_defaults;
    ColorSchemeSource &m_desktop;
    QString m_appearance = QStringLiteral("system");
    bool m_isDark = false;
};
