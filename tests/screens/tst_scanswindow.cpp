// The scans screen: its request table, the first poll's range requests, the
// range pre-fill, keypad entry, the scanning confirmation and what a scan sends.
#include "analyzer/response.h"
#include "screens/scanswindow.h"
#include "support/screencheck.h"
#include "support/testsupport.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using TestSupport::child;

namespace {

constexpr int kFirstId = 100;
enum Offset
{
    Opmode,
    CavityCurrent,
    CavityTemp,
    RefcellCurrent,
    RefcellTemp,
    FirstKeypad,
    Temperature = 27,
    Current
};

const QStringList kKeypadFields = {
    "cavityScanTempStartLineEdit",     "cavityScanTempStopLineEdit",
    "cavityScanTempStepLineEdit",      "cavityScanTempDelayLineEdit",
    "cavityScanTempCurrentLineEdit",   "cavityScanTempRDLineEdit",
    "cavityScanCurrentStartLineEdit",  "cavityScanCurrentStopLineEdit",
    "cavityScanCurrentStepLineEdit",   "cavityScanCurrentDelayLineEdit",
    "cavityScanCurrentTempLineEdit",   "cavityScanCurrentRDLineEdit",
    "refcellScanTempStartLineEdit",    "refcellScanTempStopLineEdit",
    "refcellScanTempStepLineEdit",     "refcellScanTempDelayLineEdit",
    "refcellScanTempCurrentLineEdit",  "refcellScanCurrentStartLineEdit",
    "refcellScanCurrentStopLineEdit",  "refcellScanCurrentStepLineEdit",
    "refcellScanCurrentDelayLineEdit", "refcellScanCurrentTempLineEdit"};

void answer(ScansWindow& window, int offset, const QJsonValue& result)
{
    window.handleResponse(Analyzer::Response(TestSupport::replyJson(kFirstId + offset, result)));
}

/// Presses a scan button and returns what went out (an empty request when nothing did).
Analyzer::Request pressScan(ScansWindow& window, const QString& button)
{
    QSignalSpy sent(&window, &ScansWindow::jsonToSend);
    QTest::mouseClick(child<QPushButton>(&window, button), Qt::LeftButton);
    return sent.isEmpty() ? Analyzer::Request() : sent.at(0).at(0).value<Analyzer::Request>();
}

/// Touches a line edit; returns the keypad prompt and the request handed over.
QPair<QString, Analyzer::Request> touchField(ScansWindow& window, const QString& field)
{
    QPair<QString, Analyzer::Request> asked;
    auto connection = QObject::connect(&window, &ScansWindow::showKeyboard,
                                       [&](const QString& label, Analyzer::Request& request) {
                                           asked = {label, request};
                                       });
    QTest::mouseClick(child<QLineEdit>(&window, field), Qt::LeftButton);
    QObject::disconnect(connection);
    return asked;
}

} // namespace

class tst_ScansWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<WindowType>();
        qRegisterMetaType<Analyzer::Request>();
    }
    void requestTable_data();
    void requestTable();
    void firstPollFetchesRanges();
    void ranges_data();
    void ranges();
    void keypadEntry();
    void opmode_data();
    void opmode();
    void scanningConfirmation_data();
    void scanningConfirmation();
    void fieldThatIsNoNumberSendsZero();
    void screenshot();
};

void tst_ScansWindow::requestTable_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("trigger"); // "poll", "first poll", a button or a line edit
    QTest::addColumn<QString>("method");  // empty for the panel's own keypad entries
    QTest::addColumn<QJsonArray>("params");

    QTest::newRow("opmode") << int(Opmode) << "poll"
                            << "opmode" << QJsonArray();
    const QJsonArray cavityTemp{5, 35, 0.5, 0.5, 95, 20};
    const QJsonArray cavityCurrent{90, 99.5, 0.1, 0.2, 20, 20};
    QTest::newRow("cavity_scan_current") << int(CavityCurrent) << "cavityScanCurrentPushButton"
                                         << "cavity_scan_current" << cavityCurrent;
    QTest::newRow("cavity_scan_temperature") << int(CavityTemp) << "cavityScanTempPushButton"
                                             << "cavity_scan_temperature" << cavityTemp;
    QTest::newRow("refcell_scan_current")
        << int(RefcellCurrent) << "refcellScanCurrentPushButton"
        << "refcell_scan_current" << QJsonArray{90, 99.5, 0.1, 0.2, 20};
    QTest::newRow("refcell_scan_temperature")
        << int(RefcellTemp) << "refcellScanTempPushButton"
        << "refcell_scan_temperature" << QJsonArray{5, 35, 0.02, 0.5, 95};
    for (int i = 0; i < kKeypadFields.size(); ++i)
        QTest::newRow(qPrintable(kKeypadFields.at(i)))
            << FirstKeypad + i << kKeypadFields.at(i) << "" << QJsonArray();
    QTest::newRow("measure_temperature") << int(Temperature) << "first poll"
                                         << "measure_temperature" << QJsonArray{1};
    QTest::newRow("measure_current") << int(Current) << "first poll"
                                     << "measure_current" << QJsonArray{1};
}

