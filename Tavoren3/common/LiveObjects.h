#pragma once

#include <QtGlobal>

// Counts the QObjects alive in the process, through Qt's object hooks;
// only objects made after install() are counted.
class LiveObjects
{
public:
    static void install();
    static qint64 count();
};
