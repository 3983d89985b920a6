#include "widgets/elidedlabel.h"

#include <QEvent>
#include <QTextDocument>
#include <cmath>

namespace {
const QChar kEllipsis(0x2026);
} // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {}

bool ElidedLabel::setServerText(const QString& prefix, const QString& text, ServerText kind)
{
    const QString capped = capServerText(text);
    if (m_hasServerText && prefix == m_prefix && capped == m_text && kind == m_kind)
        return false;
    capServerTextLogged(text, objectName());
    m_prefix = prefix;
    m_text = capped;
    m_kind = kind;
    m_hasServerText = true;
    // The label's lines are its own: QLabel never wraps the text behind its back.
    setWordWrap(false);
    setTextFormat(kind == ServerText::Formula ? Qt::RichText : Qt::PlainText);
    fit();
    updateGeometry();
    return true;
}

QString ElidedLabel::markup(int from, int to, bool cut) const
{
    const int split = m_prefix.size();
    const QString prefix = m_prefix.mid(from, qMax(0, qMin(to, split) - from));
    const QString text = m_text.mid(qMax(from - split, 0), qMax(0, to - qMax(from, split)));
    const QString shown = serverTextMarkup(prefix, text, m_kind);
    return cut ? shown + kEllipsis : shown;
}

int ElidedLabel::textWidth(const QString& markup) const
{
    if (m_kind == ServerText::Plain)
        return fontMetrics().horizontalAdvance(markup);
    // Laid out as QLabel lays out rich text: its font, no document margin.
    QTextDocument document;
    document.setDefaultFont(font());
    document.setDocumentMargin(0);
    document.setHtml(markup);
    return int(std::ceil(document.idealWidth()));
}

void ElidedLabel::setLeastCharacters(int characters)
{
    m_leastCharacters = qMax(1, characters);
    updateGeometry();
}

void ElidedLabel::setLines(int lines)
{
    m_lines = qMax(1, lines);
    fit();
    updateGeometry();
}

int ElidedLabel::overhead() const
{
    int around = width() - contentsRect().width() + 2 * margin();
    // QLabel indents its text from a frame by half an "x" on the aligned side.
    const int indentation = indent() < 0 && frameWidth() > 0
                                ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                                : qMax(indent(), 0);
    if (alignment() & (Qt::AlignLeft | Qt::AlignRight))
        around += indentation;
    return around;
}

void ElidedLabel::fit()
{
    if (!m_hasServerText)
        return;
    const QString whole = fullText();
    // Until it is laid out on screen the label has no real width to fit.
    const int room = width() - overhead();
    if (!isVisible() || room <= 0 || textWidth(markup(0, whole.size())) <= room) {
        setText(markup(0, whole.size()));
        return;
    }
    // Whole lines as they wrap (measured plain: subscript digits are
    // narrower, so a formula fits as marked up too), then the rest on the
    // last line, as much of it as fits before the ellipsis.
    const QVector<int> starts = lineStarts(whole, font(), room, m_lines);
    QStringList shown;
    const auto trimmed = [&whole](int& from, int& to) {
        while (from < to && whole.at(from).isSpace())
            ++from;
        while (to > from && whole.at(to - 1).isSpace())
            --to;
    };
    for (int i = 0; i + 1 < starts.size(); ++i) {
        int from = starts.at(i);
        int to = starts.at(i + 1);
        trimmed(from, to);
        shown.append(markup(from, to));
    }
    int from = starts.last();
    int to = whole.size();
    trimmed(from, to);
    if (textWidth(markup(from, to)) <= room) {
        shown.append(markup(from, to));
    } else {
        const QString rest = whole.mid(from, to - from);
        const int length = longestFitting(rest.size(), [&](int length) {
            return textWidth(markup(from, from + elidedLength(rest, length), true)) <= room;
        });
        shown.append(markup(from, from + elidedLength(rest, length), true));
    }
    const bool rich = m_kind == ServerText::Formula;
    setText(shown.join(rich ? QStringLiteral("<br>") : QStringLiteral("\n")));
}

QSize ElidedLabel::sizeHint() const
{
    QSize hint = QLabel::sizeHint();
    if (m_hasServerText)
        hint.setWidth(overhead() + textWidth(markup(0, fullText().size())));
    return hint;
}

QSize ElidedLabel::minimumSizeHint() const
{
    QSize hint = QLabel::minimumSizeHint();
    if (m_hasServerText) {
        // A name keeps its first few characters when the room is shared with
        // other names, so that each can still be told apart.
        const int least = m_prefix.size() + m_leastCharacters;
        const int size = fullText().size();
        hint.setWidth(overhead() + textWidth(size > least
                                                 ? markup(0, elidedLength(fullText(), least), true)
                                                 : markup(0, size)));
    }
    return hint;
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fit();
}

void ElidedLabel::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    fit();
}

void ElidedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fit();
}
