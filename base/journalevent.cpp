#include "base/journalevent.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <array>

namespace {
// By Kind value; the keys are what the journal file holds.
const std::array<const char*, JournalEvent::kKindCount> kKindKeys = {
    "alarm", "mode", "link", "setting", "procedure", "transfer", "panel"};

int digits(const QString& text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (!c.isDigit())
            return -1;
        value = value * 10 + c.digitValue();
    }
    return value;
}

} // namespace

QString JournalEvent::kindKey(Kind kind)
{
    return QLatin1String(kKindKeys.at(size_t(kind)));
}

bool JournalEvent::kindFromKey(const QString& key, Kind* kind)
{
    for (size_t i = 0; i < kKindKeys.size(); ++i) {
        if (key == QLatin1String(kKindKeys[i])) {
            *kind = Kind(i);
            return true;
        }
    }
    return false;
}

QString JournalEvent::valueText(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', 12);
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Array: {
        QStringList parts;
        for (const QJsonValue& element : value.toArray())
            parts << valueText(element);
        return parts.join(QStringLiteral(", "));
    }
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    default:
        return QString();
    }
}

QString JournalEvent::timeText(const QDateTime& time)
{
    if (!time.isValid())
        return QString();
    // A local time's ISO text carries no offset in Qt 5: fixed to its own.
    const QDateTime fixed = time.toOffsetFromUtc(time.offsetFromUtc());
    QString text = fixed.toString(Qt::ISODate);
    if (text.endsWith(QLatin1Char('Z'))) {
        text.chop(1);
        text += QStringLiteral("+00:00");
    }
    return text;
}

QDateTime JournalEvent::timeFromText(const QString& text)
{
    // Read by hand: an export reads 100,000 of them, and a QDateTime format
    // costs several times as much.
    if (text.size() < 19)
        return QDateTime();
    const QDate date(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
    const QTime time(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    if (text.size() == 19)
        return QDateTime(date, time); // the first format: local, no offset
    if (text.size() != 25 || (text.at(19) != QLatin1Char('+') && text.at(19) != QLatin1Char('-')))
        return QDateTime();
    const int hours = digits(text, 20, 2);
    const int minutes = digits(text, 23, 2);
    if (hours < 0 || minutes < 0)
        return QDateTime();
    const int sign = text.at(19) == QLatin1Char('-') ? -1 : 1;
    return QDateTime(date, time, Qt::OffsetFromUTC, sign * (hours * 3600 + minutes * 60));
}
