#include "app/application.h"
#include "app/commandline.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = CommandLine::parse(arguments);
    if (commandLine.action() == CommandLine::Action::StartApplication)
        return Application::run(argc, argv, commandLine);

    QCoreApplication app(argc, argv);
    return commandLine.execute();
}
