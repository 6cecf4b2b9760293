#pragma once

#include "model/Run.h"

#include <QByteArray>

// Writes a protocol document with the English keys only, in the fixed key
// order, compact, absent optional fields left out.
class ProtocolWriter
{
public:
    static QByteArray encode(const Run &run);
};
