#include "settings/generalsettings.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/loginitem.h"
#include "settings/settingsappearance.h"

namespace {
QVariantMap choice(const QString &label, const QVariant &value)
{
    return {{QStringLiteral("label"), label}, {QStringLiteral("value"), value}};
}
} // namespace

GeneralSettings::GeneralSettings(Preferences &defaults, LoginItem &loginItem,
                                 QString sessionRefusal, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_loginItem(loginItem)
    , m_sessionRefusal(std::move(sessionRefusal))
{
    connect(&m_defaults, &Preferences::valueChanged, this, &GeneralSettings::onValueChanged);
}

void GeneralSettings::onValueChanged(const QString &key)
{
    if (key == PreferenceKey::settingsAppearance)
        Q_EMIT appearanceChanged();
    else if (key == PreferenceKey::launchAtLogin)
        Q_EMIT launchAtLoginChanged();
    else if (key == PreferenceKey::defaultDuration)
        Q_EMIT defaultDurationChanged();
    else if (key == PreferenceKey::lockSoundsEnabled)
        Q_EMIT lockSoundsEnabledChanged();
    else if (key == PreferenceKey::lockAllDisplays)
        Q_EMIT lockAllDisplaysChanged();
}

QString GeneralSettings::appearance() const
{
    return SettingsAppearance::normalized(
        m_defaults.string(PreferenceKey::settingsAppearance).value_or(QString()));
}

void GeneralSettings::setAppearance(const QString &appearance)
{
    m_defaults.setString(PreferenceKey::settingsAppearance,
                         SettingsAppearance::normalized(appearance));
}

bool GeneralSettings::launchAtLogin() const
{
    return m_defaults.boolValue(PreferenceKey::launchAtLogin);
}

void GeneralSettings::setLaunchAtLogin(bool enabled)
{
    const bool previous = launchAtLogin();
    if (enabled == previous)
        return;
    m_defaults.setBool(PreferenceKey::launchAtLogin, enabled);
    const LoginItem::Result result =
        enabled ? m_loginItem.registerItem() : m_loginItem.unregisterItem();
    if (result.ok) {
        setLoginError({});
        return;
    }
    setLoginError(result.error.isEmpty() ? tr("The login item could not be changed.")
                                         : result.error);
    m_defaults.setBool(PreferenceKey::launchAtLogin, previous);
}

void GeneralSettings::setLoginError(const QString &error)
{
    if (m_loginError == error)
        return;
    m_loginError = error;
    Q_EMIT loginErrorChanged();
}

int GeneralSettings::defaultDuration() const
{
    return int(m_defaults.integer(PreferenceKey::defaultDuration));
}

void GeneralSettings::setDefaultDuration(int minutes)
{
    m_defaults.setInteger(PreferenceKey::defaultDuration, qMax(0, minutes));
}

QVariantList GeneralSettings::durationChoices()
{
    return {choice(tr("Indefinitely"), 0), choice(tr("15 min"), 15), choice(tr("30 min"), 30),
            choice(tr("1 hour"), 60), choice(tr("2 hours"), 120)};
}

QVariantList GeneralSettings::appearanceChoices()
{
    return {choice(tr("System"), QStringLiteral("system")),
            choice(tr("Light"), QStringLiteral("light")),
            choice(tr("Dark"), QStringLiteral("dark"))};
}

bool GeneralSettings::lockSoundsEnabled() const
{
    return m_defaults.boolValue(PreferenceKey::lockSoundsEnabled);
}

void GeneralSettings::setLockSoundsEnabled(bool enabled)
{
    m_defaults.setBool(PreferenceKey::lockSoundsEnabled, enabled);
}

bool GeneralSettings::lockAllDisplays() const
{
    const QVariant value = m_defaults.value(PreferenceKey::lockAllDisplays);
    return value.typeId() == QMetaType::Bool ? value.toBool() : true;
}

void GeneralSettings::setLockAllDisplays(bool enabled)
{
    m_defaults.setBool(PreferenceKey::lockAllDisplays, enabled);
}
