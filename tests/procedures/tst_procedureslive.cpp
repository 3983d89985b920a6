// End to end: both guided procedures run in the panel against the analyzer
// simulator, with short scan and collection times, the poll tick and the
// procedure's wait limit shortened by the test, and the certification cabinet
// checked with gcab. The fault rows use the simulator's method rules.
#include "analyzer/connectionmanager.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "procedures/calibrationwindow.h"
#include "procedures/certificationwindow.h"
#include "support/messageanswerer.h"
#include "support/paneldriver.h"
#include "support/simclient.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

namespace {
constexpr int kFastPollMs = 100;
constexpr int kRunTimeoutMs = 60000;
/// The procedure's minute of waiting for the analyzer, shortened.
constexpr int kProcedureTimeoutMs = 3000;

/// The procedures count poll replies; a faster tick runs them in seconds.
/// MARLOMAX_PROCEDURE_POLL_MS=1000 runs them at the panel's own pace.
int pollMs()
{
    const int pollMs = qEnvironmentVariableIntValue("MARLOMAX_PROCEDURE_POLL_MS");
    return pollMs > 0 ? pollMs : kFastPollMs;
}

/// The status text of the calibration page whenever it ignores a reply.
QPointer<CalibrationWindow> g_calibration;
QStringList g_ignoredDuring;
QtMessageHandler g_previousHandler = nullptr;

void recordIgnoredReplies(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (g_calibration && text.startsWith("Calibration: reply to request"))
        g_ignoredDuring << g_calibration->findChild<QLabel*>("labelStatus")->text();
    g_previousHandler(type, context, text);
}
} // namespace

class tst_ProceduresLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void certificationRun();
    void certificationStopsOnSystemAlarm();
    void certificationSupervisedBehindTheJournal();
    void certificationRefused_data();
    void certificationRefused();
    void certificationDropWhileCollecting();
    void certificationDropWhileCopying();
    void certificationDropWhilePackaging();
    void certificationAlarmRelayFlag();
    void calibrationRun();
    void calibrationLateReply();

private:
    QJsonObject control(const QJsonArray& params);
    void showCalibration();
    /// Shows the page and presses Next on "Supply zero gas...".
    void startCertification();
    int analyzerMode();
    int cabinetCount() const
    {
        return QDir(m_panel.storagePath()).entryList({"certscan_*.cab"}, QDir::Files).size();
    }
    QString status(QWidget* page) { return page->findChild<QLabel*>("labelStatus")->text(); }
    void click(QWidget* page, const char* button)
    {
        QTest::mouseClick(page->findChild<QPushButton*>(button), Qt::LeftButton);
    }

    // The panel reads its lock state from a store of the test's own.
    TestSupport::IsolatedHome m_isolatedHome;
    PanelDriver m_panel{
        {"--scan-seconds", "1", "--collection-seconds", "1", "--control", "--seed", "3"}, pollMs()};
    VireoGUI* m_gui = nullptr;
    CertificationWindow* m_certification = nullptr;
    CalibrationWindow* m_calibration = nullptr;
};

void tst_ProceduresLive::initTestCase()
{
    QString error;
    QVERIFY2(m_panel.start(&error), qPrintable(error));
    m_gui = m_panel.gui();
    m_certification = m_gui->findChild<CertificationWindow*>();
    m_calibration = m_gui->findChild<CalibrationWindow*>();
    QVERIFY(m_certification && m_calibration);
    m_certification->setTimeoutInterval(kProcedureTimeoutMs);
}

QJsonObject tst_ProceduresLive::control(const QJsonArray& params)
{
    return m_panel.call("sim_control", params);
}

void tst_ProceduresLive::startCertification()
{
    m_gui->switchToWindow(CERTIFICATION);
    QTRY_VERIFY(status(m_certification).startsWith("Supply zero gas"));
    click(m_certification, "buttonNext");
}

