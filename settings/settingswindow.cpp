#include "settings/settingswindow.h"

#include "analyzer/response.h"
#include "files/fakebacklight.h"
#include "files/storage.h"
#include "files/vireobacklight.h"
#include "widgets/calendardialog.h"
#include "widgets/globals.h"
#include "widgets/messagebox.h"
#include "widgets/progressdialog.h"
#include "widgets/textmarkup.h"
#include "ui_settingswindow.h"

#include <QApplication>
#include <QCollator>
#include <QDebug>
#include <QMainWindow>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSignalMapper>
#include <QStandardItemModel>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kServiceMode = 2;
constexpr int kOptimizeLaserMode = 6;
constexpr int kOffPeakMode = 10;
constexpr int kGasesPerPage = 16;
constexpr int kEditingTimeoutMs = 60000;
constexpr int kDataFilterTimeoutMs = 3000;
constexpr int kStorageCheckMs = 1000;
constexpr int kLaserMonitorUnitType = 100;
constexpr int kMinimumDataFilter = 10;
constexpr int kSettingsTab = 3;
constexpr int kFactoryTab = 5;
const QString kGuiTag = QStringLiteral("settings");

QString formatted(double value, int decimals, char format)
{
    return std::isnan(value) ? QString() : QString::number(value, format, decimals);
}

} // namespace

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent), ui(new Ui::SettingsWindow)
{
    m_progress = new ProgressDialog(this);
    ui->setupUi(this);

    showFactoryTab(false);
    m_networkEditing = false;

    m_editingTimer = new QTimer(this);
    m_editingTimer->setObjectName(QStringLiteral("editingTimer"));
    m_editingTimer->setSingleShot(true);
    m_editingTimer->setInterval(kEditingTimeoutMs);
    connect(m_editingTimer, &QTimer::timeout, this, &SettingsWindow::editingDone);
    m_dataFilterTimer = new QTimer(this);
    m_dataFilterTimer->setObjectName(QStringLiteral("dataFilterTimer"));
    m_dataFilterTimer->setSingleShot(true);
    m_dataFilterTimer->setInterval(kDataFilterTimeoutMs);
    connect(m_dataFilterTimer, &QTimer::timeout, this, &SettingsWindow::dataEditingDone);

    // Without a parent, like every popup of the panel: it opens as its own window.
    m_calendar = new CalendarDialog();
    m_gasMapper = new QSignalMapper(this);
    m_pageMapper = new QSignalMapper(this);

    for (QComboBox* combo :
         {ui->usbBaudrateComboBox, ui->rs232BaudrateComboBox, ui->rs485BaudrateComboBox}) {
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemData(i, combo->itemText(i).toInt());
    }
    ui->usbBaudrateComboBox->setCurrentIndex(-1);
    const QStringList unitKeys = {QStringLiteral("volume"), QStringLiteral("weight"),
                                  QStringLiteral("dewpointc"), QStringLiteral("dewpointf"),
                                  QStringLiteral("dewpointk")};
    for (int i = 0; i < unitKeys.size(); ++i)
        ui->unitsComboBox->setItemData(i, unitKeys.at(i));
    ui->detectorReadLabel->hide();
    ui->detectorReadLineEdit->hide();
    ui->labelFile->setWordWrap(true);

    for (int i = 1; i <= kGasesPerPage; ++i) {
        m_gasButtons.append(findChild<QWidget*>(QStringLiteral("radioButton_%1").arg(i)));
        m_gasLabels.append(findChild<QLabel*>(QStringLiteral("gasLabel_%1").arg(i)));
    }

    const QList<std::pair<QLineEdit*, KeypadField>> keypadFields = {
        {ui->timeLineEdit, {QStringLiteral("Enter time hh.mm.ss"), &m_dateTimeId}},
        {ui->fourTwentyMinLineEdit, {QStringLiteral("Set 4-20 mA Minimum Conc."), &m_a420LowId}},
        {ui->fourTwentyMaxLineEdit, {QStringLiteral("Set 4-20 mA Maximum Conc."), &m_a420HighId}},
        {ui->fourTwentyOutputLineEdit, {QStringLiteral("Set 4-20 mA Output"), &m_a420Id}},
        {ui->alarm_1LineEdit, {QStringLiteral("Set User Alarm 1 value"), &m_alarm1LevelId}},
        {ui->alarm_2LineEdit, {QStringLiteral("Set User Alarm 2 value"), &m_alarm2LevelId}},
        {ui->ipLineEdit, {QStringLiteral("Enter IP address"), &m_ipEntryId}},
        {ui->subnetLineEdit, {QStringLiteral("Enter subnet"), &m_subnetEntryId}},
        {ui->gatewayLineEdit, {QStringLiteral("Enter gateway"), &m_gatewayEntryId}},
        {ui->lineEditFitSlope, {QStringLiteral("Fit Slope"), &m_fitSlopeId}},
        {ui->lineEditFitIntercept, {QStringLiteral("Fit Intercept"), &m_fitOffsetId}},
        {ui->loggingIntLineEdit, {QStringLiteral("Logging Interval"), &m_logIntervalId}},
        {ui->laserCurrentLineEdit, {QStringLiteral("Set Laser Current [mA]"), &m_laserCurrentId}},
        {ui->laserTempLineEdit, {QStringLiteral("Set Laser Temp [C]"), &m_laserTemperatureId}},
        {ui->thresholdLineEdit, {QStringLiteral("Set Threshold"), &m_thresholdId}},
        {ui->apcSetLineEdit, {QStringLiteral("APC Set Point"), &m_apcSetPointId}},
        {ui->vmodLineEdit, {QStringLiteral("Vmod amplitude"), &m_vmodAmplitudeId}},
        {ui->vmodFactorLineEdit, {QStringLiteral("Vmod factor"), &m_vmodFactorId}},
        {ui->vmodFreqLineEdit, {QStringLiteral("Vmod frequency"), &m_vmodFrequencyId}},
        {ui->simsLineEdit, {QStringLiteral("Inverse Mirror Slope"), &m_mirrorSlopeId}},
        {ui->detector1GainLineEdit, {QStringLiteral("Detector Gain"), &m_detectorGainId}},
        {ui->pztFrequencyLineEdit, {QStringLiteral("PZT Frequency"), &m_pztFrequencyId}},
        {ui->simConcLineEdit, {QStringLiteral("Simulation Concentration"), &m_simConcId}},
        {ui->dataFilterLineEdit, {QStringLiteral("Data Filter"), &m_dataFilterId}},
    };
    for (const auto& [field, keypad] : keypadFields) {
        m_keypadFields.insert(field, keypad);
        field->installEventFilter(this);
    }
    ui->dateLineEdit->installEventFilter(this);

    connectWidgets();
    ui->tabWidget->setCurrentIndex(0);

    if (isRemote()) {
        m_backlight = std::make_unique<FakeBacklight>();
        ui->backlightSlider->setEnabled(false);
    } else {
        m_backlight = std::make_unique<VireoBacklight>(settingsFileName());
        ui->backlightSlider->setValue(50);
    }

    m_storageTimer = new QTimer(this);
    m_storageTimer->setObjectName(QStringLiteral("storageTimer"));
    m_storageTimer->setInterval(kStorageCheckMs);
    connect(m_storageTimer, &QTimer::timeout, this, &SettingsWindow::checkFileSystem);
    m_storageTimer->start();

    m_progress->setModal(true);
    m_progress->setWindowTitle(QStringLiteral("Trend Data"));
    ui->groupBoxEthernet->setEnabled(false);
}

