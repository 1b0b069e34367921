#pragma once

#include <QString>

// The few texts that name a facility by another system's name ("Touch ID",
// "iCloud" ...) are shown with the name Linux users know it by. Every other
// text passes unchanged.
namespace PlatformWording {
[[nodiscard]] QString adapt(const QString &text);
}
