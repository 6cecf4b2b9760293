#pragma once

#include <QtGlobal>

// What a link may hold before it has said who it is, and what all links
// together may hold.
struct LinkLimits
{
    // From the encryption's start to the hello, for a link that came in.
    static constexpr int helloTimeoutMs = 5000;
    // Links that came in and have not said hello yet.
    static constexpr int waitingInAll = 8;
    static constexpr int waitingPerAddress = 4;
    // The largest frame before the hello; a hello is a short text.
    static constexpr qint64 helloFrameSize = 16 * 1024;
    // The bytes all links of a transport may hold unread at once.
    static constexpr qint64 unreadInAll = 4 * 1024 * 1024;
};
