// Whole-file operations on SQLite databases that QtSql does not offer:
// consistent copies through SQLite's online backup, and a structural check of
// a file before it is trusted.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace VireoSim {

class SqliteFile
{
public:
    /// Copies src to dest as one consistent snapshot (readers and writers of
    /// src may carry on meanwhile). dest is replaced; it ends in rollback-journal mode.
    static bool snapshot(const QString& src, const QString& dest, QString* error);

    /// True when path is a complete SQLite database (integrity check passes)
    /// holding each table with at least the columns given.
    static bool check(const QString& path, const QMap<QString, QStringList>& tables,
                      QString* message);

    /// Closes and forgets a QtSql connection, if it exists.
    static void removeConnection(const QString& name);

    /// A QtSql connection name no other object in the process uses.
    static QString uniqueConnectionName(const char* prefix);
};

} // namespace VireoSim
