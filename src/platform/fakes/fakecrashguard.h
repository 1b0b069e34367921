#pragma once

#include "platform/crashguard.h"

class FakeCrashGuard : public CrashGuard
{
public:
    void start() override
    {
        running = true;
        ++starts;
    }
    void stop() override { running = false; }
    [[nodiscard]] bool isRunning() const override { return running; }

    bool running = false;
    int starts = 0;
};
