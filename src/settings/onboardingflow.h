#pragma once

#include <QObject>
#include <QQmlParserStatus>
#include <qqmlregistration.h>
#include <QString>
#include <QStringList>

class ThemeManager;
class Preferences;

// The four steps of first use: welcome, PIN, theme, done. The PIN is stored
// when step 1 is left, the theme when step 2 is left, and completion is
// recorded at the end; a window closed half-way keeps what was stored.
class OnboardingFlow : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(OnboardingFlow)
    Q_PROPERTY(int currentStep READ currentStep NOTIFY currentStepChanged)
    Q_PROPERTY(int totalSteps READ totalSteps CONSTANT)
    Q_PROPERTY(QString pinInput READ pinInput WRITE setPinInput NOTIFY pinInputChanged)
    Q_PROPERTY(QString pinConfirm READ pinConfirm WRITE setPinConfirm NOTIFY pinConfirmChanged)
    Q_PROPERTY(QString pinError READ pinError NOTIFY pinErrorChanged)
    // A theme's raw value; only the three offered are accepted.
    Q_PROPERTY(
        QString selectedTheme READ selectedTheme WRITE setSelectedTheme NOTIFY selectedThemeChanged)
    Q_PROPERTY(QStringList themeChoices READ themeChoices CONSTANT)
    Q_PROPERTY(bool isLastStep READ isLastStep NOTIFY currentStepChanged)
    // The lock hotkey as the last step's tip names it ("Super+L").
    Q_PROPERTY(QString lockHotkey READ lockHotkey CONSTANT)
    // Opened because a lock was asked for before any PIN was chosen.
    Q_PROPERTY(bool pinNeeded READ isPinNeeded WRITE setPinNeeded NOTIFY pinNeededChanged)

public:
    static constexpr int totalStepCount = 4;
    enum Step { welcome = 0, pin = 1, theme = 2, done = 3 };
    Q_ENUM(Step)

    // Built in QML: the preferences and themes handed to its engine.
    explicit OnboardingFlow(QObject *parent = nullptr);
    OnboardingFlow(Preferences &defaults, ThemeManager &themes, QObject *parent = nullptr);

    void classBegin() override;
    void componentComplete() override {}

    [[nodiscard]] int currentStep() const { return m_currentStep; }
    [[nodiscard]] static int totalSteps() { return totalStepCount; }
    [[nodiscard]] bool isLastStep() const { return m_currentStep == totalStepCount - 1; }
    [[nodiscard]] QString pinInput() const { return m_pinInput; }
    [[nodiscard]] QString pinConfirm() const { return m_pinConfirm; }
    [[nodiscard]] QString pinError() const { return m_pinError; }
    [[nodiscard]] QString selectedTheme() const { return m_selectedTheme; }
    [[nodiscard]] static QStringList themeChoices();
    [[nodiscard]] QString lockHotkey() const;
    [[nodiscard]] bool isPinNeeded() const { return m_pinNeeded; }
    void setPinNeeded(bool needed);

    void setPinInput(const QString &pin);
    void setPinConfirm(const QString &pin);
    void setSelectedTheme(const QString &rawValue);

    // The length and digit rule first, then the match; sets pinError.
    Q_INVOKABLE bool validatePIN();
    // "Continue" / "Get Started".
    Q_INVOKABLE void advance();
    // "Back"; nothing on the first step.
    Q_INVOKABLE void goBack();

Q_SIGNALS:
    void currentStepChanged();
    void pinInputChanged();
    void pinConfirmChanged();
    void pinErrorChanged();
    void selectedThemeChanged();
    void pinNeededChanged();
    // The last step was confirmed: completion is stored.
    void completed();

private:
    void setPinError(const QString &error);
    void setCurrentStep(int step);

    Preferences *m_defaults = nullptr;
    ThemeManager *m_themes = nullptr;
    int m_currentStep = welcome;
    QString m_pinInput;
    QString m_pinConfirm;
    QString m_pinError;
    QString m_selectedTheme = themeChoices().constFirst();
    bool m_pinNeeded = false;
};
