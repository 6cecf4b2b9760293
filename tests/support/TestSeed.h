#pragma once

#include <QtGlobal>

#include <random>

// The seed of a randomised test: TAVOREN_SEED repeats a run, otherwise a
// fresh one (the test prints it).
inline unsigned testSeed()
{
    bool ok = false;
    const unsigned given = qEnvironmentVariable("TAVOREN_SEED").toUInt(&ok);
    return ok ? given : std::random_device{}();
}
