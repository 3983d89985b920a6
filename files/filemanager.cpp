#include "files/filemanager.h"

#include "analyzer/response.h"
#include "base/eventjournal.h"
#include "base/globals.h"
#include "files/cabinetdirectivefile.h"
#include "files/storage.h"
#include "files/storagenames.h"
#include "widgets/messagebox.h"
#include "widgets/openfile.h"
#include "widgets/textmarkup.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QTemporaryFile>
#include <algorithm>
#include <limits>
#include <modp_b64.h>

namespace {

constexpr int kBatchSize = 25;
constexpr int kUploadChunkBytes = 1024;
constexpr int kCabinetFiles = 4;
constexpr int kProgressSteps = 200;
constexpr int kReplyTimeoutMs = 30000;
constexpr int kPanelHeight = 480;
constexpr int kFileManagerIds = 3;
// The most chunks a download may announce: 16 GiB in the analyzer's 4 KiB
// chunks. A larger count is no file this panel can store.
constexpr int kMaxDownloadChunks = 1 << 22;
// Ended transfers whose unanswered ids are kept clear of the next ones.
constexpr int kOwedRunsKept = 8;

// The popups' texts, made when shown so that they are in the panel's language.
QString copiedText()
{
    return FileManager::tr("File copied successfully");
}

QString copyErrorText()
{
    return FileManager::tr("Error copying file");
}

QString mountErrorText()
{
    return FileManager::tr("Error mounting USB device");
}

QString copyingText()
{
    return FileManager::tr("Copying file, please wait...");
}

const QString kUploadMethod = QStringLiteral("upload_settings");

QDateTime defaultTrendStart()
{
    return QDateTime(QDate(2000, 1, 1), QTime(0, 0));
}

QString defaultTrendUnits()
{
    return QStringLiteral("volume");
}

QString sourceName(FileManager::FileType type)
{
    switch (type) {
    case FileManager::SettingsFile:
        return settingsFileName();
    case FileManager::ScansFile:
        return scansFileName();
    case FileManager::TrendFile:
        return trendFileName();
    case FileManager::SrdaFile:
        return srdaFileName();
    case FileManager::LogFile:
        return logFileName();
    default:
        return QStringLiteral("unsupported_file_type");
    }
}

QString downloadMethod(FileManager::FileType type)
{
    switch (type) {
    case FileManager::SettingsFile:
        return QStringLiteral("download_settings");
    case FileManager::ScansFile:
        return QStringLiteral("download_scan_data");
    case FileManager::TrendFile:
        return QStringLiteral("download_trend_file");
    case FileManager::SrdaFile:
        return QStringLiteral("download_srda");
    case FileManager::LogFile:
        return QStringLiteral("download_log_file");
    default:
        return QStringLiteral("download_unknown_file");
    }
}

/// text with a zero-width space after every kLongestWord characters of a
/// word, so that a label may break a word too long for the panel.
QString breakableWords(const QString& text)
{
    constexpr int kLongestWord = 20;
    QString out;
    out.reserve(text.size() + text.size() / kLongestWord);
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestWord && !c.isLowSurrogate()) {
            out += QChar(0x200B);
            run = 1;
        }
        out += c;
    }
    return out;
}

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

QString storagePath(const QString& sourceName, const QString& serial)
{
    return mountPoint() + QLatin1Char('/') +
           storageFileName(sourceName, serial, QDateTime::currentDateTime());
}

} // namespace

FileManager::FileManager(QObject* parent)
    : QObject(parent), m_trendStart(defaultTrendStart()), m_trendUnits(defaultTrendUnits())
{
    qRegisterMetaType<FileManager::FileType>("FileManager::FileType");
    m_progress.setWindowTitle(tr("File Transfer"));
    m_progress.setModal(true);
    connect(&m_progress, &ProgressDialog::closed, this, &FileManager::progressClosed);
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setInterval(kReplyTimeoutMs);
    connect(&m_replyTimer, &QTimer::timeout, this, &FileManager::replyTimedOut);
}

