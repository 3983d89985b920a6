// Process-wide values of the panel, set once from the command line at start
// and read everywhere else through these accessors.
#pragma once

#include <QString>

/// host + ":" + port of the analyzer (modifiable: the controller may rewrite it).
QString& connectionString();
/// True when the panel runs on a PC and reaches the analyzer over the network.
bool isRemote();
/// The removable-disk device; on a PC the storage folder from the command line.
const QString& devicePath();
/// The removable-disk mount point; on a PC the same storage folder.
const QString& mountPoint();
const QString& settingsFileName();
const QString& trendFileName();
const QString& scansFileName();
const QString& srdaFileName();
const QString& logFileName();
/// Name of the log server's local socket.
const QString& logRequestPath();

/// Selects the panel variant that runs on the instrument's own computer.
void setIsRemote(bool remote);
/// Points both disk paths at one folder (the storage folder on a PC).
void setStoragePath(const QString& path);
