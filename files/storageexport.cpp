#include "files/storageexport.h"

#include "base/eventjournal.h"
#include "base/globals.h"
#include "files/storage.h"
#include "files/storagenames.h"
#include "widgets/messagebox.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The file manager's words for the same outcomes.
const char* const kNoSpace = QT_TRANSLATE_NOOP("FileManager", "Insufficient space available");
const char* const kNoMount = QT_TRANSLATE_NOOP("FileManager", "Error mounting USB device");
const char* const kNotCopied = QT_TRANSLATE_NOOP("FileManager", "Error copying file");
const char* const kCopied = QT_TRANSLATE_NOOP("FileManager", "File copied successfully");

QString said(const char* text)
{
    return QCoreApplication::translate("FileManager", text);
}

/// Where the file went, and the outcome in the file manager's words as written
/// (the journal keeps them so, to show them in whatever language is on screen).
struct Outcome
{
    const char* words;
    QString path;
};

Outcome written(const QString& path, const QByteArray& bytes)
{
    // The volume must hold the whole file; when its room cannot be read the
    // write goes ahead and reports a full disk itself.
    const qint64 available = bytesAvailable(mountPoint());
    if (available >= 0 && available < bytes.size())
        return {kNoSpace, QString()};
    if (!QFileInfo(mountPoint()).isDir())
        return {kNoMount, QString()};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning().noquote() << "cannot write" << path << file.errorString();
        return {kNoMount, QString()};
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        qWarning().noquote() << "cannot store" << path << file.errorString();
        return {kNotCopied, QString()};
    }
    return {kCopied, path};
}

} // namespace

StorageExport::Result StorageExport::write(const QString& sourceName, const QString& serial,
                                           const QByteArray& bytes, ProgressDialog* progress)
{
    const QString name = storageFileName(sourceName, serial, QDateTime::currentDateTime());
    Outcome outcome{kNoMount, QString()};
    if (mountStorage(devicePath(), mountPoint(), progress)) {
        outcome = written(mountPoint() + QLatin1Char('/') + name, bytes);
        unmountStorage(devicePath(), progress);
    }
    const bool ok = !outcome.path.isEmpty();
    EventJournal::note(JournalEvent::Transfer, name,
                       ok ? QStringLiteral("succeeded") : QStringLiteral("failed"), QString(),
                       QString::fromUtf8(outcome.words));
    return {ok, said(outcome.words), outcome.path};
}

QString StorageExport::nothingText()
{
    return QCoreApplication::translate("StorageExport", "Nothing to export");
}

StorageExport::Result StorageExport::save(const QString& sourceName, const QString& serial,
                                          const QByteArray& bytes, int rows)
{
    const Result result =
        rows > 0 ? write(sourceName, serial, bytes) : Result{false, nothingText(), QString()};
    MessageBox box(nullptr, false);
    box.setWindowTitle(said(QT_TRANSLATE_NOOP("FileManager", "File Transfer")));
    box.setText(result.message);
    box.exec();
    return result;
}
