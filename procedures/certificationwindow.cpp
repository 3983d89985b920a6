#include "procedures/certificationwindow.h"

#include "analyzer/analyzerfacts.h"
#include "analyzer/response.h"
#include "procedures/certificationstates.h"
#include "ui_certificationwindow.h"

#include <QDebug>
#include <climits>
#include <cmath>
#include <utility>

namespace {
const int kLaser = 1;
constexpr int kTimeoutMs = 60000;
} // namespace

CertificationWindow::CertificationWindow(FileManager* fileManager, QWidget* parent)
    : QWidget(parent), ui(new Ui::CertificationWindow), m_fileManager(fileManager),
      m_timeout(new QTimer(this))
{
    assignRequestIds(0);
    ui->setupUi(this);
    m_timeout->setObjectName(QStringLiteral("procedureTimeout"));
    m_timeout->setSingleShot(true);
    m_timeout->setInterval(kTimeoutMs);
    connect(m_timeout, &QTimer::timeout, this, &CertificationWindow::timedOut);
    m_state = new Certification::InsertUSBState(*this);
    if (m_fileManager)
        connect(m_fileManager, &FileManager::downloadComplete, this,
                &CertificationWindow::downloadComplete);
}

CertificationWindow::~CertificationWindow()
{
    delete m_state;
    delete ui;
}

void CertificationWindow::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    m_opmodeId =
        m_requests.addValue(QStringLiteral("opmode"), this, &CertificationWindow::opmodeReceived);
    // The two scan commands: templates only, their replies tell nothing new.
    m_tempScanId = m_requests.add(QStringLiteral("refcell_scan_temperature"), {});
    m_cavityScanId = m_requests.add(QStringLiteral("cavity_scan_current"), {});
    m_currentId = m_requests.addValue(QStringLiteral("measure_current"), this,
                                      &CertificationWindow::currentReceived);
    m_temperatureId = m_requests.addValue(QStringLiteral("measure_temperature"), this,
                                          &CertificationWindow::temperatureReceived);
    m_alarmId = m_requests.addValue(QStringLiteral("sys_alarm_relay"), this,
                                    &CertificationWindow::systemAlarmReceived);
    m_runOnPeakId = m_requests.addValue(QStringLiteral("calibration_certificate_run_on_peak"), this,
                                        &CertificationWindow::runOnPeakReceived);
    m_collectionTimeId =
        m_requests.addValue(QStringLiteral("calibration_certificate_collection_time"), this,
                            &CertificationWindow::collectionTimeReceived);
}

QJsonArray CertificationWindow::updateRequests()
{
    QJsonArray batch;
    for (int id :
         {m_opmodeId, m_currentId, m_temperatureId, m_alarmId, m_runOnPeakId, m_collectionTimeId}) {
        Analyzer::Request request = m_requests.request(id);
        if (id == m_currentId || id == m_temperatureId)
            request.setParams({kLaser});
        batch.append(request.json());
    }
    return batch;
}

void CertificationWindow::handleResponse(const Analyzer::Response& response)
{
    m_requests.dispatch(response);
}

void CertificationWindow::opmodeReceived(const Analyzer::Response& response)
{
    // A reply without a mode number tells nothing about the mode.
    if (response.result().isDouble())
        m_state->onOpmode(*this, response.toInt());
}

void CertificationWindow::currentReceived(const Analyzer::Response& response)
{
    // The value goes out again as a scan parameter: only a real number will do.
    if (std::isfinite(response.toDouble()))
        m_measuredCurrent = response.toDouble();
}

void CertificationWindow::temperatureReceived(const Analyzer::Response& response)
{
    if (std::isfinite(response.toDouble()))
        m_measuredTemperature = response.toDouble();
}

void CertificationWindow::systemAlarmReceived(const Analyzer::Response& response)
{
    m_state->onSystemAlarm(*this, response.toBool());
}

void CertificationWindow::runOnPeakReceived(const Analyzer::Response& response)
{
    if (response.result().isBool())
        m_runOnPeak = response.toBool();
}

void CertificationWindow::collectionTimeReceived(const Analyzer::Response& response)
{
    // Whole seconds; a value past the int range must not wrap to a short run.
    if (response.result().isDouble())
        m_collectionTime = int(qBound(0.0, std::floor(response.toDouble()), double(INT_MAX)));
}

