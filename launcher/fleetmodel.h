// The Fleet window's table: one row per stored connection, in stored order,
// with its analyzer's last known status turned into display texts. Status
// changes are gathered and reach the view together, a few times a second at
// most, so two hundred analyzers do not repaint the table forty times a second.
#pragma once

#include "launcher/connectionentry.h"
#include "launcher/probestatus.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <QVector>

class FleetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        AddressColumn,
        StateColumn,
        ModeColumn,
        ConcentrationColumn,
        AlarmsColumn,
        LastReplyColumn,
        ColumnCount
    };

    /// Orders rows by state (alarm, then failure, then other modes, then
    /// measuring, then not yet known), stored order within a state.
    static constexpr int SortRole = Qt::UserRole + 1;
    /// The class the panel's status badge would show (Analyzer::StatusClass).
    static constexpr int StatusClassRole = Qt::UserRole + 2;

    enum class Rank
    {
        Alarm,
        Failure,
        OtherMode,
        Measuring,
        Unknown
    };

    explicit FleetModel(int updateIntervalMs, QObject* parent = nullptr);

    /// Replaces the rows; statuses has one entry per row.
    void setEntries(const QList<ConnectionEntry>& entries, const QVector<ProbeStatus>& statuses);
    /// Takes a row's new status; the view hears of it at the next update.
    void setStatus(int row, const ProbeStatus& status);

    ConnectionEntry entry(int row) const;
    Rank rank(int row) const;
    /// How many rows stand at this rank.
    int count(Rank rank) const;

    static Rank rankOf(const ProbeStatus& status);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    /// Rows changed (after the gathered update, or a reset).
    void updated();

private:
    struct Row
    {
        ConnectionEntry entry;
        ProbeStatus status;
        Rank rank = Rank::Unknown;
        QString texts[ColumnCount];
    };

    void describe(Row& row) const;
    /// Value, unit and species as the panel's home screen shows them.
    static QString concentrationText(const ProbeStatus& status);
    void flush();

    QVector<Row> m_rows;
    QTimer m_update;
    int m_firstDirty = -1;
    int m_lastDirty = -1;
};
