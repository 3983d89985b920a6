#include "painter.h"

#include <QPainter>

QImage drawImage(const QString& name)
{
    QImage image(80, 80, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(56, 127, 114));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 76, 76), 12, 12);
    p.setPen(Qt::white);
    p.drawText(image.rect(), Qt::AlignCenter, name.section(QLatin1Char('.'), 0, 0));
    return image;
}
