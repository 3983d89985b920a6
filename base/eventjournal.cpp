#include "base/eventjournal.h"

#include "base/servertext.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
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

/// The stored "yyyy-MM-dd HH:mm:ss" as local time; read as date and time of
/// day first, several times faster than a QDateTime format (a full journal's
/// export reads 100,000 of them).
QDateTime timeFromText(const QString& text)
{
    return QDateTime(QDate::fromString(text.left(10), Qt::ISODate),
                     QTime::fromString(text.mid(11), Qt::ISODate));
}

QString dateText(const QDate& date)
{
    return date.toString(kDateFormat);
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
    // cannot be opened for another reason (a read-only folder) is left as it is.
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
    if (!db.open()) {
        qWarning().noquote() << "Event journal: cannot open" << m_path << db.lastError().text();
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
    if (!execute(QStringLiteral("PRAGMA synchronous=FULL")) ||
        !execute(QStringLiteral("CREATE TABLE IF NOT EXISTS events ("
                                "id INTEGER PRIMARY KEY, time TEXT NOT NULL, kind TEXT NOT NULL, "
                                "subject TEXT NOT NULL, action TEXT NOT NULL, "
                                "old_value TEXT NOT NULL, new_value TEXT NOT NULL)")))
        return false;
    m_insert = std::make_unique<QSqlQuery>(db);
    m_trim = std::make_unique<QSqlQuery>(db);
    if (!m_insert->prepare(
            QStringLiteral("INSERT INTO events (time, kind, subject, action, old_value, new_value) "
                           "VALUES (?, ?, ?, ?, ?, ?)")) ||
        !m_trim->prepare(QStringLiteral("DELETE FROM events WHERE id <= ?"))) {
        qWarning().noquote() << "Event journal: cannot prepare its statements"
                             << m_insert->lastError().text() << m_trim->lastError().text();
        return false;
    }
    m_open = true;
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

bool EventJournal::record(JournalEvent event)
{
    if (!m_open)
        return false;
    if (!event.time.isValid())
        event.time = QDateTime::currentDateTime();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        qWarning().noquote() << "Event journal: no transaction:" << db.lastError().text();
        return false;
    }
    // Values may come from the analyzer: capped like every server text. A
    // null string would be bound as NULL; the columns hold text.
    const auto text = [](const QString& value) {
        return value.isNull() ? QStringLiteral("") : capServerText(value);
    };
    m_insert->addBindValue(event.time.toString(kTimeFormat));
    m_insert->addBindValue(JournalEvent::kindKey(event.kind));
    m_insert->addBindValue(text(event.subject));
    m_insert->addBindValue(text(event.action));
    m_insert->addBindValue(text(event.oldValue));
    m_insert->addBindValue(text(event.newValue));
    bool ok = m_insert->exec();
    if (ok) {
        // Ids only grow, so the bound keeps the newest `bound` events.
        m_trim->addBindValue(m_insert->lastInsertId().toLongLong() - m_bound);
        ok = m_trim->exec();
    }
    if (!ok || !db.commit()) {
        qWarning().noquote() << "Event journal: event not written:" << m_insert->lastError().text()
                             << m_trim->lastError().text() << db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
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
    if (!m_open ||
        !select(query, QStringLiteral("id, time, kind, subject, action, old_value, new_value"),
                filter, before, QStringLiteral(" ORDER BY id DESC LIMIT ?"), {limit}))
        return found;
    while (query.next()) {
        JournalEvent event;
        event.id = query.value(0).toLongLong();
        event.time = timeFromText(query.value(1).toString());
        if (!JournalEvent::kindFromKey(query.value(2).toString(), &event.kind))
            continue; // written by a later version: not ours to show
        event.subject = query.value(3).toString();
        event.action = query.value(4).toString();
        event.oldValue = query.value(5).toString();
        event.newValue = query.value(6).toString();
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

QDate EventJournal::oldestDate() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!m_open || !query.exec(QStringLiteral("SELECT time FROM events ORDER BY id LIMIT 1")) ||
        !query.next())
        return QDate();
    return timeFromText(query.value(0).toString()).date();
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
