// The server side of the file transfer protocol. A download snapshots its
// source into a private file first (databases through SQLite's backup, so a
// download never yields a torn file) and then hands it out in base64 chunks;
// an upload collects chunks and hands a complete file to its consumer.
#pragma once

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace VireoSim {

class TransferManager
{
public:
    /// Called with the received file when an upload ends; returns false with
    /// an operator-readable message to reject it.
    using UploadConsumer = std::function<bool(const QString& path, QString* message)>;

    TransferManager(const QString& workDir, int chunkSize);
    ~TransferManager();

    int chunkSize() const { return m_chunkSize; }

    /// Starts a download of path (empty: an empty file). Returns [count, token],
    /// where count is the number of "download_file_data" requests that
    /// fetch the whole file including the closing empty chunk.
    bool startDownload(const QString& path, QJsonArray* result, QString* message);
    /// The next chunk of a download as base64 text; "" once the file is done.
    bool nextChunk(const QString& token, QByteArray* chunk, QString* message);

    QString startUpload(const UploadConsumer& consumer);
    /// Appends a base64 chunk; "" ends the upload and hands the file on.
    bool uploadChunk(const QString& token, const QString& base64, QString* message);

    int activeTransfers() const { return m_transfers.size(); }

    static constexpr qint64 maxUploadBytes = 64 * 1024 * 1024;

private:
    struct Transfer
    {
        std::shared_ptr<QFile> file;
        UploadConsumer consumer; // set for uploads
        QDateTime lastUse;
    };

    QString newToken();
    void finish(const QString& token);
    void expireIdle();

    QString m_workDir;
    int m_chunkSize;
    QHash<QString, Transfer> m_transfers;
    QStringList m_finished; // recently completed downloads keep answering ""
};

} // namespace VireoSim
