// The home screen driven through its replies: concentration display, mode
// title, alarm list and lamps, tau fields, lock, and the mini plot window.
#include "analyzer/response.h"
#include "app/appsetup.h"
#include "screens/homewindow.h"
#include "support/screencheck.h"
#include "support/testsupport.h"
#include "trend/historyinterface.h"
#include "trend/remotehistory.h"
#include "widgets/chartsfwd.h"
#include "widgets/stalemarker.h"
#include "widgets/statusbadge.h"

#include <QChartView>
#include <QDateTimeAxis>
#include <QGraphicsTextItem>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScatterSeries>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QValueAxis>
#include <QtTest>

namespace {

class FakeHistory : public Trend::HistoryInterface
{
public:
    struct Range
    {
        QDateTime start;
        QDateTime end;
        QString unitKey;
    };
    void requestRange(const QDateTime& start, const QDateTime& end, const QString& unitKey) override
    {
        requests.append({start, end, unitKey});
    }
    void refresh() override {}
    const QVector<Trend::TrendPoint>& points() override { return data; }

    QVector<Range> requests;
    QVector<Trend::TrendPoint> data;
};

enum Offset
{
    Conc = 0,
    Species,
    Units,
    Tau,
    TauStd,
    TauZero,
    TauZeroStd,
    LaserCurrent,
    LaserTemp,
    Threshold,
    Opmode,
    Gas,
    LaserAlarm,
    PressureAlarm,
    RdAlarm,
    TempAlarm,
    RefcellAlarm,
    DetectorAlarm,
    UserAlarm1,
    UserAlarm2,
    Level1,
    Level2,
    LockCode,
    ReactorUsed,
    SwitchToPpm,
    FitUsed,
    FitModeEnabled,
    CertificateExpired,
    ConcWarning,
    OffsetCount
};

/// What a quiet analyzer in measure mode answers, by offset.
QVector<QJsonValue> quietAnalyzer()
{
    QVector<QJsonValue> values(OffsetCount, false);
    values[Conc] = 5.25;
    values[Species] = "H2O";
    values[Units] = "volume";
    values[Tau] = 12.34;
    values[TauStd] = 0.56;
    values[TauZero] = 13.0;
    values[TauZeroStd] = 0.04;
    values[LaserCurrent] = 50.26;
    values[LaserTemp] = 25.456;
    values[Threshold] = 300.4;
    values[Opmode] = 8;
    values[Gas] = "N2";
    values[Level1] = 100.0;
    values[Level2] = 200.0;
    values[SwitchToPpm] = 1000.0;
    return values;
}

using Overrides = QMap<int, QJsonValue>;

Analyzer::Response reply(int id, const QJsonValue& result)
{
    QJsonObject json{{"id", id}};
    if (!result.isUndefined())
        json.insert("result", result);
    return Analyzer::Response(json);
}

/// Answers one poll the way the server does: every polled request, in id order.
/// The texts a chart view draws (axis titles and labels), as drawn.
QStringList drawnTexts(QChartView* view)
{
    QStringList texts;
    for (QGraphicsItem* item : view->scene()->items()) {
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            texts.append(text->toPlainText());
    }
    return texts;
}

void answerPoll(HomeWindow& home, const Overrides& overrides = {})
{
    QVector<QJsonValue> values = quietAnalyzer();
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        values[it.key()] = it.value();
    for (int offset = 0; offset < OffsetCount; ++offset) {
        if (offset != LockCode)
            home.handleResponse(reply(home.firstRequestId() + offset, values[offset]));
    }
}

/// Two polls, so values that arrive after the alarm rebuild take effect too.
void answerTwoPolls(HomeWindow& home, const Overrides& overrides = {})
{
    answerPoll(home, overrides);
    answerPoll(home, overrides);
}

bool showsLamp(QLabel* lamp, const QString& image)
{
    return lamp->pixmap(Qt::ReturnByValue).toImage() == QPixmap(image).toImage();
}

QStringList listTexts(QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

template <typename T> T* child(QWidget& parent, const char* name)
{
    auto* widget = parent.findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

/// Counts the paint events of a widget and everything in it.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* root)
    {
        root->installEventFilter(this);
        for (QWidget* widget : root->findChildren<QWidget*>())
            widget->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted.append(watched->objectName());
        return false;
    }
    QStringList painted;
};

/// Enters a code on the keypad as the controller would deliver it.
void enterLockCode(HomeWindow& home, const QJsonArray& typed)
{
    Analyzer::Request captured;
    bool asked = false;
    auto connection = QObject::connect(&home, &HomeWindow::showKeyboard,
                                       [&](const QString& label, Analyzer::Request& request) {
                                           QCOMPARE(label, QStringLiteral("Enter unlock code:"));
                                           captured = request;
                                           asked = true;
                                       });
    QTest::mouseClick(child<QPushButton>(home, "pushButtonLock"), Qt::LeftButton);
    QObject::disconnect(connection);
    QVERIFY(asked);
    QVERIFY(captured.isGuiOnly());
    QCOMPARE(captured.id(), home.firstRequestId() + LockCode);
    captured.setParams(typed);
    home.handleResponse(Analyzer::Response(captured));
}

} // namespace

class tst_HomeWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void requestTable_data();
    void requestTable();
    void nothingReadShowsNoReading();
    void symbolSaysTheValueIsNoMeasurement_data();
    void symbolSaysTheValueIsNoMeasurement();
    void concentration_data();
    void concentration();
    void unitSelection();
    void serverTextIsEscaped();
    void opmodeTitle_data();
    void opmodeTitle();
    void alarms_data();
    void alarms();
    void certificateItemOpensReminder();
    void secondaryValues_data();
    void secondaryValues();
    void errorRepliesChangeNothing();
    void lock_data();
    void lock();
    void lockSurvivesRestart();
    void navigation_data();
    void navigation();
    void miniPlotWindow_data();
    void miniPlotWindow();
    void miniPlotScale_data();
    void miniPlotScale();
    void miniTrendFromRemoteHistory();
    void sameTickPaintsNothing();
    void staleWithTheLinkDown();
    void staleWhenNotRefreshed();
    void screenshots();

private:
    std::unique_ptr<TestSupport::IsolatedHome> m_home;
};

