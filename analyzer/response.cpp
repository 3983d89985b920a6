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
    return m_json.contains(kResult);
}

bool Response::isNullResult() const
{
    return m_json.value(kResult).isNull();
}

bool Response::toBool() const
{
    return m_json.value(kResult).toBool(false);
}

int Response::toInt() const
{
    return m_json.value(kResult).toInt(0);
}

double Response::toDouble() const
{
    return m_json.value(kResult).toDouble(std::numeric_limits<double>::quiet_NaN());
}

QString Response::toString() const
{
    return m_json.value(kResult).toString();
}

QJsonArray Response::toArray() const
{
    return m_json.value(kResult).toArray();
}

QJsonValue Response::result() const
{
    return m_json.value(kResult);
}

} // namespace Analyzer
