#include "analyzer/statuspoll.h"

#include "analyzer/analyzerfacts.h"

#include <QJsonObject>
#include <QSet>

namespace Analyzer {

int StatusPoll::assignRequestIds(int firstId)
{
    m_firstId = firstId;
    m_requests.clear();
    int id = firstId;
    for (const QString& method : statusMethods()) {
        Request request;
        request.setId(id++);
        request.setMethod(method);
        m_requests.append(request);
    }
    return id;
}

QJsonArray StatusPoll::missingFrom(const QJsonArray& batch) const
{
    QSet<QString> asked;
    for (const QJsonValue& request : batch)
        asked.insert(request.toObject().value(QLatin1String("method")).toString());
    QJsonArray missing;
    for (const Request& request : m_requests) {
        if (!asked.contains(request.method()))
            missing.append(request.json());
    }
    return missing;
}

} // namespace Analyzer
