#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QString>
#include <QtQml/qqmlregistration.h>

// A QR code of a text, drawn as large as the item is, with its quiet zone.
class QrCodeItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)

public:
    explicit QrCodeItem(QQuickItem *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // One pixel a module, black on white; null when the text does not fit a code.
    static QImage image(const QString &text);

    void paint(QPainter *painter) override;

signals:
    void textChanged();

private:
    QString m_text;
    QImage m_image;
};
