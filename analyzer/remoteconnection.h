// Connection to the measurement server over TCP. A link over which nothing
// has arrived for two minutes is treated as dead and closed on the next write,
// so a silently dropped network path is noticed and reconnected.
#pragma once

#include "analyzer/connectioninterface.h"

#include <QDateTime>
#include <QTcpSocket>
#include <functional>

namespace Analyzer {

class RemoteConnection : public ConnectionInterface
{
    Q_OBJECT

public:
    /// The time the liveness deadline is measured in (UTC).
    using Clock = std::function<QDateTime()>;

    /// clock defaults to the system clock; a test passes its own to age the link.
    RemoteConnection(const QString& connectionString, QObject* parent,
                     Clock clock = &QDateTime::currentDateTimeUtc);
    ~RemoteConnection() override;

    bool connectToServer() override;
    void disconnectFromServer() override;
    void write(QByteArray data) override;
    QByteArray readAll() override;
    bool isConnected() override;
    const QString& serverName() override;

    /// Seconds of silence after which the link counts as stale.
    static constexpr int kStaleAfterSeconds = 120;
    QDateTime deadline() const { return m_deadline; }

private slots:
    void dataReceived();
    void connectionStateChanged(QAbstractSocket::SocketState socketState);

private:
    QTcpSocket m_socket;
    QString m_connectionString;
    Clock m_clock;
    QDateTime m_deadline;
};

} // namespace Analyzer
