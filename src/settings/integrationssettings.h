#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>

class CalendarTamberManager;
class CloudSyncManager;
class FocusModeManager;
class Preferences;

// The Integrations page: Slack, cloud sync, the calendar and Focus switches.
// The page binds to these properties and decides nothing itself.
class IntegrationsSettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(IntegrationsSettings)
    Q_PROPERTY(bool slackSyncEnabled READ slackSyncEnabled WRITE setSlackSyncEnabled NOTIFY
                   slackSyncEnabledChanged)
    Q_PROPERTY(QString slackToken READ slackToken WRITE setSlackToken NOTIFY slackTokenChanged)
    Q_PROPERTY(QString slackStatusText READ slackStatusText WRITE setSlackStatusText NOTIFY
                   slackStatusTextChanged)
    Q_PROPERTY(QString slackStatusEmoji READ slackStatusEmoji WRITE setSlackStatusEmoji NOTIFY
                   slackStatusEmojiChanged)
    // The prefix warning after a token edit, "" otherwise.
    Q_PROPERTY(QString slackError READ slackError NOTIFY slackErrorChanged)
    Q_PROPERTY(bool cloudSyncEnabled READ cloudSyncEnabled WRITE setCloudSyncEnabled NOTIFY
                   cloudSyncEnabledChanged)
    Q_PROPERTY(QString cloudSyncFolder READ cloudSyncFolder WRITE setCloudSyncFolder NOTIFY
                   cloudSyncFolderChanged)
    Q_PROPERTY(QString syncMessage READ syncMessage NOTIFY syncStatusChanged)
    Q_PROPERTY(QString syncError READ syncError NOTIFY syncStatusChanged)
    Q_PROPERTY(
        bool calendarEnabled READ calendarEnabled WRITE setCalendarEnabled NOTIFY calendarChanged)
    // The feature is on but no calendar source can be read.
    Q_PROPERTY(bool isCalendarAccessMissing READ isCalendarAccessMissing NOTIFY calendarChanged)
    Q_PROPERTY(bool focusEnabled READ focusEnabled WRITE setFocusEnabled NOTIFY focusChanged)
    // The command lines that run Vostrel's actions from scripts and key bindings.
    Q_PROPERTY(QStringList automationCommands READ automationCommands CONSTANT)

public:
    static constexpr std::chrono::milliseconds messageDuration{2000};

    struct Services
    {
        Preferences &defaults;
        CloudSyncManager &cloud;
        CalendarTamberManager &calendar;
        FocusModeManager &focus;
    };

    explicit IntegrationsSettings(Services services, QObject *parent = nullptr);

    [[nodiscard]] bool slackSyncEnabled() const;
    void setSlackSyncEnabled(bool enabled);
    [[nodiscard]] QString slackToken() const;
    // Stored whatever it holds; the warning follows each change.
    void setSlackToken(const QString &token);
    [[nodiscard]] QString slackStatusText() const;
    void setSlackStatusText(const QString &text);
    [[nodiscard]] QString slackStatusEmoji() const;
    void setSlackStatusEmoji(const QString &emoji);
    [[nodiscard]] QString slackError() const { return m_slackError; }
    // The warning for a token, "" when it looks usable or is empty.
    [[nodiscard]] static QString tokenWarning(const QString &token);

    [[nodiscard]] bool cloudSyncEnabled() const;
    // Switching on pushes the current settings at once.
    void setCloudSyncEnabled(bool enabled);
    [[nodiscard]] QString cloudSyncFolder() const;
    // Trimmed, a leading "~" made the home folder; empty text removes the
    // setting (not signed in).
    void setCloudSyncFolder(const QString &folder);
    [[nodiscard]] QString syncMessage() const { return m_syncMessage; }
    [[nodiscard]] QString syncError() const { return m_syncError; }
    // Pushes when the store is signed in and says so for two seconds;
    // otherwise shows the error and pushes nothing.
    Q_INVOKABLE void syncNow();
    // The end of the two-second "Synced" message.
    void syncMessageExpired();
    [[nodiscard]] bool isSyncMessageTimerActive() const { return m_syncTimer.isActive(); }

    [[nodiscard]] bool calendarEnabled() const;
    void setCalendarEnabled(bool enabled);
    [[nodiscard]] bool isCalendarAccessMissing() const;
    [[nodiscard]] bool focusEnabled() const;
    void setFocusEnabled(bool enabled);

    [[nodiscard]] static QStringList automationCommands();

Q_SIGNALS:
    void slackSyncEnabledChanged();
    void slackTokenChanged();
    void slackStatusTextChanged();
    void slackStatusEmojiChanged();
    void slackErrorChanged();
    void cloudSyncEnabledChanged();
    void cloudSyncFolderChanged();
    void syncStatusChanged();
    void calendarChanged();
    void focusChanged();

private:
    [[nodiscard]] QString stringValue(QLatin1String key) const;
    void onValueChanged(const QString &key);

    Services m_services;
    QString m_slackError;
    QString m_syncMessage;
    QString m_syncError;
    QTimer m_syncTimer;
};
