#pragma once

#include <QString>

// The six digits both ends of a pairing show: made from both certificates'
// fingerprints, the same whichever end computes it, and different on the
// two sides of anyone who sits in the middle with a key of its own.
class PairingCode
{
public:
    static QString between(const QString &fingerprint, const QString &otherFingerprint);
};
