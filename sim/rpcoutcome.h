// What a method handler answers: a result, or an error code with a message.
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

namespace VireoSim {

struct RpcOutcome
{
    QJsonValue result;
    int code = 0; // 0: success
    QString message;
    /// A result already in JSON text, sent as it is in place of result: file
    /// chunks are large, and building them as JSON values costs more than
    /// everything else the server does.
    QByteArray encodedResult;

    static RpcOutcome ok(const QJsonValue& result) { return RpcOutcome{result, 0, QString(), {}}; }
    /// A string result whose characters need no JSON escaping (base64 text).
    static RpcOutcome okPlainString(const QByteArray& text)
    {
        return RpcOutcome{QJsonValue(), 0, QString(), '"' + text + '"'};
    }
    /// Code 1 makes the panel show the message to the operator.
    static RpcOutcome fail(const QString& message, int code = 1)
    {
        return RpcOutcome{QJsonValue(), code, message, {}};
    }
};

} // namespace VireoSim
