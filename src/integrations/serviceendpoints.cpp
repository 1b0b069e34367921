#include "integrations/serviceendpoints.h"

#include "integrations/integrationsconfig.h"
#include "integrations/integrationslog.h"

#include <QtDebug>

namespace {
// An override that is no web address would send requests nowhere useful; it
// is reported and the default serves instead.
QString overridden(const char *variable, const char *fallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (value.isEmpty())
        return QString::fromUtf8(fallback);
    if (!ServiceEndpoints::isWebAddress(QUrl(value, QUrl::StrictMode))) {
        qCWarning(lcIntegrations, "%s=\"%s\" is no http(s) address; using %s", variable,
                  qPrintable(value), fallback);
        return QString::fromUtf8(fallback);
    }
    return value;
}
} // namespace

namespace ServiceEndpoints {

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("https") || scheme == QLatin1String("http")) &&
           !url.host().isEmpty();
}

QUrl slackAPIBaseURL()
{
    QString base = overridden("VOSTREL_SLACK_API_URL", IntegrationsConfig::slackAPIURL);
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return QUrl(base, QUrl::StrictMode);
}

QString updateFeedURL()
{
    return overridden("VOSTREL_APPCAST_URL", IntegrationsConfig::updateFeedURL);
}

QString bundleVersion()
{
    const QString version = QString::fromUtf8(IntegrationsConfig::version);
    return version.isEmpty() ? QStringLiteral("1.0.0") : version;
}

QString bundleBuild()
{
    const QString build = QString::fromUtf8(IntegrationsConfig::build);
    return build.isEmpty() ? QStringLiteral("1") : build;
}

} // namespace ServiceEndpoints
