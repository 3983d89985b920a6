// The panel's event journal: alarms, modes, the link, settings sent,
// procedures and transfers, kept in an SQLite file so that they survive a
// restart. Each event is written in a transaction of its own in WAL mode, so
// a crash loses at most the event being written and never the file; the
// oldest events are dropped beyond a bound (100,000).
//
// The controller opens the journal and makes it the current one; pages note
// what they do through note(), which does nothing while no journal is open
// (a page under test, or a file that could not be opened).
#pragma once

#include "base/journalevent.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>
#include <memory>

class QSqlQuery;

class EventJournal
{
public:
    static constexpr int kDefaultBound = 100000;

    /// Which events a page lists: all kinds when kind is empty (else the key
    /// of one), from the start of `from` to the end of `to` (local dates; an
    /// invalid date leaves that end open).
    struct Filter
    {
        QString kind;
        QDate from;
        QDate to;
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

    /// Writes one event, stamped now unless it carries a time; false (logged)
    /// when it could not be written.
    bool record(JournalEvent event);
    /// Up to limit events that pass the filter, newest first, all older than
    /// the event with id `before` (0: from the newest on).
    QList<JournalEvent> events(const Filter& filter, qint64 before = 0, int limit = 200) const;
    /// How many events pass the filter (all of them by default).
    int count(const Filter& filter = Filter()) const;
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
    void close();
    bool execute(const QString& statement) const;
    /// Runs "SELECT columns FROM events" narrowed by filter and before, with
    /// the tail (order, limit) appended; false (logged) when it fails.
    bool select(QSqlQuery& query, const QString& columns, const Filter& filter, qint64 before,
                const QString& tail, const QVariantList& tailValues = {}) const;

    QString m_path;
    QString m_connection;
    int m_bound;
    bool m_open = false;
    // Prepared once: an event costs one transaction, not a statement compile.
    std::unique_ptr<QSqlQuery> m_insert;
    std::unique_ptr<QSqlQuery> m_trim;
};
