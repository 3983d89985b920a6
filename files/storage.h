// The storage side of file transfers: the presence test, the mount and
// unmount steps and the commands they run. On a PC the device and the mount
// point are the same storage folder and both commands are "echo", so mounting
// is a logged no-op.
#pragma once

#include <QString>

class ProgressDialog;

const QString& mountCommand();
const QString& unmountCommand();
const QString& removeCommand();

/// True when a file or folder exists at path.
bool fileExists(const QString& path);
/// The bytes a user may still write on the volume that holds path; -1 when
/// that cannot be read.
qint64 bytesAvailable(const QString& path);
/// Runs the mount command with device and mountPoint; the popup, when given,
/// shows a busy bar and "Mounting device..." meanwhile.
bool mountStorage(const QString& device, const QString& mountPoint, ProgressDialog* progress);
/// Runs the unmount command with device; the popup shows "Unmounting device...".
bool unmountStorage(const QString& device, ProgressDialog* progress);
