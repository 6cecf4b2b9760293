#include "run/QtSoundPlayer.h"

#include "common/Console.h"

#include <QAudioFormat>
#include <QFile>
#include <QMediaDevices>
#include <QtEndian>

namespace {

struct Wave
{
    QAudioFormat format;
    QByteArray samples;
};

// The PCM samples of a canonical WAV file, or an invalid format.
Wave readWave(const QByteArray &bytes)
{
    Wave wave;
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return wave;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            wave.format.setChannelCount(qFromLittleEndian<quint16>(bytes.constData() + body + 2));
            wave.format.setSampleRate(int(qFromLittleEndian<quint32>(bytes.constData() + body + 4)));
            if (qFromLittleEndian<quint16>(bytes.constData() + body + 14) == 16)
                wave.format.setSampleFormat(QAudioFormat::Int16);
        } else if (id == "data") {
            wave.samples = bytes.mid(body, qsizetype(size));
        }
        at = body + qsizetype(size) + (size & 1);
    }
    return wave;
}

} // namespace

QtSoundPlayer::QtSoundPlayer(QObject *parent) : QObject(parent) {}

QtSoundPlayer::~QtSoundPlayer()
{
    if (m_sink)
        m_sink->stop();
}

void QtSoundPlayer::playSystemSound(int soundId)
{
    QFile file(QStringLiteral(":/sounds/%1.wav").arg(soundId));
    if (!file.open(QIODevice::ReadOnly)) {
        Console::line(QStringLiteral("No sound %1").arg(soundId));
        return;
    }
    Wave wave = readWave(file.readAll());
    if (!wave.format.isValid()) {
        Console::line(QStringLiteral("Sound %1 is not a 16-bit PCM WAV file").arg(soundId));
        return;
    }
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() || !output.isFormatSupported(wave.format)) {
        Console::line(QStringLiteral("Sound %1 (no audio output)").arg(soundId));
        return;
    }
    if (m_sink)
        m_sink->stop();
    m_buffer.close();
    m_samples = wave.samples;
    m_buffer.setData(m_samples);
    m_buffer.open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(output, wave.format);
    m_sink->start(&m_buffer);
}
