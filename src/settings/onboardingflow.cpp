#include "settings/onboardingflow.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "overlay/pinmanager.h"
#include "settings/pinrules.h"
#include "themes/overlaythemeid.h"
#include "themes/thememanager.h"
#include "triggers/hotkeymanager.h"

OnboardingFlow::OnboardingFlow(QObject *parent)
    : QObject(parent)
{}

OnboardingFlow::OnboardingFlow(Preferences &defaults, ThemeManager &themes, QObject *parent)
    : QObject(parent)
    , m_defaults(&defaults)
    , m_themes(&themes)
{}

void OnboardingFlow::classBegin()
{
    const QQmlEngine *engine = qmlEngine(this);
    m_defaults = &QmlInstances::of<Preferences>(engine);
    m_themes = &QmlInstances::of<ThemeManager>(engine);
}

QString OnboardingFlow::lockHotkey() const
{
    return HotkeyManager::storedDisplayString(*m_defaults);
}

QStringList OnboardingFlow::themeChoices()
{
    return {OverlayTheme::rawValue(OverlayThemeID::liveBlur),
            OverlayTheme::rawValue(OverlayThemeID::avDark),
            OverlayTheme::rawValue(OverlayThemeID::minimalDark)};
}

void OnboardingFlow::setPinInput(const QString &pin)
{
    if (m_pinInput == pin)
        return;
    m_pinInput = pin;
    Q_EMIT pinInputChanged();
}

void OnboardingFlow::setPinConfirm(const QString &pin)
{
    if (m_pinConfirm == pin)
        return;
    m_pinConfirm = pin;
    Q_EMIT pinConfirmChanged();
}

void OnboardingFlow::setSelectedTheme(const QString &rawValue)
{
    if (!themeChoices().contains(rawValue) || m_selectedTheme == rawValue)
        return;
    m_selectedTheme = rawValue;
    Q_EMIT selectedThemeChanged();
}

void OnboardingFlow::setPinError(const QString &error)
{
    if (m_pinError == error)
        return;
    m_pinError = error;
    Q_EMIT pinErrorChanged();
}

void OnboardingFlow::setCurrentStep(int step)
{
    if (m_currentStep == step)
        return;
    m_currentStep = step;
    Q_EMIT currentStepChanged();
}

bool OnboardingFlow::validatePIN()
{
    if (!PinRules::isValid(m_pinInput)) {
        setPinError(PinRules::lengthMessage());
        return false;
    }
    if (m_pinInput != m_pinConfirm) {
        setPinError(PinRules::mismatchMessage());
        return false;
    }
    setPinError({});
    return true;
}

void OnboardingFlow::advance()
{
    if (m_currentStep == pin) {
        if (!validatePIN())
            return;
        m_defaults->setString(PreferenceKey::storedPIN, PINManager::encodePIN(m_pinInput));
    } else if (m_currentStep == theme) {
        m_themes->setCurrentThemeRawValue(m_selectedTheme);
    }
    if (isLastStep()) {
        m_defaults->setBool(PreferenceKey::hasCompletedOnboarding, true);
        Q_EMIT completed();
        return;
    }
    setCurrentStep(m_currentStep + 1);
}

void OnboardingFlow::goBack()
{
    if (m_currentStep > welcome)
        setCurrentStep(m_currentStep - 1);
}

void OnboardingFlow::setPinNeeded(bool needed)
{
    if (m_pinNeeded == needed)
        return;
    m_pinNeeded = needed;
    Q_EMIT pinNeededChanged();
}