void tst_HomeWindow::initTestCase()
{
    qRegisterMetaType<WindowType>();
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalis"));
    QCoreApplication::setApplicationName(QStringLiteral("VireoGUI"));
}

void tst_HomeWindow::init()
{
    // The lock state goes to a fresh store per test, never the panel's own.
    m_home = std::make_unique<TestSupport::IsolatedHome>();
}

void tst_HomeWindow::cleanup()
{
    m_home.reset();
}

void tst_HomeWindow::nothingReadShowsNoReading()
{
    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    const auto text = [&home](const char* name) {
        return home.findChild<QLabel*>(QLatin1String(name))->text();
    };
    // No digits, no names until the analyzer has said them.
    QCOMPARE(text("concLabel"), HomeWindow::noValueText());
    QVERIFY(!text("concLabel").contains(QRegularExpression(QStringLiteral("\\d"))));
    QCOMPARE(text("speciesLabel"), QString());
    QCOMPARE(text("gasLabel"), QString());
    QVERIFY(home.findChild<QLabel*>(QStringLiteral("label_4"))->isHidden());

    // The species alone: still no "in" beside nothing.
    home.handleResponse(reply(home.firstRequestId() + Species, "H2O"));
    QVERIFY(home.findChild<QLabel*>(QStringLiteral("label_4"))->isHidden());
    answerPoll(home);
    QCOMPARE(text("concLabel"), QStringLiteral("5.250"));
    QCOMPARE(text("gasLabel"), QStringLiteral("N<sub>2</sub>"));
    QVERIFY(!home.findChild<QLabel*>(QStringLiteral("label_4"))->isHidden());
}

void tst_HomeWindow::symbolSaysTheValueIsNoMeasurement_data()
{
    QTest::addColumn<Analyzer::StatusClass>("statusClass");
    QTest::addColumn<bool>("symbol");
    QTest::newRow("failure") << Analyzer::StatusClass::Failure << true;
    QTest::newRow("function check") << Analyzer::StatusClass::FunctionCheck << true;
    QTest::newRow("uncertain") << Analyzer::StatusClass::Uncertain << false;
    QTest::newRow("maintenance required") << Analyzer::StatusClass::MaintenanceRequired << false;
    QTest::newRow("normal") << Analyzer::StatusClass::Normal << false;
}

void tst_HomeWindow::symbolSaysTheValueIsNoMeasurement()
{
    QFETCH(Analyzer::StatusClass, statusClass);
    QFETCH(bool, symbol);
    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    answerPoll(home);
    auto* value = home.findChild<QLabel*>(QStringLiteral("concLabel"));
    auto* beside = home.findChild<QLabel*>(QStringLiteral("concClassLabel"));
    const QRect before = value->geometry();
    home.setStatusClass(statusClass);
    const QImage shown = beside->pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(!shown.isNull(), symbol);
    if (symbol) {
        QCOMPARE(shown, StatusBadge::classSymbol(statusClass, shown.width()).toImage());
        QCOMPARE(beside->toolTip(), Analyzer::statusClassName(statusClass));
    }
    // The value keeps its place whether the symbol is there or not.
    QCOMPARE(value->geometry(), before);
    QCOMPARE(value->text(), QStringLiteral("5.250"));
}

void tst_HomeWindow::requestTable_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("method"); // empty: answered by the panel itself, never polled

    const char* methods[OffsetCount] = {"conc",
                                        "species",
                                        "units",
                                        "tau",
                                        "tau_std",
                                        "tau_zero",
                                        "tau_zero_std",
                                        "get_customer_laser_current",
                                        "get_customer_laser_temperature",
                                        "trigger_threshold",
                                        "opmode",
                                        "current_gas",
                                        "laser_alarm_active",
                                        "pressure_alarm_active",
                                        "rd_alarm_active",
                                        "temp_alarm_active",
                                        "refcell_alarm_active",
                                        "detector_temperature_alarm_active",
                                        "user_alarm_1_active",
                                        "user_alarm_2_active",
                                        "user_alarm_1_level",
                                        "user_alarm_2_level",
                                        "",
                                        "reactor_used",
                                        "switch_to_ppm",
                                        "fit_used",
                                        "fit_mode_enabled",
                                        "calibration_certificate_expired",
                                        "conc_warning_alarm_active"};
    for (int offset = 0; offset < OffsetCount; ++offset)
        QTest::addRow("%d %s", offset, methods[offset])
            << offset << QString::fromLatin1(methods[offset]);
}

