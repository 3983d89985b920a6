// A plain line client for tests that talk to the simulator themselves: writes
// JSON-RPC lines on a TCP socket and reads the reply lines back, waiting on
// socket events only.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QTcpSocket>

class SimClient
{
public:
    bool connectTo(quint16 port);
    QTcpSocket& socket() { return m_socket; }

    void sendLine(const QByteArray& line);
    /// The next complete line (without its line feed); empty after timeoutMs.
    QByteArray readLine(int timeoutMs = 10000);
    /// Whether a line arrives within timeoutMs (it is kept for readLine).
    bool lineArrives(int timeoutMs);

    static QJsonObject request(const QString& method,
                               const QJsonValue& params = QJsonValue::Undefined, int id = 7);
    /// Sends one request and returns the reply object.
    QJsonObject call(const QString& method, const QJsonValue& params = QJsonValue::Undefined,
                     int id = 7);
    /// Sends a batch and returns the reply array.
    QJsonArray batch(const QJsonArray& requests);
    /// Runs a download through the chunk protocol, 25 requests a batch as the panel does.
    QByteArray download(const QString& method, int* count = nullptr, QString* error = nullptr);
    /// Uploads through upload_settings/upload_file_data in 1024-byte chunks;
    /// returns the reply to the closing empty chunk.
    QJsonObject upload(const QByteArray& data);

private:
    QTcpSocket m_socket;
    QByteArray m_buffer;
};
