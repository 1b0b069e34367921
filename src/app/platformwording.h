#pragma once

#include <QString>

// The application's texts were first written for another desktop; the few
// that name its facilities ("Touch ID", "iCloud" ...) are shown with their
// Linux counterpart. Every other text passes unchanged.
namespace PlatformWording {
[[nodiscard]] QString adapt(const QString &text);
}
