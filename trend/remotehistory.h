// History asked of the analyzer's server with "get_trend_data", used when the
// panel reaches the analyzer over the network. It is an RPC client with one
// request that is never polled: it sends only when a range is asked for or
// refreshed, and only once the controller has given it an id.
//
// Which replies it takes. The server answers in order on the one stream, so
// the unanswered requests, oldest first, tell what each reply answers. A
// reply is stale only when it answers a range that has since been replaced
// (the window moved, or the interval or unit changed); a reply to any request
// for the current range is as good as the newest, late or not. A refresh is
// not sent while a request for the same range is still unanswered, so a
// server slower than the refresh is waited for, not outrun. A request left
// unanswered for the give-up time (30 s by default) is presumed lost and the
// range is asked again; its reply, should it come after all, is still taken
// when its range is the current one.
//
// Lost replies would shift that order by one. Three things keep it true: a
// reply whose samples lie outside the range a request asked for does not
// answer that request (the requests before the one it fits were lost); a
// given-up request with a newer one for the same range behind it is presumed
// lost; and a reply that fits no waiting request is still taken when its
// samples lie in the window shown. The points are replaced by each reply
// taken, thinned by the step rule the local source uses and cut to the window.
//
// A sliding source (the home screen's mini plot) follows the clock: a range of
// the same length and unit moves the window rather than replacing it, so a
// reply to an earlier position is still good.
#pragma once

#include "analyzer/request.h"
#include "analyzer/rpcinterface.h"
#include "trend/historyinterface.h"
#include "trend/wallclock.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace Trend {

class RemoteHistory : public QObject, public HistoryInterface, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    /// How long the trend screen waits for a reply before asking again.
    static constexpr int kTrendScreenGiveUpMs = 30000;
    /// The same for the home screen's mini plot, which moves only once a minute.
    static constexpr int kMiniPlotGiveUpMs = 120000;

    explicit RemoteHistory(QObject* parent);

    /// Milliseconds after which an unanswered request is presumed lost.
    void setGiveUpAfter(int ms);
    int giveUpAfter() const { return m_giveUpTimer.interval(); }
    /// A sliding source takes a range of the same length (within an hour, for
    /// the clock changes) and unit as the window moving on.
    void setSlidingWindow(bool sliding) { m_sliding = sliding; }

    void requestRange(const QDateTime& start, const QDateTime& end, const QString& unitKey) override;
    void refresh() override;
    const QVector<TrendPoint>& points() override { return m_points; }
    /// How many samples the reply behind points() held, before thinning.
    int sampleCount() const { return m_sampleCount; }

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_request.id(); }
    int lastRequestId() override { return m_request.id(); }
    QJsonArray updateRequests() override { return QJsonArray(); }
    void handleResponse(const Analyzer::Response& response) override;

    /// The link dropped or came back: nothing asked before (or dropped while
    /// it was down) will be answered.
    void forgetUnanswered();

signals:
    void jsonToSend(Analyzer::Request request);
    void historyRx(bool cleared);

private:
    struct Unanswered
    {
        quint64 range; ///< which range it asked for (see m_range)
        QString startText;
        QString endText;
        qint64 sentAt; ///< on m_clock
        bool givenUp;
    };

    bool isGivenUp(const Unanswered& request) const;
    bool awaitingCurrentRange() const;
    void sendRangeRequest();
    void giveUp();
    /// The first unanswered request the samples fit; -1 when none does.
    int answeredRequest(const QString& earliest, const QString& latest) const;

    Analyzer::Request m_request;
    bool m_registered = false;
    bool m_sliding = false;
    /// Counts range replacements: replies to an older count are stale.
    quint64 m_range = 0;
    QVector<Unanswered> m_unanswered; ///< oldest first
    QTimer m_giveUpTimer;
    QElapsedTimer m_clock;
    WallClock m_wallClock;
    QDateTime m_start;
    QDateTime m_end;
    QString m_unitKey;
    QVector<TrendPoint> m_points;
    QVector<TrendPoint> m_received; ///< a reply being read, before it is known to answer
    int m_sampleCount = 0;
    int m_receivedSamples = 0;
};

} // namespace Trend
