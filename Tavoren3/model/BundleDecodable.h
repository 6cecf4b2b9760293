#pragma once

#include "model/Run.h"

#include <QString>
#include <memory>
#include <variant>

// The default protocol: "Research_protocols/mini.json" from the documents
// folder, else from the application's own resources.
class BundleDecodable
{
public:
    static constexpr const char *defaultProtocolPath = "Research_protocols/mini.json";

    // The decoded protocol, or the one message that says why there is none.
    static std::variant<std::unique_ptr<Run>, QString> loadDefaultProtocol();
};
