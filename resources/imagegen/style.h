// The shared look of every drawn image: one flat palette, one typeface, tiles
// with a darker lip along the bottom edge, and pictograms drawn in a 100 x 100
// box so the same drawing serves any size.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRectF>
#include <QString>

class QPainter;

namespace Style {

// Keys and light surfaces.
const QColor Ink(31, 45, 58);
const QColor KeyFace(234, 239, 244);
const QColor KeyEdge(158, 173, 188);
// Tile colours: face and the darker lip below it.
const QColor Blue(36, 110, 168);
const QColor BlueEdge(22, 74, 117);
const QColor Green(44, 150, 86);
const QColor GreenEdge(27, 106, 58);
const QColor Red(204, 58, 52);
const QColor RedEdge(148, 36, 32);
const QColor Slate(100, 115, 130);
const QColor SlateEdge(66, 78, 91);
const QColor Amber(236, 164, 30);
const QColor Grey(150, 158, 166);
const QColor GreyEdge(108, 116, 124);
const QColor White(255, 255, 255);
// The NAMUR NE 107 status colours: failure red, function check orange, an
// uncertain value yellow, maintenance blue, and normal in green. Both programs
// show a class by its symbol drawn in these, so they are set here alone.
const QColor Ne107Failure(210, 35, 35);
const QColor Ne107FunctionCheck(240, 130, 0);
const QColor Ne107Uncertain(250, 205, 20);
const QColor Ne107Maintenance(0, 100, 190);
const QColor Ne107Normal(40, 150, 70);
// The panel's window colour, behind images that cannot be transparent (BMP).
const QColor Window(239, 239, 239);

/// A blank image of the given size, transparent unless a background is given.
QImage canvas(int width, int height, const QColor& background = Qt::transparent);
/// Antialiased painting, as every image uses.
void prepare(QPainter& p);
/// DejaVu Sans at a pixel size, bold by default.
QFont font(qreal pixelSize, bool bold = true);
/// Round-capped pen.
QPen stroke(const QColor& color, qreal width);

/// A flat rounded tile: face colour over a darker lip along the bottom.
void tile(QPainter& p, const QRectF& rect, const QColor& face, const QColor& edge, qreal radius);
/// Text centred in rect, shrunk until it fits the rect's width.
void text(QPainter& p, const QRectF& rect, const QString& text, const QColor& color,
          qreal pixelSize, int flags = Qt::AlignCenter);
/// The width of text at a pixel size, for laying out a pictogram beside it.
qreal textWidth(const QString& text, qreal pixelSize);

/// Maps painter coordinates so that area becomes the 100 x 100 pictogram box.
void enterGlyphBox(QPainter& p, const QRectF& area);

} // namespace Style
