#include "widgets/textmarkup.h"

#include <QDebug>
#include <QTextLayout>

QString capServerTextLogged(const QString& text, const QString& where)
{
    const QString capped = capServerText(text);
    if (capped.size() != text.size())
        qDebug().noquote() << "Text from the analyzer cut to" << kServerTextLimit << "characters on"
                           << where + QLatin1Char(':') << text;
    return capped;
}

QString serverTextMarkup(const QString& prefix, const QString& text, ServerText kind)
{
    if (kind == ServerText::Plain)
        return prefix + text;
    return prefix.toHtmlEscaped() + subscriptDigits(text);
}

int elidedLength(const QString& text, int length)
{
    length = qBound(0, length, text.size());
    if (length > 0 && text.at(length - 1).isHighSurrogate())
        --length;
    while (length > 0 && text.at(length - 1) == QLatin1Char(' '))
        --length;
    return length;
}

int longestFitting(int most, const std::function<bool(int)>& fits)
{
    int low = 0;
    int high = most;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

QVector<int> lineStarts(const QString& text, const QFont& font, int width, int lines)
{
    QVector<int> starts{0};
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    while (starts.size() < lines && starts.last() < text.size()) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        const int next = starts.last() + line.textLength();
        if (next >= text.size())
            break;
        starts.append(next);
    }
    layout.endLayout();
    return starts;
}
