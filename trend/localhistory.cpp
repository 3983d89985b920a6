#include "trend/localhistory.h"

#include "base/unitkeys.h"
#include "trend/wallclock.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace Trend {

namespace {

const QString kCountQuery =
    QStringLiteral("SELECT COUNT(id) FROM trend_table WHERE date_time >=? AND date_time <=?");

QString selectQuery(const QString& unitKey)
{
    QString column = QStringLiteral("conc_ppbv");
    if (unitKey == UnitConversion::kWeightKey)
        column = QStringLiteral("conc_ppbw");
    else if (unitKey == UnitConversion::kDewPointCKey)
        column = QStringLiteral("conc_dewc");
    else if (unitKey == UnitConversion::kDewPointFKey)
        column = QStringLiteral("conc_dewf");
    return QStringLiteral("SELECT date_time, %1, system_alarm FROM trend_table WHERE date_time >=? "
                          "AND date_time <=? AND id%? = 0 ORDER BY datetime(date_time) ASC")
        .arg(column);
}

int nextConnectionNumber()
{
    static int counter = 0;
    return ++counter;
}

} // namespace

LocalHistory::LocalHistory(const QString& databaseName, QObject* parent)
    : QObject(parent), m_connectionName(QStringLiteral("local_trend_history") +
                                        QString::number(nextConnectionNumber())),
      m_start(rangeBeforeFirstRequest()), m_end(rangeBeforeFirstRequest()),
      m_unitKey(UnitConversion::kVolumeKey)
{
    m_points.reserve(kTrendPointCapacity);
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    database.setDatabaseName(databaseName);
    // Only ever read here; the analyzer writes the file. Read-only also keeps
    // SQLite from creating an empty database where none exists.
    database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!database.open()) {
        qDebug().noquote() << "error opening trend database " + databaseName;
        m_openFailureLogged = true;
    }
}

LocalHistory::~LocalHistory()
{
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void LocalHistory::requestRange(const QDateTime& start, const QDateTime& end,
                                const QString& unitKey)
{
    m_points.clear();
    emit historyRx(true);
    m_unitKey = unitKey;
    m_start = start;
    m_end = end;
    query();
}

void LocalHistory::refresh()
{
    m_points.clear();
    query();
}

bool LocalHistory::reopen()
{
    // The analyzer may create the file after the panel started: a connection
    // that could not be opened is tried again before every query.
    QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
    if (database.isOpen())
        return true;
    if (database.open()) {
        m_openFailureLogged = false;
        return true;
    }
    if (!m_openFailureLogged)
        qDebug().noquote() << "error opening trend database " + database.databaseName();
    m_openFailureLogged = true;
    return false;
}

void LocalHistory::query()
{
    if (!reopen())
        return;
    const QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
    const auto [startText, endText] = WallClock::rangeTexts(m_start, m_end);

    QSqlQuery count(database);
    count.prepare(kCountQuery);
    count.addBindValue(startText);
    count.addBindValue(endText);
    qint64 rows = 0;
    if (count.exec() && count.next())
        rows = count.value(0).toLongLong();
    m_sampleCount = rows;
    const qint64 step = rows > kTrendPointCapacity ? rows / kTrendPointCapacity + 1 : 1;
    if (!read(step, &m_points))
        return;
    if (!m_points.isEmpty())
        emit historyRx(false);
}

QVector<TrendPoint> LocalHistory::samples()
{
    QVector<TrendPoint> all;
    if (reopen())
        read(1, &all);
    return all;
}

bool LocalHistory::read(qint64 step, QVector<TrendPoint>* points)
{
    const QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
    const auto [startText, endText] = WallClock::rangeTexts(m_start, m_end);
    QSqlQuery select(database);
    select.setForwardOnly(true);
    select.prepare(selectQuery(m_unitKey));
    select.addBindValue(startText);
    select.addBindValue(endText);
    select.addBindValue(step);
    if (!select.exec())
        return false;
    WallClock clock;
    // A row without a readable time stays next to the one before it.
    const qint64 start = m_start.toMSecsSinceEpoch();
    const qint64 end = m_end.toMSecsSinceEpoch();
    qint64 previousTime = start;
    while (select.next()) {
        TrendPoint point;
        point.time = previousTime = clock.toMSecs(select.value(0).toString(), previousTime);
        // The text range of a window across the autumn change also holds
        // samples from before and after it.
        if (point.time < start || point.time > end)
            continue;
        point.value = select.value(1).toDouble();
        point.alarm = select.value(2).toBool();
        points->append(point);
    }
    return true;
}

} // namespace Trend
