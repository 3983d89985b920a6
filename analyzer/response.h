// One JSON-RPC reply as the panel reads it. Every accessor has a safe default,
// so a handler never has to check what the server actually sent. A received
// reply stays in the form the line's parser left it (see JsonView) and is
// read from there: handlers of large results read it through view().
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
    /// A received reply: object is the reply's object as parsed.
    explicit Response(const JsonView& object);
    /// A received reply of a long line: its members but "result" as parsed,
    /// and the result still as text (read when asked).
    Response(const JsonView& members, const JsonView& result);
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

    /// Every member, as Qt values (built for a received reply).
    QJsonObject json() const;
    /// True only for the panel's own answer to a GUI-only request, never for
    /// anything read from the server, whatever id it carries.
    bool isLocalAnswer() const { return m_localAnswer; }

private:
    JsonView member(std::string_view key) const;

    /// A reply made here or from Qt values.
    QJsonObject m_json;
    /// A received reply, as parsed; undefined otherwise.
    JsonView m_object;
    /// The result of a reply of a long line, held apart from m_object.
    JsonView m_result;
    bool m_resultApart = false;
    bool m_localAnswer = false;
};

} // namespace Analyzer