SettingsWindow::~SettingsWindow()
{
    delete m_calendar;
    delete ui;
}

void SettingsWindow::connectWidgets()
{
    for (int i = 0; i < m_gasButtons.size(); ++i) {
        auto* button = qobject_cast<QAbstractButton*>(m_gasButtons.at(i));
        connect(button, &QAbstractButton::clicked, m_gasMapper, qOverload<>(&QSignalMapper::map));
        m_gasMapper->setMapping(button, i);
    }
    connect(m_gasMapper, &QSignalMapper::mappedInt, this, &SettingsWindow::gasClicked);
    const QList<std::pair<QPushButton*, int>> arrows = {
        {ui->page0RightButton, 1}, {ui->page1LeftButton, 0},  {ui->page1RightButton, 2},
        {ui->page2LeftButton, 1},  {ui->page2RightButton, 3}, {ui->page3LeftButton, 2},
        {ui->page3RightButton, 4}, {ui->page4LeftButton, 3}};
    for (const auto& [button, page] : arrows) {
        connect(button, &QPushButton::clicked, m_pageMapper, qOverload<>(&QSignalMapper::map));
        m_pageMapper->setMapping(button, page);
    }
    connect(m_pageMapper, &QSignalMapper::mappedInt, this, &SettingsWindow::pageClicked);

    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &SettingsWindow::tabChanged);
    connect(ui->pushButtonClose, &QPushButton::clicked, this, &SettingsWindow::closeClicked);
    connect(ui->backlightSlider, &QSlider::valueChanged, this, &SettingsWindow::backlightChanged);
    connect(ui->unitsComboBox, qOverload<int>(&QComboBox::activated), this,
            &SettingsWindow::unitsChanged);
    connect(ui->usbBaudrateComboBox, qOverload<int>(&QComboBox::activated), this,
            &SettingsWindow::usbBaudrateChanged);
    connect(ui->rs232BaudrateComboBox, qOverload<int>(&QComboBox::activated), this,
            &SettingsWindow::rs232BaudrateChanged);
    connect(ui->rs485BaudrateComboBox, qOverload<int>(&QComboBox::activated), this,
            &SettingsWindow::rs485BaudrateChanged);
    connect(ui->fourTwentyOutputLineEdit, &QLineEdit::returnPressed, this,
            &SettingsWindow::a420Edited);
    connect(ui->alarm1CheckBox, &QCheckBox::clicked, this, &SettingsWindow::alarm1RelayClicked);
    connect(ui->alarm2CheckBox, &QCheckBox::clicked, this, &SettingsWindow::alarm2RelayClicked);
    connect(ui->alarmSysCheckBox, &QCheckBox::clicked, this, &SettingsWindow::alarmSysRelayClicked);
    connect(ui->dhcpCheckBox, &QCheckBox::clicked, this, &SettingsWindow::dhcpClicked);
    connect(ui->echoConcCheckBox, &QCheckBox::clicked, this, &SettingsWindow::echoConcChecked);
    connect(ui->prefixTimeCheckBox, &QCheckBox::clicked, this, &SettingsWindow::prefixTimeChecked);
    connect(ui->allowAutoLaserOptCheckBox, &QCheckBox::clicked, this,
            &SettingsWindow::allowAutoLaserOptClicked);
    connect(ui->optimizePushButton, &QPushButton::clicked, this,
            &SettingsWindow::optimizeNowClicked);
    connect(ui->scheduleComboBox, qOverload<int>(&QComboBox::activated), this,
            &SettingsWindow::tuneScheduleEdited);
    for (QSpinBox* spin :
         {ui->yearSpinBox, ui->monthSpinBox, ui->daySpinBox, ui->hourSpinBox, ui->minuteSpinBox})
        connect(spin, qOverload<int>(&QSpinBox::valueChanged), this,
                &SettingsWindow::tuneScheduleEdited);
    connect(ui->laserCurrentLineEdit, &QLineEdit::returnPressed, this,
            &SettingsWindow::laserCurrentEdited);
    connect(ui->laserTempLineEdit, &QLineEdit::returnPressed, this,
            &SettingsWindow::laserTempEdited);
    connect(ui->thresholdLineEdit, &QLineEdit::returnPressed, this,
            &SettingsWindow::thresholdEdited);
    connect(ui->apcSetLineEdit, &QLineEdit::returnPressed, this, &SettingsWindow::apcSetEdited);
    connect(ui->apcOpenCheckBox, &QCheckBox::clicked, this, &SettingsWindow::apcOpenClicked);
    connect(ui->dataFilterSlider, &QSlider::valueChanged, this, &SettingsWindow::dataFilterSliding);
    connect(ui->dataFilterLineEdit, &QLineEdit::textChanged, this,
            &SettingsWindow::setDataFilterbyLine);
    connect(m_calendar, &QDialog::accepted, this, &SettingsWindow::dateChanged);
    connect(m_calendar, &QDialog::rejected, this, &SettingsWindow::dateRejected);
    connect(ui->getSettingsPushButton, &QPushButton::clicked, this,
            &SettingsWindow::downloadSettingsClicked);
    connect(ui->uploadSettingsPushButton, &QPushButton::clicked, this,
            &SettingsWindow::uploadSettingsClicked);
    connect(ui->defaultSettingsPushButton, &QPushButton::clicked, this,
            &SettingsWindow::defaultSettingsClicked);
    connect(ui->transferTrendPushButton, &QPushButton::clicked, this,
            &SettingsWindow::transferTrendClicked);
    connect(ui->transferScansPushButton, &QPushButton::clicked, this,
            &SettingsWindow::transferScansClicked);
    connect(ui->transferLogPushButton, &QPushButton::clicked, this,
            &SettingsWindow::transferLogClicked);
    connect(ui->transferSRDAPushButton, &QPushButton::clicked, this,
            &SettingsWindow::transferSRDAClicked);
    connect(ui->finalizeSettingsPushButton, &QPushButton::clicked, this,
            &SettingsWindow::finalizeSettingsClicked);
    connect(ui->offPeakPushButton, &QPushButton::clicked, this, &SettingsWindow::offPeakClicked);
    connect(ui->vmodLineEdit, &QLineEdit::returnPressed, this, &SettingsWindow::vmodEdited);
    connect(ui->vmodFactorLineEdit, &QLineEdit::returnPressed, this,
            &SettingsWindow::vmodFactorEdited);
    connect(ui->vmodFreqLineEdit, &QLineEdit::returnPressed, this,
            &SettingsWindow::vmodFrequencyEdited);
    connect(ui->simsLineEdit, &QLineEdit::returnPressed, this, &SettingsWindow::simsEdited);
    connect(ui->changeAccessPushButton, &QPushButton::clicked, this,
            &SettingsWindow::changeAccessLevel);
    connect(ui->detector1GainLineEdit, &QLineEdit::returnPressed, this,
            &SettingsWindow::detector1GainEdited);
    connect(ui->pztFrequencyLineEdit, &QLineEdit::returnPressed, this,
            &SettingsWindow::pztFrequencyEdited);
    connect(ui->detector1FilterCheckBox, &QCheckBox::clicked, this,
            &SettingsWindow::detector1FilterClicked);
    connect(ui->pztEnabledCheckBox, &QCheckBox::clicked, this, &SettingsWindow::pztEnabledClicked);
}

