#include "support/screencheck.h"

#include "support/testsupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocument>
#include <QWidget>
#include <cmath>

namespace TestSupport {

namespace {

// Rounding in text layout and style metrics; a text this much too wide still shows whole.
constexpr int kSlackPx = 1;

/// The widgets under root (root included) that are on screen in root's window.
QList<const QWidget*> shownWidgets(const QWidget* root)
{
    QList<const QWidget*> widgets;
    const QWidget* window = root->window();
    const auto consider = [&](const QWidget* widget) {
        if (widget->isVisible() && widget->window() == window && !widget->size().isEmpty())
            widgets << widget;
    };
    consider(root);
    for (const QWidget* widget : root->findChildren<QWidget*>())
        consider(widget);
    return widgets;
}

QRect rectInWindow(const QWidget* widget)
{
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

QString withoutMnemonic(QString text)
{
    text.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

int widestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest;
}

QString finding(const QWidget* widget, const QString& text, int needed, int room, const char* what)
{
    return QStringLiteral("%1: \"%2\" needs %3 px %4, has %5")
        .arg(widgetPath(widget), text.left(60))
        .arg(needed)
        .arg(QLatin1String(what))
        .arg(room);
}

/// Where QLabel lays out its text: the contents rectangle less margin and indent.
QRect labelTextRect(const QLabel* label)
{
    const int margin = label->margin();
    QRect rect = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    int indent = label->indent();
    if (indent < 0 && label->frameWidth())
        indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0) {
        const Qt::Alignment align =
            QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        if (align & Qt::AlignLeft)
            rect.setLeft(rect.left() + indent);
        if (align & Qt::AlignRight)
            rect.setRight(rect.right() - indent);
        if (align & Qt::AlignTop)
            rect.setTop(rect.top() + indent);
        if (align & Qt::AlignBottom)
            rect.setBottom(rect.bottom() - indent);
    }
    return rect;
}

/// The room a label's text needs, as QLabel lays it out in room, and the
/// text as the operator reads it.
QSize labelTextSize(const QLabel* label, const QRect& room, QString* plain)
{
    const QString text = label->text();
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    *plain = text;
    if (rich) {
        // The same layout QLabel gives rich text: its font, no document margin.
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(text);
        *plain = document.toPlainText();
        if (label->wordWrap())
            document.setTextWidth(room.width());
        return QSize(int(std::ceil(document.idealWidth())),
                     int(std::ceil(document.size().height())));
    }
    const QFontMetrics metrics(label->font());
    if (label->wordWrap())
        return metrics
            .boundingRect(QRect(0, 0, room.width(), 1 << 20),
                          int(label->alignment()) | Qt::TextWordWrap, text)
            .size();
    const int lines = text.count(QLatin1Char('\n')) + 1;
    return QSize(widestLine(metrics, text), metrics.height() + (lines - 1) * metrics.lineSpacing());
}

void checkLabel(const QLabel* label, QStringList* findings)
{
    if (label->text().isEmpty() || !label->pixmap(Qt::ReturnByValue).isNull())
        return;
    const QRect room = labelTextRect(label);
    QString plain;
    const QSize needed = labelTextSize(label, room, &plain);
    if (needed.width() > room.width() + kSlackPx)
        *findings << finding(label, plain, needed.width(), room.width(), "wide");
    else if (needed.height() > room.height() + kSlackPx)
        *findings << finding(label, plain, needed.height(), room.height(), "high");
}

/// The rectangle the button's style lays its icon and words out in.
QRect buttonContents(const QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(button))
        contents = QStyle::SE_RadioButtonContents;
    return button->style()->subElementRect(contents, &option, button);
}

void checkButton(const QAbstractButton* button, QStringList* findings)
{
    const QString text = withoutMnemonic(button->text());
    if (text.isEmpty())
        return;
    if (!qobject_cast<const QPushButton*>(button) && !qobject_cast<const QCheckBox*>(button) &&
        !qobject_cast<const QRadioButton*>(button))
        return;
    const QRect room = buttonContents(button);
    const QFontMetrics metrics(button->font());
    int needed = widestLine(metrics, text);
    if (!button->icon().isNull())
        needed += button->iconSize().width() + 4;
    if (needed > room.width() + kSlackPx)
        *findings << finding(button, text, needed, room.width(), "wide");
    else if (metrics.height() > room.height() + kSlackPx)
        *findings << finding(button, text, metrics.height(), room.height(), "high");
}

void checkGroupBox(const QGroupBox* box, QStringList* findings)
{
    const QString title = withoutMnemonic(box->title());
    if (title.isEmpty())
        return;
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    if (box->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const int room = qMin(label.right(), box->width() - 1) - qMax(label.left(), 0) + 1;
    const int needed = QFontMetrics(box->font()).horizontalAdvance(title);
    if (needed > room + kSlackPx)
        *findings << finding(box, title, needed, room, "wide");
}

void checkTabs(const QTabBar* bar, QStringList* findings)
{
    const QFontMetrics metrics(bar->font());
    const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
    for (int i = 0; i < bar->count(); ++i) {
        const QString text = withoutMnemonic(bar->tabText(i));
        if (!bar->isTabVisible(i) || text.isEmpty())
            continue;
        const QRect tab = bar->tabRect(i);
        const QString tabName = QStringLiteral("%1[%2]").arg(widgetPath(bar)).arg(i);
        if (!bar->rect().contains(tab)) {
            *findings
                << QStringLiteral("%1: tab \"%2\" lies beyond its tab bar").arg(tabName, text);
            continue;
        }
        int needed = metrics.horizontalAdvance(text) + padding;
        if (!bar->tabIcon(i).isNull())
            needed += bar->iconSize().width() + 4;
        if (needed > tab.width() + kSlackPx)
            *findings << QStringLiteral("%1: tab \"%2\" needs %3 px wide, has %4")
                             .arg(tabName, text)
                             .arg(needed)
                             .arg(tab.width());
    }
}

double luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

/// The colour most pixels of row y between left and right show.
QRgb commonest(const QImage& image, int y, int left, int right)
{
    QHash<QRgb, int> counts;
    QRgb best = 0;
    int bestCount = 0;
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = left; x <= right; ++x) {
        const int count = ++counts[line[x]];
        if (count > bestCount) {
            bestCount = count;
            best = line[x];
        }
    }
    return best;
}

/// The worst contrast of text drawn in area: the pixel that stands out most
/// from its row's background is the text's colour, judged against every
/// row's. A row's background is what most of it shows, looked at a margin
/// wider than the text, so a short text ("-") cannot pass for the background.
double textContrast(const QImage& image, const QRect& area, int margin)
{
    const QRect box = area.intersected(image.rect());
    if (box.isEmpty())
        return 21;
    const QRect wide = area.adjusted(-margin, 0, margin, 0).intersected(image.rect());
    QVector<QRgb> grounds;
    QColor text;
    double strongest = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const QRgb ground = commonest(image, y, wide.left(), wide.right());
        grounds << ground;
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x) {
            const double ratio = contrastRatio(QColor(line[x]), QColor(ground));
            if (ratio > strongest) {
                strongest = ratio;
                text = QColor(line[x]);
            }
        }
    }
    double worst = strongest;
    for (QRgb ground : grounds) {
        // A row that is mostly text is no background.
        if (QColor(ground) != text)
            worst = qMin(worst, contrastRatio(text, QColor(ground)));
    }
    return worst;
}

