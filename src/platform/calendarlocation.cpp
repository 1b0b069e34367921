#include "platform/calendarlocation.h"

#include <QDir>

namespace CalendarLocation {

QUrl url(const QString &location)
{
    QString text = location.trimmed();
    if (text.startsWith(QStringLiteral("~/")))
        text = QDir::homePath() + text.mid(1);
    if (QDir::isAbsolutePath(text))
        return QUrl::fromLocalFile(text);
    QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("webcal") || scheme == QStringLiteral("webcals"))
        url.setScheme(QStringLiteral("https"));
    else if (scheme == QStringLiteral("file") && QDir::isAbsolutePath(url.toLocalFile()))
        return url;
    else if (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))
        return {};
    return url.host().isEmpty() ? QUrl() : url;
}

} // namespace CalendarLocation
