#include "widgets/textmarkup.h"

#include "widgets/elidedlabel.h"

#include <QDebug>
#include <QLabel>

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

QString capServerText(const QString& text)
{
    if (text.size() <= kServerTextLimit)
        return text;
    int keep = kServerTextLimit;
    if (text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + QChar(0x2026);
}

void showServerText(QLabel* label, const QString& text, ServerText kind)
{
    const QString capped = capServerText(text);
    if (auto* elided = qobject_cast<ElidedLabel*>(label)) {
        if (!elided->setServerText(capped, kind))
            return;
    } else {
        const bool formula = kind == ServerText::Formula;
        const QString shown = formula ? subscriptDigits(capped) : capped;
        if (label->text() == shown &&
            label->textFormat() == (formula ? Qt::RichText : Qt::PlainText))
            return;
        // Plain text is never read as markup; a formula is escaped by subscriptDigits.
        label->setTextFormat(formula ? Qt::RichText : Qt::PlainText);
        label->setText(shown);
    }
    if (capped.size() != text.size())
        qDebug().noquote() << "Text from the analyzer cut to" << kServerTextLimit << "characters on"
                           << label->objectName() + QLatin1Char(':') << text;
}
