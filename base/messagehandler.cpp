#include "base/messagehandler.h"

#include "base/logwriter.h"

namespace {

QByteArray withContext(const char* level, const QMessageLogContext& context, const QString& text)
{
    return QByteArray(level) + text.toLocal8Bit() + '(' + QByteArray(context.file) + ':' +
           QByteArray::number(context.line) + ',' + QByteArray(context.function) + ')';
}

} // namespace

QByteArray formatLogLine(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    switch (type) {
    case QtDebugMsg:
        return "Debug: " + text.toLocal8Bit();
    case QtInfoMsg:
        return withContext("Info: ", context, text);
    case QtWarningMsg:
        return withContext("Warning: ", context, text);
    case QtCriticalMsg:
        return withContext("Critical: ", context, text);
    case QtFatalMsg:
        return withContext("Fatal: ", context, text);
    }
    return QByteArray();
}

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    writeLog(formatLogLine(type, context, text));
}