void tst_HomeWindow::requestTable()
{
    QFETCH(int, offset);
    QFETCH(QString, method);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(10);
    QCOMPARE(home.firstRequestId(), 10);
    QCOMPARE(home.lastRequestId(), 10 + OffsetCount - 1);

    // The poll holds every server request once, in offset order, without params.
    const QJsonArray polled = home.updateRequests();
    QCOMPARE(polled.size(), OffsetCount - 1);
    QJsonObject expected{{"jsonrpc", "2.0"}, {"id", 10 + offset}, {"method", method}};
    if (method.isEmpty()) {
        for (const QJsonValue& request : polled)
            QVERIFY(request["id"].toInt() != 10 + offset);
        // The lock code request is the one the lock button hands to the keypad.
        Analyzer::Request lock;
        const auto connection =
            connect(&home, &HomeWindow::showKeyboard,
                    [&lock](const QString&, Analyzer::Request& request) { lock = request; });
        QTest::mouseClick(child<QPushButton>(home, "pushButtonLock"), Qt::LeftButton);
        disconnect(connection);
        QCOMPARE(lock.json(),
                 (QJsonObject{{"jsonrpc", "2.0"}, {"id", 10 + offset}, {"GUIonly", "home"}}));
        return;
    }
    QCOMPARE(polled.at(offset < LockCode ? offset : offset - 1).toObject(), expected);
}

void tst_HomeWindow::concentration_data()
{
    QTest::addColumn<Overrides>("replies");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("units");

    QTest::newRow("ppb") << Overrides{{Conc, 123.456}} << "123.4"
                         << "PPBv";
    QTest::newRow("ppb just below the default level") << Overrides{{Conc, 999.9}} << "999.9"
                                                      << "PPBv";
    QTest::newRow("ppm at the default level") << Overrides{{Conc, 1000.0}} << "1.000"
                                              << "PPMv";
    QTest::newRow("ppm above the default level") << Overrides{{Conc, 1500.0}} << "1.500"
                                                 << "PPMv";
    QTest::newRow("level from the analyzer")
        << Overrides{{Conc, 1500.0}, {SwitchToPpm, 5000.0}} << "1500"
        << "PPBv";
    QTest::newRow("weight ppm") << Overrides{{Conc, 2500.0}, {Units, "weight"}} << "2.500"
                                << "PPMw";
    QTest::newRow("dew point") << Overrides{{Conc, -40.0}, {Units, "dewpointc"}} << "-40.00"
                               << "C";
    QTest::newRow("ring-down alarm reads OVER") << Overrides{{Conc, 5.0}, {RdAlarm, true}} << "OVER"
                                                << "PPBv";
    QTest::newRow("no result shows nothing") << Overrides{{Conc, QJsonValue::Undefined}} << ""
                                             << "PPBv";
}

void tst_HomeWindow::concentration()
{
    QFETCH(Overrides, replies);
    QFETCH(QString, text);
    QFETCH(QString, units);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    answerTwoPolls(home, replies);
    QCOMPARE(child<QLabel>(home, "concLabel")->text(), text);
    QCOMPARE(child<QLabel>(home, "unitsLabel")->text(), units);
}

void tst_HomeWindow::unitSelection()
{
    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    auto* chartView = child<QChartView>(home, "chartView");
    auto* valueAxis = qobject_cast<QValueAxis*>(chartView->chart()->axes(Qt::Vertical).value(0));
    QVERIFY(valueAxis);

    answerPoll(home, {{Units, "weight"}});
    QCOMPARE(child<QLabel>(home, "unitsLabel")->text(), QStringLiteral("PPBw"));
    QCOMPARE(valueAxis->titleText(), QStringLiteral("PPBw"));

    // Keys are case-sensitive; an unknown key changes nothing.
    answerPoll(home, {{Units, "Volume"}});
    QCOMPARE(child<QLabel>(home, "unitsLabel")->text(), QStringLiteral("PPBw"));
    answerPoll(home, {{Units, "dewpointk"}});
    QCOMPARE(valueAxis->titleText(), QStringLiteral("K"));

    // The next history request reads the column of the selected unit.
    home.moveMiniPlotXAxis();
    QCOMPARE(history.requests.last().unitKey, QStringLiteral("dewpointk"));
}

void tst_HomeWindow::serverTextIsEscaped()
{
    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    answerPoll(home, {{Species, "<b>x</b>"}, {Gas, "CO2<img src=a>"}});
    auto* species = child<QLabel>(home, "speciesLabel");
    auto* gas = child<QLabel>(home, "gasLabel");
    QCOMPARE(species->text(), QStringLiteral("&lt;b&gt;x&lt;/b&gt;"));
    QCOMPARE(gas->text(), QStringLiteral("CO<sub>2</sub>&lt;img src=a&gt;"));
    // Shown as rich text even without digits, so the entities render as the characters.
    QCOMPARE(species->textFormat(), Qt::RichText);
    QCOMPARE(gas->textFormat(), Qt::RichText);
}