// ---------------------------------------------------------------------------
// Request table

int SettingsWindow::inGroup(Group group, int id)
{
    m_groups[group].append(id);
    return id;
}

SettingsWindow::Handler SettingsWindow::number(QLineEdit* field, Format format,
                                               bool keepWhileFocused)
{
    return [field, format, keepWhileFocused](const Analyzer::Response& response) {
        if (keepWhileFocused && field->hasFocus())
            return;
        const double value = response.toDouble();
        switch (format) {
        case Format::F1:
            field->setText(formatted(value, 1, 'f'));
            break;
        case Format::F2:
            field->setText(formatted(value, 2, 'f'));
            break;
        case Format::G6:
            field->setText(formatted(value, 6, 'g'));
            break;
        case Format::E4:
            field->setText(formatted(value, 4, 'E'));
            break;
        case Format::Int:
            field->setText(std::isnan(value) ? QString() : QString::number(std::llround(value)));
            break;
        }
    };
}

SettingsWindow::Handler SettingsWindow::checked(QCheckBox* box)
{
    return [box](const Analyzer::Response& response) { box->setChecked(response.toBool()); };
}

SettingsWindow::Handler SettingsWindow::text(QLabel* label, const QString& prefix)
{
    return [label, prefix](const Analyzer::Response& response) {
        label->setText(prefix + capServerText(response.toString()));
    };
}

