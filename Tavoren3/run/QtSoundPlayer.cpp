#include "run/QtSoundPlayer.h"

#include "common/Console.h"

#include <QFile>

QtSoundPlayer::QtSoundPlayer(QObject *parent) : QObject(parent) {}

void QtSoundPlayer::playSystemSound(int soundId)
{
    auto &effect = m_effects[soundId];
    if (!effect) {
        const QString file = QStringLiteral(":/sounds/%1.wav").arg(soundId);
        if (!QFile::exists(file)) {
            Console::line(QStringLiteral("No sound %1").arg(soundId));
            return;
        }
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl(QStringLiteral("qrc") + file));
    }
    effect->play();
}
