#pragma once

#include "run/SoundPlayer.h"

#include <QList>

// Records the system sounds asked for instead of playing them.
class CountingSoundPlayer : public SoundPlayer
{
public:
    void playSystemSound(int soundId) override { played.append(soundId); }
    QList<int> played;
};