FileManager::~FileManager() = default;

QString FileManager::cancelledText()
{
    return tr("Transfer Cancelled");
}

void FileManager::assignRequestIds(int firstId)
{
    m_firstId = firstId;
    m_secondId = firstId + 1;
    m_thirdId = firstId + 2;
    m_transferRequest.setId(m_firstId);
    m_transferRequest.setMethod(QStringLiteral("download_srda"));
    m_dataRequest.setId(m_secondId);
    m_dataRequest.setMethod(QStringLiteral("download_file_data"));
    m_serialRequest.setId(m_thirdId);
    m_serialRequest.setMethod(QStringLiteral("serial_number"));
    reserveTransferIds(firstId + kFileManagerIds);
}

void FileManager::reserveTransferIds(int firstId)
{
    m_rangeFirst = firstId;
    m_rangeLast = std::numeric_limits<int>::max();
    m_nextTransferId = firstId;
}

QJsonArray FileManager::updateRequests()
{
    return QJsonArray{m_serialRequest.json()};
}

void FileManager::handleResponse(const Analyzer::Response& response)
{
    const int id = response.id();
    if (id == m_thirdId) {
        if (!response.isError())
            m_serialNumber = response.toString();
        return;
    }
    // The block's first two ids are never sent; the reserved range holds the
    // ids of the transfer under way and of ended ones, whose replies are dropped.
    if (!m_transferActive || m_transferId == 0 || id < m_transferId || id > m_lastTransferId)
        return;
    ++m_repliesTaken;
    if (response.isError()) {
        endTransfer(response.errorMessage(), true);
        return;
    }
    const bool upload = m_transferRequest.method() == kUploadMethod;
    if (id == m_transferId && !m_tokenReceived) {
        handleTransferReply(response);
    } else if (!upload && id != m_transferId) {
        handleDownloadData(id - m_transferId - 1, response);
    } else if (upload && id == m_lastTransferId) {
        handleUploadData();
    } else {
        // A second reply to the transfer request or, in an upload, to a chunk
        // before the latest (only that one is unanswered): the analyzer has
        // lost track of this transfer.
        qWarning() << "second reply to transfer request" << id;
        endTransfer(copyErrorText(), true);
        return;
    }
    if (m_transferActive)
        armReplyTimer();
}

void FileManager::downloadFile(FileType type, bool hidePopups)
{
    m_hidePopups = hidePopups;
    if (type == CertificationPackage)
        packageCertificationFiles();
    else if (isRemote())
        startDownload(type);
    else
        copyLocalFile(type);
}

void FileManager::downloadTrendFile(const QDateTime& start, const QString& units, bool hidePopups)
{
    m_hidePopups = hidePopups;
    m_convertTrend = true;
    m_trendStart = start;
    m_trendUnits = units;
    if (isRemote())
        startDownload(TrendFile);
    else
        exportLocalTrend();
}

void FileManager::startDownload(FileType type)
{
    m_destination = storagePath(sourceName(type), m_serialNumber);
    m_journalSubject = QFileInfo(m_destination).fileName();
    m_download = std::make_unique<QSaveFile>(m_destination);
    m_progress.show();
    m_transferActive = true;
    m_tokenReceived = false;
    if (!mountStorage(devicePath(), mountPoint(), &m_progress)) {
        endTransfer(mountErrorText(), true);
        return;
    }
    // The operator may have cancelled while the mount command ran.
    if (!m_transferActive)
        return;
    // Chunks go to the file as they are written, without a copy into Qt's buffer.
    if (!m_download->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        qWarning() << "cannot write" << m_destination << m_download->errorString();
        endTransfer(mountErrorText(), true);
        return;
    }
    sendTransferRequest(downloadMethod(type));
}

