// History asked of the analyzer's server with "get_trend_data", used when the
// panel reaches the analyzer over the network. It is an RPC client with one
// request that is never polled: it sends only when a range is asked for, and
// only once the controller has given it an id.
//
// It takes a reply only as the answer to the request it has outstanding: the
// server answers in order on the one stream, so while newer requests are out
// the replies to older ones are stale, and a reply with nothing outstanding
// is unsolicited. Neither changes the points. A reply far larger than a chart
// can show is thinned by the step rule the local source uses.
#pragma once

#include "analyzer/request.h"
#include "analyzer/rpcinterface.h"
#include "trend/historyinterface.h"
#include "trend/wallclock.h"

#include <QElapsedTimer>
#include <QObject>

namespace Trend {

class RemoteHistory : public QObject, public HistoryInterface, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    explicit RemoteHistory(QObject* parent);

    void requestRange(const QDateTime& start, const QDateTime& end, const QString& unitKey) override;
    void refresh() override;
    const QVector<TrendPoint>& points() override { return m_points; }

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_request.id(); }
    int lastRequestId() override { return m_request.id(); }
    QJsonArray updateRequests() override { return QJsonArray(); }
    void handleResponse(const Analyzer::Response& response) override;

    /// The link dropped or came back: nothing asked before (or dropped while
    /// it was down) will be answered, so the next answer is the newest one's.
    void forgetUnanswered() { m_sentAt.clear(); }

signals:
    void jsonToSend(Analyzer::Request request);
    void historyRx(bool cleared);

private:
    void sendRangeRequest();
    void forgetLostRequests();

    Analyzer::Request m_request;
    bool m_registered = false;
    /// When each request still unanswered went out, oldest first.
    QVector<qint64> m_sentAt;
    QElapsedTimer m_clock;
    WallClock m_wallClock;
    QDateTime m_start;
    QDateTime m_end;
    QVector<TrendPoint> m_points;
};

} // namespace Trend
