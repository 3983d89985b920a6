#include "files/transferengine.h"

#include "analyzer/response.h"

#include <QDebug>
#include <QIODevice>
#include <algorithm>
#include <limits>
#include <modp_b64.h>

namespace {

constexpr int kBatchSize = 25;
constexpr int kUploadChunkBytes = 1024;
constexpr int kReplyTimeoutMs = 30000;
// The most chunks a download may announce: 16 GiB in the analyzer's 4 KiB
// chunks. A larger count is no file this panel can store.
constexpr int kMaxDownloadChunks = 1 << 22;
// Ended transfers whose unanswered ids are kept clear of the next ones.
constexpr int kOwedRunsKept = 8;

/// text decoded as base64 into decoded, which keeps its memory for the next
/// chunk; false when text is not base64. The padding at the end may be left
/// out, as Qt's decoder allows; a single character left over is no base64.
bool decodeBase64(std::string_view text, QByteArray* decoded)
{
    constexpr std::size_t kFailed = std::size_t(-1);
    const std::size_t whole = text.size() / 4 * 4;
    const std::size_t rest = text.size() - whole;
    if (rest == 1 || (rest > 0 && whole > 0 && text[whole - 1] == '=')) {
        decoded->clear();
        return false;
    }
    decoded->resize(int(modp_b64_decode_len(text.size()) + 3));
    std::size_t size = modp_b64_decode(decoded->data(), text.data(), whole);
    if (size != kFailed && rest > 0) {
        const char tail[4] = {text[whole], text[whole + 1], rest == 3 ? text[whole + 2] : '=', '='};
        const std::size_t more = modp_b64_decode(decoded->data() + size, tail, sizeof tail);
        size = more == kFailed ? kFailed : size + more;
    }
    if (size == kFailed) {
        decoded->clear();
        return false;
    }
    decoded->resize(int(size));
    return true;
}

} // namespace

TransferEngine::TransferEngine(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<TransferEngine::Result>("TransferEngine::Result");
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setInterval(kReplyTimeoutMs);
    connect(&m_replyTimer, &QTimer::timeout, this, &TransferEngine::replyTimedOut);
}

void TransferEngine::reserveIds(int firstId)
{
    m_rangeFirst = firstId;
    m_rangeLast = std::numeric_limits<int>::max();
    m_nextId = firstId;
}

void TransferEngine::startDownload(const QString& method, QIODevice* sink)
{
    start(method, false, sink);
}

void TransferEngine::startUpload(const QString& method, QIODevice* source)
{
    start(method, true, source);
}

void TransferEngine::start(const QString& method, bool upload, QIODevice* file)
{
    // A transfer left running is abandoned: its ids stay owed.
    if (m_active)
        closeOut(true);
    m_sink = upload ? nullptr : file;
    m_source = upload ? file : nullptr;
    // Every transfer starts a fresh run of ids after the last one's. Close to
    // the end of the range the run starts over at its beginning, so a
    // transfer always has half the range to itself.
    if (m_nextId > m_rangeLast - (m_rangeLast - m_rangeFirst) / 2)
        m_nextId = m_rangeFirst;
    // Ids an ended transfer still waits for replies on are stepped over, and
    // bound this one from above: its late replies must reach nothing.
    bool moved = true;
    for (int pass = 0; moved && pass <= kOwedRunsKept; ++pass) {
        moved = false;
        for (const OwedIds& run : std::as_const(m_owed)) {
            if (m_nextId >= run.first && m_nextId <= run.last) {
                m_nextId = run.last < m_rangeLast ? run.last + 1 : m_rangeFirst;
                moved = true;
            }
        }
    }
    m_idCeiling = m_rangeLast;
    for (const OwedIds& run : std::as_const(m_owed)) {
        if (run.first > m_nextId)
            m_idCeiling = std::min(m_idCeiling, run.first - 1);
    }
    m_active = true;
    m_upload = upload;
    m_tokenReceived = false;
    m_firstId = m_nextId;
    m_lastId = m_firstId;
    m_lastSentId = m_firstId;
    m_idsSent = 1;
    m_repliesTaken = 0;
    m_transferRequest.setId(m_firstId);
    m_transferRequest.setMethod(method);
    emit requestReady(m_transferRequest);
    armReplyTimer();
}

