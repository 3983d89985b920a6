// The event journal's file: it survives a restart, keeps only the newest
// events within its bound, lists them newest first by kind and local date,
// writes in WAL mode and copes with a file that is no journal or a folder it
// cannot write.
#include "base/eventjournal.h"
#include "support/testsupport.h"
#include "widgets/textmarkup.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

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
    // Stamped with the local time at which it was recorded.
    QVERIFY(qAbs(events.first().time.secsTo(QDateTime::currentDateTime())) < 60);
    QCOMPARE(events.first().time.timeSpec(), Qt::LocalTime);
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

QTEST_MAIN(tst_EventJournal)
#include "tst_eventjournal.moc"
