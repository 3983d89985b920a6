// The panel's event journal: alarms, modes, the link, settings sent,
// procedures, transfers and the panel's own starts and stops, kept in an
// SQLite file so that they survive a restart. Each event is written in a
// transaction of its own in WAL mode, so a crash loses at most the event
// being written and never the file; the oldest events are dropped beyond a
// bound (100,000).
//
// Every event names its analyzer: the serial number and the address it was
// reached at. Two panels (two analyzers, one home folder) may write the same
// file at once: SQLite locks it, a writer waits for the other, and each
// change of an analyzer's mode or alarms is compared with the last one kept
// for that analyzer in the same transaction that records it, so a change is
// recorded once however many panels see it and however often they start.
//
// The file carries its format; a file of the first format (no analyzer) is
// migrated, its events marked "unknown analyzer"; a file of a newer format
// than this panel knows is left exactly as it is and nothing is recorded.
//
// The controller opens the journal and makes it the current one; pages note
// what they do through note(), which does nothing while no journal is open
// (a page under test, or a file that could not be opened).
#pragma once

#include "base/journalevent.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

class QSqlQuery;

class EventJournal
{
public:
    static constexpr int kDefaultBound = 100000;
    /// The format this panel writes (the file's user_version).
    static constexpr int kFormat = 2;

    /// Which events a page lists: all kinds when kind is empty (else the key
    /// of one), from the start of `from` to the end of `to` (local dates; an
    /// invalid date leaves that end open), of every analyzer or, with
    /// oneAnalyzer, of the one with that serial and address.
    struct Filter
    {
        Filter(const QString& kind = QString(), const QDate& from = QDate(),
               const QDate& to = QDate())
            : kind(kind), from(from), to(to)
        {
        }
        /// The events of the analyzer with serial and address.
        static Filter ofAnalyzer(const QString& serial, const QString& address)
        {
            Filter filter;
            filter.oneAnalyzer = true;
            filter.serial = serial;
            filter.address = address;
            return filter;
        }

        QString kind;
        QDate from;
        QDate to;
        bool oneAnalyzer = false;
        /// When empty, the analyzer is known by its address alone.
        QString serial;
        QString address;
    };

    /// The last value kept of one fact of an analyzer (its mode, one alarm)
    /// and since when it held.
    struct Fact
    {
        QString value;
        QDateTime since;
    };

    /// Opens (or creates) the journal file at path; isOpen() says whether that worked.
    explicit EventJournal(const QString& path, int bound = kDefaultBound);
    ~EventJournal();
    EventJournal(const EventJournal&) = delete;
    EventJournal& operator=(const EventJournal&) = delete;

    /// The file in the panel's data folder; empty when the platform names none.
    static QString defaultPath();

    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }
    int bound() const { return m_bound; }

    /// This panel's run begins, for the analyzer at address: recorded as
    /// "started", or as "restarted" when the last run for that address ended
    /// without a clean stop (its process is gone, its stop never recorded).
    void beginSession(const QString& address);
    /// The run ends cleanly: recorded as "stopped".
    void endSession();
    /// The analyzer's serial number, once read; the run's events recorded
    /// before it was known get it too.
    void setSerial(const QString& serial);
    QString serial() const { return m_serial; }
    QString address() const { return m_address; }

    /// Writes one event, stamped now unless it carries a time, tagged with
    /// the analyzer unless it names one; false (logged) when it could not be written.
    bool record(JournalEvent event);
    /// The fact of analyzer now has value, read at `at`. When that differs
    /// from the value kept, the new value is kept (since `at`) and the event
    /// eventFor makes of the value kept before (none, the first time) is
    /// recorded, all in one transaction. False when nothing was recorded.
    bool changeFact(
        const QString& analyzer, const QString& fact, const QString& value, const QDateTime& at,
        const std::function<std::optional<JournalEvent>(const std::optional<Fact>&)>& eventFor);
    /// Up to limit events that pass the filter, newest first, all older than
    /// the event with id `before` (0: from the newest on).
    QList<JournalEvent> events(const Filter& filter, qint64 before = 0, int limit = 200) const;
    /// How many events pass the filter.
    int count(const Filter& filter) const;
    /// How many events there are.
    int count() const;
    /// The local date of the oldest event; invalid when there is none.
    QDate oldestDate() const;

    /// The journal pages note their events in; null while none is open.
    static EventJournal* current();
    static void setCurrent(EventJournal* journal);
    /// Records an event in the current journal, if there is one, stamped
    /// with time (now, when it is invalid).
    static void note(JournalEvent::Kind kind, const QString& subject, const QString& action,
                     const QString& oldValue = QString(), const QString& newValue = QString(),
                     const QDateTime& time = QDateTime());

private:
    bool open();
    /// Brings a file of an older format to this one; false (logged) when that fails.
    bool migrate(int format);
    void close();
    bool execute(const QString& statement) const;
    /// A write transaction that holds the file's write lock from its start.
    bool begin() const;
    bool commit() const;
    /// Inserts event within a transaction begun by the caller.
    bool insert(JournalEvent& event);
    /// Runs "SELECT columns FROM events" narrowed by filter and before, with
    /// the tail (order, limit) appended; false (logged) when it fails.
    bool select(QSqlQuery& query, const QString& columns, const Filter& filter, qint64 before,
                const QString& tail, const QVariantList& tailValues = {}) const;

    QString m_path;
    QString m_connection;
    int m_bound;
    bool m_open = false;
    QString m_serial;
    QString m_address;
    /// This run's row in the sessions table; 0 outside a run.
    qint64 m_session = 0;
    /// The facts as last kept, by analyzer and fact: most reads change
    /// nothing and cost no look into the file.
    QHash<QString, QString> m_facts;
    // Prepared once: an event costs one transaction, not a statement compile.
    std::unique_ptr<QSqlQuery> m_insert;
    std::unique_ptr<QSqlQuery> m_trim;
};
