// The settings screen driven through its replies and its widgets: every polled
// row shows in its format, every edit sends exactly the analyzer's request, the
// poll groups, access levels, service gating, gas pages and the two timers.
// Rows are numbered as the screen's request table: row r has id first + r - 1.
#include "analyzer/request.h"
#include "analyzer/response.h"
#include "app/appsetup.h"
#include "base/globals.h"
#include "base/language.h"
#include "files/ibacklight.h"
#include "settings/settingswindow.h"
#include "support/screencheck.h"
#include "support/testsupport.h"
#include "widgets/stalemarker.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int kFirst = 100;
int id(int row)
{
    return kFirst + row - 1;
}

QString compact(const QJsonArray& array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

Analyzer::Response reply(int row, const QJsonValue& result)
{
    return Analyzer::Response(QJsonObject{{"jsonrpc", "2.0"}, {"id", id(row)}, {"result", result}});
}

Analyzer::Response errorReply(int row)
{
    return Analyzer::Response(QJsonObject{{"jsonrpc", "2.0"},
                                          {"id", id(row)},
                                          {"error", QJsonObject{{"code", 2}, {"message", "no"}}}});
}

/// A local answer to a GUI-only entry, as the controller builds it.
Analyzer::Response entry(int row, const QJsonArray& typed)
{
    Analyzer::Request request;
    request.setGuiOnly(id(row), QStringLiteral("settings"));
    request.setParams(typed);
    return Analyzer::Response(request);
}

QString visibility(QWidget* widget)
{
    return widget->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown");
}

/// What the operator sees in a widget, as text.
QString shown(QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* box = qobject_cast<QCheckBox*>(widget))
        return box->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    return visibility(widget);
}

/// Every widget that is on only in service mode (a sample of the gas buttons).
QStringList gatedWidgets()
{
    return {"fourTwentyMinLineEdit",
            "fourTwentyMaxLineEdit",
            "fourTwentyOutputLineEdit",
            "alarm_1LineEdit",
            "alarm_2LineEdit",
            "alarm1CheckBox",
            "alarm2CheckBox",
            "alarmSysCheckBox",
            "usbBaudrateComboBox",
            "rs232BaudrateComboBox",
            "rs485BaudrateComboBox",
            "checkBoxFitEnable",
            "lineEditFitSlope",
            "lineEditFitIntercept",
            "loggingIntLineEdit",
            "echoConcCheckBox",
            "prefixTimeCheckBox",
            "allowAutoLaserOptCheckBox",
            "yearSpinBox",
            "monthSpinBox",
            "daySpinBox",
            "hourSpinBox",
            "minuteSpinBox",
            "scheduleComboBox",
            "dateTimeGroup",
            "laserCurrentLineEdit",
            "laserTempLineEdit",
            "thresholdLineEdit",
            "apcSetLineEdit",
            "apcOpenCheckBox",
            "reactorHeaterEnabledCheckBox",
            "unitsComboBox",
            "getSettingsPushButton",
            "uploadSettingsPushButton",
            "defaultSettingsPushButton",
            "transferTrendPushButton",
            "transferScansPushButton",
            "transferLogPushButton",
            "transferSRDAPushButton",
            "factoryLaserSettingsGroup",
            "factoryReadingsGroup",
            "factoryAnalyzerSettingsGroup",
            "factoryTrackHoldGroup",
            "factoryDetectorGroup",
            "factoryPztGroup",
            "factoryConcentrationGroup",
            "factoryApcGroup",
            "dynamicFilterEnabledCheckBox",
            "dataFilterLineEdit",
            "dataFilterSlider",
            "radioButton_1",
            "radioButton_16"};
}

/// Rejects, and counts, every dialog that opens while it is installed.
class DialogCatcher : public QObject
{
public:
    DialogCatcher() { qApp->installEventFilter(this); }
    ~DialogCatcher() override { qApp->removeEventFilter(this); }
    int opened = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && event->type() == QEvent::Show) {
            ++opened;
            QTimer::singleShot(0, dialog, &QDialog::reject);
        }
        return false;
    }
};

/// The debug lines that contain text, counted while the object lives.
class LogCounter
{
public:
    explicit LogCounter(const char* text)
    {
        s_text = text;
        s_count = 0;
        s_previous = qInstallMessageHandler(&LogCounter::handle);
    }
    ~LogCounter() { qInstallMessageHandler(s_previous); }
    int count() const { return s_count; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (message.contains(QLatin1String(s_text)))
            ++s_count;
        else
            s_previous(type, context, message);
    }
    static inline const char* s_text = nullptr;
    static inline int s_count = 0;
    static inline QtMessageHandler s_previous = nullptr;
};

using Replies = QList<QPair<int, QJsonValue>>;

struct Sent
{
    QString method;
    int id;
    QString params;
    bool hasParams;
};

} // namespace

Q_DECLARE_METATYPE(Replies)

class tst_SettingsWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void polledRows_data();
    void polledRows();
    void editPaths_data();
    void editPaths();
    void keypadPrompts_data();
    void keypadPrompts();
    void pollGroups();
    void accessLevel_data();
    void accessLevel();
    void serviceGating();
    void gateClosedUntilServiceMode();
    void serverTexts_data();
    void serverTexts();
    void serialNumberCapped();
    void gasPages();
    void gasPageArrow_data();
    void gasPageArrow();
    void gasButtonsLookDisabled();
    void networkEditingTimer();
    void networkEntries_data();
    void networkEntries();
    void cancelledNetworkEntry();
    void dataFilter();
    void dataFilterSent_data();
    void dataFilterSent();
    void dataFilterReplies_data();
    void dataFilterReplies();
    void manualFilter_data();
    void manualFilter();
    void unitsAndBacklight();
    void unitsKeypad_data();
    void unitsKeypad();
    void germanItemsSendTheirKeys();
    void backlightRefresh_data();
    void backlightRefresh();
    void dateFromCalendar();
    void maintenanceReplies();
    void transferButtons_data();
    void transferButtons();
    void readingsTurnStale();
    void screenshots();

private:
    template <class T = QWidget> T* child(const QString& name)
    {
        T* widget = m_window->findChild<T*>(name);
        if (!widget)
            qWarning() << "no widget" << name;
        return widget;
    }
    void showTabOf(QWidget* widget);
    QList<Sent> sent() const;

    std::unique_ptr<SettingsWindow> m_window;
    std::unique_ptr<QSignalSpy> m_sent;
    QList<QPair<QString, Analyzer::Request>> m_keypad;
};

void tst_SettingsWindow::init()
{
    m_window = std::make_unique<SettingsWindow>();
    m_window->resize(636, 450);
    m_window->assignRequestIds(kFirst);
    m_sent = std::make_unique<QSignalSpy>(m_window.get(), &SettingsWindow::jsonToSend);
    m_keypad.clear();
    connect(m_window.get(), &SettingsWindow::showKeyboard, this,
            [this](QString label, Analyzer::Request& request) {
                m_keypad.append({label, request});
            });
}

void tst_SettingsWindow::cleanup()
{
    m_sent.reset();
    m_window.reset();
}

QList<Sent> tst_SettingsWindow::sent() const
{
    QList<Sent> requests;
    for (const QList<QVariant>& arguments : *m_sent) {
        const auto request = arguments.at(0).value<Analyzer::Request>();
        requests.append({request.method(), request.id(), compact(request.params()),
                         request.json().contains(QLatin1String("params"))});
    }
    return requests;
}

void tst_SettingsWindow::showTabOf(QWidget* widget)
{
    auto* tabs = child<QTabWidget>("tabWidget");
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(widget))
            tabs->setCurrentIndex(i);
    }
    auto* pages = child<QStackedWidget>("stackedWidget");
    for (int i = 0; i < pages->count(); ++i) {
        if (pages->widget(i)->isAncestorOf(widget))
            pages->setCurrentIndex(i);
    }
}

