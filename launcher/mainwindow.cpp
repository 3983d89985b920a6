#include "launcher/mainwindow.h"

#include "launcher/connectionsettingsdialog.h"
#include "launcher/fleetwindow.h"
#include "launcher/shorttext.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QProcess>
#include <algorithm>

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), ui(new Ui::MainWindow),
      m_programDirectory(QCoreApplication::applicationDirPath())
{
    // The resources live in a static library; nothing would pull them in otherwise.
    Q_INIT_RESOURCE(marlomax_launcher);

    ui->setupUi(this);
    ui->mainToolBar->hide();
    ui->statusBar->hide();
    setWindowIcon(QIcon(QStringLiteral(":/icons/images/marlomax.ico")));
    resize(640, 480);

    m_settings.load();
    refreshList();

    // Each language named in itself, so that anyone finds their own.
    ui->comboLanguage->addItem(tr("As the system"), QString());
    ui->comboLanguage->addItem(QStringLiteral("English"), QStringLiteral("en"));
    ui->comboLanguage->addItem(QStringLiteral("Deutsch"), QStringLiteral("de"));
    ui->comboLanguage->setCurrentIndex(
        std::max(0, ui->comboLanguage->findData(m_settings.panelLanguage())));
}

MainWindow::~MainWindow() = default;

void MainWindow::refreshList()
{
    ui->listConnections->clear();
    for (const ConnectionEntry& entry : m_settings.connections())
        ui->listConnections->addItem(entry.nickname);

    ui->buttonNew->setEnabled(true);
    const bool any = ui->listConnections->count() > 0;
    ui->buttonEdit->setEnabled(any);
    ui->buttonLaunch->setEnabled(any);
    ui->buttonDelete->setEnabled(any);
    if (any)
        ui->listConnections->setCurrentRow(ui->listConnections->count() - 1);
}

int MainWindow::selectedRow() const
{
    const QListWidgetItem* item = ui->listConnections->currentItem();
    if (!item || !item->isSelected())
        return -1;
    const int row = ui->listConnections->row(item);
    return row < m_settings.connections().size() ? row : -1;
}

void MainWindow::saveAndRefresh()
{
    // A store that cannot be written (or was not read whole) is logged by
    // save(); the change stays for this run.
    m_settings.save();
    refreshList();
    if (m_fleet)
        m_fleet->setConnections(m_settings.connections());
}

void MainWindow::on_buttonNew_clicked()
{
    ConnectionSettingsDialog dialog(this, nullptr);
    const QString defaultStorage = m_settings.defaultStorage();
    if (!defaultStorage.isEmpty())
        dialog.setStorageLocation(defaultStorage);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ConnectionEntry entry = dialog.entry();
    m_settings.append(entry);
    m_settings.setDefaultStorage(entry.storageLocation);
    saveAndRefresh();
}

void MainWindow::on_buttonEdit_clicked()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const ConnectionEntry current = m_settings.connections().at(row);
    ConnectionSettingsDialog dialog(this, &current);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_settings.replace(row, dialog.entry());
    saveAndRefresh();
}

void MainWindow::on_buttonDelete_clicked()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (QMessageBox::question(this, tr("Delete Connection"), tr("Are you sure?"),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_settings.removeAt(row);
    saveAndRefresh();
}

void MainWindow::on_buttonLaunch_clicked()
{
    launchConnection();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_fleet)
        m_fleet->close();
    QMainWindow::closeEvent(event);
}

FleetWindow* MainWindow::fleetWindow() const
{
    return m_fleet;
}

void MainWindow::on_buttonFleet_clicked()
{
    if (!m_fleet) {
        m_fleet = new FleetWindow(m_settings.connections(), this, m_fleetTiming);
        m_fleet->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_fleet, &FleetWindow::launchRequested, this, &MainWindow::launchEntry);
    }
    m_fleet->show();
    m_fleet->raise();
    m_fleet->activateWindow();
}

void MainWindow::on_listConnections_itemDoubleClicked(QListWidgetItem* item)
{
    ui->listConnections->setCurrentItem(item);
    launchConnection();
}

void MainWindow::on_comboLanguage_activated(int index)
{
    m_settings.setPanelLanguage(ui->comboLanguage->itemData(index).toString());
}

void MainWindow::launchConnection()
{
    const int row = selectedRow();
    if (row >= 0)
        launchEntry(m_settings.connections().at(row));
}

void MainWindow::launchEntry(const ConnectionEntry& entry)
{
    // The panel takes exactly host, port and storage folder; anything else
    // (an IPv6 literal, a hand-edited store) would make it exit unseen.
    QStringList arguments = entry.connectionString.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    if (arguments.size() != 2) {
        reportLaunchFailure(tr("The connection \"%1\" cannot be launched: its address \"%2\" "
                               "is not an IPv4 address followed by a channel.")
                                .arg(shortText(entry.nickname), shortText(entry.connectionString)));
        return;
    }
    arguments << entry.storageLocation;

    const QString program = m_programDirectory + QStringLiteral("/marlomax");
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable()) {
        reportLaunchFailure(tr("The panel program %1 is missing or not executable.")
                                .arg(QDir::toNativeSeparators(program)));
        return;
    }
    // The panel's command line is host, port and storage folder, nothing else:
    // the language goes through the environment, where the panel reads the
    // system's choice too.
    QProcess panel;
    panel.setProgram(program);
    panel.setArguments(arguments);
    const QString language = m_settings.panelLanguage();
    if (!language.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANGUAGE"), language);
        panel.setProcessEnvironment(environment);
    }
    if (!panel.startDetached()) {
        reportLaunchFailure(tr("The panel program %1 could not be started.")
                                .arg(QDir::toNativeSeparators(program)));
    }
}

void MainWindow::reportLaunchFailure(const QString& text)
{
    qWarning().noquote() << text;
    // Names come from the store, which anyone may have edited: plain text.
    QMessageBox box(QMessageBox::Critical, tr("Launch"), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
