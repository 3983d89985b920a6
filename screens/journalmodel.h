// The rows of the journal page: the journal's events that pass the page's
// filter, newest first, read a page at a time as the list is scrolled, each
// shown as three texts (time, kind, what happened). The page's CSV export
// writes the same texts for every event that passes the filter.
#pragma once

#include "base/eventjournal.h"

#include <QAbstractTableModel>
#include <QVector>

class JournalModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        TimeColumn,
        KindColumn,
        EventColumn,
        ColumnCount
    };
    /// Events read from the journal at a time.
    static constexpr int kPageRows = 200;

    /// journal may be null (no journal could be opened): the list stays empty.
    explicit JournalModel(EventJournal* journal, QObject* parent = nullptr);

    EventJournal::Filter filter() const { return m_filter; }
    /// Lists the events that pass filter, from the newest.
    void setFilter(const EventJournal::Filter& filter);
    /// Reads the list again from the newest event (new events since the last read).
    void reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    /// The column titles.
    static QStringList headers();
    /// The words for a kind.
    static QString kindText(JournalEvent::Kind kind);
    /// The texts of one event, by column, as the page shows them.
    static QStringList texts(const JournalEvent& event);
    /// The events of the list, newest first, as CSV: a line of column titles,
    /// then one line per event with the texts the page shows; rows not yet
    /// scrolled into view are read for it, events newer than the list are not.
    QByteArray csv() const;

private:
    EventJournal* m_journal;
    EventJournal::Filter m_filter;
    QVector<JournalEvent> m_events;
    /// The oldest event that passes the filter has been read.
    bool m_complete = true;
};
