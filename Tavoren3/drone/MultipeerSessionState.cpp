#include "drone/MultipeerSessionState.h"

#include <array>

namespace {
constexpr std::array<const char *, 4> texts{"notConnected", "connecting", "connected", "unknown"};
}

QString multipeerSessionStateText(MultipeerSessionState state)
{
    return QString::fromLatin1(texts[size_t(state)]);
}

std::optional<MultipeerSessionState> multipeerSessionStateFromText(const QString &text)
{
    for (size_t i = 0; i < texts.size(); ++i) {
        if (text == QLatin1String(texts[i]))
            return MultipeerSessionState(i);
    }
    return std::nullopt;
}
