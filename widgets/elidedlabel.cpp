#include "widgets/elidedlabel.h"

#include <QEvent>
#include <QTextDocument>
#include <cmath>

namespace {
const QChar kEllipsis(0x2026);
} // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {}

bool ElidedLabel::setServerText(const QString& text, ServerText kind)
{
    if (m_hasServerText && text == m_text && kind == m_kind)
        return false;
    m_text = text;
    m_kind = kind;
    m_hasServerText = true;
    // Plain text is never read as markup; a formula is escaped by subscriptDigits.
    setTextFormat(kind == ServerText::Formula ? Qt::RichText : Qt::PlainText);
    fit();
    updateGeometry();
    return true;
}

QString ElidedLabel::markup(const QString& text) const
{
    return m_kind == ServerText::Formula ? subscriptDigits(text) : text;
}

int ElidedLabel::textWidth(const QString& text) const
{
    if (m_kind == ServerText::Plain)
        return fontMetrics().horizontalAdvance(text);
    // Laid out as QLabel lays out rich text: its font, no document margin.
    QTextDocument document;
    document.setDefaultFont(font());
    document.setDocumentMargin(0);
    document.setHtml(markup(text));
    return int(std::ceil(document.idealWidth()));
}

void ElidedLabel::setLeastCharacters(int characters)
{
    m_leastCharacters = qMax(1, characters);
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
    // Until it is laid out on screen the label has no real width to fit.
    const int room = width() - overhead();
    if (!isVisible() || textWidth(m_text) <= room) {
        setText(markup(m_text));
        return;
    }
    // The longest start of the text that fits with the ellipsis after it.
    int low = 0;
    int high = m_text.size();
    const auto shortened = [this](int length) {
        if (length > 0 && m_text.at(length - 1).isHighSurrogate())
            --length;
        QString start = m_text.left(length);
        while (start.endsWith(QLatin1Char(' ')))
            start.chop(1);
        return start + kEllipsis;
    };
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (textWidth(shortened(middle)) <= room)
            low = middle;
        else
            high = middle - 1;
    }
    setText(markup(shortened(low)));
}

QSize ElidedLabel::sizeHint() const
{
    QSize hint = QLabel::sizeHint();
    if (m_hasServerText)
        hint.setWidth(overhead() + textWidth(m_text));
    return hint;
}

QSize ElidedLabel::minimumSizeHint() const
{
    QSize hint = QLabel::minimumSizeHint();
    if (m_hasServerText) {
        // A name keeps its first few characters when the room is shared with
        // other names, so that each can still be told apart.
        const QString least =
            m_text.size() > m_leastCharacters ? m_text.left(m_leastCharacters) + kEllipsis : m_text;
        hint.setWidth(overhead() + textWidth(least));
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
