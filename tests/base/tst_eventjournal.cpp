// The event journal's file: it survives a restart, keeps only the newest
// events within its bound, lists them newest first by kind and local date,
// writes in WAL mode and copes with a file that is no journal or a folder it
// cannot write.
#include "base/eventjournal.h"
#include "support/testsupport.h"
#include "widgets/textmarkup.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <future>
#include <thread>

namespace {

JournalEvent makeEvent(JournalEvent::Kind kind, const QString& subject, const QDateTime& time = {})
{
    return JournalEvent(kind, subject, QStringLiteral("changed"), QString(), QString(), time);
}

QStringList subjects(const QList<JournalEvent>& events)
{
    QStringList list;
    for (const JournalEvent& e : events)
        list << e.subject;
    return list;
}

/// A local time on 2024-05-06 (a Monday) plus days.
QDateTime monday(int days, int hour = 12)
{
    return QDateTime(QDate(2024, 5, 6).addDays(days), QTime(hour, 0));
}

/// Runs statements on file through a connection of its own, as another
/// program would; false when one fails. The first value the last one read
/// goes to last.
bool runSql(const QString& file, const QStringList& statements, QVariant* last = nullptr)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        db.setDatabaseName(file);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString& statement : statements)
            ok = ok && query.exec(statement);
        if (ok && last && query.next())
            *last = query.value(0);
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("raw");
    return ok;
}

} // namespace

class tst_EventJournal : public QObject
{
    Q_OBJECT

private slots:
    void survivesRestart();
    void writesAheadToItsLog();
    void staysWithinItsBound();
    void filters_data();
    void filters();
    void pagesBackwards();
    void serverTextsAreCapped();
    void fileThatIsNoJournalIsPutAside();
    void unwritableFolderRecordsNothing();
    void noteGoesToTheCurrentJournal();
    void timesKeepTheirOffset();
    void firstFormatIsMigrated();
    void newerFormatIsLeftAlone();
    void twoPanelsShareOneFile();
    void eachChangeOnce();
    void uncleanStopSaysSo();

private:
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
};

void tst_EventJournal::survivesRestart()
{
    const QString file = path("restart.db");
    {
        EventJournal journal(file);
        QVERIFY(journal.isOpen());
        QVERIFY(journal.record(makeEvent(JournalEvent::Link, QStringLiteral("first"))));
        JournalEvent setting = makeEvent(JournalEvent::Setting, QStringLiteral("laser_current"));
        setting.action = QStringLiteral("sent");
        setting.oldValue = QStringLiteral("95.00");
        setting.newValue = QStringLiteral("96");
        QVERIFY(journal.record(setting));
    }
    // As after a crash or a restart: a new journal object on the same file.
    EventJournal again(file);
    QVERIFY(again.isOpen());
    QCOMPARE(again.count(), 2);
    const QList<JournalEvent> events = again.events({});
    QCOMPARE(subjects(events), QStringList({"laser_current", "first"}));
    QCOMPARE(events.first().kind, JournalEvent::Setting);
    QCOMPARE(events.first().action, QStringLiteral("sent"));
    QCOMPARE(events.first().oldValue, QStringLiteral("95.00"));
    QCOMPARE(events.first().newValue, QStringLiteral("96"));
    // Stamped with the time at which it was recorded, with the offset from
    // UTC the local time had then.
    const QDateTime now = QDateTime::currentDateTime();
    QVERIFY(qAbs(events.first().time.secsTo(now)) < 60);
    QVERIFY(events.first().time.timeSpec() != Qt::LocalTime);
    QCOMPARE(events.first().time.offsetFromUtc(), now.offsetFromUtc());
}

void tst_EventJournal::writesAheadToItsLog()
{
    const QString file = path("wal.db");
    EventJournal journal(file);
    QVERIFY(journal.record(makeEvent(JournalEvent::Mode, QStringLiteral("opmode"))));
    // Another reader sees the committed event and the file's journal mode.
    QSqlDatabase reader = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "reader");
    reader.setDatabaseName(file);
    QVERIFY(reader.open());
    {
        QSqlQuery query(reader);
        QVERIFY(query.exec("PRAGMA journal_mode") && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));
        QVERIFY(query.exec("SELECT COUNT(*) FROM events") && query.next());
        QCOMPARE(query.value(0).toInt(), 1);
    }
    reader.close();
    reader = QSqlDatabase();
    QSqlDatabase::removeDatabase("reader");
    QVERIFY(QFile::exists(file + QStringLiteral("-wal")));
}

