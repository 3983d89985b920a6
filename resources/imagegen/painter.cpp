#include "painter.h"

#include "glyphs.h"
#include "style.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QtMath>
#include <functional>

using namespace Style;

namespace {

// Sizes by use: keypad keys and arrow buttons are 80 px squares, the screens'
// navigation buttons 80 px tiles with a caption. The command buttons (OK,
// Cancel, ...) are 80 x 60: the forms show them in 80 x 80 and in 160 x 60
// icon boxes, and this size fills both without being scaled down.
constexpr int KeySize = 80;

/// A word drawn into an image, in the language imagegen draws for.
QString caption(const char* word)
{
    return QCoreApplication::translate("Images", word);
}

constexpr int TileSize = 80;
const QSize CommandButton(80, 60);
const QSize LongButton(240, 60);

void glyphIn(QPainter& p, const QRectF& box, Glyph::Draw glyph, const QColor& ink,
             qreal rotation = 0)
{
    p.save();
    enterGlyphBox(p, box);
    if (rotation != 0) {
        p.translate(50, 50);
        p.rotate(rotation);
        p.translate(-50, -50);
    }
    glyph(p, ink);
    p.restore();
}

// The face of a tile without its bottom lip, where its content is centred.
QRectF faceOf(const QRectF& rect)
{
    return rect.adjusted(0, 0, 0, -qMax(2.0, rect.height() * 0.05));
}

using Drawing = std::function<void(QPainter&)>;
using FaceDrawing = std::function<void(QPainter&, const QRectF& face)>;

QImage drawn(const QSize& size, const Drawing& draw, const QColor& background = Qt::transparent)
{
    QImage image = canvas(size.width(), size.height(), background);
    QPainter p(&image);
    prepare(p);
    draw(p);
    return image;
}

// One tile filling the image but for a margin; drawFace paints on its face.
QImage tileImage(const QSize& size, qreal margin, const QColor& face, const QColor& edge,
                 qreal radius, const FaceDrawing& drawFace,
                 const QColor& background = Qt::transparent)
{
    return drawn(
        size,
        [&](QPainter& p) {
            const QRectF rect =
                QRectF(QPointF(0, 0), QSizeF(size)).adjusted(margin, margin, -margin, -margin);
            tile(p, rect, face, edge, radius);
            drawFace(p, faceOf(rect));
        },
        background);
}

void centredGlyph(QPainter& p, const QRectF& face, qreal size, Glyph::Draw glyph, const QColor& ink,
                  qreal rotation = 0)
{
    glyphIn(p, QRectF(face.center() - QPointF(size, size) / 2, QSizeF(size, size)), glyph, ink,
            rotation);
}

// Navigation tiles and compact command buttons: a pictogram over a caption.
void pictogramOverCaption(QPainter& p, const QRectF& face, Glyph::Draw glyph, qreal glyphSize,
                          qreal glyphTop, const QString& caption, qreal captionSize)
{
    glyphIn(p,
            QRectF(face.center().x() - glyphSize / 2, face.top() + glyphTop, glyphSize, glyphSize),
            glyph, White);
    const qreal height = captionSize * 1.3;
    text(p, QRectF(face.left() + 3, face.bottom() - height - 2, face.width() - 6, height), caption,
         White, captionSize);
}

QImage keypadKey(const FaceDrawing& drawFace)
{
    return tileImage(QSize(KeySize, KeySize), 2, KeyFace, KeyEdge, 12, drawFace);
}

QImage keypadText(const QString& label, const QColor& color)
{
    return keypadKey([=](QPainter& p, const QRectF& face) { text(p, face, label, color, 46); });
}

QImage keypadDot()
{
    return keypadKey([](QPainter& p, const QRectF& face) {
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawEllipse(QPointF(face.center().x(), face.center().y() + 12), 8, 8);
    });
}

QImage keypadPlusMinus()
{
    return keypadKey(
        [](QPainter& p, const QRectF& face) { centredGlyph(p, face, 40, Glyph::plusMinus, Ink); });
}

QImage arrowButton(qreal rotation)
{
    return tileImage(QSize(KeySize, KeySize), 2, Blue, BlueEdge, 12,
                     [=](QPainter& p, const QRectF& face) {
                         centredGlyph(p, face, 50, Glyph::arrowRight, White, rotation);
                     });
}

enum class GlyphSide
{
    Before,
    After
};

// A long command button: pictogram and word side by side, centred together.
void pictogramBesideWord(QPainter& p, const QRectF& face, Glyph::Draw glyph, const QString& word,
                         GlyphSide side)
{
    const qreal glyphSize = face.height() * 0.5;
    const qreal gap = face.height() * 0.15;
    qreal pixelSize = face.height() * 0.45;
    const qreal room = face.width() - glyphSize - gap - 16;
    while (pixelSize > 8 && textWidth(word, pixelSize) > room)
        pixelSize -= 1;
    const qreal wordWidth = textWidth(word, pixelSize);
    const qreal start = face.center().x() - (glyphSize + gap + wordWidth) / 2;
    const qreal glyphX = side == GlyphSide::Before ? start : start + wordWidth + gap;
    const qreal wordX = side == GlyphSide::Before ? start + glyphSize + gap : start;
    glyphIn(p, QRectF(glyphX, face.center().y() - glyphSize / 2, glyphSize, glyphSize), glyph,
            White);
    text(p, QRectF(wordX, face.top(), wordWidth + 1, face.height()), word, White, pixelSize,
         Qt::AlignLeft | Qt::AlignVCenter);
}

// A command button: a coloured tile with a pictogram and its word, the
// pictogram above the word on compact buttons and beside it on long ones.
QImage commandButton(const QSize& size, const QColor& face, const QColor& edge, Glyph::Draw glyph,
                     const QString& word, GlyphSide side = GlyphSide::Before)
{
    return tileImage(size, 1, face, edge, 10, [=](QPainter& p, const QRectF& inner) {
        if (size.width() < 2 * size.height())
            pictogramOverCaption(p, inner, glyph, inner.height() * 0.42, 5, word, 17);
        else
            pictogramBesideWord(p, inner, glyph, word, side);
    });
}

// A navigation button: a coloured tile with a pictogram over a caption.
QImage navigationTile(const QString& caption, const QColor& face, const QColor& edge,
                      Glyph::Draw glyph)
{
    return tileImage(
        QSize(TileSize, TileSize), 2, face, edge, 12, [=](QPainter& p, const QRectF& inner) {
            pictogramOverCaption(p, inner, glyph, inner.width() * 0.52, 7, caption, 13);
        });
}

// The same pictogram on a smaller tile, without a caption (start buttons in forms).
QImage smallTile(int size, const QColor& face, const QColor& edge, Glyph::Draw glyph)
{
    return tileImage(QSize(size, size), 1, face, edge, size * 0.16,
                     [=](QPainter& p, const QRectF& inner) {
                         centredGlyph(p, inner, inner.width() * 0.68, glyph, White);
                     });
}

QImage checkbox(bool checked)
{
    return drawn(QSize(32, 32), [=](QPainter& p) {
        const QRectF box(3, 3, 26, 26);
        p.setPen(QPen(checked ? BlueEdge : Slate, 2.5));
        p.setBrush(checked ? Blue : White);
        p.drawRoundedRect(box, 5, 5);
        if (checked)
            glyphIn(p, box.adjusted(4, 4, -4, -4), Glyph::check, White);
    });
}

QImage radioButton(bool selected)
{
    return drawn(QSize(32, 32), [=](QPainter& p) {
        p.setPen(QPen(selected ? Blue : Slate, 2.5));
        p.setBrush(White);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        if (selected) {
            p.setPen(Qt::NoPen);
            p.setBrush(Blue);
            p.drawEllipse(QPointF(16, 16), 7, 7);
        }
    });
}

// Status lamps (48 px) and the small status dots (16 px) share a drawing.
QImage lamp(int size, const QColor& face, const QColor& edge)
{
    return drawn(QSize(size, size), [=](QPainter& p) {
        const QPointF c(size / 2.0, size / 2.0);
        const qreal r = size / 2.0 - 1;
        p.setPen(Qt::NoPen);
        p.setBrush(edge);
        p.drawEllipse(c, r, r);
        p.setBrush(face);
        p.drawEllipse(c, r * 0.8, r * 0.8);
        p.setBrush(QColor(255, 255, 255, 110));
        p.drawEllipse(c + QPointF(-r * 0.28, -r * 0.3), r * 0.3, r * 0.22);
    });
}

QImage closeButton()
{
    // BMP has no transparency: the corners take the panel's window colour.
    return tileImage(
        QSize(56, 56), 2, Red, RedEdge, 10,
        [](QPainter& p, const QRectF& face) { centredGlyph(p, face, 32, Glyph::cross, White); },
        Window);
}

QImage bubbles()
{
    return drawn(QSize(64, 64), [](QPainter& p) {
        const struct
        {
            QPointF centre;
            qreal radius;
        } all[] = {{{24, 42}, 17}, {{46, 20}, 12}, {{50, 48}, 8}, {{30, 12}, 5}};
        for (const auto& bubble : all) {
            p.setPen(QPen(Blue, 2.5));
            p.setBrush(QColor(206, 228, 246));
            p.drawEllipse(bubble.centre, bubble.radius, bubble.radius);
            p.setPen(Qt::NoPen);
            p.setBrush(White);
            const qreal r = bubble.radius;
            p.drawEllipse(bubble.centre + QPointF(-r * 0.35, -r * 0.35), r * 0.22, r * 0.22);
        }
    });
}

// The program's own mark: a ring-down, a decaying oscillation, on a tile.
void programMark(QPainter& p, const QRectF& rect)
{
    p.save();
    tile(p, rect, Blue, BlueEdge, rect.width() * 0.18);
    p.restore();
    p.save();
    enterGlyphBox(p, faceOf(rect));
    QPolygonF wave;
    for (qreal x = 12; x <= 88; x += 0.5) {
        const qreal t = x - 12;
        wave << QPointF(x, 50 - 34 * std::exp(-t / 24) * std::cos(t * 0.42));
    }
    p.setPen(stroke(White, 7));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(wave);
    p.setPen(stroke(QColor(255, 255, 255, 120), 3));
    p.drawLine(QPointF(12, 84), QPointF(88, 84));
    p.restore();
}

// The maker's mark: a ring with a body on its orbit.
void makerMark(QPainter& p, const QRectF& rect)
{
    p.save();
    enterGlyphBox(p, rect);
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    p.drawEllipse(QPointF(50, 50), 48, 48);
    p.setPen(stroke(White, 10));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(50, 50), 26, 26);
    p.setPen(QPen(Blue, 5));
    p.setBrush(Amber);
    const qreal a = qDegreesToRadians(40.0);
    p.drawEllipse(QPointF(50 + 26 * qCos(a), 50 - 26 * qSin(a)), 11, 11);
    p.restore();
}

