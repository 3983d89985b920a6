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

namespace {

constexpr int kCabinetFiles = 4;
constexpr int kProgressSteps = 200;
constexpr int kPanelHeight = 480;
constexpr int kFileManagerIds = 3;

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
    connect(&m_engine, &TransferEngine::requestReady, this, &FileManager::jsonToSend);
    connect(&m_engine, &TransferEngine::batchReady, this, &FileManager::jsonBatchToSend);
    connect(&m_engine, &TransferEngine::downloadAccepted, this, &FileManager::showChunkCount);
    connect(&m_engine, &TransferEngine::uploadAccepted, this,
            [this]() { showBusy(copyingText()); });
    connect(&m_engine, &TransferEngine::chunksWritten, this, &FileManager::showChunksWritten);
    connect(&m_engine, &TransferEngine::finished, this, &FileManager::transferFinished);
}

FileManager::~FileManager() = default;

QString FileManager::cancelledText()
{
    return tr("Transfer Cancelled");
}

void FileManager::assignRequestIds(int firstId)
{
    // The block's first two ids are never sent; the serial number takes the third.
    m_firstId = firstId;
    m_serialRequest.setId(firstId + 2);
    m_serialRequest.setMethod(QStringLiteral("serial_number"));
    reserveTransferIds(firstId + kFileManagerIds);
}

QJsonArray FileManager::updateRequests()
{
    return QJsonArray{m_serialRequest.json()};
}

void FileManager::handleResponse(const Analyzer::Response& response)
{
    if (response.id() == m_serialRequest.id()) {
        if (!response.isError())
            m_serialNumber = response.toString();
        return;
    }
    m_engine.handleReply(response);
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
    m_engine.startDownload(downloadMethod(type), m_download.get());
}

void FileManager::uploadSettingsFile()
{
    m_journalSubject = settingsFileName();
    m_transferActive = true;
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
    m_engine.startUpload(QStringLiteral("upload_settings"), &m_file);
}

void FileManager::transferFinished(const TransferEngine::Result& result)
{
    switch (result.outcome) {
    case TransferEngine::Outcome::Completed:
        // Only now is a download complete: it takes its real name.
        if (m_download && !m_download->commit()) {
            qWarning() << "cannot store" << m_destination << m_download->errorString();
            endTransfer(copyErrorText(), true);
            return;
        }
        endTransfer(copiedText(), false);
        return;
    case TransferEngine::Outcome::ServerError:
        endTransfer(result.message, true);
        return;
    case TransferEngine::Outcome::Failed:
        endTransfer(copyErrorText(), true);
        return;
    case TransferEngine::Outcome::Cancelled:
        // Only endTransfer cancels the engine; it is under way.
        return;
    }
}

void FileManager::showChunkCount(int count)
{
    QProgressBar* bar = m_progress.progressBar();
    bar->reset();
    bar->setRange(0, count);
    bar->setValue(0);
    m_progress.setText(copyingText());
}

void FileManager::showChunksWritten(int written)
{
    // The bar repaints at once on every visible step; a few hundred steps
    // show the progress as well as thousands and cost far less.
    QProgressBar* bar = m_progress.progressBar();
    const int step = std::max(1, bar->maximum() / kProgressSteps);
    if (written / step != bar->value() / step)
        bar->setValue(written);
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
    // A transfer the analyzer still takes part in ends there first.
    m_engine.cancel();
    QString text = message;
    const bool wasActive = m_transferActive;
    if (m_transferActive) {
        m_transferActive = false;
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
    m_cancelRequested = false;
    m_trendStart = defaultTrendStart();
    m_trendUnits = defaultTrendUnits();
    m_download.reset();
    m_destination.clear();
    m_journalSubject.clear();
}

void FileManager::noteTransfer(bool ok, const QString& message) const
{
    EventJournal::note(JournalEvent::Transfer, m_journalSubject,
                       ok ? QStringLiteral("succeeded") : QStringLiteral("failed"), QString(),
                       message);
}
