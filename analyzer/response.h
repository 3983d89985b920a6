// One JSON-RPC reply as the panel reads it. Every accessor has a safe default,
// so a handler never has to check what the server actually sent. A reply
// decoded from a large line keeps its result in the parsed form (see
// JsonView): handlers of large results read it through view().
#pragma once

#include "analyzer/jsonview.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace Analyzer {

class Request;

class Response
{
public:
    Response();
    explicit Response(const QJsonObject& json);
    /// The local answer to a GUI-only request: {"id": id, "result": params}.
    explicit Response(const Request& request);
    /// A received reply: every member but the result in members, the result
    /// (undefined when there is none) in result.
    Response(const QJsonObject& members, const JsonView& result);
    virtual ~Response();
    Response(const Response&) = default;
    Response& operator=(const Response&) = default;

    /// The id; 0 when missing, null or not a number (such replies belong to nobody).
    int id() const;

    bool isError() const;
    int errorCode() const;
    QString errorMessage() const;

    bool hasResult() const;
    bool isNullResult() const;
    bool toBool() const;
    int toInt() const;
    /// The result as a number; quiet NaN when missing or not a number.
    double toDouble() const;
    QString toString() const;
    QJsonArray toArray() const;
    QJsonValue result() const;
    /// The result as it is held: read a large one here, not through result().
    JsonView view() const;

    /// Every member; a result kept in the parsed form is built into it.
    QJsonObject json() const;
    /// True only for the panel's own answer to a GUI-only request, never for
    /// anything read from the server, whatever id it carries.
    bool isLocalAnswer() const { return m_localAnswer; }

private:
    /// Every member, or every member but a result held in m_result.
    QJsonObject m_json;
    JsonView m_result;
    bool m_localAnswer = false;
};

} // namespace Analyzer
