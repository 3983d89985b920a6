#include "launcher/analyzerprobe.h"

#include "analyzer/linedecoder.h"
#include "launcher/shorttext.h"

#include <QDebug>

AnalyzerProbe::AnalyzerProbe(const QString& connectionString, const FleetTiming& timing,
                             QObject* parent)
    : QObject(parent), m_connectionString(connectionString), m_timing(timing), m_socket(this),
      m_next(this), m_deadline(this)
{
    // The same address rule as Launch: a host and a port, nothing else.
    const QStringList parts = connectionString.split(QLatin1Char(':'));
    bool portOk = false;
    const uint port = parts.size() == 2 ? parts.at(1).toUInt(&portOk) : 0;
    if (portOk && port > 0 && port <= 65535 && !parts.at(0).isEmpty()) {
        m_host = parts.at(0);
        m_port = quint16(port);
    }

    m_next.setSingleShot(true);
    m_deadline.setSingleShot(true);
    connect(&m_next, &QTimer::timeout, this, [this]() {
        if (m_phase == Phase::Connected)
            poll();
        else
            connectNow();
    });
    connect(&m_deadline, &QTimer::timeout, this, &AnalyzerProbe::timedOut);
    connect(&m_socket, &QTcpSocket::connected, this, [this]() {
        m_deadline.stop();
        m_phase = Phase::Connected;
        poll();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &AnalyzerProbe::readReplies);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &AnalyzerProbe::linkLost);
    connect(&m_socket, &QTcpSocket::disconnected, this, &AnalyzerProbe::linkLost);
}

AnalyzerProbe::~AnalyzerProbe()
{
    // Closing is not a failure: nothing is logged or reported on the way out.
    m_phase = Phase::Idle;
    m_socket.abort();
}

void AnalyzerProbe::start(int delayMs)
{
    if (m_host.isEmpty()) {
        m_status.link = ProbeStatus::Link::BadAddress;
        m_status.failure = tr("not an address followed by a port");
        qInfo().noquote() << "Fleet: not watching" << shortText(m_connectionString) << "-"
                          << m_status.failure;
        emit statusChanged();
        return;
    }
    scheduleNext(delayMs);
}

int AnalyzerProbe::retryDelayMs(int failures, const FleetTiming& timing)
{
    qint64 delay = timing.refreshMs;
    for (int i = 1; i < failures && delay < timing.longestRetryMs; ++i)
        delay *= 2;
    return int(qMin<qint64>(delay, timing.longestRetryMs));
}

void AnalyzerProbe::scheduleNext(int delayMs)
{
    m_next.start(qMax(0, delayMs));
}

void AnalyzerProbe::connectNow()
{
    m_phase = Phase::Connecting;
    m_received.clear();
    m_deadline.start(m_timing.timeoutMs);
    m_socket.connectToHost(m_host, m_port);
}

void AnalyzerProbe::poll()
{
    // A peer that does not read what is sent would otherwise pile it up here.
    if (m_socket.bytesToWrite() > kMaxPendingBytes) {
        fail(ProbeStatus::Link::NoReply, tr("the analyzer does not read its requests"));
        return;
    }
    m_nextId = m_nextId > 1000000000 ? 1 : m_nextId;
    const QByteArray batch = m_poll.start(m_nextId);
    m_nextId += StatusPoll::methods().size();
    m_phase = Phase::Polling;
    m_linesThisPoll = 0;
    m_received.clear(); // anything unasked before this poll
    m_deadline.start(m_timing.timeoutMs);
    m_socket.write(batch + '\n');
}

void AnalyzerProbe::readReplies()
{
    if (m_phase == Phase::Idle || m_phase == Phase::Connecting)
        return;
    m_received += m_socket.readAll();
    if (m_phase != Phase::Polling) {
        // Nothing was asked: whatever comes is dropped unread, up to a limit.
        if (m_received.size() > kMaxPendingBytes)
            fail(ProbeStatus::Link::NoReply, tr("the analyzer sends what was not asked"));
        else if (m_received.endsWith('\n'))
            m_received.clear();
        return;
    }
    const int end = m_received.lastIndexOf('\n');
    if (end < 0) {
        if (m_received.size() > kMaxPendingBytes)
            fail(ProbeStatus::Link::NoReply, tr("a reply without a line end"));
        return;
    }
    const QList<QByteArray> lines = m_received.left(end).split('\n');
    m_received.remove(0, end + 1);
    for (const QByteArray& line : lines) {
        if (++m_linesThisPoll > kMaxLinesPerPoll) {
            fail(ProbeStatus::Link::NoReply, tr("more lines than one poll's replies"));
            return;
        }
        for (const Analyzer::Response& reply : Analyzer::LineDecoder::decodeLine(line))
            m_poll.take(reply);
    }
    if (m_poll.isComplete())
        finishPoll();
}

void AnalyzerProbe::finishPoll()
{
    m_deadline.stop();
    m_phase = Phase::Connected;
    if (m_failures > 0 || m_status.link != ProbeStatus::Link::Reachable)
        qInfo().noquote() << "Fleet:" << shortText(m_connectionString) << "answers";
    m_failures = 0;
    m_poll.applyTo(m_status);
    m_status.link = ProbeStatus::Link::Reachable;
    m_status.failure.clear();
    m_status.lastGoodReply = QDateTime::currentDateTime();
    emit statusChanged();
    scheduleNext(m_timing.refreshMs);
}

void AnalyzerProbe::timedOut()
{
    if (m_phase == Phase::Connecting)
        fail(ProbeStatus::Link::Unreachable,
             tr("no connection within %1 ms").arg(m_timing.timeoutMs));
    else if (m_phase == Phase::Polling)
        fail(ProbeStatus::Link::NoReply, tr("no reply within %1 ms").arg(m_timing.timeoutMs));
}

void AnalyzerProbe::linkLost()
{
    if (m_phase == Phase::Idle)
        return;
    const QString why = m_socket.error() == QAbstractSocket::UnknownSocketError
                            ? tr("the connection was closed")
                            : m_socket.errorString();
    fail(ProbeStatus::Link::Unreachable, why);
}

void AnalyzerProbe::fail(ProbeStatus::Link link, const QString& why)
{
    // Idle first: aborting the socket reports the close again.
    m_phase = Phase::Idle;
    m_deadline.stop();
    m_socket.abort();
    m_received.clear();
    ++m_failures;
    const int delay = retryDelayMs(m_failures, m_timing);
    // Logged when the state changes, not on every retry of a dead analyzer.
    if (link != m_status.link) {
        qInfo().noquote() << "Fleet:" << shortText(m_connectionString) << "-" << why
                          << "; next try in" << delay << "ms";
        m_status.link = link;
        m_status.failure = why;
        emit statusChanged();
    }
    scheduleNext(delay);
}
