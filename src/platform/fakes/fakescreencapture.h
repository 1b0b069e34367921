#pragma once

#include "platform/screencapture.h"

#include <QList>

class QScreen;

// Hands out a set picture, or nothing, and remembers which screens were asked.
class FakeScreenCapture : public ScreenCapture
{
public:
    [[nodiscard]] QImage capture(QScreen *screen) override
    {
        requested.append(screen);
        return image;
    }

    QImage image;
    QList<QScreen *> requested;
};