void tst_SettingsWindow::polledRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Replies>("before");
    QTest::addColumn<QJsonValue>("result");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("onError"); // what an error reply leaves
    QTest::addColumn<bool>("keptWhileFocused");

    const auto row = [](int number, const char* widget, const QJsonValue& result,
                        const char* expected, const char* onError, bool focus,
                        const Replies& before = {}) {
        QTest::addRow("%d %s", number, widget)
            << number << before << result << QString::fromLatin1(widget)
            << QString::fromUtf8(expected) << QString::fromUtf8(onError) << focus;
    };
    const bool focus = true;
    // Rows without "err" show the reply's default on an error; the others keep the value.
    row(5, "usbBaudrateComboBox", 19200, "19200", "", false);
    row(6, "rs232BaudrateComboBox", 57600, "57600", "", false);
    row(7, "rs485BaudrateComboBox", 9600, "9600", "", false);
    row(9, "fourTwentyMinLineEdit", 1.234, "1.23", "", focus);
    row(10, "fourTwentyMaxLineEdit", 1000, "1000.00", "", focus);
    row(11, "fourTwentyOutputLineEdit", 12.5, "12.50", "", focus);
    row(12, "alarm_1LineEdit", 100.26, "100.3", "", focus);
    row(13, "alarm_2LineEdit", 5, "5.0", "", focus);
    row(14, "alarm1CheckBox", true, "checked", "unchecked", false);
    row(15, "alarm2CheckBox", true, "checked", "unchecked", false);
    row(16, "alarmSysCheckBox", true, "checked", "unchecked", false);
    row(20, "groupBoxFitMode", false, "hidden", "hidden", false);
    row(21, "checkBoxFitEnable", true, "checked", "checked", false);
    row(22, "lineEditFitIntercept", 1.5, "1.50", "1.50", focus);
    row(23, "lineEditFitSlope", 2, "2.00", "2.00", focus);
    row(25, "prefixTimeCheckBox", QJsonArray{false, true}, "checked", "checked", false);
    row(26, "loggingIntLineEdit", 60, "60", "60", focus);
    row(27, "allowAutoLaserOptCheckBox", true, "checked", "unchecked", false);
    row(28, "lastTuneLabel", "2024-03-01 07:00:00", "Last Tune: 2024-03-01 07:00:00",
        "Last Tune: ", false);
    row(29, "scheduleComboBox", "WEEKLY", "Weekly", "", false);
    row(30, "nextTuneLabel", "2024-03-08", "Next Tune: 2024-03-08", "Next Tune: ", false);
    row(31, "lastOptimizationLabel", "2024-03-02", "Last: 2024-03-02", "Last: ", false);
    row(32, "dateLineEdit", "2024-03-05 07:15:09", "2024-03-05", "", false);
    row(32, "timeLineEdit", "2024-03-05 07:15:09", "07:15:09", "", false);
    row(34, "laserCurrentLineEdit", 95.123, "95.12", "", focus);
    row(35, "laserTempLineEdit", 20.5, "20.50", "", focus);
    row(36, "thresholdLineEdit", 2500.123456, "2500.12", "", focus);
    row(37, "bfdLineEdit", 123.456, "123.46", "123.46", false);
    row(37, "bfdLineEdit", 123.456, "", "", false, {{57, 100}}); // unit type 100 ignores bfd
    row(38, "bfdLineEdit", 51.2, "", "", false);
    row(38, "bfdLineEdit", 51.2, "51.20", "51.20", false, {{57, 100}});
    row(39, "laserTempReadLineEdit", 25.5, "25.50", "", false);
    row(40, "refcellLineEdit", 1234.5678, "1234.57", "", false);
    row(41, "apcSetLineEdit.visible", false, "hidden", "hidden", false);
    row(42, "apcSetLineEdit", 700, "700.00", "", focus);
    row(43, "pressureReadLineEdit", 699.5, "699.50", "699.50", false);
    row(44, "apcOpenCheckBox", true, "checked", "unchecked", false);
    row(45, "reactorHeaterEnabledCheckBox", true, "checked", "checked", false);
    row(47, "dynamicFilterEnabledCheckBox", true, "checked", "checked", false);
    row(48, "dynamicFilterEnabledCheckBox.visible", 3, "hidden", "shown", false);
    row(49, "unitsComboBox", "weight", "Weight", "Weight", false);
    row(52, "reactorTempLineEdit.visible", false, "hidden", "hidden", false);
    row(53, "reactorTempLineEdit", 50.5, "", "", false);
    row(53, "reactorTempLineEdit", 50.5, "50.50", "50.50", false, {{52, true}});
    row(54, "reactorPressureLineEdit", 14.7, "14.70", "14.70", false, {{52, true}});
    row(56, "unitNameLabel", "Vireo", "Unit Name: Vireo", "Unit Name: ", false);
    row(57, "unitTypeLabel", 100, "Unit Type: 100", "Unit Type: 100", false);
    row(57, "label_7", 100, "Laser I (mA)", "Laser I (mA)", false);
    row(58, "serialLabel", "V1234", "SN: V1234", "SN: ", false);
    row(59, "versionLabel", "4.2.0", "Version: 4.2.0", "Version: ", false);
    row(60, "fpgaLabel", "2.11", "FPGA: 2.11", "FPGA: 2.11", false);
    row(64, "vmodLineEdit", 0.35, "0.35", "0.35", focus);
    row(65, "vmodFactorLineEdit", 1, "1.00", "", focus);
    row(66, "vmodFreqLineEdit", 1000, "1000", "", focus);
    row(67, "simsLineEdit", 1.2345e-4, "1.2345E-04", "", focus);
    row(68, "tecCurrentLineEdit", 0.5, "0.50", "", focus);
    row(69, "detector1GainLineEdit", 10, "10", "", focus);
    row(70, "pztFrequencyLineEdit", 400, "400", "400", focus);
    row(71, "detector1FilterCheckBox", true, "checked", "unchecked", false);
    row(72, "pztEnabledCheckBox", true, "checked", "checked", false);
    row(73, "simConcLineEdit", 12.5, "12.5", "", focus);
    row(74, "trackHoldEnableCheckbox", true, "checked", "unchecked", false);
    row(75, "allowNegativeCheckBox", true, "checked", "checked", false);
    row(78, "detectorTempSetLineEdit", -5, "-5.00", "-5.00", false);
    row(79, "detectorTempReadLineEdit", -4.98, "-4.98", "-4.98", false);
    row(80, "rtdLineEdit", 50, "50.00", "50.00", false);
    row(81, "transducerLineEdit", 14.7, "14.70", "14.70", false);
    row(82, "apcPressureLineEdit", 700, "700.00", "700.00", false);
}

void tst_SettingsWindow::polledRows()
{
    QFETCH(int, row);
    QFETCH(Replies, before);
    QFETCH(QJsonValue, result);
    QFETCH(QString, widget);
    QFETCH(QString, expected);
    QFETCH(QString, onError);
    QFETCH(bool, keptWhileFocused);

    // "name.visible": the row shows or hides the widget.
    QWidget* target = child(widget.section('.', 0, 0));
    QVERIFY(target);
    const auto display = widget.endsWith(".visible") ? visibility : shown;
    for (const auto& [number, value] : before)
        m_window->handleResponse(reply(number, value));
    m_window->handleResponse(reply(row, result));
    QCOMPARE(display(target), expected);
    m_window->handleResponse(errorReply(row));
    QCOMPARE(display(target), onError);
    QCOMPARE(m_sent->count(), 0);

    if (keptWhileFocused) {
        auto* field = qobject_cast<QLineEdit*>(target);
        m_window->configureForServiceMode(true);
        m_window->showFactoryTab(true);
        showTabOf(field);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        field->setText(QStringLiteral("typing"));
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        m_window->handleResponse(reply(row, result));
        QCOMPARE(field->text(), QStringLiteral("typing"));
        field->clearFocus();
        m_window->handleResponse(reply(row, result));
        QCOMPARE(field->text(), expected);
    }
}

