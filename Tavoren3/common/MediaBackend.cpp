#include "common/MediaBackend.h"

#include <QByteArray>
#include <QtGlobal>

void chooseMediaBackend()
{
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}
