#include "sim/sqlitefile.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <sqlite3.h>

namespace VireoSim {

namespace {

// Closes the handle whatever path a function leaves by.
struct Handle
{
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(db)); }
};

bool openFile(Handle* handle, const QString& path, int flags, QString* error)
{
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle->db, flags, nullptr) !=
        SQLITE_OK) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, handle->error());
        return false;
    }
    sqlite3_busy_timeout(handle->db, 5000);
    return true;
}

// Runs a statement and collects the first column of every row as text.
bool collect(sqlite3* db, const QByteArray& sql, QStringList* rows)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        return false;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        rows->append(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

} // namespace

bool SqliteFile::snapshot(const QString& src, const QString& dest, QString* error)
{
    if (!QFileInfo(src).isFile()) {
        *error = QStringLiteral("%1 does not exist").arg(src);
        return false;
    }
    QFile::remove(dest);
    Handle source, target;
    if (!openFile(&source, src, SQLITE_OPEN_READONLY, error) ||
        !openFile(&target, dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error))
        return false;
    sqlite3_backup* backup = sqlite3_backup_init(target.db, "main", source.db, "main");
    if (!backup) {
        *error = target.error();
        return false;
    }
    // One step copies every page inside a single read transaction on the
    // source: the copy is the database as it was at one instant.
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        *error =
            QStringLiteral("copy of %1 failed: %2").arg(src, QString::fromUtf8(sqlite3_errstr(rc)));
        return false;
    }
    // A copy of a WAL database would need its -wal file beside it when read
    // elsewhere; the copy is one self-contained file instead.
    sqlite3_exec(target.db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    return true;
}

bool SqliteFile::check(const QString& path, const QMap<QString, QStringList>& tables,
                       QString* message)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(16) != QByteArray("SQLite format 3\0", 16)) {
        *message = QStringLiteral("The file is not an SQLite database.");
        return false;
    }
    file.close();
    Handle handle;
    QString error;
    if (!openFile(&handle, path, SQLITE_OPEN_READONLY, &error)) {
        *message = QStringLiteral("The database cannot be opened.");
        return false;
    }
    QStringList result;
    if (!collect(handle.db, "PRAGMA integrity_check", &result) ||
        result != QStringList{QStringLiteral("ok")}) {
        *message = QStringLiteral("The database is damaged or incomplete.");
        return false;
    }
    for (auto it = tables.constBegin(); it != tables.constEnd(); ++it) {
        QStringList columns;
        const QByteArray sql = "SELECT name FROM pragma_table_info('" + it.key().toUtf8() + "')";
        if (!collect(handle.db, sql, &columns) || columns.isEmpty()) {
            *message = QStringLiteral("The database has no table %1.").arg(it.key());
            return false;
        }
        for (const QString& column : it.value()) {
            if (!columns.contains(column)) {
                *message = QStringLiteral("The table %1 has no column %2.").arg(it.key(), column);
                return false;
            }
        }
    }
    return true;
}

void SqliteFile::removeConnection(const QString& name)
{
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}

QString SqliteFile::uniqueConnectionName(const char* prefix)
{
    static QAtomicInt counter;
    return QStringLiteral("vireo_sim_%1_%2")
        .arg(QLatin1String(prefix))
        .arg(counter.fetchAndAddRelaxed(1) + 1);
}

} // namespace VireoSim