void TransferEngine::handleReply(const Analyzer::Response& response)
{
    const int id = response.id();
    if (!m_active || id < m_firstId || id > m_lastId)
        return;
    ++m_repliesTaken;
    if (response.isError()) {
        finish({Outcome::ServerError, response.errorMessage()});
        return;
    }
    if (id == m_firstId && !m_tokenReceived) {
        if (m_upload)
            acceptUpload(response);
        else
            acceptDownload(response);
    } else if (!m_upload && id != m_firstId) {
        takeChunk(id - m_firstId - 1, response);
    } else if (m_upload && id == m_lastId) {
        takeUploadReply();
    } else {
        // A second reply to the transfer request or, in an upload, to a chunk
        // before the latest (only that one is unanswered): the analyzer has
        // lost track of this transfer.
        fail(QStringLiteral("second reply to transfer request %1").arg(id));
        return;
    }
    if (m_active)
        armReplyTimer();
}

void TransferEngine::cancel()
{
    if (m_active)
        finish({Outcome::Cancelled, QString()});
}

void TransferEngine::acceptUpload(const Analyzer::Response& response)
{
    const QString token = response.toString();
    if (token.isEmpty() || !m_source || !m_source->open(QIODevice::ReadOnly)) {
        fail(token.isEmpty() ? QStringLiteral("upload not started: no token")
                             : QStringLiteral("upload not started: file unreadable"));
        return;
    }
    m_tokenReceived = true;
    m_dataRequest.setMethod(QStringLiteral("upload_file_data"));
    m_dataRequest.setParams({token, QString()});
    emit uploadAccepted();
    QByteArray bytes;
    if (readUploadChunk(&bytes))
        sendUploadChunk(bytes);
}

void TransferEngine::acceptDownload(const Analyzer::Response& response)
{
    const QJsonArray info = response.toArray();
    const QString token = info.at(1).toString();
    const int count = std::max(0, info.at(0).toInt());
    // Even an empty file is asked for once, to receive its end.
    const int chunkIds = std::max(1, count);
    // The count must fit the ids free before those an earlier transfer may
    // still be answered on, and be a size a file can have.
    if (token.isEmpty() || chunkIds > m_idCeiling - m_firstId || count > kMaxDownloadChunks) {
        fail(QStringLiteral("download not started: %1 %2")
                 .arg(token.isEmpty() ? "no token" : "too many chunks")
                 .arg(count));
        return;
    }
    m_tokenReceived = true;
    m_lastId = m_firstId + chunkIds;
    m_chunks.start(m_sink);
    m_batchesRemaining = count / kBatchSize;
    m_singlesRemaining = count % kBatchSize;
    m_dataRequest.setParams({token});
    m_dataRequest.setMethod(QStringLiteral("download_file_data"));
    emit downloadAccepted(count);
    if (m_batchesRemaining < 1) {
        m_singlesRemaining = std::max(0, m_singlesRemaining - 1);
        requestChunks(1);
    } else {
        --m_batchesRemaining;
        requestChunks(kBatchSize);
    }
}

void TransferEngine::requestChunks(int count)
{
    // Chunk k of the file is asked for with id m_firstId + 1 + k.
    const int first = m_chunks.requested();
    m_chunks.setRequested(first + count);
    m_idsSent += count;
    m_lastSentId = m_firstId + first + count;
    Analyzer::Request request = m_dataRequest;
    if (count == 1) {
        request.setId(m_firstId + 1 + first);
        emit requestReady(request);
        return;
    }
    QJsonArray batch;
    for (int i = 0; i < count; ++i) {
        request.setId(m_firstId + 1 + first + i);
        batch.append(request.json());
    }
    emit batchReady(batch);
}

void TransferEngine::releaseRequests(int written)
{
    // The next batch once the last one is written, then the remainder one by
    // one: never more than one batch is unanswered or held.
    if (written % kBatchSize == 0 && m_batchesRemaining > 0) {
        --m_batchesRemaining;
        requestChunks(kBatchSize);
    } else if (m_batchesRemaining == 0 && m_singlesRemaining > 0) {
        --m_singlesRemaining;
        requestChunks(1);
    }
}

