#include "common/LiveObjects.h"

#include <QObject>
#include <atomic>

// Qt's hook table (qhooks_p.h): version, size, Qt version, then the object callbacks.
extern Q_CORE_EXPORT quintptr qtHookData[];

namespace {
constexpr int addObjectHook = 3;
constexpr int removeObjectHook = 4;
using Callback = void (*)(QObject *);

std::atomic<qint64> alive{0};
Callback previousAdd = nullptr;
Callback previousRemove = nullptr;

void added(QObject *object)
{
    ++alive;
    if (previousAdd)
        previousAdd(object);
}

void removed(QObject *object)
{
    --alive;
    if (previousRemove)
        previousRemove(object);
}
}

void LiveObjects::install()
{
    if (previousAdd == added)
        return;
    previousAdd = reinterpret_cast<Callback>(qtHookData[addObjectHook]);
    previousRemove = reinterpret_cast<Callback>(qtHookData[removeObjectHook]);
    qtHookData[addObjectHook] = reinterpret_cast<quintptr>(&added);
    qtHookData[removeObjectHook] = reinterpret_cast<quintptr>(&removed);
}

qint64 LiveObjects::count()
{
    return alive.load();
}
