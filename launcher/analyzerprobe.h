// Watches one analyzer for the Fleet window: one TCP connection, a poll every
// refresh period, a time limit on every attempt and every request, and
// retries with a growing wait when the analyzer fails. Nothing here waits: the
// window stays responsive whatever the analyzer does, and a failure is
// logged and shown in the status, never in a popup.
#pragma once

#include "launcher/fleettiming.h"
#include "launcher/probestatus.h"
#include "launcher/statuspoll.h"

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

class AnalyzerProbe : public QObject
{
    Q_OBJECT

public:
    AnalyzerProbe(const QString& connectionString, const FleetTiming& timing,
                  QObject* parent = nullptr);
    ~AnalyzerProbe() override;

    /// Makes the first attempt after delayMs (the window spreads its probes
    /// over a refresh period so they do not all ask at once).
    void start(int delayMs);

    QString connectionString() const { return m_connectionString; }
    const ProbeStatus& status() const { return m_status; }

    /// The wait before the next attempt after this many failures in a row:
    /// the refresh period, doubled per further failure, at most longestRetryMs.
    static int retryDelayMs(int failures, const FleetTiming& timing);

    /// The most bytes an analyzer may send before a line ends, or unasked
    /// between polls; more and the connection is dropped as broken.
    static constexpr int kMaxPendingBytes = 256 * 1024;
    /// The most lines one poll's replies may take.
    static constexpr int kMaxLinesPerPoll = 64;

signals:
    void statusChanged();

private:
    enum class Phase
    {
        Idle,
        Connecting,
        Connected,
        Polling
    };

    void connectNow();
    void poll();
    void readReplies();
    void timedOut();
    void linkLost();
    void finishPoll();
    void fail(ProbeStatus::Link link, const QString& why);
    void scheduleNext(int delayMs);

    QString m_connectionString;
    FleetTiming m_timing;
    QString m_host;
    quint16 m_port = 0;

    QTcpSocket m_socket;
    /// The next poll, or the next attempt after a failure.
    QTimer m_next;
    /// The limit on the connection attempt or the open poll.
    QTimer m_deadline;
    Phase m_phase = Phase::Idle;

    StatusPoll m_poll;
    int m_nextId = 1;
    QByteArray m_received;
    int m_linesThisPoll = 0;
    int m_failures = 0;
    ProbeStatus m_status;
};
