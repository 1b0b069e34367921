#pragma once

#include <QString>

// The command that starts this application, for whatever starts it again: the
// crash guard's relaunch and the login item. That is the `vostrel` launcher
// that handed over to this process when there was one, else this program.
namespace ApplicationCommand {
inline constexpr char environmentVariable[] = "VOSTREL_LAUNCHER";

[[nodiscard]] QString path();
} // namespace ApplicationCommand
