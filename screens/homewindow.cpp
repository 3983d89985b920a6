#include "screens/homewindow.h"

#include "analyzer/analyzerfacts.h"
#include "analyzer/response.h"
#include "base/dewpointc.h"
#include "base/dewpointf.h"
#include "base/dewpointk.h"
#include "base/unitkeys.h"
#include "base/weight.h"
#include "trend/historyinterface.h"
#include "trend/localhistory.h"
#include "trend/remotehistory.h"
#include "trend/trendchart.h"
#include "ui_homewindow.h"
#include "widgets/chartsfwd.h"
#include "widgets/elidedlabel.h"
#include "widgets/fingerscroll.h"
#include "widgets/stalemarker.h"
#include "widgets/statusbadge.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QScatterSeries>
#include <QSettings>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

const QString kLockedKey = QStringLiteral("locked");
const QString kUnlockCodeKey = QStringLiteral("unlockCode");
// Service codes that open any lock, for the operator who forgot the code.
constexpr int kMasterCodes[] = {5738, 947, 9062};
constexpr int kMiniPlotMoveMs = 60000;
constexpr int kValueSymbolSize = 32;
// The plot runs a little into the future so the newest samples are not drawn
// on the right border.
constexpr int kMiniPlotLeadSeconds = 120;

const QString kRedLamp = QStringLiteral(":/images/RedLight.png");
const QString kGreenLamp = QStringLiteral(":/images/GreenLight.png");
const QString kGreyLamp = QStringLiteral(":/images/GrayLight.png");

/// A fixed-decimals value, or nothing when the analyzer sent no number.
QString fixedText(double value, int decimals)
{
    return std::isnan(value) ? QString() : QString::number(value, 'f', decimals);
}

/// Sets a read-only field's text; the same text again neither repaints nor
/// moves its cursor.
void setFieldText(QLineEdit* field, const QString& text)
{
    if (field->text() != text)
        field->setText(text);
}

/// Shows a lamp; the lamp shown already is left alone.
void setLamp(QLabel* lamp, const QPixmap& wanted)
{
    if (lamp->pixmap(Qt::ReturnByValue).cacheKey() != wanted.cacheKey())
        lamp->setPixmap(wanted);
}

/// An alarm level as the alarm list shows it; nothing when the analyzer sent no number.
QString levelText(double level)
{
    if (std::isnan(level))
        return QString();
    if (level >= 10000.0)
        return QString::number(level / 1000.0, 'g', 6) + QStringLiteral(" ppm");
    return QString::number(level, 'g', 6) + QStringLiteral(" ppb");
}

} // namespace

