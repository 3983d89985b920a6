#include "fakeanalyzer.h"

FakeAnalyzer::FakeAnalyzer(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FakeAnalyzer::accept);
}

bool FakeAnalyzer::listen(quint16 port)
{
    if (!m_server.listen(QHostAddress::LocalHost, port))
        return false;
    m_port = m_server.serverPort();
    return true;
}

void FakeAnalyzer::close()
{
    m_server.close();
    dropLink();
}

void FakeAnalyzer::dropLink()
{
    if (m_peer)
        m_peer->abort();
}

QString FakeAnalyzer::connectionString() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

void FakeAnalyzer::send(const QByteArray& bytes)
{
    if (m_peer) {
        m_peer->write(bytes);
        m_peer->flush();
    }
}

void FakeAnalyzer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        m_peer = socket;
        m_partial.clear();
        connect(socket, &QTcpSocket::readyRead, this, &FakeAnalyzer::read);
        read();
    }
}

void FakeAnalyzer::read()
{
    if (!m_peer)
        return;
    m_partial += m_peer->readAll();
    int end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        const QByteArray line = m_partial.left(end);
        if (skipLinesWith.isEmpty() || !line.contains(skipLinesWith))
            lines.append(line);
        m_partial.remove(0, end + 1);
        emit lineReceived(lines.last());
    }
}