int tst_ProceduresLive::analyzerMode()
{
    return m_panel.ask("opmode").toInt(-1);
}

void tst_ProceduresLive::certificationRun()
{
    QElapsedTimer started;
    started.start();
    m_gui->switchToWindow(CERTIFICATION);
    QTRY_COMPARE(status(m_certification), QString("Please insert USB disk."));
    QTRY_VERIFY(status(m_certification).startsWith("Supply zero gas"));
    click(m_certification, "buttonNext");
    QTRY_VERIFY_WITH_TIMEOUT(status(m_certification).startsWith("Optimizing laser"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(status(m_certification).startsWith("Collecting on peak data ("),
                             kRunTimeoutMs);
    TestSupport::saveScreenshot(m_panel.window(), "certification-on-peak");
    QTRY_COMPARE_WITH_TIMEOUT(status(m_certification), QString("Certification scans complete"),
                              kRunTimeoutMs);
    qInfo() << "Certification run took" << started.elapsed() << "ms";
    TestSupport::saveScreenshot(m_panel.window(), "certification-complete");

    const QStringList cabinets =
        QDir(m_panel.storagePath()).entryList({"certscan_*.cab"}, QDir::Files);
    QCOMPARE(cabinets.size(), 1);
    QProcess gcab;
    gcab.start("gcab", {"-l", m_panel.storagePath() + "/" + cabinets.first()});
    QVERIFY(gcab.waitForFinished(30000));
    QCOMPARE(gcab.exitCode(), 0);
    QStringList listed =
        QString::fromUtf8(gcab.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (QString& line : listed) {
        // "settings_SERIAL_yyyy-MM-dd_HHmmss.db  size date..." -> "settings.db"
        const QString name = line.section(QRegularExpression("\\s+"), 0, 0);
        line = name.section('_', 0, 0) + "." + name.section('.', -1);
    }
    listed.sort();
    QCOMPARE(listed, QStringList({"scans.db", "settings.db", "settings.db", "srda.bin"}));

    // The analyzer is left in service mode and OK goes back to the settings screen.
    SimClient client;
    QVERIFY(client.connectTo(m_panel.simulator().port()));
    QTRY_COMPARE(client.call("opmode")["result"].toInt(), 2);
    QSignalSpy pages(m_certification, &CertificationWindow::goToWindow);
    click(m_certification, "buttonOK");
    QCOMPARE(pages.count(), 1);
    QCOMPARE(pages.at(0).at(0).value<WindowType>(), SETTINGS);
}

void tst_ProceduresLive::certificationStopsOnSystemAlarm()
{
    m_gui->switchToWindow(CERTIFICATION);
    QTRY_VERIFY(status(m_certification).startsWith("Supply zero gas"));
    click(m_certification, "buttonNext");
    QTRY_VERIFY_WITH_TIMEOUT(status(m_certification).startsWith("Running temperature scan"),
                             kRunTimeoutMs);
    QCOMPARE(control({"alarm-relay", true})["result"], QJsonValue(true));
    QTRY_COMPARE_WITH_TIMEOUT(status(m_certification), QString("ERROR: System alarm detected"),
                              10000);
    TestSupport::saveScreenshot(m_panel.window(), "certification-system-alarm");
    QCOMPARE(control({"alarm-relay", false})["result"], QJsonValue(true));
    SimClient client;
    QVERIFY(client.connectTo(m_panel.simulator().port()));
    QTRY_COMPARE_WITH_TIMEOUT(client.call("opmode")["result"].toInt(), 2, 10000);
}

void tst_ProceduresLive::certificationSupervisedBehindTheJournal()
{
    // The operator opens the journal from the badge during the on-peak
    // collection; a system alarm then must end the run all the same.
    SimClient client;
    QVERIFY(client.connectTo(m_panel.simulator().port()));
    QCOMPARE(client.call("calibration_certificate_collection_time", QJsonArray{120})["result"],
             QJsonValue(120));
    const auto shortAgain = qScopeGuard(
        [&]() { client.call("calibration_certificate_collection_time", QJsonArray{1}); });
    const auto relayOff = qScopeGuard([&]() { control({"alarm-relay", false}); });
    startCertification();
    QTRY_VERIFY_WITH_TIMEOUT(status(m_certification).startsWith("Collecting on peak data ("),
                             kRunTimeoutMs);
    auto* pages = m_gui->findChild<QStackedWidget*>("pages");
    QTest::mouseClick(m_gui->findChild<QPushButton*>("statusBadge"), Qt::LeftButton);
    QWidget* journal = pages->currentWidget();
    QCOMPARE(journal->metaObject()->className(), "JournalWindow");

    QCOMPARE(control({"alarm-relay", true})["result"], QJsonValue(true));
    QTRY_COMPARE_WITH_TIMEOUT(status(m_certification), QString("ERROR: System alarm detected"),
                              10000);
    QCOMPARE(pages->currentWidget(), journal);
    QTRY_COMPARE_WITH_TIMEOUT(analyzerMode(), 2, 10000);
    QTest::mouseClick(journal->findChild<QPushButton*>("pushButtonClose"), Qt::LeftButton);
    QCOMPARE(pages->currentWidget(), m_certification);
    QCOMPARE(status(m_certification), QString("ERROR: System alarm detected"));
    click(m_certification, "buttonOK");
}

void tst_ProceduresLive::certificationRefused_data()
{
    // A --fail-method rule, with a code the panel shows the operator no popup for.
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("error");

    // clang-format off
    QTest::newRow("optimisation") << "opmode:6:-32000" << "ERROR: Laser is not being optimized";
    QTest::newRow("temperature scan") << "refcell_scan_temperature::-32000" << "ERROR: Temperature scan not being run";
    QTest::newRow("cavity scan") << "cavity_scan_current::-32000" << "ERROR: Cavity scan not being run";
    // clang-format on
}

void tst_ProceduresLive::certificationRefused()
{
    QFETCH(QString, rule);
    QFETCH(QString, error);
    const int cabinets = cabinetCount();
    QCOMPARE(control({"fail-method", rule, true})["result"], QJsonValue(true));
    const auto ruleOff = qScopeGuard([&]() { control({"fail-method", rule, false}); });
    startCertification();
    // The analyzer stays in service mode: that is no finished step, and the
    // run ends with the step's error, not with a cabinet.
    QTRY_COMPARE_WITH_TIMEOUT(status(m_certification), error, kRunTimeoutMs);
    TestSupport::saveScreenshot(
        m_panel.window(),
        QString("certification-refused-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
    QTRY_COMPARE(analyzerMode(), 2);
    QCOMPARE(cabinetCount(), cabinets);
    click(m_certification, "buttonOK");
}

void tst_ProceduresLive::certificationDropWhileCollecting()
{
    SimClient client;
    QVERIFY(client.connectTo(m_panel.simulator().port()));
    QCOMPARE(client.call("calibration_certificate_collection_time", QJsonArray{60})["result"],
             QJsonValue(60));
    const auto shortAgain = qScopeGuard(
        [&]() { client.call("calibration_certificate_collection_time", QJsonArray{1}); });
    QCOMPARE(control({"drop-link-after", "opmode:8:300", true})["result"], QJsonValue(true));
    // Spent once it fires; a failed run must not leave it for the next test.
    const auto ruleOff = qScopeGuard([&]() {
        control({"drop-link-after", "opmode:8:300", false});
    });
    TestSupport::MessageAnswerer answerer;
    startCertification();
    QTRY_COMPARE_WITH_TIMEOUT(status(m_certification),
                              QString("ERROR: Lost connection to analyzer"), kRunTimeoutMs);
    // Back on the link, the error stays and the analyzer, left collecting,
    // is put back into service mode.
    QTRY_VERIFY_WITH_TIMEOUT(answerer.messages.join('|').contains("Restored connection to"), 10000);
    QTRY_COMPARE(analyzerMode(), 2);
    QCOMPARE(status(m_certification), QString("ERROR: Lost connection to analyzer"));
    TestSupport::saveScreenshot(m_panel.window(), "certification-lost-restored");
    // Only showing the page again begins again.
    m_gui->switchToWindow(CERTIFICATION);
    QTRY_VERIFY(status(m_certification).startsWith("Supply zero gas"));
}

void tst_ProceduresLive::certificationDropWhileCopying()
{
    // The link drops while the settings are being copied: the run ends on
    // the lost link, which is what happened, not on the copy it broke.
    QCOMPARE(control({"drop-link-after", "download_settings", true})["result"], QJsonValue(true));
    const auto ruleOff = qScopeGuard([&]() {
        control({"drop-link-after", "download_settings", false});
    });
    TestSupport::MessageAnswerer answerer;
    startCertification();
    QTRY_COMPARE_WITH_TIMEOUT(status(m_certification),
                              QString("ERROR: Lost connection to analyzer"), kRunTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(answerer.messages.join('|').contains("Restored connection to"), 10000);
    QCOMPARE(status(m_certification), QString("ERROR: Lost connection to analyzer"));
    QTRY_COMPARE(analyzerMode(), 2);
    click(m_certification, "buttonOK");
}

void tst_ProceduresLive::certificationDropWhilePackaging()
{
    // A cabinet maker that waits until the test has dropped the link and seen
    // it come back, so the drop falls inside the packaging.
    QTemporaryDir tools;
    const QString marker = tools.path() + "/link-restored";
    QFile script(tools.path() + "/makecab");
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\n"
                         "n=0\n"
                         "while [ ! -e '%1' ] && [ $n -lt 600 ]; do sleep 0.05; n=$((n+1)); done\n"
                         "exec '%2/makecab' \"$@\"\n")
                     .arg(marker, TestSupport::binDir())
                     .toUtf8());
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", tools.path().toLocal8Bit() + ":" + path);
    const auto pathBack = qScopeGuard([&]() { qputenv("PATH", path); });

    // While the cabinet maker runs, the page's polls drop the link once; the
    // marker lets it go on once the link is back.
    TestSupport::MessageAnswerer answerer;
    bool armed = false;
    QTimer watcher;
    watcher.setInterval(20);
    connect(&watcher, &QTimer::timeout, this, [&]() {
        if (!armed && status(m_certification).startsWith("Packaging files")) {
            armed = control({"drop-link-after", "opmode", true})["result"].toBool();
        } else if (armed && answerer.messages.join('|').contains("Restored connection to")) {
            QFile(marker).open(QIODevice::WriteOnly);
            watcher.stop();
        }
    });
    watcher.start();
    const auto ruleOff = qScopeGuard([&]() { control({"drop-link-after", "opmode", false}); });
    const int cabinets = cabinetCount();
    startCertification();
    // The packaging runs inside a nested event loop, where only the watcher
    // sees it; the test looks again once the run has ended.
    QTRY_VERIFY_WITH_TIMEOUT(m_certification->findChild<QPushButton*>("buttonOK")->isVisible(),
                             kRunTimeoutMs);
    QVERIFY2(armed, qPrintable(status(m_certification)));
    QVERIFY(QFile::exists(marker));
    QVERIFY(answerer.messages.join('|').contains("Lost connection to"));
    // The cabinet was made, and its result decides.
    QCOMPARE(status(m_certification), QString("Certification scans complete"));
    QCOMPARE(cabinetCount(), cabinets + 1);
    click(m_certification, "buttonOK");
}

void tst_ProceduresLive::certificationAlarmRelayFlag()
{
    // An analyzer started with its relay held by a system alarm: the run
    // stops at its first supervised step.
    PanelDriver alarmed({"--alarm-relay", "--scan-seconds", "1"}, kFastPollMs);
    QString error;
    const bool started = alarmed.start(&error);
    // The panel of the other cases keeps its analyzer and storage folder.
    connectionString() = m_panel.simulator().connectionString();
    setStoragePath(m_panel.storagePath());
    QVERIFY2(started, qPrintable(error));
    auto* certification = alarmed.gui()->findChild<CertificationWindow*>();
    alarmed.gui()->switchToWindow(CERTIFICATION);
    QTRY_VERIFY(status(certification).startsWith("Supply zero gas"));
    click(certification, "buttonNext");
    QTRY_COMPARE_WITH_TIMEOUT(status(certification), QString("ERROR: System alarm detected"),
                              kRunTimeoutMs);
    QCOMPARE(alarmed.ask("sys_alarm_relay"), QJsonValue(true));
    QCOMPARE(alarmed.ask("opmode").toInt(), 2);
}

void tst_ProceduresLive::showCalibration()
{
    m_gui->switchToWindow(CALIBRATION);
    // The link drops above ended the calibration too; OK begins it again.
    if (m_calibration->findChild<QPushButton*>("buttonOK")->isVisible()) {
        click(m_calibration, "buttonOK");
        m_gui->switchToWindow(CALIBRATION);
    }
}

void tst_ProceduresLive::calibrationRun()
{
    showCalibration();
    QCOMPARE(status(m_calibration), QString("Connect calibration box to J902."));
    for (const char* step : {"Set switch to 1.024V position.", "Set switch to 4.096V position.",
                             "Set switch to loopback position.", "Calibration complete"}) {
        click(m_calibration, "buttonNext");
        QTRY_COMPARE_WITH_TIMEOUT(status(m_calibration), QString(step), 10000);
        if (QString(step).contains("4.096"))
            TestSupport::saveScreenshot(m_panel.window(), "calibration-step");
    }
    TestSupport::saveScreenshot(m_panel.window(), "calibration-complete");
}

void tst_ProceduresLive::calibrationLateReply()
{
    // The 4.096 V reply comes late, after the operator cancelled and began
    // again: it must not take the 1.024 V step's place.
    g_calibration = m_calibration;
    g_ignoredDuring.clear();
    g_previousHandler = qInstallMessageHandler(recordIgnoredReplies);
    const auto handlerBack = qScopeGuard([]() { qInstallMessageHandler(g_previousHandler); });
    QCOMPARE(control({"delay-method", "apc_calibrate_adc_v2:3000", true})["result"],
             QJsonValue(true));
    const auto ruleOff = qScopeGuard([&]() {
        control({"delay-method", "apc_calibrate_adc_v2:3000", false});
    });
    showCalibration();
    click(m_calibration, "buttonNext");
    click(m_calibration, "buttonNext");
    QTRY_COMPARE(status(m_calibration), QString("Set switch to 4.096V position."));
    click(m_calibration, "buttonNext");
    click(m_calibration, "buttonCancel");
    click(m_calibration, "buttonOK");
    m_gui->switchToWindow(CALIBRATION);
    click(m_calibration, "buttonNext");
    QTRY_COMPARE_WITH_TIMEOUT(g_ignoredDuring, QStringList{"Set switch to 1.024V position."},
                              10000);
    QCOMPARE(status(m_calibration), QString("Set switch to 1.024V position."));
    QVERIFY(m_calibration->findChild<QPushButton*>("buttonNext")->isVisible());
    click(m_calibration, "buttonNext");
    QTRY_COMPARE_WITH_TIMEOUT(status(m_calibration), QString("Set switch to 4.096V position."),
                              10000);
    click(m_calibration, "buttonCancel");
    click(m_calibration, "buttonOK");
}

QTEST_MAIN(tst_ProceduresLive)
#include "tst_procedureslive.moc"