HomeWindow::HomeWindow(Trend::HistoryInterface* history, QWidget* parent)
    : QWidget(parent), ui(new Ui::HomeWindow), m_redLamp(kRedLamp), m_greenLamp(kGreenLamp),
      m_greyLamp(kGreyLamp), m_history(history)
{
    ui->setupUi(this);

    using namespace UnitConversion;
    m_units.emplace(kVolumeKey, std::make_unique<Volume>());
    m_units.emplace(kWeightKey, std::make_unique<Weight>());
    m_units.emplace(kDewPointCKey, std::make_unique<DewPointC>());
    m_units.emplace(kDewPointFKey, std::make_unique<DewPointF>());
    m_units.emplace(kDewPointKKey, std::make_unique<DewPointK>());
    m_unitKey = kVolumeKey;
    m_conversion = m_units.at(kVolumeKey).get();

    m_intervalIndex = 1;
    setUpMiniPlot();

    connect(ui->pushButtonMode, &QPushButton::clicked, this, &HomeWindow::modeClicked);
    connect(ui->pushButtonRDGraph, &QPushButton::clicked, this, &HomeWindow::rdgraphClicked);
    connect(ui->pushButtonSettings, &QPushButton::clicked, this, &HomeWindow::settingsClicked);
    connect(ui->pushButtonTrend, &QPushButton::clicked, this, &HomeWindow::trendClicked);
    connect(ui->pushButtonDisplay, &QPushButton::clicked, this, &HomeWindow::displayClicked);
    connect(ui->pushButtonLock, &QPushButton::clicked, this, &HomeWindow::lockClicked);
    connect(ui->alarmsListWidget, &QListWidget::itemClicked, this,
            &HomeWindow::alarmDetailsClicked);
    scrollWithFinger(ui->alarmsListWidget);

    // The form keeps its unit captions ASCII; the real symbols go in here.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->text() == QLatin1String("C"))
            label->setText(QStringLiteral("\u00B0C"));
        else if (label->text() == QLatin1String("S"))
            label->setText(QStringLiteral("\u00B5s"));
    }
    // The user alarms' lamps carry the alarms' own names.
    ui->label_concAlarm1->setText(Analyzer::alarmLabel(Analyzer::AlarmFlag::UserAlarm1));
    ui->label_concAlarm2->setText(Analyzer::alarmLabel(Analyzer::AlarmFlag::UserAlarm2));
    for (QLineEdit* field : {ui->laserCurrentLabel, ui->laserTempLabel, ui->thresholdLabel,
                             ui->tauLabel, ui->tauELabel})
        field->setReadOnly(true);
    ui->stackedWidget->setCurrentIndex(1);
    // Nothing read yet: no digits, no names, nothing that looks like a reading.
    ui->concLabel->setText(noValueText());
    ui->label_4->setVisible(false);
    setStatusClass(Analyzer::StatusClass::FunctionCheck);

    // Neither the value nor the lamps may be read as live once the analyzer
    // stops refreshing them: grey, with their age.
    m_concMarker = new StaleMarker(this);
    m_concMarker->addWidget(ui->concLabel);
    m_concMarker->addWidget(ui->unitsLabel);
    m_concMarker->setAgeLabel(ui->concAgeLabel);
    // Out of the way while live, so the unit stays level with the value.
    connect(m_concMarker, &StaleMarker::staleChanged, ui->concAgeLabel, &QLabel::setVisible);
    ui->concAgeLabel->setVisible(m_concMarker->isStale());
    m_lampMarker = new StaleMarker(this);
    for (QLabel* caption : {ui->label_system, ui->label_concAlarm1, ui->label_concAlarm2})
        m_lampMarker->addWidget(caption);
    m_lampMarker->setAgeLabel(ui->alarmsAgeLabel);
    connect(m_lampMarker, &StaleMarker::staleChanged, this, &HomeWindow::lampsStale);
    lampsStale(m_lampMarker->isStale());

    QSettings settings;
    m_locked = settings.value(kLockedKey, false).toBool();
    m_unlockCode = settings.value(kUnlockCodeKey, -1).toInt();
    applyLockState();

    if (auto* local = dynamic_cast<Trend::LocalHistory*>(m_history))
        connect(local, &Trend::LocalHistory::historyRx, this, &HomeWindow::updateMiniTrend);
    else if (auto* remote = dynamic_cast<Trend::RemoteHistory*>(m_history))
        connect(remote, &Trend::RemoteHistory::historyRx, this, &HomeWindow::updateMiniTrend);
}

HomeWindow::~HomeWindow()
{
    delete ui;
}

