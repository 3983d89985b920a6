#include "fakeanalyzer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
        // The server owns what it accepts until it goes; a run of reconnects
        // would pile old sockets up in the benches' memory figures.
        if (m_peer)
            m_peer->deleteLater();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
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
        m_partial.remove(0, end + 1);
        if (!skipLinesWith.isEmpty() && line.contains(skipLinesWith))
            continue;
        lines.append(line);
        emit lineReceived(line);
        answer(line);
    }
}

void FakeAnalyzer::answer(const QByteArray& line)
{
    if (results.isEmpty())
        return;
    const QJsonDocument document = QJsonDocument::fromJson(line);
    const QJsonArray requests =
        document.isArray() ? document.array() : QJsonArray{document.object()};
    QJsonArray replies;
    for (const QJsonValue& request : requests) {
        const auto result = results.constFind(request[QStringLiteral("method")].toString());
        if (result != results.cend())
            replies.append(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                       {QStringLiteral("id"), request[QStringLiteral("id")]},
                                       {QStringLiteral("result"), *result}});
    }
    if (replies.isEmpty())
        return;
    const QJsonDocument reply =
        document.isArray() ? QJsonDocument(replies) : QJsonDocument(replies.first().toObject());
    send(reply.toJson(QJsonDocument::Compact) + '\n');
}
