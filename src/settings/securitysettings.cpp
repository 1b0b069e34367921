#include "settings/securitysettings.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinmanager.h"
#include "settings/pinrules.h"

SecuritySettings::SecuritySettings(Preferences &defaults, PINManager &pins, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_pins(pins)
{
    connect(&m_defaults, &Preferences::valueChanged, this, &SecuritySettings::onValueChanged);
    connect(&m_pins, &PINManager::storedPINChanged, this, &SecuritySettings::formChanged);
}

void SecuritySettings::onValueChanged(const QString &key)
{
    if (key == PreferenceKey::fingerprintEnabled)
        Q_EMIT fingerprintEnabledChanged();
    else if (key == PreferenceKey::requirePINAlways)
        Q_EMIT requirePINAlwaysChanged();
    else if (key == PreferenceKey::maxPINAttempts)
        Q_EMIT maxPINAttemptsChanged();
}

void SecuritySettings::setCurrentPIN(const QString &pin)
{
    if (m_currentPIN == pin)
        return;
    m_currentPIN = pin;
    Q_EMIT formChanged();
}

void SecuritySettings::setNewPIN(const QString &pin)
{
    if (m_newPIN == pin)
        return;
    m_newPIN = pin;
    Q_EMIT formChanged();
}

void SecuritySettings::setConfirmPIN(const QString &pin)
{
    if (m_confirmPIN == pin)
        return;
    m_confirmPIN = pin;
    Q_EMIT formChanged();
}

bool SecuritySettings::canUpdate() const
{
    return (!m_currentPIN.isEmpty() || !hasPIN()) && !m_newPIN.isEmpty() && !m_confirmPIN.isEmpty();
}

bool SecuritySettings::hasPIN() const
{
    return m_pins.hasPIN();
}

void SecuritySettings::setMessage(const QString &message, bool success)
{
    m_pinMessage = message;
    m_pinSuccess = success;
    Q_EMIT pinMessageChanged();
}

bool SecuritySettings::updatePIN()
{
    if (m_newPIN != m_confirmPIN) {
        setMessage(PinRules::mismatchMessage(), false);
        return false;
    }
    if (!PinRules::isValid(m_newPIN)) {
        setMessage(PinRules::lengthMessage(), false);
        return false;
    }
    // The current PIN field is hidden while none is stored; whatever it held
    // before does not count then.
    const bool hadPIN = hasPIN();
    if (!m_pins.changePIN(hadPIN ? m_currentPIN : QString(), m_newPIN)) {
        setMessage(tr("Current PIN is incorrect"), false);
        return false;
    }
    setMessage(hadPIN ? tr("PIN updated successfully") : tr("PIN set: Vostrel can lock now"), true);
    m_currentPIN.clear();
    m_newPIN.clear();
    m_confirmPIN.clear();
    Q_EMIT formChanged();
    return true;
}

bool SecuritySettings::fingerprintEnabled() const
{
    const QVariant value = m_defaults.value(PreferenceKey::fingerprintEnabled);
    return value.typeId() == QMetaType::Bool ? value.toBool() : true;
}

void SecuritySettings::setFingerprintEnabled(bool enabled)
{
    m_defaults.setBool(PreferenceKey::fingerprintEnabled, enabled);
}

bool SecuritySettings::requirePINAlways() const
{
    return m_defaults.boolValue(PreferenceKey::requirePINAlways);
}

void SecuritySettings::setRequirePINAlways(bool enabled)
{
    m_defaults.setBool(PreferenceKey::requirePINAlways, enabled);
}

int SecuritySettings::maxPINAttempts() const
{
    return int(m_pins.maxPINAttempts());
}

void SecuritySettings::setMaxPINAttempts(int attempts)
{
    if (attempts < 1)
        return;
    m_defaults.setInteger(PreferenceKey::maxPINAttempts, attempts);
}

QVariantList SecuritySettings::attemptChoices()
{
    QVariantList choices;
    for (const int attempts : {3, 5, 10}) {
        choices.append(QVariantMap{{QStringLiteral("label"), tr("%1 attempts").arg(attempts)},
                                   {QStringLiteral("value"), attempts}});
    }
    return choices;
}
