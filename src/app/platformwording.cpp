#include "platformwording.h"

#include <QRegularExpression>

#include <array>
#include <utility>

namespace PlatformWording {

QString adapt(const QString &text)
{
    static const std::array<std::pair<QRegularExpression, QString>, 6> table{{
        {QRegularExpression(QStringLiteral("System Settings")), QStringLiteral("Settings")},
        {QRegularExpression(QStringLiteral("Shortcuts\\.app")), QStringLiteral("your scripts")},
        {QRegularExpression(QStringLiteral("Screen Recording")), QStringLiteral("Screen capture")},
        {QRegularExpression(QStringLiteral("Touch ID")), QStringLiteral("Fingerprint")},
        {QRegularExpression(QStringLiteral("iCloud")), QStringLiteral("Cloud Sync")},
        {QRegularExpression(QStringLiteral("\\bMac\\b")), QStringLiteral("computer")},
    }};
    QString result = text;
    for (const auto &[pattern, replacement] : table)
        result.replace(pattern, replacement);
    return result;
}

} // namespace PlatformWording
