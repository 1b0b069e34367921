#pragma once

#include <QString>

// Plays the application's own short sounds by name ("Tink", "Blow").
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // Unknown names and missing audio output are silently skipped.
    virtual void play(const QString &name) = 0;
};
