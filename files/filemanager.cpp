#include "files/filemanager.h"

#include "analyzer/response.h"
#include "files/cabinetdirectivefile.h"
#include "files/storage.h"
#include "files/storagenames.h"
#include "widgets/globals.h"
#include "widgets/messagebox.h"
#include "widgets/openfile.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <limits>

namespace {

constexpr int kBatchSize = 25;
constexpr int kUploadChunkBytes = 1024;
constexpr int kCabinetFiles = 4;
constexpr int kProgressSteps = 200;

const QString kCopied = QStringLiteral("File copied successfully");
const QString kCopyError = QStringLiteral("Error copying file");
const QString kMountError = QStringLiteral("Error mounting USB device");
const QString kCancelled = QStringLiteral("Transfer Cancelled");
const QString kCopying = QStringLiteral("Copying file, please wait...");
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
    m_progress.setWindowTitle(QStringLiteral("File Transfer"));
    m_progress.setModal(true);
    connect(&m_progress, &ProgressDialog::closed, this, &FileManager::progressClosed);
}

FileManager::~FileManager() = default;

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
    if (!m_transferActive)
        return;
    // A data reply before the analyzer has named this transfer's token was
    // asked for by a transfer that has ended.
    if (id == m_secondId && !m_tokenReceived)
        return;
    if (response.isError()) {
        endTransfer(response.errorMessage(), true);
        return;
    }
    const bool upload = m_transferRequest.method() == kUploadMethod;
    if (id == m_firstId)
        handleTransferReply(response);
    else if (id == m_secondId && upload)
        handleUploadData();
    else if (id == m_secondId)
        handleDownloadData(response);
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
    m_download = std::make_unique<QSaveFile>(m_destination);
    m_progress.show();
    m_transferActive = true;
    m_tokenReceived = false;
    if (!mountStorage(devicePath(), mountPoint(), &m_progress)) {
        endTransfer(kMountError, true);
        return;
    }
    // The operator may have cancelled while the mount command ran.
    if (!m_transferActive)
        return;
    if (!m_download->open(QIODevice::WriteOnly)) {
        qWarning() << "cannot write" << m_destination << m_download->errorString();
        endTransfer(kMountError, true);
        return;
    }
    m_transferRequest.setMethod(downloadMethod(type));
    emit jsonToSend(m_transferRequest);
}

void FileManager::uploadSettingsFile()
{
    m_transferActive = true;
    m_tokenReceived = false;
    m_progress.show();
    if (!mountStorage(devicePath(), mountPoint(), &m_progress)) {
        endTransfer(kMountError, true);
        return;
    }
    if (!m_transferActive)
        return;

    OpenFile picker;
    picker.setWindowTitle(QStringLiteral("Select File"));
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
    m_transferRequest.setMethod(kUploadMethod);
    emit jsonToSend(m_transferRequest);
}

void FileManager::handleTransferReply(const Analyzer::Response& response)
{
    if (m_tokenReceived)
        return; // the transfer has its token already
    if (m_transferRequest.method() == kUploadMethod) {
        const QString token = response.toString();
        if (token.isEmpty() || !m_file.open(QIODevice::ReadOnly)) {
            endTransfer(kCopyError, true);
            return;
        }
        m_tokenReceived = true;
        m_dataRequest.setMethod(QStringLiteral("upload_file_data"));
        m_dataRequest.setParams({token, QString()});
        showBusy(kCopying);
        if (sendUploadChunk())
            emit jsonToSend(m_dataRequest);
        return;
    }

    const QJsonArray info = response.toArray();
    if (!info.at(1).isString()) {
        endTransfer(kCopyError, true);
        return;
    }
    const int count = std::max(0, info.at(0).toInt());
    m_tokenReceived = true;
    m_batchesRemaining = count / kBatchSize;
    m_singlesRemaining = count % kBatchSize;
    m_chunksReceived = 0;
    m_dataRequest.setParams({info.at(1)});
    m_dataRequest.setMethod(QStringLiteral("download_file_data"));
    m_progress.progressBar()->reset();
    m_progress.progressBar()->setRange(0, count);
    m_progress.progressBar()->setValue(0);
    m_progress.setText(kCopying);
    if (m_batchesRemaining < 1) {
        m_singlesRemaining = std::max(0, m_singlesRemaining - 1);
        emit jsonToSend(m_dataRequest);
    } else {
        requestChunks();
    }
}

