// The settings screen's frame: construction, the walk of the row table into
// the request table, polling and routing, the keypad, service gating and
// access levels.
#include "settings/settingswindow.h"

#include "analyzer/analyzerfacts.h"
#include "analyzer/response.h"
#include "base/globals.h"
#include "base/journalevent.h"
#include "files/fakebacklight.h"
#include "files/storage.h"
#include "files/vireobacklight.h"
#include "settings/gaspages.h"
#include "ui_settingswindow.h"
#include "widgets/calendardialog.h"
#include "widgets/elidedlabel.h"
#include "widgets/messagebox.h"
#include "widgets/progressdialog.h"
#include "widgets/stalemarker.h"

#include <QDebug>
#include <QMouseEvent>
#include <QSignalMapper>
#include <QTimer>
#include <cmath>

using Analyzer::Response;

namespace {

constexpr int kEditingTimeoutMs = 60000;
constexpr int kDataFilterTimeoutMs = 3000;
constexpr int kStorageCheckMs = 1000;
constexpr int kSettingsTab = 3;
constexpr int kFactoryTab = 5;
const QString kGuiTag = QStringLiteral("settings");

QString numberText(double value, SettingsRow::Show format)
{
    if (std::isnan(value))
        return QString();
    switch (format) {
    case SettingsRow::Show::F1:
        return QString::number(value, 'f', 1);
    case SettingsRow::Show::G6:
        return QString::number(value, 'g', 6);
    case SettingsRow::Show::E4:
        return QString::number(value, 'E', 4);
    case SettingsRow::Show::Int:
        return QString::number(std::llround(value));
    default:
        return QString::number(value, 'f', 2);
    }
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
    // The analyzer's names of the tune intervals, whatever the items say.
    const QStringList intervals = {QStringLiteral("monthly"), QStringLiteral("weekly"),
                                   QStringLiteral("daily"), QStringLiteral("hourly"),
                                   QStringLiteral("never")};
    for (int i = 0; i < intervals.size(); ++i)
        ui->scheduleComboBox->setItemData(i, intervals.at(i));
    ui->detectorReadLabel->hide();
    ui->detectorReadLineEdit->hide();
    ui->labelFile->setWordWrap(true);

    QList<QAbstractButton*> gasButtons;
    QList<ElidedLabel*> gasLabels;
    for (int i = 1; i <= GasPages::kPerPage; ++i) {
        gasButtons.append(findChild<QAbstractButton*>(QStringLiteral("radioButton_%1").arg(i)));
        gasLabels.append(findChild<ElidedLabel*>(QStringLiteral("gasLabel_%1").arg(i)));
    }
    m_gasPages = std::make_unique<GasPages>(gasButtons, gasLabels, ui->buttonNextGasPage);
    for (int i = 0; i < gasButtons.size(); ++i) {
        connect(gasButtons.at(i), &QAbstractButton::clicked, m_gasMapper,
                qOverload<>(&QSignalMapper::map));
        m_gasMapper->setMapping(gasButtons.at(i), i);
    }

    for (int row = 0; row < int(kRows.size()); ++row) {
        const char* name = kRows[row].widget;
        QWidget* widget = name ? findChild<QWidget*>(QLatin1String(name)) : nullptr;
        Q_ASSERT_X(!name || widget, "SettingsWindow", name);
        m_rowWidgets.append(widget);
        if (!widget)
            continue;
        if (!m_rowOf.contains(widget))
            m_rowOf.insert(widget, row);
        if (kRows[row].text && kRows[row].show != SettingsRow::Show::Label) {
            m_keypadRowOf.insert(widget, row);
            // A press on the line edit opens the keypad; buttons open it when clicked.
            if (qobject_cast<QLineEdit*>(widget))
                widget->installEventFilter(this);
        }
    }
    ui->dateLineEdit->installEventFilter(this);

    connectWidgets();
    watchReadings();
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
    m_progress->setWindowTitle(tr("Trend Data"));
    ui->groupBoxEthernet->setEnabled(false);
    // Read-only until the analyzer reports service mode: a reply that never
    // comes, or comes as an error, leaves the settings closed.
    configureForServiceMode(false);
}

CalendarDialog* SettingsWindow::calendar()
{
    // Made when the date is first edited: a calendar with its widgets and
    // images is some 200 KB that most runs never open.
    if (!m_calendar) {
        // Without a parent, like every popup of the panel: it opens as its own window.
        m_calendar = new CalendarDialog();
        connect(m_calendar, &QDialog::accepted, this, &SettingsWindow::dateChanged);
        connect(m_calendar, &QDialog::rejected, this, &SettingsWindow::dateRejected);
    }
    return m_calendar;
}

SettingsWindow::~SettingsWindow()
{
    delete m_calendar;
    delete ui;
}

void SettingsWindow::connectWidgets()
{
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

SettingsWindow::Handler SettingsWindow::replyHandler(const SettingsRow& row, QWidget* widget)
{
    using Show = SettingsRow::Show;
    Handler show;
    switch (row.show) {
    case Show::Nothing:
        return {};
    case Show::F1:
    case Show::F2:
    case Show::G6:
    case Show::E4:
    case Show::Int:
        show = [field = qobject_cast<QLineEdit*>(widget), format = row.show](const Response& r) {
            field->setText(numberText(r.toDouble(), format));
        };
        break;
    case Show::Checked:
        show = [box = qobject_cast<QAbstractButton*>(widget)](const Response& r) {
            box->setChecked(r.toBool());
        };
        break;
    case Show::Visible:
        show = [widget](const Response& r) { widget->setVisible(r.toBool()); };
        break;
    case Show::Label:
        show = [label = qobject_cast<ElidedLabel*>(widget), prefix = tr(row.text)](
                   const Response& r) { label->setServerText(prefix, r.toString()); };
        break;
    case Show::Rate:
        show = [combo = qobject_cast<QComboBox*>(widget)](const Response& r) {
            combo->setCurrentIndex(combo->findData(r.toInt()));
        };
        break;
    case Show::Address:
        show = [this, field = qobject_cast<QLineEdit*>(widget)](const Response& r) {
            addressEntered(field, r);
        };
        break;
    case Show::Custom:
        show = [this, handler = row.handler](const Response& r) { (this->*handler)(r); };
        break;
    }
    return [this, show, skip = row.skip, widget](const Response& response) {
        if (skipped(skip, widget, response))
            return;
        show(response);
        if (StaleMarker* marker = m_readingMarkers.value(widget))
            marker->markFresh();
    };
}

void SettingsWindow::watchReadings()
{
    // The analyzer's readings (not its settings) must not be read as live once
    // they are no longer refreshed: each group greys its fields and carries
    // their age in its title.
    const std::pair<QGroupBox*, QList<QLineEdit*>> groups[] = {
        {ui->groupBoxReadings_1,
         {ui->bfdLineEdit, ui->laserTempReadLineEdit, ui->refcellLineEdit, ui->pressureReadLineEdit,
          ui->reactorTempLineEdit, ui->reactorPressureLineEdit}},
        {ui->factoryReadingsGroup,
         {ui->tecCurrentLineEdit, ui->transducerLineEdit, ui->rtdLineEdit,
          ui->apcPressureLineEdit}},
    };
    for (const auto& entry : groups) {
        // A named copy: a lambda cannot capture a structured binding in C++17.
        QGroupBox* const group = entry.first;
        auto* marker = new StaleMarker(this);
        for (QLineEdit* field : entry.second) {
            marker->addWidget(field);
            m_readingMarkers.insert(field, marker);
        }
        const QString title = group->title();
        connect(marker, &StaleMarker::ageTextChanged, group, [group, title](const QString& age) {
            group->setTitle(age.isEmpty() ? title : title + QStringLiteral(" \u2013 ") + age);
        });
        group->setTitle(title + QStringLiteral(" \u2013 ") + marker->ageText());
    }
}

bool SettingsWindow::skipped(int skip, QWidget* widget, const Response& response) const
{
    const bool laserMonitor = m_unitType == kLaserMonitorUnitType;
    return ((skip & SettingsRow::Error) && response.isError()) ||
           ((skip & SettingsRow::Focus) && widget->hasFocus()) ||
           ((skip & SettingsRow::NoReactor) && !m_reactorUsed) ||
           ((skip & SettingsRow::LaserMonitor) && laserMonitor) ||
           ((skip & SettingsRow::NotLaserMonitor) && !laserMonitor);
}

void SettingsWindow::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    for (QList<int>& group : m_groups)
        group.clear();
    for (int row = 0; row < int(kRows.size()); ++row) {
        const SettingsRow& r = kRows[row];
        Handler handler = replyHandler(r, m_rowWidgets.at(row));
        const int id = r.key ? m_requests.add(QLatin1String(r.key), std::move(handler))
                             : m_requests.addGuiOnly(kGuiTag, std::move(handler));
        if (r.param)
            m_requests.setParams(id, {QLatin1String(r.param)});
        if (r.group != SettingsRow::NoGroup)
            m_groups[r.group].append(id);
    }
}

int SettingsWindow::idOf(const QObject* widget) const
{
    Q_ASSERT(m_rowOf.contains(widget));
    return m_requests.firstId() + m_rowOf.value(widget);
}

int SettingsWindow::idOf(const char* key, SettingsRow::Group group) const
{
    for (int row = 0; row < int(kRows.size()); ++row) {
        const SettingsRow& r = kRows[row];
        if (r.key && qstrcmp(r.key, key) == 0 &&
            (group == SettingsRow::NoGroup || r.group == group))
            return m_requests.firstId() + row;
    }
    Q_ASSERT_X(false, "SettingsWindow::idOf", key);
    return 0;
}

QJsonArray SettingsWindow::updateRequests()
{
    // GUI-only entries are left out of every batch by the request table.
    if (!m_firstPoll)
        return m_requests.pollRequests(m_groups[ui->tabWidget->currentIndex()]);
    m_firstPoll = false;
    QList<int> all;
    for (int group = SettingsRow::GasType; group <= SettingsRow::Factory; ++group)
        all += m_groups[group];
    return m_requests.pollRequests(all);
}

void SettingsWindow::handleResponse(const Response& response)
{
    // Every row but sample_gas_pressure is in a group: its replies are dropped.
    for (const QList<int>& group : m_groups) {
        if (group.contains(response.id())) {
            if (!response.isError() && response.hasResult() && !response.isLocalAnswer())
                m_lastResults.insert(response.id(), response.result());
            m_requests.dispatch(response);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Sending and the keypad

void SettingsWindow::send(int id, const QJsonArray& params)
{
    Analyzer::Request request = m_requests.request(id);
    if (!params.isEmpty()) // the one-shot actions go out without params
        request.setParams(params);
    emit jsonToSend(request);
}

QString SettingsWindow::reportedValue(int id) const
{
    const auto it = m_lastResults.constFind(id);
    return it == m_lastResults.cend() ? QString() : JournalEvent::valueText(*it);
}

QString SettingsWindow::rowLabel(const QString& method) const
{
    for (const SettingsRow& row : kRows) {
        if (!row.key || !row.widget || method != QLatin1String(row.key))
            continue;
        const auto* widget = findChild<QWidget*>(QLatin1String(row.widget));
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            if (!button->text().isEmpty())
                return button->text();
        }
        // A field's label stands left of it in the same grid row.
        const auto* grid = widget && widget->parentWidget()
                               ? qobject_cast<QGridLayout*>(widget->parentWidget()->layout())
                               : nullptr;
        const int index = grid ? grid->indexOf(const_cast<QWidget*>(widget)) : -1;
        if (index >= 0) {
            int line = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(index, &line, &column, &rows, &columns);
            QLayoutItem* left = column > 0 ? grid->itemAtPosition(line, column - 1) : nullptr;
            if (const auto* label = left ? qobject_cast<QLabel*>(left->widget()) : nullptr)
                return label->text();
        }
        if (row.text)
            return tr(row.text);
    }
    return QString();
}

void SettingsWindow::sendValueOf(QLineEdit* field, QJsonArray params)
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
    send(idOf(field), params);
}

void SettingsWindow::openKeypad(const QObject* widget)
{
    const int row = m_keypadRowOf.value(widget);
    m_keypadRequest = m_requests.request(m_requests.firstId() + row);
    emit showKeyboard(tr(kRows[row].text), m_keypadRequest);
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return QWidget::eventFilter(watched, event);
    // A field that is off (outside service mode) opens neither the keypad nor
    // the calendar. The Ethernet fields are never on and are edited only
    // through the keypad.
    if (watched == ui->dateLineEdit) {
        if (ui->dateLineEdit->isEnabled())
            calendar()->exec();
        return true;
    }
    if (!m_keypadRowOf.contains(watched))
        return QWidget::eventFilter(watched, event);
    auto* field = static_cast<QLineEdit*>(watched);
    const bool ethernet =
        field == ui->ipLineEdit || field == ui->subnetLineEdit || field == ui->gatewayLineEdit;
    if (!field->isEnabled() && !ethernet)
        return true;
    if (ethernet) {
        if (!m_editingTimer->isActive()) // a new editing: no entry made yet
            m_networkEntryMade = false;
        m_editingTimer->start(kEditingTimeoutMs);
        m_networkEditing = true;
        m_networkKeypadOpen = true;
    }
    field->clearFocus();
    openKeypad(field);
    return true;
}

// ---------------------------------------------------------------------------
// Frame

void SettingsWindow::showFactoryTab(bool factory)
{
    ui->tabWidget->setTabText(kFactoryTab, factory ? tr("Factory") : QString());
    ui->tabWidget->setTabEnabled(kFactoryTab, factory);
    ui->stackedWidget->setCurrentIndex(factory ? 1 : 0);
    ui->page0RightButton->setVisible(factory);
}

void SettingsWindow::configureForServiceMode(bool service)
{
    // An edit begun in service mode must not reach an analyzer that has left
    // it: the data filter's pending send is dropped with the gate.
    if (!service && m_dataFilterTimer->isActive()) {
        m_dataFilterTimer->stop();
        m_dataFilterEditing = false;
        qDebug() << "Data filter edit dropped: the analyzer left service mode before it was sent";
    }
    m_serviceMode = service;
    ui->opmodeLabel->setVisible(!service);
    m_gasPages->setEnabled(service);
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
    openKeypad(ui->changeAccessPushButton);
}

void SettingsWindow::passwordEntered(const Response& response)
{
    // The keypad hands back text with three dots as it stands; that is no password.
    const QJsonArray entry = response.toArray();
    if (entry.isEmpty() || !entry.at(0).isDouble())
        return;
    const bool factory = entry.at(0).toInt() == kFactoryPassword;
    ui->accessLabel->setText(factory ? tr("Access: Factory") : tr("Access: Standard"));
    showFactoryTab(factory);
}

void SettingsWindow::opmodeReceived(const Response& response)
{
    // A reply without a mode number (an error, or the answer to a mode write)
    // says nothing about service mode.
    if (!response.result().isDouble())
        return;
    configureForServiceMode(response.toInt() == Analyzer::ServiceMode);
}

void SettingsWindow::checkFileSystem()
{
    ui->labelFile->setText(fileExists(devicePath()) ? tr("Ready to download")
                                                    : tr("Configure storage location"));
}

void SettingsWindow::connectionChanged(bool lost)
{
    // Without a link nobody knows the mode: the page closes, and opens again
    // only on a reply that reads service mode.
    if (lost)
        configureForServiceMode(false);
    for (StaleMarker* marker : qAsConst(m_readingMarkers))
        marker->setLinkUp(!lost);
    if (lost && m_progress->isVisible()) {
        m_progress->hide();
        showResult(tr("Trend Data"), tr("Error clearing trend data"));
    }
}

bool SettingsWindow::admitKeypadEntry(Analyzer::Request& request) const
{
    const int row = request.id() - m_requests.firstId();
    if (row < 0 || row >= int(kRows.size()))
        return true;
    const auto* field = findChild<QWidget*>(QLatin1String(kRows[row].widget));
    const bool ethernet =
        field == ui->ipLineEdit || field == ui->subnetLineEdit || field == ui->gatewayLineEdit;
    if (field && !ethernet && !field->isEnabled()) {
        qDebug().noquote() << "Keypad entry for" << request.method()
                           << "dropped: the analyzer left service mode before it was sent";
        return false;
    }
    if (field == ui->dataFilterLineEdit) {
        QJsonArray params = request.params();
        if (!params.isEmpty() && params.last().isDouble()) {
            const double bottom = ui->dataFilterSlider->minimum() * 10.0;
            const double top = ui->dataFilterSlider->maximum() * 10.0;
            params.replace(params.size() - 1, qBound(bottom, params.last().toDouble(), top));
            request.setParams(params);
        }
    }
    return true;
}
