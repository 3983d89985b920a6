#include "screens/scanswindow.h"

#include "analyzer/analyzerfacts.h"
#include "analyzer/response.h"
#include "ui_scanswindow.h"
#include "widgets/messagebox.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace {
// The operating modes in which the analyzer is running a scan.
constexpr int kScanModes[] = {Analyzer::RefCellScanCurrentMode,
                              Analyzer::RefCellScanTemperatureMode, Analyzer::CavityScanCurrentMode,
                              Analyzer::CavityScanTemperatureMode};
// The laser the ranges are read from; the analyzer has one.
constexpr int kLaser = 1;
constexpr double kTemperatureHalfRange = 15;
constexpr double kTemperatureCeiling = 40;
constexpr double kCurrentHalfRange = 5;
constexpr double kCurrentCeiling = 120;
} // namespace

ScansWindow::ScansWindow(QWidget* parent) : QWidget(parent), ui(new Ui::ScansWindow)
{
    ui->setupUi(this);
    // In the order of each scan's parameters.
    m_cavityTempFields = {ui->cavityScanTempStartLineEdit,   ui->cavityScanTempStopLineEdit,
                          ui->cavityScanTempStepLineEdit,    ui->cavityScanTempDelayLineEdit,
                          ui->cavityScanTempCurrentLineEdit, ui->cavityScanTempRDLineEdit};
    m_cavityCurrentFields = {ui->cavityScanCurrentStartLineEdit, ui->cavityScanCurrentStopLineEdit,
                             ui->cavityScanCurrentStepLineEdit,  ui->cavityScanCurrentDelayLineEdit,
                             ui->cavityScanCurrentTempLineEdit,  ui->cavityScanCurrentRDLineEdit};
    m_refcellTempFields = {ui->refcellScanTempStartLineEdit, ui->refcellScanTempStopLineEdit,
                           ui->refcellScanTempStepLineEdit, ui->refcellScanTempDelayLineEdit,
                           ui->refcellScanTempCurrentLineEdit};
    m_refcellCurrentFields = {
        ui->refcellScanCurrentStartLineEdit, ui->refcellScanCurrentStopLineEdit,
        ui->refcellScanCurrentStepLineEdit, ui->refcellScanCurrentDelayLineEdit,
        ui->refcellScanCurrentTempLineEdit};
    for (QLineEdit* field : keypadFields())
        field->installEventFilter(this);
    connect(ui->pushButtonClose, &QPushButton::clicked, this, &ScansWindow::closeClicked);
    connect(ui->cavityScanCurrentPushButton, &QPushButton::clicked, this,
            &ScansWindow::cavityScanCurrentClicked);
    connect(ui->cavityScanTempPushButton, &QPushButton::clicked, this,
            &ScansWindow::cavityScanTempClicked);
    connect(ui->refcellScanCurrentPushButton, &QPushButton::clicked, this,
            &ScansWindow::refcellScanCurrentClicked);
    connect(ui->refcellScanTempPushButton, &QPushButton::clicked, this,
            &ScansWindow::refcellScanTempClicked);
}

ScansWindow::~ScansWindow()
{
    delete ui;
}

QList<QLineEdit*> ScansWindow::keypadFields() const
{
    return m_cavityTempFields + m_cavityCurrentFields + m_refcellTempFields +
           m_refcellCurrentFields;
}

void ScansWindow::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    m_opmodeId = m_requests.add(QStringLiteral("opmode"), this, &ScansWindow::opmodeReceived);
    m_cavityCurrentId =
        m_requests.add(QStringLiteral("cavity_scan_current"), this, &ScansWindow::opmodeReceived);
    m_cavityTemperatureId = m_requests.add(QStringLiteral("cavity_scan_temperature"), this,
                                           &ScansWindow::opmodeReceived);
    m_refcellCurrentId =
        m_requests.add(QStringLiteral("refcell_scan_current"), this, &ScansWindow::opmodeReceived);
    m_refcellTemperatureId = m_requests.add(QStringLiteral("refcell_scan_temperature"), this,
                                            &ScansWindow::opmodeReceived);
    m_keypadIds.clear();
    for (QLineEdit* field : keypadFields()) {
        m_keypadIds.insert(field, m_requests.addGuiOnly(QStringLiteral("scans"),
                                                        [this, field](const auto& response) {
                                                            keypadValueReceived(field, response);
                                                        }));
    }
    m_temperatureId = m_requests.addValue(QStringLiteral("measure_temperature"), this,
                                          &ScansWindow::temperatureReceived);
    m_currentId =
        m_requests.addValue(QStringLiteral("measure_current"), this, &ScansWindow::currentReceived);
}

