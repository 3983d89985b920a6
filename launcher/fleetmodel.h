// The Fleet window's table: one row per stored connection, in stored order,
// with its analyzer's last known status turned into display texts: its NE 107
// class as the panel's badge names and draws it, the alarms that set it, the
// process alarms apart, and how long ago it last answered. Status changes are
// gathered and reach the view together, a few times a second at most, so two
// hundred analyzers do not repaint the table forty times a second.
#pragma once

#include "launcher/connectionentry.h"
#include "launcher/probestatus.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <QVector>
#include <functional>

class FleetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        AddressColumn,
        StatusColumn,
        ModeColumn,
        ConcentrationColumn,
        AlarmsColumn,
        ProcessAlarmsColumn,
        LastReplyColumn,
        ColumnCount
    };

    /// Orders rows by class, in the classes' priority order (failure first),
    /// the analyzers not yet known last, stored order within each. A row
    /// moves only when its class changes, and not while the order is held.
    static constexpr int SortRole = Qt::UserRole + 1;
    /// The class the panel's status badge would show (Analyzer::StatusClass);
    /// invalid while the analyzer has not answered or failed yet.
    static constexpr int StatusClassRole = Qt::UserRole + 2;

    explicit FleetModel(int updateIntervalMs, QObject* parent = nullptr);

    /// Replaces the rows; statuses has one entry per row.
    void setEntries(const QList<ConnectionEntry>& entries, const QVector<ProbeStatus>& statuses);
    /// Takes a row's new status; the view hears of it at the next update.
    void setStatus(int row, const ProbeStatus& status);

    ConnectionEntry entry(int row) const;
    /// How many rows show this class.
    int count(Analyzer::StatusClass statusClass) const;
    /// How many rows are still waiting for their analyzer's first word.
    int connectingCount() const;

    /// While hold() says so, rows keep their places: a row must not move
    /// from under the pointer. The order catches up once it lets go.
    void setOrderHold(std::function<bool()> hold);
    /// Puts the rows in their classes' order now, unless the order is held.
    void catchUpOrder();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    /// Rows changed (after the gathered update, or a reset).
    void updated();

private:
    struct Row
    {
        ConnectionEntry entry;
        ProbeStatus status;
        /// The place in the order the row is sorted by: its class when the
        /// order last caught up (ColumnCount past the classes while connecting).
        int place = 0;
        QString texts[ColumnCount];
        QString alarmTip;
    };

    void describe(Row& row) const;
    static int placeOf(const ProbeStatus& status);
    /// Value, unit and species as the panel's home screen shows them.
    static QString concentrationText(const ProbeStatus& status);
    void flush();
    void refreshAges();

    QVector<Row> m_rows;
    QTimer m_update;
    QTimer m_ages;
    std::function<bool()> m_holdOrder;
    int m_firstDirty = -1;
    int m_lastDirty = -1;
};
