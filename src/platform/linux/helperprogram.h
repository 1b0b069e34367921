#pragma once

#include <QString>

// The path of one of Vostrel's own programs that the application starts
// (the crash guard, the lock screen): the one named by the environment
// variable when it is set, else the one beside the running program or in
// ../libexec/vostrel/; empty when none is executable.
[[nodiscard]] QString findHelperProgram(const QString &name, const char *overrideVariable);
