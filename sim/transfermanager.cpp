#include "sim/transfermanager.h"

#include "sim/sqlitefile.h"

#include <QDir>
#include <QRandomGenerator>

namespace VireoSim {

namespace {
const int kIdleSeconds = 600;
const int kFinishedRemembered = 32;
} // namespace

TransferManager::TransferManager(const QString& workDir, int chunkSize)
    : m_workDir(workDir), m_chunkSize(chunkSize)
{
    QDir dir(m_workDir);
    dir.mkpath(QStringLiteral("."));
    // Leftovers of a previous run belong to transfers nobody can finish now.
    for (const QString& name : dir.entryList(QDir::Files))
        dir.remove(name);
}

TransferManager::~TransferManager()
{
    for (auto it = m_transfers.begin(); it != m_transfers.end(); ++it)
        it->file->remove();
}

QString TransferManager::newToken()
{
    QString token;
    do {
        token = QString::number(QRandomGenerator::global()->generate64(), 16);
    } while (m_transfers.contains(token));
    return token;
}

void TransferManager::finish(const QString& token)
{
    auto it = m_transfers.find(token);
    if (it == m_transfers.end())
        return;
    it->file->remove();
    m_transfers.erase(it);
    m_finished.append(token);
    while (m_finished.size() > kFinishedRemembered)
        m_finished.removeFirst();
}

void TransferManager::expireIdle()
{
    const QDateTime limit = QDateTime::currentDateTimeUtc().addSecs(-kIdleSeconds);
    const QStringList tokens = m_transfers.keys();
    for (const QString& token : tokens) {
        if (m_transfers.value(token).lastUse < limit) {
            m_transfers[token].file->remove();
            m_transfers.remove(token);
        }
    }
}

bool TransferManager::startDownload(const QString& path, QJsonArray* result, QString* message)
{
    expireIdle();
    const QString token = newToken();
    const QString copy = m_workDir + QLatin1Char('/') + token;
    QString error;
    bool ok;
    if (path.isEmpty()) {
        QFile empty(copy);
        ok = empty.open(QIODevice::WriteOnly);
    } else if (path.endsWith(QLatin1String(".db"))) {
        ok = SqliteFile::snapshot(path, copy, &error);
    } else {
        QFile::remove(copy);
        ok = QFile::copy(path, copy);
    }
    auto file = std::make_shared<QFile>(copy);
    if (!ok || !file->open(QIODevice::ReadOnly)) {
        qWarning("download of %s failed: %s", qPrintable(path), qPrintable(error));
        QFile::remove(copy);
        *message = QStringLiteral("The analyzer could not read the file for transfer.");
        return false;
    }
    const qint64 chunks = (file->size() + m_chunkSize - 1) / m_chunkSize;
    Transfer transfer;
    transfer.file = std::move(file);
    transfer.lastUse = QDateTime::currentDateTimeUtc();
    m_transfers.insert(token, std::move(transfer));
    *result = QJsonArray{double(chunks + 1), token};
    return true;
}

bool TransferManager::nextChunk(const QString& token, QByteArray* chunk, QString* message)
{
    auto it = m_transfers.find(token);
    if (it == m_transfers.end() || it->consumer) {
        if (m_finished.contains(token)) {
            chunk->clear();
            return true;
        }
        *message = QStringLiteral("The file transfer is no longer active; please start it again.");
        return false;
    }
    it->lastUse = QDateTime::currentDateTimeUtc();
    const QByteArray bytes = it->file->read(m_chunkSize);
    if (bytes.isEmpty()) {
        chunk->clear();
        finish(token);
        return true;
    }
    *chunk = bytes.toBase64();
    return true;
}

QString TransferManager::startUpload(const UploadConsumer& consumer)
{
    expireIdle();
    const QString token = newToken();
    Transfer transfer;
    transfer.file = std::make_shared<QFile>(m_workDir + QLatin1Char('/') + token);
    transfer.file->open(QIODevice::WriteOnly | QIODevice::Truncate);
    transfer.consumer = consumer;
    transfer.lastUse = QDateTime::currentDateTimeUtc();
    m_transfers.insert(token, std::move(transfer));
    return token;
}

bool TransferManager::uploadChunk(const QString& token, const QString& base64, QString* message)
{
    auto it = m_transfers.find(token);
    // An empty file is sent as an empty chunk and then the end marker; the
    // second one must not raise a second error for the operator.
    if (it == m_transfers.end() && base64.isEmpty() && m_finished.contains(token))
        return true;
    if (it == m_transfers.end() || !it->consumer) {
        *message = QStringLiteral("The file transfer is no longer active; please start it again.");
        return false;
    }
    it->lastUse = QDateTime::currentDateTimeUtc();
    if (base64.isEmpty()) {
        it->file->close();
        const UploadConsumer consumer = it->consumer;
        const QString path = it->file->fileName();
        const bool accepted = consumer(path, message);
        finish(token);
        return accepted;
    }
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        finish(token);
        *message = QStringLiteral("The uploaded data was damaged on the way; nothing was changed.");
        return false;
    }
    if (it->file->size() + decoded.decoded.size() > maxUploadBytes) {
        finish(token);
        *message = QStringLiteral("The uploaded file is too large; nothing was changed.");
        return false;
    }
    if (it->file->write(decoded.decoded) != decoded.decoded.size()) {
        finish(token);
        *message = QStringLiteral("The analyzer could not store the uploaded data.");
        return false;
    }
    return true;
}

} // namespace VireoSim
