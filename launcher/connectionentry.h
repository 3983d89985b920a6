// One row of the launcher's connection list: what the user calls the
// analyzer, how to reach it and where its panel keeps copied files.
#pragma once

#include <QString>

struct ConnectionEntry
{
    QString nickname;
    /// Address + ":" + port, for example 192.168.1.20:60001.
    QString connectionString;
    /// A folder with the platform's native separators; the panel's storage disk.
    QString storageLocation;
};

inline bool operator==(const ConnectionEntry& a, const ConnectionEntry& b)
{
    return a.nickname == b.nickname && a.connectionString == b.connectionString &&
           a.storageLocation == b.storageLocation;
}

inline bool operator!=(const ConnectionEntry& a, const ConnectionEntry& b)
{
    return !(a == b);
}
