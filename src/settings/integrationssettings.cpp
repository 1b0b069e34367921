#include "settings/integrationssettings.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "integrations/cloudsyncmanager.h"
#include "triggers/calendartambermanager.h"
#include "triggers/focusmodemanager.h"

#include <QDir>

IntegrationsSettings::IntegrationsSettings(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    m_syncTimer.setSingleShot(true);
    m_syncTimer.setInterval(messageDuration);
    connect(&m_syncTimer, &QTimer::timeout, this, &IntegrationsSettings::syncMessageExpired);
    connect(&m_services.defaults, &Preferences::valueChanged, this,
            &IntegrationsSettings::onValueChanged);
    connect(&m_services.calendar, &CalendarTamberManager::isEnabledChanged, this,
            &IntegrationsSettings::calendarChanged);
    connect(&m_services.calendar, &CalendarTamberManager::hasAccessChanged, this,
            &IntegrationsSettings::calendarChanged);
    connect(&m_services.focus, &FocusModeManager::isEnabledChanged, this,
            &IntegrationsSettings::focusChanged);
}

QString IntegrationsSettings::stringValue(QLatin1String key) const
{
    return m_services.defaults.string(key).value_or(QString());
}

void IntegrationsSettings::onValueChanged(const QString &key)
{
    if (key == PreferenceKey::slackSyncEnabled)
        Q_EMIT slackSyncEnabledChanged();
    else if (key == PreferenceKey::slackBotToken)
        Q_EMIT slackTokenChanged();
    else if (key == PreferenceKey::slackStatusText)
        Q_EMIT slackStatusTextChanged();
    else if (key == PreferenceKey::slackStatusEmoji)
        Q_EMIT slackStatusEmojiChanged();
    else if (key == PreferenceKey::cloudSyncEnabled)
        Q_EMIT cloudSyncEnabledChanged();
    else if (key == PreferenceKey::cloudSyncFolder)
        Q_EMIT cloudSyncFolderChanged();
}

bool IntegrationsSettings::slackSyncEnabled() const
{
    return m_services.defaults.boolValue(PreferenceKey::slackSyncEnabled);
}

void IntegrationsSettings::setSlackSyncEnabled(bool enabled)
{
    m_services.defaults.setBool(PreferenceKey::slackSyncEnabled, enabled);
}

QString IntegrationsSettings::slackToken() const
{
    return stringValue(PreferenceKey::slackBotToken);
}

void IntegrationsSettings::setSlackToken(const QString &token)
{
    m_services.defaults.setString(PreferenceKey::slackBotToken, token);
    const QString warning = tokenWarning(token);
    if (warning != m_slackError) {
        m_slackError = warning;
        Q_EMIT slackErrorChanged();
    }
}

QString IntegrationsSettings::tokenWarning(const QString &token)
{
    if (token.isEmpty() || token.startsWith(QLatin1String("xoxb-")) ||
        token.startsWith(QLatin1String("xoxp-")))
        return QString();
    return tr("Token should start with xoxb- or xoxp-");
}

QString IntegrationsSettings::slackStatusText() const
{
    return stringValue(PreferenceKey::slackStatusText);
}

void IntegrationsSettings::setSlackStatusText(const QString &text)
{
    m_services.defaults.setString(PreferenceKey::slackStatusText, text);
}

QString IntegrationsSettings::slackStatusEmoji() const
{
    return stringValue(PreferenceKey::slackStatusEmoji);
}

void IntegrationsSettings::setSlackStatusEmoji(const QString &emoji)
{
    m_services.defaults.setString(PreferenceKey::slackStatusEmoji, emoji);
}

bool IntegrationsSettings::cloudSyncEnabled() const
{
    return m_services.defaults.boolValue(PreferenceKey::cloudSyncEnabled);
}

void IntegrationsSettings::setCloudSyncEnabled(bool enabled)
{
    m_services.defaults.setBool(PreferenceKey::cloudSyncEnabled, enabled);
    if (enabled)
        m_services.cloud.push();
}

QString IntegrationsSettings::cloudSyncFolder() const
{
    return stringValue(PreferenceKey::cloudSyncFolder);
}

void IntegrationsSettings::setCloudSyncFolder(const QString &folder)
{
    QString trimmed = folder.trimmed();
    // The sync store takes the path literally, and no shell expands it.
    if (trimmed == QLatin1String("~") || trimmed.startsWith(QLatin1String("~/")))
        trimmed = QDir::homePath() + trimmed.mid(1);
    if (trimmed.isEmpty())
        m_services.defaults.remove(PreferenceKey::cloudSyncFolder);
    else
        m_services.defaults.setString(PreferenceKey::cloudSyncFolder, trimmed);
}

void IntegrationsSettings::syncNow()
{
    // Without a folder that exists pushing does nothing, so it must not be
    // reported as synced.
    if (m_services.cloud.isSignedIn()) {
        m_services.cloud.push();
        m_syncMessage = tr("Synced to Cloud Sync");
        m_syncError.clear();
        m_syncTimer.start();
    } else {
        m_syncMessage.clear();
        // Signing in here means choosing a folder that exists.
        m_syncError = tr("Cloud Sync not available. Choose a sync folder that exists.");
        m_syncTimer.stop();
    }
    Q_EMIT syncStatusChanged();
}

void IntegrationsSettings::syncMessageExpired()
{
    m_syncTimer.stop();
    if (m_syncMessage.isEmpty())
        return;
    m_syncMessage.clear();
    Q_EMIT syncStatusChanged();
}

bool IntegrationsSettings::calendarEnabled() const
{
    return m_services.calendar.isEnabled();
}

void IntegrationsSettings::setCalendarEnabled(bool enabled)
{
    m_services.calendar.setEnabled(enabled);
    if (enabled)
        m_services.calendar.requestAccess();
    else
        m_services.calendar.stopMonitoring();
}

bool IntegrationsSettings::isCalendarAccessMissing() const
{
    return m_services.calendar.isEnabled() && !m_services.calendar.hasAccess();
}

bool IntegrationsSettings::focusEnabled() const
{
    return m_services.focus.isEnabled();
}

void IntegrationsSettings::setFocusEnabled(bool enabled)
{
    m_services.focus.setEnabled(enabled);
    if (enabled)
        m_services.focus.startObserving();
    else
        m_services.focus.stopObserving();
}

QStringList IntegrationsSettings::automationCommands()
{
    return {
        QStringLiteral("vostrel lock"),
        QStringLiteral("vostrel unlock PIN"),
        QStringLiteral("vostrel keep-awake [MINUTES]"),
        QStringLiteral("vostrel stop-keep-awake"),
        QStringLiteral("vostrel status"),
    };
}
