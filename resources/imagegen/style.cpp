#include "style.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

namespace Style {

namespace {

// The build machine may lack a font configuration that knows DejaVu Sans;
// the Debian font files are loaded directly in that case.
void ensureTypeface()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    if (QFontDatabase().families().contains(QStringLiteral("DejaVu Sans")))
        return;
    const QString dir = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
    QFontDatabase::addApplicationFont(dir + QStringLiteral("DejaVuSans.ttf"));
    QFontDatabase::addApplicationFont(dir + QStringLiteral("DejaVuSans-Bold.ttf"));
}

} // namespace

QImage canvas(int width, int height, const QColor& background)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    return image;
}

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont font(qreal pixelSize, bool bold)
{
    ensureTypeface();
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPen stroke(const QColor& color, qreal width)
{
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void tile(QPainter& p, const QRectF& rect, const QColor& face, const QColor& edge, qreal radius)
{
    const qreal lip = qMax(2.0, rect.height() * 0.05);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(edge);
    p.drawRoundedRect(rect, radius, radius);
    p.setBrush(face);
    p.drawRoundedRect(rect.adjusted(0, 0, 0, -lip), radius, radius);
    p.restore();
}

qreal textWidth(const QString& text, qreal pixelSize)
{
    return QFontMetricsF(font(pixelSize)).horizontalAdvance(text);
}

void text(QPainter& p, const QRectF& rect, const QString& text, const QColor& color,
          qreal pixelSize, int flags)
{
    while (pixelSize > 6 && textWidth(text, pixelSize) > rect.width())
        pixelSize -= 1;
    p.save();
    p.setFont(font(pixelSize));
    p.setPen(color);
    p.drawText(rect, flags, text);
    p.restore();
}

void enterGlyphBox(QPainter& p, const QRectF& area)
{
    p.translate(area.topLeft());
    p.scale(area.width() / 100.0, area.height() / 100.0);
}

} // namespace Style