void TransferEngine::takeChunk(int slot, const Analyzer::Response& response)
{
    // The text is read where the reply's parser left it, and the next chunk
    // is decoded into one buffer kept for the whole transfer and written from
    // there; only a chunk that comes before its turn gets bytes of its own,
    // to be held until the chunks before it are written.
    const Analyzer::JsonView result = response.view();
    if (!result.isString()) {
        fail(QStringLiteral("download chunk %1 is no text").arg(slot));
        return;
    }
    const std::string_view text = result.text();
    const int before = m_chunks.written();
    std::optional<QByteArray> chunk;
    if (!text.empty()) {
        const bool next = slot == before;
        QByteArray early;
        QByteArray* decoded = next ? &m_decoded : &early;
        if (!decodeBase64(text, decoded)) {
            fail(QStringLiteral("download chunk %1 is not base64").arg(slot));
            return;
        }
        // The next chunk is written at once, so the reassembly never holds
        // the shared buffer.
        chunk = next ? QByteArray::fromRawData(decoded->constData(), decoded->size())
                     : std::move(early);
    }
    const ChunkReassembly::Placed placed = m_chunks.place(slot, std::move(chunk));
    if (placed != ChunkReassembly::Placed::Taken) {
        fail(QStringLiteral("download chunk %1 %2")
                 .arg(slot)
                 .arg(placed == ChunkReassembly::Placed::Repeated       ? "answered twice"
                      : placed == ChunkReassembly::Placed::NotRequested ? "never asked for"
                                                                        : "not written"));
        return;
    }
    if (m_chunks.isComplete()) {
        finish({Outcome::Completed, QString()});
        return;
    }
    const int written = m_chunks.written();
    if (written != before)
        emit chunksWritten(written);
    for (int w = before + 1; w <= written; ++w)
        releaseRequests(w);
}

bool TransferEngine::readUploadChunk(QByteArray* bytes)
{
    bytes->resize(kUploadChunkBytes);
    const qint64 size = m_source->read(bytes->data(), kUploadChunkBytes);
    if (size < 0) {
        fail(QStringLiteral("upload: ") + m_source->errorString());
        return false;
    }
    bytes->resize(int(size));
    return true;
}

void TransferEngine::sendUploadChunk(const QByteArray& bytes)
{
    // Each chunk goes with the next id of the transfer; only the latest is
    // waited for. No bytes: the end of the file.
    if (m_lastId >= m_idCeiling) {
        fail(QStringLiteral("upload: no id left below the owed ones"));
        return;
    }
    ++m_idsSent;
    m_lastSentId = m_lastId + 1;
    QJsonArray params = m_dataRequest.params();
    params[1] = QString::fromLatin1(bytes.toBase64());
    m_dataRequest.setParams(params);
    m_dataRequest.setId(++m_lastId);
    emit requestReady(m_dataRequest);
}

void TransferEngine::takeUploadReply()
{
    if (!m_source->isOpen()) {
        finish({Outcome::Completed, QString()});
        return;
    }
    if (m_source->atEnd()) {
        m_source->close();
        sendUploadChunk(QByteArray());
        return;
    }
    QByteArray bytes;
    if (readUploadChunk(&bytes))
        sendUploadChunk(bytes);
}

void TransferEngine::armReplyTimer()
{
    // A download is owed its end chunk until it comes: one whose count was
    // short has every chunk asked for answered and still fails in time.
    if (m_active && (!m_tokenReceived || m_upload || !m_chunks.isComplete()))
        m_replyTimer.start();
    else
        m_replyTimer.stop();
}

void TransferEngine::replyTimedOut()
{
    if (!m_active)
        return;
    // A reply that has not come by now will not come: the analyzer dropped it.
    fail(QStringLiteral("no reply from the analyzer for %1 ms; chunks written %2 of %3 asked for%4")
             .arg(m_replyTimer.interval())
             .arg(m_chunks.written())
             .arg(m_chunks.requested())
             .arg(m_chunks.isWaiting() ? "" : " (all answered, no end chunk)"));
}

void TransferEngine::fail(const QString& what)
{
    qWarning().noquote() << what;
    finish({Outcome::Failed, what});
}

void TransferEngine::finish(const Result& result)
{
    closeOut(result.outcome != Outcome::Completed);
    emit finished(result);
}

void TransferEngine::closeOut(bool failed)
{
    m_replyTimer.stop();
    // Replies may still come for what it asked and was not answered.
    if (failed || m_repliesTaken < m_idsSent) {
        if (m_owed.size() >= kOwedRunsKept)
            m_owed.removeFirst();
        m_owed.append({m_firstId, m_lastSentId});
    }
    // The ended transfer's ids are never given out again (until the range
    // starts over), so its late replies reach nothing.
    m_nextId = m_lastId < m_rangeLast ? m_lastId + 1 : m_rangeFirst;
    if (m_source && m_source->isOpen())
        m_source->close();
    m_source = nullptr;
    m_sink = nullptr;
    m_active = false;
    m_upload = false;
    m_tokenReceived = false;
    m_firstId = 0;
    m_lastId = 0;
    m_lastSentId = 0;
    m_idsSent = 0;
    m_repliesTaken = 0;
    m_batchesRemaining = 0;
    m_singlesRemaining = 0;
    m_chunks.start(nullptr);
    m_dataRequest.setParams({});
    m_decoded = QByteArray();
}
