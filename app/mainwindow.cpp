#include "app/mainwindow.h"

#include "app/delay.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    ui->statusBar->hide();
    ui->mainToolBar->hide();

    // The settings store the home screen keeps its lock in is found by these names.
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalis"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("orvalis.example"));
    QCoreApplication::setApplicationName(QStringLiteral("VireoGUI"));

    setFixedSize(640, 480);
    setWindowTitle(connectionString().split(QLatin1Char(':')).first());

    ui->gridLayout->addWidget(new VireoGUI(connectionString(), ui->centralWidget), 0, 0);
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::delay(int ms)
{
    processEventsFor(ms);
}
