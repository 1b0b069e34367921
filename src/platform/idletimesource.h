#pragma once

#include <functional>

// Time since the user last touched the keyboard or the pointer, in seconds.
// Some desktops answer only over a bus, so the answer may come after the call
// returns; it is 0 whenever the time cannot be read, which keeps a threshold
// from ever being reached by mistake.
class IdleTimeSource
{
public:
    using Answer = std::function<void(double seconds)>;

    IdleTimeSource() = default;
    virtual ~IdleTimeSource() = default;
    IdleTimeSource(const IdleTimeSource &) = delete;
    IdleTimeSource &operator=(const IdleTimeSource &) = delete;

    // Calls `answer` exactly once, before returning or on a later turn of the
    // event loop; never after the source is destroyed.
    virtual void queryIdleSeconds(Answer answer) = 0;
};
