#include "trend/remotehistory.h"

#include "analyzer/response.h"

#include <QDebug>
#include <QJsonArray>

namespace {
// A request left this long without any reply was lost (a dropped link);
// counting it still would make the next answer look stale.
constexpr qint64 kLostAfterMs = 30000;
} // namespace

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
    if (m_outstanding > 0 && m_waitingSince.elapsed() > kLostAfterMs)
        m_outstanding = 0;
    if (m_outstanding++ == 0)
        m_waitingSince.start();
    const auto [startText, endText] = WallClock::rangeTexts(m_start, m_end);
    Analyzer::Request request = m_request;
    request.setParams({startText, endText});
    emit jsonToSend(request);
}

void RemoteHistory::handleResponse(const Analyzer::Response& response)
{
    if (m_outstanding == 0) {
        qDebug() << "Trend history reply without a request dropped";
        return;
    }
    m_waitingSince.start();
    if (--m_outstanding > 0)
        return; // answers a range that has been asked again since
    if (response.isError())
        return;
    const QJsonArray samples = response.toArray();
    const int count = samples.size();
    const int step = count > kTrendPointCapacity ? count / kTrendPointCapacity + 1 : 1;
    m_clock.restart();
    // A sample without a readable time stays next to the one before it.
    qint64 previousTime = m_start.toMSecsSinceEpoch();
    for (int i = 0; i < count; i += step) {
        const QJsonArray sample = samples.at(i).toArray();
        TrendPoint point;
        point.time = previousTime = m_clock.toMSecs(sample.at(0).toString(), previousTime);
        point.value = sample.at(1).toDouble(0.0);
        point.alarm = sample.at(2).toBool(false);
        m_points.append(point);
    }
    if (count > 0)
        emit historyRx(false);
}

} // namespace Trend
