// The event journal's cost per event as the panel writes it (a transaction of
// its own, WAL, synchronous=FULL), on an empty journal and on one at its bound
// of 100,000 events (each write then also drops the oldest), what a status
// read costs that changes nothing (ten a second, compared with the kept
// state), and what the journal page costs on a full journal: its first page
// of rows, a filtered count, one analyzer's rows, and the CSV export of every event.
//   bench_journal [FOLDER]    (the journal's folder; default: a new one in the
//                              working folder, so on the disk the build is on)
#include "base/eventjournal.h"
#include "screens/journalmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

QTextStream out(stdout);

JournalEvent sample(int i)
{
    return JournalEvent(JournalEvent::Kind(i % 6), QStringLiteral("laser_current"),
                        QStringLiteral("sent"), QString::number(95 + i % 10),
                        QString::number(96 + i % 10));
}

/// Median and 95th percentile of n single writes, in microseconds.
void timeWrites(EventJournal& journal, int n, const char* what)
{
    QVector<qint64> micros;
    QElapsedTimer clock;
    for (int i = 0; i < n; ++i) {
        clock.start();
        journal.record(sample(i));
        micros.append(clock.nsecsElapsed() / 1000);
    }
    std::sort(micros.begin(), micros.end());
    out << what << ": median " << micros.at(n / 2) << " us, 95th percentile "
        << micros.at(n * 95 / 100) << " us per event (" << n << " events)\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch(QDir::currentPath() + QStringLiteral("/bench_journal-XXXXXX"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    const QString path = folder + QStringLiteral("/journal.db");
    QFile::remove(path);

    EventJournal journal(path);
    if (!journal.isOpen())
        qFatal("cannot open %s", qPrintable(path));
    timeWrites(journal, 500, "empty journal");

    // Filled to its bound in bulk (one transaction of its own), then written one by one.
    {
        QElapsedTimer clock;
        clock.start();
        QSqlDatabase bulk = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bulk");
        bulk.setDatabaseName(path);
        bulk.open();
        bulk.transaction();
        QSqlQuery insert(bulk);
        insert.prepare(QStringLiteral("INSERT INTO events (time, kind, subject, action, "
                                      "old_value, new_value, serial, address) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        const QDateTime now = QDateTime::currentDateTime();
        for (int i = journal.count(); i < EventJournal::kDefaultBound; ++i) {
            const JournalEvent e = sample(i);
            insert.addBindValue(
                JournalEvent::timeText(now.addSecs(i - EventJournal::kDefaultBound)));
            insert.addBindValue(JournalEvent::kindKey(e.kind));
            insert.addBindValue(e.subject);
            insert.addBindValue(e.action);
            insert.addBindValue(e.oldValue);
            insert.addBindValue(e.newValue);
            // Two analyzers shared the journal.
            insert.addBindValue(i % 2 ? QStringLiteral("SN-A") : QStringLiteral("SN-B"));
            insert.addBindValue(i % 2 ? QStringLiteral("10.0.0.7:60003")
                                      : QStringLiteral("10.0.0.8:60004"));
            insert.exec();
        }
        bulk.commit();
        insert.finish();
        insert = QSqlQuery();
        bulk.close();
        bulk = QSqlDatabase();
        QSqlDatabase::removeDatabase("bulk");
        out << "filled to " << journal.count() << " events in " << clock.elapsed() << " ms\n";
    }
    timeWrites(journal, 500, "journal at its bound");
    out << "events kept: " << journal.count() << "\n";
    {
        const auto none = [](const std::optional<EventJournal::Fact>&) {
            return std::optional<JournalEvent>();
        };
        journal.changeFact("10.0.0.7:60003", "laser_alarm_active", "0",
                           QDateTime::currentDateTime(), none);
        QElapsedTimer reads;
        reads.start();
        for (int i = 0; i < 100000; ++i)
            journal.changeFact("10.0.0.7:60003", "laser_alarm_active", "0",
                               QDateTime::currentDateTime(), none);
        out << "status read that changes nothing: " << reads.nsecsElapsed() / 100000
            << " ns each\n";
    }

    JournalModel model(&journal);
    QElapsedTimer clock;
    clock.start();
    model.setFilter({});
    out << "journal page, first " << model.rowCount() << " rows: " << clock.elapsed() << " ms\n";
    clock.start();
    const int alarms = journal.count({QStringLiteral("alarm"), QDate(), QDate()});
    out << "count of one kind (" << alarms << "): " << clock.elapsed() << " ms\n";
    clock.start();
    model.setFilter(
        EventJournal::Filter::ofAnalyzer(QStringLiteral("SN-A"), QStringLiteral("10.0.0.7:60003")));
    out << "journal page, one analyzer's first " << model.rowCount() << " rows: " << clock.elapsed()
        << " ms\n";
    model.setFilter({});
    clock.start();
    const QByteArray csv = model.csv();
    out << "CSV of every event: " << csv.size() / 1024 << " KiB in " << clock.elapsed() << " ms\n";
    out << "file: " << QFileInfo(path).size() / 1024 << " KiB\n";
    return 0;
}