QString contrastFinding(const QWidget* widget, const QString& text, double ratio)
{
    return QStringLiteral("%1: \"%2\" reads at %3:1")
        .arg(widgetPath(widget), text.left(60))
        .arg(ratio, 0, 'f', 1);
}

/// Where a button draws its words, past its icon.
QRect buttonTextRect(const QAbstractButton* button)
{
    QRect room = buttonContents(button);
    if (qobject_cast<const QPushButton*>(button) && !button->icon().isNull()) {
        const int words = button->fontMetrics().horizontalAdvance(withoutMnemonic(button->text()));
        const int whole = button->iconSize().width() + 4 + words;
        room.setLeft(qMax(room.left(), room.center().x() - whole / 2 + whole - words));
    }
    // The words' own line, centred: not the face above and below them.
    const int height = qMin(room.height(), button->fontMetrics().height());
    return QRect(room.left(), room.center().y() - height / 2, room.width(), height);
}

/// One item of the view drawn selected, as its delegate and style draw it.
QImage selectedItem(QAbstractItemView* view)
{
    QAbstractItemModel* model = view->model();
    if (!model || model->rowCount() == 0)
        return QImage();
    QModelIndex index = model->index(0, 0, view->rootIndex());
    if (auto* combo = qobject_cast<QComboBox*>(
            view->parentWidget() ? view->parentWidget()->parentWidget() : nullptr))
        index = model->index(0, combo->modelColumn(), view->rootIndex());
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.widget = view;
    option.font = view->font();
    option.state |= QStyle::State_Selected | QStyle::State_Enabled | QStyle::State_Active;
    option.showDecorationSelected = true;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QSize hint = view->itemDelegate(index)->sizeHint(option, index);
    option.rect = QRect(QPoint(0, 0), QSize(qMax(view->viewport()->width(), hint.width()),
                                            qMax(hint.height(), view->fontMetrics().height())));
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(view->palette().color(QPalette::Base));
    QPainter painter(&image);
    view->itemDelegate(index)->paint(&painter, option, index);
    painter.end();
    return image;
}