void tst_EventJournal::staysWithinItsBound()
{
    const QString file = path("bound.db");
    {
        EventJournal journal(file, 50);
        for (int i = 1; i <= 120; ++i)
            QVERIFY(journal.record(makeEvent(JournalEvent::Alarm, QString::number(i))));
        QCOMPARE(journal.count(), 50);
        const QList<JournalEvent> all = journal.events({}, 0, 1000);
        QCOMPARE(all.size(), 50);
        QCOMPARE(all.first().subject, QStringLiteral("120"));
        QCOMPARE(all.last().subject, QStringLiteral("71")); // the oldest are dropped
    }
    // The bound holds across a restart: the next event drops the next oldest.
    EventJournal again(file, 50);
    QVERIFY(again.record(makeEvent(JournalEvent::Alarm, QStringLiteral("121"))));
    QCOMPARE(again.count(), 50);
    QCOMPARE(again.events({}, 0, 1000).last().subject, QStringLiteral("72"));
}

void tst_EventJournal::filters_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("expected");
    const QDate mon = monday(0).date();
    QTest::newRow("everything") << QString() << QDate() << QDate()
                                << QStringList(
                                       {"fri", "wed-late", "wed", "tue", "mon-early", "sun"});
    QTest::newRow("Monday to Wednesday") << QString() << mon << mon.addDays(2)
                                         << QStringList({"wed-late", "wed", "tue", "mon-early"});
    QTest::newRow("one day") << QString() << mon.addDays(2) << mon.addDays(2)
                             << QStringList({"wed-late", "wed"});
    QTest::newRow("alarms only") << QStringLiteral("alarm") << QDate() << QDate()
                                 << QStringList({"wed-late", "tue", "sun"});
    QTest::newRow("alarms Monday to Wednesday")
        << QStringLiteral("alarm") << mon << mon.addDays(2) << QStringList({"wed-late", "tue"});
    QTest::newRow("from Thursday on")
        << QString() << mon.addDays(3) << QDate() << QStringList({"fri"});
    QTest::newRow("nothing that week")
        << QStringLiteral("transfer") << mon << mon.addDays(6) << QStringList();
}

void tst_EventJournal::filters()
{
    QFETCH(QString, kind);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, expected);
    // One week of events, written by the first row and read by every row.
    EventJournal journal(path("week.db"));
    if (journal.count() == 0) {
        // In the order they happened; the first and last minute of a day count to it.
        journal.record(makeEvent(JournalEvent::Alarm, QStringLiteral("sun"), monday(-1, 23)));
        journal.record(makeEvent(JournalEvent::Mode, QStringLiteral("mon-early"),
                                 QDateTime(monday(0).date(), QTime(0, 0, 0))));
        journal.record(makeEvent(JournalEvent::Alarm, QStringLiteral("tue"), monday(1)));
        journal.record(makeEvent(JournalEvent::Setting, QStringLiteral("wed"), monday(2)));
        journal.record(makeEvent(JournalEvent::Alarm, QStringLiteral("wed-late"),
                                 QDateTime(monday(2).date(), QTime(23, 59, 59))));
        journal.record(makeEvent(JournalEvent::Link, QStringLiteral("fri"), monday(4)));
    }
    QCOMPARE(subjects(journal.events({kind, from, to})), expected);
}

void tst_EventJournal::pagesBackwards()
{
    EventJournal journal(path("pages.db"));
    for (int i = 1; i <= 7; ++i)
        journal.record(makeEvent(JournalEvent::Alarm, QString::number(i)));
    const QList<JournalEvent> first = journal.events({}, 0, 3);
    QCOMPARE(subjects(first), QStringList({"7", "6", "5"}));
    const QList<JournalEvent> second = journal.events({}, first.last().id, 3);
    QCOMPARE(subjects(second), QStringList({"4", "3", "2"}));
    QCOMPARE(subjects(journal.events({}, second.last().id, 3)), QStringList({"1"}));
    QCOMPARE(journal.oldestDate(), QDate::currentDate());
}

void tst_EventJournal::serverTextsAreCapped()
{
    EventJournal journal(path("capped.db"));
    JournalEvent huge = makeEvent(JournalEvent::Transfer, QString(100000, QLatin1Char('s')));
    huge.newValue = QString(1000000, QLatin1Char('x'));
    QVERIFY(journal.record(huge));
    const JournalEvent stored = journal.events({}).first();
    QCOMPARE(stored.newValue, capServerText(huge.newValue));
    QCOMPARE(stored.subject.size(), capServerText(huge.subject).size());
}

