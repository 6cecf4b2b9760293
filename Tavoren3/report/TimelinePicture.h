#pragma once

#include "run/LabelSession.h"

#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

// The picture of a session: a time axis, one row per step with a bar from
// its begin to its end (label, numeric id, duration), pauses hatched over
// it, restarts, stops, notes, ratings and task lines as markers, and the
// total time. The completion screen and tavoren-cli draw it with this code.
class TimelinePicture
{
public:
    explicit TimelinePicture(LabelSession session);

    // Height of the picture at a width.
    qreal heightFor(qreal width) const;
    void paint(QPainter &painter, qreal width) const;
    // What the element at a point shows when pointed at or tapped; "" for none.
    QString textAt(const QPointF &point, qreal width) const;

    // "hh:mm:ss" above an hour, "mm:ss" below.
    static QString durationText(qint64 milliseconds);

private:
    enum class Shape { Background, Text, Bar, OpenBar, Hatch, Band, Tick, Diamond, Circle, Triangle, Restart, Stop };
    struct Element
    {
        Shape shape;
        QRectF rect;
        QColor color;
        QString text;    // drawn (Text) or shown when pointed at (others)
        bool bold = false;
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    };
    QList<Element> layout(qreal width) const;
    int rowCount() const;

    LabelSession m_session;
    qint64 m_total = 0; // milliseconds from origin to the last time
};
