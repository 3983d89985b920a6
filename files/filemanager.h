// Moves whole files between the analyzer and the operator's storage folder:
// downloads in base64 chunks, the settings upload, the trend database turned
// into CSV, and the certification cabinet. A download is written under a
// temporary name and only gets its real name once the analyzer has sent the
// end of the file, so a failed or cancelled transfer never leaves a file that
// looks like a complete copy.
//
// Transfer requests do not use the file manager's id block (that keeps only
// the serial number poll): every request of a transfer, the one that starts
// it included, carries an id of its own from a range reserved past every
// client's block. A reply is placed by its id, whatever order a batch is
// answered in, and a reply to an id of an ended transfer reaches nothing.
#pragma once

#include "analyzer/request.h"
#include "analyzer/rpcinterface.h"
#include "files/chunkreassembly.h"
#include "files/programrunner.h"
#include "widgets/progressdialog.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QObject>
#include <QSaveFile>
#include <QString>
#include <QTimer>
#include <QVector>
#include <memory>

class FileManager : public QObject, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    enum FileType
    {
        SettingsFile = 0,
        ScansFile = 1,
        TrendFile = 2,
        SrdaFile = 3,
        LogFile = 4,
        CertificationPackage = 5
    };

    explicit FileManager(QObject* parent = nullptr);
    ~FileManager() override;

    /// "Transfer Cancelled" in the panel's language: the message of a
    /// transfer ended by a cancel or by the lost link.
    static QString cancelledText();

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_firstId; }
    int lastRequestId() override { return m_thirdId; }
    /// The serial number request, refreshed on every poll.
    QJsonArray updateRequests() override;
    /// A reply from the id block or from the reserved transfer range.
    void handleResponse(const Analyzer::Response& response) override;

    /// Transfers take their ids from firstId up to the largest int; the
    /// controller gives the first id past every client's block and routes the
    /// replies of that range here. Until then the range begins right after
    /// the file manager's own block.
    void reserveTransferIds(int firstId);
    /// Whether id lies in the range reserved for transfers.
    bool isTransferId(int id) const { return id >= m_rangeFirst && id <= m_rangeLast; }
    /// How long the analyzer may leave every request of a transfer
    /// unanswered before the transfer fails (30 s).
    void setReplyTimeout(int ms) { m_replyTimer.setInterval(ms); }
    int replyTimeout() const { return m_replyTimer.interval(); }

    /// Certification package for CertificationPackage, otherwise a download.
    void downloadFile(FileType type, bool hidePopups);
    /// Lets the operator choose a settings database in the storage folder and uploads it.
    void uploadSettingsFile();
    /// Downloads the trend database and converts it from start on, in units, to CSV.
    void downloadTrendFile(const QDateTime& start, const QString& units, bool hidePopups);
    /// Ends the transfer (if any), tells the operator message unless popups are
    /// hidden, resets every per-transfer field and emits downloadComplete(!failed).
    void endTransfer(const QString& message, bool failed);
    /// Packs the four newest .bin/.db files of the storage folder into a cabinet.
    void packageCertificationFiles();

    /// The serial number as the analyzer last reported it (unfiltered).
    QString serialNumber() const { return m_serialNumber; }
    bool isTransferActive() const { return m_transferActive; }
    /// The popup, for the operator's cancel and for tests.
    ProgressDialog* progressDialog() { return &m_progress; }

signals:
    void jsonToSend(const Analyzer::Request& request);
    void jsonBatchToSend(QJsonArray batch);
    void downloadComplete(bool success);

private:
    void startDownload(FileType type);
    void sendTransferRequest(const QString& method);
    void handleTransferReply(const Analyzer::Response& response);
    void handleDownloadData(int slot, const Analyzer::Response& response);
    void handleUploadData();
    void requestChunks(int count);
    void releaseRequests(int written);
    bool readUploadChunk(QByteArray* bytes);
    void sendUploadChunk(const QByteArray& bytes);
    void armReplyTimer();
    void replyTimedOut();
    bool convertTrend(const QString& database, bool removeDatabase);
    void copyLocalFile(FileType type);
    void exportLocalTrend();
    bool buildCabinet();
    bool startLocal();
    void finishLocal(bool result, const QString& message);
    bool runUnderPopup(const QString& program, const QStringList& arguments,
                       const ProgramTick& tick = ProgramTick());
    void progressClosed();
    void showBusy(const QString& text);
    void showMessage(const QString& message);
    void resetTransferFields();
    /// Records the transfer that just ended, and its result, in the journal.
    void noteTransfer(bool ok, const QString& message) const;

    Analyzer::Request m_transferRequest;
    Analyzer::Request m_dataRequest;
    Analyzer::Request m_serialRequest;
    /// The settings database being uploaded.
    QFile m_file;
    /// The download being written; its temporary file goes away unless committed.
    std::unique_ptr<QSaveFile> m_download;
    /// Where the download lands once it is complete.
    QString m_destination;
    /// The file the transfer under way is about, as the journal names it.
    QString m_journalSubject;
    ProgressDialog m_progress;
    QDateTime m_trendStart;
    QString m_serialNumber;
    QString m_trendUnits;
    int m_firstId = 0;
    int m_secondId = 0;
    int m_thirdId = 0;
    /// The ids reserved for transfers.
    int m_rangeFirst = 0;
    int m_rangeLast = 0;
    /// The first id the next transfer may take.
    int m_nextTransferId = 0;
    /// The current transfer's ids run from the first (its transfer request)
    /// to the last; 0 when it has sent nothing yet.
    int m_transferId = 0;
    int m_lastTransferId = 0;
    /// The highest id the current transfer may take: below the ids of an
    /// earlier transfer that may still be answered.
    int m_idCeiling = 0;
    /// The highest id the current transfer has sent, how many it has sent
    /// and how many replies it has taken.
    int m_lastSentId = 0;
    int m_idsSent = 0;
    int m_repliesTaken = 0;
    /// Ids of an ended transfer that may still be answered.
    struct OwedIds
    {
        int first;
        int last;
    };
    /// Recent ended transfers that were owed replies, oldest first.
    QVector<OwedIds> m_owed;
    /// Download chunks back in request order; slot k has id m_transferId + 1 + k.
    ChunkReassembly m_chunks;
    /// The chunk due next, decoded; its memory serves every chunk of a transfer.
    QByteArray m_decoded;
    /// Runs while the analyzer owes the transfer a reply.
    QTimer m_replyTimer;
    bool m_transferActive = false;
    bool m_convertTrend = false;
    bool m_hidePopups = false;
    int m_batchesRemaining = 0;
    int m_singlesRemaining = 0;
    /// False until the analyzer has answered the transfer request with a token.
    bool m_tokenReceived = false;
    /// Set while endTransfer runs; a cancel that arrives meanwhile is not a second end.
    bool m_ending = false;
    /// A copy, export or packaging on the storage side runs under the popup.
    bool m_localBusy = false;
    /// An external program runs under the popup.
    bool m_programRunning = false;
    /// The operator closed the popup while a program ran; it is stopped.
    bool m_cancelRequested = false;
};

Q_DECLARE_METATYPE(FileManager::FileType)