void tst_EventJournal::fileThatIsNoJournalIsPutAside()
{
    const QString file = path("garbage.db");
    QFile garbage(file);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'g'));
    garbage.close();
    {
        EventJournal journal(file);
        QVERIFY(journal.isOpen());
        QVERIFY(journal.record(makeEvent(JournalEvent::Link, QStringLiteral("fresh start"))));
        QCOMPARE(journal.count(), 1);
    }
    // The old file is kept beside the new journal, not deleted.
    const QStringList aside =
        QDir(m_dir.path()).entryList({QStringLiteral("garbage.db.broken-*")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QFile kept(m_dir.filePath(aside.first()));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray(4096, 'g'));
}

void tst_EventJournal::unwritableFolderRecordsNothing()
{
    QTemporaryDir dir;
    TestSupport::ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.isReadOnly())
        QSKIP(qPrintable(readOnly.why()));
    EventJournal journal(dir.filePath(QStringLiteral("journal.db")));
    QVERIFY(!journal.isOpen());
    QVERIFY(!EventJournal(QString()).isOpen()); // no data folder at all
    QVERIFY(!journal.record(makeEvent(JournalEvent::Link, QStringLiteral("lost"))));
    QCOMPARE(journal.events({}).size(), 0);
    EventJournal::setCurrent(&journal);
    EventJournal::note(JournalEvent::Link, QStringLiteral("lost"), QStringLiteral("lost"));
    EventJournal::setCurrent(nullptr);
}

void tst_EventJournal::noteGoesToTheCurrentJournal()
{
    // Without a current journal a note goes nowhere, and nothing breaks.
    EventJournal::note(JournalEvent::Alarm, QStringLiteral("nowhere"), QStringLiteral("raised"));
    {
        EventJournal journal(path("current.db"));
        EventJournal::setCurrent(&journal);
        EventJournal::note(JournalEvent::Alarm, QStringLiteral("laser_alarm_active"),
                           QStringLiteral("raised"));
        QCOMPARE(subjects(journal.events({})), QStringList({"laser_alarm_active"}));
    }
    // A journal that goes away is no longer the current one.
    QCOMPARE(EventJournal::current(), nullptr);
}

void tst_EventJournal::timesKeepTheirOffset()
{
    // The hour the clocks go back, twice: two different times, in order.
    const QDateTime summer(QDate(2024, 10, 27), QTime(2, 30), Qt::OffsetFromUTC, 7200);
    const QDateTime winter(QDate(2024, 10, 27), QTime(2, 30), Qt::OffsetFromUTC, 3600);
    QCOMPARE(JournalEvent::timeText(summer), QStringLiteral("2024-10-27T02:30:00+02:00"));
    QCOMPARE(JournalEvent::timeText(winter), QStringLiteral("2024-10-27T02:30:00+01:00"));
    QCOMPARE(JournalEvent::timeText(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC)),
             QStringLiteral("2024-01-02T03:04:05+00:00"));
    QCOMPARE(JournalEvent::timeFromText("2024-10-27T02:30:00-09:30"),
             QDateTime(QDate(2024, 10, 27), QTime(2, 30), Qt::OffsetFromUTC, -34200));
    for (const char* broken :
         {"", "2024-10-27T02:30:00+0200", "2024-13-27T02:30:00+02:00", "2024-10-27 02:30:00 CET"})
        QVERIFY2(!JournalEvent::timeFromText(broken).isValid(), broken);
    EventJournal journal(path("offsets.db"));
    journal.record(makeEvent(JournalEvent::Link, "summer", summer));
    journal.record(makeEvent(JournalEvent::Link, "winter", winter));
    const QList<JournalEvent> events = journal.events({});
    QCOMPARE(events.at(0).time, winter);
    QCOMPARE(events.at(0).time.offsetFromUtc(), 3600);
    QCOMPARE(events.at(1).time.secsTo(events.at(0).time), 3600);
}

