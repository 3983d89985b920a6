// Received lines on their way to replies, taken in the order they came. A
// short line is decoded at once; a long one (a week of trend, a batch of
// large file chunks) is decoded on a thread of its own, so the poll timer and
// the screen go on meanwhile, and every line after it waits until its
// replies have been taken. The parser keeps the buffers a long line made it
// take while long lines keep coming, and gives them back once none has come
// for a while.
#pragma once

#include "analyzer/linedecoder.h"
#include "analyzer/response.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QTimer>
#include <QVector>
#include <mutex>
#include <optional>

class QThread;

namespace Analyzer {

class LineQueue : public QObject
{
    Q_OBJECT

public:
    /// A line this long or longer is decoded off the caller's thread (it
    /// takes a millisecond or more).
    static constexpr int kOffThreadBytes = 1024 * 1024;
    /// The parser's buffers go back this long after the last long line.
    static constexpr int kReleaseAfterMs = 30000;

    explicit LineQueue(QObject* parent = nullptr);
    /// Waits for a line being decoded; its replies are dropped.
    ~LineQueue() override;

    /// Complete lines, in the order received, after those already waiting.
    void append(const QList<QByteArray>& lines);
    /// The replies of the oldest line (none for a line that holds none, or
    /// cannot be parsed), or nothing when no line waits or the oldest is still
    /// being decoded: lineDecoded() follows then.
    std::optional<QVector<Response>> takeNext();
    /// No line waits and none is being decoded.
    bool isEmpty() const { return m_lines.isEmpty(); }

signals:
    /// A long line's replies are ready: takeNext() returns them.
    void lineDecoded();

private:
    struct Waiting
    {
        QByteArray line;
        quint64 serial = 0; ///< non-zero once handed to the decoding thread
        std::optional<QVector<Response>> replies;
    };

    void decodeOffThread(Waiting& waiting);
    void decoded(quint64 serial, const QVector<Response>& replies);
    void releaseBuffers();

    /// Used by one thread at a time: a line after a long one waits for it.
    LineDecoder m_decoder;
    std::mutex m_decoderMutex;
    QQueue<Waiting> m_lines;
    quint64 m_lastSerial = 0;
    QThread* m_thread = nullptr;
    /// Lives on m_thread; decodes what is posted to it.
    QObject* m_worker = nullptr;
    QTimer m_releaseTimer;
};

} // namespace Analyzer
