#include "trend/remotehistory.h"

#include "analyzer/response.h"

#include <QDebug>
#include <QJsonArray>

namespace {
// A request left this long without its reply was lost (sent while the link
// was down, or dropped with it); counting it still would make every later
// answer look stale.
constexpr qint64 kLostAfterMs = 30000;
} // namespace

namespace Trend {

RemoteHistory::RemoteHistory(QObject* parent)
    : QObject(parent),
      m_start(rangeBeforeFirstRequest()),
      m_end(m_start)
{
    m_points.reserve(kTrendPointCapacity);
    m_clock.start();
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
    forgetLostRequests();
    m_sentAt.append(m_clock.elapsed());
    const auto [startText, endText] = WallClock::rangeTexts(m_start, m_end);
    Analyzer::Request request = m_request;
    request.setParams({startText, endText});
    emit jsonToSend(request);
}

void RemoteHistory::forgetLostRequests()
{
    const qint64 now = m_clock.elapsed();
    while (!m_sentAt.isEmpty() && now - m_sentAt.first() > kLostAfterMs)
        m_sentAt.removeFirst();
}

void RemoteHistory::handleResponse(const Analyzer::Response& response)
{
    forgetLostRequests();
    if (m_sentAt.isEmpty()) {
        qDebug() << "Trend history reply without a request dropped";
        return;
    }
    m_sentAt.removeFirst();
    if (!m_sentAt.isEmpty())
        return; // answers a range that has been asked again since
    if (response.isError())
        return;
    const QJsonArray samples = response.toArray();
    const int count = samples.size();
    const int step = count > kTrendPointCapacity ? count / kTrendPointCapacity + 1 : 1;
    m_wallClock.restart();
    // A sample without a readable time stays next to the one before it.
    qint64 previousTime = m_start.toMSecsSinceEpoch();
    for (int i = 0; i < count; i += step) {
        const QJsonArray sample = samples.at(i).toArray();
        TrendPoint point;
        point.time = previousTime = m_wallClock.toMSecs(sample.at(0).toString(), previousTime);
        point.value = sample.at(1).toDouble(0.0);
        point.alarm = sample.at(2).toBool(false);
        m_points.append(point);
    }
    if (count > 0)
        emit historyRx(false);
}

} // namespace Trend
