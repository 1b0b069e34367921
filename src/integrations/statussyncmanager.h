#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class Preferences;

// Mirrors the lock in the user's Slack profile: on lock it remembers the
// current status, sets a do-not-disturb status and marks the user away; on
// unlock it puts the remembered status back and returns presence to
// automatic. Replies are ignored apart from the profile read; failures are
// silent by design.
//
// Requests go out one after another, each when the one before has finished:
// Slack then sees the profile read before the lock's status write (otherwise
// the read could return the do-not-disturb status and the unlock would
// "restore" it), and an unlock that comes before that read has returned
// restores what the read found rather than clearing the status.
class StatusSyncManager : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusSyncManager)

public:
    struct SavedStatus
    {
        QString text;
        QString emoji;
        bool operator==(const SavedStatus &) const = default;
    };
    // A profile read: each field absent unless the reply held a string.
    struct ProfileStatus
    {
        std::optional<QString> text;
        std::optional<QString> emoji;
        bool operator==(const ProfileStatus &) const = default;
    };

    static constexpr std::chrono::seconds requestTimeout{60};
    // A profile is a few kilobytes; a longer reply is cut off and counts as none.
    static constexpr qint64 maximumReplySize = 1024 * 1024;

    // The Slack address is ServiceEndpoints::slackAPIBaseURL() at construction.
    explicit StatusSyncManager(Preferences &defaults, QNetworkAccessManager &network,
                               QObject *parent = nullptr);
    ~StatusSyncManager() override;

    [[nodiscard]] static QString defaultStatusText();
    [[nodiscard]] static QString defaultStatusEmoji();

    // The status found when the overlay last rose, until the unlock restores it.
    [[nodiscard]] std::optional<SavedStatus> previousStatus() const { return m_previousStatus; }
    [[nodiscard]] QUrl apiBaseURL() const { return m_apiBaseURL; }
    // Requests sent or waiting to be sent.
    [[nodiscard]] qsizetype pendingRequests() const { return m_queue.size(); }

    // users.profile.set with expiration 0; the reply is ignored.
    void setStatus(const QString &token, const QString &text, const QString &emoji);
    // users.setPresence with "away" or "auto"; the reply is ignored.
    void setPresence(const QString &token, const QString &presence);
    // users.profile.get; the completion runs on the main thread with what the
    // reply held, (none, none) when it failed or made no sense, and never
    // after this manager is gone.
    void fetchStatus(const QString &token, std::function<void(const ProfileStatus &)> completion);

    // What the lock and the unlock do; the application calls them as the
    // overlay rises and falls.
    void overlayDidActivate();
    void overlayDidDeactivate();

    // A reply of users.profile.get: (none, none) without a JSON object that
    // holds a "profile" object.
    [[nodiscard]] static ProfileStatus parseProfile(const QByteArray &body);

    // "slackBotToken" without surrounding white space when the integration is
    // on and the token is usable in a header; otherwise none.
    [[nodiscard]] std::optional<QString> activeToken() const;

private:
    struct Step
    {
        std::function<QNetworkReply *()> send;
        std::function<void(const QByteArray &body)> finished;
    };

    [[nodiscard]] QNetworkRequest request(QLatin1String method, const QString &token) const;
    QNetworkReply *post(QLatin1String method, const QString &token, const QByteArray &json);
    void enqueue(Step step);
    void sendNext();

    Preferences &m_defaults;
    QNetworkAccessManager &m_network;
    QUrl m_apiBaseURL;
    std::optional<SavedStatus> m_previousStatus;
    QList<Step> m_queue;
    QPointer<QNetworkReply> m_inFlight;
};
