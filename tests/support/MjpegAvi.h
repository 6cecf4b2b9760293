#pragma once

#include <QImage>
#include <QList>
#include <QString>

// Writes a short film: the pictures as JPEG frames in an AVI file.
bool writeMjpegAvi(const QString &path, const QList<QImage> &frames, int framesPerSecond);
