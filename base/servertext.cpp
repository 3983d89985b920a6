#include "base/servertext.h"

#include <algorithm>

namespace {
bool isDecimalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

QString subscriptDigits(const QString& text)
{
    const QString escaped = text.toHtmlEscaped();
    QString out;
    out.reserve(escaped.size() * 2);
    for (int i = 0; i < escaped.size(); ++i) {
        const QChar c = escaped.at(i);
        if (c == QLatin1Char('^') && i + 1 < escaped.size() && isDecimalDigit(escaped.at(i + 1))) {
            out += escaped.at(++i);
        } else if (isDecimalDigit(c)) {
            out += QLatin1String("<sub>") + c + QLatin1String("</sub>");
        } else {
            out += c;
        }
    }
    return out;
}

QString cutText(const QString& text, int most)
{
    if (text.size() <= most)
        return text;
    int keep = std::max(most - 1, 0);
    if (keep > 0 && text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + QChar(0x2026);
}

QString capServerText(const QString& text)
{
    return cutText(text, kServerTextLimit + 1);
}
