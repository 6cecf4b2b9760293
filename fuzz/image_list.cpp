// Image list files: the names they yield and the missing-pictures text.

#include "tasks/ImageView.h"

#include <cstdint>
#include <cstdlib>

namespace {
bool hasLineBreak(const QString &name)
{
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == '\n' || u == '\r' || u == '\v' || u == '\f' || u == 0x85 || u == 0x2028 || u == 0x2029)
            return true;
    }
    return false;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList names = ImageView::parseImageList(text);
    for (const QString &name : names) {
        if (name.isEmpty() || name != name.trimmed() || name.startsWith(QLatin1Char('#')) || hasLineBreak(name))
            std::abort();
    }
    const QString missing = ImageView::missingImagesText(names);
    if (!missing.startsWith(QStringLiteral("Missing images: ")) || missing.endsWith(QChar(0x2026)) != (names.size() > 5))
        std::abort();
    return 0;
}
