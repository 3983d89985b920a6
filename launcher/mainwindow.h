// The launcher's window: the list of named analyzer connections, their
// editing, the start of a panel for the chosen one, and the Fleet window
// that watches all of them.
#pragma once

#include "launcher/fleettiming.h"
#include "launcher/settings.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class FleetWindow;

class QListWidgetItem;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The folder the panel program is started from; the launcher's own folder
    /// unless changed (tests put a stand-in panel elsewhere).
    QString programDirectory() const { return m_programDirectory; }
    void setProgramDirectory(const QString& folder) { m_programDirectory = folder; }

    /// Starts a panel for the selected connection, detached so it outlives the launcher.
    void launchConnection();
    /// Starts a panel for this connection, as Launch does for the selected one.
    void launchEntry(const ConnectionEntry& entry);

    /// The open Fleet window, or null.
    FleetWindow* fleetWindow() const;
    /// The clocks of the Fleet windows opened from now on (tests shorten them).
    void setFleetTiming(const FleetTiming& timing) { m_fleetTiming = timing; }

protected:
    /// Closing the launcher closes its Fleet window too, ending its connections.
    void closeEvent(QCloseEvent* event) override;

private slots:
    void on_buttonNew_clicked();
    void on_buttonEdit_clicked();
    void on_buttonDelete_clicked();
    void on_buttonLaunch_clicked();
    void on_buttonFleet_clicked();
    void on_listConnections_itemDoubleClicked(QListWidgetItem* item);
    void on_comboLanguage_activated(int index);

private:
    void refreshList();
    /// The selected row, or -1.
    int selectedRow() const;
    /// Saves the list and shows it again; tells the user when it could not be saved.
    void saveAndRefresh();
    void reportLaunchFailure(const QString& text);

    std::unique_ptr<Ui::MainWindow> ui;
    Settings m_settings;
    QString m_programDirectory;
    /// Lives while it is open: closing it ends every connection it made.
    QPointer<FleetWindow> m_fleet;
    FleetTiming m_fleetTiming;
};
