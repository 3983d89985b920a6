#include "files/storage.h"

#include "files/programrunner.h"
#include "widgets/progressdialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <sys/statvfs.h>

const QString& mountCommand()
{
    static const QString command = QStringLiteral("echo");
    return command;
}

const QString& unmountCommand()
{
    static const QString command = QStringLiteral("echo");
    return command;
}

const QString& removeCommand()
{
    static const QString command = QStringLiteral("rm");
    return command;
}

bool fileExists(const QString& path)
{
    return QFileInfo::exists(path);
}

qint64 bytesAvailable(const QString& path)
{
    // Asked of the volume itself, so no mount table is needed (a container
    // or a bare chroot has none to read).
    struct statvfs volume;
    if (statvfs(QFile::encodeName(path).constData(), &volume) != 0)
        return -1;
    return qint64(volume.f_bavail) * qint64(volume.f_frsize);
}

namespace {
void showBusy(ProgressDialog* progress, const QString& text)
{
    if (!progress)
        return;
    progress->progressBar()->reset();
    progress->progressBar()->setRange(0, 0);
    progress->setText(text);
}
} // namespace

bool mountStorage(const QString& device, const QString& mountPoint, ProgressDialog* progress)
{
    showBusy(progress, QCoreApplication::translate("FileManager", "Mounting device..."));
    return runProgram(mountCommand(), {device, mountPoint});
}

bool unmountStorage(const QString& device, ProgressDialog* progress)
{
    showBusy(progress, QCoreApplication::translate("FileManager", "Unmounting device..."));
    return runProgram(unmountCommand(), {device});
}
