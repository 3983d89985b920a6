#include "sim/logserver.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace VireoSim {

LogServer::LogServer(const QString& filePath, QObject* parent) : QObject(parent), m_file(filePath)
{
    connect(&m_server, &QLocalServer::newConnection, this, [this]() {
        while (QLocalSocket* socket = m_server.nextPendingConnection())
            adopt(socket);
    });
}

bool LogServer::listen(const QString& name, QString* error)
{
    QDir().mkpath(QFileInfo(m_file.fileName()).absolutePath());
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    QLocalServer::removeServer(name);
    if (!m_server.listen(name)) {
        *error = QStringLiteral("cannot listen on %1: %2").arg(name, m_server.errorString());
        return false;
    }
    return true;
}

void LogServer::writeLine(const QByteArray& line)
{
    m_file.write(
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")).toUtf8());
    m_file.write(line);
    m_file.write("\n");
    m_file.flush();
}

void LogServer::adopt(QLocalSocket* socket)
{
    socket->setParent(this);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer]() {
        *buffer += socket->readAll();
        int start = 0;
        for (int end; (end = buffer->indexOf('\n', start)) >= 0; start = end + 1) {
            QByteArray line = buffer->mid(start, end - start);
            if (line.endsWith('\r'))
                line.chop(1);
            writeLine(line);
        }
        buffer->remove(0, start);
        while (buffer->size() > maxLineBytes) {
            writeLine(buffer->left(maxLineBytes));
            buffer->remove(0, maxLineBytes);
        }
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer]() {
        if (!buffer->isEmpty())
            writeLine(*buffer);
        socket->deleteLater();
    });
}

} // namespace VireoSim
