// Moves whole files between the analyzer and the operator's storage folder:
// downloads in base64 chunks, the settings upload, the trend database turned
// into CSV, and the certification cabinet. A download is written under a
// temporary name and only gets its real name once the analyzer has sent the
// end of the file, so a failed or cancelled transfer never leaves a file that
// looks like a complete copy.
//
// The exchange with the analyzer (ids, batches, chunk order, the reply limit)
// is the transfer engine's; this class mounts the storage, opens the files,
// shows the popups, runs the external programs and keeps the journal. Transfer
// requests do not use the file manager's id block (that keeps only the serial
// number poll) but a range reserved past every client's block.
#pragma once

#include "analyzer/request.h"
#include "analyzer/rpcinterface.h"
#include "files/programrunner.h"
#include "files/transferengine.h"
#include "widgets/progressdialog.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QObject>
#include <QSaveFile>
#include <QString>
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
    int lastRequestId() override { return m_serialRequest.id(); }
    /// The serial number request, refreshed on every poll.
    QJsonArray updateRequests() override;
    /// A reply from the id block or from the reserved transfer range.
    void handleResponse(const Analyzer::Response& response) override;

    /// Transfers take their ids from firstId up to the largest int; the
    /// controller gives the first id past every client's block and routes the
    /// replies of that range here. Until then the range begins right after
    /// the file manager's own block.
    void reserveTransferIds(int firstId) { m_engine.reserveIds(firstId); }
    /// Whether id lies in the range reserved for transfers.
    bool isTransferId(int id) const { return m_engine.isTransferId(id); }
    /// How long the analyzer may leave every request of a transfer
    /// unanswered before the transfer fails (30 s).
    void setReplyTimeout(int ms) { m_engine.setReplyTimeout(ms); }
    int replyTimeout() const { return m_engine.replyTimeout(); }

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
    void transferFinished(const TransferEngine::Result& result);
    void showChunkCount(int count);
    void showChunksWritten(int written);
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

    /// The exchange with the analyzer of the transfer under way.
    TransferEngine m_engine;
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
    /// From the start of a transfer (its mount and file choice included) to its end.
    bool m_transferActive = false;
    bool m_convertTrend = false;
    bool m_hidePopups = false;
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
