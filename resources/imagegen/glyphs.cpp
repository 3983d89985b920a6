#include "glyphs.h"

#include "style.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

using Style::stroke;

namespace Glyph {

namespace {

void filled(QPainter& p, const QPainterPath& path, const QColor& ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(path);
}

// Axes shared by the two chart pictograms.
void axes(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 6));
    p.drawPolyline(QPolygonF({{12, 10}, {12, 88}, {92, 88}}));
}

void padlock(QPainter& p, const QColor& ink, bool open)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(20, 44, 60, 48), 8, 8);
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(50, 62), 7, 7);
    keyhole.addRect(QRectF(47, 62, 6, 16));
    filled(p, body.subtracted(keyhole), ink);

    p.setPen(stroke(ink, 9));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    if (open) {
        // Lifted and swung free on the right.
        shackle.moveTo(34, 44);
        shackle.lineTo(34, 24);
        shackle.arcTo(QRectF(34, 6, 32, 32), 180, -180);
        shackle.lineTo(66, 28);
    } else {
        shackle.moveTo(34, 44);
        shackle.lineTo(34, 30);
        shackle.arcTo(QRectF(34, 12, 32, 32), 180, -180);
        shackle.lineTo(66, 44);
    }
    p.drawPath(shackle);
}

} // namespace

void check(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 14));
    p.drawPolyline(QPolygonF({{16, 52}, {40, 76}, {86, 26}}));
}

void cross(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 14));
    p.drawLine(QPointF(22, 22), QPointF(78, 78));
    p.drawLine(QPointF(78, 22), QPointF(22, 78));
}

void arrowRight(QPainter& p, const QColor& ink)
{
    QPainterPath arrow;
    arrow.addPolygon(QPolygonF(
        {{14, 40}, {50, 40}, {50, 16}, {88, 50}, {50, 84}, {50, 60}, {14, 60}, {14, 40}}));
    p.setPen(stroke(ink, 4));
    p.setBrush(ink);
    p.drawPath(arrow);
}

void trash(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 8));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(14, 22), QPointF(86, 22));
    p.drawPolyline(QPolygonF({{38, 22}, {40, 10}, {60, 10}, {62, 22}}));
    p.drawPolyline(QPolygonF({{22, 30}, {28, 92}, {72, 92}, {78, 30}}));
    p.setPen(stroke(ink, 6));
    for (qreal x : {40.0, 60.0})
        p.drawLine(QPointF(x, 40), QPointF(x, 80));
}

void noEntry(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 11));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(50, 50), 38, 38);
    p.drawLine(QPointF(24, 24), QPointF(76, 76));
}

void clock(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 10));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(50, 50), 38, 38);
    p.drawPolyline(QPolygonF({{50, 24}, {50, 50}, {68, 62}}));
}

void plusMinus(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 9));
    p.drawLine(QPointF(22, 34), QPointF(78, 34));
    p.drawLine(QPointF(50, 8), QPointF(50, 60));
    p.drawLine(QPointF(22, 84), QPointF(78, 84));
}

void gear(QPainter& p, const QColor& ink)
{
    const int teeth = 8;
    const QPointF c(50, 50);
    QPolygonF outline;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = 2 * M_PI * i / teeth;
        const qreal half = M_PI / teeth;
        // Tooth tips slightly narrower than their roots.
        const qreal angles[] = {a - half * 0.95, a - half * 0.45, a + half * 0.45, a + half * 0.95};
        const qreal radii[] = {33, 45, 45, 33};
        for (int k = 0; k < 4; ++k)
            outline << c + QPointF(radii[k] * qCos(angles[k]), radii[k] * qSin(angles[k]));
    }
    QPainterPath body;
    body.addPolygon(outline);
    body.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 14, 14);
    filled(p, body.subtracted(hole), ink);
}

void wrench(QPainter& p, const QColor& ink)
{
    p.save();
    p.translate(50, 50);
    p.rotate(-45);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(-46, -8, 70, 16), 8, 8);
    shape.addEllipse(QPointF(26, 0), 21, 21);
    shape.setFillRule(Qt::WindingFill);
    QPainterPath cut;
    cut.addRect(QRectF(26, -8, 30, 16));
    cut.addEllipse(QPointF(-37, 0), 4, 4);
    filled(p, shape.simplified().subtracted(cut), ink);
    p.restore();
}

void sliders(QPainter& p, const QColor& ink)
{
    const qreal xs[] = {22, 50, 78};
    const qreal knobs[] = {64, 30, 52};
    for (int i = 0; i < 3; ++i) {
        p.setPen(stroke(ink, 6));
        p.drawLine(QPointF(xs[i], 10), QPointF(xs[i], 90));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(xs[i] - 12, knobs[i] - 8, 24, 16), 5, 5);
    }
}