QJsonArray ScansWindow::updateRequests()
{
    QJsonArray batch = m_requests.pollRequests({m_opmodeId});
    // The ranges are pre-filled once; afterwards they are the operator's.
    if (!m_rangesFetched) {
        for (int id : {m_temperatureId, m_currentId}) {
            Analyzer::Request request = m_requests.request(id);
            request.setParams({kLaser});
            batch.append(request.json());
        }
        m_rangesFetched = true;
    }
    return batch;
}

void ScansWindow::handleResponse(const Analyzer::Response& response)
{
    m_requests.dispatch(response);
}

void ScansWindow::opmodeReceived(const Analyzer::Response& response)
{
    // Without a mode number there is no news; read as 0 it would report a
    // shutdown to the controller.
    if (!response.result().isDouble())
        return;
    const int code = response.toInt();
    if (Analyzer::isKnownMode(code))
        ui->opmodeLabel->setText(Analyzer::modeName(code));
    m_scanning =
        std::find(std::begin(kScanModes), std::end(kScanModes), code) != std::end(kScanModes);
    emit inOpmode(code);
}

void ScansWindow::temperatureReceived(const Analyzer::Response& response)
{
    prefill(response.toDouble(), kTemperatureHalfRange, kTemperatureCeiling,
            {ui->cavityScanTempStartLineEdit, ui->refcellScanTempStartLineEdit},
            {ui->cavityScanTempStopLineEdit, ui->refcellScanTempStopLineEdit},
            {ui->cavityScanCurrentTempLineEdit, ui->refcellScanCurrentTempLineEdit});
}

void ScansWindow::currentReceived(const Analyzer::Response& response)
{
    prefill(response.toDouble(), kCurrentHalfRange, kCurrentCeiling,
            {ui->cavityScanCurrentStartLineEdit, ui->refcellScanCurrentStartLineEdit},
            {ui->cavityScanCurrentStopLineEdit, ui->refcellScanCurrentStopLineEdit},
            {ui->cavityScanTempCurrentLineEdit, ui->refcellScanTempCurrentLineEdit});
}

void ScansWindow::prefill(double reading, double halfRange, double ceiling,
                          const QList<QLineEdit*>& starts, const QList<QLineEdit*>& stops,
                          const QList<QLineEdit*>& fixed)
{
    if (std::isnan(reading))
        return;
    const auto show = [](const QList<QLineEdit*>& fields, double value) {
        for (QLineEdit* field : fields)
            field->setText(QString::number(value, 'f', 2));
    };
    // The scan covers the reading's neighbourhood; the other scan of the
    // group holds the laser at the reading.
    show(starts, std::max(reading - halfRange, 0.0));
    show(stops, std::min(reading + halfRange, ceiling));
    show(fixed, reading);
}

void ScansWindow::keypadValueReceived(QLineEdit* field, const Analyzer::Response& response)
{
    const QJsonArray typed = response.toArray();
    if (typed.isEmpty())
        return;
    field->setText(QString::number(typed.at(0).toDouble(), 'g', 6));
}

bool ScansWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::MouseButtonPress && field && m_keypadIds.contains(field)) {
        m_keypadRequest = m_requests.request(m_keypadIds.value(field));
        field->clearFocus();
        emit showKeyboard(field == ui->cavityScanCurrentDelayLineEdit
                              ? tr("Enter Current Step Delay")
                              : tr("Enter "),
                          m_keypadRequest);
    }
    return QWidget::eventFilter(watched, event);
}

void ScansWindow::startScan(int id, const QList<QLineEdit*>& fields)
{
    if (m_scanning) {
        MessageBox confirm(this, true);
        confirm.setWindowTitle(tr("Warning"));
        confirm.setText(tr("The analyzer is currently performing a scan.\nOK to proceed?"));
        if (confirm.exec() != QDialog::Accepted)
            return;
    }
    QJsonArray params;
    for (QLineEdit* field : fields)
        params.append(field->text().toDouble()); // text that is no number sends 0
    Analyzer::Request request = m_requests.request(id);
    request.setParams(params);
    emit jsonToSend(request);
}

void ScansWindow::cavityScanTempClicked()
{
    startScan(m_cavityTemperatureId, m_cavityTempFields);
}

void ScansWindow::cavityScanCurrentClicked()
{
    startScan(m_cavityCurrentId, m_cavityCurrentFields);
}

void ScansWindow::refcellScanTempClicked()
{
    startScan(m_refcellTemperatureId, m_refcellTempFields);
}

void ScansWindow::refcellScanCurrentClicked()
{
    startScan(m_refcellCurrentId, m_refcellCurrentFields);
}

void ScansWindow::closeClicked()
{
    emit goToWindow(HOME);
}
