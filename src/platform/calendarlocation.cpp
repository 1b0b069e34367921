#include "platform/calendarlocation.h"

#include "platform/platformlog.h"

#include <QDir>
#include <QStringList>
#include <QVariant>

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

QStringList locations(const QVariant &stored)
{
    if (!stored.isValid())
        return {};
    if (stored.typeId() != QMetaType::QString) {
        qCWarning(lcPlatform) << "ICalendarStore: calendarSources is not text, one source per line:"
                              << stored << "- reading no calendar";
        return {};
    }
    QStringList found;
    const QStringList lines = stored.toString().split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString location = line.trimmed();
        if (!location.isEmpty() && !location.startsWith(QLatin1Char('#')) &&
            !found.contains(location))
            found.append(location);
    }
    return found;
}

} // namespace CalendarLocation
