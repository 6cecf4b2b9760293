// Protocol documents: every input decodes whole or fails with an error,
// and a decoded protocol reads back the same after it is written.

#include "FuzzApplication.h"
#include "model/ProtocolReader.h"
#include "model/ProtocolWriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzApplication::ensure();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ProtocolReader::Result first =
        ProtocolReader::decode(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (bool(first.run) == first.error.has_value())
        std::abort();
    if (!first.run)
        return 0;
    const ProtocolReader::Result again = ProtocolReader::decode(ProtocolWriter::encode(*first.run));
    if (!again.run || !again.run->sameContent(*first.run))
        std::abort();
    return 0;
}
