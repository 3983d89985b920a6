#include "sim/clientlink.h"

#include "sim/rpcengine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <algorithm>
#include <numeric>

namespace VireoSim {

namespace {
const char kGarbage[] = "#!vireo garbage line, not JSON }{";
const int kSplitPauseMs = 15;
const int kSendBuffer = 4 * 1024 * 1024;

QByteArray compactJson(const QJsonValue& value)
{
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    return QByteArray();
}
} // namespace

ClientLink::ClientLink(QIODevice* socket, RpcEngine& engine, QObject* parent)
    : QObject(parent), m_socket(socket), m_engine(engine)
{
    m_socket->setParent(this);
    m_clock.start();
    m_writeTimer.setSingleShot(true);
    connect(&m_writeTimer, &QTimer::timeout, this, &ClientLink::writeDue);
    connect(m_socket, &QIODevice::readyRead, this, &ClientLink::readLines);
    if (auto* tcp = qobject_cast<QTcpSocket*>(m_socket)) {
        tcp->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // A batch of file chunks is a few megabytes; room for it in the
        // kernel lets it go out in one write instead of many wake-ups.
        tcp->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBuffer);
        connect(tcp, &QTcpSocket::disconnected, this, &ClientLink::closed);
    } else if (auto* local = qobject_cast<QLocalSocket*>(m_socket)) {
        connect(local, &QLocalSocket::disconnected, this, &ClientLink::closed);
    }
}

void ClientLink::readLines()
{
    if (m_closing) {
        m_socket->readAll();
        return;
    }
    m_buffer += m_socket->readAll();
    int start = 0;
    for (;;) {
        const int end = m_buffer.indexOf('\n', start);
        if (end < 0)
            break;
        QByteArray line = m_buffer.mid(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            answer(line);
        if (m_closing)
            return;
    }
    m_buffer.remove(0, start);
    if (m_buffer.size() > maxLineBytes) {
        // A client that never ends its line would grow the buffer forever.
        m_buffer.clear();
        answer(QByteArray("{"));
    }
}

void ClientLink::answer(const QByteArray& line)
{
    const FaultPlan& faults = m_engine.faults();
    if (faults.stopAfter >= 0 && m_answered >= faults.stopAfter)
        return;
    const bool shuffle = faults.shuffleBatches && line.trimmed().startsWith('[');
    // Only a shuffle needs the replies as values; otherwise the engine writes
    // the text directly, which keeps file transfers fast.
    const QJsonValue reply = shuffle ? m_engine.handleLine(line) : QJsonValue();
    const QByteArray text = shuffle ? QByteArray() : m_engine.answerLine(line);
    const RpcEngine::LineFate fate = m_engine.lastLineFate();
    ++m_answered;
    if (fate.dropLinkAfterMs >= 0)
        QTimer::singleShot(fate.dropLinkAfterMs, this, &ClientLink::closeConnection);
    if (fate.delayMs > 0 || fate.inTurnMs > 0) {
        // A slow method: its reply comes late, and the lines after it are
        // answered in the meantime. Served in turn, it waits for the one
        // before it to be done, then takes its own time.
        int delayMs = fate.delayMs;
        if (fate.inTurnMs > 0) {
            const qint64 now = m_clock.elapsed();
            m_inTurnFreeAt = std::max(now, m_inTurnFreeAt) + fate.inTurnMs;
            delayMs = std::max(delayMs, int(m_inTurnFreeAt - now));
        }
        const QByteArray late = shuffle ? compactJson(reply) : text;
        if (!late.isEmpty())
            QTimer::singleShot(delayMs, this, [this, late] {
                if (!m_closing)
                    send(late + '\n');
            });
        return;
    }
    if (shuffle ? reply.isNull() || reply.isUndefined() : text.isEmpty())
        return; // every reply of the line was dropped
    const bool last = faults.closeAfter > 0 && m_answered >= faults.closeAfter;
    if (faults.garbageEvery > 0 && m_answered % faults.garbageEvery == 0)
        queueReply(QByteArray(kGarbage), false);
    if (shuffle && reply.isArray() && reply.toArray().size() > 1) {
        QJsonArray replies = reply.toArray();
        QVector<int> order(replies.size());
        std::iota(order.begin(), order.end(), 0);
        const QVector<int> original = order;
        std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());
        if (order == original)
            std::reverse(order.begin(), order.end());
        for (int i = 0; i < order.size(); ++i)
            queueReply(
                QJsonDocument(replies.at(order.at(i)).toObject()).toJson(QJsonDocument::Compact),
                last && i == order.size() - 1);
    } else if (shuffle) {
        queueReply(compactJson(reply), last);
    } else {
        queueReply(text, last);
    }
    if (last)
        m_closing = true;
}

void ClientLink::queueReply(QByteArray line, bool lastOfMessage)
{
    const FaultPlan& faults = m_engine.faults();
    line += '\n';
    if (!faults.affectsWriting() && m_pending.isEmpty()) {
        send(line);
        return;
    }
    qint64 due = m_clock.elapsed() + faults.delayMs;
    if (!m_pending.isEmpty())
        due = std::max(due, m_pending.last().due);
    if (faults.splitReplies && line.size() > 2) {
        // Three pieces with pauses between them, so the reader sees partial lines.
        const int a = line.size() / 3, b = 2 * line.size() / 3;
        m_pending.enqueue({due, line.left(a), false});
        m_pending.enqueue({due + kSplitPauseMs, line.mid(a, b - a), false});
        m_pending.enqueue({due + 2 * kSplitPauseMs, line.mid(b), lastOfMessage});
    } else {
        m_pending.enqueue({due, line, lastOfMessage});
    }
    writeDue();
}

void ClientLink::writeDue()
{
    const qint64 now = m_clock.elapsed();
    while (!m_pending.isEmpty() && m_pending.head().due <= now) {
        const Piece piece = m_pending.dequeue();
        send(piece.bytes);
        if (piece.closeAfter) {
            closeConnection();
            return;
        }
    }
    if (!m_pending.isEmpty())
        m_writeTimer.start(int(m_pending.head().due - now));
}

void ClientLink::send(const QByteArray& bytes)
{
    m_socket->write(bytes);
    if (auto* tcp = qobject_cast<QTcpSocket*>(m_socket))
        tcp->flush();
    else if (auto* local = qobject_cast<QLocalSocket*>(m_socket))
        local->flush();
    if (m_socket->bytesToWrite() > maxPendingBytes) {
        qWarning("a client reads too slowly; closing its connection");
        closeConnection();
    }
}

void ClientLink::closeConnection()
{
    m_closing = true;
    m_pending.clear();
    if (auto* tcp = qobject_cast<QTcpSocket*>(m_socket))
        tcp->disconnectFromHost();
    else if (auto* local = qobject_cast<QLocalSocket*>(m_socket))
        local->disconnectFromServer();
}

} // namespace VireoSim