void HomeWindow::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    m_requests.addValue(QStringLiteral("conc"), this, &HomeWindow::concReceived);
    m_requests.addValue(QStringLiteral("species"), this, &HomeWindow::speciesReceived);
    m_requests.addValue(QStringLiteral("units"), this, &HomeWindow::unitsReceived);
    m_requests.addValue(QStringLiteral("tau"), this, &HomeWindow::tauReceived);
    m_requests.addValue(QStringLiteral("tau_std"), this, &HomeWindow::tauStdReceived);
    m_requests.addValue(QStringLiteral("tau_zero"), this, &HomeWindow::tauZeroReceived);
    m_requests.addValue(QStringLiteral("tau_zero_std"), this, &HomeWindow::tauZeroStdReceived);
    m_requests.addValue(QStringLiteral("get_customer_laser_current"), this,
                        &HomeWindow::laserCurrentReceived);
    m_requests.addValue(QStringLiteral("get_customer_laser_temperature"), this,
                        &HomeWindow::laserTemperatureReceived);
    m_requests.addValue(QStringLiteral("trigger_threshold"), this, &HomeWindow::thresholdReceived);
    m_requests.addValue(QStringLiteral("opmode"), this, &HomeWindow::opmodeReceived);
    m_requests.addValue(QStringLiteral("current_gas"), this, &HomeWindow::gasReceived);
    m_requests.addFlag(QStringLiteral("laser_alarm_active"), m_laserAlarm);
    m_requests.addFlag(QStringLiteral("pressure_alarm_active"), m_pressureAlarm);
    m_requests.addFlag(QStringLiteral("rd_alarm_active"), m_ringDownAlarm);
    m_requests.addFlag(QStringLiteral("temp_alarm_active"), m_temperatureAlarm);
    m_requests.addFlag(QStringLiteral("refcell_alarm_active"), m_refCellAlarm);
    m_requests.addFlag(QStringLiteral("detector_temperature_alarm_active"),
                       m_detectorTemperatureAlarm);
    m_requests.addFlag(QStringLiteral("user_alarm_1_active"), m_userAlarm1);
    // The last alarm flag of the batch rebuilds the alarm display, error or not.
    m_requests.add(QStringLiteral("user_alarm_2_active"), this, &HomeWindow::userAlarm2Received);
    m_requests.addValue(QStringLiteral("user_alarm_1_level"), this, &HomeWindow::level1Received);
    m_requests.addValue(QStringLiteral("user_alarm_2_level"), this, &HomeWindow::level2Received);
    m_lockId = m_requests.addGuiOnly(QStringLiteral("home"), this, &HomeWindow::lockCodeReceived);
    m_requests.addFlag(QStringLiteral("reactor_used"), m_reactorUsed);
    m_requests.addValue(QStringLiteral("switch_to_ppm"), this, &HomeWindow::switchLevelReceived);
    m_requests.addFlag(QStringLiteral("fit_used"), m_fitUsed);
    m_requests.addFlag(QStringLiteral("fit_mode_enabled"), m_fitModeEnabled);
    m_requests.addFlag(QStringLiteral("calibration_certificate_expired"), m_certificateExpired);
    m_requests.addFlag(QStringLiteral("conc_warning_alarm_active"), m_concWarning);
}

void HomeWindow::handleResponse(const Analyzer::Response& response)
{
    m_requests.dispatch(response);
}

void HomeWindow::concReceived(const Analyzer::Response& response)
{
    if (m_ringDownAlarm) {
        ui->concLabel->setText(tr("OVER"));
        m_concMarker->markFresh();
        return;
    }
    m_conversion->setValue(response.toDouble());
    ui->concLabel->setText(m_conversion->valueText());
    m_concMarker->markFresh();
}

void HomeWindow::speciesReceived(const Analyzer::Response& response)
{
    ui->speciesLabel->setServerText(response.toString(), ServerText::Formula);
    showSpeciesInGas();
}

void HomeWindow::gasReceived(const Analyzer::Response& response)
{
    ui->gasLabel->setServerText(response.toString(), ServerText::Formula);
    showSpeciesInGas();
}

void HomeWindow::showSpeciesInGas()
{
    // "in" joins two names; it stands alone until both are read.
    ui->label_4->setVisible(!ui->speciesLabel->text().isEmpty() && !ui->gasLabel->text().isEmpty());
}

QString HomeWindow::noValueText()
{
    return QStringLiteral("\u2013 \u2013 \u2013");
}

void HomeWindow::setStatusClass(Analyzer::StatusClass statusClass)
{
    using C = Analyzer::StatusClass;
    const bool noMeasurement = statusClass == C::Failure || statusClass == C::FunctionCheck;
    // The room stays reserved, so the value does not move when the symbol comes and goes.
    ui->concClassLabel->setPixmap(
        noMeasurement ? StatusBadge::classSymbol(statusClass, kValueSymbolSize) : QPixmap());
    ui->concClassLabel->setToolTip(noMeasurement ? Analyzer::statusClassName(statusClass)
                                                 : QString());
}