void tst_SettingsWindow::editPaths_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("method"); // empty: nothing is sent
    QTest::addColumn<QString>("params"); // empty: the request carries no params

    const auto path = [](const char* action, const char* widget, const char* input, int row,
                         const char* method, const char* params) {
        QTest::addRow("%s %s %s", action, widget, input)
            << QString::fromLatin1(action) << QString::fromLatin1(widget)
            << QString::fromLatin1(input) << row << QString::fromLatin1(method)
            << QString::fromLatin1(params);
    };
    // Return key in a line edit.
    path("return", "fourTwentyOutputLineEdit", "12.5", 11, "a420", "[12.5]");
    path("return", "laserCurrentLineEdit", "95.5", 34, "laser_current", "[95.5]");
    path("return", "laserCurrentLineEdit", "abc", 34, "", "");
    path("return", "laserTempLineEdit", "21", 35, "laser_temperature", "[21]");
    path("return", "thresholdLineEdit", "2500", 36, "trigger_threshold", "[2500]");
    path("return", "apcSetLineEdit", "650", 42, "apc_set_point", "[650]");
    path("return", "vmodLineEdit", "0.4", 64, "vmod_amplitude", "[0.4]");
    path("return", "vmodFactorLineEdit", "1.5", 65, "vmod_factor", "[1.5]");
    path("return", "vmodFreqLineEdit", "900", 66, "vmod_frequency", "[900]");
    path("return", "simsLineEdit", "0.00012", 67, "inverse_mirror_slope", "[0.00012]");
    path("return", "detector1GainLineEdit", "12", 69, "detector_gain", "[1,12]");
    path("return", "pztFrequencyLineEdit", "410", 70, "pzt_frequency", "[410]");
    // Check boxes: JSON booleans.
    path("click", "alarm1CheckBox", "", 14, "user_alarm_1_relay", "[true]");
    path("click", "alarm2CheckBox", "", 15, "user_alarm_2_relay", "[true]");
    path("click", "alarmSysCheckBox", "", 16, "sys_alarm_relay", "[true]");
    path("click", "checkBoxFitEnable", "", 21, "fit_mode_enabled", "[true]");
    path("click", "echoConcCheckBox", "", 25, "echo_conc", "[true,false]");
    path("click", "prefixTimeCheckBox", "", 25, "echo_conc", "[false,true]");
    path("click", "allowAutoLaserOptCheckBox", "", 27, "allow_automatic_laser_optimization",
         "[true]");
    path("click", "apcOpenCheckBox", "", 44, "apc_open", "[true]");
    path("unclick", "apcOpenCheckBox", "", 44, "apc_controlling", "[true]");
    path("click", "reactorHeaterEnabledCheckBox", "", 45, "reactor_heater_enabled", "[true]");
    path("click", "dynamicFilterEnabledCheckBox", "", 47, "dynamic_filter_enabled", "[true]");
    path("click", "detector1FilterCheckBox", "", 71, "detector_filtering_enabled", "[1,true]");
    path("unclick", "pztEnabledCheckBox", "", 72, "pzt_enabled", "[false]");
    path("click", "trackHoldEnableCheckbox", "", 74, "track_and_hold_enable", "[true]");
    path("click", "allowNegativeCheckBox", "", 75, "allow_negative_concentration", "[true]");
    // Combo boxes: rates as text.
    path("activate", "usbBaudrateComboBox", "2", 5, "baudrate", "[\"usb\",\"19200\"]");
    path("activate", "rs232BaudrateComboBox", "7", 6, "baudrate", "[\"rs232\",\"115200\"]");
    path("activate", "rs485BaudrateComboBox", "0", 7, "baudrate", "[\"rs485\",\"9600\"]");
    path("activate", "rs485BaudrateComboBox", "-1", 7, "", "");
    path("activate", "unitsComboBox", "1", 49, "units", "[\"weight\"]");
    path("activate", "unitsComboBox", "-1", 49, "", "");
    path("activate", "scheduleComboBox", "2", 29, "tune_schedule",
         "[\"daily\",\"2017-1-1 00:00:00\"]");
    // Tune schedule spin boxes.
    path("spin", "minuteSpinBox", "15", 29, "tune_schedule", "[\"monthly\",\"2017-1-1 00:15:00\"]");
    path("spin", "hourSpinBox", "7", 29, "tune_schedule", "[\"monthly\",\"2017-1-1 07:00:00\"]");
    path("spin", "yearSpinBox", "2024", 29, "tune_schedule", "[\"monthly\",\"2024-1-1 00:00:00\"]");
    // Buttons.
    path("button", "optimizePushButton", "", 24, "opmode", "[6]");
    path("button", "offPeakPushButton", "", 24, "opmode", "[10]");
    path("button", "finalizeSettingsPushButton", "", 63, "finalize_factory_settings", "");
    path("button", "radioButton_2", "", 3, "current_gas", "[\"H2O\"]");
    // Keypad entries the screen answers itself, then sends on.
    path("entry", "ipLineEdit", "10.0.0.9", 17, "network_address",
         "[false,\"10.0.0.9\",\"255.255.255.0\",\"10.0.0.1\"]");
    path("entry", "subnetLineEdit", "255.255.0.0", 18, "network_address",
         "[false,\"10.0.0.2\",\"255.255.0.0\",\"10.0.0.1\"]");
    path("entry", "gatewayLineEdit", "10.0.0.254", 19, "network_address",
         "[false,\"10.0.0.2\",\"255.255.255.0\",\"10.0.0.254\"]");
    path("entry", "dhcp ipLineEdit", "10.0.0.9", 17, "network_address", "[true]");
}

void tst_SettingsWindow::editPaths()
{
    QFETCH(QString, action);
    QFETCH(QString, widget);
    QFETCH(QString, input);
    QFETCH(int, row);
    QFETCH(QString, method);
    QFETCH(QString, params);

    m_window->configureForServiceMode(true);
    m_window->showFactoryTab(true);
    m_window->handleResponse(reply(2, QJsonArray{"N2", "H2O", "Ar"}));
    m_window->handleResponse(
        reply(8, QJsonArray{widget.startsWith("dhcp"), "10.0.0.2", "255.255.255.0", "10.0.0.1"}));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    QWidget* target = child(widget.section(' ', -1));
    QVERIFY(target);
    showTabOf(target);
    if (action == "return") {
        auto* field = qobject_cast<QLineEdit*>(target);
        field->setText(input);
        QTest::keyClick(field, Qt::Key_Return);
    } else if (action == "click" || action == "unclick") {
        qobject_cast<QCheckBox*>(target)->setChecked(action == "unclick");
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
    } else if (action == "activate") {
        auto* combo = qobject_cast<QComboBox*>(target);
        combo->setCurrentIndex(input.toInt());
        emit combo->activated(input.toInt());
    } else if (action == "spin") {
        qobject_cast<QSpinBox*>(target)->setValue(input.toInt());
    } else if (action == "button") {
        const bool radio = qobject_cast<QRadioButton*>(target);
        QTest::mouseClick(target, Qt::LeftButton, {},
                          radio ? QPoint(6, target->height() / 2) : QPoint());
    } else if (action == "entry") {
        m_window->handleResponse(entry(row, {input}));
        QCOMPARE(qobject_cast<QLineEdit*>(target)->text(), input);
    }

    const QList<Sent> requests = sent();
    if (method.isEmpty()) {
        QCOMPARE(requests.size(), 0);
        return;
    }
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.at(0).method, method);
    QCOMPARE(requests.at(0).id, id(row == 17 || row == 18 || row == 19 ? 8 : row));
    QCOMPARE(requests.at(0).hasParams, !params.isEmpty());
    if (!params.isEmpty())
        QCOMPARE(requests.at(0).params, params);
}

void tst_SettingsWindow::keypadPrompts_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("inService");

    // A field that is off outside service mode opens no keypad there; the
    // Ethernet fields and the access button open it in any mode.
    const auto pad = [](const char* widget, const char* prompt, int row, bool gated = true) {
        QTest::addRow("%s in service", widget)
            << QString::fromLatin1(widget) << QString::fromLatin1(prompt) << row << true;
        QTest::addRow("%s outside service", widget)
            << QString::fromLatin1(widget) << QString(gated ? "" : prompt) << row << false;
    };
    pad("timeLineEdit", "Enter time hh.mm.ss", 32);
    pad("fourTwentyMinLineEdit", "Set 4-20 mA Minimum Conc.", 9);
    pad("fourTwentyMaxLineEdit", "Set 4-20 mA Maximum Conc.", 10);
    pad("fourTwentyOutputLineEdit", "Set 4-20 mA Output", 11);
    pad("alarm_1LineEdit", "Set User Alarm 1 value", 12);
    pad("alarm_2LineEdit", "Set User Alarm 2 value", 13);
    pad("ipLineEdit", "Enter IP address", 17, false);
    pad("subnetLineEdit", "Enter subnet", 18, false);
    pad("gatewayLineEdit", "Enter gateway", 19, false);
    pad("lineEditFitSlope", "Fit Slope", 23);
    pad("lineEditFitIntercept", "Fit Intercept", 22);
    pad("loggingIntLineEdit", "Logging Interval", 26);
    pad("laserCurrentLineEdit", "Set Laser Current [mA]", 34);
    pad("laserTempLineEdit", "Set Laser Temp [C]", 35);
    pad("thresholdLineEdit", "Set Threshold", 36);
    pad("apcSetLineEdit", "APC Set Point", 42);
    pad("dataFilterLineEdit", "Data Filter", 46);
    pad("vmodLineEdit", "Vmod amplitude", 64);
    pad("vmodFactorLineEdit", "Vmod factor", 65);
    pad("vmodFreqLineEdit", "Vmod frequency", 66);
    pad("simsLineEdit", "Inverse Mirror Slope", 67);
    pad("detector1GainLineEdit", "Detector Gain", 69);
    pad("pztFrequencyLineEdit", "PZT Frequency", 70);
    pad("simConcLineEdit", "Simulation Concentration", 73);
    pad("changeAccessPushButton", "Enter Factory Password", 61, false);
}

void tst_SettingsWindow::keypadPrompts()
{
    QFETCH(QString, widget);
    QFETCH(QString, prompt);
    QFETCH(int, row);
    QFETCH(bool, inService);

    m_window->configureForServiceMode(inService);
    m_window->showFactoryTab(true);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QWidget* target = child(widget);
    showTabOf(target);
    QTest::mouseClick(target, Qt::LeftButton);

    if (prompt.isEmpty()) {
        QCOMPARE(m_keypad.size(), 0);
        return;
    }
    QCOMPARE(m_keypad.size(), 1);
    QCOMPARE(m_keypad.at(0).first, prompt);
    QCOMPARE(m_keypad.at(0).second.id(), id(row));
    QVERIFY(m_keypad.at(0).second.params().isEmpty());
    if (qobject_cast<QLineEdit*>(target))
        QVERIFY(!target->hasFocus());
    QCOMPARE(m_sent->count(), 0);
}

