#include "settings/settingsappearance.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/colorschemesource.h"

SettingsAppearance::SettingsAppearance(Preferences &defaults, ColorSchemeSource &desktop,
                                       QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_desktop(desktop)
{
    connect(&m_defaults, &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == PreferenceKey::settingsAppearance)
            apply();
    });
    connect(&m_desktop, &ColorSchemeSource::schemeChanged, this, &SettingsAppearance::apply);
    apply();
}

QString SettingsAppearance::normalized(const QString &stored)
{
    if (stored == QLatin1String("dark") || stored == QLatin1String("light"))
        return stored;
    return QStringLiteral("system");
}

void SettingsAppearance::apply()
{
    const QString appearance =
        normalized(m_defaults.string(PreferenceKey::settingsAppearance).value_or(QString()));
    bool dark = appearance == QLatin1String("dark");
    if (appearance == QLatin1String("system"))
        dark = m_desktop.scheme() == ColorSchemeSource::Scheme::dark;
    if (appearance == m_appearance && dark == m_isDark)
        return;
    m_appearance = appearance;
    m_isDark = dark;
    Q_EMIT darkChanged();
}
