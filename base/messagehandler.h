// The process's Qt message handler: formats each message as one log line and
// hands it to the log writer.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

/// "Debug: text", or "Warning: text(file:line,function)" and likewise for the other levels.
QByteArray formatLogLine(QtMsgType type, const QMessageLogContext& context, const QString& text);
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text);