void tst_SettingsWindow::pollGroups()
{
    // The Part's table, group by group, without the GUI-only entries,
    // sample_gas_pressure and clear_trend_data.
    const QStringList expected = {
        // Gas Type
        "opmode", "available_gases", "current_gas",
        // Outputs
        "opmode", "baudrate [\"usb\"]", "baudrate [\"rs232\"]", "baudrate [\"rs485\"]",
        "network_address", "a420_low_level", "a420_high_level", "a420", "user_alarm_1_level",
        "user_alarm_2_level", "user_alarm_1_relay", "user_alarm_2_relay", "sys_alarm_relay",
        "fit_used", "fit_mode_enabled", "fit_offset", "fit_slope",
        // Schedule
        "opmode", "echo_conc", "data_log_interval", "allow_automatic_laser_optimization",
        "last_tune", "tune_schedule", "next_tune", "last_optimization", "date_time",
        // Settings
        "opmode", "laser_current", "laser_temperature", "trigger_threshold", "bfd",
        "laser_current_monitor", "laser_external_temperature", "refcell", "apc_used",
        "apc_set_point", "measured_pressure_alarm", "apc_open", "reactor_heater_enabled",
        "data_filter", "dynamic_filter_enabled", "dynamic_filter_used", "units", "dew_point_used",
        "reactor_used", "reactor_temperature", "reactor_pressure",
        // Service
        "opmode", "unit_name", "unit_type", "serial_number", "version", "version_fpga",
        // Factory
        "vmod_amplitude", "vmod_factor", "vmod_frequency", "inverse_mirror_slope", "tec_current",
        "detector_gain", "pzt_frequency", "detector_filtering_enabled", "pzt_enabled", "simconc",
        "track_and_hold_enable", "allow_negative_concentration", "opmode",
        "detector_temperature_setpoint", "detector_temperature_actual", "reactor_temperature",
        "reactor_pressure", "apc_pressure"};
    const QList<int> groupSizes = {3, 17, 9, 21, 6, 18};

    const auto describe = [](const QJsonArray& batch) {
        QStringList methods;
        QList<int> ids;
        for (const QJsonValue& value : batch) {
            const QJsonObject request = value.toObject();
            QString text = request.value("method").toString();
            if (request.contains("params"))
                text += ' ' + compact(request.value("params").toArray());
            methods.append(text);
            ids.append(request.value("id").toInt());
            if (request.value("jsonrpc") != "2.0" || request.contains("GUIonly"))
                methods.append("bad request");
        }
        return std::make_pair(methods, ids);
    };

    const auto [all, allIds] = describe(m_window->updateRequests());
    QCOMPARE(all, expected);
    QVERIFY(std::is_sorted(allIds.cbegin(), allIds.cend()));
    QCOMPARE(m_window->firstRequestId(), kFirst);
    QCOMPARE(m_window->lastRequestId(), id(82));
    QCOMPARE(allIds.first(), id(1));
    QCOMPARE(allIds.last(), id(82));
    QVERIFY(!allIds.contains(id(50)) && !allIds.contains(id(76)) && !allIds.contains(id(17)));

    auto* tabs = child<QTabWidget>("tabWidget");
    int start = 0;
    for (int tab = 0; tab < groupSizes.size(); ++tab) {
        tabs->setCurrentIndex(tab);
        QCOMPARE(describe(m_window->updateRequests()).first,
                 expected.mid(start, groupSizes.at(tab)));
        start += groupSizes.at(tab);
    }

    // A reply under sample_gas_pressure's id reaches nothing; one under an
    // opmode id is handled.
    m_window->handleResponse(reply(50, 2));
    QVERIFY(!child("opmodeLabel")->isHidden());
    m_window->handleResponse(reply(33, 2));
    QVERIFY(child("opmodeLabel")->isHidden());
    m_window->handleResponse(errorReply(33));
    m_window->handleResponse(reply(77, "done"));
    QVERIFY(child("opmodeLabel")->isHidden());
    m_window->handleResponse(reply(77, 8));
    QVERIFY(!child("opmodeLabel")->isHidden());
}

void tst_SettingsWindow::accessLevel_data()
{
    QTest::addColumn<QJsonArray>("entries");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("tabTitle");
    QTest::addColumn<int>("page");

    QTest::newRow("factory") << QJsonArray{5738} << "Access: Factory"
                             << "Factory" << 1;
    QTest::newRow("wrong") << QJsonArray{1234} << "Access: Standard"
                           << "" << 0;
    QTest::newRow("wrong at factory") << QJsonArray{5738, 1} << "Access: Standard"
                                      << "" << 0;
    QTest::newRow("fraction") << QJsonArray{5738.5} << "Access: Standard"
                              << "" << 0;
    QTest::newRow("empty") << QJsonArray{QJsonValue()} << "Access: Standard"
                           << "" << 0;
    QTest::newRow("empty at factory") << QJsonArray{5738, QJsonValue()} << "Access: Factory"
                                      << "Factory" << 1;
    QTest::newRow("text at factory") << QJsonArray{5738, "5.7.3.8"} << "Access: Factory"
                                     << "Factory" << 1;
}

void tst_SettingsWindow::accessLevel()
{
    QFETCH(QJsonArray, entries);
    QFETCH(QString, label);
    QFETCH(QString, tabTitle);
    QFETCH(int, page);

    auto* tabs = child<QTabWidget>("tabWidget");
    QCOMPARE(tabs->tabText(5), QString());
    QVERIFY(!tabs->isTabEnabled(5));
    for (const QJsonValue& typed : entries) {
        if (typed.isNull())
            m_window->handleResponse(entry(61, {})); // an empty entry changes nothing
        else
            m_window->handleResponse(entry(61, {typed}));
    }
    QCOMPARE(child<QLabel>("accessLabel")->text(), label);
    QCOMPARE(tabs->tabText(5), tabTitle);
    QCOMPARE(tabs->isTabEnabled(5), page == 1);
    QCOMPARE(child<QStackedWidget>("stackedWidget")->currentIndex(), page);
    QCOMPARE(!child("page0RightButton")->isHidden(), page == 1);
    QCOMPARE(m_sent->count(), 0);

    // The arrows walk the five pages.
    if (page == 1) {
        m_window->show();
        tabs->setCurrentIndex(5);
        const QList<QPair<const char*, int>> walk = {
            {"page1RightButton", 2}, {"page2RightButton", 3}, {"page3RightButton", 4},
            {"page4LeftButton", 3},  {"page3LeftButton", 2},  {"page2LeftButton", 1},
            {"page1LeftButton", 0},  {"page0RightButton", 1}};
        for (const auto& [button, target] : walk) {
            QTest::mouseClick(child(button), Qt::LeftButton);
            QCOMPARE(child<QStackedWidget>("stackedWidget")->currentIndex(), target);
        }
    }
}

void tst_SettingsWindow::serviceGating()
{
    const QStringList gated = gatedWidgets();
    const QStringList open = {"optimizePushButton", "buttonCertificationScan", "offPeakPushButton",
                              "changeAccessPushButton", "pushButtonClose"};

    m_window->showFactoryTab(true); // at Standard access the whole Factory tab is off
    for (bool service : {false, true, false}) {
        m_window->handleResponse(reply(1, service ? 2 : 8));
        for (const QString& name : gated)
            QVERIFY2(child(name)->isEnabled() == service, qPrintable(name));
        for (const QString& name : open)
            QVERIFY2(child(name)->isEnabled(), qPrintable(name));
        QVERIFY(!child("groupBoxEthernet")->isEnabled());
        QCOMPARE(!child("opmodeLabel")->isHidden(), !service);
        QCOMPARE(!child("labelFile")->isHidden(), service);
    }

    // With the automatic filter on, service mode leaves the manual filter off.
    m_window->handleResponse(reply(47, true));
    m_window->configureForServiceMode(true);
    QVERIFY(child("dynamicFilterEnabledCheckBox")->isEnabled());
    QVERIFY(!child("dataFilterLineEdit")->isEnabled());
    QVERIFY(!child("dataFilterSlider")->isEnabled());
    m_window->handleResponse(reply(47, false));
    QVERIFY(child("dataFilterLineEdit")->isEnabled());
    QVERIFY(child("dataFilterSlider")->isEnabled());

    // The storage label tells whether the storage folder is there.
    QTemporaryDir storage;
    setStoragePath(storage.path());
    QTRY_COMPARE(child<QLabel>("labelFile")->text(), QStringLiteral("Ready to download"));
    setStoragePath(storage.path() + "/missing");
    QTRY_COMPARE(child<QLabel>("labelFile")->text(), QStringLiteral("Configure storage location"));
}

void tst_SettingsWindow::gateClosedUntilServiceMode()
{
    // An analyzer that answers every opmode poll with an error ("busy"), or
    // with no number, leaves a fresh screen read-only.
    for (int row : {1, 4, 24, 33, 55, 77})
        m_window->handleResponse(errorReply(row));
    m_window->handleResponse(reply(4, "busy"));
    for (const QString& name : gatedWidgets())
        QVERIFY2(!child(name)->isEnabled(), qPrintable(name));
    QVERIFY(!child("opmodeLabel")->isHidden());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    child<QTabWidget>("tabWidget")->setCurrentIndex(1);
    auto* relay = child("alarm1CheckBox");
    QTest::mouseClick(relay, Qt::LeftButton, {}, QPoint(8, relay->height() / 2));
    QCOMPARE(m_sent->count(), 0);

    // Service mode opens it; a reply without a number then leaves it open.
    m_window->handleResponse(reply(4, 2));
    QVERIFY(relay->isEnabled());
    m_window->handleResponse(errorReply(4));
    QVERIFY(relay->isEnabled());
}

