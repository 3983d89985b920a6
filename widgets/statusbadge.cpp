#include "widgets/statusbadge.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmapCache>

namespace {
// Room around the pill, inside it, and between symbol and words, in pixels.
constexpr int kMargin = 3;
constexpr int kPadding = 8;
constexpr int kGap = 6;
// Dark words on a light pill: the class's colour is in its symbol, so the
// words read the same whatever the class.
const QColor kFace(255, 255, 255);
const QColor kPressedFace(214, 220, 226);
const QColor kInk(31, 45, 58);
const QColor kRim(120, 130, 140);
} // namespace

StatusBadge::StatusBadge(QWidget* parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    // The palette says what the badge draws, for whoever reads it (the screen checks).
    QPalette palette = this->palette();
    palette.setColor(QPalette::ButtonText, kInk);
    palette.setColor(QPalette::Button, kFace);
    setPalette(palette);
    setStatusClass(Analyzer::StatusClass::Failure);
}

QPixmap StatusBadge::classSymbol(Analyzer::StatusClass statusClass, int size)
{
    const QString path = Analyzer::statusClassSymbol(statusClass);
    const QString key = path + QLatin1Char('@') + QString::number(size);
    QPixmap symbol;
    if (!QPixmapCache::find(key, &symbol)) {
        symbol = QPixmap(path);
        if (!symbol.isNull() && symbol.width() != size)
            symbol = symbol.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPixmapCache::insert(key, symbol);
    }
    return symbol;
}

QString StatusBadge::classText(Analyzer::StatusClass statusClass)
{
    return Analyzer::statusClassName(statusClass);
}

void StatusBadge::setStatusClass(Analyzer::StatusClass statusClass)
{
    m_class = statusClass;
    setText(classText(statusClass));
    update();
}

QSize StatusBadge::sizeHint() const
{
    // As wide as the widest class: the class may change on any reply, and a
    // badge that resized with it would be drawn cut until the title bar's
    // next layout, and would shift the names beside it each time.
    const QFontMetrics metrics(font());
    int widest = 0;
    for (Analyzer::StatusClass c : Analyzer::statusClasses())
        widest = qMax(widest, metrics.horizontalAdvance(classText(c)));
    const int height = qMax(kMinHeight, qMax(metrics.height(), kSymbolSize) + 2 * kMargin + 4);
    return QSize(widest + kSymbolSize + kGap + 2 * (kMargin + kPadding), height);
}

QRect StatusBadge::pillRect() const
{
    return rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

QRect StatusBadge::symbolRect() const
{
    const QRect pill = pillRect();
    return QRect(pill.left() + kPadding, pill.center().y() - kSymbolSize / 2 + 1, kSymbolSize,
                 kSymbolSize);
}

void StatusBadge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The title bar's gradient runs on behind the pill.
    QLinearGradient ground(0, 0, 0, height());
    ground.setColorAt(0, QColor(0x30, 0x30, 0x30));
    ground.setColorAt(1, QColor(0x60, 0x60, 0x60));
    painter.fillRect(rect(), ground);

    const QRectF pill = QRectF(pillRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(kRim, 1));
    painter.setBrush(isDown() ? kPressedFace : kFace);
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);

    const QRect symbol = symbolRect();
    painter.drawPixmap(symbol, classSymbol(m_class, kSymbolSize));
    QRect words = pillRect();
    words.setLeft(symbol.right() + 1 + kGap);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(words, Qt::AlignLeft | Qt::AlignVCenter, text());
}
