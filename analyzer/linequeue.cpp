#include "analyzer/linequeue.h"

#include <QThread>

namespace Analyzer {

LineQueue::LineQueue(QObject* parent) : QObject(parent)
{
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setInterval(kReleaseAfterMs);
    connect(&m_releaseTimer, &QTimer::timeout, this, &LineQueue::releaseBuffers);
}

LineQueue::~LineQueue()
{
    if (m_thread) {
        m_thread->quit();
        m_thread->wait();
        delete m_worker;
    }
}

void LineQueue::append(const QList<QByteArray>& lines)
{
    for (const QByteArray& line : lines)
        m_lines.enqueue({line, 0, std::nullopt});
}

std::optional<QVector<Response>> LineQueue::takeNext()
{
    if (m_lines.isEmpty())
        return std::nullopt;
    Waiting& head = m_lines.head();
    if (head.replies) {
        QVector<Response> replies = std::move(*head.replies);
        m_lines.dequeue();
        return replies;
    }
    if (head.serial != 0)
        return std::nullopt; // still being decoded
    if (head.line.size() >= kOffThreadBytes) {
        decodeOffThread(head);
        return std::nullopt;
    }
    const QByteArray line = m_lines.dequeue().line;
    std::lock_guard<std::mutex> lock(m_decoderMutex);
    return m_decoder.decode(line);
}

void LineQueue::decodeOffThread(Waiting& waiting)
{
    if (!m_thread) {
        m_thread = new QThread(this);
        m_thread->setObjectName(QStringLiteral("lineDecoding"));
        m_worker = new QObject;
        m_worker->moveToThread(m_thread);
        m_thread->start();
    }
    m_releaseTimer.stop();
    waiting.serial = ++m_lastSerial;
    QMetaObject::invokeMethod(
        m_worker,
        [this, line = waiting.line, serial = waiting.serial]() {
            QVector<Response> replies;
            {
                std::lock_guard<std::mutex> lock(m_decoderMutex);
                replies = m_decoder.decode(line);
            }
            QMetaObject::invokeMethod(
                this, [this, serial, replies]() { decoded(serial, replies); },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void LineQueue::decoded(quint64 serial, const QVector<Response>& replies)
{
    for (Waiting& waiting : m_lines) {
        if (waiting.serial == serial) {
            waiting.replies = replies;
            waiting.line = QByteArray(); // the text is no longer needed
            break;
        }
    }
    m_releaseTimer.start();
    emit lineDecoded();
}

void LineQueue::releaseBuffers()
{
    // A long line decoded meanwhile restarts the wait.
    if (!m_lines.isEmpty() && m_lines.head().serial != 0 && !m_lines.head().replies)
        return;
    std::lock_guard<std::mutex> lock(m_decoderMutex);
    m_decoder.releaseBuffers();
}

} // namespace Analyzer
