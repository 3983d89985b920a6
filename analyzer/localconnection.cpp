#include "analyzer/localconnection.h"

#include "analyzer/socketwriter.h"

namespace Analyzer {

namespace {
constexpr int kConnectWaitMs = 100;
}

LocalConnection::LocalConnection(const QString& serverName, QObject* parent)
    : ConnectionInterface(parent), m_serverName(serverName)
{
    connect(&m_socket, &QLocalSocket::readyRead, this, &LocalConnection::dataReceived);
    connect(&m_socket, &QLocalSocket::stateChanged, this, &LocalConnection::connectionStateChanged);
}

LocalConnection::~LocalConnection()
{
    disconnectFromServer();
}

bool LocalConnection::connectToServer()
{
    m_socket.connectToServer(m_serverName, QIODevice::ReadWrite);
    return m_socket.waitForConnected(kConnectWaitMs);
}

void LocalConnection::disconnectFromServer()
{
    if (isConnected())
        m_socket.disconnectFromServer();
}

void LocalConnection::write(QByteArray data)
{
    if (!isConnected())
        return;
    if (!SocketWriter::writeLine(m_socket, std::move(data)))
        disconnectFromServer();
}

QByteArray LocalConnection::readAll()
{
    return isConnected() ? m_socket.readAll() : QByteArray();
}

bool LocalConnection::isConnected()
{
    return m_socket.state() == QLocalSocket::ConnectedState;
}

const QString& LocalConnection::serverName()
{
    return m_serverName;
}

void LocalConnection::dataReceived()
{
    emit readyToRead();
}

void LocalConnection::connectionStateChanged(QLocalSocket::LocalSocketState)
{
    emit connectionStatusChanged();
}

} // namespace Analyzer