void tst_SettingsWindow::serverTexts_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("formula");

    // Markup from the analyzer is text: shown as it is, or escaped in a formula.
    QTest::newRow("unit name") << 56 << "unitNameLabel"
                               << "<b>Vireo</b>"
                               << "Unit Name: <b>Vireo</b>" << false;
    QTest::newRow("serial") << 58 << "serialLabel"
                            << "<i>V1</i>"
                            << "SN: <i>V1</i>" << false;
    QTest::newRow("version") << 59 << "versionLabel"
                             << "<u>4</u>"
                             << "Version: <u>4</u>" << false;
    QTest::newRow("next tune") << 30 << "nextTuneLabel"
                               << "<h1>soon</h1>"
                               << "Next Tune: <h1>soon</h1>" << false;
    QTest::newRow("fpga") << 60 << "fpgaLabel"
                          << "<s>2</s>"
                          << "FPGA: <s>2</s>" << false;
    QTest::newRow("gas") << 2 << "gasLabel_1"
                         << "<b>N2</b>"
                         << "&lt;b&gt;N<sub>2</sub>&lt;/b&gt;" << true;
}

void tst_SettingsWindow::serverTexts()
{
    QFETCH(int, row);
    QFETCH(QString, label);
    QFETCH(QString, sent);
    QFETCH(QString, shown);
    QFETCH(bool, formula);

    m_window->handleResponse(
        reply(row, row == 2 ? QJsonValue(QJsonArray{sent}) : QJsonValue(sent)));
    QCOMPARE(child<QLabel>(label)->text(), shown);
    QCOMPARE(child<QLabel>(label)->textFormat(), formula ? Qt::RichText : Qt::PlainText);
}

void tst_SettingsWindow::serialNumberCapped()
{
    // A serial number of a megabyte is cut before it reaches the label or the
    // frame's title.
    QMainWindow frame;
    const QString connection = connectionString();
    connectionString() = QStringLiteral("10.1.2.3:49999");
    const QString huge(1 << 20, QLatin1Char('7'));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Text from the analyzer cut to 300"));
    m_window->handleResponse(reply(58, huge));
    QVERIFY(child<QLabel>("serialLabel")->text().size() < 320);
    QCOMPARE(frame.windowTitle(),
             "SN " + huge.left(300) + QChar(0x2026) + QStringLiteral(" @ 10.1.2.3"));
    connectionString() = connection;
}

void tst_SettingsWindow::gasPageArrow_data()
{
    QTest::addColumn<int>("gases");
    QTest::addColumn<bool>("arrow");
    QTest::newRow("16 gases, one page") << 16 << false;
    QTest::newRow("17 gases, two pages") << 17 << true;
}

void tst_SettingsWindow::gasPageArrow()
{
    QFETCH(int, gases);
    QFETCH(bool, arrow);

    QJsonArray names;
    for (int i = 1; i <= gases; ++i)
        names.append(QStringLiteral("G%1").arg(QChar('a' + i)));
    m_window->handleResponse(reply(2, names));
    QCOMPARE(!child("buttonNextGasPage")->isHidden(), arrow);
    QVERIFY(!child("radioButton_16")->isHidden());
    QCOMPARE(child<QLabel>("gasLabel_16")->text(), QStringLiteral("Gq"));
}

void tst_SettingsWindow::gasButtonsLookDisabled()
{
    m_window->handleResponse(reply(2, QJsonArray{"N2", "Ar"}));
    m_window->handleResponse(reply(3, "N2"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    // The darkest pixel of a button and its label, as drawn on the window: a
    // disabled one is paler.
    const auto drawn = [this](QWidget* widget) {
        const QRect area(widget->mapTo(m_window.get(), QPoint()), widget->size());
        return m_window->grab(area).toImage();
    };
    const auto darkest = [drawn](QWidget* widget) {
        const QImage image = drawn(widget);
        int value = 255;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                value = std::min(value, qGray(image.pixel(x, y)));
        }
        return value;
    };
    // An open and a chosen button, and a label.
    const QList<QWidget*> widgets = {child("radioButton_1"), child("radioButton_2"),
                                     child("gasLabel_1")};
    QList<int> off;
    for (QWidget* widget : widgets)
        off.append(darkest(widget));
    LOOKS_SOUND(m_window.get(), "settings-gas-disabled");
    m_window->configureForServiceMode(true);
    for (int i = 0; i < widgets.size(); ++i) {
        const int on = darkest(widgets.at(i));
        QVERIFY2(off.at(i) > on + 40, qPrintable(QString("%1: %2 disabled, %3 enabled")
                                                     .arg(widgets.at(i)->objectName())
                                                     .arg(off.at(i))
                                                     .arg(on)));
    }
}

void tst_SettingsWindow::networkEntries_data()
{
    QTest::addColumn<QJsonValue>("polled"); // null: the poll failed
    QTest::addColumn<int>("row");
    QTest::addColumn<QJsonValue>("typed");
    QTest::addColumn<QString>("params"); // empty: nothing is sent

    const QJsonArray fixed{false, "10.0.0.2", "255.255.255.0", "10.0.0.1"};
    QTest::newRow("highest address")
        << QJsonValue(fixed) << 17 << QJsonValue("255.255.255.255")
        << "[false,\"255.255.255.255\",\"255.255.255.0\",\"10.0.0.1\"]";
    QTest::newRow("lowest address") << QJsonValue(fixed) << 19 << QJsonValue("0.0.0.0")
                                    << "[false,\"10.0.0.2\",\"255.255.255.0\",\"0.0.0.0\"]";
    QTest::newRow("octet 256") << QJsonValue(fixed) << 17 << QJsonValue("10.0.0.256") << "";
    QTest::newRow("empty octet") << QJsonValue(fixed) << 18 << QJsonValue("255..255.0") << "";
    QTest::newRow("minus") << QJsonValue(fixed) << 19 << QJsonValue("-10.0.0.1") << "";
    QTest::newRow("a number") << QJsonValue(fixed) << 17 << QJsonValue(42) << "";
    QTest::newRow("after a failed poll") << QJsonValue() << 19 << QJsonValue("10.0.0.1") << "";
    QTest::newRow("dhcp") << QJsonValue(QJsonArray{true, "", "", ""}) << 17
                          << QJsonValue("10.0.0.256") << "[true]";
}

void tst_SettingsWindow::networkEntries()
{
    QFETCH(QJsonValue, polled);
    QFETCH(int, row);
    QFETCH(QJsonValue, typed);
    QFETCH(QString, params);

    m_window->handleResponse(polled.isNull() ? errorReply(8) : reply(8, polled));
    m_window->handleResponse(entry(row, {typed}));
    QCOMPARE(m_sent->count(), params.isEmpty() ? 0 : 1);
    if (!params.isEmpty()) {
        QCOMPARE(sent().at(0).id, id(8));
        QCOMPARE(sent().at(0).params, params);
    }
    // The 60 s timer does not send an address the entry could not.
    QMetaObject::invokeMethod(m_window.get(), "editingDone");
    QCOMPARE(m_sent->count(), params.isEmpty() ? 0 : 2);
}

void tst_SettingsWindow::cancelledNetworkEntry()
{
    // A failed poll leaves the fields empty; the operator presses IP and cancels.
    m_window->handleResponse(errorReply(8));
    m_window->show();
    child<QTabWidget>("tabWidget")->setCurrentIndex(1);
    QTest::mouseClick(child("ipLineEdit"), Qt::LeftButton);
    QCOMPARE(m_keypad.size(), 1);
    QVERIFY(m_window->editingTimer()->isActive());
    m_window->keypadClosed();
    QVERIFY(!m_window->editingTimer()->isActive());
    QMetaObject::invokeMethod(m_window.get(), "editingDone");
    QCOMPARE(m_sent->count(), 0);
    // The analyzer's addresses show again at once.
    m_window->handleResponse(reply(8, QJsonArray{false, "10.0.0.2", "255.255.255.0", "10.0.0.1"}));
    QCOMPARE(child<QLineEdit>("ipLineEdit")->text(), QStringLiteral("10.0.0.2"));

    // An entry that came back before the close is one that was made.
    QTest::mouseClick(child("ipLineEdit"), Qt::LeftButton);
    m_window->handleResponse(entry(17, {"10.0.0.9"}));
    m_window->keypadClosed();
    QVERIFY(m_window->editingTimer()->isActive());
    QCOMPARE(m_sent->count(), 1);

    // The 60 s run out while the keypad is open; the late entry is sent, and
    // counts for nothing in the next editing, which is cancelled.
    QTest::mouseClick(child("ipLineEdit"), Qt::LeftButton);
    m_window->editingTimer()->stop();
    QMetaObject::invokeMethod(m_window.get(), "editingDone");
    QCOMPARE(m_sent->count(), 2);
    m_window->handleResponse(entry(17, {"10.0.0.8"}));
    m_window->keypadClosed();
    QCOMPARE(m_sent->count(), 3);
    QTest::mouseClick(child("ipLineEdit"), Qt::LeftButton);
    m_window->keypadClosed();
    QVERIFY(!m_window->editingTimer()->isActive());
    QMetaObject::invokeMethod(m_window.get(), "editingDone");
    QCOMPARE(m_sent->count(), 3);
}

void tst_SettingsWindow::dataFilterSent_data()
{
    QTest::addColumn<QString>("input"); // "slider N" or the typed text
    QTest::addColumn<QString>("params");
    QTest::newRow("slider at 1: the floor") << "slider 1"
                                            << "[10]";
    QTest::newRow("slider at 100") << "slider 100"
                                   << "[1000]";
    QTest::newRow("typed 9: the floor") << "9"
                                        << "[10]";
    QTest::newRow("typed 10") << "10"
                              << "[10]";
}

void tst_SettingsWindow::dataFilterSent()
{
    QFETCH(QString, input);
    QFETCH(QString, params);

    m_window->configureForServiceMode(true);
    if (input.startsWith("slider"))
        child<QSlider>("dataFilterSlider")->setValue(input.section(' ', 1).toInt());
    else
        child<QLineEdit>("dataFilterLineEdit")->setText(input);
    QVERIFY(m_window->dataFilterTimer()->isActive());
    m_window->dataFilterTimer()->stop();
    QMetaObject::invokeMethod(m_window.get(), "dataEditingDone");
    QCOMPARE(sent().size(), 1);
    QCOMPARE(sent().at(0).id, id(46));
    QCOMPARE(sent().at(0).params, params);
}

void tst_SettingsWindow::dataFilterReplies_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("slider");
    QTest::newRow("10 is shown") << 10 << "10" << 1;
    QTest::newRow("9 is not") << 9 << "200" << 20;
}

