// Analyzer replies made by hand, for the tests of the file manager and its
// transfer engine.
#pragma once

#include "analyzer/response.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace TransferTest {

inline Analyzer::Response reply(int id, const QJsonValue& result)
{
    return Analyzer::Response(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

inline Analyzer::Response errorReply(int id, const QString& message)
{
    return Analyzer::Response(
        QJsonObject{{"id", id}, {"error", QJsonObject{{"code", 5}, {"message", message}}}});
}

} // namespace TransferTest
