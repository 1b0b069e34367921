#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QVariantList>

class LoginItem;
class Preferences;

// The General page's preferences. Every property reads the preferences and
// writes through to them; the page binds to these and decides nothing.
class GeneralSettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(GeneralSettings)
    // "system", "light" or "dark"; anything else stored reads as "system".
    Q_PROPERTY(QString appearance READ appearance WRITE setAppearance NOTIFY appearanceChanged)
    Q_PROPERTY(
        bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    // Why the last change of launchAtLogin failed; empty after a success.
    Q_PROPERTY(QString loginError READ loginError NOTIFY loginErrorChanged)
    Q_PROPERTY(int defaultDuration READ defaultDuration WRITE setDefaultDuration NOTIFY
                   defaultDurationChanged)
    // [{label, value}]: "Indefinitely" 0, "15 min" 15 ... "2 hours" 120.
    Q_PROPERTY(QVariantList durationChoices READ durationChoices CONSTANT)
    Q_PROPERTY(QVariantList appearanceChoices READ appearanceChoices CONSTANT)
    Q_PROPERTY(bool lockSoundsEnabled READ lockSoundsEnabled WRITE setLockSoundsEnabled NOTIFY
                   lockSoundsEnabledChanged)
    Q_PROPERTY(bool lockAllDisplays READ lockAllDisplays WRITE setLockAllDisplays NOTIFY
                   lockAllDisplaysChanged)
    // Why this session cannot be locked at all; empty where it can.
    Q_PROPERTY(QString sessionRefusal READ sessionRefusal CONSTANT)

public:
    GeneralSettings(Preferences &defaults, LoginItem &loginItem, QString sessionRefusal = {},
                    QObject *parent = nullptr);

    [[nodiscard]] QString sessionRefusal() const { return m_sessionRefusal; }

    [[nodiscard]] QString appearance() const;
    // Stores the choice; open windows follow the preference at once.
    // An unknown choice is stored as "system".
    void setAppearance(const QString &appearance);

    [[nodiscard]] bool launchAtLogin() const;
    // Registers or removes the login item. On failure the error is kept in
    // loginError and the preference returns to what it was.
    void setLaunchAtLogin(bool enabled);
    [[nodiscard]] QString loginError() const { return m_loginError; }

    [[nodiscard]] int defaultDuration() const;
    void setDefaultDuration(int minutes);
    [[nodiscard]] static QVariantList durationChoices();
    [[nodiscard]] static QVariantList appearanceChoices();

    [[nodiscard]] bool lockSoundsEnabled() const;
    void setLockSoundsEnabled(bool enabled);
    [[nodiscard]] bool lockAllDisplays() const;
    void setLockAllDisplays(bool enabled);

Q_SIGNALS:
    void appearanceChanged();
    void launchAtLoginChanged();
    void loginErrorChanged();
    void defaultDurationChanged();
    void lockSoundsEnabledChanged();
    void lockAllDisplaysChanged();

private:
    void onValueChanged(const QString &key);
    void setLoginError(const QString &error);

    Preferences &m_defaults;
    LoginItem &m_loginItem;
    QString m_sessionRefusal;
    QString m_loginError;
};
