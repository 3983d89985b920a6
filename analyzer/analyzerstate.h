// The one account of what state an analyzer is in: the link, the operating
// mode, the alarm flags, whether it has a reactor, its serial number, and
// when each was last read. It is fed by every reply to a status method,
// whichever page asked, so it holds on every page; the status badge, the
// event journal, the settings gate and the procedures read it and follow its
// signals instead of reading the replies for themselves.
//
// Its class (the status badge's and the fleet's) is worked out here, once;
// the first that holds is the class:
//   failure:              the link lost, the analyzer silent for three poll
//                         ticks, or an alarm that makes the value invalid
//                         (laser, ring-down, reference cell);
//   function check:       any mode other than measure, or none read yet;
//   uncertain:            an alarm that makes the value uncertain (pressure,
//                         temperature, detector temperature, the
//                         concentration warning);
//   maintenance required: the performance verification is due;
//   normal:               otherwise. The user alarms are process alarms:
//                         the gas is high, the analyzer is sound; they set
//                         no class.
// Which alarm sets which class is a column of the facts table.
#pragma once

#include "analyzer/analyzerfacts.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>

namespace Analyzer {

class Response;

class AnalyzerState : public QObject
{
    Q_OBJECT

public:
    /// Three poll ticks of the controller: a status fact not read again
    /// within them is stale, and an analyzer that answers nothing for them is
    /// taken as failed.
    static constexpr int kFreshForMs = 3 * 1000;

    static StatusClass classify(bool linkUp, bool answering, int mode, AlarmFlags alarms);
    /// Whether replies to method feed the state.
    static bool isStateMethod(const QString& method);

    explicit AnalyzerState(QObject* parent = nullptr);

    /// How long a read stays fresh (tests shorten it).
    void setFreshFor(int ms);
    int freshForMs() const { return m_freshForMs; }

    bool isLinkUp() const { return m_linkUp; }
    /// The address of the analyzer, as the link names it.
    QString server() const { return m_server; }
    /// The link is up and the analyzer answered a status request within the
    /// last three poll ticks (or the link came up less than that ago).
    bool isAnswering() const { return m_linkUp && m_answering; }
    /// The mode read since the link last came up; UnknownMode before that.
    int mode() const { return m_modeCurrent ? m_mode : UnknownMode; }
    AlarmFlags alarms() const { return m_alarms; }
    bool isCertificateExpired() const { return m_alarms.testFlag(AlarmFlag::CertificateExpired); }
    bool reactorUsed() const { return m_reactorUsed; }
    QString serialNumber() const { return m_serialNumber; }
    /// When the fact reported by method was last read; invalid before the first read.
    QDateTime lastRead(const QString& method) const;
    /// Whether the fact reported by method was read within the last three poll ticks.
    bool isFresh(const QString& method) const;

    StatusClass statusClass() const;

public slots:
    /// The link to server is up or down. The first report sets the state
    /// without a change signal for the link (the panel has only just started).
    void setLink(bool up, const QString& server);
    /// A reply to method, just read. An error, or a result of the wrong type,
    /// leaves the fact as it was but still shows that the analyzer answers.
    void take(const QString& method, const Analyzer::Response& reply);

signals:
    void linkChanged(bool up, const QString& server, const QDateTime& at);
    /// A mode read that differs from the one read before (before is
    /// UnknownMode for the first one ever read).
    void modeChanged(int before, int now, const QDateTime& readAt);
    /// Every mode read, changed or not.
    void modeRead(int mode);
    void alarmChanged(Analyzer::AlarmFlag flag, bool active, const QDateTime& readAt);
    /// Every alarm flag read, changed or not.
    void alarmRead(Analyzer::AlarmFlag flag, bool active, const QDateTime& readAt);
    void answeringChanged(bool answering);
    void serialNumberChanged(const QString& serialNumber);
    void statusClassChanged(Analyzer::StatusClass statusClass);

private:
    struct Reading
    {
        QDateTime at;
        qint64 monotonicMs = 0;
    };

    void noteRead(const QString& method, const QDateTime& at);
    void setAnswering(bool answering);
    void reconsider(StatusClass before);

    QHash<QString, Reading> m_reads;
    QElapsedTimer m_clock;
    QTimer m_silence;
    int m_freshForMs = kFreshForMs;
    bool m_linkKnown = false;
    bool m_linkUp = false;
    bool m_answering = false;
    QString m_server;
    int m_mode = UnknownMode;
    bool m_modeCurrent = false;
    AlarmFlags m_alarms;
    bool m_reactorUsed = false;
    QString m_serialNumber;
};

} // namespace Analyzer
