// One JSON-RPC reply as the panel reads it. Every accessor has a safe default,
// so a handler never has to check what the server actually sent.
#pragma once

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

    const QJsonObject& json() const { return m_json; }
    /// True only for the panel's own answer to a GUI-only request, never for
    /// anything read from the server, whatever id it carries.
    bool isLocalAnswer() const { return m_localAnswer; }

private:
    QJsonObject m_json;
    bool m_localAnswer = false;
};

} // namespace Analyzer
