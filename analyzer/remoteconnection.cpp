#include "analyzer/remoteconnection.h"

#include "analyzer/socketwriter.h"

namespace Analyzer {

namespace {
constexpr int kConnectWaitMs = 3000;
}

RemoteConnection::RemoteConnection(const QString& connectionString, QObject* parent, Clock clock)
    : ConnectionInterface(parent), m_connectionString(connectionString), m_clock(std::move(clock))
{
    connect(&m_socket, &QTcpSocket::readyRead, this, &RemoteConnection::dataReceived);
    connect(&m_socket, &QTcpSocket::stateChanged, this, &RemoteConnection::connectionStateChanged);
}

RemoteConnection::~RemoteConnection()
{
    // Quietly: a state-change signal into a half-destroyed owner helps nobody.
    m_socket.disconnect(this);
    disconnectFromServer();
}

bool RemoteConnection::connectToServer()
{
    if (isConnected())
        return true;
    const int colon = m_connectionString.indexOf(QLatin1Char(':'));
    const QString host = m_connectionString.left(colon);
    const quint16 port = colon < 0 ? 0 : m_connectionString.mid(colon + 1).toUShort(nullptr, 10);
    m_socket.connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    return m_socket.waitForConnected(kConnectWaitMs);
}

void RemoteConnection::disconnectFromServer()
{
    if (isConnected())
        m_socket.disconnectFromHost();
    m_deadline = QDateTime();
}

void RemoteConnection::write(QByteArray data)
{
    if (!isConnected())
        return;
    if (!m_deadline.isValid() || m_clock() >= m_deadline) {
        disconnectFromServer();
        return;
    }
    if (!SocketWriter::writeLine(m_socket, std::move(data)))
        disconnectFromServer();
}

QByteArray RemoteConnection::readAll()
{
    return isConnected() ? m_socket.readAll() : QByteArray();
}

bool RemoteConnection::isConnected()
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

const QString& RemoteConnection::serverName()
{
    return m_connectionString;
}

void RemoteConnection::dataReceived()
{
    m_deadline = m_clock().addSecs(kStaleAfterSeconds);
    emit readyToRead();
}

void RemoteConnection::connectionStateChanged(QAbstractSocket::SocketState socketState)
{
    switch (socketState) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
    case QAbstractSocket::ConnectedState:
        m_deadline = m_clock().addSecs(kStaleAfterSeconds);
        break;
    default:
        m_deadline = QDateTime();
        break;
    }
    if (socketState == QAbstractSocket::ConnectedState ||
        socketState == QAbstractSocket::UnconnectedState)
        emit connectionStatusChanged();
}

} // namespace Analyzer
