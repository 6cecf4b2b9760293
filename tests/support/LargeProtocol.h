#pragma once

#include "model/Run.h"

#include <QByteArray>
#include <QString>

// A protocol of many plain steps, for files that take a while to write.
struct LargeProtocol
{
    // Gives run this name, version "1" and stepCount rest steps.
    static void fill(Run &run, const QString &researchName, int stepCount);
    static QByteArray encoded(const QString &researchName, int stepCount);
};
