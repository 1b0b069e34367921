#include "settings/aboutmodel.h"

#include "settings/supportlinks.h"
#include "settings/updatecheckeradapter.h"

#include <QDesktopServices>

AboutModel::AboutModel(QObject *checker, UrlOpener opener, QObject *parent)
    : QObject(parent)
    , m_checker(new UpdateCheckerAdapter(checker, this))
    , m_opener(std::move(opener))
{
    connect(m_checker, &UpdateCheckerAdapter::changed, this, &AboutModel::updateChanged);
}

bool AboutModel::updateAvailable() const
{
    return m_checker->updateAvailable();
}

QString AboutModel::latestVersion() const
{
    return m_checker->latestVersion();
}

QString AboutModel::downloadURL() const
{
    return m_checker->downloadURL();
}

QString AboutModel::availableText() const
{
    if (!updateAvailable() || latestVersion().isEmpty())
        return {};
    return tr("v%1 available").arg(latestVersion());
}

bool AboutModel::canDownload() const
{
    return updateAvailable() && !downloadURL().isEmpty();
}

QString AboutModel::updateButtonTitle() const
{
    return canDownload() ? tr("Download Update") : tr("Check for Updates");
}

QString AboutModel::platform()
{
    // The session the user logged in to, not the display connection: in a
    // Wayland session this application may still reach the screen through
    // XWayland.
    const QString session = qEnvironmentVariable("XDG_SESSION_TYPE");
    bool wayland = session == QLatin1String("wayland");
    if (session != QLatin1String("x11") && !wayland)
        wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return wayland ? tr("Linux (Wayland)") : tr("Linux (X11)");
}

QString AboutModel::supportEmail()
{
    return QString::fromUtf8(SupportLinks::email);
}

QUrl AboutModel::supportURL()
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(supportEmail());
    return url;
}

QUrl AboutModel::discussionsURL()
{
    return QUrl(QString::fromUtf8(SupportLinks::discussions));
}

QUrl AboutModel::documentationURL()
{
    return QUrl(QString::fromUtf8(SupportLinks::documentation));
}

QUrl AboutModel::privacyURL()
{
    return QUrl(QString::fromUtf8(SupportLinks::privacy));
}

QUrl AboutModel::termsURL()
{
    return QUrl(QString::fromUtf8(SupportLinks::terms));
}

void AboutModel::updateAction()
{
    if (canDownload())
        openLink(QUrl(downloadURL()));
    else
        m_checker->check();
}

bool AboutModel::openLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("https") && scheme != QLatin1String("http") &&
                           scheme != QLatin1String("mailto")))
        return false;
    return m_opener && m_opener(url);
}
