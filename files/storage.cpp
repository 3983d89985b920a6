#include "files/storage.h"

#include "files/programrunner.h"
#include "widgets/progressdialog.h"

#include <QFileInfo>
#include <QProgressBar>

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
    showBusy(progress, QStringLiteral("Mounting device..."));
    return runProgram(mountCommand(), {device, mountPoint});
}

bool unmountStorage(const QString& device, ProgressDialog* progress)
{
    showBusy(progress, QStringLiteral("Unmounting device..."));
    return runProgram(unmountCommand(), {device});
}
