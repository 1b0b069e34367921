#include "platform/applicationcommand.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ApplicationCommand {

QString path()
{
    const QString launcher = qEnvironmentVariable(environmentVariable);
    if (!launcher.isEmpty() && QFileInfo(launcher).isExecutable())
        return launcher;
    return QCoreApplication::applicationFilePath();
}

} // namespace ApplicationCommand