void tst_SettingsWindow::dataFilterReplies()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(int, slider);

    m_window->handleResponse(reply(46, value));
    QCOMPARE(child<QLineEdit>("dataFilterLineEdit")->text(), text);
    QCOMPARE(child<QSlider>("dataFilterSlider")->value(), slider);
    QVERIFY(!m_window->dataFilterTimer()->isActive());
}

void tst_SettingsWindow::manualFilter_data()
{
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<bool>("manual"); // the data filter line edit and slider on
    QTest::newRow("outside service, automatic off: left off") << false << false << false;
    QTest::newRow("service, automatic off") << true << false << true;
    QTest::newRow("service, automatic on") << true << true << false;
}

void tst_SettingsWindow::manualFilter()
{
    QFETCH(bool, service);
    QFETCH(bool, automatic);
    QFETCH(bool, manual);

    m_window->configureForServiceMode(service);
    m_window->handleResponse(reply(47, automatic));
    QCOMPARE(child<QCheckBox>("dynamicFilterEnabledCheckBox")->isChecked(), automatic);
    QCOMPARE(child("dataFilterLineEdit")->isEnabled(), manual);
    QCOMPARE(child("dataFilterSlider")->isEnabled(), manual);
}

void tst_SettingsWindow::unitsKeypad_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<bool>("keypad"); // the sample gas pressure is asked first
    QTest::newRow("volume") << 0 << "volume" << false;
    QTest::newRow("weight") << 1 << "weight" << false;
    QTest::newRow("dew point C") << 2 << "dewpointc" << true;
    QTest::newRow("dew point K") << 4 << "dewpointk" << true;
}

void tst_SettingsWindow::unitsKeypad()
{
    QFETCH(int, index);
    QFETCH(QString, unit);
    QFETCH(bool, keypad);

    m_window->configureForServiceMode(true);
    auto* units = child<QComboBox>("unitsComboBox");
    units->setCurrentIndex(index);
    emit units->activated(index);
    QCOMPARE(m_keypad.size(), keypad ? 1 : 0);
    if (keypad)
        QCOMPARE(m_keypad.at(0).second.id(), id(50));
    QCOMPARE(sent().size(), 1);
    QCOMPARE(sent().at(0).params, "[\"" + unit + "\"]");
}

void tst_SettingsWindow::germanItemsSendTheirKeys()
{
    // The operator reads German items; the analyzer still hears and names
    // its own words, and the dew point units are known by their keys.
    QVERIFY(setLanguage(QStringLiteral("marlomax"), QStringLiteral("de")));
    const auto english =
        qScopeGuard([] { setLanguage(QStringLiteral("marlomax"), QStringLiteral("en")); });
    cleanup();
    init();
    m_window->configureForServiceMode(true);
    auto* schedule = child<QComboBox>("scheduleComboBox");
    QCOMPARE(schedule->itemText(1), QStringLiteral("Wöchentlich"));
    m_window->handleResponse(reply(29, "daily"));
    QCOMPARE(schedule->currentText(), QStringLiteral("Täglich"));
    m_window->handleResponse(reply(29, "NEVER"));
    QCOMPARE(schedule->currentText(), QStringLiteral("Nie"));
    schedule->setCurrentIndex(1);
    emit schedule->activated(1);
    QCOMPARE(sent().size(), 1);
    QCOMPARE(sent().at(0).method, QStringLiteral("tune_schedule"));
    QVERIFY2(sent().at(0).params.startsWith(QStringLiteral("[\"weekly\",")),
             qPrintable(sent().at(0).params));

    auto* units = child<QComboBox>("unitsComboBox");
    QVERIFY(units->itemText(2).startsWith(QStringLiteral("Taupunkt")));
    m_window->handleResponse(reply(51, false));
    const auto* model = units->model();
    for (int i = 0; i < units->count(); ++i)
        QCOMPARE(bool(model->flags(model->index(i, 0)) & Qt::ItemIsEnabled), i < 2);
    m_window->handleResponse(reply(49, "dewpointk"));
    QCOMPARE(units->currentText(), QStringLiteral("Taupunkt (K)"));
}

void tst_SettingsWindow::backlightRefresh_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("refreshes");
    for (int tab = 0; tab < 6; ++tab)
        QTest::addRow("tab %d", tab) << tab << (tab == 3 ? 1 : 0);
}

void tst_SettingsWindow::backlightRefresh()
{
    QFETCH(int, tab);
    QFETCH(int, refreshes);

    // On the instrument each refresh reads the limits again (here: no database).
    LogCounter reads("Error opening settings database");
    setIsRemote(false);
    SettingsWindow panel;
    setIsRemote(true);
    QCOMPARE(reads.count(), 1);
    auto* tabs = panel.findChild<QTabWidget*>("tabWidget");
    tabs->setCurrentIndex(tab == 0 ? 1 : 0);
    const int before = reads.count();
    tabs->setCurrentIndex(tab);
    QCOMPARE(reads.count() - before, refreshes);
}

void tst_SettingsWindow::gasPages()
{
    QJsonArray gases;
    for (int i = 17; i >= 1; --i)
        gases.append(QStringLiteral("Gas%1").arg(i, 2, 10, QLatin1Char('0')));
    m_window->show();
    m_window->handleResponse(reply(2, gases));
    m_window->handleResponse(reply(3, "Gas17"));
    auto* next = child("buttonNextGasPage");
    QVERIFY(!next->isHidden());
    const auto label = [this](int i) {
        return child<QLabel>(QStringLiteral("gasLabel_%1").arg(i));
    };
    const auto button = [this](int i) {
        return child<QRadioButton>(QStringLiteral("radioButton_%1").arg(i));
    };
    QCOMPARE(label(1)->text(), QStringLiteral("Gas<sub>0</sub><sub>1</sub>"));
    QCOMPARE(label(16)->text(), QStringLiteral("Gas<sub>1</sub><sub>6</sub>"));
    for (int i = 1; i <= 16; ++i)
        QVERIFY(!button(i)->isChecked());

    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(label(1)->text(), QStringLiteral("Gas<sub>1</sub><sub>7</sub>"));
    QVERIFY(button(1)->isChecked());
    QVERIFY(!label(1)->isHidden());
    for (int i = 2; i <= 16; ++i) {
        QCOMPARE(label(i)->text(), QStringLiteral("blank"));
        QVERIFY(label(i)->isHidden() && button(i)->isHidden());
    }
    m_window->configureForServiceMode(true);
    QTest::mouseClick(button(1), Qt::LeftButton, {}, QPoint(6, button(1)->height() / 2));
    QCOMPARE(sent().value(0).params, QStringLiteral("[\"Gas17\"]"));

    QTest::mouseClick(next, Qt::LeftButton); // wraps to the first page
    QCOMPARE(label(1)->text(), QStringLiteral("Gas<sub>0</sub><sub>1</sub>"));
    QVERIFY(!button(2)->isHidden());

    // The same names in another order change nothing, not even the page.
    QTest::mouseClick(next, Qt::LeftButton);
    QJsonArray shuffled;
    for (int i = 1; i <= 17; ++i)
        shuffled.append(gases.at((i * 5) % 17));
    m_window->handleResponse(reply(2, shuffled));
    QCOMPARE(label(1)->text(), QStringLiteral("Gas<sub>1</sub><sub>7</sub>"));

    // A short list starts again on page one, without the arrow.
    m_window->handleResponse(reply(2, QJsonArray{"N2", "Ar"}));
    QCOMPARE(label(1)->text(), QStringLiteral("Ar"));
    QVERIFY(next->isHidden());
    QVERIFY(button(3)->isHidden());
}

