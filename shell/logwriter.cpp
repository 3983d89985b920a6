#include "shell/logwriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocalSocket>

namespace {

constexpr int kLogConnectWaitMs = 500;

struct LogState
{
    QLocalSocket* socket = nullptr;
    bool connected = false;
};

LogState& state()
{
    static LogState instance;
    return instance;
}

void appendToFile(const QByteArray& line)
{
    QFile file(QDir::homePath() + QStringLiteral("/GUI.log"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    const QByteArray stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    file.write(stamp + ' ' + line + '\n');
}

} // namespace

void writeLog(QByteArray line)
{
    LogState& log = state();
    if (log.connected && log.socket && log.socket->state() == QLocalSocket::ConnectedState) {
        log.socket->write("GUI:" + line + '\n');
        log.socket->flush();
        return;
    }
    appendToFile(line);
}

bool openLog(const QString& serverName)
{
    LogState& log = state();
    if (!log.socket)
        log.socket = new QLocalSocket;
    log.connected = false;
    log.socket->connectToServer(serverName, QIODevice::ReadWrite);
    log.connected = log.socket->waitForConnected(kLogConnectWaitMs);
    return log.connected;
}

bool isLogConnected()
{
    return state().connected;
}

void closeLog()
{
    LogState& log = state();
    log.connected = false;
    if (log.socket) {
        log.socket->abort();
        delete log.socket;
        log.socket = nullptr;
    }
}