bool isAncestorOf(const QWidget* ancestor, const QWidget* widget)
{
    for (const QWidget* up = widget->parentWidget(); up; up = up->parentWidget()) {
        if (up == ancestor)
            return true;
    }
    return false;
}

} // namespace

QString widgetPath(const QWidget* widget)
{
    QStringList names;
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            names.prepend(name);
    }
    if (names.isEmpty())
        names << QLatin1String(widget->metaObject()->className());
    return names.join(QLatin1Char('/'));
}

QStringList cutTexts(const QWidget* root)
{
    QStringList findings;
    for (const QWidget* widget : shownWidgets(root)) {
        if (auto* label = qobject_cast<const QLabel*>(widget))
            checkLabel(label, &findings);
        else if (auto* button = qobject_cast<const QAbstractButton*>(widget))
            checkButton(button, &findings);
        else if (auto* box = qobject_cast<const QGroupBox*>(widget))
            checkGroupBox(box, &findings);
        else if (auto* bar = qobject_cast<const QTabBar*>(widget))
            checkTabs(bar, &findings);
    }
    return findings;
}

QStringList widgetsOutsideWindow(const QWidget* root)
{
    QStringList findings;
    const QRect window = root->window()->rect();
    for (const QWidget* widget : shownWidgets(root)) {
        const QRect rect = rectInWindow(widget);
        if (!window.contains(rect))
            findings << QStringLiteral("%1: at (%2,%3) %4 x %5, outside the %6 x %7 window")
                            .arg(widgetPath(widget))
                            .arg(rect.x())
                            .arg(rect.y())
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(window.width())
                            .arg(window.height());
    }
    return findings;
}

