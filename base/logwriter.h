// Where every diagnostic line goes: to the log server once it is connected,
// otherwise appended to ~/GUI.log with a time stamp.
#pragma once

#include <QByteArray>
#include <QString>

/// Writes one formatted log line (no line feed).
void writeLog(QByteArray line);
/// Connects once to the log server's local socket, waiting at most 500 ms.
bool openLog(const QString& serverName);
bool isLogConnected();
/// Drops the log server connection; later lines go to GUI.log (for tests).
void closeLog();
