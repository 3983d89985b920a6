#include "widgets/statusbadge.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionButton>

namespace {
// Room around the pill and inside it, in pixels.
constexpr int kMargin = 3;
constexpr int kPadding = 10;
} // namespace

StatusBadge::StatusBadge(QWidget* parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setStatusClass(Analyzer::StatusClass::Failure);
}

QColor StatusBadge::classColour(Analyzer::StatusClass statusClass)
{
    // The colours NE 107 gives its status signals, normal in green.
    switch (statusClass) {
    case Analyzer::StatusClass::Failure:
        return QColor(211, 32, 32);
    case Analyzer::StatusClass::Maintenance:
        return QColor(236, 122, 8);
    case Analyzer::StatusClass::OutOfLimits:
        return QColor(250, 204, 21);
    case Analyzer::StatusClass::Normal:
        break;
    }
    return QColor(46, 160, 67);
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
    for (Analyzer::StatusClass c :
         {Analyzer::StatusClass::Failure, Analyzer::StatusClass::Maintenance,
          Analyzer::StatusClass::OutOfLimits, Analyzer::StatusClass::Normal})
        widest = qMax(widest, metrics.horizontalAdvance(classText(c)));
    return QSize(widest + 2 * (kMargin + kPadding), metrics.height() + 2 * kMargin + 4);
}

QRect StatusBadge::pillRect() const
{
    return rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

void StatusBadge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The title bar's gradient runs on behind the pill.
    QLinearGradient ground(0, 0, 0, height());
    ground.setColorAt(0, QColor(0x50, 0x50, 0x50));
    ground.setColorAt(1, QColor(0xA0, 0xA0, 0xA0));
    painter.fillRect(rect(), ground);

    QColor fill = classColour(m_class);
    if (isDown())
        fill = fill.darker(125);
    const QRectF pill = pillRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);

    // Dark words on the light yellow, white on the others.
    painter.setPen(m_class == Analyzer::StatusClass::OutOfLimits ? QColor(40, 40, 40)
                                                                 : QColor(Qt::white));
    painter.setFont(font());
    painter.drawText(pill, Qt::AlignCenter, text());
}
