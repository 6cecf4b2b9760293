#pragma once

#include "run/SoundPlayer.h"

#include <QObject>
#include <QSoundEffect>
#include <map>
#include <memory>

// System sounds played through Qt Multimedia from the bundled sound files.
class QtSoundPlayer : public QObject, public SoundPlayer
{
    Q_OBJECT

public:
    explicit QtSoundPlayer(QObject *parent = nullptr);
    void playSystemSound(int soundId) override;

private:
    std::map<int, std::unique_ptr<QSoundEffect>> m_effects;
};