void tst_EventJournal::firstFormatIsMigrated()
{
    const QString file = path("first.db");
    QVERIFY(runSql(file, {"CREATE TABLE events (id INTEGER PRIMARY KEY, time TEXT NOT NULL, kind "
                          "TEXT NOT NULL, subject TEXT NOT NULL, action TEXT NOT NULL, old_value "
                          "TEXT NOT NULL, new_value TEXT NOT NULL)",
                          "INSERT INTO events (time, kind, subject, action, old_value, new_value) "
                          "VALUES ('2024-05-06 09:00:00', 'alarm', 'laser_alarm_active', "
                          "'raised', '', '')"}));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression("brought from format 0 to 2 - 1 events"));
    {
        EventJournal journal(file);
        QVERIFY(journal.isOpen());
        const JournalEvent old = journal.events({}).value(0);
        QCOMPARE(old.subject, QStringLiteral("laser_alarm_active"));
        // Its local time, now with the offset the zone has then.
        const QDateTime local(QDate(2024, 5, 6), QTime(9, 0));
        QCOMPARE(old.time, local);
        QCOMPARE(old.time.offsetFromUtc(), local.offsetFromUtc());
        QVERIFY(old.serial.isEmpty() && old.address.isEmpty());
        journal.beginSession("10.0.0.7:60003");
        QCOMPARE(journal.count(), 2);
        // The old event belongs to no analyzer in particular.
        QCOMPARE(journal.count(EventJournal::Filter::ofAnalyzer(QString(), "10.0.0.7:60003")), 1);
        journal.endSession();
    }
    // Opened again: nothing more to migrate (no message), all still there.
    EventJournal again(file);
    QCOMPARE(again.count(), 3);
    QVariant format;
    QVERIFY(runSql(file, {"PRAGMA user_version"}, &format));
    QCOMPARE(format.toInt(), EventJournal::kFormat);
    // A panel of the first format writing into it still leaves it readable.
    QVERIFY(runSql(file, {"INSERT INTO events (time, kind, subject, action, old_value, new_value) "
                          "VALUES ('2024-05-07 10:00:00', 'link', '10.0.0.7:60003', 'lost', '', "
                          "'')"}));
    QCOMPARE(again.events({}).value(0).time, QDateTime(QDate(2024, 5, 7), QTime(10, 0)));
}

void tst_EventJournal::newerFormatIsLeftAlone()
{
    const QString file = path("newer.db");
    QVERIFY(runSql(file, {"CREATE TABLE events (id INTEGER PRIMARY KEY, what TEXT)",
                          "INSERT INTO events (what) VALUES ('from a newer panel')",
                          "PRAGMA user_version = 3"}));
    QFile before(file);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("is of format 3 from a newer panel"));
    {
        EventJournal journal(file);
        QVERIFY(!journal.isOpen());
        QVERIFY(!journal.record(makeEvent(JournalEvent::Link, "lost")));
        journal.beginSession("10.0.0.7:60003");
        journal.endSession();
    }
    QFile after(file);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bytes);
    QVERIFY(QFileInfo(file + "-wal").size() == 0);
    // Not put aside either: it is a journal, only not one this panel can write.
    QCOMPARE(QDir(m_dir.path()).entryList({"newer.db.broken-*"}), QStringList());
}

void tst_EventJournal::twoPanelsShareOneFile()
{
    const QString file = path("shared.db");
    EventJournal first(file);
    EventJournal second(file);
    first.beginSession("10.0.0.7:60003");
    first.setSerial("SN-A");
    second.beginSession("10.0.0.8:60004");
    second.setSerial("SN-B");

    // The other panel holds the file's write lock for a moment: a write waits
    // for it instead of failing.
    std::promise<void> locked;
    std::thread other([&file, &locked] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
            db.setDatabaseName(file);
            db.open();
            QSqlQuery q(db);
            q.exec("BEGIN IMMEDIATE");
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            q.exec("COMMIT");
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase("other");
    });
    locked.get_future().wait();
    QVERIFY(first.record(makeEvent(JournalEvent::Link, "after the lock")));
    other.join();

    for (int i = 0; i < 20; ++i) {
        QVERIFY(first.record(makeEvent(JournalEvent::Setting, "a")));
        QVERIFY(second.record(makeEvent(JournalEvent::Setting, "b")));
    }
    // Each event tagged with the analyzer of the panel that wrote it.
    for (const JournalEvent& e : first.events({}, 0, 1000)) {
        const bool a = e.address == "10.0.0.7:60003";
        QVERIFY2(a ? e.serial == "SN-A" : e.serial == "SN-B" && e.address == "10.0.0.8:60004",
                 qPrintable(e.subject));
    }
    QCOMPARE(first.count(EventJournal::Filter::ofAnalyzer("SN-A", "10.0.0.7:60003")), 22);
    QCOMPARE(second.count(EventJournal::Filter::ofAnalyzer("SN-B", "10.0.0.8:60004")), 21);

    // Two panels on one analyzer: a change both read is recorded once.
    const auto raised = [](const std::optional<EventJournal::Fact>&) {
        return std::optional<JournalEvent>(makeEvent(JournalEvent::Alarm, "laser_alarm_active"));
    };
    const QDateTime now = QDateTime::currentDateTime();
    QVERIFY(first.changeFact("10.0.0.7:60003", "laser_alarm_active", "1", now, raised));
    QVERIFY(!second.changeFact("10.0.0.7:60003", "laser_alarm_active", "1", now, raised));
    QCOMPARE(first.count({"alarm", {}, {}}), 1);
}

