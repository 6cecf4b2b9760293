#pragma once

#include <QObject>

class VerkeersLeiding;

// Tells when the time left in a step jumps (by two seconds or more, either
// way, to at least 1): the ordinary countdown does not count.
class RemainingTimeJumps : public QObject
{
    Q_OBJECT

public:
    explicit RemainingTimeJumps(VerkeersLeiding &manager, QObject *parent = nullptr);

signals:
    void jumped();

private:
    qint64 m_last;
};