void FileManager::uploadSettingsFile()
{
    m_journalSubject = settingsFileName();
    m_transferActive = true;
    m_tokenReceived = false;
    m_progress.show();
    if (!mountStorage(devicePath(), mountPoint(), &m_progress)) {
        endTransfer(mountErrorText(), true);
        return;
    }
    if (!m_transferActive)
        return;

    OpenFile picker;
    picker.setWindowTitle(tr("Select File"));
    picker.setWindowFlags((picker.windowFlags() | Qt::CustomizeWindowHint) &
                          ~Qt::WindowCloseButtonHint);
    picker.setDirectory(mountPoint(), {QStringLiteral("settings*.db")});
    picker.exec();
    const QString path = picker.selectedFile();
    // A lost connection may have ended the transfer while the picker was open.
    if (!m_transferActive)
        return;
    if (path.isEmpty()) {
        endTransfer(QString(), false);
        return;
    }
    m_file.setFileName(path);
    m_journalSubject = QFileInfo(path).fileName();
    sendTransferRequest(kUploadMethod);
}

void FileManager::sendTransferRequest(const QString& method)
{
    // Every transfer starts a fresh run of ids after the last one's. Close to
    // the end of the range the run starts over at its beginning, so a
    // transfer always has half the range to itself.
    if (m_nextTransferId > m_rangeLast - (m_rangeLast - m_rangeFirst) / 2)
        m_nextTransferId = m_rangeFirst;
    // Ids an ended transfer still waits for replies on are stepped over, and
    // bound this one from above: its late replies must reach nothing.
    bool moved = true;
    for (int pass = 0; moved && pass <= kOwedRunsKept; ++pass) {
        moved = false;
        for (const OwedIds& run : std::as_const(m_owed)) {
            if (m_nextTransferId >= run.first && m_nextTransferId <= run.last) {
                m_nextTransferId = run.last < m_rangeLast ? run.last + 1 : m_rangeFirst;
                moved = true;
            }
        }
    }
    m_idCeiling = m_rangeLast;
    for (const OwedIds& run : std::as_const(m_owed)) {
        if (run.first > m_nextTransferId)
            m_idCeiling = std::min(m_idCeiling, run.first - 1);
    }
    m_transferId = m_nextTransferId;
    m_lastTransferId = m_transferId;
    m_lastSentId = m_transferId;
    m_idsSent = 1;
    m_repliesTaken = 0;
    m_transferRequest.setId(m_transferId);
    m_transferRequest.setMethod(method);
    emit jsonToSend(m_transferRequest);
    armReplyTimer();
}

void FileManager::handleTransferReply(const Analyzer::Response& response)
{
    if (m_transferRequest.method() == kUploadMethod) {
        const QString token = response.toString();
        if (token.isEmpty() || !m_file.open(QIODevice::ReadOnly)) {
            qWarning() << "upload not started:"
                       << (token.isEmpty() ? "no token" : "file unreadable");
            endTransfer(copyErrorText(), true);
            return;
        }
        m_tokenReceived = true;
        m_dataRequest.setMethod(QStringLiteral("upload_file_data"));
        m_dataRequest.setParams({token, QString()});
        showBusy(copyingText());
        QByteArray bytes;
        if (readUploadChunk(&bytes))
            sendUploadChunk(bytes);
        return;
    }

    const QJsonArray info = response.toArray();
    const QString token = info.at(1).toString();
    const int count = std::max(0, info.at(0).toInt());
    // Even an empty file is asked for once, to receive its end.
    const int chunkIds = std::max(1, count);
    // The count must fit the ids free before those an earlier transfer may
    // still be answered on, and be a size a file can have.
    if (token.isEmpty() || chunkIds > m_idCeiling - m_transferId || count > kMaxDownloadChunks) {
        qWarning() << "download not started:" << (token.isEmpty() ? "no token" : "too many chunks")
                   << count;
        endTransfer(copyErrorText(), true);
        return;
    }
    m_tokenReceived = true;
    m_lastTransferId = m_transferId + chunkIds;
    m_chunks.start(m_download.get());
    m_batchesRemaining = count / kBatchSize;
    m_singlesRemaining = count % kBatchSize;
    m_dataRequest.setParams({token});
    m_dataRequest.setMethod(QStringLiteral("download_file_data"));
    m_progress.progressBar()->reset();
    m_progress.progressBar()->setRange(0, count);
    m_progress.progressBar()->setValue(0);
    m_progress.setText(copyingText());
    if (m_batchesRemaining < 1) {
        m_singlesRemaining = std::max(0, m_singlesRemaining - 1);
        requestChunks(1);
    } else {
        --m_batchesRemaining;
        requestChunks(kBatchSize);
    }
}

