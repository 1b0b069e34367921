#include "integrations/updatechecker.h"

#include "core/qmlinstances.h"
#include "integrations/integrationslog.h"
#include "integrations/serviceendpoints.h"
#include "integrations/updatefeedparser.h"
#include "integrations/versioncomparison.h"

#include <QJSEngine>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QtDebug>

UpdateChecker::UpdateChecker(QNetworkAccessManager &network, const QString &currentVersion,
                             const QString &feedURL, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_currentVersion(currentVersion.isEmpty() ? QStringLiteral("1.0.0") : currentVersion)
    , m_feedURL(feedURL)
{}

UpdateChecker::~UpdateChecker() = default;

UpdateChecker *UpdateChecker::create(QQmlEngine *engine, QJSEngine *)
{
    return QmlInstances::singleton<UpdateChecker>(engine);
}

void UpdateChecker::check()
{
    const QUrl url(m_feedURL, QUrl::StrictMode);
    if (!ServiceEndpoints::isWebAddress(url)) {
        qCWarning(lcIntegrations, "UpdateChecker: \"%s\" is no http(s) address; no check",
                  qPrintable(m_feedURL));
        Q_EMIT checkFinished();
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(int(std::chrono::milliseconds(requestTimeout).count()));
    QNetworkReply *reply = m_network.get(request);
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maximumFeedSize)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        // The status code is not looked at: an error page simply holds no
        // feed. Only a reply that never arrived, or was cut off, is skipped.
        const bool answered =
            reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() &&
            reply->error() != QNetworkReply::OperationCanceledError &&
            reply->bytesAvailable() <= maximumFeedSize;
        if (answered) {
            if (const auto item = UpdateFeedParser().parse(reply->readAll()))
                apply(*item);
        }
        Q_EMIT checkFinished();
    });
}

void UpdateChecker::apply(const UpdateFeedItem &item)
{
    if (VersionComparison::compare(item.version, m_currentVersion) <= 0)
        return;
    const std::optional<QString> address =
        ServiceEndpoints::isWebAddress(QUrl(item.downloadURL, QUrl::StrictMode))
            ? std::optional<QString>(item.downloadURL)
            : std::nullopt;
    if (!address)
        qCWarning(lcIntegrations,
                  "UpdateChecker: version %s offers \"%s\", which is no http(s) address",
                  qPrintable(item.version), qPrintable(item.downloadURL));
    const bool becameAvailable = !m_updateAvailable;
    const bool versionChanged = m_latestVersion != item.version;
    const bool addressChanged = m_downloadURL != address;
    m_updateAvailable = true;
    m_latestVersion = item.version;
    m_downloadURL = address;
    if (becameAvailable)
        Q_EMIT updateAvailableChanged();
    if (versionChanged)
        Q_EMIT latestVersionChanged();
    if (addressChanged)
        Q_EMIT downloadURLChanged();
}
