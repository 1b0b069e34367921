#include "themes/themesharing.h"

#include "themes/thememanager.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {
constexpr QLatin1String defaultLinkBase("https://vostrel.app");
constexpr QLatin1String linkPath("/theme?config=");
} // namespace

ThemeSharing::ThemeSharing(ThemeManager &manager, QObject *parent)
    : QObject(parent)
    , m_manager(manager)
{
    m_copyTimer.setSingleShot(true);
    m_copyTimer.setInterval(messageDuration);
    connect(&m_copyTimer, &QTimer::timeout, this, &ThemeSharing::copyConfirmationExpired);
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(messageDuration);
    connect(&m_statusTimer, &QTimer::timeout, this, &ThemeSharing::importStatusExpired);
}

QString ThemeSharing::linkBase()
{
    QString base = qEnvironmentVariable("VOSTREL_THEME_LINK_BASE");
    if (base.isEmpty())
        base = defaultLinkBase;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

std::optional<QUrl> ThemeSharing::link(const QString &base64)
{
    const QUrl url(linkBase() + linkPath + base64, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return std::nullopt;
    return url;
}

QString ThemeSharing::copyButtonTitle() const
{
    return m_linkCopied ? tr("Copied!") : tr("Copy Link");
}

void ThemeSharing::setImportText(const QString &text)
{
    if (m_importText == text)
        return;
    m_importText = text;
    Q_EMIT importTextChanged();
}

QString ThemeSharing::importPlaceholder() const
{
    return linkBase() + linkPath + QStringLiteral("...");
}

void ThemeSharing::copyLink()
{
    const auto base64 = m_manager.exportConfig();
    if (!base64)
        return;
    const auto url = link(*base64);
    if (!url)
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(url->toString(QUrl::FullyEncoded));
    if (!m_linkCopied) {
        m_linkCopied = true;
        Q_EMIT copyButtonTitleChanged();
    }
    m_copyTimer.start();
}

bool ThemeSharing::importTheme()
{
    // A bare Base64 document parses as a relative URL without a query, so it
    // falls through to the second try.
    const bool imported =
        m_manager.importFromURL(m_importText) || m_manager.importConfig(m_importText);
    if (imported) {
        setImportStatus(tr("Theme imported!"), false);
        setImportText(QString());
    } else {
        setImportStatus(tr("Invalid theme URL"), true);
    }
    m_statusTimer.start();
    return imported;
}

void ThemeSharing::copyConfirmationExpired()
{
    m_copyTimer.stop();
    if (!m_linkCopied)
        return;
    m_linkCopied = false;
    Q_EMIT copyButtonTitleChanged();
}

void ThemeSharing::importStatusExpired()
{
    m_statusTimer.stop();
    setImportStatus(QString(), false);
}

void ThemeSharing::setImportStatus(const QString &status, bool failed)
{
    if (m_importStatus == status && m_importFailed == failed)
        return;
    m_importStatus = status;
    m_importFailed = failed;
    Q_EMIT importStatusChanged();
}