void FileManager::requestChunks(int count)
{
    // Chunk k of the file is asked for with id m_transferId + 1 + k.
    const int first = m_chunks.requested();
    m_chunks.setRequested(first + count);
    m_idsSent += count;
    m_lastSentId = m_transferId + first + count;
    Analyzer::Request request = m_dataRequest;
    if (count == 1) {
        request.setId(m_transferId + 1 + first);
        emit jsonToSend(request);
        return;
    }
    QJsonArray batch;
    for (int i = 0; i < count; ++i) {
        request.setId(m_transferId + 1 + first + i);
        batch.append(request.json());
    }
    emit jsonBatchToSend(batch);
}

void FileManager::releaseRequests(int written)
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

void FileManager::handleDownloadData(int slot, const Analyzer::Response& response)
{
    // The text is read where the reply's parser left it, and the next chunk
    // is decoded into one buffer kept for the whole transfer and written from
    // there; only a chunk that comes before its turn gets bytes of its own,
    // to be held until the chunks before it are written.
    const Analyzer::JsonView result = response.view();
    if (!result.isString()) {
        qWarning() << "download chunk" << slot << "is no text";
        endTransfer(copyErrorText(), true);
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
            qWarning() << "download chunk" << slot << "is not base64";
            endTransfer(copyErrorText(), true);
            return;
        }
        // The next chunk is written at once, so the reassembly never holds
        // the shared buffer.
        chunk = next ? QByteArray::fromRawData(decoded->constData(), decoded->size())
                     : std::move(early);
    }
    const ChunkReassembly::Placed placed = m_chunks.place(slot, std::move(chunk));
    if (placed != ChunkReassembly::Placed::Taken) {
        qWarning() << "download chunk" << slot
                   << (placed == ChunkReassembly::Placed::Repeated       ? "answered twice"
                       : placed == ChunkReassembly::Placed::NotRequested ? "never asked for"
                                                                         : "not written");
        endTransfer(copyErrorText(), true);
        return;
    }
    if (m_chunks.isComplete()) {
        // Only now is the file complete: it takes its real name.
        if (!m_download->commit()) {
            qWarning() << "cannot store" << m_destination << m_download->errorString();
            endTransfer(copyErrorText(), true);
            return;
        }
        endTransfer(copiedText(), false);
        return;
    }
    const int written = m_chunks.written();
    // The bar repaints at once on every visible step; a few hundred steps
    // show the progress as well as thousands and cost far less.
    QProgressBar* bar = m_progress.progressBar();
    const int step = std::max(1, bar->maximum() / kProgressSteps);
    if (written / step != before / step)
        bar->setValue(written);
    for (int w = before + 1; w <= written; ++w)
        releaseRequests(w);
}

bool FileManager::readUploadChunk(QByteArray* bytes)
{
    *bytes = m_file.read(kUploadChunkBytes);
    if (m_file.error() != QFileDevice::NoError) {
        qWarning() << "upload:" << m_file.errorString();
        endTransfer(copyErrorText(), true);
        return false;
    }
    return true;
}

void FileManager::sendUploadChunk(const QByteArray& bytes)
{
    // Each chunk goes with the next id of the transfer; only the latest is
    // waited for. No bytes: the end of the file.
    if (m_lastTransferId >= m_idCeiling) {
        endTransfer(copyErrorText(), true);
        return;
    }
    ++m_idsSent;
    m_lastSentId = m_lastTransferId + 1;
    QJsonArray params = m_dataRequest.params();
    params[1] = QString::fromLatin1(bytes.toBase64());
    m_dataRequest.setParams(params);
    m_dataRequest.setId(++m_lastTransferId);
    emit jsonToSend(m_dataRequest);
}

