#include "platform/linux/helperprogram.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

QString findHelperProgram(const QString &name, const char *overrideVariable)
{
    const QString configured = qEnvironmentVariable(overrideVariable);
    if (!configured.isEmpty())
        return QFileInfo(configured).isExecutable() ? configured : QString();
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates{dir + QLatin1Char('/') + name,
                                 dir + QLatin1String("/../libexec/vostrel/") + name};
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}
