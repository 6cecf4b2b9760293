#include "report/TimelineItem.h"

#include "report/RunSessionFile.h"

TimelineItem::TimelineItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    connect(this, &QQuickItem::widthChanged, this, &TimelineItem::updateHeight);
}

void TimelineItem::setSource(const QString &path)
{
    if (m_source == path)
        return;
    m_source = path;
    m_picture.reset();
    m_failure.clear();
    QString reason;
    if (auto session = RunSessionFile::read(path, &reason)) {
        m_picture.emplace(std::move(*session));
    } else {
        m_failure = path + QStringLiteral(": ") + reason;
    }
    setPointedText(QString());
    updateHeight();
    update();
    emit sourceChanged();
}

void TimelineItem::updateHeight()
{
    setImplicitHeight(m_picture ? m_picture->heightFor(width()) : 0);
}

void TimelineItem::pointAt(qreal x, qreal y)
{
    setPointedText(m_picture ? m_picture->textAt(QPointF(x, y), width()) : QString());
}

void TimelineItem::setPointedText(const QString &text)
{
    if (m_pointedText == text)
        return;
    m_pointedText = text;
    emit pointedTextChanged();
}

void TimelineItem::paint(QPainter *painter)
{
    if (m_picture)
        m_picture->paint(*painter, width());
}
