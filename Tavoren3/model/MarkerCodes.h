#pragma once

#include <QString>

class Run;

// The codes a trigger box can put on its lines: one byte, 0 being the rest.
class MarkerCodes
{
public:
    static constexpr qint64 lowest = 1;
    static constexpr qint64 highest = 255;

    static bool sendable(qint64 code) { return code >= lowest && code <= highest; }

    // The steps and the pause id of run that get no marker, one sentence
    // each, on separate lines; empty when every id can be sent.
    static QString unsendableNote(const Run &run);
};
