// What a method handler answers: a result, or an error code with a message.
#pragma once

#include <QJsonValue>
#include <QString>

namespace VireoSim {

struct RpcOutcome
{
    QJsonValue result;
    int code = 0; // 0: success
    QString message;

    static RpcOutcome ok(const QJsonValue& result) { return RpcOutcome{result, 0, QString()}; }
    /// Code 1 makes the panel show the message to the operator.
    static RpcOutcome fail(const QString& message, int code = 1)
    {
        return RpcOutcome{QJsonValue(), code, message};
    }
};

} // namespace VireoSim
