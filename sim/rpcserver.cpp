#include "sim/rpcserver.h"

#include "sim/clientlink.h"

#include <QHostAddress>
#include <QLocalSocket>
#include <QTcpSocket>

namespace VireoSim {

RpcServer::RpcServer(RpcEngine& engine, QObject* parent) : QObject(parent), m_engine(engine)
{
    connect(&m_tcp, &QTcpServer::newConnection, this, [this]() {
        while (QTcpSocket* socket = m_tcp.nextPendingConnection())
            adopt(socket);
    });
    connect(&m_local, &QLocalServer::newConnection, this, [this]() {
        while (QLocalSocket* socket = m_local.nextPendingConnection())
            adopt(socket);
    });
}

bool RpcServer::listenTcp(const QString& host, quint16 port, QString* error)
{
    QHostAddress address;
    if (!address.setAddress(host)) {
        *error = QStringLiteral("%1 is not an IP address").arg(host);
        return false;
    }
    if (!m_tcp.listen(address, port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(host)
                     .arg(port)
                     .arg(m_tcp.errorString());
        return false;
    }
    return true;
}

bool RpcServer::listenLocal(const QString& name, QString* error)
{
    // A socket file left by a simulator that was killed would block the name.
    QLocalServer::removeServer(name);
    if (!m_local.listen(name)) {
        *error =
            QStringLiteral("cannot listen on local socket %1: %2").arg(name, m_local.errorString());
        return false;
    }
    return true;
}

void RpcServer::adopt(QIODevice* socket)
{
    auto* link = new ClientLink(socket, m_engine, this);
    ++m_clients;
    connect(link, &ClientLink::closed, this, [this, link]() {
        --m_clients;
        link->deleteLater();
    });
}

} // namespace VireoSim