QStringList overlappingWidgets(const QWidget* root)
{
    QList<const QWidget*> named;
    for (const QWidget* widget : shownWidgets(root)) {
        const QString name = widget->objectName();
        if (widget != root && !name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            named << widget;
    }
    QStringList findings;
    for (int i = 0; i < named.size(); ++i) {
        const QRect a = rectInWindow(named.at(i));
        for (int j = i + 1; j < named.size(); ++j) {
            if (isAncestorOf(named.at(i), named.at(j)) || isAncestorOf(named.at(j), named.at(i)))
                continue;
            const QRect common = a.intersected(rectInWindow(named.at(j)));
            if (!common.isEmpty())
                findings << QStringLiteral("%1 and %2 share %3 x %4 px")
                                .arg(widgetPath(named.at(i)), widgetPath(named.at(j)))
                                .arg(common.width())
                                .arg(common.height());
        }
    }
    return findings;
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QStringList lowContrastTexts(const QWidget* root, double minRatio)
{
    QStringList findings;
    const QImage window = root->window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QList<QAbstractItemView*> lists;
    for (const QWidget* widget : shownWidgets(root)) {
        QRect area;
        QString text;
        if (auto* label = qobject_cast<const QLabel*>(widget)) {
            if (label->pixmap(Qt::ReturnByValue).isNull())
                text = label->text();
            const QRect room = labelTextRect(label);
            QString plain;
            const QSize needed = labelTextSize(label, room, &plain).boundedTo(room.size());
            area = QStyle::alignedRect(label->layoutDirection(), label->alignment(), needed, room);
        } else if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            text = withoutMnemonic(button->text());
            area = buttonTextRect(button);
        } else if (auto* view = qobject_cast<const QAbstractItemView*>(widget)) {
            if (!qobject_cast<const QHeaderView*>(view))
                lists << const_cast<QAbstractItemView*>(view);
        } else if (auto* combo = qobject_cast<const QComboBox*>(widget)) {
            if (combo->isEnabled())
                lists << combo->view();
        }
        if (text.trimmed().isEmpty() || !widget->isEnabled())
            continue;
        const QRect inWindow(widget->mapTo(widget->window(), area.topLeft()), area.size());
        const double ratio = textContrast(window, inWindow, widget->fontMetrics().height());
        if (ratio < minRatio)
            findings << contrastFinding(widget, text, ratio);
    }
    for (QAbstractItemView* view : lists) {
        const QImage item = selectedItem(view);
        if (item.isNull())
            continue;
        const double ratio = textContrast(item, item.rect(), 0);
        if (ratio < minRatio)
            findings << contrastFinding(view, QStringLiteral("selected item"), ratio);
    }
    return findings;
}

QStringList screenFindings(const QWidget* root)
{
    QStringList findings;
    for (const QString& line : lowContrastTexts(root))
        findings << QStringLiteral("low contrast: ") + line;
    for (const QString& line : cutTexts(root))
        findings << QStringLiteral("cut text: ") + line;
    for (const QString& line : widgetsOutsideWindow(root))
        findings << QStringLiteral("outside: ") + line;
    for (const QString& line : overlappingWidgets(root))
        findings << QStringLiteral("overlap: ") + line;
    return findings;
}

int pixelsDrawnIn(const QImage& drawn, const QImage& background, const QColor& colour,
                  double minShare)
{
    // Channels where colour and background are this close tell nothing about the share.
    constexpr int kDistinctLevels = 24;
    constexpr double kShareSpread = 0.1;
    const QImage a = drawn.convertToFormat(QImage::Format_RGB32);
    const QImage b = background.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size())
        return 0;
    const int target[3] = {colour.red(), colour.green(), colour.blue()};
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* drawnLine = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* backLine = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (drawnLine[x] == backLine[x])
                continue;
            const int shown[3] = {qRed(drawnLine[x]), qGreen(drawnLine[x]), qBlue(drawnLine[x])};
            const int under[3] = {qRed(backLine[x]), qGreen(backLine[x]), qBlue(backLine[x])};
            double low = 2, high = -1;
            int channels = 0;
            for (int c = 0; c < 3; ++c) {
                const int span = target[c] - under[c];
                if (std::abs(span) < kDistinctLevels) {
                    // Not telling, but it must not have moved further than the colour could move
                    // it.
                    if (std::abs(shown[c] - under[c]) > kDistinctLevels)
                        channels = -3;
                    continue;
                }
                const double share = double(shown[c] - under[c]) / span;
                low = qMin(low, share);
                high = qMax(high, share);
                ++channels;
            }
            if (channels >= 2 && low >= minShare && high <= 1.05 && high - low <= kShareSpread)
                ++count;
        }
    }
    return count;
}

QStringList lookAt(QWidget* window, const QString& name)
{
    // What the operator sees: the layouts have taken in every change already
    // made (a label that asked for a second line has it by the next paint).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    saveScreenshot(window, name);
    return screenFindings(window);
}

} // namespace TestSupport
