#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QVariantList>

class PINManager;
class Preferences;

// The Security page: the change-PIN form and the three preferences. The
// form's texts live as long as this object, so a page shown again starts
// empty.
class SecuritySettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(SecuritySettings)
    Q_PROPERTY(QString currentPIN READ currentPIN WRITE setCurrentPIN NOTIFY formChanged)
    Q_PROPERTY(QString newPIN READ newPIN WRITE setNewPIN NOTIFY formChanged)
    Q_PROPERTY(QString confirmPIN READ confirmPIN WRITE setConfirmPIN NOTIFY formChanged)
    // No PIN decodes: the form sets one and asks for no current PIN.
    Q_PROPERTY(bool hasPIN READ hasPIN NOTIFY formChanged)
    // False while any field the form needs is empty.
    Q_PROPERTY(bool canUpdate READ canUpdate NOTIFY formChanged)
    Q_PROPERTY(QString pinMessage READ pinMessage NOTIFY pinMessageChanged)
    Q_PROPERTY(bool pinSuccess READ pinSuccess NOTIFY pinMessageChanged)
    // Shows on while the preference was never written, as the page always
    // has; the lock screen reads an unwritten key as off.
    Q_PROPERTY(bool fingerprintEnabled READ fingerprintEnabled WRITE setFingerprintEnabled NOTIFY
                   fingerprintEnabledChanged)
    Q_PROPERTY(bool requirePINAlways READ requirePINAlways WRITE setRequirePINAlways NOTIFY
                   requirePINAlwaysChanged)
    Q_PROPERTY(
        int maxPINAttempts READ maxPINAttempts WRITE setMaxPINAttempts NOTIFY maxPINAttemptsChanged)
    // [{label, value}]: "3 attempts" 3, "5 attempts" 5, "10 attempts" 10.
    Q_PROPERTY(QVariantList attemptChoices READ attemptChoices CONSTANT)

public:
    SecuritySettings(Preferences &defaults, PINManager &pins, QObject *parent = nullptr);

    [[nodiscard]] QString currentPIN() const { return m_currentPIN; }
    [[nodiscard]] QString newPIN() const { return m_newPIN; }
    [[nodiscard]] QString confirmPIN() const { return m_confirmPIN; }
    void setCurrentPIN(const QString &pin);
    void setNewPIN(const QString &pin);
    void setConfirmPIN(const QString &pin);
    [[nodiscard]] bool canUpdate() const;
    [[nodiscard]] bool hasPIN() const;

    [[nodiscard]] QString pinMessage() const { return m_pinMessage; }
    [[nodiscard]] bool pinSuccess() const { return m_pinSuccess; }

    // The match first, then the rule, then the current PIN; success clears
    // the three fields, any failure keeps them. Returns whether it stored.
    Q_INVOKABLE bool updatePIN();

    [[nodiscard]] bool fingerprintEnabled() const;
    void setFingerprintEnabled(bool enabled);
    [[nodiscard]] bool requirePINAlways() const;
    void setRequirePINAlways(bool enabled);
    // What the lockout uses: 5 when absent, not an integer or below 1.
    [[nodiscard]] int maxPINAttempts() const;
    void setMaxPINAttempts(int attempts);
    [[nodiscard]] static QVariantList attemptChoices();

Q_SIGNALS:
    void formChanged();
    void pinMessageChanged();
    void fingerprintEnabledChanged();
    void requirePINAlwaysChanged();
    void maxPINAttemptsChanged();

private:
    void setMessage(const QString &message, bool success);
    void onValueChanged(const QString &key);

    Preferences &m_defaults;
    PINManager &m_pins;
    QString m_currentPIN;
    QString m_newPIN;
    QString m_confirmPIN;
    QString m_pinMessage;
    bool m_pinSuccess = false;
};
