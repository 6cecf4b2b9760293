#pragma once

#include <QHash>
#include <QtGlobal>

// Bytes held by several holders, bounded in all.
class ByteBudget
{
public:
    explicit ByteBudget(qint64 limit) : m_limit(limit) {}

    // The holder now holds `bytes` in place of what it held; false, and
    // nothing changed, when that would take the total over the limit.
    bool hold(const void *holder, qint64 bytes);
    void release(const void *holder);
    qint64 total() const { return m_total; }

private:
    qint64 m_limit;
    qint64 m_total = 0;
    QHash<const void *, qint64> m_held;
};