void tst_HomeWindow::opmodeTitle_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("fitUsed");
    QTest::addColumn<bool>("fitModeEnabled");
    QTest::addColumn<QString>("title");

    QTest::newRow("measure") << 8 << false << true << "MEASURE MODE";
    QTest::newRow("measure, fit") << 8 << true << true << "MEASURE MODE - FIT";
    QTest::newRow("measure, fact") << 8 << true << false << "MEASURE MODE - FACT";
    QTest::newRow("service ignores fit") << 2 << true << true << "SERVICE MODE";
    QTest::newRow("shutdown") << 0 << false << false << "SHUTDOWN";
    QTest::newRow("last code") << 13 << false << false << "CAVITY SCAN: TEMPERATURE";
    QTest::newRow("14 leaves the title") << 14 << false << false << "Mode";
    QTest::newRow("-1 leaves the title") << -1 << false << false << "Mode";
}

void tst_HomeWindow::opmodeTitle()
{
    QFETCH(int, code);
    QFETCH(bool, fitUsed);
    QFETCH(bool, fitModeEnabled);
    QFETCH(QString, title);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    QSignalSpy opmodes(&home, &HomeWindow::inOpmode);
    answerTwoPolls(home, {{Opmode, code}, {FitUsed, fitUsed}, {FitModeEnabled, fitModeEnabled}});
    QCOMPARE(child<QGroupBox>(home, "opmodeGroupBox")->title(), title);
    QCOMPARE(opmodes.size(), 2);
    QCOMPARE(opmodes.last().at(0).toInt(), code);
}

void tst_HomeWindow::alarms_data()
{
    QTest::addColumn<Overrides>("replies");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("systemRed");
    QTest::addColumn<bool>("user1Red");
    QTest::addColumn<bool>("user2Red");
    QTest::addColumn<int>("page");

    QTest::newRow("all quiet") << Overrides{} << QStringList{"System OK"} << false << false << false
                               << 1;
    QTest::newRow("certificate only")
        << Overrides{{CertificateExpired, true}} << QStringList{"System OK", "Perf. Verification"}
        << false << false << false << 0;
    QTest::newRow("ring-down") << Overrides{{RdAlarm, true}} << QStringList{"Ringdown Alarm"}
                               << true << false << false << 0;
    QTest::newRow("pressure and temperature")
        << Overrides{{PressureAlarm, true}, {TempAlarm, true}}
        << QStringList{"Pressure Alarm", "Temperature Alarm"} << true << false << false << 0;
    QTest::newRow("pressure and temperature with reactor")
        << Overrides{{PressureAlarm, true}, {TempAlarm, true}, {ReactorUsed, true}}
        << QStringList{"Utility Gas Pressure", "Reactor Temperature"} << true << false << false
        << 0;
    QTest::newRow("every system alarm in order")
        << Overrides{{ConcWarning, true}, {DetectorAlarm, true}, {RefcellAlarm, true},
                     {TempAlarm, true},   {RdAlarm, true},       {PressureAlarm, true},
                     {LaserAlarm, true}}
        << QStringList{"Laser Alarm",       "Pressure Alarm", "Ringdown Alarm",
                       "Temperature Alarm", "Reference Cell", "Detector Temperature",
                       "Conc. Warning"}
        << true << false << false << 0;
    QTest::newRow("user alarm 1 in ppm")
        << Overrides{{UserAlarm1, true}, {Level1, 25000.0}}
        << QStringList{"System OK", "Conc exceeds 25 ppm"} << false << true << false << 1;
    QTest::newRow("user alarm 2 in ppb")
        << Overrides{{UserAlarm2, true}, {Level2, 950.5}}
        << QStringList{"System OK", "Conc exceeds 950.5 ppb"} << false << false << true << 1;
    QTest::newRow("user alarm 1 without a level")
        << Overrides{{UserAlarm1, true}, {Level1, QJsonValue::Null}}
        << QStringList{"System OK", "Conc exceeds "} << false << true << false << 1;
    QTest::newRow("both user alarms, certificate and a system alarm")
        << Overrides{{UserAlarm1, true}, {UserAlarm2, true},         {Level1, 10000.0},
                     {Level2, 9999.5},   {CertificateExpired, true}, {LaserAlarm, true}}
        << QStringList{"Laser Alarm", "Conc exceeds 10 ppm", "Conc exceeds 9999.5 ppb",
                       "Perf. Verification"}
        << true << true << true << 0;
}