void FileManager::handleUploadData()
{
    if (!m_file.isOpen()) {
        endTransfer(copiedText(), false);
        return;
    }
    if (m_file.atEnd()) {
        m_file.close();
        sendUploadChunk(QByteArray());
        return;
    }
    QByteArray bytes;
    if (readUploadChunk(&bytes))
        sendUploadChunk(bytes);
}

void FileManager::armReplyTimer()
{
    // A download is owed its end chunk until it comes: one whose count was
    // short has every chunk asked for answered and still fails in time.
    const bool owed =
        m_transferActive && m_transferId != 0 &&
        (!m_tokenReceived || m_transferRequest.method() == kUploadMethod || !m_chunks.isComplete());
    if (owed)
        m_replyTimer.start();
    else
        m_replyTimer.stop();
}

void FileManager::replyTimedOut()
{
    if (!m_transferActive)
        return;
    // A reply that has not come by now will not come: the analyzer dropped it.
    qWarning() << "no reply from the analyzer for" << m_replyTimer.interval()
               << "ms; chunks written" << m_chunks.written() << "of" << m_chunks.requested()
               << "asked for" << (m_chunks.isWaiting() ? "" : "(all answered, no end chunk)");
    endTransfer(copyErrorText(), true);
}

void FileManager::endTransfer(const QString& message, bool failed)
{
    // The message popup and the programs below run nested event loops; a
    // cancel or a late reply arriving meanwhile must not end it a second time.
    if (m_ending)
        return;
    // A copy, export or packaging on the storage side is no transfer: the
    // program it runs decides its outcome, and its state stays as it is.
    if (!m_transferActive && m_localBusy) {
        qDebug().noquote() << "No transfer to end (" + message + "); a storage job runs";
        return;
    }
    m_ending = true;
    m_replyTimer.stop();
    QString text = message;
    const bool wasActive = m_transferActive;
    if (m_transferActive) {
        m_transferActive = false;
        if (m_file.isOpen())
            m_file.close();
        // Not committed means not complete: the temporary file goes away.
        m_download.reset();
        if (m_convertTrend && !failed && !convertTrend(m_destination, true)) {
            text = m_cancelRequested ? cancelledText() : copyErrorText();
            failed = true;
        }
        unmountStorage(devicePath(), &m_progress);
        showMessage(text);
        m_progress.hide();
    }
    // An upload for which no file was chosen moved nothing.
    if (wasActive && !(text.isEmpty() && !failed))
        noteTransfer(!failed, text);
    // Replies may still come for what it asked and was not answered.
    if (m_transferId != 0 && (failed || m_repliesTaken < m_idsSent)) {
        if (m_owed.size() >= kOwedRunsKept)
            m_owed.removeFirst();
        m_owed.append({m_transferId, m_lastSentId});
    }
    resetTransferFields();
    m_ending = false;
    emit downloadComplete(!failed);
}

bool FileManager::convertTrend(const QString& database, bool removeDatabase)
{
    showBusy(tr("Saving trend data..."));
    m_progress.show();
    const QString csv = storagePath(QStringLiteral("trend.csv"), m_serialNumber);
    m_journalSubject = QFileInfo(csv).fileName();
    const bool converted = runUnderPopup(QStringLiteral("dumptrend"),
                                         {database, csv, QStringLiteral("--start"),
                                          m_trendStart.toString(QStringLiteral("yyyy-MM-dd")),
                                          QStringLiteral("--units"), m_trendUnits});
    if (removeDatabase)
        runProgram(removeCommand(), {database});
    // A conversion that failed half-way must not look like an export.
    if (!converted)
        QFile::remove(csv);
    return converted;
}

