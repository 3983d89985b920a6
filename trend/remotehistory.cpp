#include "trend/remotehistory.h"

#include "analyzer/response.h"
#include "base/unitkeys.h"

#include <QDebug>
#include <algorithm>
#include <cstdlib>

namespace {
// Requests kept waiting for an answer at most; a server that stopped
// answering must not grow the list without end.
constexpr int kMaxUnanswered = 16;
// A day window across a clock change lasts 23 or 25 hours.
constexpr qint64 kSameLengthToleranceMs = 3600 * 1000;
} // namespace

namespace Trend {

RemoteHistory::RemoteHistory(QObject* parent)
    : QObject(parent), m_giveUpTimer(this), m_start(rangeBeforeFirstRequest()), m_end(m_start),
      m_unitKey(UnitConversion::kVolumeKey)
{
    m_points.reserve(kTrendPointCapacity);
    m_received.reserve(kTrendPointCapacity);
    m_clock.start();
    m_giveUpTimer.setObjectName(QStringLiteral("giveUpTimer"));
    m_giveUpTimer.setSingleShot(true);
    m_giveUpTimer.setInterval(kTrendScreenGiveUpMs);
    connect(&m_giveUpTimer, &QTimer::timeout, this, &RemoteHistory::giveUp);
}

void RemoteHistory::setGiveUpAfter(int ms)
{
    m_giveUpTimer.setInterval(ms);
}

void RemoteHistory::assignRequestIds(int firstId)
{
    m_request.setId(firstId);
    m_request.setMethod(QStringLiteral("get_trend_data"));
    m_registered = true;
}

void RemoteHistory::requestRange(const QDateTime& start, const QDateTime& end,
                                 const QString& unitKey)
{
    const bool moved =
        m_sliding && m_range > 0 && unitKey == m_unitKey &&
        std::llabs(start.msecsTo(end) - m_start.msecsTo(m_end)) <= kSameLengthToleranceMs;
    m_start = start;
    m_end = end;
    m_unitKey = unitKey;
    if (moved) {
        refresh();
        return;
    }
    ++m_range;
    m_points.clear();
    emit historyRx(true);
    if (m_registered)
        sendRangeRequest();
}

void RemoteHistory::refresh()
{
    if (m_registered && !awaitingCurrentRange())
        sendRangeRequest();
}

void RemoteHistory::forgetUnanswered()
{
    m_unanswered.clear();
    m_giveUpTimer.stop();
}

bool RemoteHistory::isGivenUp(const Unanswered& request) const
{
    return request.givenUp || m_clock.elapsed() - request.sentAt >= m_giveUpTimer.interval();
}

bool RemoteHistory::awaitingCurrentRange() const
{
    return std::any_of(m_unanswered.cbegin(), m_unanswered.cend(),
                       [this](const Unanswered& r) { return r.range == m_range && !isGivenUp(r); });
}

void RemoteHistory::sendRangeRequest()
{
    const auto [startText, endText] = WallClock::rangeTexts(m_start, m_end);
    if (m_unanswered.size() >= kMaxUnanswered)
        m_unanswered.removeFirst();
    m_unanswered.append({m_range, startText, endText, m_clock.elapsed(), false});
    m_giveUpTimer.start();
    Analyzer::Request request = m_request;
    request.setParams({startText, endText});
    emit jsonToSend(request);
}

void RemoteHistory::giveUp()
{
    // The timer runs from the last request sent, so every request still
    // unanswered has waited at least this long.
    for (Unanswered& request : m_unanswered)
        request.givenUp = true;
    const bool currentUnanswered =
        std::any_of(m_unanswered.cbegin(), m_unanswered.cend(),
                    [this](const Unanswered& r) { return r.range == m_range; });
    if (currentUnanswered && m_registered) {
        qDebug() << "Trend history request unanswered for" << m_giveUpTimer.interval()
                 << "ms, asked again";
        sendRangeRequest();
    }
}

int RemoteHistory::answeredRequest(const QString& earliest, const QString& latest) const
{
    for (int i = 0; i < m_unanswered.size(); ++i) {
        const Unanswered& request = m_unanswered.at(i);
        if (earliest.isNull() || (earliest >= request.startText && latest <= request.endText))
            return i;
    }
    return -1;
}

void RemoteHistory::handleResponse(const Analyzer::Response& response)
{
    // Requests for one range cannot be told apart by their replies: a given-up
    // one with a newer one for the same range behind it was lost.
    while (m_unanswered.size() > 1 && isGivenUp(m_unanswered.at(0)) &&
           m_unanswered.at(0).range == m_unanswered.at(1).range &&
           m_unanswered.at(0).startText == m_unanswered.at(1).startText &&
           m_unanswered.at(0).endText == m_unanswered.at(1).endText)
        m_unanswered.removeFirst();
    if (response.isError()) {
        if (!m_unanswered.isEmpty())
            m_unanswered.removeFirst();
        return;
    }

    // A week of samples is read where the line's parser left them: only the
    // ones the step keeps are looked at.
    const Analyzer::JsonView samples = response.view();
    const int count = samples.size();
    const int step = count > kTrendPointCapacity ? count / kTrendPointCapacity + 1 : 1;
    m_received.clear();
    m_receivedSamples = count;
    m_wallClock.restart();
    QString earliest;
    QString latest;
    // A sample without a readable time stays next to the one before it.
    qint64 previousTime = m_start.toMSecsSinceEpoch();
    auto it = samples.begin();
    for (int i = 0; i < count; i += step) {
        const Analyzer::JsonView sample = *it;
        if (i + step < count)
            it += step;
        const QString text = sample.at(0).toString();
        if (WallClock::isReadable(text)) {
            if (earliest.isNull() || text < earliest)
                earliest = text;
            if (latest.isNull() || text > latest)
                latest = text;
        }
        TrendPoint point;
        point.time = previousTime = m_wallClock.toMSecs(text, previousTime);
        point.value = sample.at(1).toDouble(0.0);
        point.alarm = sample.at(2).toBool(false);
        m_received.append(point);
    }

    bool current = false;
    const int answered = answeredRequest(earliest, latest);
    if (answered >= 0) {
        current = m_unanswered.at(answered).range == m_range;
        m_unanswered.remove(0, answered + 1);
    } else {
        // Nothing waiting fits: the answer to a request presumed lost, or one
        // sent twice. Samples of the window shown are still good.
        const auto [startText, endText] = WallClock::rangeTexts(m_start, m_end);
        current = m_range > 0 && !earliest.isNull() && earliest >= startText && latest <= endText;
        if (!current)
            qDebug() << "Trend history reply to no request dropped";
    }
    if (!current)
        return; // answers a range that has been replaced since

    // The text range of a window across the autumn change holds samples from
    // outside it; a late reply to a sliding window starts before it.
    const qint64 start = m_start.toMSecsSinceEpoch();
    const qint64 end = m_end.toMSecsSinceEpoch();
    m_received.erase(std::remove_if(m_received.begin(), m_received.end(),
                                    [start, end](const TrendPoint& point) {
                                        return point.time < start || point.time > end;
                                    }),
                     m_received.end());
    m_points.swap(m_received);
    m_sampleCount = m_receivedSamples;
    if (!m_points.isEmpty())
        emit historyRx(false);
}

} // namespace Trend