void tst_ScansWindow::requestTable()
{
    QFETCH(int, offset);
    QFETCH(QString, trigger);
    QFETCH(QString, method);
    QFETCH(QJsonArray, params);

    ScansWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    QCOMPARE(window.firstRequestId(), kFirstId);
    QCOMPARE(window.lastRequestId(), kFirstId + Current);

    QJsonObject request;
    if (trigger.endsWith(QLatin1String("poll"))) {
        for (const QJsonValue& polled : window.updateRequests()) {
            if (polled[QStringLiteral("id")].toInt() == kFirstId + offset)
                request = polled.toObject();
        }
    } else if (trigger.endsWith(QLatin1String("PushButton"))) {
        request = pressScan(window, trigger).json();
    } else {
        const auto asked = touchField(window, trigger);
        QCOMPARE(asked.first, trigger == QLatin1String("cavityScanCurrentDelayLineEdit")
                                  ? QStringLiteral("Enter Current Step Delay")
                                  : QStringLiteral("Enter "));
        request = asked.second.json();
        QVERIFY(asked.second.isGuiOnly());
        QCOMPARE(request.value("GUIonly").toString(), QStringLiteral("scans"));
    }
    QCOMPARE(request.value("id").toInt(), kFirstId + offset);
    QCOMPARE(request.value("method").toString(), method);
    QCOMPARE(request.value("params").toArray(), params);
}

void tst_ScansWindow::firstPollFetchesRanges()
{
    ScansWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    const auto methods = [](const QJsonArray& batch) {
        QStringList names;
        for (const QJsonValue& request : batch)
            names << request[QStringLiteral("method")].toString();
        return names;
    };
    QCOMPARE(methods(window.updateRequests()),
             QStringList({"opmode", "measure_temperature", "measure_current"}));
    QCOMPARE(methods(window.updateRequests()), QStringList({"opmode"}));
    QCOMPARE(methods(window.updateRequests()), QStringList({"opmode"}));
}

void tst_ScansWindow::ranges_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QJsonValue>("reading");
    // start, stop and the fixed value in the other scan group, as both groups show them
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("temperature 10 clamps at 0")
        << int(Temperature) << QJsonValue(10) << QStringList{"0.00", "25.00", "10.00"};
    QTest::newRow("temperature 30 clamps at 40")
        << int(Temperature) << QJsonValue(30) << QStringList{"15.00", "40.00", "30.00"};
    QTest::newRow("temperature 25")
        << int(Temperature) << QJsonValue(25.456) << QStringList{"10.46", "40.00", "25.46"};
    QTest::newRow("current 118 clamps at 120")
        << int(Current) << QJsonValue(118) << QStringList{"113.00", "120.00", "118.00"};
    QTest::newRow("current 3 clamps at 0")
        << int(Current) << QJsonValue(3) << QStringList{"0.00", "8.00", "3.00"};
    QTest::newRow("no number changes nothing")
        << int(Current) << QJsonValue("n/a") << QStringList{"90", "99.5", "95"};
}

void tst_ScansWindow::ranges()
{
    QFETCH(int, offset);
    QFETCH(QJsonValue, reading);
    QFETCH(QStringList, shown);

    ScansWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    answer(window, offset, reading);
    const QString scanned =
        offset == Temperature ? QStringLiteral("Temp") : QStringLiteral("Current");
    const QString fixed =
        offset == Temperature ? QStringLiteral("Current") : QStringLiteral("Temp");
    for (const QString& group : {QStringLiteral("cavityScan"), QStringLiteral("refcellScan")}) {
        const auto text = [&](const QString& field) {
            return child<QLineEdit>(&window, group + field + QStringLiteral("LineEdit"))->text();
        };
        QCOMPARE(text(scanned + "Start"), shown.at(0));
        QCOMPARE(text(scanned + "Stop"), shown.at(1));
        // The other scan holds the laser at the value just read.
        QCOMPARE(text(fixed + scanned), shown.at(2));
    }
    // An error reply changes nothing.
    window.handleResponse(Analyzer::Response(TestSupport::errorJson(kFirstId + offset)));
    QCOMPARE(child<QLineEdit>(&window, "cavityScan" + scanned + "StartLineEdit")->text(),
             shown.at(0));
}

