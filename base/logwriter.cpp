#include "base/logwriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QMutex>
#include <QThread>

namespace {

constexpr int kLogConnectWaitMs = 500;

struct LogState
{
    QMutex mutex;
    QLocalSocket* socket = nullptr;
    bool connected = false;
};

// Set while a line is being written on this thread: a message logged by the
// socket itself must not re-enter it.
thread_local bool t_writing = false;

// Marks this thread as writing for as long as the log state is locked, so
// that anything the socket logs meanwhile goes to the file instead of waiting
// for the lock this thread holds.
class WritingGuard
{
public:
    WritingGuard() { t_writing = true; }
    ~WritingGuard() { t_writing = false; }
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
    if (t_writing) {
        appendToFile(line);
        return;
    }
    const WritingGuard writing;
    LogState& log = state();
    {
        // Qt may log from its own threads; the socket belongs to the thread
        // that opened it, so lines from elsewhere go to the file.
        QMutexLocker lock(&log.mutex);
        if (log.connected && log.socket && log.socket->thread() == QThread::currentThread() &&
            log.socket->state() == QLocalSocket::ConnectedState) {
            log.socket->write("GUI:" + line + '\n');
            log.socket->flush();
        } else {
            appendToFile(line);
        }
    }
}

bool openLog(const QString& serverName)
{
    const WritingGuard writing;
    LogState& log = state();
    QMutexLocker lock(&log.mutex);
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
    const WritingGuard writing;
    LogState& log = state();
    QMutexLocker lock(&log.mutex);
    log.connected = false;
    if (log.socket) {
        log.socket->abort();
        delete log.socket;
        log.socket = nullptr;
    }
}
