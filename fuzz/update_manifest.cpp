// Installation manifests (XML and binary property lists) as the update
// server might send them.

#include "report/UpdateManifest.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const UpdateManifest manifest =
        UpdateManifest::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    // Unparsed bytes say why; version and build come only with the metadata.
    if (manifest.parsed == !manifest.error.isEmpty())
        std::abort();
    if ((manifest.version || manifest.build || !manifest.metadataText.isEmpty()) && !manifest.hasMetadata)
        std::abort();
    if (manifest.hasMetadata && !manifest.parsed)
        std::abort();
    return 0;
}
