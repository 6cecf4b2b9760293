#include "run/RemainingTimeJumps.h"

#include "run/VerkeersLeiding.h"

RemainingTimeJumps::RemainingTimeJumps(VerkeersLeiding &manager, QObject *parent)
    : QObject(parent), m_last(manager.remainingTime())
{
    connect(&manager, &VerkeersLeiding::remainingTimeChanged, this, [this, &manager] {
        const qint64 now = manager.remainingTime();
        const qint64 jump = now - m_last;
        m_last = now;
        if ((jump >= 2 || jump <= -2) && now >= 1)
            emit jumped();
    });
}
