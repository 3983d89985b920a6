// Connection to the measurement server over TCP. A link over which nothing
// has arrived for two minutes is treated as dead and closed on the next write,
// so a silently dropped network path is noticed and reconnected.
#pragma once

#include "analyzer/connectioninterface.h"

#include <QDateTime>
#include <QTcpSocket>

namespace Analyzer {

class RemoteConnection : public ConnectionInterface
{
    Q_OBJECT

public:
    RemoteConnection(const QString& connectionString, QObject* parent);
    ~RemoteConnection() override;

    bool connectToServer() override;
    void disconnectFromServer() override;
    void write(QByteArray data) override;
    QByteArray readAll() override;
    bool isConnected() override;
    const QString& serverName() override;

    /// Seconds of silence after which the link counts as stale.
    static constexpr int kStaleAfterSeconds = 120;
    /// For tests: moves the liveness deadline (null = idle).
    void setDeadlineForTest(const QDateTime& deadline) { m_deadline = deadline; }
    QDateTime deadline() const { return m_deadline; }

private slots:
    void dataReceived();
    void connectionStateChanged(QAbstractSocket::SocketState socketState);

private:
    QTcpSocket m_socket;
    QString m_connectionString;
    QDateTime m_deadline;
};

} // namespace Analyzer
