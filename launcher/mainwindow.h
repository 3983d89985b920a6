// The launcher's window: the list of named analyzer connections, their
// editing, and the start of a panel for the chosen one.
#pragma once

#include "launcher/settings.h"

#include <QMainWindow>
#include <memory>

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

private slots:
    void on_buttonNew_clicked();
    void on_buttonEdit_clicked();
    void on_buttonDelete_clicked();
    void on_buttonLaunch_clicked();
    void on_listConnections_itemDoubleClicked(QListWidgetItem* item);

private:
    void refreshList();
    /// The selected row, or -1.
    int selectedRow() const;
    /// Saves the list and shows it again; tells the user when it could not be saved.
    void saveAndRefresh();
    void reportLaunchFailure(const QString& text);
    /// A stored text cut to a length a message box can show.
    static QString shortened(const QString& text);

    std::unique_ptr<Ui::MainWindow> ui;
    Settings m_settings;
    QString m_programDirectory;
};