void FileManager::copyLocalFile(FileType type)
{
    m_journalSubject = sourceName(type);
    if (!startLocal())
        return;
    // The instrument keeps its files in the home folder, where the copy
    // program runs and finds them by their bare names.
    const QString name = sourceName(type);
    const qint64 size = QFileInfo(QDir::home(), name).size();
    // When the free space cannot be read the copy goes ahead, and the copy
    // program reports a full disk itself.
    const qint64 available = bytesAvailable(mountPoint());
    if (available < 0) {
        qDebug() << "Free space unknown at" << mountPoint();
    } else if (available < size) {
        finishLocal(false, tr("Insufficient space available"));
        return;
    }
    const QString destination = storagePath(name, m_serialNumber);
    m_journalSubject = QFileInfo(destination).fileName();
    // Copied under a name no reader takes for the file; renamed when complete.
    const QString partial = destination + QStringLiteral(".part");
    const QString program =
        name.endsWith(QLatin1String(".db")) ? QStringLiteral("cpdb") : QStringLiteral("cp");
    QStringList arguments{name, partial};
    if (name.contains(QLatin1String("settings")))
        arguments.insert(1, QStringLiteral("e"));

    // The bar counts in units that fit its int range.
    const qint64 unit = size / std::numeric_limits<int>::max() + 1;
    QProgressBar* bar = m_progress.progressBar();
    bar->reset();
    bar->setRange(0, int(size / unit));
    m_progress.setText(copyingText());
    bool ok = runUnderPopup(program, arguments, [&]() {
        bar->setValue(int(std::max<qint64>(0, QFileInfo(partial).size() - 1) / unit));
        return true;
    });
    bar->setValue(int(QFileInfo(partial).size() / unit));
    if (ok) {
        QFile::remove(destination); // a copy made within the same second
        ok = QFile::rename(partial, destination);
    }
    if (!ok)
        QFile::remove(partial);
    finishLocal(ok, ok ? copiedText() : (m_cancelRequested ? cancelledText() : copyErrorText()));
}

void FileManager::exportLocalTrend()
{
    m_journalSubject = QStringLiteral("trend.csv");
    if (!startLocal())
        return;
    // The instrument's own database, found by its bare name in the home
    // folder where the conversion runs, is converted in place and kept.
    const bool ok = convertTrend(trendFileName(), false);
    finishLocal(ok, ok ? copiedText() : (m_cancelRequested ? cancelledText() : copyErrorText()));
}

bool FileManager::startLocal()
{
    m_localBusy = true;
    m_cancelRequested = false;
    m_progress.show();
    if (!mountStorage(devicePath(), mountPoint(), &m_progress)) {
        finishLocal(false, mountErrorText());
        return false;
    }
    if (m_cancelRequested) {
        finishLocal(false, cancelledText());
        return false;
    }
    return true;
}

void FileManager::finishLocal(bool result, const QString& message)
{
    unmountStorage(devicePath(), &m_progress);
    noteTransfer(result, message);
    showMessage(message);
    m_progress.hide();
    m_localBusy = false;
    resetTransferFields();
    emit downloadComplete(result);
}

void FileManager::packageCertificationFiles()
{
    m_localBusy = true;
    m_cancelRequested = false;
    m_progress.show();
    m_journalSubject = QStringLiteral("certscan.cab");
    if (!mountStorage(devicePath(), mountPoint(), &m_progress)) {
        noteTransfer(false, mountErrorText());
        m_journalSubject.clear();
        m_progress.hide();
        m_hidePopups = false;
        m_localBusy = false;
        emit downloadComplete(false);
        return;
    }
    const bool result = !m_cancelRequested && buildCabinet();
    // Packaging tells the operator nothing itself; the procedure does.
    noteTransfer(result, QString());
    m_journalSubject.clear();
    // Mounted storage is unmounted whatever happened since, a cancel included.
    unmountStorage(devicePath(), &m_progress);
    m_progress.hide();
    m_hidePopups = false;
    m_localBusy = false;
    m_cancelRequested = false;
    emit downloadComplete(result);
}

