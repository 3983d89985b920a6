#include "trend/remotehistory.h"

#include "analyzer/response.h"
#include "base/unitkeys.h"

#include <QDebug>
#include <algorithm>
#include <cstdlib>

namespace {
// A day window across a clock change lasts 23 or 25 hours.
constexpr qint64 kSameLengthToleranceMs = 3600 * 1000;

/// The step rule of the local source: at most about 720 points a query.
int thinningStep(int count)
{
    return count > Trend::kTrendPointCapacity ? count / Trend::kTrendPointCapacity + 1 : 1;
}
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
    m_giveUpTimer.setInterval(m_giveUpMs);
    connect(&m_giveUpTimer, &QTimer::timeout, this, &RemoteHistory::giveUp);
}

void RemoteHistory::setGiveUpAfter(int ms)
{
    m_giveUpMs = ms;
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
    m_pending = false;
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
    m_pending = false;
    m_giveUpTimer.stop();
    m_giveUpTimer.setInterval(m_giveUpMs);
}

bool RemoteHistory::awaitingCurrentRange() const
{
    return std::any_of(m_unanswered.cbegin(), m_unanswered.cend(),
                       [this](const Unanswered& r) { return r.range == m_range && !r.givenUp; });
}

void RemoteHistory::sendRangeRequest()
{
    if (m_unanswered.size() >= kMaxOutstanding) {
        m_pending = true; // asked once a request is answered (or lost)
        return;
    }
    m_pending = false;
    const auto [startText, endText] = WallClock::rangeTexts(m_start, m_end);
    m_unanswered.append({m_range, startText, endText, m_clock.elapsed(), false});
    if (!m_giveUpTimer.isActive())
        m_giveUpTimer.start();
    Analyzer::Request request = m_request;
    request.setParams({startText, endText});
    emit jsonToSend(request);
}

void RemoteHistory::restartGiveUp()
{
    if (m_unanswered.isEmpty())
        m_giveUpTimer.stop();
    else
        m_giveUpTimer.start();
}

void RemoteHistory::giveUp()
{
    // Nothing arrived for this source for the whole wait: the oldest request
    // still awaited is given up and asked again. While two wait, nothing more
    // is sent; only when both are given up and another wait passes in
    // silence is the older one lost, and its place taken by a new retry.
    const bool full = m_unanswered.size() >= kMaxOutstanding;
    if (full && std::all_of(m_unanswered.cbegin(), m_unanswered.cend(),
                            [](const Unanswered& r) { return r.givenUp; }))
        m_unanswered.removeFirst();
    const auto awaited = std::find_if(m_unanswered.begin(), m_unanswered.end(),
                                      [](const Unanswered& r) { return !r.givenUp; });
    if (awaited != m_unanswered.end())
        awaited->givenUp = true;
    qDebug() << "Trend history request unanswered for" << m_giveUpTimer.interval() << "ms";
    // A slow server is asked less often, a lost reply still asked again.
    m_giveUpTimer.setInterval(
        std::min(std::max(m_giveUpMs, kLongestGiveUpMs), m_giveUpTimer.interval() * 2));
    if (m_registered && m_range > 0 && m_unanswered.size() < kMaxOutstanding &&
        !awaitingCurrentRange()) {
        qDebug() << "Trend history range asked again";
        sendRangeRequest();
    }
    restartGiveUp();
}

int RemoteHistory::answeredRequest(const int* inside, int readable) const
{
    // The oldest, unless the samples lie mostly in a later request's range:
    // the replies before it were lost then. A few samples past the range
    // asked do not make a reply another request's.
    if (m_unanswered.isEmpty())
        return -1;
    if (readable == 0)
        return 0;
    for (int i = 0; i < m_unanswered.size(); ++i) {
        if (2 * inside[i] >= readable)
            return i;
    }
    return -1;
}

void RemoteHistory::handleResponse(const Analyzer::Response& response)
{
    // Something arrived: the server is alive, however slow.
    restartGiveUp();
    int answered = m_unanswered.isEmpty() ? -1 : 0;
    int inside[kMaxOutstanding] = {};
    int readable = 0;
    if (!response.isError()) {
        // A week of samples is read where it stands: only the ones the step
        // keeps are built.
        m_received.clear();
        m_receivedEarliest.clear();
        m_receivedLatest.clear();
        m_wallClock.restart();
        // A sample without a readable time stays next to the one before it.
        qint64 previousTime = m_start.toMSecsSinceEpoch();
        m_receivedSamples =
            response.view().forEachKept(thinningStep, [&](const Analyzer::JsonView& sample) {
                const QString text = sample.at(0).toString();
                if (WallClock::isReadable(text)) {
                    ++readable;
                    if (m_receivedEarliest.isNull() || text < m_receivedEarliest)
                        m_receivedEarliest = text;
                    if (m_receivedLatest.isNull() || text > m_receivedLatest)
                        m_receivedLatest = text;
                    for (int i = 0; i < m_unanswered.size(); ++i) {
                        const Unanswered& request = m_unanswered.at(i);
                        if (text >= request.startText && text <= request.endText)
                            ++inside[i];
                    }
                }
                TrendPoint point;
                point.time = previousTime = m_wallClock.toMSecs(text, previousTime);
                point.value = sample.at(1).toDouble(0.0);
                point.alarm = sample.at(2).toBool(false);
                m_received.append(point);
            });
        answered = answeredRequest(inside, readable);
    }
    if (answered < 0) {
        // Nothing waiting fits: the answer to a request presumed lost, or one
        // sent twice. Samples of the window shown are still good.
        const auto [startText, endText] = WallClock::rangeTexts(m_start, m_end);
        const bool shown = m_range > 0 && readable > 0 && !response.isError() &&
                           m_receivedEarliest >= startText && m_receivedLatest <= endText;
        if (shown)
            takeReceived();
        else
            qDebug() << "Trend history reply to no request dropped";
        return;
    }
    // Requests for the same range cannot be told apart by their replies: the
    // newest of them is taken as answered, so that a given-up one stands in
    // for whichever is still owed (a lost one goes at the next give-up).
    const auto sameAs = [this](int a, int b) {
        return m_unanswered.at(a).range == m_unanswered.at(b).range &&
               m_unanswered.at(a).startText == m_unanswered.at(b).startText &&
               m_unanswered.at(a).endText == m_unanswered.at(b).endText;
    };
    int taken = answered;
    while (taken + 1 < m_unanswered.size() && sameAs(answered, taken + 1))
        ++taken;
    const Unanswered request = m_unanswered.at(taken);
    m_unanswered.remove(taken);
    m_unanswered.remove(0, answered); // the requests before it were lost
    restartGiveUp();
    // Quick again: only a reply that can be nobody else's tells.
    if (taken == answered && !request.givenUp && m_clock.elapsed() - request.sentAt < m_giveUpMs)
        m_giveUpTimer.setInterval(m_giveUpMs);
    const bool current = request.range == m_range;
    if (current && !response.isError())
        takeReceived();
    if (m_pending && m_registered && !awaitingCurrentRange())
        sendRangeRequest();
}

void RemoteHistory::takeReceived()
{
    // Samples outside the window are cut: the text range of a window across
    // the autumn change holds some, a late reply to a sliding window starts
    // before it, and a server may send a few past the range asked.
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
