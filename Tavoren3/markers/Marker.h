#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

// One code for the recording and the moment it marks.
struct Marker
{
    qint64 code = 0;
    // "start of Rest (3)", "pause in Rest (3)", "stop", ...
    QString what;
    QDateTime at;
};
Q_DECLARE_METATYPE(Marker)