void HomeWindow::unitsReceived(const Analyzer::Response& response)
{
    selectUnit(response.toString());
}

void HomeWindow::selectUnit(const QString& key)
{
    const auto it = m_units.find(key);
    if (it == m_units.end())
        return;
    m_unitKey = key;
    m_conversion = it->second.get();
    ui->unitsLabel->setText(m_conversion->unitsText());
    m_chart->valueAxis()->setTitleText(Trend::TrendChart::valueTitle(key));
}

void HomeWindow::tauReceived(const Analyzer::Response& response)
{
    showTauPart(response, m_tauText, m_tauText, m_tauStdText, ui->tauLabel);
}

void HomeWindow::tauStdReceived(const Analyzer::Response& response)
{
    showTauPart(response, m_tauStdText, m_tauText, m_tauStdText, ui->tauLabel);
}

void HomeWindow::tauZeroReceived(const Analyzer::Response& response)
{
    showTauPart(response, m_tauZeroText, m_tauZeroText, m_tauZeroStdText, ui->tauELabel);
}

void HomeWindow::tauZeroStdReceived(const Analyzer::Response& response)
{
    showTauPart(response, m_tauZeroStdText, m_tauZeroText, m_tauZeroStdText, ui->tauELabel);
}

void HomeWindow::showTauPart(const Analyzer::Response& response, QString& part,
                             const QString& value, const QString& deviation, QLineEdit* field)
{
    // No number (null while the analyzer has none yet) blanks the field until
    // the next value arrives.
    const double number = response.toDouble();
    if (std::isnan(number)) {
        part.clear();
        setFieldText(field, part);
        return;
    }
    part = QString::number(number, 'f', 1);
    setFieldText(field, value + QStringLiteral("\u00B1") + deviation);
}

void HomeWindow::laserCurrentReceived(const Analyzer::Response& response)
{
    setFieldText(ui->laserCurrentLabel, fixedText(response.toDouble(), 1));
}

void HomeWindow::laserTemperatureReceived(const Analyzer::Response& response)
{
    setFieldText(ui->laserTempLabel, fixedText(response.toDouble(), 2));
}

void HomeWindow::thresholdReceived(const Analyzer::Response& response)
{
    setFieldText(ui->thresholdLabel, fixedText(response.toDouble(), 0));
}

void HomeWindow::opmodeReceived(const Analyzer::Response& response)
{
    // A reply without a mode number is no news: read as 0 it would title the
    // screen "SHUTDOWN" and tell the controller the analyzer shut down.
    if (!response.result().isDouble())
        return;
    const int code = response.toInt();
    if (Analyzer::isKnownMode(code)) {
        QString title = Analyzer::modeName(code);
        if (code == Analyzer::MeasureMode && m_fitUsed)
            title += m_fitModeEnabled ? tr(" - FIT") : tr(" - FACT");
        ui->opmodeGroupBox->setTitle(title);
    }
    emit inOpmode(code);
}

void HomeWindow::userAlarm2Received(const Analyzer::Response& response)
{
    if (!response.isError()) {
        m_userAlarm2 = response.toBool();
        m_lampMarker->markFresh();
    }
    rebuildAlarms();
}

void HomeWindow::level1Received(const Analyzer::Response& response)
{
    m_level1 = response.toDouble();
}

void HomeWindow::level2Received(const Analyzer::Response& response)
{
    m_level2 = response.toDouble();
}

void HomeWindow::switchLevelReceived(const Analyzer::Response& response)
{
    m_conversion->setPpmSwitchLevel(response.toDouble());
}

