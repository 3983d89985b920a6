// One client connection of the simulator (TCP or local socket): splits the
// received bytes into lines, answers each through the engine, and applies the
// fault plan to the replies on their way out.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonValue>
#include <QObject>
#include <QQueue>
#include <QTimer>

class QIODevice;

namespace VireoSim {

class RpcEngine;

class ClientLink : public QObject
{
    Q_OBJECT
public:
    /// Takes ownership of the connected socket.
    ClientLink(QIODevice* socket, RpcEngine& engine, QObject* parent = nullptr);

    static constexpr int maxLineBytes = 32 * 1024 * 1024;
    static constexpr qint64 maxPendingBytes = 64 * 1024 * 1024;

signals:
    void closed();

private:
    struct Piece
    {
        qint64 due; // ms on the link's clock
        QByteArray bytes;
        bool closeAfter; // the connection ends once this piece is written
    };

    void readLines();
    void answer(const QByteArray& line);
    void queueReply(QByteArray line, bool lastOfMessage);
    void writeDue();
    void send(const QByteArray& bytes);
    void closeConnection();

    QIODevice* m_socket;
    RpcEngine& m_engine;
    QByteArray m_buffer;
    int m_answered = 0;
    bool m_closing = false;
    QElapsedTimer m_clock;
    QQueue<Piece> m_pending;
    /// When the last line served in turn is answered, on m_clock.
    qint64 m_inTurnFreeAt = 0;
    QTimer m_writeTimer;
};

} // namespace VireoSim
