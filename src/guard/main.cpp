// vostrel-guard: keeps the screens locked should Vostrel itself die.
//
// Started by Vostrel with every lock and told its process id. While Vostrel
// lives the guard does nothing but wait. The moment Vostrel dies (a crash,
// kill -9, the out-of-memory killer) the guard covers the whole X screen with
// black, grabs the keyboard and the pointer so no key reaches the desktop,
// and starts Vostrel again in relock mode. The new Vostrel raises its lock
// screen and then tells the guard to stand down (SIGUSR1); only then does the
// guard let go. It is deliberately tiny — xcb and the C library only — so
// that it has nothing to crash in.
#include "guard.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char *argv[])
{
    Guard::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--app-pid" && i + 1 < argc)
            options.appPid = std::atoi(argv[++i]);
        else if (arg == "--app-path" && i + 1 < argc)
            options.appPath = argv[++i];
        else if (arg == "--help") {
            std::puts("usage: vostrel-guard --app-pid PID --app-path PATH\n"
                      "Started by Vostrel with each lock; not meant to be run by hand.");
            return 0;
        }
    }
    if (options.appPid <= 0 || options.appPath.empty()) {
        std::fputs("vostrel-guard: --app-pid and --app-path are required\n", stderr);
        return 2;
    }
    return Guard(options).run();
}
