// vostrel-guard: keeps the screens locked should Vostrel itself die.
//
// Started by Vostrel with every lock and told its process id. While Vostrel
// lives the guard only waits, its black cover mapped under Vostrel's panels.
// The moment Vostrel dies (a crash, kill -9, the out-of-memory killer) the
// guard raises that cover over the whole X screen, grabs the keyboard and
// the pointer so no key reaches the desktop, and starts Vostrel again in
// relock mode. The new Vostrel raises its lock screen and then tells the
// guard to stand down (SIGUSR1); only then does the guard let go. It runs
// in a session of its own, so closing the terminal Vostrel was started from,
// or Ctrl+C in it, never reaches it, and it stands down only when the
// process it watches says so. It is deliberately tiny —
// xcb and the C library only — so that it has nothing to crash in.
#include "guard/guard.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char *argv[])
{
    Guard::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--app-pid" && i + 1 < argc)
            options.appPid = std::atoi(argv[++i]);
        else if (arg == "--app-path" && i + 1 < argc)
            options.appPath = argv[++i];
        else if (arg == "--relaunch-patience-ms" && i + 1 < argc)
            options.relaunchPatienceMs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--help") {
            std::puts("usage: vostrel-guard --app-pid PID --app-path PATH "
                      "[--relaunch-patience-ms MS]\n"
                      "Started by Vostrel with each lock; not meant to be run by hand.");
            return 0;
        }
    }
    if (options.appPid <= 0 || options.appPath.empty()) {
        std::fputs("vostrel-guard: --app-pid and --app-path are required\n", stderr);
        return 2;
    }
    // Vostrel starts us in a session of our own already; this covers a guard
    // started any other way (it fails harmlessly when we lead one).
    setsid();
    return Guard(options).run();
}
