#include "widgets/textmarkup.h"

#include "widgets/elidedlabel.h"

#include <QDebug>
#include <QLabel>

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