void CertificationWindow::setOpmode(int mode)
{
    Analyzer::Request request;
    if (mode == Analyzer::RefCellScanTemperatureMode) {
        request = m_requests.request(m_tempScanId);
        request.setParams({5.0, 40.0, 0.02, 0.5, m_measuredCurrent});
    } else if (mode == Analyzer::CavityScanCurrentMode) {
        request = m_requests.request(m_cavityScanId);
        request.setParams({60.0, 120.0, 0.3, 0.2, m_measuredTemperature, 20});
    } else {
        request = m_requests.request(m_opmodeId);
        request.setParams({mode});
    }
    emit jsonToSend(request);
}

void CertificationWindow::setStatusText(const QString& text)
{
    ui->labelStatus->setText(text);
}

void CertificationWindow::hideCancelButton(bool hide)
{
    ui->buttonCancel->setVisible(!hide);
}

void CertificationWindow::hideNextButton(bool hide)
{
    ui->buttonNext->setVisible(!hide);
}

void CertificationWindow::hideOkButton(bool hide)
{
    ui->buttonOK->setVisible(!hide);
}

void CertificationWindow::startFileDownload(FileManager::FileType type)
{
    // The file manager may do the work (packaging, a copy on the instrument)
    // inside this call while the event loop turns, and report its outcome
    // before the call returns. The step hears it afterwards, so it is not
    // replaced while its own handler runs; and only the last outcome reported
    // during the call is this work's (one reported before it, say a transfer
    // ended by a lost link, is not).
    m_downloading = true;
    m_reportedSuccess.reset();
    emit startDownload(type, true);
    m_downloading = false;
    if (!m_reportedSuccess)
        return;
    const bool success = *m_reportedSuccess;
    m_reportedSuccess.reset();
    m_state->onDownloadComplete(*this, !success);
}

void CertificationWindow::cancelTransfer()
{
    if (m_fileManager)
        m_fileManager->endTransfer(QString(), true);
}

void CertificationWindow::setState(Certification::State* next)
{
    noteStep(next);
    if (next) {
        m_state = next;
        announceState();
        return;
    }
    m_state = new Certification::InsertUSBState(*this);
    announceState();
    emit goToWindow(SETTINGS);
}

void CertificationWindow::replaceState(Certification::State* next)
{
    noteStep(next);
    delete m_state;
    m_state = next;
    announceState();
}

void CertificationWindow::announceState()
{
    // The step that made the state is still on the stack (it deletes itself
    // after handing over), so the new state hears of it from the event loop.
    const quint64 change = ++m_stateChanges;
    QTimer::singleShot(0, this, [this, change] {
        if (change == m_stateChanges)
            m_state->onEntered(*this);
    });
}

void CertificationWindow::noteStep(Certification::State* next)
{
    using namespace Certification;
    // The last step has shown its outcome by now.
    const bool waiting =
        dynamic_cast<InsertUSBState*>(next) || dynamic_cast<ConnectGasState*>(next);
    const bool ended = !next || dynamic_cast<CompleteState*>(next);
    m_run.stepEntered(ended     ? ProcedureRun::Ended
                      : waiting ? ProcedureRun::Waiting
                                : ProcedureRun::Running,
                      ui->labelStatus->text());
}

void CertificationWindow::restart()
{
    m_timeout->stop(); // the old step's wait ends with it
    // A run begun anew ends with what its step showed last.
    m_run.stepEntered(ProcedureRun::Ended, ui->labelStatus->text());
    replaceState(new Certification::InsertUSBState(*this));
}

void CertificationWindow::connectionChanged(bool lost)
{
    // A restored link does not begin again: the operator must see how the
    // run ended, and it begins again when the page is shown.
    if (lost) {
        m_state->onConnectionLost(*this);
    } else if (std::exchange(m_serviceModeOwed, false)) {
        setOpmode(Analyzer::ServiceMode);
    }
}

void CertificationWindow::downloadComplete(bool success)
{
    if (m_downloading) {
        if (m_reportedSuccess)
            qDebug() << "Certification: an earlier outcome reported during the download"
                     << (*m_reportedSuccess ? "(success)" : "(failure)") << "was not its own";
        m_reportedSuccess = success;
        return;
    }
    m_state->onDownloadComplete(*this, !success);
}

void CertificationWindow::timedOut()
{
    // A run is polled whatever page is in front, so a wait that runs out
    // while another page is shown is as real as one on view.
    m_state->onTimeout(*this);
}

void CertificationWindow::on_buttonCancel_clicked()
{
    m_state->onCancel(*this);
}

void CertificationWindow::on_buttonOK_clicked()
{
    m_state->onOk(*this);
}

void CertificationWindow::on_buttonNext_clicked()
{
    m_state->onNext(*this);
}
