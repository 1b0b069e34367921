#pragma once

#include <QImage>

class QScreen;

// Reads back what a screen shows, for the live-blur backdrop. Taken just
// before the lock's panel covers that screen; afterwards it would only show
// the lock itself.
class ScreenCapture
{
public:
    virtual ~ScreenCapture() = default;
    // The screen's pixels at their native size, or a null image where the
    // platform allows no capture (Wayland) or the read-back failed.
    [[nodiscard]] virtual QImage capture(QScreen *screen) = 0;
};
