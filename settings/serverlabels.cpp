#include "settings/serverlabels.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QTextLayout>

ServerLabels::ServerLabels(QObject* parent) : QObject(parent) {}

ServerLabels::Entry& ServerLabels::entryFor(QLabel* label)
{
    if (!m_entries.contains(label)) {
        // The label's size no longer follows its text: the text follows the label.
        label->setWordWrap(false);
        label->setMinimumWidth(1);
        label->installEventFilter(this);
    }
    return m_entries[label];
}

void ServerLabels::show(QLabel* label, const QString& prefix, const QString& text, ServerText kind)
{
    Entry& entry = entryFor(label);
    entry.prefix = prefix;
    entry.text = capServerText(text);
    entry.kind = kind;
    fit(label, entry);
}

void ServerLabels::setLines(QLabel* label, int lines)
{
    entryFor(label).lines = std::max(lines, 1);
}

bool ServerLabels::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
        auto* label = static_cast<QLabel*>(watched);
        const auto it = m_entries.constFind(label);
        if (it != m_entries.cend())
            fit(label, *it);
    }
    return QObject::eventFilter(watched, event);
}

void ServerLabels::fit(QLabel* label, const Entry& entry)
{
    // A hidden label has no width of its own yet: it is fitted when shown.
    if (!label->isVisible()) {
        showServerText(label, entry.prefix + entry.text, entry.kind);
        return;
    }
    const int width =
        label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
    // Subscript digits are narrower than the digits measured here, so a
    // formula cut to fit as plain text fits as marked up too.
    const QString shown = fitted(entry.prefix + entry.text, label->font(), width, entry.lines);
    showServerText(label, shown, entry.kind);
}

QString ServerLabels::fitted(const QString& text, const QFont& font, int width, int lines)
{
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) <= width || width <= 0)
        return text;
    QStringList shown;
    int start = 0;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (int i = 1; i < lines && start < text.size(); ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        shown.append(text.mid(start, line.textLength()).trimmed());
        start += line.textLength();
    }
    layout.endLayout();
    const QString rest = text.mid(start).trimmed();
    if (!rest.isEmpty())
        shown.append(metrics.elidedText(rest, Qt::ElideRight, width));
    return shown.join(QLatin1Char('\n'));
}
