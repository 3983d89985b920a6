#include "analyzer/response.h"

#include "analyzer/request.h"

#include <limits>

namespace Analyzer {

namespace {
const QString kId = QStringLiteral("id");
const QString kResult = QStringLiteral("result");
const QString kError = QStringLiteral("error");
} // namespace

Response::Response() = default;

Response::Response(const QJsonObject& json) : m_json(json) {}

Response::Response(const QJsonObject& members, const JsonView& result)
    : m_json(members), m_result(result)
{
}

Response::Response(const Request& request) : m_localAnswer(true)
{
    m_json.insert(kId, request.id());
    m_json.insert(kResult, request.params());
}

Response::~Response() = default;

int Response::id() const
{
    const QJsonValue value = m_json.value(kId);
    return value.isDouble() ? value.toInt() : 0;
}

bool Response::isError() const
{
    return m_json.contains(kError);
}

int Response::errorCode() const
{
    return m_json.value(kError).toObject().value(QStringLiteral("code")).toInt(0);
}

QString Response::errorMessage() const
{
    return m_json.value(kError).toObject().value(QStringLiteral("message")).toString();
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
    return m_result.isUndefined() ? m_json.value(kResult) : m_result.toJsonValue();
}

JsonView Response::view() const
{
    return m_result.isUndefined() ? JsonView(m_json.value(kResult)) : m_result;
}

QJsonObject Response::json() const
{
    if (m_result.isUndefined())
        return m_json;
    QJsonObject whole = m_json;
    whole.insert(kResult, m_result.toJsonValue());
    return whole;
}

} // namespace Analyzer
