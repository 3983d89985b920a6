// Pictograms, each drawn in a 100 x 100 box (Style::enterGlyphBox) in one
// colour, so a tile, a wide button or a small icon can share a drawing.
#pragma once

#include <QColor>

class QPainter;

namespace Glyph {

using Draw = void (*)(QPainter& p, const QColor& ink);

void check(QPainter& p, const QColor& ink);
void cross(QPainter& p, const QColor& ink);
void arrowRight(QPainter& p, const QColor& ink); // rotate the painter for the others
void trash(QPainter& p, const QColor& ink);
void noEntry(QPainter& p, const QColor& ink);
void clock(QPainter& p, const QColor& ink);
void plusMinus(QPainter& p, const QColor& ink);

void gear(QPainter& p, const QColor& ink);
void wrench(QPainter& p, const QColor& ink);
void sliders(QPainter& p, const QColor& ink);
void gauge(QPainter& p, const QColor& ink);
void dial(QPainter& p, const QColor& ink);
void power(QPainter& p, const QColor& ink);
void spectrum(QPainter& p, const QColor& ink);
void trend(QPainter& p, const QColor& ink);
void ringDown(QPainter& p, const QColor& ink);
void monitor(QPainter& p, const QColor& ink);
void lockClosed(QPainter& p, const QColor& ink);
void lockOpen(QPainter& p, const QColor& ink);
void oilCan(QPainter& p, const QColor& ink);
void question(QPainter& p, const QColor& ink);

} // namespace Glyph