void tst_EventJournal::eachChangeOnce()
{
    const QString file = path("facts.db");
    QList<std::optional<EventJournal::Fact>> seen;
    const auto change = [&seen](const std::optional<EventJournal::Fact>& before) {
        seen << before;
        return std::optional<JournalEvent>(makeEvent(JournalEvent::Alarm, "laser_alarm_active"));
    };
    const QDateTime raisedAt = QDateTime::currentDateTime().addSecs(-600);
    {
        EventJournal journal(file);
        QVERIFY(journal.changeFact("A", "laser_alarm_active", "1", raisedAt, change));
        QVERIFY(!journal.changeFact("A", "laser_alarm_active", "1", raisedAt.addSecs(1), change));
        // Another analyzer's facts are its own.
        QVERIFY(journal.changeFact("B", "laser_alarm_active", "1", raisedAt, change));
    }
    QCOMPARE(seen.size(), 2);
    QVERIFY(!seen.at(0).has_value());
    // A restart reads the same value: nothing new.
    EventJournal again(file);
    QVERIFY(
        !again.changeFact("A", "laser_alarm_active", "1", QDateTime::currentDateTime(), change));
    QCOMPARE(seen.size(), 2);
    // The change after it sees what was kept before, and since when.
    QVERIFY(again.changeFact("A", "laser_alarm_active", "0", QDateTime::currentDateTime(), change));
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen.last()->value, QStringLiteral("1"));
    QCOMPARE(seen.last()->since.toSecsSinceEpoch(), raisedAt.toSecsSinceEpoch());
    QCOMPARE(again.count(), 3);
}

void tst_EventJournal::uncleanStopSaysSo()
{
    const QString file = path("sessions.db");
    const auto lastAction = [](EventJournal& j) { return j.events({}, 0, 1).value(0).action; };
    {
        EventJournal journal(file);
        journal.beginSession("10.0.0.7:60003");
        QCOMPARE(lastAction(journal), QStringLiteral("started"));
        journal.endSession();
        QCOMPARE(lastAction(journal), QStringLiteral("stopped"));
    }
    // A clean stop: the next start is a plain one.
    QDateTime lastSeen;
    {
        EventJournal journal(file);
        journal.beginSession("10.0.0.7:60003");
        QCOMPARE(lastAction(journal), QStringLiteral("started"));
        journal.record(makeEvent(JournalEvent::Link, "last words"));
        lastSeen = journal.events({}, 0, 1).value(0).time;
        // While its process runs, another panel on the analyzer is no crash.
        EventJournal beside(file);
        beside.beginSession("10.0.0.7:60003");
        QCOMPARE(lastAction(beside), QStringLiteral("started"));
        beside.endSession();
    } // no stop recorded: as if killed
    // Its process gone (a process id that no longer runs), the next start says so.
    QProcess gone;
    gone.start("true", QStringList());
    QVERIFY(gone.waitForFinished());
    QVERIFY(runSql(file, {QStringLiteral("UPDATE sessions SET pid = %1 WHERE stopped IS NULL")
                              .arg(gone.processId())}));
    EventJournal journal(file);
    journal.beginSession("10.0.0.7:60003");
    const JournalEvent restarted = journal.events({}, 0, 1).value(0);
    QCOMPARE(restarted.action, QStringLiteral("restarted"));
    QCOMPARE(restarted.since, lastSeen);
    // Said once: the start after it is a plain one again.
    journal.endSession();
    journal.beginSession("10.0.0.7:60003");
    QCOMPARE(lastAction(journal), QStringLiteral("started"));
}

QTEST_MAIN(tst_EventJournal)
#include "tst_eventjournal.moc"