void SettingsWindow::assignRequestIds(int firstId)
{
    using S = SettingsWindow;
    Analyzer::RequestTable& t = m_requests;
    t.reset(firstId);
    for (QList<int>& group : m_groups)
        group.clear();

    // Rows in table order; each takes the next id and joins the group named last.
    Group group = GasTypeGroup;
    const auto poll = [&](const char* method, Handler handler) {
        return inGroup(group, t.add(QLatin1String(method), std::move(handler)));
    };
    const auto pollValue = [&](const char* method, Handler handler) {
        return inGroup(group, t.addValue(QLatin1String(method), std::move(handler)));
    };
    const auto entry = [&](Handler handler) {
        return inGroup(group, t.addGuiOnly(kGuiTag, std::move(handler)));
    };
    const auto on = [this](void (S::*handler)(const Analyzer::Response&)) {
        return Handler([this, handler](const Analyzer::Response& r) { (this->*handler)(r); });
    };
    const auto baudrate = [&](QComboBox* combo, const char* port) {
        const int id = poll("baudrate", [this, combo](const Analyzer::Response& r) {
            selectByData(combo, r.toInt());
        });
        t.setParams(id, {QLatin1String(port)});
        return id;
    };
    const auto address = [this](QLineEdit* field) {
        return [this, field](const Analyzer::Response& r) { addressEntered(field, r); };
    };

    group = GasTypeGroup;
    poll("opmode", on(&S::opmodeReceived));
    poll("available_gases", on(&S::gasesReceived));
    m_currentGasId = poll("current_gas", on(&S::currentGasReceived));

    group = OutputsGroup;
    poll("opmode", on(&S::opmodeReceived));
    m_usbBaudId = baudrate(ui->usbBaudrateComboBox, "usb");
    m_rs232BaudId = baudrate(ui->rs232BaudrateComboBox, "rs232");
    m_rs485BaudId = baudrate(ui->rs485BaudrateComboBox, "rs485");
    m_networkId = poll("network_address", on(&S::networkReceived));
    m_a420LowId = poll("a420_low_level", number(ui->fourTwentyMinLineEdit, Format::F2));
    m_a420HighId = poll("a420_high_level", number(ui->fourTwentyMaxLineEdit, Format::F2));
    m_a420Id = poll("a420", number(ui->fourTwentyOutputLineEdit, Format::F2));
    m_alarm1LevelId = poll("user_alarm_1_level", number(ui->alarm_1LineEdit, Format::F1));
    m_alarm2LevelId = poll("user_alarm_2_level", number(ui->alarm_2LineEdit, Format::F1));
    m_alarm1RelayId = poll("user_alarm_1_relay", checked(ui->alarm1CheckBox));
    m_alarm2RelayId = poll("user_alarm_2_relay", checked(ui->alarm2CheckBox));
    m_sysRelayId = poll("sys_alarm_relay", checked(ui->alarmSysCheckBox));
    m_ipEntryId = entry(address(ui->ipLineEdit));
    m_subnetEntryId = entry(address(ui->subnetLineEdit));
    m_gatewayEntryId = entry(address(ui->gatewayLineEdit));
    pollValue("fit_used",
              [this](const Analyzer::Response& r) { ui->groupBoxFitMode->setVisible(r.toBool()); });
    m_fitEnabledId = pollValue("fit_mode_enabled", checked(ui->checkBoxFitEnable));
    m_fitOffsetId = pollValue("fit_offset", number(ui->lineEditFitIntercept, Format::F2));
    m_fitSlopeId = pollValue("fit_slope", number(ui->lineEditFitSlope, Format::F2));

    group = ScheduleGroup;
    m_scheduleOpmodeId = poll("opmode", on(&S::opmodeReceived));
    m_echoConcId = poll("echo_conc", on(&S::echoConcReceived));
    m_logIntervalId = pollValue("data_log_interval", number(ui->loggingIntLineEdit, Format::Int));
    m_autoLaserOptId =
        poll("allow_automatic_laser_optimization", checked(ui->allowAutoLaserOptCheckBox));
    poll("last_tune", text(ui->lastTuneLabel, QStringLiteral("Last Tune: ")));
    m_tuneScheduleId = poll("tune_schedule", on(&S::tuneScheduleReceived));
    poll("next_tune", text(ui->nextTuneLabel, QStringLiteral("Next Tune: ")));
    poll("last_optimization", text(ui->lastOptimizationLabel, QStringLiteral("Last: ")));
    m_dateTimeId = poll("date_time", on(&S::dateTimeReceived));

    group = SettingsGroup;
    poll("opmode", on(&S::opmodeReceived));
    m_laserCurrentId = poll("laser_current", number(ui->laserCurrentLineEdit, Format::F2));
    m_laserTemperatureId = poll("laser_temperature", number(ui->laserTempLineEdit, Format::F2));
    m_thresholdId = poll("trigger_threshold", number(ui->thresholdLineEdit, Format::G6));
    pollValue("bfd", [this](const Analyzer::Response& r) { readingForUnitType(r, false); });
    pollValue("laser_current_monitor",
              [this](const Analyzer::Response& r) { readingForUnitType(r, true); });
    poll("laser_external_temperature", number(ui->laserTempReadLineEdit, Format::F2, false));
    poll("refcell", number(ui->refcellLineEdit, Format::G6, false));
    poll("apc_used", on(&S::apcUsedReceived));
    m_apcSetPointId = poll("apc_set_point", number(ui->apcSetLineEdit, Format::F2));
    pollValue("measured_pressure_alarm", number(ui->pressureReadLineEdit, Format::F2, false));
    m_apcOpenId = poll("apc_open", checked(ui->apcOpenCheckBox));
    m_reactorHeaterId =
        pollValue("reactor_heater_enabled", checked(ui->reactorHeaterEnabledCheckBox));
    m_dataFilterId = poll("data_filter", on(&S::dataFilterReceived));
    m_dynamicFilterId = pollValue("dynamic_filter_enabled", on(&S::dynamicFilterEnabledReceived));
    poll("dynamic_filter_used", on(&S::dynamicFilterUsedReceived));
    m_unitsId = poll("units", on(&S::unitsReceived));
    // Only a keypad target: its id belongs to no group, so its replies are dropped.
    m_sampleGasPressureId = t.add(QStringLiteral("sample_gas_pressure"), Handler());
    pollValue("dew_point_used", on(&S::dewPointUsedReceived));
    pollValue("reactor_used", on(&S::reactorUsedReceived));
    pollValue("reactor_temperature",
              [this](const Analyzer::Response& r) { reactorReading(ui->reactorTempLineEdit, r); });
    pollValue("reactor_pressure", [this](const Analyzer::Response& r) {
        reactorReading(ui->reactorPressureLineEdit, r);
    });

    group = ServiceGroup;
    poll("opmode", on(&S::opmodeReceived));
    poll("unit_name", on(&S::unitNameReceived));
    pollValue("unit_type", on(&S::unitTypeReceived));
    poll("serial_number", on(&S::serialNumberReceived));
    poll("version", on(&S::versionReceived));
    pollValue("version_fpga", text(ui->fpgaLabel, QStringLiteral("FPGA: ")));

    group = OneShotGroup; // never polled
    m_passwordId = entry(on(&S::passwordEntered));
    m_restoreId = poll("restore_factory_settings", on(&S::restoreReceived));
    m_finalizeId = poll("finalize_factory_settings", on(&S::finalizeReceived));

    group = FactoryGroup;
    m_vmodAmplitudeId = pollValue("vmod_amplitude", number(ui->vmodLineEdit, Format::G6));
    m_vmodFactorId = poll("vmod_factor", number(ui->vmodFactorLineEdit, Format::F2));
    m_vmodFrequencyId = poll("vmod_frequency", number(ui->vmodFreqLineEdit, Format::Int));
    m_mirrorSlopeId = poll("inverse_mirror_slope", number(ui->simsLineEdit, Format::E4));
    poll("tec_current", number(ui->tecCurrentLineEdit, Format::F2));
    m_detectorGainId = poll("detector_gain", number(ui->detector1GainLineEdit, Format::Int));
    m_pztFrequencyId = pollValue("pzt_frequency", number(ui->pztFrequencyLineEdit, Format::Int));
    m_detectorFilterId = poll("detector_filtering_enabled", checked(ui->detector1FilterCheckBox));
    m_pztEnabledId = pollValue("pzt_enabled", checked(ui->pztEnabledCheckBox));
    m_simConcId = poll("simconc", number(ui->simConcLineEdit, Format::G6));
    m_trackHoldId = poll("track_and_hold_enable", checked(ui->trackHoldEnableCheckbox));
    m_allowNegativeId =
        pollValue("allow_negative_concentration", checked(ui->allowNegativeCheckBox));
    m_clearTrendId = poll("clear_trend_data", on(&S::clearTrendReceived)); // never polled
    poll("opmode", on(&S::opmodeReceived));
    pollValue("detector_temperature_setpoint",
              number(ui->detectorTempSetLineEdit, Format::F2, false));
    pollValue("detector_temperature_actual",
              number(ui->detectorTempReadLineEdit, Format::F2, false));
    pollValue("reactor_temperature", number(ui->rtdLineEdit, Format::F2, false));
    pollValue("reactor_pressure", number(ui->transducerLineEdit, Format::F2, false));
    pollValue("apc_pressure", number(ui->apcPressureLineEdit, Format::F2, false));
}

QJsonArray SettingsWindow::updateRequests()
{
    const auto groupBatch = [this](int group) {
        QList<int> ids = m_groups[group];
        if (group == FactoryGroup)
            ids.removeAll(m_clearTrendId);
        return m_requests.pollRequests(ids); // GUI-only entries are left out here
    };
    if (!m_firstPoll)
        return groupBatch(ui->tabWidget->currentIndex());
    m_firstPoll = false;
    QJsonArray all;
    for (int group = GasTypeGroup; group <= FactoryGroup; ++group) {
        for (const QJsonValue& request : groupBatch(group))
            all.append(request);
    }
    return all;
}

