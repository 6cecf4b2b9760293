#include "tasks/HapticFeedback.h"

#include "common/Console.h"

void HapticFeedback::impactOccurred()
{
    Console::line(QStringLiteral("Haptic impact (light)"));
}
