#include "base/globals.h"

namespace {

struct ProcessValues
{
    QString connectionString;
    bool isRemote = true;
    QString devicePath = QStringLiteral("/dev/sda1");
    QString mountPoint = QStringLiteral("/mnt/usb");
    const QString settingsFileName = QStringLiteral("settings.db");
    const QString trendFileName = QStringLiteral("trend.db");
    const QString scansFileName = QStringLiteral("scans.db");
    const QString srdaFileName = QStringLiteral("srda.bin");
    const QString logFileName = QStringLiteral("vireo.log");
    const QString logRequestPath = QStringLiteral("/tmp/log_request");
};

ProcessValues& values()
{
    static ProcessValues instance;
    return instance;
}

} // namespace

QString& connectionString()
{
    return values().connectionString;
}
bool isRemote()
{
    return values().isRemote;
}
const QString& devicePath()
{
    return values().devicePath;
}
const QString& mountPoint()
{
    return values().mountPoint;
}
const QString& settingsFileName()
{
    return values().settingsFileName;
}
const QString& trendFileName()
{
    return values().trendFileName;
}
const QString& scansFileName()
{
    return values().scansFileName;
}
const QString& srdaFileName()
{
    return values().srdaFileName;
}
const QString& logFileName()
{
    return values().logFileName;
}
const QString& logRequestPath()
{
    return values().logRequestPath;
}

void setIsRemote(bool remote)
{
    values().isRemote = remote;
}

void setStoragePath(const QString& path)
{
    values().devicePath = path;
    values().mountPoint = path;
}
