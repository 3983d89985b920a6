#include "base/eventjournal.h"

#include "base/servertext.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <signal.h>
#endif

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
/// How long a write waits for another panel's write to the same file.
constexpr int kBusyTimeoutMs = 5000;
const QString kColumns =
    QStringLiteral("id, time, kind, subject, action, old_value, new_value, since, serial, address");
EventJournal* g_current = nullptr;
int g_connections = 0;

bool isSqliteFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // unreadable: not ours to move
    const QByteArray header = file.read(16);
    // An empty file is an empty database to SQLite.
    return header.isEmpty() || header == QByteArray("SQLite format 3\0", 16);
}

QString dateText(const QDate& date)
{
    return date.toString(kDateFormat);
}

/// A text column: a null string would be bound as NULL.
QString text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

/// Which boot of the machine a process runs in: a process id recorded in
/// an earlier one names no process of this one.
QString bootId()
{
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll().trimmed());
}

bool isRunning(qint64 pid, const QString& boot)
{
    if (boot != bootId() || pid <= 0)
        return false;
#ifdef Q_OS_UNIX
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    return false;
#endif
}

} // namespace

EventJournal::EventJournal(const QString& path, int bound)
    : m_path(path), m_connection(QStringLiteral("event_journal_%1").arg(++g_connections)),
      m_bound(std::max(1, bound))
{
    if (open())
        return;
    // A file that is no database at all (written over, or not ours) is put
    // aside, not thrown away, and a new journal begins. A database that
    // cannot be opened for another reason (a read-only folder, a newer
    // format) is left as it is.
    if (!QFileInfo::exists(m_path) || isSqliteFile(m_path))
        return;
    const QString aside =
        m_path + QDateTime::currentDateTime().toString(QStringLiteral(".'broken'-yyyyMMdd-HHmmss"));
    close();
    if (!QFile::rename(m_path, aside)) {
        qWarning().noquote() << "Event journal: cannot put aside" << m_path;
        return;
    }
    for (const char* suffix : {"-wal", "-shm"})
        QFile::rename(m_path + QLatin1String(suffix), aside + QLatin1String(suffix));
    qWarning().noquote() << "Event journal: unreadable file moved to" << aside;
    open();
}

EventJournal::~EventJournal()
{
    if (g_current == this)
        g_current = nullptr;
    close();
}

QString EventJournal::defaultPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/journal.db");
}