void tst_HomeWindow::alarms()
{
    QFETCH(Overrides, replies);
    QFETCH(QStringList, items);
    QFETCH(bool, systemRed);
    QFETCH(bool, user1Red);
    QFETCH(bool, user2Red);
    QFETCH(int, page);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    auto* stack = child<QStackedWidget>(home, "stackedWidget");
    QCOMPARE(stack->currentIndex(), 1);
    answerTwoPolls(home, replies);

    QCOMPARE(listTexts(child<QListWidget>(home, "alarmsListWidget")), items);
    const auto lamp = [](bool red) {
        return red ? QStringLiteral(":/images/RedLight.png")
                   : QStringLiteral(":/images/GreenLight.png");
    };
    QVERIFY(showsLamp(child<QLabel>(home, "systemAlarmLabel"), lamp(systemRed)));
    QVERIFY(showsLamp(child<QLabel>(home, "concAlarmLabel_1"), lamp(user1Red)));
    QVERIFY(showsLamp(child<QLabel>(home, "concAlarmLabel_2"), lamp(user2Red)));
    QCOMPARE(stack->currentIndex(), page);

    // The display button flips the page; while a system alarm or the certificate
    // is up, the next poll brings the details back, otherwise the flip stays.
    QTest::mouseClick(child<QPushButton>(home, "pushButtonDisplay"), Qt::LeftButton);
    QCOMPARE(stack->currentIndex(), 1 - page);
    answerPoll(home, replies);
    QCOMPARE(stack->currentIndex(), 0);
}

void tst_HomeWindow::certificateItemOpensReminder()
{
    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    QSignalSpy pages(&home, &HomeWindow::goToWindow);
    auto* list = child<QListWidget>(home, "alarmsListWidget");

    answerTwoPolls(home);
    emit list->itemClicked(list->item(0));
    QCOMPARE(pages.size(), 0);

    answerTwoPolls(home, {{CertificateExpired, true}});
    emit list->itemClicked(list->item(0)); // any item will do
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.at(0).at(0).value<WindowType>(), CERTIFICATE);
}

void tst_HomeWindow::secondaryValues_data()
{
    QTest::addColumn<Overrides>("replies");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");

    const QString pm = QStringLiteral("\u00B1");
    QTest::newRow("tau") << Overrides{} << "tauLabel"
                         << "12.3" + pm + "0.6";
    QTest::newRow("tau zero") << Overrides{} << "tauELabel"
                              << "13.0" + pm + "0.0";
    QTest::newRow("null tau std blanks RD time")
        << Overrides{{TauStd, QJsonValue::Null}} << "tauLabel"
        << "";
    QTest::newRow("null tau zero std blanks")
        << Overrides{{TauZeroStd, QJsonValue::Null}} << "tauELabel"
        << "";
    QTest::newRow("laser current") << Overrides{} << "laserCurrentLabel"
                                   << "50.3";
    QTest::newRow("laser temperature") << Overrides{} << "laserTempLabel"
                                       << "25.46";
    QTest::newRow("threshold") << Overrides{} << "thresholdLabel"
                               << "300";
    QTest::newRow("missing number shows nothing")
        << Overrides{{Threshold, QJsonValue::Undefined}} << "thresholdLabel"
        << "";
}

void tst_HomeWindow::secondaryValues()
{
    QFETCH(Overrides, replies);
    QFETCH(QString, field);
    QFETCH(QString, text);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    answerPoll(home, replies);
    auto* edit = home.findChild<QLineEdit*>(field);
    QVERIFY(edit);
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->text(), text);
}

void tst_HomeWindow::errorRepliesChangeNothing()
{
    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    answerTwoPolls(home, {{RdAlarm, true}});
    QCOMPARE(child<QLabel>(home, "concLabel")->text(), QStringLiteral("OVER"));

    // Every reply of the next poll fails: flags, mode and values stay as they were,
    // and the rebuild still runs from the flags held.
    QSignalSpy opmodes(&home, &HomeWindow::inOpmode);
    const QJsonObject error{{"code", 3}, {"message", "busy"}};
    for (int offset = 0; offset < OffsetCount; ++offset) {
        if (offset != LockCode)
            home.handleResponse(
                Analyzer::Response(QJsonObject{{"id", 2 + offset}, {"error", error}}));
    }
    QCOMPARE(child<QLabel>(home, "concLabel")->text(), QStringLiteral("OVER"));
    QCOMPARE(child<QGroupBox>(home, "opmodeGroupBox")->title(), QStringLiteral("MEASURE MODE"));
    QCOMPARE(child<QLabel>(home, "speciesLabel")->text(), QStringLiteral("H<sub>2</sub>O"));
    QCOMPARE(child<QLineEdit>(home, "laserCurrentLabel")->text(), QStringLiteral("50.3"));
    QCOMPARE(listTexts(child<QListWidget>(home, "alarmsListWidget")),
             QStringList{"Ringdown Alarm"});
    QCOMPARE(opmodes.size(), 0);

    // A mode reply without a number is no mode either.
    for (const QJsonValue& result : {QJsonValue(QJsonValue::Null), QJsonValue("8")})
        home.handleResponse(
            Analyzer::Response(QJsonObject{{"id", 2 + Opmode}, {"result", result}}));
    home.handleResponse(Analyzer::Response(QJsonObject{{"id", 2 + Opmode}}));
    QCOMPARE(child<QGroupBox>(home, "opmodeGroupBox")->title(), QStringLiteral("MEASURE MODE"));
    QCOMPARE(opmodes.size(), 0);
}

