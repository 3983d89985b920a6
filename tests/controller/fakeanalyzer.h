// A scripted stand-in for the analyzer's server inside a test: listens on a
// loopback port, records every line the panel sends, answers the methods it
// has results for as the analyzer would, and sends whatever faulty bytes the
// test chooses on top (half lines, foreign ids, dropped links).
#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class FakeAnalyzer : public QObject
{
    Q_OBJECT

public:
    explicit FakeAnalyzer(QObject* parent = nullptr);

    /// Listens on port (0: any free one); false when the port is taken.
    bool listen(quint16 port = 0);
    /// Stops listening and drops the panel's connection.
    void close();
    /// Drops the panel's connection but keeps listening, so the panel could reconnect.
    void dropLink();
    quint16 port() const { return m_port; }
    QString connectionString() const;
    bool hasPeer() const { return !m_peer.isNull(); }
    /// Whether the panel's latest connection is closed, with all it sent read.
    bool peerClosed() const
    {
        return !m_peer || m_peer->state() == QAbstractSocket::UnconnectedState;
    }

    /// Writes raw bytes to the panel (no line feed added).
    void send(const QByteArray& bytes);
    /// Whether everything sent has been handed to the operating system (on
    /// loopback: is readable by the panel).
    bool allWritten() const { return !m_peer || m_peer->bytesToWrite() == 0; }
    /// Every complete line received so far, in order.
    QList<QByteArray> lines;
    /// Lines holding this text are not recorded (empty: every line is).
    QByteArray skipLinesWith;
    /// Results by method: each received request or batch whose methods are
    /// listed here is answered with one line, replies in request order.
    QHash<QString, QJsonValue> results;

signals:
    void lineReceived(const QByteArray& line);

private:
    void accept();
    void read();
    void answer(const QByteArray& line);

    QTcpServer m_server;
    QPointer<QTcpSocket> m_peer;
    QByteArray m_partial;
    quint16 m_port = 0;
};