void tst_SettingsWindow::networkEditingTimer()
{
    QTimer* timer = m_window->editingTimer();
    QCOMPARE(timer->interval(), 60000);
    QVERIFY(timer->isSingleShot());
    m_window->handleResponse(reply(8, QJsonArray{false, "10.0.0.2", "255.255.255.0", "10.0.0.1"}));
    m_window->show();
    child<QTabWidget>("tabWidget")->setCurrentIndex(1);

    QTest::mouseClick(child("ipLineEdit"), Qt::LeftButton);
    QVERIFY(timer->isActive());
    // Ten seconds before the timer would run out (50 s later), the operator
    // presses again: the timer starts over from 60 s.
    timer->start(10000);
    QTest::mouseClick(child("gatewayLineEdit"), Qt::LeftButton);
    QCOMPARE(timer->interval(), 60000);
    QVERIFY(timer->remainingTime() > 50000);
    QCOMPARE(m_keypad.size(), 2);

    // While editing, polls do not overwrite what is typed.
    m_window->handleResponse(entry(19, {"10.0.0.254"}));
    m_sent->clear();
    m_window->handleResponse(reply(8, QJsonArray{true, "1.1.1.1", "1.1.1.1", "1.1.1.1"}));
    QCOMPARE(child<QLineEdit>("gatewayLineEdit")->text(), QStringLiteral("10.0.0.254"));
    QVERIFY(!child<QCheckBox>("dhcpCheckBox")->isChecked());

    // Expiry sends the settings once and lets polls through again.
    timer->setInterval(0);
    QTRY_COMPARE(m_sent->count(), 1);
    QCOMPARE(sent().at(0).params,
             QStringLiteral("[false,\"10.0.0.2\",\"255.255.255.0\",\"10.0.0.254\"]"));
    QCOMPARE(sent().at(0).id, id(8));
    QVERIFY(!timer->isActive());
    m_window->handleResponse(reply(8, QJsonArray{true, "1.1.1.1", "1.1.1.2", "1.1.1.3"}));
    QCOMPARE(child<QLineEdit>("gatewayLineEdit")->text(), QStringLiteral("1.1.1.3"));
    QVERIFY(child<QCheckBox>("dhcpCheckBox")->isChecked());
    // A short reply is ignored.
    m_window->handleResponse(reply(8, QJsonArray{false, "9.9.9.9"}));
    QCOMPARE(child<QLineEdit>("ipLineEdit")->text(), QStringLiteral("1.1.1.1"));
}

void tst_SettingsWindow::dataFilter()
{
    auto* slider = child<QSlider>("dataFilterSlider");
    auto* field = child<QLineEdit>("dataFilterLineEdit");
    QTimer* timer = m_window->dataFilterTimer();
    QCOMPARE(timer->interval(), 3000);
    QCOMPARE(field->text(), QStringLiteral("200"));
    QCOMPARE(slider->value(), 20);

    const auto expire = [timer]() {
        QVERIFY(timer->isActive());
        timer->setInterval(0);
        timer->start();
    };
    // Slider 3 shows 30 and sends [30] when the timer runs out; polls wait.
    slider->setValue(3);
    QCOMPARE(field->text(), QStringLiteral("30"));
    m_window->handleResponse(reply(46, 500));
    QCOMPARE(field->text(), QStringLiteral("30"));
    QCOMPARE(m_sent->count(), 0);
    expire();
    QTRY_COMPARE(m_sent->count(), 1);
    QCOMPARE(sent().at(0).method, QStringLiteral("data_filter"));
    QCOMPARE(sent().at(0).params, QStringLiteral("[30]"));

    // Typed 5 ends as the smallest step, 10; typed 25 as 20.
    m_sent->clear();
    timer->setInterval(3000);
    field->setText(QStringLiteral("5"));
    QCOMPARE(field->text(), QStringLiteral("10"));
    QCOMPARE(slider->value(), 1);
    expire();
    QTRY_COMPARE(m_sent->count(), 1);
    QCOMPARE(sent().at(0).params, QStringLiteral("[10]"));
    field->setText(QStringLiteral("25"));
    QCOMPARE(field->text(), QStringLiteral("20"));

    // Replies: 5 is not shown; 500 is, without starting an edit.
    timer->stop();
    QMetaObject::invokeMethod(m_window.get(), "dataEditingDone");
    m_sent->clear();
    m_window->handleResponse(reply(46, 5));
    QCOMPARE(field->text(), QStringLiteral("20"));
    m_window->handleResponse(reply(46, 500));
    QCOMPARE(field->text(), QStringLiteral("500"));
    QCOMPARE(slider->value(), 50);
    QVERIFY(!timer->isActive());

    // The kind of automatic filter names the check box.
    auto* automatic = child<QCheckBox>("dynamicFilterEnabledCheckBox");
    m_window->handleResponse(reply(48, 2));
    QCOMPARE(automatic->text(), QStringLiteral("Speed+"));
    m_window->handleResponse(reply(48, 1));
    QCOMPARE(automatic->text(), QStringLiteral("Auto"));
    QVERIFY(!automatic->isHidden());
}

void tst_SettingsWindow::unitsAndBacklight()
{
    m_window->configureForServiceMode(true);
    auto* units = child<QComboBox>("unitsComboBox");
    units->setCurrentIndex(3);
    emit units->activated(3);
    QCOMPARE(m_keypad.size(), 1);
    QCOMPARE(m_keypad.at(0).first, QStringLiteral("Sample Gas Pressure (psig)"));
    QCOMPARE(m_keypad.at(0).second.method(), QStringLiteral("sample_gas_pressure"));
    QCOMPARE(m_keypad.at(0).second.id(), id(50));
    QCOMPARE(sent().value(0).params, QStringLiteral("[\"dewpointf\"]"));

    // Dew point units are offered only where the analyzer supports them.
    m_window->handleResponse(reply(51, false));
    const auto* model = units->model();
    QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsEnabled);
    for (int i = 2; i < 5; ++i)
        QVERIFY(!(model->flags(model->index(i, 0)) & Qt::ItemIsEnabled));
    m_window->handleResponse(reply(49, "parsecs"));
    QCOMPARE(units->currentText(), QStringLiteral("Dew Point(F)"));

    // On a PC the slider is off and the level only remembered.
    QVERIFY(!child("backlightSlider")->isEnabled());
    child<QSlider>("backlightSlider")->setValue(80);
    QCOMPARE(m_window->backlight()->brightness(), 80);

    // On the instrument the slider drives the panel's backlight, whose limits
    // are read again whenever the Settings tab is shown (here: no database).
    const char* noDatabase = "Error opening settings database to read min/max brightness";
    setIsRemote(false);
    QTest::ignoreMessage(QtDebugMsg, noDatabase);
    SettingsWindow panel;
    setIsRemote(true);
    QVERIFY(panel.findChild<QSlider*>("backlightSlider")->isEnabled());
    QCOMPARE(panel.findChild<QSlider*>("backlightSlider")->value(), 50);
    QTest::ignoreMessage(QtDebugMsg, noDatabase);
    panel.findChild<QTabWidget*>("tabWidget")->setCurrentIndex(3);
    panel.findChild<QTabWidget*>("tabWidget")->setCurrentIndex(4);
}

void tst_SettingsWindow::dateFromCalendar()
{
    m_window->handleResponse(reply(32, "2024-03-05 07:15:09"));
    {
        // Outside service mode the date is not the operator's to change.
        DialogCatcher dialogs;
        QTest::mouseClick(child("dateLineEdit"), Qt::LeftButton);
        QCOMPARE(dialogs.opened, 0);
    }
    m_window->configureForServiceMode(true);
    QDate picked;
    TestSupport::onNextModal([&picked](QWidget* modal) {
        auto* calendar = modal->findChild<QCalendarWidget*>();
        calendar->setSelectedDate(QDate(2024, 4, 2));
        picked = calendar->selectedDate();
        qobject_cast<QDialog*>(modal)->accept();
    });
    QTest::mouseClick(child("dateLineEdit"), Qt::LeftButton);
    QCOMPARE(picked, QDate(2024, 4, 2));
    QCOMPARE(sent().size(), 1);
    QCOMPARE(sent().at(0).id, id(32));
    QCOMPARE(sent().at(0).method, QStringLiteral("date_time"));
    QCOMPARE(sent().at(0).params, QStringLiteral("[\"2024-04-02 07:15:09\"]"));

    // Cancel sends nothing and leaves the calendar on today for the next time.
    QDate shownNext;
    TestSupport::acceptNextModal(false);
    QTest::mouseClick(child("dateLineEdit"), Qt::LeftButton);
    TestSupport::onNextModal([&shownNext](QWidget* modal) {
        shownNext = modal->findChild<QCalendarWidget*>()->selectedDate();
        qobject_cast<QDialog*>(modal)->reject();
    });
    QTest::mouseClick(child("dateLineEdit"), Qt::LeftButton);
    QCOMPARE(shownNext, QDate::currentDate());
    QCOMPARE(sent().size(), 1);
}