bool FileManager::buildCabinet()
{
    const QString cabinetName = storageFileName(QStringLiteral("certscan.cab"), m_serialNumber,
                                                QDateTime::currentDateTime());
    m_journalSubject = cabinetName;
    const QFileInfoList found =
        QDir(mountPoint())
            .entryInfoList({QStringLiteral("*.bin"), QStringLiteral("*.db")}, QDir::Files,
                           QDir::Time);
    if (found.size() < kCabinetFiles) {
        qWarning() << "certification package needs" << kCabinetFiles << "files, found"
                   << found.size();
        return false;
    }
    QStringList names;
    for (int i = 0; i < kCabinetFiles; ++i)
        names.append(found.at(i).fileName());
    QTemporaryFile directive;
    QString error;
    if (!directive.open() ||
        !CabinetDirectiveFile::write(directive, cabinetName, mountPoint(), names, &error)) {
        qWarning().noquote() << "certification package not built:" << error;
        return false;
    }
    directive.close();
    showBusy(tr("Packaging files..."));
    const bool built =
        runUnderPopup(QStringLiteral("makecab"), {QStringLiteral("/F"), directive.fileName()});
    if (!built)
        QFile::remove(mountPoint() + QLatin1Char('/') + cabinetName);
    return built;
}

bool FileManager::runUnderPopup(const QString& program, const QStringList& arguments,
                                const ProgramTick& tick)
{
    m_programRunning = true;
    const bool ok = runProgram(program, arguments, {},
                               [&]() { return !m_cancelRequested && (!tick || tick()); });
    m_programRunning = false;
    return ok && !m_cancelRequested;
}

void FileManager::progressClosed()
{
    // While a program runs, a cancel stops it and its caller ends the work.
    if (m_programRunning || m_localBusy) {
        m_cancelRequested = true;
        return;
    }
    endTransfer(cancelledText(), true);
}

void FileManager::showBusy(const QString& text)
{
    m_progress.progressBar()->reset();
    m_progress.progressBar()->setRange(0, 0);
    m_progress.setText(text);
}

void FileManager::showMessage(const QString& message)
{
    if (m_hidePopups || message.isEmpty())
        return;
    MessageBox box(nullptr, false);
    box.setWindowTitle(tr("File Transfer"));
    // The analyzer's error texts come here too: capped, and never read as markup.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("textLabel"))) {
        label->setTextFormat(Qt::PlainText);
        label->setText(breakableWords(capServerTextLogged(message, label->objectName())));
    }
    // A long text makes the box taller than its form, never taller than the panel.
    if (QLayout* layout = box.layout(); layout && layout->hasHeightForWidth())
        box.resize(box.width(), std::clamp(layout->totalHeightForWidth(box.width()), box.height(),
                                           kPanelHeight));
    box.exec();
}

void FileManager::resetTransferFields()
{
    m_transferActive = false;
    m_convertTrend = false;
    m_hidePopups = false;
    m_batchesRemaining = 0;
    m_singlesRemaining = 0;
    m_tokenReceived = false;
    // The ended transfer's ids are never given out again (until the range
    // starts over), so its late replies reach nothing.
    if (m_transferId != 0)
        m_nextTransferId = m_lastTransferId < m_rangeLast ? m_lastTransferId + 1 : m_rangeFirst;
    m_transferId = 0;
    m_lastTransferId = 0;
    m_lastSentId = 0;
    m_idsSent = 0;
    m_repliesTaken = 0;
    m_chunks.start(nullptr);
    m_replyTimer.stop();
    m_cancelRequested = false;
    m_trendStart = defaultTrendStart();
    m_trendUnits = defaultTrendUnits();
    m_dataRequest.setParams({});
    m_download.reset();
    m_decoded = QByteArray();
    m_destination.clear();
    m_journalSubject.clear();
}

void FileManager::noteTransfer(bool ok, const QString& message) const
{
    EventJournal::note(JournalEvent::Transfer, m_journalSubject,
                       ok ? QStringLiteral("succeeded") : QStringLiteral("failed"), QString(),
                       message);
}
