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

// The file manager's words for the same outcomes, in the panel's language.
QString said(const char* text)
{
    return QCoreApplication::translate("FileManager", text);
}

StorageExport::Result written(const QString& path, const QByteArray& bytes)
{
    // The volume must hold the whole file; when its room cannot be read the
    // write goes ahead and reports a full disk itself.
    const qint64 available = bytesAvailable(mountPoint());
    if (available >= 0 && available < bytes.size())
        return {false, said(QT_TRANSLATE_NOOP("FileManager", "Insufficient space available")), QString()};
    if (!QFileInfo(mountPoint()).isDir())
        return {false, said(QT_TRANSLATE_NOOP("FileManager", "Error mounting USB device")), QString()};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning().noquote() << "cannot write" << path << file.errorString();
        return {false, said(QT_TRANSLATE_NOOP("FileManager", "Error mounting USB device")), QString()};
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        qWarning().noquote() << "cannot store" << path << file.errorString();
        return {false, said(QT_TRANSLATE_NOOP("FileManager", "Error copying file")), QString()};
    }
    return {true, said(QT_TRANSLATE_NOOP("FileManager", "File copied successfully")), path};
}

} // namespace

StorageExport::Result StorageExport::write(const QString& sourceName, const QString& serial,
                                           const QByteArray& bytes, ProgressDialog* progress)
{
    const QString name = storageFileName(sourceName, serial, QDateTime::currentDateTime());
    Result result;
    if (!mountStorage(devicePath(), mountPoint(), progress)) {
        result = {false, said(QT_TRANSLATE_NOOP("FileManager", "Error mounting USB device")), QString()};
    } else {
        result = written(mountPoint() + QLatin1Char('/') + name, bytes);
        unmountStorage(devicePath(), progress);
    }
    EventJournal::note(JournalEvent::Transfer, name,
                       result.ok ? QStringLiteral("succeeded") : QStringLiteral("failed"),
                       QString(), result.message);
    return result;
}

StorageExport::Result StorageExport::save(const QString& sourceName, const QString& serial,
                                          const QByteArray& bytes)
{
    const Result result = write(sourceName, serial, bytes);
    MessageBox box(nullptr, false);
    box.setWindowTitle(said(QT_TRANSLATE_NOOP("FileManager", "File Transfer")));
    box.setText(result.message);
    box.exec();
    return result;
}
