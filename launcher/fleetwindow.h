// The Fleet window: every stored connection's analyzer at a glance, watched
// live while the window is open (and only then), in the panel's NE 107
// classes, failures first. A double-click starts the panel for a row as
// Launch does.
#pragma once

#include "launcher/connectionentry.h"
#include "launcher/fleettiming.h"

#include <QVector>
#include <QWidget>
#include <memory>

class AnalyzerProbe;
class FleetModel;
class QModelIndex;
class QSortFilterProxyModel;

namespace Ui {
class FleetWindow;
}

class FleetWindow : public QWidget
{
    Q_OBJECT

public:
    /// Starts watching every entry's analyzer; the window is a top-level
    /// window of its own even with a parent.
    explicit FleetWindow(const QList<ConnectionEntry>& entries, QWidget* parent = nullptr,
                         const FleetTiming& timing = FleetTiming());
    ~FleetWindow() override;

    /// Follows the stored list after a change: rows in its order, and an
    /// analyzer whose address stayed keeps its connection and status.
    void setConnections(const QList<ConnectionEntry>& entries);

    FleetModel* model() const { return m_model; }

signals:
    /// The operator double-clicked a row.
    void launchRequested(const ConnectionEntry& entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void on_tableFleet_doubleClicked(const QModelIndex& index);

private:
    bool pointerOnTable() const;
    void watch(AnalyzerProbe* probe, int row);
    void showSummary();

    std::unique_ptr<Ui::FleetWindow> ui;
    FleetTiming m_timing;
    FleetModel* m_model;
    QSortFilterProxyModel* m_sorted;
    /// One per row, in stored order.
    QVector<AnalyzerProbe*> m_probes;
};
