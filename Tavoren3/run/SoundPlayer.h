#pragma once

// Plays the platform's short system sounds by number (1000: a step is
// ending, 1303: a run is complete).
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void playSystemSound(int soundId) = 0;
};
