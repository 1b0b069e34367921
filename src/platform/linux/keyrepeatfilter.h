#pragma once

#include <QtGlobal>

#include <bitset>
#include <optional>

// Tells a real key press from the copies the keyboard's auto-repeat makes
// while a key is held. X sends those copies either as presses without a
// release in between (detectable auto-repeat) or as release/press pairs that
// carry the same server time; both are recognised here.
class KeyRepeatFilter
{
public:
    // True for a fresh press, false for a repeat.
    bool press(quint8 keycode, quint32 time);
    void release(quint8 keycode, quint32 time);
    // Forgets every key: after a grab changes, a release may never arrive.
    void reset();

private:
    struct Release
    {
        quint8 keycode = 0;
        quint32 time = 0;
    };

    std::bitset<256> m_down;
    std::optional<Release> m_lastRelease;
};