QImage markImage(int size, void (*mark)(QPainter&, const QRectF&))
{
    return drawn(QSize(size, size),
                 [=](QPainter& p) { mark(p, QRectF(1, 1, size - 2, size - 2)); });
}

QImage badge()
{
    return drawn(QSize(160, 160), [](QPainter& p) {
        const QPointF c(80, 72);
        // Ribbon tails behind the rosette.
        p.setPen(Qt::NoPen);
        p.setBrush(BlueEdge);
        p.drawPolygon(QPolygonF({{52, 100}, {34, 156}, {50, 146}, {60, 158}, {76, 110}}));
        p.drawPolygon(QPolygonF({{108, 100}, {126, 156}, {110, 146}, {100, 158}, {84, 110}}));

        QPolygonF rosette;
        const int points = 24;
        for (int i = 0; i < 2 * points; ++i) {
            const qreal a = M_PI * i / points;
            const qreal r = i % 2 ? 64 : 70;
            rosette << c + QPointF(r * qCos(a), r * qSin(a));
        }
        p.setBrush(Blue);
        p.drawPolygon(rosette);
        p.setPen(QPen(White, 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 54, 54);
        glyphIn(p, QRectF(c.x() - 30, c.y() - 44, 60, 60), Glyph::check, White);
        text(p, QRectF(c.x() - 48, c.y() + 14, 96, 22),
             caption(QT_TRANSLATE_NOOP("Images", "VERIFY")), White, 20);
    });
}

QImage splash()
{
    return drawn(
        QSize(480, 320),
        [](QPainter& p) {
            // A faint ring-down across the bottom.
            QPolygonF wave;
            for (qreal x = 0; x <= 480; x += 1)
                wave << QPointF(x, 262 - 44 * std::exp(-x / 140) * std::cos(x / 14));
            p.setPen(stroke(QColor(255, 255, 255, 60), 4));
            p.drawPolyline(wave);

            programMark(p, QRectF(40, 70, 112, 112));
            text(p, QRectF(176, 78, 280, 56), QStringLiteral("Marlo Max"), White, 48,
                 Qt::AlignLeft | Qt::AlignVCenter);
            text(p, QRectF(178, 136, 280, 32),
                 caption(QT_TRANSLATE_NOOP("Images", "Trace-gas analyzer")), QColor(200, 222, 242),
                 22, Qt::AlignLeft | Qt::AlignVCenter);
            makerMark(p, QRectF(40, 216, 36, 36));
            text(p, QRectF(86, 216, 200, 36), QStringLiteral("Orvalis"), White, 20,
                 Qt::AlignLeft | Qt::AlignVCenter);
        },
        BlueEdge);
}

// The NE 107 status symbols: failure a red circle with a cross, function
// check an orange triangle with a spanner, an uncertain value a yellow
// triangle with a question mark, maintenance required a blue square with an
// oil can; normal a green circle with a tick. Triangles have a dark rim so the
// yellow one holds on a light ground.
constexpr int SymbolSize = 32;

enum class SymbolShape
{
    Circle,
    Triangle,
    Square
};

QImage statusSymbol(SymbolShape shape, const QColor& face, Glyph::Draw glyph, const QColor& ink)
{
    return drawn(QSize(SymbolSize, SymbolSize), [=](QPainter& p) {
        const QRectF box(1, 1, SymbolSize - 2, SymbolSize - 2);
        p.setBrush(face);
        switch (shape) {
        case SymbolShape::Circle:
            p.setPen(QPen(face.darker(130), 1.5));
            p.drawEllipse(box);
            glyphIn(p, box.adjusted(8, 8, -8, -8), glyph, ink);
            break;
        case SymbolShape::Triangle: {
            QPen rim(Ink, 1.5);
            rim.setJoinStyle(Qt::RoundJoin);
            p.setPen(rim);
            p.drawPolygon(QPolygonF({{box.center().x(), box.top() + 1},
                                     {box.right(), box.bottom() - 1},
                                     {box.left(), box.bottom() - 1}}));
            glyphIn(p, QRectF(box.center().x() - 7.5, box.top() + 12, 15, 15), glyph, ink);
            break;
        }
        case SymbolShape::Square:
            p.setPen(QPen(face.darker(130), 1.5));
            p.drawRoundedRect(box.adjusted(1, 1, -1, -1), 4, 4);
            glyphIn(p, box.adjusted(5, 5, -5, -5), glyph, ink);
            break;
        }
    });
}

using Maker = std::function<QImage()>;

const QHash<QString, Maker>& catalogue()
{
    static const QHash<QString, Maker> makers = [] {
        QHash<QString, Maker> m;
        for (int digit = 0; digit <= 9; ++digit)
            m.insert(QStringLiteral("%1.png").arg(digit),
                     [digit] { return keypadText(QString::number(digit), Ink); });
        m.insert(QStringLiteral("C.png"), [] { return keypadText(QStringLiteral("C"), Red); });
        m.insert(QStringLiteral("Dot.png"), keypadDot);
        m.insert(QStringLiteral("plusminus.png"), keypadPlusMinus);

        m.insert(QStringLiteral("Button_Arrow-R.png"), [] { return arrowButton(0); });
        m.insert(QStringLiteral("Button_Arrow-D.png"), [] { return arrowButton(90); });
        m.insert(QStringLiteral("Button_Arrow-L.png"), [] { return arrowButton(180); });
        m.insert(QStringLiteral("Button_Arrow-U.png"), [] { return arrowButton(270); });

        m.insert(QStringLiteral("OK_c.png"), [] {
            return commandButton(CommandButton, Green, GreenEdge, Glyph::check,
                                 caption(QT_TRANSLATE_NOOP("Images", "OK")));
        });
        m.insert(QStringLiteral("Cancel_c.png"), [] {
            return commandButton(CommandButton, Slate, SlateEdge, Glyph::cross,
                                 caption(QT_TRANSLATE_NOOP("Images", "Cancel")));
        });
        m.insert(QStringLiteral("Delete_c.png"), [] {
            return commandButton(CommandButton, Red, RedEdge, Glyph::trash,
                                 caption(QT_TRANSLATE_NOOP("Images", "Delete")));
        });
        m.insert(QStringLiteral("Next.png"), [] {
            return commandButton(CommandButton, Blue, BlueEdge, Glyph::arrowRight,
                                 caption(QT_TRANSLATE_NOOP("Images", "Next")), GlyphSide::After);
        });
        m.insert(QStringLiteral("Disable.png"), [] {
            return commandButton(CommandButton, Red, RedEdge, Glyph::noEntry,
                                 caption(QT_TRANSLATE_NOOP("Images", "Disable")));
        });
        m.insert(QStringLiteral("Remind_me_later_green.png"), [] {
            return commandButton(LongButton, Green, GreenEdge, Glyph::clock,
                                 caption(QT_TRANSLATE_NOOP("Images", "Remind me later")));
        });
        m.insert(QStringLiteral("disable_reminder.png"), [] {
            return commandButton(LongButton, Red, RedEdge, Glyph::noEntry,
                                 caption(QT_TRANSLATE_NOOP("Images", "Disable reminder")));
        });

        m.insert(QStringLiteral("Checkbox_checked.png"), [] { return checkbox(true); });
        m.insert(QStringLiteral("Checkbox_unchecked.png"), [] { return checkbox(false); });
        m.insert(QStringLiteral("Radio_Button_Selected.png"), [] { return radioButton(true); });
        m.insert(QStringLiteral("Radio_Button_Open.png"), [] { return radioButton(false); });

        const QColor greenLamp(62, 192, 96), redLamp(230, 64, 52), greyLamp(176, 182, 188);
        m.insert(QStringLiteral("GreenLight.png"), [=] { return lamp(48, greenLamp, GreenEdge); });
        m.insert(QStringLiteral("RedLight.png"), [=] { return lamp(48, redLamp, RedEdge); });
        m.insert(QStringLiteral("GrayLight.png"), [=] { return lamp(48, greyLamp, GreyEdge); });
        m.insert(QStringLiteral("green.png"), [=] { return lamp(16, greenLamp, GreenEdge); });
        m.insert(QStringLiteral("red.png"), [=] { return lamp(16, redLamp, RedEdge); });
        m.insert(QStringLiteral("grey.png"), [=] { return lamp(16, greyLamp, GreyEdge); });

        const struct
        {
            const char* name;
            const char* caption;
            Glyph::Draw glyph;
        } tiles[] = {
            {"Mode.png", QT_TRANSLATE_NOOP("Images", "Mode"), Glyph::dial},
            {"Measure.png", QT_TRANSLATE_NOOP("Images", "Measure"), Glyph::gauge},
            {"Tune.png", QT_TRANSLATE_NOOP("Images", "Tune"), Glyph::sliders},
            {"Service.png", QT_TRANSLATE_NOOP("Images", "Service"), Glyph::wrench},
            {"Scan.png", QT_TRANSLATE_NOOP("Images", "Scan"), Glyph::spectrum},
            {"Settings.png", QT_TRANSLATE_NOOP("Images", "Settings"), Glyph::gear},
            {"Trend.png", QT_TRANSLATE_NOOP("Images", "Trend"), Glyph::trend},
            {"RDGraph.png", QT_TRANSLATE_NOOP("Images", "RD Graph"), Glyph::ringDown},
            {"Display.png", QT_TRANSLATE_NOOP("Images", "Display"), Glyph::monitor},
            {"Lock.png", QT_TRANSLATE_NOOP("Images", "Lock"), Glyph::lockClosed},
            {"Unlock.png", QT_TRANSLATE_NOOP("Images", "Unlock"), Glyph::lockOpen},
        };
        for (const auto& t : tiles) {
            const char* const word = t.caption;
            const Glyph::Draw glyph = t.glyph;
            m.insert(QString::fromLatin1(t.name),
                     [=] { return navigationTile(caption(word), Blue, BlueEdge, glyph); });
        }
        m.insert(QStringLiteral("Shutdown.png"), [] {
            return navigationTile(caption(QT_TRANSLATE_NOOP("Images", "Shutdown")), Red, RedEdge,
                                  Glyph::power);
        });
        m.insert(QStringLiteral("Scan_small.png"),
                 [] { return smallTile(44, Blue, BlueEdge, Glyph::spectrum); });

        m.insert(QStringLiteral("NE107_Failure.png"), [] {
            return statusSymbol(SymbolShape::Circle, Ne107Failure, Glyph::cross, White);
        });
        m.insert(QStringLiteral("NE107_FunctionCheck.png"), [] {
            return statusSymbol(SymbolShape::Triangle, Ne107FunctionCheck, Glyph::wrench, Ink);
        });
        m.insert(QStringLiteral("NE107_Uncertain.png"), [] {
            return statusSymbol(SymbolShape::Triangle, Ne107Uncertain, Glyph::question, Ink);
        });
        m.insert(QStringLiteral("NE107_MaintenanceRequired.png"), [] {
            return statusSymbol(SymbolShape::Square, Ne107Maintenance, Glyph::oilCan, White);
        });
        m.insert(QStringLiteral("NE107_Normal.png"), [] {
            return statusSymbol(SymbolShape::Circle, Ne107Normal, Glyph::check, White);
        });

        m.insert(QStringLiteral("PVP_Badge.png"), badge);
        m.insert(QStringLiteral("bubbles.png"), bubbles);
        m.insert(QStringLiteral("Cross.bmp"), closeButton);
        m.insert(QStringLiteral("logo.ico"), [] { return markImage(64, makerMark); });
        m.insert(QStringLiteral("marlomax.ico"), [] { return markImage(64, programMark); });
        // The desktop icon of both installed programs.
        m.insert(QStringLiteral("marlomax.png"), [] { return markImage(128, programMark); });
        m.insert(QStringLiteral("splash.bmp"), splash);
        return m;
    }();
    return makers;
}

} // namespace

QImage drawImage(const QString& name)
{
    const auto maker = catalogue().constFind(name);
    if (maker == catalogue().constEnd())
        return QImage();
    QImage image = (*maker)();
    // BMP keeps no alpha channel; say so rather than let the writer guess.
    if (name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}