void tst_HomeWindow::lock_data()
{
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<bool>("locked");

    QTest::newRow("any number locks") << QList<int>{12} << true;
    QTest::newRow("12 then 12 unlocks") << QList<int>{12, 12} << false;
    QTest::newRow("12 then 13 stays locked") << QList<int>{12, 13} << true;
    QTest::newRow("master 5738") << QList<int>{12, 5738} << false;
    QTest::newRow("master 947") << QList<int>{12, 947} << false;
    QTest::newRow("master 9062") << QList<int>{12, 9062} << false;
    QTest::newRow("unlock then lock with a new code") << QList<int>{12, 12, 40, 12} << true;
}

void tst_HomeWindow::lock()
{
    QFETCH(QList<int>, codes);
    QFETCH(bool, locked);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    for (int code : codes)
        enterLockCode(home, QJsonArray{code});

    for (const char* name : {"pushButtonDisplay", "pushButtonMode", "pushButtonRDGraph",
                             "pushButtonSettings", "pushButtonTrend"})
        QCOMPARE(child<QPushButton>(home, name)->isEnabled(), !locked);
    QVERIFY(child<QPushButton>(home, "pushButtonLock")->isEnabled());
    const QString icon =
        locked ? QStringLiteral(":/images/Unlock.png") : QStringLiteral(":/images/Lock.png");
    QCOMPARE(child<QPushButton>(home, "pushButtonLock")->icon().pixmap(80).toImage(),
             QIcon(icon).pixmap(80).toImage());

    QSettings settings;
    QCOMPARE(settings.value("locked").toBool(), locked);

    // An empty entry (OK on a cleared keypad) changes nothing.
    enterLockCode(home, QJsonArray{});
    QCOMPARE(QSettings().value("locked").toBool(), locked);
    QCOMPARE(child<QPushButton>(home, "pushButtonMode")->isEnabled(), !locked);
}

void tst_HomeWindow::lockSurvivesRestart()
{
    FakeHistory history;
    {
        HomeWindow home(&history, nullptr);
        home.assignRequestIds(2);
        enterLockCode(home, QJsonArray{77});
    }
    QCOMPARE(QSettings().value("unlockCode").toInt(), 77);
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    QVERIFY(!child<QPushButton>(home, "pushButtonSettings")->isEnabled());
    enterLockCode(home, QJsonArray{76});
    QVERIFY(!child<QPushButton>(home, "pushButtonSettings")->isEnabled());
    enterLockCode(home, QJsonArray{77});
    QVERIFY(child<QPushButton>(home, "pushButtonSettings")->isEnabled());
}

void tst_HomeWindow::navigation_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("page");

    QTest::newRow("mode") << "pushButtonMode" << int(MODE);
    QTest::newRow("ring-down graph") << "pushButtonRDGraph" << int(RD_GRAPH);
    QTest::newRow("settings") << "pushButtonSettings" << int(SETTINGS);
    QTest::newRow("trend") << "pushButtonTrend" << int(TREND);
}

void tst_HomeWindow::navigation()
{
    QFETCH(QString, button);
    QFETCH(int, page);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    QSignalSpy pages(&home, &HomeWindow::goToWindow);
    QTest::mouseClick(home.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(int(pages.at(0).at(0).value<WindowType>()), page);

    auto* stack = child<QStackedWidget>(home, "stackedWidget");
    QTest::mouseClick(child<QPushButton>(home, "pushButtonDisplay"), Qt::LeftButton);
    QCOMPARE(stack->currentIndex(), 0);
    QTest::mouseClick(child<QPushButton>(home, "pushButtonDisplay"), Qt::LeftButton);
    QCOMPARE(stack->currentIndex(), 1);
}

void tst_HomeWindow::miniPlotWindow_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<qint64>("spanSeconds");
    QTest::addColumn<QString>("title");

    QTest::newRow("week spans six days") << 0 << qint64(6 * 86400) << "1 Week";
    QTest::newRow("day") << 1 << qint64(86400) << "1 Day";
    QTest::newRow("four hours") << 2 << qint64(14400) << "4 Hours";
    QTest::newRow("hour") << 3 << qint64(3600) << "1 Hour";
}

void tst_HomeWindow::miniPlotWindow()
{
    QFETCH(int, index);
    QFETCH(qint64, spanSeconds);
    QFETCH(QString, title);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    // Construction asks for the default day window at once.
    QCOMPARE(history.requests.size(), 1);
    QCOMPARE(home.miniPlotIntervalIndex(), 1);

    const QDateTime before = QDateTime::currentDateTime();
    home.setMiniPlotScale(index, 0, 1);
    QCOMPARE(history.requests.size(), index == 1 ? 1 : 2);
    if (index == 1)
        home.moveMiniPlotXAxis();
    const QDateTime after = QDateTime::currentDateTime();

    const FakeHistory::Range range = history.requests.last();
    QVERIFY(range.end >= before.addSecs(120) && range.end <= after.addSecs(120));
    QCOMPARE(range.start.secsTo(range.end), spanSeconds);
    QCOMPARE(range.unitKey, QStringLiteral("volume"));

    auto* dateAxis = qobject_cast<QDateTimeAxis*>(
        child<QChartView>(home, "chartView")->chart()->axes(Qt::Horizontal).value(0));
    QVERIFY(dateAxis);
    QCOMPARE(dateAxis->titleText(), title);
    QCOMPARE(dateAxis->min(), range.start);
    QCOMPARE(dateAxis->max(), range.end);
    // Under the plot the operator reads the whole title, not "…".
    home.show();
    QVERIFY(QTest::qWaitForWindowExposed(&home));
    QTRY_VERIFY2(drawnTexts(child<QChartView>(home, "chartView")).contains(title),
                 qPrintable(drawnTexts(child<QChartView>(home, "chartView")).join(", ")));

    // An index the trend screen does not have keeps the start and the title.
    home.setMiniPlotScale(9, 0, 1);
    QCOMPARE(history.requests.last().start, range.start);
    QCOMPARE(dateAxis->titleText(), title);
}