void tst_ScansWindow::keypadEntry()
{
    ScansWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    auto asked = touchField(window, "refcellScanTempStepLineEdit");
    // The keypad delivers the typed number as the entry's own reply.
    asked.second.setParams({0.0123456789});
    window.handleResponse(Analyzer::Response(asked.second));
    auto* field = child<QLineEdit>(&window, "refcellScanTempStepLineEdit");
    QCOMPARE(field->text(), QStringLiteral("0.0123457"));
    QVERIFY(!field->hasFocus());
    asked.second.setParams({});
    window.handleResponse(Analyzer::Response(asked.second));
    QCOMPARE(field->text(), QStringLiteral("0.0123457"));
}

void tst_ScansWindow::opmode_data()
{
    QTest::addColumn<QJsonValue>("mode");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("emitted"); // -1: nothing emitted

    QTest::newRow("measure") << QJsonValue(8) << "MEASURE MODE" << 8;
    QTest::newRow("cavity scan") << QJsonValue(12) << "CAVITY SCAN: CURRENT" << 12;
    QTest::newRow("20 leaves the label") << QJsonValue(20) << "opmode" << 20;
    QTest::newRow("no number is no news") << QJsonValue("x") << "opmode" << -1;
}

void tst_ScansWindow::opmode()
{
    QFETCH(QJsonValue, mode);
    QFETCH(QString, label);
    QFETCH(int, emitted);

    ScansWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    QSignalSpy opmodes(&window, &ScansWindow::inOpmode);
    answer(window, CavityCurrent, mode); // a scan start answers with the mode too
    QCOMPARE(child<QLabel>(&window, "opmodeLabel")->text(), label);
    QCOMPARE(opmodes.size(), emitted < 0 ? 0 : 1);
    if (emitted >= 0)
        QCOMPARE(opmodes.at(0).at(0).toInt(), emitted);
}

void tst_ScansWindow::scanningConfirmation_data()
{
    QTest::addColumn<QList<int>>("modes"); // opmode replies, in order
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("sends");

    QTest::newRow("service mode starts at once") << QList<int>{2} << false << false << true;
    QTest::newRow("20 is no scan") << QList<int>{20} << false << false << true;
    QTest::newRow("a scan, then measure: starts at once")
        << QList<int>{12, 8} << false << false << true;
    for (int scan : {4, 5, 12, 13}) {
        QTest::addRow("scanning %d, OK", scan) << QList<int>{scan} << true << true << true;
        QTest::addRow("scanning %d, Cancel", scan) << QList<int>{scan} << true << false << false;
    }
}

void tst_ScansWindow::scanningConfirmation()
{
    QFETCH(QList<int>, modes);
    QFETCH(bool, asks);
    QFETCH(bool, accept);
    QFETCH(bool, sends);

    ScansWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    for (int mode : modes)
        answer(window, Opmode, mode);
    QString asked;
    TestSupport::onNextModal(
        [&](QWidget* popup) {
            asked = popup->windowTitle() + '|' + child<QLabel>(popup, "textLabel")->text();
            accept ? qobject_cast<QDialog*>(popup)->accept()
                   : qobject_cast<QDialog*>(popup)->reject();
        },
        asks ? 5000 : 0);
    const Analyzer::Request sent = pressScan(window, "cavityScanTempPushButton");
    QCOMPARE(asked,
             asks ? QStringLiteral(
                        "Warning|The analyzer is currently performing a scan.\nOK to proceed?")
                  : QString());
    QCOMPARE(sent.method(),
             sends ? QStringLiteral("cavity_scan_temperature") : QStringLiteral("NO_METHOD"));
}

void tst_ScansWindow::fieldThatIsNoNumberSendsZero()
{
    ScansWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    child<QLineEdit>(&window, "refcellScanCurrentStepLineEdit")->setText("abc");
    child<QLineEdit>(&window, "refcellScanCurrentTempLineEdit")->clear();
    QCOMPARE(pressScan(window, "refcellScanCurrentPushButton").params(),
             QJsonArray({90, 99.5, 0, 0.2, 0}));
}

void tst_ScansWindow::screenshot()
{
    ScansWindow window(nullptr);
    window.resize(636, 450);
    window.assignRequestIds(kFirstId);
    answer(window, Opmode, 13);
    answer(window, Temperature, 25.4);
    answer(window, Current, 95.2);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList findings = TestSupport::lookAt(&window, QStringLiteral("scans"));
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_ScansWindow)
#include "tst_scanswindow.moc"
