// The log server stand-in: accepts local socket connections and appends every
// received line, with a time stamp, to a log file.
#pragma once

#include <QFile>
#include <QLocalServer>
#include <QObject>

namespace VireoSim {

class LogServer : public QObject
{
    Q_OBJECT
public:
    LogServer(const QString& filePath, QObject* parent = nullptr);
    bool listen(const QString& name, QString* error);

    /// Lines longer than this are written in pieces, so a client that never
    /// sends a line feed cannot make the server hoard memory.
    static constexpr int maxLineBytes = 64 * 1024;

private:
    void adopt(QLocalSocket* socket);
    void writeLine(const QByteArray& line);

    QFile m_file;
    QLocalServer m_server;
};

} // namespace VireoSim
