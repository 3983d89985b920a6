#include "sim/trenddump.h"

#include "sim/sqlitefile.h"
#include "sim/unitmath.h"

#include <QDate>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QVariant>

namespace VireoSim {

namespace {

struct UnitColumn
{
    const char* key;
    const char* column;
    const char* header;
};

const UnitColumn kUnits[] = {
    {"volume", "conc_ppbv", "Concentration (PPBv)"},
    {"weight", "conc_ppbw", "Concentration (PPBw)"},
    {"dewpointc", "conc_dewc", "Dew Point (C)"},
    {"dewpointf", "conc_dewf", "Dew Point (F)"},
    {"dewpointk", "conc_dewc", "Dew Point (K)"},
};

} // namespace

QString TrendDump::usage()
{
    return QStringLiteral("usage: dumptrend DB CSV [--start yyyy-MM-dd] [--units "
                          "volume|weight|dewpointc|dewpointf|dewpointk]\n");
}

int TrendDump::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList positional;
    QString start, units = QStringLiteral("volume");
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if ((arg == QLatin1String("--start") || arg == QLatin1String("--units")) &&
            i + 1 < arguments.size())
            (arg == QLatin1String("--start") ? start : units) = arguments.at(++i);
        else if (arg.startsWith(QLatin1String("--")))
            return err << "dumptrend: unknown or incomplete option " << arg << "\n" << usage(), 2;
        else
            positional << arg;
    }
    if (positional.size() != 2)
        return err << usage(), 2;

    QDate startDate(1970, 1, 1);
    if (!start.isNull()) {
        startDate = QDate::fromString(start, QStringLiteral("yyyy-MM-dd"));
        if (!startDate.isValid())
            return err << "dumptrend: \"" << start << "\" is not a date (yyyy-MM-dd)\n", 2;
    }
    const UnitColumn* unit = nullptr;
    for (const UnitColumn& candidate : kUnits) {
        if (units == QLatin1String(candidate.key))
            unit = &candidate;
    }
    if (!unit)
        return err << "dumptrend: unknown unit \"" << units
                   << "\" (volume, weight, dewpointc, dewpointf or dewpointk)\n",
               2;

    const QString dbPath = positional.at(0);
    if (!QFileInfo(dbPath).isFile())
        return err << "dumptrend: " << dbPath << " does not exist\n", 1;
    QString problem;
    const QStringList columns = {QStringLiteral("id"),          QStringLiteral("date_time"),
                                 QStringLiteral("conc_ppbv"),   QStringLiteral("conc_ppbw"),
                                 QStringLiteral("conc_dewc"),   QStringLiteral("conc_dewf"),
                                 QStringLiteral("system_alarm")};
    if (!SqliteFile::check(dbPath, {{QStringLiteral("trend_table"), columns}}, &problem))
        return err << "dumptrend: " << dbPath << " is not a trend database: " << problem << "\n", 1;

    const QString connection = SqliteFile::uniqueConnectionName("dumptrend");
    int written = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(dbPath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSaveFile csv(positional.at(1));
        if (!db.open()) {
            err << "dumptrend: cannot open " << dbPath << ": " << db.lastError().text() << "\n";
        } else if (!csv.open(QIODevice::WriteOnly | QIODevice::Text)) {
            err << "dumptrend: cannot write " << positional.at(1) << ": " << csv.errorString()
                << "\n";
        } else {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            query.prepare(QStringLiteral("SELECT date_time, %1, system_alarm FROM trend_table "
                                         "WHERE date_time >= ? ORDER BY date_time")
                              .arg(QLatin1String(unit->column)));
            query.addBindValue(startDate.toString(QStringLiteral("yyyy-MM-dd")));
            if (!query.exec()) {
                err << "dumptrend: cannot read " << dbPath << ": " << query.lastError().text()
                    << "\n";
            } else {
                QTextStream stream(&csv);
                stream << "Date Time," << unit->header << ",System Alarm\n";
                const bool kelvin = units == QLatin1String("dewpointk");
                written = 0;
                while (query.next()) {
                    double value = query.value(1).toDouble();
                    if (kelvin)
                        value = UnitMath::celsiusToKelvin(value);
                    stream << query.value(0).toString() << ',' << QString::number(value, 'f', 3)
                           << ',' << query.value(2).toInt() << '\n';
                    ++written;
                }
                stream.flush();
                // A full volume takes part of a write without an error, and
                // the stream then stops writing: that file is no export.
                if (stream.status() != QTextStream::Ok) {
                    csv.cancelWriting();
                    err << "dumptrend: cannot write all of " << positional.at(1) << "\n";
                    written = -1;
                } else if (!csv.commit()) {
                    err << "dumptrend: cannot write " << positional.at(1) << ": "
                        << csv.errorString() << "\n";
                    written = -1;
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (written < 0)
        return 1;
    out << "dumptrend: " << written << " samples written to " << positional.at(1) << "\n";
    return 0;
}

} // namespace VireoSim