void FileManager::requestChunks()
{
    --m_batchesRemaining;
    QJsonArray batch;
    const QJsonObject request = m_dataRequest.json();
    for (int i = 0; i < kBatchSize; ++i)
        batch.append(request);
    emit jsonBatchToSend(batch);
}

void FileManager::handleDownloadData(const Analyzer::Response& response)
{
    const QJsonValue result = response.result();
    if (!result.isString()) {
        endTransfer(kCopyError, true);
        return;
    }
    const QString text = result.toString();
    if (text.isEmpty()) {
        // Only now is the file complete: it takes its real name.
        if (!m_download->commit()) {
            qWarning() << "cannot store" << m_destination << m_download->errorString();
            endTransfer(kCopyError, true);
            return;
        }
        endTransfer(kCopied, false);
        return;
    }
    const auto decoded =
        QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || m_download->write(decoded.decoded) != decoded.decoded.size()) {
        qWarning() << "download chunk" << m_chunksReceived
                   << (decoded ? "not written" : "not base64");
        endTransfer(kCopyError, true);
        return;
    }
    ++m_chunksReceived;
    // The bar repaints at once on every visible step; a few hundred steps
    // show the progress as well as thousands and cost far less.
    QProgressBar* bar = m_progress.progressBar();
    if (m_chunksReceived % std::max(1, bar->maximum() / kProgressSteps) == 0)
        bar->setValue(m_chunksReceived);
    if (m_chunksReceived % kBatchSize == 0 && m_batchesRemaining > 0) {
        requestChunks();
    } else if (m_batchesRemaining == 0 && m_singlesRemaining > 0) {
        --m_singlesRemaining;
        emit jsonToSend(m_dataRequest);
    }
}

bool FileManager::sendUploadChunk()
{
    const QByteArray bytes = m_file.read(kUploadChunkBytes);
    if (m_file.error() != QFileDevice::NoError) {
        endTransfer(kCopyError, true);
        return false;
    }
    QJsonArray params = m_dataRequest.params();
    params[1] = QString::fromLatin1(bytes.toBase64());
    m_dataRequest.setParams(params);
    return true;
}

void FileManager::handleUploadData()
{
    if (!m_file.isOpen()) {
        endTransfer(kCopied, false);
        return;
    }
    if (m_file.atEnd()) {
        m_file.close();
        QJsonArray params = m_dataRequest.params();
        params[1] = QString();
        m_dataRequest.setParams(params);
        emit jsonToSend(m_dataRequest);
        return;
    }
    if (sendUploadChunk())
        emit jsonToSend(m_dataRequest);
}

void FileManager::endTransfer(const QString& message, bool failed)
{
    // The message popup and the programs below run nested event loops; a
    // cancel or a late reply arriving meanwhile must not end it a second time.
    if (m_ending)
        return;
    m_ending = true;
    QString text = message;
    if (m_transferActive) {
        m_transferActive = false;
        if (m_file.isOpen())
            m_file.close();
        // Not committed means not complete: the temporary file goes away.
        m_download.reset();
        if (m_convertTrend && !failed && !convertTrend(m_destination, true)) {
            text = m_cancelRequested ? kCancelled : kCopyError;
            failed = true;
        }
        unmountStorage(devicePath(), &m_progress);
        showMessage(text);
        m_progress.hide();
    }
    resetTransferFields();
    m_ending = false;
    emit downloadComplete(!failed);
}

