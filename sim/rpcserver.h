// Accepts the simulator's client connections on TCP and, on request, on a
// local socket, and gives each its own ClientLink.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QTcpServer>

namespace VireoSim {

class RpcEngine;

class RpcServer : public QObject
{
    Q_OBJECT
public:
    explicit RpcServer(RpcEngine& engine, QObject* parent = nullptr);

    bool listenTcp(const QString& host, quint16 port, QString* error);
    bool listenLocal(const QString& name, QString* error);
    quint16 port() const { return m_tcp.serverPort(); }
    int clientCount() const { return m_clients; }

private:
    void adopt(QIODevice* socket);

    RpcEngine& m_engine;
    QTcpServer m_tcp;
    QLocalServer m_local;
    int m_clients = 0;
};

} // namespace VireoSim