void gauge(QPainter& p, const QColor& ink)
{
    const QPointF c(50, 62);
    const qreal r = 40;
    p.setPen(stroke(ink, 8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), -20 * 16, 220 * 16);
    p.setPen(stroke(ink, 5));
    for (int deg = 200; deg >= -20; deg -= 55) {
        const qreal a = qDegreesToRadians(qreal(deg));
        const QPointF dir(qCos(a), -qSin(a));
        p.drawLine(c + dir * (r - 14), c + dir * (r - 6));
    }
    const qreal needle = qDegreesToRadians(50.0);
    p.setPen(stroke(ink, 7));
    p.drawLine(c, c + QPointF(qCos(needle), -qSin(needle)) * (r - 8));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(c, 9, 9);
}

void dial(QPainter& p, const QColor& ink)
{
    const QPointF c(50, 54);
    QPainterPath knob;
    knob.addEllipse(c, 30, 30);
    QPainterPath pointer;
    const qreal a = qDegreesToRadians(135.0);
    const QPointF dir(qCos(a), -qSin(a));
    const QPointF normal(-dir.y(), dir.x());
    pointer.addPolygon(QPolygonF(
        {c + dir * 24 + normal * 5, c + dir * 24 - normal * 5, c - normal * 5, c + normal * 5}));
    pointer.addEllipse(c, 5, 5);
    pointer.setFillRule(Qt::WindingFill);
    filled(p, knob.subtracted(pointer.simplified()), ink);
    // The three positions the knob can take.
    p.setBrush(ink);
    for (int deg : {135, 90, 45}) {
        const qreal b = qDegreesToRadians(qreal(deg));
        p.drawEllipse(c + QPointF(qCos(b), -qSin(b)) * 42, 5, 5);
    }
}

void power(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 11));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(16, 18, 68, 68), 125 * 16, 290 * 16);
    p.drawLine(QPointF(50, 10), QPointF(50, 50));
}

void spectrum(QPainter& p, const QColor& ink)
{
    // A baseline with two absorption lines, and the scan's sweep below it.
    QPolygonF line;
    for (int x = 8; x <= 92; x += 2) {
        const qreal a = 1.0 / (1 + std::pow((x - 36) / 6.0, 2));
        const qreal b = 0.55 / (1 + std::pow((x - 70) / 5.0, 2));
        line << QPointF(x, 16 + 52 * (a + b));
    }
    p.setPen(stroke(ink, 7));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
    p.setPen(stroke(ink, 6));
    p.drawLine(QPointF(14, 86), QPointF(86, 86));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({{94, 86}, {80, 77}, {80, 95}}));
    p.drawPolygon(QPolygonF({{6, 86}, {20, 77}, {20, 95}}));
}

void trend(QPainter& p, const QColor& ink)
{
    axes(p, ink);
    const QPolygonF points({{22, 70}, {38, 54}, {52, 62}, {68, 34}, {86, 22}});
    p.setPen(stroke(ink, 7));
    p.drawPolyline(points);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (const QPointF& point : points)
        p.drawEllipse(point, 6, 6);
}

void ringDown(QPainter& p, const QColor& ink)
{
    axes(p, ink);
    QPolygonF decay;
    for (int x = 20; x <= 92; x += 2)
        decay << QPointF(x, 80 - 64 * std::exp(-(x - 20) / 16.0));
    p.setPen(stroke(ink, 7));
    p.drawPolyline(decay);
}

void monitor(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 7));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 10, 84, 60), 6, 6);
    p.drawLine(QPointF(50, 70), QPointF(50, 84));
    p.drawLine(QPointF(30, 88), QPointF(70, 88));
    // Brightness: a small sun on the screen.
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(50, 40), 10, 10);
    p.setPen(stroke(ink, 4));
    for (int i = 0; i < 8; ++i) {
        const qreal a = 2 * M_PI * i / 8;
        const QPointF dir(qCos(a), qSin(a));
        p.drawLine(QPointF(50, 40) + dir * 15, QPointF(50, 40) + dir * 21);
    }
}

void lockClosed(QPainter& p, const QColor& ink)
{
    padlock(p, ink, false);
}

void lockOpen(QPainter& p, const QColor& ink)
{
    padlock(p, ink, true);
}

void oilCan(QPainter& p, const QColor& ink)
{
    // A can lying to the right, its spout raised, a drop falling from it.
    QPainterPath can;
    can.addRoundedRect(QRectF(14, 46, 46, 32), 5, 5);
    can.addRect(QRectF(30, 38, 14, 10));
    QPainterPath spout;
    spout.moveTo(56, 52);
    spout.lineTo(88, 36);
    spout.lineTo(90, 42);
    spout.lineTo(60, 66);
    spout.closeSubpath();
    QPainterPath drop;
    drop.moveTo(88, 52);
    drop.cubicTo(80, 66, 82, 76, 88, 76);
    drop.cubicTo(94, 76, 96, 66, 88, 52);
    filled(p, can.united(spout).united(drop), ink);
    p.setPen(stroke(ink, 7));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2, 48, 24, 24), 90 * 16, 180 * 16);
}

void question(QPainter& p, const QColor& ink)
{
    p.setPen(stroke(ink, 13));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(30, 34);
    hook.arcTo(QRectF(30, 12, 40, 40), 180, -230);
    hook.quadTo(QPointF(50, 52), QPointF(50, 64));
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(50, 86), 8, 8);
}

} // namespace Glyph
