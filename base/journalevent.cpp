#include "base/journalevent.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <array>

namespace {
// By Kind value; the keys are what the journal file holds.
const std::array<const char*, 6> kKindKeys = {"alarm",   "mode",      "link",
                                              "setting", "procedure", "transfer"};
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
