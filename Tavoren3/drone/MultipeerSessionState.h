#pragma once

#include <QString>
#include <optional>

// The drone link as the screens show it.
enum class MultipeerSessionState { notConnected, connecting, connected, unknown };

QString multipeerSessionStateText(MultipeerSessionState state);
// The state a text names, or none.
std::optional<MultipeerSessionState> multipeerSessionStateFromText(const QString &text);
