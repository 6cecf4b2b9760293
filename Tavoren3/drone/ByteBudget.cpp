#include "drone/ByteBudget.h"

bool ByteBudget::hold(const void *holder, qint64 bytes)
{
    const qint64 total = m_total - m_held.value(holder) + bytes;
    if (total > m_limit)
        return false;
    m_total = total;
    if (bytes == 0)
        m_held.remove(holder);
    else
        m_held.insert(holder, bytes);
    return true;
}

void ByteBudget::release(const void *holder)
{
    m_total -= m_held.take(holder);
}
