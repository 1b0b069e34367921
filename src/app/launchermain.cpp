// vostrel, the command that users, desktop files and scripts run. Commands for
// a running instance are answered here by a program that loads Qt Core and
// D-Bus only, so `vostrel lock` reaches the application in a few milliseconds
// instead of the time it takes to load the lock screen's libraries. Starting
// the application hands this process over (exec) to vostrel-app.
#include "app/commandline.h"
#include "platform/applicationcommand.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
std::string ownPath()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    return std::string(path, size_t(length));
}

// Beside us in a build tree, in ../libexec/vostrel/ once installed.
std::string applicationProgram(const std::string &self)
{
    const std::string dir = self.substr(0, self.rfind('/'));
    for (const std::string &candidate :
         {dir + "/vostrel-app", dir + "/../libexec/vostrel/vostrel-app"}) {
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

int startApplication(char *argv[])
{
    const std::string self = ownPath();
    const std::string program = self.empty() ? std::string() : applicationProgram(self);
    if (program.empty()) {
        std::fputs("vostrel: vostrel-app was not found beside vostrel or in "
                   "../libexec/vostrel/; the installation is incomplete.\n",
                   stderr);
        return 1;
    }
    // The application starts itself again through us (after a crash, at
    // login), so that it always shows as `vostrel` and takes this path.
    ::setenv(ApplicationCommand::environmentVariable, self.c_str(), 1);
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "vostrel: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = CommandLine::parse(arguments);
    if (commandLine.action() == CommandLine::Action::StartApplication)
        return startApplication(argv);

    QCoreApplication app(argc, argv);
    return commandLine.execute();
}
