// Connection to a measurement server on the same computer, over a local socket.
#pragma once

#include "analyzer/connectioninterface.h"

#include <QLocalSocket>

namespace Analyzer {

class LocalConnection : public ConnectionInterface
{
    Q_OBJECT

public:
    LocalConnection(const QString& serverName, QObject* parent);
    ~LocalConnection() override;

    bool connectToServer() override;
    void disconnectFromServer() override;
    void write(QByteArray data) override;
    QByteArray readAll() override;
    bool isConnected() override;
    const QString& serverName() override;

private slots:
    void dataReceived();
    void connectionStateChanged(QLocalSocket::LocalSocketState socketState);

private:
    QLocalSocket m_socket;
    QString m_serverName;
};

} // namespace Analyzer
