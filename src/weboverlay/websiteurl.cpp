#include "weboverlay/websiteurl.h"

#include <QString>

namespace {
bool isLoopbackHost(const QString &host)
{
    // QUrl gives IPv6 hosts without their brackets.
    return host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") ||
           host == QLatin1String("::1") || host == QLatin1String("[::1]");
}
} // namespace

std::optional<QUrl> validatedWebsiteURL(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // Strict: a blank or another character that has no place in a URL makes
    // the text no address at all, rather than one Qt repairs.
    const QUrl url(trimmed.toString(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return url;
    if (scheme == QLatin1String("http") && isLoopbackHost(url.host().toLower()))
        return url;
    return std::nullopt;
}