void tst_HomeWindow::miniPlotScale_data()
{
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<QString>("format");

    QTest::newRow("span below 1") << 0.1 << 0.9 << "%5.3f";
    QTest::newRow("span below 10") << 0.0 << 9.5 << "%5.2f";
    QTest::newRow("span below 100") << -10.0 << 50.0 << "%5.1f";
    QTest::newRow("span 100 and more") << 0.0 << 100.0 << "%5.0f";
}

void tst_HomeWindow::miniPlotScale()
{
    QFETCH(double, yMin);
    QFETCH(double, yMax);
    QFETCH(QString, format);

    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.setMiniPlotScale(1, yMin, yMax);
    auto* valueAxis = qobject_cast<QValueAxis*>(
        child<QChartView>(home, "chartView")->chart()->axes(Qt::Vertical).value(0));
    QCOMPARE(valueAxis->min(), yMin);
    QCOMPARE(valueAxis->max(), yMax);
    QCOMPARE(valueAxis->labelFormat(), format);
    QCOMPARE(valueAxis->tickCount(), 3);
    QCOMPARE(home.miniPlotMinimum(), yMin);
    QCOMPARE(home.miniPlotMaximum(), yMax);
    // Same interval: no new history request.
    QCOMPARE(history.requests.size(), 1);
}

void tst_HomeWindow::miniTrendFromRemoteHistory()
{
    Trend::RemoteHistory history(nullptr);
    HomeWindow home(&history, nullptr);
    auto* chart = child<QChartView>(home, "chartView")->chart();
    auto* normal = qobject_cast<QScatterSeries*>(chart->series().value(0));
    auto* alarm = qobject_cast<QScatterSeries*>(chart->series().value(1));
    QVERIFY(normal && alarm);

    QSignalSpy sent(&history, &Trend::RemoteHistory::jsonToSend);
    history.assignRequestIds(50);
    home.moveMiniPlotXAxis(); // what the reply below answers
    QCOMPARE(sent.size(), 1);
    // Samples inside the window asked for: the source keeps no others.
    const QDateTime t0 = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() - 3600);
    const auto text = [&t0](int seconds) {
        return t0.addSecs(seconds).toString("yyyy-MM-dd HH:mm:ss");
    };
    history.handleResponse(Analyzer::Response(QJsonObject{
        {"id", 50},
        {"result", QJsonArray{QJsonArray{text(0), 1.5, false}, QJsonArray{text(10), 2.5, true},
                              QJsonArray{text(20), 3.5, false}}}}));
    QCOMPARE(normal->count(), 3);
    QCOMPARE(alarm->count(), 1);
    QCOMPARE(alarm->at(0), QPointF(t0.addSecs(10).toMSecsSinceEpoch(), 2.5));
    QCOMPARE(normal->at(2), QPointF(t0.addSecs(20).toMSecsSinceEpoch(), 3.5));

    // A new range clears the source but leaves the plot until data arrives.
    home.moveMiniPlotXAxis();
    QCOMPARE(sent.size(), 2);
    QCOMPARE(normal->count(), 3);
    // A new interval clears the plot itself.
    home.setMiniPlotScale(3, 0, 1);
    QCOMPARE(normal->count(), 0);
    QCOMPARE(sent.size(), 3);
}

void tst_HomeWindow::sameTickPaintsNothing()
{
    // Every poll brings every value again: what did not change is not drawn again.
    FakeHistory history;
    history.data = {{QDateTime::currentMSecsSinceEpoch() - 60000, 5.0, false},
                    {QDateTime::currentMSecsSinceEpoch() - 30000, 6.0, true}};
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    home.resize(636, 450);
    home.show();
    QVERIFY(QTest::qWaitForWindowExposed(&home));
    const Overrides alarm{{UserAlarm1, true}, {LaserAlarm, true}};
    answerTwoPolls(home, alarm);
    home.updateMiniTrend(false);
    QTest::qWait(50);

    PaintCounter counter(&home);
    answerPoll(home, alarm);
    home.updateMiniTrend(false);
    QTest::qWait(50);
    QCOMPARE(counter.painted, QStringList());

    answerPoll(home, {{UserAlarm1, true}, {LaserAlarm, true}, {Conc, 6.5}});
    QTRY_VERIFY(counter.painted.contains("concLabel"));
    QVERIFY(!counter.painted.contains("concAlarmLabel_1"));
    QCOMPARE(child<QLabel>(home, "concLabel")->text(), QStringLiteral("6.500"));
}

