#include "web/QrCodeItem.h"

#include <QPainter>
#include <qrencode.h>

#include <memory>

QrCodeItem::QrCodeItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(false);
}

void QrCodeItem::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_image = image(text);
    emit textChanged();
    update();
}

QImage QrCodeItem::image(const QString &text)
{
    if (text.isEmpty())
        return QImage();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code)
        return QImage();
    constexpr int quiet = 4;
    const int side = code->width + 2 * quiet;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < code->width; ++y)
        for (int x = 0; x < code->width; ++x)
            if (code->data[y * code->width + x] & 1)
                image.setPixel(x + quiet, y + quiet, qRgb(0, 0, 0));
    return image;
}

void QrCodeItem::paint(QPainter *painter)
{
    if (m_image.isNull())
        return;
    const int side = int(std::min(width(), height()));
    const int scale = std::max(1, side / m_image.width());
    const int drawn = scale * m_image.width();
    painter->drawImage(QRect((int(width()) - drawn) / 2, (int(height()) - drawn) / 2, drawn, drawn), m_image);
}
