#pragma once

#include "run/SoundPlayer.h"

#include <QAudioSink>
#include <QBuffer>
#include <QObject>
#include <memory>

// System sounds played through Qt Multimedia from the bundled sound files
// (16-bit PCM WAV). Without an audio output the sound is only named on the
// console.
class QtSoundPlayer : public QObject, public SoundPlayer
{
    Q_OBJECT

public:
    explicit QtSoundPlayer(QObject *parent = nullptr);
    ~QtSoundPlayer() override;
    void playSystemSound(int soundId) override;

private:
    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_buffer;
    QByteArray m_samples;
};