void HomeWindow::rebuildAlarms()
{
    // Every tick brings the flags again; the list and the lamps change only
    // when what they show does.
    using Analyzer::AlarmFlag;
    Analyzer::AlarmFlags alarms;
    const std::pair<bool, AlarmFlag> flags[] = {
        {m_laserAlarm, AlarmFlag::Laser},
        {m_pressureAlarm, AlarmFlag::Pressure},
        {m_ringDownAlarm, AlarmFlag::RingDown},
        {m_temperatureAlarm, AlarmFlag::Temperature},
        {m_refCellAlarm, AlarmFlag::RefCell},
        {m_detectorTemperatureAlarm, AlarmFlag::DetectorTemperature},
        {m_concWarning, AlarmFlag::ConcWarning},
        {m_userAlarm1, AlarmFlag::UserAlarm1},
        {m_userAlarm2, AlarmFlag::UserAlarm2},
        {m_certificateExpired, AlarmFlag::CertificateExpired},
    };
    for (const auto& [on, flag] : flags)
        alarms.setFlag(flag, on);

    const bool systemAlarm = alarms & Analyzer::alarmsOfKind(Analyzer::AlarmKind::System);
    if (systemAlarm || m_certificateExpired)
        ui->stackedWidget->setCurrentIndex(0);

    QStringList items;
    if (systemAlarm) {
        for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable()) {
            if (info.kind == Analyzer::AlarmKind::System && alarms.testFlag(info.flag))
                items.append(Analyzer::alarmLabel(info.flag, m_reactorUsed));
        }
    } else {
        items.append(tr("System OK"));
    }
    // A stale lamp stays grey (lampsStale, below) rather than turning red
    // or green for the moment of this rebuild.
    const bool stale = m_lampMarker->isStale();
    if (!stale)
        setLamp(ui->systemAlarmLabel, systemAlarm ? m_redLamp : m_greenLamp);

    const auto userAlarm = [this, stale, &items](bool on, double level, QLabel* lamp) {
        if (!stale)
            setLamp(lamp, on ? m_redLamp : m_greenLamp);
        if (on)
            items.append(tr("Conc exceeds %1").arg(levelText(level)));
    };
    userAlarm(m_userAlarm1, m_level1, ui->concAlarmLabel_1);
    userAlarm(m_userAlarm2, m_level2, ui->concAlarmLabel_2);

    if (m_certificateExpired)
        items.append(Analyzer::alarmLabel(AlarmFlag::CertificateExpired));

    QListWidget* list = ui->alarmsListWidget;
    bool same = list->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = list->item(i)->text() == items.at(i);
    if (!same) {
        list->clear();
        list->addItems(items);
    }
    if (m_lampMarker->isStale())
        lampsStale(true);
}

void HomeWindow::lampsStale(bool stale)
{
    // Live lamps are drawn by the next rebuild, which follows every refresh.
    if (!stale)
        return;
    for (QLabel* lamp : {ui->systemAlarmLabel, ui->concAlarmLabel_1, ui->concAlarmLabel_2})
        setLamp(lamp, m_greyLamp);
}

void HomeWindow::connectionChanged(bool lost)
{
    m_concMarker->setLinkUp(!lost);
    m_lampMarker->setLinkUp(!lost);
}

void HomeWindow::lockCodeReceived(const Analyzer::Response& response)
{
    const QJsonArray typed = response.toArray();
    if (typed.isEmpty())
        return;
    const int code = typed.at(0).toInt();
    if (!m_locked) {
        m_unlockCode = code;
        m_locked = true;
        ui->pushButtonLock->setIcon(QIcon(QStringLiteral(":/images/Unlock.png")));
    } else if (code == m_unlockCode || std::find(std::begin(kMasterCodes), std::end(kMasterCodes),
                                                 code) != std::end(kMasterCodes)) {
        m_locked = false;
        ui->pushButtonLock->setIcon(QIcon(QStringLiteral(":/images/Lock.png")));
    }
    QSettings settings;
    settings.setValue(kLockedKey, m_locked);
    settings.setValue(kUnlockCodeKey, m_unlockCode);
    applyLockState();
}

void HomeWindow::applyLockState()
{
    for (QPushButton* button : {ui->pushButtonDisplay, ui->pushButtonMode, ui->pushButtonRDGraph,
                                ui->pushButtonSettings, ui->pushButtonTrend})
        button->setEnabled(!m_locked);
}

void HomeWindow::modeClicked()
{
    emit goToWindow(MODE);
}

void HomeWindow::rdgraphClicked()
{
    emit goToWindow(RD_GRAPH);
}

void HomeWindow::settingsClicked()
{
    emit goToWindow(SETTINGS);
}

