#pragma once

#include "report/TimelinePicture.h"

#include <QQuickPaintedItem>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The timeline of a label file on screen: the picture at the item's width,
// and the text of what is pointed at or tapped.
class TimelineItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QString failure READ failure NOTIFY sourceChanged)
    Q_PROPERTY(QString pointedText READ pointedText NOTIFY pointedTextChanged)

public:
    explicit TimelineItem(QQuickItem *parent = nullptr);

    // The label file to show.
    QString source() const { return m_source; }
    void setSource(const QString &path);
    // Why the file cannot be shown; "" when it is. A file read only in
    // part says so in the picture.
    QString failure() const { return m_failure; }
    QString pointedText() const { return m_pointedText; }

    // The pointer or a tap at a point of the item; outside it, nothing is pointed at.
    Q_INVOKABLE void pointAt(qreal x, qreal y);
    Q_INVOKABLE void clearPointed() { setPointedText(QString()); }

    void paint(QPainter *painter) override;

signals:
    void sourceChanged();
    void pointedTextChanged();

private:
    void setPointedText(const QString &text);
    void updateHeight();

    QString m_source;
    QString m_failure;
    QString m_pointedText;
    std::optional<TimelinePicture> m_picture;
};
