#pragma once

#include "platform/screencapture.h"

// Copies the screen's rectangle out of the X root window. Without an X
// connection (Wayland, offscreen) every capture is null.
class X11ScreenCapture : public ScreenCapture
{
public:
    X11ScreenCapture() = default;

    [[nodiscard]] QImage capture(QScreen *screen) override;
};
