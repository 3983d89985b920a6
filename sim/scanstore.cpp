#include "sim/scanstore.h"

#include "sim/sqlitefile.h"

#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace VireoSim {

ScanStore::ScanStore(const QString& path)
    : m_path(path), m_connectionName(SqliteFile::uniqueConnectionName("scans"))
{
}

ScanStore::~ScanStore()
{
    SqliteFile::removeConnection(m_connectionName);
}

bool ScanStore::open(QString* error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    QSqlQuery query(db);
    if (!db.open() ||
        !query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS scan_table (id INTEGER PRIMARY KEY, "
                                   "method TEXT, parameters TEXT, started TEXT, finished TEXT)")) ||
        !query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS scan_point_table (scan_id INTEGER, "
                                   "x REAL, ring_down_time REAL, signal REAL)"))) {
        *error = QStringLiteral("cannot prepare %1: %2").arg(m_path, db.lastError().text());
        return false;
    }
    return true;
}

void ScanStore::record(const QString& method, const QJsonArray& params, const QDateTime& started,
                       const QDateTime& finished, double tauZero)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    db.transaction();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO scan_table (method, parameters, started, finished) "
                                 "VALUES (?, ?, ?, ?)"));
    query.addBindValue(method);
    query.addBindValue(QString::fromUtf8(QJsonDocument(params).toJson(QJsonDocument::Compact)));
    query.addBindValue(started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    query.addBindValue(finished.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    if (!query.exec()) {
        db.rollback();
        return;
    }
    const qint64 scanId = query.lastInsertId().toLongLong();
    const double start = params.at(0).toDouble();
    const double stop = params.at(1).toDouble();
    const double stepSize = params.at(2).toDouble();
    const int points = std::min(5000, int((stop - start) / stepSize) + 1);
    // An absorption line in the middle of the scanned range: the ring-down
    // time dips where the laser crosses it.
    const double centre = (start + stop) / 2.0;
    const double width = (stop - start) / 20.0;
    query.prepare(QStringLiteral("INSERT INTO scan_point_table VALUES (?, ?, ?, ?)"));
    for (int i = 0; i < points; ++i) {
        const double x = start + i * stepSize;
        const double line = std::exp(-std::pow((x - centre) / width, 2));
        query.bindValue(0, scanId);
        query.bindValue(1, x);
        query.bindValue(2, tauZero * (1.0 - 0.6 * line));
        query.bindValue(3, 1.6 * (1.0 - 0.1 * line));
        query.exec();
    }
    db.commit();
}

int ScanStore::scanCount() const
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    if (query.exec(QStringLiteral("SELECT COUNT(*) FROM scan_table")) && query.next())
        return query.value(0).toInt();
    return 0;
}

} // namespace VireoSim
