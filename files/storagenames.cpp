#include "files/storagenames.h"

#include <QFileInfo>

namespace {
constexpr int kMaxPartLength = 64;
}

QString safeFileNamePart(const QString& text)
{
    QString part = text.left(kMaxPartLength);
    for (QChar& c : part) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || u == '-' || u == '_' || u == '.';
        if (!plain)
            c = QLatin1Char('_');
    }
    while (part.contains(QLatin1String("..")))
        part.replace(QLatin1String(".."), QLatin1String("_"));
    return part;
}

QString storageTimeStamp(const QDateTime& time)
{
    return time.toString(QStringLiteral("_yyyy-MM-dd_HHmmss"));
}

QString storageFileName(const QString& sourceName, const QString& serial, const QDateTime& time)
{
    const QFileInfo source(sourceName);
    return source.baseName() + QLatin1Char('_') + safeFileNamePart(serial) +
           storageTimeStamp(time) + QLatin1Char('.') + source.suffix();
}
