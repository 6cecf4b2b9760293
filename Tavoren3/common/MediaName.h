#pragma once

#include <QString>

// Names of media files that come from outside (a peer's message): only
// names inside a media folder, never a path out of it or an address.
class MediaName
{
public:
    // A relative name with no ".." part, no scheme or drive, no control
    // character: it cannot reach outside the folder it is looked up in.
    static bool isPlainName(const QString &name);
};