void SettingsWindow::handleResponse(const Analyzer::Response& response)
{
    static constexpr Group kOrder[] = {GasTypeGroup, ScheduleGroup, OutputsGroup, SettingsGroup,
                                       ServiceGroup, OneShotGroup,  FactoryGroup};
    for (Group group : kOrder) {
        if (m_groups[group].contains(response.id())) {
            m_requests.dispatch(response);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Sending

void SettingsWindow::send(int id, const QJsonArray& params)
{
    Analyzer::Request request = m_requests.request(id);
    if (!params.isEmpty()) // the one-shot actions go out without params
        request.setParams(params);
    emit jsonToSend(request);
}

void SettingsWindow::sendValueOf(int id, QLineEdit* field, QJsonArray params)
{
    bool ok = false;
    const double value = field->text().toDouble(&ok);
    field->clearFocus();
    // Text that is no number must not reach the analyzer as a zero (JSON has
    // no NaN or infinity either).
    if (!ok || !std::isfinite(value)) {
        qDebug() << "Not a number:" << field->text();
        return;
    }
    params.append(value);
    send(id, params);
}

void SettingsWindow::openKeypad(const QString& prompt, int id)
{
    m_keypadRequest = m_requests.request(id);
    emit showKeyboard(prompt, m_keypadRequest);
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return QWidget::eventFilter(watched, event);
    if (watched == ui->dateLineEdit) {
        m_calendar->exec();
        return true;
    }
    const auto it = m_keypadFields.constFind(watched);
    if (it == m_keypadFields.cend())
        return QWidget::eventFilter(watched, event);
    auto* field = static_cast<QLineEdit*>(watched);
    if (field == ui->loggingIntLineEdit && !field->isEnabled())
        return true;
    if (field == ui->ipLineEdit || field == ui->subnetLineEdit || field == ui->gatewayLineEdit) {
        m_editingTimer->start(kEditingTimeoutMs);
        m_networkEditing = true;
    }
    field->clearFocus();
    openKeypad(it->prompt, *it->id);
    return true;
}

// ---------------------------------------------------------------------------
// Frame

void SettingsWindow::showFactoryTab(bool factory)
{
    ui->tabWidget->setTabText(kFactoryTab, factory ? QStringLiteral("Factory") : QString());
    ui->tabWidget->setTabEnabled(kFactoryTab, factory);
    ui->stackedWidget->setCurrentIndex(factory ? 1 : 0);
    ui->page0RightButton->setVisible(factory);
}

void SettingsWindow::configureForServiceMode(bool service)
{
    ui->opmodeLabel->setVisible(!service);
    for (QWidget* gasButton : qAsConst(m_gasButtons))
        gasButton->setEnabled(service);
    const QList<QWidget*> gated = {ui->fourTwentyMinLineEdit,
                                   ui->fourTwentyMaxLineEdit,
                                   ui->fourTwentyOutputLineEdit,
                                   ui->alarm_1LineEdit,
                                   ui->alarm_2LineEdit,
                                   ui->alarm1CheckBox,
                                   ui->alarm2CheckBox,
                                   ui->alarmSysCheckBox,
                                   ui->usbBaudrateComboBox,
                                   ui->rs232BaudrateComboBox,
                                   ui->rs485BaudrateComboBox,
                                   ui->checkBoxFitEnable,
                                   ui->lineEditFitSlope,
                                   ui->lineEditFitIntercept,
                                   ui->loggingIntLineEdit,
                                   ui->echoConcCheckBox,
                                   ui->prefixTimeCheckBox,
                                   ui->allowAutoLaserOptCheckBox,
                                   ui->yearSpinBox,
                                   ui->monthSpinBox,
                                   ui->daySpinBox,
                                   ui->hourSpinBox,
                                   ui->minuteSpinBox,
                                   ui->scheduleComboBox,
                                   ui->dateTimeGroup,
                                   ui->laserCurrentLineEdit,
                                   ui->laserTempLineEdit,
                                   ui->thresholdLineEdit,
                                   ui->apcSetLineEdit,
                                   ui->apcOpenCheckBox,
                                   ui->reactorHeaterEnabledCheckBox,
                                   ui->unitsComboBox,
                                   ui->getSettingsPushButton,
                                   ui->uploadSettingsPushButton,
                                   ui->defaultSettingsPushButton,
                                   ui->transferTrendPushButton,
                                   ui->transferScansPushButton,
                                   ui->transferLogPushButton,
                                   ui->transferSRDAPushButton,
                                   ui->factoryLaserSettingsGroup,
                                   ui->factoryReadingsGroup,
                                   ui->factoryAnalyzerSettingsGroup,
                                   ui->factoryTrackHoldGroup,
                                   ui->factoryDetectorGroup,
                                   ui->factoryPztGroup,
                                   ui->factoryConcentrationGroup,
                                   ui->factoryApcGroup};
    for (QWidget* widget : gated)
        widget->setEnabled(service);
    ui->labelFile->setVisible(service);
    ui->dynamicFilterEnabledCheckBox->setEnabled(service);
    const bool manualFilter = service && !ui->dynamicFilterEnabledCheckBox->isChecked();
    ui->dataFilterLineEdit->setEnabled(manualFilter);
    ui->dataFilterSlider->setEnabled(manualFilter);
}

void SettingsWindow::tabChanged(int position)
{
    if (position == kSettingsTab)
        m_backlight->refresh();
}

void SettingsWindow::pageClicked(int page)
{
    ui->stackedWidget->setCurrentIndex(page);
}

void SettingsWindow::closeClicked()
{
    emit goToWindow(HOME);
}

void SettingsWindow::changeAccessLevel()
{
    openKeypad(QStringLiteral("Enter Factory Password"), m_passwordId);
}

void SettingsWindow::passwordEntered(const Analyzer::Response& response)
{
    // The keypad hands back text with three dots as it stands; that is no password.
    const QJsonArray entry = response.toArray();
    if (entry.isEmpty() || !entry.at(0).isDouble())
        return;
    const bool factory = entry.at(0).toInt() == kFactoryPassword;
    ui->accessLabel->setText(factory ? QStringLiteral("Access: Factory")
                                     : QStringLiteral("Access: Standard"));
    showFactoryTab(factory);
}

void SettingsWindow::opmodeReceived(const Analyzer::Response& response)
{
    // A reply without a mode number (an error, or the answer to a mode write)
    // says nothing about service mode.
    if (!response.result().isDouble())
        return;
    configureForServiceMode(response.toInt() == kServiceMode);
}

void SettingsWindow::editingDone()
{
    qDebug() << "Editing timer timed out!";
    m_networkEditing = false;
    sendNetworkSettings(ui->dhcpCheckBox->isChecked());
}

void SettingsWindow::checkFileSystem()
{
    ui->labelFile->setText(fileExists(devicePath())
                               ? QStringLiteral("Ready to download")
                               : QStringLiteral("Configure storage location"));
}

void SettingsWindow::connectionChanged(bool lost)
{
    if (lost && m_progress->isVisible()) {
        m_progress->hide();
        showResult(QStringLiteral("Trend Data"), QStringLiteral("Error clearing trend data"));
    }
}

// ---------------------------------------------------------------------------
// Gas Type

void SettingsWindow::gasesReceived(const Analyzer::Response& response)
{
    QStringList gases;
    for (const QJsonValue& name : response.toArray())
        gases.append(name.toString());
    QCollator collator;
    std::sort(gases.begin(), gases.end(), collator);
    if (gases == m_gases)
        return;
    m_gases = gases;
    m_gasPage = 0;
    m_gasPageCount = (m_gases.size() - 1) / kGasesPerPage + 1;
    ui->buttonNextGasPage->setVisible(m_gasPageCount > 1);
    showGasPage(0);
}

void SettingsWindow::showGasPage(int page)
{
    const int first = page >= 0 && page < m_gasPageCount ? page * kGasesPerPage : 0;
    for (int j = 0; j < kGasesPerPage; ++j) {
        const bool present = first + j < m_gases.size();
        m_gasButtons.at(j)->setVisible(present);
        m_gasLabels.at(j)->setVisible(present);
        m_gasLabels.at(j)->setText(present ? subscriptDigits(capServerText(m_gases.at(first + j)))
                                           : QStringLiteral("blank"));
    }
    markCurrentGas();
}

void SettingsWindow::markCurrentGas()
{
    const QString current = subscriptDigits(capServerText(m_currentGas));
    for (int j = 0; j < kGasesPerPage; ++j) {
        auto* button = qobject_cast<QAbstractButton*>(m_gasButtons.at(j));
        const bool match = m_gasLabels.at(j)->text() == current;
        if (match) {
            button->setChecked(true);
        } else {
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        }
    }
}

void SettingsWindow::currentGasReceived(const Analyzer::Response& response)
{
    m_currentGas = response.toString();
    markCurrentGas();
}

void SettingsWindow::on_buttonNextGasPage_clicked()
{
    m_gasPage = (m_gasPage + 1) % std::max(m_gasPageCount, 1);
    showGasPage(m_gasPage);
}

void SettingsWindow::gasClicked(int position)
{
    const int index = m_gasPage * kGasesPerPage + position;
    if (index < 0 || index >= m_gases.size())
        return;
    send(m_currentGasId, {m_gases.at(index)});
}

// ---------------------------------------------------------------------------
// Outputs

void SettingsWindow::selectByData(QComboBox* combo, const QVariant& data)
{
    combo->setCurrentIndex(combo->findData(data));
}

void SettingsWindow::sendBaudrate(QComboBox* combo, const QString& port, int index)
{
    if (index < 0)
        return;
    send(combo == ui->usbBaudrateComboBox     ? m_usbBaudId
         : combo == ui->rs232BaudrateComboBox ? m_rs232BaudId
                                              : m_rs485BaudId,
         {port, QString::number(combo->itemData(index).toInt())});
}

void SettingsWindow::usbBaudrateChanged(int index)
{
    sendBaudrate(ui->usbBaudrateComboBox, QStringLiteral("usb"), index);
}

void SettingsWindow::rs232BaudrateChanged(int index)
{
    sendBaudrate(ui->rs232BaudrateComboBox, QStringLiteral("rs232"), index);
}

void SettingsWindow::rs485BaudrateChanged(int index)
{
    sendBaudrate(ui->rs485BaudrateComboBox, QStringLiteral("rs485"), index);
}

void SettingsWindow::networkReceived(const Analyzer::Response& response)
{
    const QJsonArray address = response.toArray();
    if (m_networkEditing || address.size() < 4)
        return;
    ui->dhcpCheckBox->setChecked(address.at(0).toBool());
    ui->ipLineEdit->setText(address.at(1).toString());
    ui->subnetLineEdit->setText(address.at(2).toString());
    ui->gatewayLineEdit->setText(address.at(3).toString());
}

void SettingsWindow::addressEntered(QLineEdit* field, const Analyzer::Response& response)
{
    const QJsonArray entry = response.toArray();
    if (entry.isEmpty())
        return;
    // The keypad hands back a number when the entry has no three dots.
    const QJsonValue value = entry.at(0);
    field->setText(value.isString() ? value.toString()
                                    : QString::number(value.toDouble(), 'g', 15));
    sendNetworkSettings(ui->dhcpCheckBox->isChecked());
}

void SettingsWindow::sendNetworkSettings(bool dhcp)
{
    if (dhcp)
        send(m_networkId, {true});
    else
        send(m_networkId, {false, ui->ipLineEdit->text(), ui->subnetLineEdit->text(),
                           ui->gatewayLineEdit->text()});
}

void SettingsWindow::dhcpClicked(bool checked)
{
    sendNetworkSettings(checked);
}

void SettingsWindow::a420Edited()
{
    sendValueOf(m_a420Id, ui->fourTwentyOutputLineEdit);
}

void SettingsWindow::alarm1RelayClicked(bool checked)
{
    send(m_alarm1RelayId, {checked});
}

void SettingsWindow::alarm2RelayClicked(bool checked)
{
    send(m_alarm2RelayId, {checked});
}

void SettingsWindow::alarmSysRelayClicked(bool checked)
{
    send(m_sysRelayId, {checked});
}

void SettingsWindow::on_checkBoxFitEnable_clicked(bool checked)
{
    send(m_fitEnabledId, {checked});
}

// ---------------------------------------------------------------------------
// Schedule

void SettingsWindow::echoConcReceived(const Analyzer::Response& response)
{
    const QJsonArray flags = response.toArray();
    if (flags.size() < 2)
        return;
    ui->echoConcCheckBox->setChecked(flags.at(0).toBool());
    ui->prefixTimeCheckBox->setChecked(flags.at(1).toBool());
}

void SettingsWindow::echoConcChecked(bool checked)
{
    send(m_echoConcId, {checked, ui->prefixTimeCheckBox->isChecked()});
}

void SettingsWindow::prefixTimeChecked(bool checked)
{
    send(m_echoConcId, {ui->echoConcCheckBox->isChecked(), checked});
}

void SettingsWindow::allowAutoLaserOptClicked(bool checked)
{
    send(m_autoLaserOptId, {checked});
}

void SettingsWindow::optimizeNowClicked()
{
    send(m_scheduleOpmodeId, {kOptimizeLaserMode});
}

void SettingsWindow::tuneScheduleReceived(const Analyzer::Response& response)
{
    ui->scheduleComboBox->setCurrentIndex(
        ui->scheduleComboBox->findText(response.toString(), Qt::MatchFixedString));
}

void SettingsWindow::tuneScheduleEdited(int)
{
    const QString start = QStringLiteral("%1-%2-%3 %4:%5:00")
                              .arg(ui->yearSpinBox->value())
                              .arg(ui->monthSpinBox->value())
                              .arg(ui->daySpinBox->value())
                              .arg(ui->hourSpinBox->value(), 2, 10, QLatin1Char('0'))
                              .arg(ui->minuteSpinBox->value(), 2, 10, QLatin1Char('0'));
    send(m_tuneScheduleId, {ui->scheduleComboBox->currentText().toLower(), start});
}

void SettingsWindow::dateTimeReceived(const Analyzer::Response& response)
{
    const QString dateTime = response.toString();
    ui->dateLineEdit->setText(dateTime.left(10));
    ui->timeLineEdit->setText(dateTime.right(8));
}

void SettingsWindow::dateChanged()
{
    send(m_dateTimeId,
         {m_calendar->selectedDateText() + QLatin1Char(' ') + ui->timeLineEdit->text()});
}

void SettingsWindow::dateRejected()
{
    m_calendar->selectToday();
}

// ---------------------------------------------------------------------------
// Settings

void SettingsWindow::readingForUnitType(const Analyzer::Response& response, bool laserMonitor)
{
    if ((m_unitType == kLaserMonitorUnitType) == laserMonitor)
        ui->bfdLineEdit->setText(formatted(response.toDouble(), 2, 'f'));
}

void SettingsWindow::apcUsedReceived(const Analyzer::Response& response)
{
    const bool used = response.toBool();
    for (QWidget* widget :
         QList<QWidget*>{ui->pressureReadLabel, ui->pressureReadLineEdit, ui->apcSetLabel,
                         ui->apcSetLineEdit, ui->apcOpenCheckBox})
        widget->setVisible(used);
}

void SettingsWindow::reactorUsedReceived(const Analyzer::Response& response)
{
    m_reactorUsed = response.toBool();
    for (QWidget* widget :
         QList<QWidget*>{ui->reactorTempLabel, ui->reactorTempLineEdit, ui->reactorPressureLabel,
                         ui->reactorPressureLineEdit, ui->reactorHeaterEnabledCheckBox})
        widget->setVisible(m_reactorUsed);
}

void SettingsWindow::reactorReading(QLineEdit* field, const Analyzer::Response& response)
{
    if (m_reactorUsed)
        field->setText(formatted(response.toDouble(), 2, 'f'));
}

void SettingsWindow::laserCurrentEdited()
{
    sendValueOf(m_laserCurrentId, ui->laserCurrentLineEdit);
}

void SettingsWindow::laserTempEdited()
{
    sendValueOf(m_laserTemperatureId, ui->laserTempLineEdit);
}

void SettingsWindow::thresholdEdited()
{
    sendValueOf(m_thresholdId, ui->thresholdLineEdit);
}

void SettingsWindow::apcSetEdited()
{
    sendValueOf(m_apcSetPointId, ui->apcSetLineEdit);
}

void SettingsWindow::apcOpenClicked(bool checked)
{
    // The controller is opened by apc_open and given back control by
    // apc_controlling; both take true.
    Analyzer::Request request = m_requests.request(m_apcOpenId);
    if (!checked)
        request.setMethod(QStringLiteral("apc_controlling"));
    request.setParams({true});
    emit jsonToSend(request);
}

void SettingsWindow::on_reactorHeaterEnabledCheckBox_clicked(bool checked)
{
    send(m_reactorHeaterId, {checked});
}

void SettingsWindow::unitsReceived(const Analyzer::Response& response)
{
    const int index = ui->unitsComboBox->findData(response.toString());
    if (index >= 0)
        ui->unitsComboBox->setCurrentIndex(index);
}

void SettingsWindow::dewPointUsedReceived(const Analyzer::Response& response)
{
    auto* model = qobject_cast<QStandardItemModel*>(ui->unitsComboBox->model());
    for (int i = 0; i < ui->unitsComboBox->count(); ++i) {
        if (ui->unitsComboBox->itemText(i).startsWith(QLatin1String("dew"), Qt::CaseInsensitive) &&
            model)
            model->item(i)->setEnabled(response.toBool());
    }
}

void SettingsWindow::unitsChanged(int index)
{
    if (index < 0)
        return;
    const QString unit = ui->unitsComboBox->itemData(index).toString();
    if (unit != QLatin1String("volume") && unit != QLatin1String("weight"))
        openKeypad(QStringLiteral("Sample Gas Pressure (psig)"), m_sampleGasPressureId);
    send(m_unitsId, {unit});
}

void SettingsWindow::backlightChanged(int value)
{
    m_backlight->setBrightness(value);
}

void SettingsWindow::dataFilterSliding(int value)
{
    ui->dataFilterLineEdit->setText(QString::number(value * 10));
}

void SettingsWindow::setDataFilterbyLine()
{
    m_dataFilterEditing = true;
    m_dataFilterTimer->start(kDataFilterTimeoutMs);
    ui->dataFilterSlider->setValue(ui->dataFilterLineEdit->text().toInt() / 10);
}

void SettingsWindow::dataEditingDone()
{
    m_dataFilterEditing = false;
    send(m_dataFilterId, {std::max(ui->dataFilterLineEdit->text().toInt(), kMinimumDataFilter)});
}

void SettingsWindow::dataFilterReceived(const Analyzer::Response& response)
{
    if (m_dataFilterEditing)
        return;
    const int value = response.toInt();
    if (value < kMinimumDataFilter)
        return;
    const QSignalBlocker textBlocker(ui->dataFilterLineEdit);
    const QSignalBlocker sliderBlocker(ui->dataFilterSlider);
    ui->dataFilterLineEdit->setText(QString::number(value));
    ui->dataFilterSlider->setValue(value / 10);
}

void SettingsWindow::dynamicFilterEnabledReceived(const Analyzer::Response& response)
{
    const bool automatic = response.toBool();
    ui->dynamicFilterEnabledCheckBox->setChecked(automatic);
    if (ui->dynamicFilterEnabledCheckBox->isEnabled()) {
        ui->dataFilterLineEdit->setEnabled(!automatic);
        ui->dataFilterSlider->setEnabled(!automatic);
    }
}

void SettingsWindow::dynamicFilterUsedReceived(const Analyzer::Response& response)
{
    const int kind = response.isError() ? 1 : response.toInt();
    ui->dynamicFilterEnabledCheckBox->setText(kind == 2 ? QStringLiteral("Speed+")
                                                        : QStringLiteral("Auto"));
    ui->dynamicFilterEnabledCheckBox->setVisible(kind == 1 || kind == 2);
}

void SettingsWindow::on_dynamicFilterEnabledCheckBox_clicked(bool checked)
{
    send(m_dynamicFilterId, {checked});
}

// ---------------------------------------------------------------------------
// Service

void SettingsWindow::unitNameReceived(const Analyzer::Response& response)
{
    ui->unitNameLabel->setText(QStringLiteral("Unit Name: ") + capServerText(response.toString()));
    emit newTitleBarName(response.toString());
}

void SettingsWindow::unitTypeReceived(const Analyzer::Response& response)
{
    m_unitType = response.toInt();
    ui->label_7->setText(m_unitType == kLaserMonitorUnitType ? QStringLiteral("Laser I (mA)")
                                                             : QStringLiteral("Laser BFD (mV)"));
    ui->unitTypeLabel->setText(QStringLiteral("Unit Type: ") + QString::number(m_unitType));
}

void SettingsWindow::serialNumberReceived(const Analyzer::Response& response)
{
    const QString serial = response.toString();
    ui->serialLabel->setText(QStringLiteral("SN: ") + serial);
    const QString host = connectionString().section(QLatin1Char(':'), 0, 0);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* frame = qobject_cast<QMainWindow*>(window)) {
            const QString title = QStringLiteral("SN ") + serial + QStringLiteral(" @ ") + host;
            if (frame->windowTitle() != title)
                frame->setWindowTitle(title);
            break;
        }
    }
}

void SettingsWindow::versionReceived(const Analyzer::Response& response)
{
    ui->versionLabel->setText(QStringLiteral("Version: ") + capServerText(response.toString()));
    emit newTitleBarVersion(response.toString());
}

void SettingsWindow::showResult(const QString& title, const QString& text)
{
    MessageBox box(this, false);
    box.setWindowTitle(title);
    box.setText(text);
    box.exec();
}

// The transfers themselves, with their progress and result messages, are the
// file manager's.
void SettingsWindow::downloadSettingsClicked()
{
    emit startDownload(FileManager::SettingsFile, false);
}

void SettingsWindow::uploadSettingsClicked()
{
    emit uploadFile(FileManager::SettingsFile);
}

void SettingsWindow::transferTrendClicked()
{
    emit startDownload(FileManager::TrendFile, false);
}

void SettingsWindow::transferScansClicked()
{
    emit startDownload(FileManager::ScansFile, false);
}

void SettingsWindow::transferLogClicked()
{
    emit startDownload(FileManager::LogFile, false);
}

void SettingsWindow::transferSRDAClicked()
{
    emit startDownload(FileManager::SrdaFile, false);
}

void SettingsWindow::defaultSettingsClicked()
{
    MessageBox box(this, true);
    box.setWindowTitle(QStringLiteral("Warning"));
    box.setText(QStringLiteral(
        "Restoring settings can erase the current analyzer settings.\nOK to proceed?"));
    if (box.exec() == QDialog::Accepted)
        send(m_restoreId, {});
}

void SettingsWindow::restoreReceived(const Analyzer::Response& response)
{
    showResult(QString(), response.isError() ? QStringLiteral("Error restoring settings")
                                             : QStringLiteral("Settings restored"));
}

void SettingsWindow::finalizeSettingsClicked()
{
    send(m_finalizeId, {});
}

void SettingsWindow::finalizeReceived(const Analyzer::Response& response)
{
    showResult(QString(), response.isError() ? QStringLiteral("Error finalizing settings")
                                             : QStringLiteral("Settings finalized"));
}

void SettingsWindow::offPeakClicked()
{
    send(m_scheduleOpmodeId, {kOffPeakMode});
}

void SettingsWindow::on_buttonCertificationScan_clicked()
{
    emit goToWindow(CERTIFICATION);
}

void SettingsWindow::on_apcCalibrateButton_clicked()
{
    emit goToWindow(CALIBRATION);
}

// ---------------------------------------------------------------------------
// Factory

void SettingsWindow::vmodEdited()
{
    sendValueOf(m_vmodAmplitudeId, ui->vmodLineEdit);
}

void SettingsWindow::vmodFactorEdited()
{
    sendValueOf(m_vmodFactorId, ui->vmodFactorLineEdit);
}

void SettingsWindow::vmodFrequencyEdited()
{
    sendValueOf(m_vmodFrequencyId, ui->vmodFreqLineEdit);
}

void SettingsWindow::simsEdited()
{
    sendValueOf(m_mirrorSlopeId, ui->simsLineEdit);
}

void SettingsWindow::detector1GainEdited()
{
    // Detector number 1, then the gain; the keypad path sends the gain alone.
    sendValueOf(m_detectorGainId, ui->detector1GainLineEdit, {1});
}

void SettingsWindow::pztFrequencyEdited()
{
    sendValueOf(m_pztFrequencyId, ui->pztFrequencyLineEdit);
}

void SettingsWindow::detector1FilterClicked(bool checked)
{
    send(m_detectorFilterId, {1, checked});
}

void SettingsWindow::pztEnabledClicked(bool checked)
{
    send(m_pztEnabledId, {checked});
}

void SettingsWindow::on_trackHoldEnableCheckbox_clicked(bool checked)
{
    send(m_trackHoldId, {checked});
}

void SettingsWindow::on_allowNegativeCheckBox_clicked(bool checked)
{
    send(m_allowNegativeId, {checked});
}

void SettingsWindow::on_clearTrendButton_clicked()
{
    m_progress->progressBar()->setRange(0, 0);
    m_progress->setText(QStringLiteral("Please wait"));
    m_progress->show();
    send(m_clearTrendId, {});
}

void SettingsWindow::clearTrendReceived(const Analyzer::Response& response)
{
    m_progress->hide();
    showResult(QStringLiteral("Trend Data"), response.isError()
                                                 ? QStringLiteral("Error clearing trend data")
                                                 : QStringLiteral("Trend data cleared"));
}
