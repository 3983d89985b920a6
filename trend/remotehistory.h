// History asked of the analyzer's server with "get_trend_data", used when the
// panel reaches the analyzer over the network. It is an RPC client with one
// request that is never polled: it sends only when a range is asked for or
// refreshed, and only once the controller has given it an id.
//
// Which replies it takes. The server answers in order on the one stream, so
// the unanswered requests, oldest first, tell what each reply answers: the
// oldest, unless its samples lie mostly in the range of a later one (then the
// requests before that one were lost). A reply stays the answer of the
// request it is matched to, given up or not: an hour's late reply is never
// drawn as the day asked after it. A reply is taken when the request it
// answers asked for the range shown; its samples outside the window are cut.
//
// What is sent. Never more than two requests wait at the server: the one
// asked and, after a give-up, its retry. A request is given up when nothing
// at all arrived for this source for the give-up time (30 s by default), and
// asked again. A refresh is not sent while a request for the same range is
// awaited, and a range asked while two wait goes out as soon as one is
// answered. Two requests for one range cannot be told apart by their
// replies: a reply takes the newer one off, so the one given up stands for
// whichever is still owed. Only when both waiting requests are given up and
// one more wait passes in silence is the older one lost. Each give-up
// doubles the wait, up to four minutes, so a server slower than the give-up
// is asked about twice per reply at first and then once; a quick reply to a
// request alone brings the wait back.
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
    /// The longest the give-up wait grows to against a slow server.
    static constexpr int kLongestGiveUpMs = 240000;
    /// Requests waiting at the server at most: the one asked and its retry.
    static constexpr int kMaxOutstanding = 2;

    explicit RemoteHistory(QObject* parent);

    /// Milliseconds without any reply after which a request is given up.
    void setGiveUpAfter(int ms);
    int giveUpAfter() const { return m_giveUpMs; }
    /// The wait now, backed off after give-ups.
    int currentGiveUp() const { return m_giveUpTimer.interval(); }
    /// Requests sent and not answered yet.
    int outstanding() const { return m_unanswered.size(); }
    /// A sliding source takes a range of the same length (within an hour, for
    /// the clock changes) and unit as the window moving on.
    void setSlidingWindow(bool sliding) { m_sliding = sliding; }

    void requestRange(const QDateTime& start, const QDateTime& end,
                      const QString& unitKey) override;
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

    bool awaitingCurrentRange() const;
    void sendRangeRequest();
    void giveUp();
    /// Runs the give-up wait afresh while anything is unanswered.
    void restartGiveUp();
    /// The request a reply answers, given how many of its readable sample
    /// times each unanswered request's range holds.
    int answeredRequest(const int* inside, int readable) const;
    /// The samples just read become the points, cut to the window.
    void takeReceived();

    Analyzer::Request m_request;
    bool m_registered = false;
    bool m_sliding = false;
    /// Counts range replacements: replies to an older count are stale.
    quint64 m_range = 0;
    QVector<Unanswered> m_unanswered; ///< oldest first, at most kMaxOutstanding
    /// The range shown waits to be asked until a request is answered.
    bool m_pending = false;
    int m_giveUpMs = kTrendScreenGiveUpMs;
    QTimer m_giveUpTimer;
    QElapsedTimer m_clock;
    WallClock m_wallClock;
    QDateTime m_start;
    QDateTime m_end;
    QString m_unitKey;
    QVector<TrendPoint> m_points;
    QVector<TrendPoint> m_received; ///< a reply being read, before it is known to answer
    /// The earliest and latest readable sample times of that reply.
    QString m_receivedEarliest;
    QString m_receivedLatest;
    /// How many samples the shown points were thinned from, and the reply's.
    int m_sampleCount = 0;
    int m_receivedSamples = 0;
};

} // namespace Trend
