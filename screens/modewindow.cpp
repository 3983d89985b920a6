#include "screens/modewindow.h"

#include "analyzer/analyzerfacts.h"
#include "ui_modewindow.h"

namespace {
} // namespace

ModeWindow::ModeWindow(QWidget* parent) : QWidget(parent), ui(new Ui::ModeWindow)
{
    ui->setupUi(this);
    m_modeRequest.setMethod(QStringLiteral("opmode"));
    connect(ui->pushButtonService, &QPushButton::clicked, this, &ModeWindow::serviceClicked);
    connect(ui->pushButtonTune, &QPushButton::clicked, this, &ModeWindow::tuneClicked);
    connect(ui->pushButtonMeasure, &QPushButton::clicked, this, &ModeWindow::measureClicked);
    connect(ui->pushButtonClose, &QPushButton::clicked, this, &ModeWindow::closeClicked);
    connect(ui->pushButtonScan, &QPushButton::clicked, this, &ModeWindow::scanClicked);
    connect(ui->pushButtonShutdown, &QPushButton::clicked, this, &ModeWindow::shutdownClicked);
}

ModeWindow::~ModeWindow()
{
    delete ui;
}

void ModeWindow::assignRequestIds(int firstId)
{
    m_modeRequest.setId(firstId);
    m_modeRequest.setMethod(QStringLiteral("opmode"));
}

void ModeWindow::sendMode(int code)
{
    Analyzer::Request request = m_modeRequest;
    request.setParams({code});
    emit jsonToSend(request);
    // The home screen shows the new mode; have it polled now rather than next tick.
    emit expectedChange(HOME);
    emit goToWindow(HOME);
}

void ModeWindow::serviceClicked()
{
    sendMode(Analyzer::ServiceMode);
    emit service();
}

void ModeWindow::tuneClicked()
{
    sendMode(Analyzer::TuneMode);
    emit tune();
}

void ModeWindow::measureClicked()
{
    sendMode(Analyzer::MeasureMode);
    emit measure();
}

void ModeWindow::closeClicked()
{
    emit goToWindow(HOME);
}

void ModeWindow::scanClicked()
{
    emit goToWindow(SCANS);
}

void ModeWindow::shutdownClicked()
{
    emit goToWindow(SHUTDOWN);
    emit shutdownNow();
}

void ModeWindow::hideScans(bool hide)
{
    ui->pushButtonScan->setVisible(!hide);
    ui->labelScan->setVisible(!hide);
}

void ModeWindow::masterControl(bool master)
{
    if (!master)
        return;
    ui->pushButtonClose->hide();
    hideScans(true);
    ui->labelService->setText(tr("Place all analyzers into stand-by to change system settings."));
    ui->labelTune->setText(tr("Determine the zero baseline, Tau Zero of each analyzer."));
    ui->labelMeasure->setText(
        tr("Captures ringdown measurements and reports molecular concentration."));
    ui->labelShutdown->setText(tr("Performs a controlled shutdown \nof all analyzers."));
}
