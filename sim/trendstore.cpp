#include "sim/trendstore.h"

#include "sim/sqlitefile.h"
#include "sim/unitmath.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace VireoSim {

namespace {
const char kSelect[] = "SELECT date_time, %1, system_alarm FROM trend_table "
                       "WHERE date_time >= ? AND date_time <= ? AND id % ? = 0 ORDER BY date_time";
} // namespace

TrendStore::TrendStore(const QString& path)
    : m_path(path), m_connectionName(SqliteFile::uniqueConnectionName("trend"))
{
}

TrendStore::~TrendStore()
{
    SqliteFile::removeConnection(m_connectionName);
}

QString TrendStore::timeText(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool TrendStore::open(QString* error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    if (!db.open()) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_path, db.lastError().text());
        return false;
    }
    QSqlQuery query(db);
    // WAL lets the panel's local history read while a sample is being written.
    const char* const statements[] = {
        "PRAGMA journal_mode=WAL",
        "PRAGMA synchronous=NORMAL",
        "CREATE TABLE IF NOT EXISTS trend_table (id INTEGER PRIMARY KEY, date_time TEXT, "
        "conc_ppbv REAL, conc_ppbw REAL, conc_dewc REAL, conc_dewf REAL, system_alarm BOOLEAN)",
        "CREATE INDEX IF NOT EXISTS trend_table_date_time ON trend_table (date_time)",
    };
    for (const char* statement : statements) {
        if (!query.exec(QLatin1String(statement))) {
            *error = QStringLiteral("cannot prepare %1: %2").arg(m_path, query.lastError().text());
            return false;
        }
    }
    return true;
}

void TrendStore::append(const QDateTime& when, const TrendSample& s)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    query.prepare(QStringLiteral("INSERT INTO trend_table (date_time, conc_ppbv, conc_ppbw, "
                                 "conc_dewc, conc_dewf, system_alarm) VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(timeText(when));
    query.addBindValue(s.ppbv);
    query.addBindValue(s.ppbw);
    query.addBindValue(s.dewC);
    query.addBindValue(s.dewF);
    query.addBindValue(s.systemAlarm ? 1 : 0);
    if (!query.exec())
        qWarning("cannot write a trend sample: %s", qPrintable(query.lastError().text()));
}

qint64 TrendStore::backfill(const QDateTime& from, const QDateTime& to,
                            const std::function<TrendSample()>& next)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    db.transaction();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO trend_table (date_time, conc_ppbv, conc_ppbw, "
                                 "conc_dewc, conc_dewf, system_alarm) VALUES (?, ?, ?, ?, ?, ?)"));
    qint64 rows = 0;
    const qint64 first = from.toSecsSinceEpoch();
    const qint64 last = to.toSecsSinceEpoch();
    for (qint64 t = first; t < last; ++t) {
        const TrendSample s = next();
        query.bindValue(0, timeText(QDateTime::fromSecsSinceEpoch(t)));
        query.bindValue(1, s.ppbv);
        query.bindValue(2, s.ppbw);
        query.bindValue(3, s.dewC);
        query.bindValue(4, s.dewF);
        query.bindValue(5, s.systemAlarm ? 1 : 0);
        if (!query.exec()) {
            qWarning("trend backfill stopped: %s", qPrintable(query.lastError().text()));
            break;
        }
        ++rows;
    }
    db.commit();
    return rows;
}

QDateTime TrendStore::lastSampleTime() const
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    if (query.exec(QStringLiteral("SELECT MAX(date_time) FROM trend_table")) && query.next() &&
        !query.value(0).isNull())
        return QDateTime::fromString(query.value(0).toString(),
                                     QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return QDateTime();
}

qint64 TrendStore::count(const QString& start, const QString& end) const
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    query.prepare(QStringLiteral(
        "SELECT COUNT(id) FROM trend_table WHERE date_time >= ? AND date_time <= ?"));
    query.addBindValue(start);
    query.addBindValue(end);
    if (query.exec() && query.next())
        return query.value(0).toLongLong();
    return 0;
}

QJsonArray TrendStore::query(const QString& start, const QString& end, const QString& unitKey,
                             bool fullResolution) const
{
    qint64 step = 1;
    if (!fullResolution) {
        const qint64 n = count(start, end);
        if (n > 720)
            step = n / 720 + 1;
    }
    const bool kelvin = unitKey == QLatin1String("dewpointk");
    const char* column = "conc_ppbv";
    if (unitKey == QLatin1String("weight"))
        column = "conc_ppbw";
    else if (unitKey == QLatin1String("dewpointc") || kelvin)
        column = "conc_dewc";
    else if (unitKey == QLatin1String("dewpointf"))
        column = "conc_dewf";

    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kSelect).arg(QLatin1String(column)));
    query.addBindValue(start);
    query.addBindValue(end);
    query.addBindValue(step);
    QJsonArray samples;
    if (!query.exec())
        return samples;
    while (query.next()) {
        double value = query.value(1).toDouble();
        if (kelvin)
            value = UnitMath::celsiusToKelvin(value);
        samples.append(QJsonArray{query.value(0).toString(), value, query.value(2).toInt() != 0});
    }
    return samples;
}

bool TrendStore::clear()
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    return query.exec(QStringLiteral("DELETE FROM trend_table"));
}

} // namespace VireoSim
