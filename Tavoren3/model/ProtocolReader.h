#pragma once

#include "model/DecodingError.h"
#include "model/Run.h"

#include <QByteArray>
#include <memory>
#include <optional>

// Reads protocol documents, current English keys and the older Dutch ones.
// A document decodes whole or not at all.
class ProtocolReader
{
public:
    struct Result
    {
        std::unique_ptr<Run> run;           // set on success
        std::optional<DecodingError> error; // set on failure
    };

    static Result decode(const QByteArray &bytes);
};