void tst_SettingsWindow::maintenanceReplies()
{
    // Factory restore asks first; Cancel sends nothing, OK sends the one-shot request.
    m_window->configureForServiceMode(true);
    TestSupport::acceptNextModal(false);
    QTest::mouseClick(child("defaultSettingsPushButton"), Qt::LeftButton);
    QCOMPARE(m_sent->count(), 0);
    TestSupport::acceptNextModal(true);
    QTest::mouseClick(child("defaultSettingsPushButton"), Qt::LeftButton);
    QCOMPARE(sent().value(0).method, QStringLiteral("restore_factory_settings"));
    QCOMPARE(sent().value(0).hasParams, false);

    // The text of the message box that the action opens (closed with OK).
    const auto popupAfter = [](const std::function<void()>& action) {
        QString text;
        TestSupport::onNextModal([&text](QWidget* modal) {
            text = modal->findChild<QLabel*>(QStringLiteral("textLabel"))->text();
            qobject_cast<QDialog*>(modal)->accept();
        });
        action();
        return text;
    };
    const auto popupText = [this, popupAfter](const Analyzer::Response& response) {
        return popupAfter([&] { m_window->handleResponse(response); });
    };
    QCOMPARE(popupText(reply(62, true)), QStringLiteral("Settings restored"));
    QCOMPARE(popupText(errorReply(62)), QStringLiteral("Error restoring settings"));
    QCOMPARE(popupText(reply(63, true)), QStringLiteral("Settings finalized"));
    QCOMPARE(popupText(errorReply(63)), QStringLiteral("Error finalizing settings"));

    // Clearing the history shows a busy popup until the reply or a lost link.
    m_sent->clear();
    m_window->showFactoryTab(true);
    m_window->show();
    child<QTabWidget>("tabWidget")->setCurrentIndex(5);
    child<QStackedWidget>("stackedWidget")->setCurrentIndex(4);
    QTest::mouseClick(child("clearTrendButton"), Qt::LeftButton);
    QCOMPARE(sent().value(0).method, QStringLiteral("clear_trend_data"));
    auto* busy = m_window->findChild<QDialog*>(QStringLiteral("ProgressDialog"));
    QVERIFY(busy && busy->isVisible());
    QCOMPARE(busy->windowTitle(), QStringLiteral("Trend Data"));
    QCOMPARE(popupText(reply(76, true)), QStringLiteral("Trend data cleared"));
    QVERIFY(!busy->isVisible());
    QTest::mouseClick(child("clearTrendButton"), Qt::LeftButton);
    m_window->connectionChanged(false);
    QVERIFY(busy->isVisible());
    const QString lost = popupAfter([this] { m_window->connectionChanged(true); });
    QCOMPARE(lost, QStringLiteral("Error clearing trend data"));
    QVERIFY(!busy->isVisible());

    // The lost link closed the page; back on the link it stays closed until
    // a reply reads service mode.
    QVERIFY(!m_window->isInServiceMode());
    m_window->connectionChanged(false);
    m_window->handleResponse(errorReply(1));
    QVERIFY(!m_window->isInServiceMode());
    m_window->handleResponse(reply(1, 2));
    QVERIFY(m_window->isInServiceMode());

    QSignalSpy pages(m_window.get(), &SettingsWindow::goToWindow);
    QTest::mouseClick(child("pushButtonClose"), Qt::LeftButton);
    QTest::mouseClick(child("buttonCertificationScan"), Qt::LeftButton);
    QTest::mouseClick(child("apcCalibrateButton"), Qt::LeftButton);
    QCOMPARE(pages.count(), 3);
    QCOMPARE(pages.at(0).at(0).value<WindowType>(), HOME);
    QCOMPARE(pages.at(1).at(0).value<WindowType>(), CERTIFICATION);
    QCOMPARE(pages.at(2).at(0).value<WindowType>(), CALIBRATION);
}

void tst_SettingsWindow::transferButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("upload");
    QTest::addColumn<int>("type");

    QTest::newRow("settings download")
        << "getSettingsPushButton" << false << int(FileManager::SettingsFile);
    QTest::newRow("settings upload")
        << "uploadSettingsPushButton" << true << int(FileManager::SettingsFile);
    QTest::newRow("trend") << "transferTrendPushButton" << false << int(FileManager::TrendFile);
    QTest::newRow("scans") << "transferScansPushButton" << false << int(FileManager::ScansFile);
    QTest::newRow("system log") << "transferLogPushButton" << false << int(FileManager::LogFile);
    QTest::newRow("srda") << "transferSRDAPushButton" << false << int(FileManager::SrdaFile);
}

void tst_SettingsWindow::transferButtons()
{
    QFETCH(QString, button);
    QFETCH(bool, upload);
    QFETCH(int, type);

    QSignalSpy downloads(m_window.get(), &SettingsWindow::startDownload);
    QSignalSpy uploads(m_window.get(), &SettingsWindow::uploadFile);
    m_window->configureForServiceMode(true);
    QTest::mouseClick(child(button), Qt::LeftButton);

    // One transfer, handed to the file manager with its own result popups.
    QCOMPARE(downloads.count() + uploads.count(), 1);
    QCOMPARE(m_sent->count(), 0);
    if (upload) {
        QCOMPARE(uploads.at(0).at(0).value<FileManager::FileType>(), FileManager::FileType(type));
    } else {
        QCOMPARE(downloads.at(0).at(0).value<FileManager::FileType>(), FileManager::FileType(type));
        QCOMPARE(downloads.at(0).at(1).toBool(), false);
    }
}

void tst_SettingsWindow::readingsTurnStale()
{
    // Rows 39 and 40 are readings of the Settings tab, rows 68 and 82 of the
    // factory page; the laser current is a setting, never marked.
    auto* temperature = child<QLineEdit>("laserTempReadLineEdit");
    auto* tec = child<QLineEdit>("tecCurrentLineEdit");
    auto* group = child<QGroupBox>("groupBoxReadings_1");
    const auto grey = [](QWidget* widget) {
        return widget->palette().color(QPalette::Text) == StaleMarker::staleColour();
    };
    QVERIFY(grey(temperature) && grey(tec));
    QCOMPARE(group->title(), QStringLiteral("Readings \u2013 no reply yet"));
    QVERIFY(!m_window->readingsMarker(child("laserCurrentLineEdit")));

    m_window->handleResponse(reply(39, 21.5));
    m_window->handleResponse(reply(40, 1.25));
    QVERIFY(!grey(temperature));
    QCOMPARE(group->title(), QStringLiteral("Readings"));
    QVERIFY(grey(tec)); // its own group, not refreshed yet
    m_window->handleResponse(reply(68, 0.5));
    QVERIFY(!grey(tec));

    m_window->connectionChanged(true);
    QVERIFY(grey(temperature) && grey(tec));
    QCOMPARE(temperature->text(), QStringLiteral("21.50"));
    QCOMPARE(group->title(), QStringLiteral("Readings \u2013 0 s ago"));
    m_window->connectionChanged(false);
    // An error reply to a row that keeps its value on errors refreshes nothing.
    m_window->handleResponse(errorReply(82));
    QVERIFY(grey(tec));
    m_window->handleResponse(reply(82, 700.0));
    QVERIFY(!grey(tec));
    m_window->handleResponse(reply(39, 21.6));
    QVERIFY(!grey(temperature));

    // Unrefreshed for longer than three ticks: stale without any link report.
    m_window->readingsMarker(temperature)->setStaleAfter(100);
    m_window->handleResponse(reply(39, 21.7));
    QTRY_VERIFY(grey(temperature));
    QTRY_COMPARE(group->title(), QStringLiteral("Readings \u2013 0 s ago"));
}

void tst_SettingsWindow::screenshots()
{
    // In the panel's own look (style sheet and font), as the operator sees it.
    setUpApplication(*qApp);
    // Long texts the analyzer may send, to see that nothing is clipped.
    m_window->handleResponse(
        reply(2, QJsonArray{"N2", "H2O", "Ar", "He", "CO2", "CH4", "O2", "H2", "C2H6", "SF6"}));
    m_window->handleResponse(reply(3, "N2"));
    m_window->handleResponse(
        reply(8, QJsonArray{false, "192.168.100.200", "255.255.255.0", "192.168.100.1"}));
    m_window->handleResponse(reply(10, 10000));
    m_window->handleResponse(reply(11, 20));
    m_window->handleResponse(reply(12, 1000.5));
    m_window->handleResponse(reply(28, "2024-03-01 07:00:00"));
    m_window->handleResponse(reply(30, "2024-04-01 07:00:00"));
    m_window->handleResponse(reply(31, "2024-03-02 08:00:00"));
    m_window->handleResponse(reply(32, "2024-03-05 07:15:09"));
    m_window->handleResponse(reply(56, "Vireo Trace Moisture"));
    m_window->handleResponse(reply(57, 7));
    m_window->handleResponse(reply(58, "VX-000123"));
    m_window->handleResponse(reply(59, "4.2.0-build.1234"));
    m_window->handleResponse(reply(60, "2.11"));
    m_window->handleResponse(reply(52, true));
    m_window->handleResponse(reply(53, 50.25));
    m_window->handleResponse(reply(54, 14.7));
    m_window->handleResponse(reply(67, 1.2345e-4));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    LOOKS_SOUND(m_window.get(), "settings-gas-outside-service");
    m_window->configureForServiceMode(true);
    auto* tabs = child<QTabWidget>("tabWidget");
    const QStringList names = {"gas", "outputs", "schedule", "settings", "service"};
    for (int tab = 0; tab < names.size(); ++tab) {
        tabs->setCurrentIndex(tab);
        LOOKS_SOUND(m_window.get(), "settings-" + names.at(tab));
    }
    m_window->handleResponse(entry(61, {5738}));
    tabs->setCurrentIndex(5);
    for (int page = 0; page < 5; ++page) {
        child<QStackedWidget>("stackedWidget")->setCurrentIndex(page);
        LOOKS_SOUND(m_window.get(), QStringLiteral("settings-factory-%1").arg(page));
    }
}

QTEST_MAIN(tst_SettingsWindow)
#include "tst_settingswindow.moc"
