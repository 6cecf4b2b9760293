#include "report/UpdateManifest.h"

#include <plist/plist.h>

#include <QStringList>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace {

struct PlistFree
{
    void operator()(plist_t node) const { plist_free(node); }
};
using Plist = std::unique_ptr<void, PlistFree>;

std::optional<QString> stringValue(plist_t node)
{
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return std::nullopt;
    uint64_t length = 0;
    const char *value = plist_get_string_ptr(node, &length);
    if (!value)
        return std::nullopt;
    return QString::fromUtf8(value, qsizetype(length));
}

// libplist aborts the process when a key or string it hands out holds a
// zero byte (a binary list can carry one in UTF-16 text). Its XML form
// writes such text as it is, so a zero byte there gives the list away.
bool holdsZeroBytes(plist_t root)
{
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    const bool zero = !xml || std::memchr(xml, 0, length) != nullptr;
    plist_to_xml_free(xml);
    return zero;
}

} // namespace

UpdateManifest UpdateManifest::parse(const QByteArray &bytes)
{
    UpdateManifest manifest;
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<uint32_t>::max()) {
        manifest.error = QStringLiteral("The data couldn't be read because it is empty or too large.");
        return manifest;
    }
    plist_t rootNode = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &rootNode);
    const Plist root(rootNode);
    if (!root || holdsZeroBytes(root.get())) {
        manifest.error = QStringLiteral("The data couldn't be read because it isn't in the correct format.");
        return manifest;
    }
    manifest.parsed = true;

    if (plist_get_node_type(root.get()) != PLIST_DICT)
        return manifest;
    plist_t items = plist_dict_get_item(root.get(), "items");
    if (!items || plist_get_node_type(items) != PLIST_ARRAY || plist_array_get_size(items) == 0)
        return manifest;
    for (uint32_t i = 0; i < plist_array_get_size(items); ++i) {
        if (plist_get_node_type(plist_array_get_item(items, i)) != PLIST_DICT)
            return manifest;
    }
    plist_t metadata = plist_dict_get_item(plist_array_get_item(items, 0), "metadata");
    if (!metadata || plist_get_node_type(metadata) != PLIST_DICT)
        return manifest;

    QStringList printed;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(metadata, &it);
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(metadata, it, &key, &value);
        if (!key)
            break;
        const std::optional<QString> text = stringValue(value);
        const QString name = QString::fromUtf8(key);
        std::free(key);
        if (!text) {
            std::free(it);
            return manifest; // not a dictionary of strings
        }
        printed.append(QStringLiteral("\"%1\": \"%2\"").arg(name, *text));
    }
    std::free(it);

    manifest.hasMetadata = true;
    manifest.metadataText = QLatin1Char('[') + printed.join(QStringLiteral(", ")) + QLatin1Char(']');
    manifest.version = stringValue(plist_dict_get_item(metadata, "bundle-version"));
    manifest.build = stringValue(plist_dict_get_item(metadata, "build"));
    return manifest;
}