bool FileManager::convertTrend(const QString& database, bool removeDatabase)
{
    showBusy(QStringLiteral("Saving trend data..."));
    m_progress.show();
    const QString csv = storagePath(QStringLiteral("trend.csv"), m_serialNumber);
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
    if (!startLocal())
        return;
    const QFileInfo source(sourceName(type));
    const qint64 size = source.size();
    // Without a readable mount table (a container, a bare chroot) the free
    // space is unknown; the copy then goes ahead and the copy program reports
    // a full disk itself.
    const qint64 available = QStorageInfo(mountPoint()).bytesAvailable();
    if (available < 0) {
        qDebug() << "Free space unknown at" << mountPoint();
    } else if (available < size) {
        finishLocal(false, QStringLiteral("Insufficient space available"));
        return;
    }
    const QString destination = storagePath(source.fileName(), m_serialNumber);
    // Copied under a name no reader takes for the file; renamed when complete.
    const QString partial = destination + QStringLiteral(".part");
    const QString program = source.fileName().endsWith(QLatin1String(".db"))
                                ? QStringLiteral("cpdb")
                                : QStringLiteral("cp");
    QStringList arguments{source.absoluteFilePath(), partial};
    if (source.fileName().contains(QLatin1String("settings")))
        arguments.insert(1, QStringLiteral("e"));

    // The bar counts in units that fit its int range.
    const qint64 unit = size / std::numeric_limits<int>::max() + 1;
    QProgressBar* bar = m_progress.progressBar();
    bar->reset();
    bar->setRange(0, int(size / unit));
    m_progress.setText(kCopying);
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
    finishLocal(ok, ok ? kCopied : (m_cancelRequested ? kCancelled : kCopyError));
}

void FileManager::exportLocalTrend()
{
    if (!startLocal())
        return;
    // The instrument's own database is converted in place and kept.
    const bool ok = convertTrend(QFileInfo(trendFileName()).absoluteFilePath(), false);
    finishLocal(ok, ok ? kCopied : (m_cancelRequested ? kCancelled : kCopyError));
}

bool FileManager::startLocal()
{
    m_localBusy = true;
    m_cancelRequested = false;
    m_progress.show();
    if (!mountStorage(devicePath(), mountPoint(), &m_progress)) {
        finishLocal(false, kMountError);
        return false;
    }
    if (m_cancelRequested) {
        finishLocal(false, kCancelled);
        return false;
    }
    return true;
}

void FileManager::finishLocal(bool result, const QString& message)
{
    unmountStorage(devicePath(), &m_progress);
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
    if (!mountStorage(devicePath(), mountPoint(), &m_progress) || m_cancelRequested) {
        m_progress.hide();
        m_hidePopups = false;
        m_localBusy = false;
        emit downloadComplete(false);
        return;
    }
    const QString cabinetName = storageFileName(QStringLiteral("certscan.cab"), m_serialNumber,
                                                QDateTime::currentDateTime());
    const QFileInfoList found =
        QDir(mountPoint())
            .entryInfoList({QStringLiteral("*.bin"), QStringLiteral("*.db")}, QDir::Files,
                           QDir::Time);
    bool result = false;
    if (found.size() < kCabinetFiles) {
        qWarning() << "certification package needs" << kCabinetFiles << "files, found"
                   << found.size();
    } else {
        QStringList names;
        for (int i = 0; i < kCabinetFiles; ++i)
            names.append(found.at(i).fileName());
        QTemporaryFile directive;
        QString error;
        if (!directive.open() ||
            !CabinetDirectiveFile::write(directive, cabinetName, mountPoint(), names, &error)) {
            qWarning().noquote() << "certification package not built:" << error;
        } else {
            directive.close();
            showBusy(QStringLiteral("Packaging files..."));
            result = runUnderPopup(QStringLiteral("makecab"),
                                   {QStringLiteral("/F"), directive.fileName()});
            if (!result)
                QFile::remove(mountPoint() + QLatin1Char('/') + cabinetName);
        }
    }
    unmountStorage(devicePath(), &m_progress);
    m_progress.hide();
    m_hidePopups = false;
    m_localBusy = false;
    m_cancelRequested = false;
    emit downloadComplete(result);
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
    endTransfer(kCancelled, true);
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
    box.setWindowTitle(QStringLiteral("File Transfer"));
    box.setText(message);
    box.exec();
}

void FileManager::resetTransferFields()
{
    m_transferActive = false;
    m_convertTrend = false;
    m_hidePopups = false;
    m_batchesRemaining = 0;
    m_singlesRemaining = 0;
    m_chunksReceived = 0;
    m_tokenReceived = false;
    m_cancelRequested = false;
    m_trendStart = defaultTrendStart();
    m_trendUnits = defaultTrendUnits();
    m_dataRequest.setParams({});
    m_download.reset();
    m_destination.clear();
}