bool EventJournal::open()
{
    if (m_path.isEmpty()) {
        qWarning() << "Event journal: no data folder to keep it in";
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        qWarning().noquote() << "Event journal: cannot open" << m_path << db.lastError().text();
        return false;
    }
    // The format is read before anything is written: a newer panel's file is
    // not touched.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("PRAGMA user_version")) || !probe.next()) {
        qWarning().noquote() << "Event journal: cannot read" << m_path << probe.lastError().text();
        return false;
    }
    const int format = probe.value(0).toInt();
    probe.finish();
    if (format > kFormat) {
        qWarning().noquote() << "Event journal:" << m_path << "is of format" << format
                             << "from a newer panel; this one writes format" << kFormat
                             << "and leaves the file as it is: no events are recorded";
        return false;
    }
    QSqlQuery mode(db);
    if (!mode.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !mode.next() ||
        mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        qWarning().noquote() << "Event journal: no write-ahead log on" << m_path
                             << mode.lastError().text();
        return false;
    }
    mode.finish();
    // Each committed event is on the disk before record() returns.
    if (!execute(QStringLiteral("PRAGMA synchronous=FULL")) || !migrate(format))
        return false;
    m_insert = std::make_unique<QSqlQuery>(db);
    m_trim = std::make_unique<QSqlQuery>(db);
    if (!m_insert->prepare(QStringLiteral(
            "INSERT INTO events (time, kind, subject, action, old_value, new_value, since, serial, "
            "address, session) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) ||
        !m_trim->prepare(QStringLiteral("DELETE FROM events WHERE id <= ?"))) {
        qWarning().noquote() << "Event journal: cannot prepare its statements"
                             << m_insert->lastError().text() << m_trim->lastError().text();
        return false;
    }
    m_open = true;
    return true;
}

bool EventJournal::migrate(int format)
{
    if (format == kFormat)
        return true;
    if (!begin())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    // Another panel may have brought the file up to date since it was read.
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        commit();
        return false;
    }
    format = query.value(0).toInt();
    query.finish();
    if (format >= kFormat) {
        commit();
        return format == kFormat;
    }
    // A file of the first format has its events table and no format number;
    // a new file has neither.
    const bool first =
        query.exec(QStringLiteral(
            "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'events'")) &&
        query.next();
    query.finish();
    bool ok = true;
    const auto run = [this, &ok](const char* statement) {
        ok = ok && execute(QLatin1String(statement));
    };
    if (!first)
        run("CREATE TABLE events (id INTEGER PRIMARY KEY, time TEXT NOT NULL, kind TEXT NOT NULL, "
            "subject TEXT NOT NULL, action TEXT NOT NULL, old_value TEXT NOT NULL, "
            "new_value TEXT NOT NULL)");
    // Defaults keep a file written into by a panel of the first format readable:
    // its events are of an unknown analyzer.
    run("ALTER TABLE events ADD COLUMN since TEXT NOT NULL DEFAULT ''");
    run("ALTER TABLE events ADD COLUMN serial TEXT NOT NULL DEFAULT ''");
    run("ALTER TABLE events ADD COLUMN address TEXT NOT NULL DEFAULT ''");
    run("ALTER TABLE events ADD COLUMN session INTEGER NOT NULL DEFAULT 0");
    run("CREATE TABLE facts (analyzer TEXT NOT NULL, fact TEXT NOT NULL, value TEXT NOT NULL, "
        "since TEXT NOT NULL, PRIMARY KEY (analyzer, fact))");
    run("CREATE TABLE sessions (id INTEGER PRIMARY KEY, address TEXT NOT NULL, "
        "pid INTEGER NOT NULL, boot TEXT NOT NULL, started TEXT NOT NULL, stopped TEXT)");
    int migrated = 0;
    if (ok && first) {
        // The first format kept local time without its offset: the offset
        // the zone has at that time now goes with it.
        QSqlQuery read(QSqlDatabase::database(m_connection, false));
        QSqlQuery write(QSqlDatabase::database(m_connection, false));
        ok = read.exec(QStringLiteral("SELECT id, time FROM events")) &&
             write.prepare(QStringLiteral("UPDATE events SET time = ? WHERE id = ?"));
        while (ok && read.next()) {
            const QDateTime time = JournalEvent::timeFromText(read.value(1).toString());
            if (!time.isValid())
                continue;
            write.addBindValue(JournalEvent::timeText(time));
            write.addBindValue(read.value(0));
            ok = write.exec();
            ++migrated;
        }
    }
    run("PRAGMA user_version = 2");
    if (!ok || !commit()) {
        execute(QStringLiteral("ROLLBACK"));
        qWarning().noquote() << "Event journal: cannot bring" << m_path << "from format" << format
                             << "to" << kFormat;
        return false;
    }
    if (first)
        qInfo().noquote() << "Event journal:" << m_path << "brought from format" << format << "to"
                          << kFormat << "-" << migrated << "events of an unknown analyzer";
    return true;
}

void EventJournal::close()
{
    m_open = false;
    m_insert.reset();
    m_trim.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

bool EventJournal::execute(const QString& statement) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (query.exec(statement))
        return true;
    qWarning().noquote() << "Event journal:" << statement << "failed:" << query.lastError().text();
    return false;
}

bool EventJournal::begin() const
{
    // Taken at once, a compare-then-write transaction never finds another
    // panel's write between its read and its own write.
    return execute(QStringLiteral("BEGIN IMMEDIATE"));
}

bool EventJournal::commit() const
{
    if (execute(QStringLiteral("COMMIT")))
        return true;
    execute(QStringLiteral("ROLLBACK"));
    return false;
}

void EventJournal::beginSession(const QString& address)
{
    m_address = address;
    if (!m_open)
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    const QString boot = bootId();
    const qint64 pid = QCoreApplication::applicationPid();
    JournalEvent started(JournalEvent::Panel, address, QStringLiteral("started"));
    started.time = QDateTime::currentDateTime();
    if (!begin())
        return;
    // The runs for this analyzer whose stop was never recorded: one whose
    // process still runs is another panel on the same analyzer; any other
    // was killed, crashed or lost its power.
    QSqlQuery runs(db);
    QSqlQuery last(db);
    QSqlQuery mark(db);
    bool ok = runs.prepare(QStringLiteral(
                  "SELECT id, pid, boot FROM sessions WHERE address = ? AND stopped IS NULL")) &&
              last.prepare(QStringLiteral(
                  "SELECT time FROM events WHERE session = ? ORDER BY id DESC LIMIT 1")) &&
              mark.prepare(QStringLiteral("UPDATE sessions SET stopped = '' WHERE id = ?"));
    runs.addBindValue(address);
    ok = ok && runs.exec();
    while (ok && runs.next()) {
        if (isRunning(runs.value(1).toLongLong(), runs.value(2).toString()))
            continue;
        started.action = QStringLiteral("restarted");
        last.addBindValue(runs.value(0));
        if (last.exec() && last.next()) {
            const QDateTime seen = JournalEvent::timeFromText(last.value(0).toString());
            if (!started.since.isValid() || seen > started.since)
                started.since = seen;
        }
        last.finish();
        mark.addBindValue(runs.value(0));
        ok = mark.exec();
    }
    runs.finish();
    QSqlQuery add(db);
    ok = ok && add.prepare(QStringLiteral(
                   "INSERT INTO sessions (address, pid, boot, started) VALUES (?, ?, ?, ?)"));
    add.addBindValue(address);
    add.addBindValue(pid);
    add.addBindValue(boot);
    add.addBindValue(JournalEvent::timeText(started.time));
    ok = ok && add.exec();
    if (ok)
        m_session = add.lastInsertId().toLongLong();
    if (!ok || !insert(started) || !commit()) {
        qWarning().noquote() << "Event journal: the panel's start not recorded:"
                             << add.lastError().text() << runs.lastError().text();
        execute(QStringLiteral("ROLLBACK"));
        m_session = 0;
    }
}

