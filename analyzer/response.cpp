#include "analyzer/response.h"

#include "analyzer/request.h"

#include <limits>

namespace Analyzer {

namespace {
const QString kId = QStringLiteral("id");
const QString kResult = QStringLiteral("result");
} // namespace

Response::Response() = default;

Response::Response(const QJsonObject& json) : m_json(json) {}

Response::Response(const JsonView& object) : m_object(object) {}

Response::Response(const JsonView& members, const JsonView& result)
    : m_object(members), m_result(result), m_resultApart(true)
{
}

Response::Response(const Request& request) : m_localAnswer(true)
{
    m_json.insert(kId, request.id());
    m_json.insert(kResult, request.params());
}

Response::~Response() = default;

JsonView Response::member(std::string_view key) const
{
    if (m_resultApart && key == "result")
        return m_result;
    if (m_object.isParsed())
        return m_object.value(key);
    return JsonView(m_json.value(QLatin1String(key.data(), int(key.size()))));
}

int Response::id() const
{
    const JsonView value = member("id");
    return value.isDouble() ? value.toInt() : 0;
}

bool Response::isError() const
{
    return !member("error").isUndefined();
}

int Response::errorCode() const
{
    return member("error").value("code").toInt(0);
}

QString Response::errorMessage() const
{
    return member("error").value("message").toString();
}

bool Response::hasResult() const
{
    return !view().isUndefined();
}

bool Response::isNullResult() const
{
    return view().isNull();
}

bool Response::toBool() const
{
    return view().toBool(false);
}

int Response::toInt() const
{
    return view().toInt(0);
}

double Response::toDouble() const
{
    return view().toDouble(std::numeric_limits<double>::quiet_NaN());
}

QString Response::toString() const
{
    return view().toString();
}

QJsonArray Response::toArray() const
{
    return result().toArray();
}

QJsonValue Response::result() const
{
    return view().toJsonValue();
}

JsonView Response::view() const
{
    return member("result");
}

QJsonObject Response::json() const
{
    if (!m_object.isParsed())
        return m_json;
    QJsonObject object = m_object.toJsonValue().toObject();
    if (m_resultApart && !m_result.isUndefined())
        object.insert(kResult, m_result.toJsonValue());
    return object;
}

} // namespace Analyzer
