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
    setStatusClass(AnalyzerStatus::Failure);
}

QColor StatusBadge::classColour(AnalyzerStatus::Class statusClass)
{
    // The colours NE 107 gives its status signals, normal in green.
    switch (statusClass) {
    case AnalyzerStatus::Failure:
        return QColor(211, 32, 32);
    case AnalyzerStatus::Maintenance:
        return QColor(236, 122, 8);
    case AnalyzerStatus::OutOfLimits:
        return QColor(250, 204, 21);
    case AnalyzerStatus::Normal:
        break;
    }
    return QColor(46, 160, 67);
}

QString StatusBadge::classText(AnalyzerStatus::Class statusClass)
{
    switch (statusClass) {
    case AnalyzerStatus::Failure:
        return tr("Failure");
    case AnalyzerStatus::Maintenance:
        return tr("Maintenance");
    case AnalyzerStatus::OutOfLimits:
        return tr("Out of limits");
    case AnalyzerStatus::Normal:
        break;
    }
    return tr("Normal");
}

void StatusBadge::setStatusClass(AnalyzerStatus::Class statusClass)
{
    m_class = statusClass;
    setText(classText(statusClass));
    updateGeometry();
    update();
}

QSize StatusBadge::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(text()) + 2 * (kMargin + kPadding),
                 metrics.height() + 2 * kMargin + 4);
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
    painter.setPen(m_class == AnalyzerStatus::OutOfLimits ? QColor(40, 40, 40)
                                                          : QColor(Qt::white));
    painter.setFont(font());
    painter.drawText(pill, Qt::AlignCenter, text());
}