void EventJournal::endSession()
{
    if (!m_open || m_session == 0)
        return;
    JournalEvent stopped(JournalEvent::Panel, m_address, QStringLiteral("stopped"));
    if (!begin())
        return;
    QSqlQuery mark(QSqlDatabase::database(m_connection, false));
    mark.prepare(QStringLiteral("UPDATE sessions SET stopped = ? WHERE id = ?"));
    stopped.time = QDateTime::currentDateTime();
    mark.addBindValue(JournalEvent::timeText(stopped.time));
    mark.addBindValue(m_session);
    if (!mark.exec() || !insert(stopped) || !commit()) {
        qWarning().noquote() << "Event journal: the panel's stop not recorded:"
                             << mark.lastError().text();
        execute(QStringLiteral("ROLLBACK"));
    }
    m_session = 0;
}

void EventJournal::setSerial(const QString& serial)
{
    m_serial = serial;
    if (!m_open || m_session == 0 || serial.isEmpty())
        return;
    // This run's events from before the serial was read are this analyzer's.
    QSqlQuery update(QSqlDatabase::database(m_connection, false));
    update.prepare(
        QStringLiteral("UPDATE events SET serial = ? WHERE session = ? AND serial = ''"));
    update.addBindValue(capServerText(serial));
    update.addBindValue(m_session);
    if (!update.exec())
        qWarning().noquote() << "Event journal: serial number not added:"
                             << update.lastError().text();
}

bool EventJournal::insert(JournalEvent& event)
{
    if (!event.time.isValid())
        event.time = QDateTime::currentDateTime();
    if (event.serial.isEmpty() && event.address.isEmpty()) {
        event.serial = m_serial;
        event.address = m_address;
    }
    // Values may come from the analyzer: capped like every server text.
    const auto capped = [](const QString& value) { return text(capServerText(value)); };
    m_insert->addBindValue(JournalEvent::timeText(event.time));
    m_insert->addBindValue(JournalEvent::kindKey(event.kind));
    m_insert->addBindValue(capped(event.subject));
    m_insert->addBindValue(capped(event.action));
    m_insert->addBindValue(capped(event.oldValue));
    m_insert->addBindValue(capped(event.newValue));
    m_insert->addBindValue(text(JournalEvent::timeText(event.since)));
    m_insert->addBindValue(capped(event.serial));
    m_insert->addBindValue(capped(event.address));
    m_insert->addBindValue(m_session);
    bool ok = m_insert->exec();
    if (ok) {
        event.id = m_insert->lastInsertId().toLongLong();
        // Ids only grow, so the bound keeps the newest `bound` events.
        m_trim->addBindValue(event.id - m_bound);
        ok = m_trim->exec();
    }
    if (!ok)
        qWarning().noquote() << "Event journal: event not written:" << m_insert->lastError().text()
                             << m_trim->lastError().text();
    return ok;
}

bool EventJournal::record(JournalEvent event)
{
    if (!m_open || !begin())
        return false;
    if (insert(event) && commit())
        return true;
    execute(QStringLiteral("ROLLBACK"));
    return false;
}