void HomeWindow::trendClicked()
{
    emit goToWindow(TREND);
}

void HomeWindow::displayClicked()
{
    ui->stackedWidget->setCurrentIndex(ui->stackedWidget->currentIndex() == 0 ? 1 : 0);
}

void HomeWindow::lockClicked()
{
    m_lockRequest = m_requests.request(m_lockId);
    emit showKeyboard(tr("Enter unlock code:"), m_lockRequest);
}

void HomeWindow::alarmDetailsClicked(QListWidgetItem*)
{
    if (m_certificateExpired)
        emit goToWindow(CERTIFICATE);
}

void HomeWindow::setUpMiniPlot()
{
    m_chart = new Trend::TrendChart;
    m_normalSeries = m_chart->addScatterSeries(QStringLiteral("normal"), QColor(56, 127, 114, 80),
                                               QColor(56, 127, 114, 100), 5);
    m_alarmSeries = m_chart->addScatterSeries(QStringLiteral("alarm"), QColor(211, 10, 10, 80),
                                              QColor(211, 10, 10, 100), 6);
    m_chart->setMargins(QMargins(0, 0, 0, 0));
    m_chart->layout()->setContentsMargins(0, 0, 0, 0);
    m_chart->setBackgroundRoundness(0);
    m_chart->setMaximumSize(400, 160);
    m_chart->setPreferredSize(394, 152);
    // No hours under the small plot: its labels are drawn in no colour rather
    // than hidden, as a hidden axis's labels leave its title no room on Qt 6
    // ("…"). They still take their width at both ends; keep them short.
    m_chart->dateAxis()->setLabelsColor(Qt::transparent);
    m_chart->dateAxis()->setFormat(QStringLiteral("HH"));
    m_chart->valueAxis()->setTickCount(3);
    m_chart->valueAxis()->setTitleText(Trend::TrendChart::valueTitle(m_unitKey));

    // The view hands back the empty chart the form made for it.
    QChart* formChart = ui->chartView->chart();
    ui->chartView->setChart(m_chart);
    delete formChart;
    ui->chartView->setFrameStyle(QFrame::Box | QFrame::Plain);
    ui->chartView->setStyleSheet(QStringLiteral("background: white;"));

    moveMiniPlotXAxis();
    m_plotTimer = new QTimer(this);
    m_plotTimer->setObjectName(QStringLiteral("miniPlotTimer"));
    connect(m_plotTimer, &QTimer::timeout, this, &HomeWindow::moveMiniPlotXAxis);
    m_plotTimer->start(kMiniPlotMoveMs);
    m_chart->valueAxis()->applyNiceNumbers();
}

void HomeWindow::moveMiniPlotXAxis()
{
    m_plotEnd = QDateTime::currentDateTime().addSecs(kMiniPlotLeadSeconds);
    if (Trend::TrendChart::windowEndingAt(m_intervalIndex, m_plotEnd, &m_plotStart))
        m_chart->dateAxis()->setTitleText(Trend::TrendChart::intervalTitle(m_intervalIndex));
    m_chart->setDateRange(m_plotStart, m_plotEnd);
    m_history->requestRange(m_plotStart, m_plotEnd, m_unitKey);
}

void HomeWindow::setMiniPlotScale(int intervalIndex, double yMin, double yMax)
{
    if (intervalIndex != m_intervalIndex) {
        m_intervalIndex = intervalIndex;
        m_normalSeries->clear();
        m_alarmSeries->clear();
        moveMiniPlotXAxis();
    }
    if (m_chart->valueAxis()->min() != yMin || m_chart->valueAxis()->max() != yMax)
        m_chart->setValueRange(yMin, yMax, 3);
}

double HomeWindow::miniPlotMinimum() const
{
    return m_chart->valueAxis()->min();
}

double HomeWindow::miniPlotMaximum() const
{
    return m_chart->valueAxis()->max();
}

void HomeWindow::updateMiniTrend(bool cleared)
{
    if (cleared)
        return;
    m_chart->showPoints(m_history->points(), m_normalSeries, m_alarmSeries);
}
