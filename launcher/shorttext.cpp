#include "launcher/shorttext.h"

QString shortText(const QString& text)
{
    if (text.size() <= kShortTextLimit)
        return text;
    int keep = kShortTextLimit - 1;
    if (text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + QChar(0x2026);
}
