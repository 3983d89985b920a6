#include "procedures/calibrationwindow.h"

#include "analyzer/response.h"
#include "procedures/calibrationstates.h"
#include "ui_calibrationwindow.h"

CalibrationWindow::CalibrationWindow(QWidget* parent)
    : QWidget(parent), ui(new Ui::CalibrationWindow)
{
    assignRequestIds(0);
    ui->setupUi(this);
    m_state = new Calibration::ConnectBoxState(*this);
}

CalibrationWindow::~CalibrationWindow()
{
    delete m_state;
    delete ui;
}

void CalibrationWindow::assignRequestIds(int firstId)
{
    m_adc1Request.setId(firstId);
    m_adc1Request.setMethod(QStringLiteral("apc_calibrate_adc_v1"));
    m_adc2Request.setId(firstId + 1);
    m_adc2Request.setMethod(QStringLiteral("apc_calibrate_adc_v2"));
    m_dacRequest.setId(firstId + 2);
    m_dacRequest.setMethod(QStringLiteral("apc_calibrate_dac"));
}

void CalibrationWindow::handleResponse(const Analyzer::Response& response)
{
    m_state->onReply(*this, response.isError());
}

void CalibrationWindow::calibrateAdc(int input, double volts)
{
    Analyzer::Request request = input == 1 ? m_adc1Request : m_adc2Request;
    request.setParams({volts});
    emit jsonToSend(request);
}

void CalibrationWindow::calibrateDac()
{
    emit jsonToSend(m_dacRequest);
}

void CalibrationWindow::setStatusText(const QString& text)
{
    ui->labelStatus->setText(text);
}

void CalibrationWindow::hideNextButton(bool hide)
{
    ui->buttonNext->setVisible(!hide);
}

void CalibrationWindow::hideOkButton(bool hide)
{
    ui->buttonOK->setVisible(!hide);
}

void CalibrationWindow::hideCancelButton(bool hide)
{
    ui->buttonCancel->setVisible(!hide);
}

void CalibrationWindow::setState(Calibration::State* next)
{
    if (next) {
        m_state = next;
        return;
    }
    m_state = new Calibration::ConnectBoxState(*this);
    emit goToWindow(SETTINGS);
}

void CalibrationWindow::connectionChanged(bool lost)
{
    if (lost)
        m_state->onConnectionLost(*this);
}

void CalibrationWindow::on_buttonOK_clicked()
{
    m_state->onOk(*this);
}

void CalibrationWindow::on_buttonNext_clicked()
{
    m_state->onNext(*this);
}

void CalibrationWindow::on_buttonCancel_clicked()
{
    m_state->onCancel(*this);
}