void tst_HomeWindow::staleWithTheLinkDown()
{
    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    auto* conc = child<QLabel>(home, "concLabel");
    auto* concAge = child<QLabel>(home, "concAgeLabel");
    auto* alarmsAge = child<QLabel>(home, "alarmsAgeLabel");
    const QList<QLabel*> lamps = {child<QLabel>(home, "systemAlarmLabel"),
                                  child<QLabel>(home, "concAlarmLabel_1"),
                                  child<QLabel>(home, "concAlarmLabel_2")};
    const auto grey = [](QLabel* label) {
        return label->palette().color(QPalette::WindowText) == StaleMarker::staleColour();
    };
    // Before the first reply the form's placeholder is no reading.
    QVERIFY(grey(conc));
    QCOMPARE(concAge->text(), QStringLiteral("no reply yet"));
    for (QLabel* lamp : lamps)
        QVERIFY(showsLamp(lamp, ":/images/GrayLight.png"));

    answerPoll(home, {{UserAlarm1, true}});
    QVERIFY(!grey(conc));
    QCOMPARE(concAge->text(), QString());
    QCOMPARE(alarmsAge->text(), QString());
    QVERIFY(showsLamp(lamps[0], ":/images/GreenLight.png"));
    QVERIFY(showsLamp(lamps[1], ":/images/RedLight.png"));

    home.connectionChanged(true);
    QVERIFY(grey(conc));
    QCOMPARE(conc->text(), QStringLiteral("5.250")); // the last value stays, in grey
    QCOMPARE(concAge->text(), QStringLiteral("0 s ago"));
    QCOMPARE(alarmsAge->text(), QStringLiteral("0 s ago"));
    for (QLabel* lamp : lamps)
        QVERIFY(showsLamp(lamp, ":/images/GrayLight.png"));
    // A poll that ends in errors refreshes nothing: still stale.
    for (int offset = 0; offset < OffsetCount; ++offset)
        home.handleResponse(Analyzer::Response(TestSupport::errorJson(2 + offset)));
    QVERIFY(grey(conc));
    QVERIFY(showsLamp(lamps[1], ":/images/GrayLight.png"));

    // The restored link alone proves nothing; the first replies make them live.
    home.connectionChanged(false);
    answerPoll(home, {{UserAlarm1, true}});
    QVERIFY(!grey(conc));
    QCOMPARE(concAge->text(), QString());
    QVERIFY(showsLamp(lamps[1], ":/images/RedLight.png"));
    QVERIFY(!home.lampMarker()->isStale());
}

void tst_HomeWindow::staleWhenNotRefreshed()
{
    FakeHistory history;
    HomeWindow home(&history, nullptr);
    home.assignRequestIds(2);
    home.concentrationMarker()->setStaleAfter(200);
    home.lampMarker()->setStaleAfter(200);
    answerPoll(home);
    QVERIFY(!home.concentrationMarker()->isStale());
    QTRY_VERIFY(home.concentrationMarker()->isStale() && home.lampMarker()->isStale());
    QVERIFY(showsLamp(child<QLabel>(home, "systemAlarmLabel"), ":/images/GrayLight.png"));
    answerPoll(home);
    QVERIFY(!home.concentrationMarker()->isStale());
    QVERIFY(showsLamp(child<QLabel>(home, "systemAlarmLabel"), ":/images/GreenLight.png"));
}

void tst_HomeWindow::screenshots()
{
    // In the panel's own look (style sheet and font), as the operator sees it.
    setUpApplication(*qApp);
    Trend::RemoteHistory history(nullptr);
    history.assignRequestIds(50);
    HomeWindow home(&history, nullptr);
    home.resize(636, 450);
    home.assignRequestIds(2);
    answerTwoPolls(home, {{Conc, 1234.567},
                          {Units, "volume"},
                          {SwitchToPpm, 5000.0},
                          {UserAlarm1, true},
                          {Level1, 25000.0},
                          {PressureAlarm, true},
                          {FitUsed, true},
                          {FitModeEnabled, true}});
    home.show();
    QVERIFY(QTest::qWaitForWindowExposed(&home));
    LOOKS_SOUND(&home, QStringLiteral("home-standalone-details"));

    QJsonArray samples;
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < 200; ++i)
        samples.append(QJsonArray{now.addSecs(-400 * i).toString("yyyy-MM-dd HH:mm:ss"),
                                  0.5 + 0.3 * std::sin(i / 10.0), i % 25 == 0});
    history.handleResponse(Analyzer::Response(QJsonObject{{"id", 50}, {"result", samples}}));
    answerTwoPolls(home, {{Conc, 5.1239}});
    child<QStackedWidget>(home, "stackedWidget")->setCurrentIndex(1);
    LOOKS_SOUND(&home, QStringLiteral("home-standalone-chart"));
    home.connectionChanged(true);
    LOOKS_SOUND(&home, QStringLiteral("home-standalone-stale"));
}

QTEST_MAIN(tst_HomeWindow)
#include "tst_homewindow.moc"
