#pragma once

#include <QByteArray>
#include <QString>

// A text of the session as the page reads it: a JSON object with the text
// itself ("message"), and for a state its number ("sequence") and what
// the drone program makes of its payload ("view"): its kind and numbers,
// its words, and the media it names as addresses on this server.
class WebStateMessage
{
public:
    static QByteArray frame(const QString &message);
    // The address the page loads a media file from.
    static QString mediaPath(const QString &name);
    // The name of a media file below the documents folder or in the
    // application's files, from the address the image list gave it.
    static QString mediaName(const QString &source);
};
