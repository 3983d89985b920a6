// One JSON-RPC request as the panel sends it: a thin value class around the
// message object, so screens can keep a prepared copy per method and send a
// write by copying it and setting "params".
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QMetaType>
#include <QString>

namespace Analyzer {

class Request
{
public:
    /// A fresh request: {"jsonrpc":"2.0","id":"-1"} (the id is the string "-1").
    Request();
    virtual ~Request();
    Request(const Request&) = default;
    Request& operator=(const Request&) = default;

    /// Sets a numeric id and turns a local (GUI-only) request into a server request.
    void setId(int id);
    /// Marks the request as answered inside the panel; the tag names the screen.
    void setGuiOnly(int id, const QString& tag);
    /// The id as a number; -1 when missing or not a number.
    int id() const;

    void setMethod(const QString& method);
    /// The method name; "NO_METHOD" when missing or not a string.
    QString method() const;

    void setParams(const QJsonArray& params);
    /// The positional parameters; empty when none were set.
    QJsonArray params() const;

    bool isGuiOnly() const;

    const QJsonObject& json() const { return m_json; }
    /// The request encoded as one compact JSON text (no line feed).
    QByteArray toCompactJson() const;

private:
    QJsonObject m_json;
};

} // namespace Analyzer

Q_DECLARE_METATYPE(Analyzer::Request)