bool EventJournal::changeFact(
    const QString& analyzer, const QString& fact, const QString& value, const QDateTime& at,
    const std::function<std::optional<JournalEvent>(const std::optional<Fact>&)>& eventFor)
{
    const QString key = analyzer + QLatin1Char('\n') + fact;
    const auto cached = m_facts.constFind(key);
    if (!m_open || (cached != m_facts.cend() && *cached == value))
        return false;
    if (!begin())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    // Read again inside the transaction: another panel may have kept a newer value.
    QSqlQuery read(db);
    read.prepare(QStringLiteral("SELECT value, since FROM facts WHERE analyzer = ? AND fact = ?"));
    read.addBindValue(analyzer);
    read.addBindValue(fact);
    std::optional<Fact> before;
    bool ok = read.exec();
    if (ok && read.next())
        before =
            Fact{read.value(0).toString(), JournalEvent::timeFromText(read.value(1).toString())};
    read.finish();
    if (ok && before && before->value == value) {
        m_facts.insert(key, value);
        commit();
        return false;
    }
    QSqlQuery keep(db);
    keep.prepare(QStringLiteral(
        "INSERT OR REPLACE INTO facts (analyzer, fact, value, since) VALUES (?, ?, ?, ?)"));
    keep.addBindValue(analyzer);
    keep.addBindValue(fact);
    keep.addBindValue(value);
    keep.addBindValue(JournalEvent::timeText(at));
    ok = ok && keep.exec();
    std::optional<JournalEvent> event = ok ? eventFor(before) : std::nullopt;
    if (event) {
        if (!event->time.isValid())
            event->time = at;
        ok = insert(*event);
    }
    if (!ok || !commit()) {
        qWarning().noquote() << "Event journal: change of" << fact
                             << "not written:" << read.lastError().text()
                             << keep.lastError().text();
        execute(QStringLiteral("ROLLBACK"));
        return false;
    }
    m_facts.insert(key, value);
    return event.has_value();
}

bool EventJournal::select(QSqlQuery& query, const QString& columns, const Filter& filter,
                          qint64 before, const QString& tail, const QVariantList& tailValues) const
{
    QStringList conditions;
    QVariantList values;
    if (before > 0) {
        conditions << QStringLiteral("id < ?");
        values << before;
    }
    if (!filter.kind.isEmpty()) {
        conditions << QStringLiteral("kind = ?");
        values << filter.kind;
    }
    // The stored time text begins with its local date, so dates compare as text.
    if (filter.from.isValid()) {
        conditions << QStringLiteral("time >= ?");
        values << dateText(filter.from);
    }
    if (filter.to.isValid()) {
        conditions << QStringLiteral("time < ?");
        values << dateText(filter.to.addDays(1));
    }
    if (filter.oneAnalyzer && filter.serial.isEmpty()) {
        conditions << QStringLiteral("address = ?");
        values << text(filter.address);
    } else if (filter.oneAnalyzer) {
        // Events from before its serial number was read know it by its address.
        conditions << QStringLiteral("(serial = ? OR (serial = '' AND address = ?))");
        values << filter.serial << text(filter.address);
    }
    QString statement = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM events");
    if (!conditions.isEmpty())
        statement += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    statement += tail;
    query.setForwardOnly(true);
    query.prepare(statement);
    for (const QVariant& value : values + tailValues)
        query.addBindValue(value);
    if (query.exec())
        return true;
    qWarning().noquote() << "Event journal: cannot read:" << query.lastError().text();
    return false;
}

QList<JournalEvent> EventJournal::events(const Filter& filter, qint64 before, int limit) const
{
    QList<JournalEvent> found;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!m_open || !select(query, kColumns, filter, before,
                           QStringLiteral(" ORDER BY id DESC LIMIT ?"), {limit}))
        return found;
    while (query.next()) {
        JournalEvent event;
        event.id = query.value(0).toLongLong();
        event.time = JournalEvent::timeFromText(query.value(1).toString());
        if (!JournalEvent::kindFromKey(query.value(2).toString(), &event.kind))
            continue; // written by a later version: not ours to show
        event.subject = query.value(3).toString();
        event.action = query.value(4).toString();
        event.oldValue = query.value(5).toString();
        event.newValue = query.value(6).toString();
        event.since = JournalEvent::timeFromText(query.value(7).toString());
        event.serial = query.value(8).toString();
        event.address = query.value(9).toString();
        found.append(event);
    }
    return found;
}

int EventJournal::count(const Filter& filter) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!m_open || !select(query, QStringLiteral("COUNT(*)"), filter, 0, QString()) ||
        !query.next())
        return 0;
    return query.value(0).toInt();
}

int EventJournal::count() const
{
    return count(Filter());
}

QDate EventJournal::oldestDate() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!m_open || !query.exec(QStringLiteral("SELECT time FROM events ORDER BY id LIMIT 1")) ||
        !query.next())
        return QDate();
    return JournalEvent::timeFromText(query.value(0).toString()).date();
}

EventJournal* EventJournal::current()
{
    return g_current;
}

void EventJournal::setCurrent(EventJournal* journal)
{
    g_current = journal;
}

void EventJournal::note(JournalEvent::Kind kind, const QString& subject, const QString& action,
                        const QString& oldValue, const QString& newValue, const QDateTime& time)
{
    if (g_current)
        g_current->record(JournalEvent(kind, subject, action, oldValue, newValue, time));
}
