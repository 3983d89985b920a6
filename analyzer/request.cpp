#include "analyzer/request.h"

#include <QJsonDocument>

namespace Analyzer {

namespace {
const QString kJsonRpc = QStringLiteral("jsonrpc");
const QString kId = QStringLiteral("id");
const QString kMethod = QStringLiteral("method");
const QString kParams = QStringLiteral("params");
const QString kGuiOnly = QStringLiteral("GUIonly");
} // namespace

Request::Request()
{
    m_json.insert(kJsonRpc, QStringLiteral("2.0"));
    m_json.insert(kId, QStringLiteral("-1"));
}

Request::~Request() = default;

void Request::setId(int id)
{
    m_json.insert(kId, id);
    m_json.remove(kGuiOnly);
}

void Request::setGuiOnly(int id, const QString& tag)
{
    m_json.insert(kId, id);
    m_json.insert(kGuiOnly, tag);
}

int Request::id() const
{
    const QJsonValue value = m_json.value(kId);
    return value.isDouble() ? value.toInt() : -1;
}

void Request::setMethod(const QString& method)
{
    m_json.insert(kMethod, method);
}

QString Request::method() const
{
    const QJsonValue value = m_json.value(kMethod);
    return value.isString() ? value.toString() : QStringLiteral("NO_METHOD");
}

void Request::setParams(const QJsonArray& params)
{
    m_json.insert(kParams, params);
}

QJsonArray Request::params() const
{
    return m_json.value(kParams).toArray();
}

bool Request::isGuiOnly() const
{
    return m_json.contains(kGuiOnly);
}

QByteArray Request::toCompactJson() const
{
    return QJsonDocument(m_json).toJson(QJsonDocument::Compact);
}

} // namespace Analyzer
