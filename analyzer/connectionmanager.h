// Owns the analyzer connection, picks its kind from the connection string and
// reports each change of the connected state exactly once, when polled.
#pragma once

#include <QObject>
#include <QString>

namespace Analyzer {
class ConnectionInterface;
}

class ConnectionManager : public QObject
{
    Q_OBJECT

public:
    /// "host:port" makes a TCP connection; a string without ":" names a local socket.
    ConnectionManager(const QString& connectionString, QObject* parent);
    ~ConnectionManager() override;

    bool connectToServer();
    void disconnectFromServer();
    Analyzer::ConnectionInterface* connection() const { return m_connection; }
    /// Emits connectionStatusChanged() when the state differs from the last one reported.
    void checkStatus();

signals:
    void connectionStatusChanged();

private:
    Analyzer::ConnectionInterface* m_connection = nullptr;
    bool m_lastConnected = false;
};
