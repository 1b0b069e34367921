#include "integrations/statussyncmanager.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "integrations/integrationslog.h"
#include "integrations/serviceendpoints.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QtDebug>

namespace {
constexpr QLatin1String profileGet{"users.profile.get"};
constexpr QLatin1String profileSet{"users.profile.set"};
constexpr QLatin1String presenceSet{"users.setPresence"};

// A header value must not carry line breaks or other control characters,
// or the token would write headers of its own.
bool isHeaderSafe(const QString &token)
{
    for (const QChar c : token) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}
} // namespace

StatusSyncManager::StatusSyncManager(Preferences &defaults, QNetworkAccessManager &network,
                                     QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_network(network)
    , m_apiBaseURL(ServiceEndpoints::slackAPIBaseURL())
{}

StatusSyncManager::~StatusSyncManager()
{
    // Aborting finishes the reply at once; nothing may follow it then.
    m_queue.clear();
    if (m_inFlight) {
        m_inFlight->disconnect(this);
        m_inFlight->abort();
    }
}

QString StatusSyncManager::defaultStatusText()
{
    return QStringLiteral("Tambering — do not disturb");
}

QString StatusSyncManager::defaultStatusEmoji()
{
    return QStringLiteral(":no_entry:");
}

std::optional<QString> StatusSyncManager::activeToken() const
{
    if (!m_defaults.boolValue(PreferenceKey::slackSyncEnabled))
        return std::nullopt;
    // A pasted token often brings a line break along.
    const QString token =
        m_defaults.string(PreferenceKey::slackBotToken).value_or(QString()).trimmed();
    if (token.isEmpty())
        return std::nullopt;
    if (!isHeaderSafe(token)) {
        qCWarning(lcIntegrations,
                  "StatusSyncManager: the Slack token holds spaces or characters a token never "
                  "has; nothing is sent to Slack");
        return std::nullopt;
    }
    return token;
}

void StatusSyncManager::overlayDidActivate()
{
    const auto token = activeToken();
    if (!token)
        return;
    fetchStatus(*token, [this](const ProfileStatus &status) {
        m_previousStatus =
            SavedStatus{status.text.value_or(QString()), status.emoji.value_or(QString())};
    });
    const QString text =
        m_defaults.string(PreferenceKey::slackStatusText).value_or(defaultStatusText());
    const QString emoji =
        m_defaults.string(PreferenceKey::slackStatusEmoji).value_or(defaultStatusEmoji());
    setStatus(*token, text, emoji);
    setPresence(*token, QStringLiteral("away"));
}

void StatusSyncManager::overlayDidDeactivate()
{
    const auto token = activeToken();
    if (!token)
        return;
    // The saved status is taken when the restore goes out, which is after
    // the lock's profile read has returned.
    enqueue({[this, token = *token] {
                 const SavedStatus saved = m_previousStatus.value_or(SavedStatus{});
                 m_previousStatus.reset();
                 const QJsonObject profile{{QStringLiteral("status_text"), saved.text},
                                           {QStringLiteral("status_emoji"), saved.emoji},
                                           {QStringLiteral("status_expiration"), 0}};
                 return post(profileSet, token,
                             QJsonDocument(QJsonObject{{QStringLiteral("profile"), profile}})
                                 .toJson(QJsonDocument::Compact));
             },
             {}});
    setPresence(*token, QStringLiteral("auto"));
}

void StatusSyncManager::setStatus(const QString &token, const QString &text, const QString &emoji)
{
    const QJsonObject profile{{QStringLiteral("status_text"), text},
                              {QStringLiteral("status_emoji"), emoji},
                              {QStringLiteral("status_expiration"), 0}};
    const QByteArray json = QJsonDocument(QJsonObject{{QStringLiteral("profile"), profile}})
                                .toJson(QJsonDocument::Compact);
    enqueue({[this, token, json] { return post(profileSet, token, json); }, {}});
}

void StatusSyncManager::setPresence(const QString &token, const QString &presence)
{
    const QByteArray json = QJsonDocument(QJsonObject{{QStringLiteral("presence"), presence}})
                                .toJson(QJsonDocument::Compact);
    enqueue({[this, token, json] { return post(presenceSet, token, json); }, {}});
}

void StatusSyncManager::fetchStatus(const QString &token,
                                    std::function<void(const ProfileStatus &)> completion)
{
    enqueue({[this, token] { return m_network.get(request(profileGet, token)); },
             [completion = std::move(completion)](const QByteArray &body) {
                 if (completion)
                     completion(parseProfile(body));
             }});
}

StatusSyncManager::ProfileStatus StatusSyncManager::parseProfile(const QByteArray &body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (!document.isObject())
        return {};
    const QJsonValue profile = document.object().value(QStringLiteral("profile"));
    if (!profile.isObject())
        return {};
    const QJsonObject fields = profile.toObject();
    ProfileStatus status;
    if (const QJsonValue text = fields.value(QStringLiteral("status_text")); text.isString())
        status.text = text.toString();
    if (const QJsonValue emoji = fields.value(QStringLiteral("status_emoji")); emoji.isString())
        status.emoji = emoji.toString();
    return status;
}

QNetworkRequest StatusSyncManager::request(QLatin1String method, const QString &token) const
{
    QNetworkRequest request(m_apiBaseURL.resolved(QUrl(method)));
    request.setRawHeader("Authorization", "Bearer " + token.toLatin1());
    request.setTransferTimeout(int(std::chrono::milliseconds(requestTimeout).count()));
    // Slack's API never redirects; following one would hand the token to
    // whichever host the redirect names.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    return request;
}

QNetworkReply *StatusSyncManager::post(QLatin1String method, const QString &token,
                                       const QByteArray &json)
{
    QNetworkRequest request = this->request(method, token);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/json; charset=utf-8"));
    return m_network.post(request, json);
}

void StatusSyncManager::enqueue(Step step)
{
    m_queue.append(std::move(step));
    if (!m_inFlight && m_queue.size() == 1)
        sendNext();
}

void StatusSyncManager::sendNext()
{
    if (m_queue.isEmpty())
        return;
    QNetworkReply *reply = m_queue.first().send();
    m_inFlight = reply;
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maximumReplySize)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        const bool complete = reply->error() != QNetworkReply::OperationCanceledError &&
                              reply->bytesAvailable() <= maximumReplySize;
        const QByteArray body = complete ? reply->readAll() : QByteArray();
        const Step step = m_queue.takeFirst();
        m_inFlight = nullptr;
        if (step.finished)
            step.finished(body);
        sendNext();
    });
}
