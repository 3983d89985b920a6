// The rows of the journal page: the journal's events that pass the page's
// filter, newest first, read a page at a time as the list is scrolled. The
// journal keeps keys and values; the words are made here, when a row is
// shown, in the language on screen. The page's CSV export is the same rows
// for a machine: fixed English column titles and words, ISO 8601 times with
// their offset from UTC, the analyzer's serial and address on every line, in
// UTF-8 with a byte-order mark, so the same journal gives the same bytes
// whatever language the panel speaks.
#pragma once

#include "base/eventjournal.h"

#include <QAbstractTableModel>
#include <QVector>
#include <functional>

class JournalModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        TimeColumn,
        AnalyzerColumn,
        KindColumn,
        EventColumn,
        /// The setting's method, next to the operator's name for it.
        MethodColumn,
        ColumnCount
    };
    /// Events read from the journal at a time.
    static constexpr int kPageRows = 200;
    /// What a setting is called where the operator sets it, by its method;
    /// empty when it has no such name.
    using SettingLabels = std::function<QString(const QString& method)>;

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

    /// The names settings are shown by (the settings page's); without them
    /// a setting is shown by its method.
    static void setSettingLabels(const SettingLabels& labels);

    /// The column titles.
    static QStringList headers();
    /// The words for a kind.
    static QString kindText(JournalEvent::Kind kind);
    /// The analyzer as a row names it: its serial number, else its address,
    /// else "unknown analyzer" (an event from before the journal named them).
    static QString analyzerText(const JournalEvent& event);
    /// The texts of one event, by column, as the page shows them.
    static QStringList texts(const JournalEvent& event);
    /// The CSV's column titles, fixed.
    static QStringList csvHeaders();
    /// The fields of one event in the CSV, in English.
    static QStringList csvFields(const JournalEvent& event);
    /// The events of the list, newest first, as CSV (see above); rows not
    /// yet scrolled into view are read for it, events newer than the list
    /// are not.
    QByteArray csv() const;

private:
    EventJournal* m_journal;
    EventJournal::Filter m_filter;
    QVector<JournalEvent> m_events;
    /// The oldest event that passes the filter has been read.
    bool m_complete = true;
};
