#include "sim/methodfault.h"

#include <QJsonDocument>

namespace VireoSim {

namespace {
QString paramText(const QJsonValue& value)
{
    if (value.isString())
        return value.toString();
    // Numbers, bools and null read as they are written in JSON.
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}
} // namespace

bool MethodFault::matches(const QString& calledMethod, const QJsonArray& params,
                          bool hasParams) const
{
    if (calledMethod != method)
        return false;
    if (param.isEmpty())
        return true;
    return hasParams && !params.isEmpty() && paramText(params.at(0)) == param;
}

QString MethodFault::text() const
{
    return method + QLatin1Char(':') + param + QLatin1Char(':') + QString::number(value);
}

bool MethodFault::parse(const QString& text, ShortForm shortForm, int defaultValue, int minimum,
                        MethodFault* fault, QString* error)
{
    QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() == 2 && shortForm == ValueSecond)
        parts.insert(1, QString());
    if (parts.size() > 3 || parts.at(0).isEmpty()) {
        *error = QStringLiteral("\"%1\" is not a method with its parameter and value").arg(text);
        return false;
    }
    MethodFault parsed;
    parsed.method = parts.at(0);
    parsed.param = parts.value(1);
    parsed.value = defaultValue;
    if (parts.size() == 3 || defaultValue < minimum) {
        bool ok = false;
        parsed.value = parts.value(2).toInt(&ok);
        if (!ok || parsed.value < minimum) {
            *error = QStringLiteral("\"%1\" needs a whole number from %2 as its value")
                         .arg(text)
                         .arg(minimum);
            return false;
        }
    }
    *fault = parsed;
    return true;
}

} // namespace VireoSim
