// The analyzer's side of a file transfer, without a window: the ids its
// requests carry, the batches a download is asked for in, the chunks put back
// in order, the limit on the analyzer's silence and the counts of what was
// sent and answered. The file manager gives it a method and a file to write or
// read, sends what it emits, feeds it every reply in the transfer range and
// shows its progress and result to the operator.
//
// Every request of a transfer, the one that starts it included, carries an id
// of its own from a range reserved past every client's block. A reply is
// placed by its id, whatever order a batch is answered in; a reply to an id of
// an ended transfer reaches nothing, and ids an ended transfer is still owed
// replies on are kept clear of the next transfers.
#pragma once

#include "analyzer/request.h"
#include "files/chunkreassembly.h"

#include <QByteArray>
#include <QJsonArray>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

class QIODevice;

namespace Analyzer {
class Response;
}

class TransferEngine : public QObject
{
    Q_OBJECT

public:
    enum class Outcome
    {
        Completed,
        ServerError, ///< the analyzer answered with an error
        Failed,      ///< a fault of the reply, the file or the analyzer's silence
        Cancelled
    };
    struct Result
    {
        Outcome outcome = Outcome::Completed;
        /// The analyzer's error text for ServerError; for Failed what went wrong.
        QString message;
    };

    explicit TransferEngine(QObject* parent = nullptr);

    /// Transfers take their ids from firstId up to the largest int.
    void reserveIds(int firstId);
    /// Whether id lies in the range reserved for transfers.
    bool isTransferId(int id) const { return id >= m_rangeFirst && id <= m_rangeLast; }
    /// How long the analyzer may leave every request of a transfer unanswered
    /// before the transfer fails (30 s).
    void setReplyTimeout(int ms) { m_replyTimer.setInterval(ms); }
    int replyTimeout() const { return m_replyTimer.interval(); }

    /// Asks for a download with method; its chunks are written to sink, which
    /// is open for writing and outlives the transfer.
    void startDownload(const QString& method, QIODevice* sink);
    /// Asks for an upload with method; source is opened for reading once the
    /// analyzer has given a token, and closed when the transfer ends.
    void startUpload(const QString& method, QIODevice* source);
    /// A reply from the transfer range; one to no id of the transfer under way
    /// is dropped.
    void handleReply(const Analyzer::Response& response);
    /// Ends the transfer under way (finished reports Cancelled).
    void cancel();
    /// A transfer has sent its first request and not ended.
    bool isActive() const { return m_active; }

signals:
    void requestReady(const Analyzer::Request& request);
    void batchReady(const QJsonArray& batch);
    /// The analyzer gave a download's token and its chunk count.
    void downloadAccepted(int count);
    /// The analyzer gave an upload's token.
    void uploadAccepted();
    /// The download's first written chunks are now in the file.
    void chunksWritten(int written);
    /// The transfer has ended; the engine is ready for the next one.
    void finished(const TransferEngine::Result& result);

private:
    void start(const QString& method, bool upload, QIODevice* file);
    void acceptDownload(const Analyzer::Response& response);
    void acceptUpload(const Analyzer::Response& response);
    void takeChunk(int slot, const Analyzer::Response& response);
    void takeUploadReply();
    void requestChunks(int count);
    void releaseRequests(int written);
    bool readUploadChunk(QByteArray* bytes);
    void sendUploadChunk(const QByteArray& bytes);
    void armReplyTimer();
    void replyTimedOut();
    void fail(const QString& what);
    void finish(const Result& result);
    /// Keeps the ids still owed a reply clear of the next transfers and
    /// resets every per-transfer field.
    void closeOut(bool failed);

    Analyzer::Request m_transferRequest;
    Analyzer::Request m_dataRequest;
    QIODevice* m_sink = nullptr;
    QIODevice* m_source = nullptr;
    /// The ids reserved for transfers, and the first the next transfer may take.
    int m_rangeFirst = 0;
    int m_rangeLast = 0;
    int m_nextId = 0;
    /// The current transfer's ids run from the first (its transfer request)
    /// to the last; the ceiling is the highest it may take, below the ids of
    /// an earlier transfer that may still be answered.
    int m_firstId = 0;
    int m_lastId = 0;
    int m_idCeiling = 0;
    /// The highest id the current transfer has sent, how many it has sent
    /// and how many replies it has taken.
    int m_lastSentId = 0;
    int m_idsSent = 0;
    int m_repliesTaken = 0;
    struct OwedIds
    {
        int first;
        int last;
    };
    /// Recent ended transfers that were owed replies, oldest first.
    QVector<OwedIds> m_owed;
    /// Download chunks back in request order; slot k has id m_firstId + 1 + k.
    ChunkReassembly m_chunks;
    /// The chunk due next, decoded; its memory serves every chunk of a transfer.
    QByteArray m_decoded;
    /// Runs while the analyzer owes the transfer a reply.
    QTimer m_replyTimer;
    int m_batchesRemaining = 0;
    int m_singlesRemaining = 0;
    bool m_active = false;
    bool m_upload = false;
    /// False until the analyzer has answered the transfer request with a token.
    bool m_tokenReceived = false;
};

Q_DECLARE_METATYPE(TransferEngine::Result)
