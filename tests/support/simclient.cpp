#include "support/simclient.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QJsonDocument>

bool SimClient::connectTo(quint16 port)
{
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    return m_socket.waitForConnected(5000);
}

void SimClient::sendLine(const QByteArray& line)
{
    m_socket.write(line + '\n');
    m_socket.flush();
}

bool SimClient::lineArrives(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!m_buffer.contains('\n')) {
        if (deadline.hasExpired() || m_socket.state() != QAbstractSocket::ConnectedState)
            return m_buffer.contains('\n');
        if (m_socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            m_buffer += m_socket.readAll();
    }
    return true;
}

QByteArray SimClient::readLine(int timeoutMs)
{
    if (!lineArrives(timeoutMs))
        return QByteArray();
    const int end = m_buffer.indexOf('\n');
    const QByteArray line = m_buffer.left(end);
    m_buffer.remove(0, end + 1);
    return line;
}

QJsonObject SimClient::request(const QString& method, const QJsonValue& params, int id)
{
    QJsonObject object{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                       {QStringLiteral("id"), id},
                       {QStringLiteral("method"), method}};
    if (!params.isUndefined())
        object.insert(QStringLiteral("params"), params);
    return object;
}

QJsonObject SimClient::call(const QString& method, const QJsonValue& params, int id)
{
    sendLine(QJsonDocument(request(method, params, id)).toJson(QJsonDocument::Compact));
    return QJsonDocument::fromJson(readLine()).object();
}

QJsonArray SimClient::batch(const QJsonArray& requests)
{
    sendLine(QJsonDocument(requests).toJson(QJsonDocument::Compact));
    return QJsonDocument::fromJson(readLine()).array();
}

QByteArray SimClient::download(const QString& method, int* count, QString* error)
{
    const QJsonObject start = call(method);
    const QJsonArray info = start.value(QStringLiteral("result")).toArray();
    if (info.size() != 2) {
        if (error)
            *error = QString::fromUtf8(QJsonDocument(start).toJson(QJsonDocument::Compact));
        return QByteArray();
    }
    const int chunks = info.at(0).toInt();
    if (count)
        *count = chunks;
    const QJsonObject data =
        request(QStringLiteral("download_file_data"), QJsonArray{info.at(1)}, 8);
    QByteArray file;
    int asked = 0;
    while (asked < chunks) {
        QJsonArray requests;
        for (int i = 0; i < 25 && asked < chunks; ++i, ++asked)
            requests.append(data);
        for (const QJsonValue& reply : batch(requests)) {
            const QJsonObject object = reply.toObject();
            if (object.contains(QStringLiteral("error")) && error)
                *error = object.value(QStringLiteral("error"))
                             .toObject()
                             .value(QStringLiteral("message"))
                             .toString();
            file += QByteArray::fromBase64(
                object.value(QStringLiteral("result")).toString().toLatin1());
        }
    }
    return file;
}

QJsonObject SimClient::upload(const QByteArray& data)
{
    const QString token =
        call(QStringLiteral("upload_settings")).value(QStringLiteral("result")).toString();
    for (int offset = 0; offset < data.size(); offset += 1024) {
        const QJsonObject reply =
            call(QStringLiteral("upload_file_data"),
                 QJsonArray{token, QString::fromLatin1(data.mid(offset, 1024).toBase64())});
        if (reply.contains(QStringLiteral("error")))
            return reply;
    }
    return call(QStringLiteral("upload_file_data"), QJsonArray{token, QString()});
}
