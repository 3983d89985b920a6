#include "procedures/calibrationwindow.h"

#include "analyzer/response.h"
#include "procedures/calibrationstates.h"
#include "ui_calibrationwindow.h"

#include <QDebug>

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
    m_firstId = firstId;
    m_runs = 0;
    m_adc1Request.setMethod(QStringLiteral("apc_calibrate_adc_v1"));
    m_adc2Request.setMethod(QStringLiteral("apc_calibrate_adc_v2"));
    m_dacRequest.setMethod(QStringLiteral("apc_calibrate_dac"));
    useIdsOfRun(0);
}

void CalibrationWindow::useIdsOfRun(int run)
{
    const int first = m_firstId + 3 * (run % kRunsOfIds);
    m_adc1Request.setId(first);
    m_adc2Request.setId(first + 1);
    m_dacRequest.setId(first + 2);
}

void CalibrationWindow::handleResponse(const Analyzer::Response& response)
{
    // Only the answer to what the current step sent after its Next counts: a
    // late reply to an earlier step (or an earlier run) would calibrate
    // nothing, yet move the step on or end the run.
    if (response.id() != m_awaitedId) {
        qDebug() << "Calibration: reply to request" << response.id()
                 << "ignored, the current step did not send it";
        return;
    }
    m_awaitedId = -1;
    m_state->onReply(*this, response.isError());
}

void CalibrationWindow::calibrateAdc(int input, double volts)
{
    Analyzer::Request request = input == 1 ? m_adc1Request : m_adc2Request;
    request.setParams({volts});
    m_awaitedId = request.id();
    emit jsonToSend(request);
}

void CalibrationWindow::calibrateDac()
{
    m_awaitedId = m_dacRequest.id();
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
    m_awaitedId = -1;
    // A run starts when the box is connected, and ends on the step that
    // shows its outcome (or when it is left on the way).
    const bool ended = !next || dynamic_cast<Calibration::CompleteState*>(next);
    const bool waiting = dynamic_cast<Calibration::ConnectBoxState*>(next);
    m_run.stepEntered(ended     ? ProcedureRun::Ended
                      : waiting ? ProcedureRun::Waiting
                                : ProcedureRun::Running,
                      ui->labelStatus->text());
    if (next) {
        m_state = next;
        return;
    }
    // The procedure begins again: the next run's requests take ids that no
    // recent run waits for an answer on.
    m_state = new Calibration::ConnectBoxState(*this);
    useIdsOfRun(++m_runs);
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
