#include "trend/remotehistory.h"

#include "analyzer/response.h"

#include <QJsonArray>

namespace Trend {

RemoteHistory::RemoteHistory(QObject* parent)
    : QObject(parent),
      m_start(rangeBeforeFirstRequest()),
      m_end(m_start)
{
    m_points.reserve(kTrendPointCapacity);
}

void RemoteHistory::assignRequestIds(int firstId)
{
    m_request.setId(firstId);
    m_request.setMethod(QStringLiteral("get_trend_data"));
    m_registered = true;
}

void RemoteHistory::requestRange(const QDateTime& start, const QDateTime& end, const QString&)
{
    m_start = start;
    m_end = end;
    m_points.clear();
    emit historyRx(true);
    if (m_registered)
        sendRangeRequest();
}

void RemoteHistory::refresh()
{
    if (!m_registered)
        return;
    m_points.clear();
    sendRangeRequest();
}

void RemoteHistory::sendRangeRequest()
{
    Analyzer::Request request = m_request;
    request.setParams({m_start.toString(kTrendDateTimeFormat), m_end.toString(kTrendDateTimeFormat)});
    emit jsonToSend(request);
}

void RemoteHistory::handleResponse(const Analyzer::Response& response)
{
    if (response.isError())
        return;
    const QJsonArray samples = response.toArray();
    for (const QJsonValue& sampleValue : samples) {
        const QJsonArray sample = sampleValue.toArray();
        TrendPoint point;
        point.time = QDateTime::fromString(sample.at(0).toString(), kTrendDateTimeFormat).toMSecsSinceEpoch();
        point.value = sample.at(1).toDouble(0.0);
        point.alarm = sample.at(2).toBool(false);
        m_points.append(point);
    }
    if (!samples.isEmpty())
        emit historyRx(false);
}

} // namespace Trend
