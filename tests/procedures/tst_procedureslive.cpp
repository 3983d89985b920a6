// End to end: both guided procedures run in the panel against the analyzer
// simulator, with short scan and collection times and the poll tick sped up
// by the test, and the certification cabinet checked with gcab.
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "procedures/calibrationwindow.h"
#include "procedures/certificationwindow.h"
#include "support/simclient.h"
#include "support/simulatorprocess.h"
#include "support/testsupport.h"
#include "widgets/globals.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {
constexpr int kFastPollMs = 100;
constexpr int kRunTimeoutMs = 60000;
} // namespace

class tst_ProceduresLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void certificationRun();
    void certificationStopsOnSystemAlarm();
    void calibrationRun();

private:
    QJsonObject control(const QJsonArray& params);
    QString status(QWidget* page) { return page->findChild<QLabel*>("labelStatus")->text(); }
    void click(QWidget* page, const char* button)
    {
        QTest::mouseClick(page->findChild<QPushButton*>(button), Qt::LeftButton);
    }

    // The panel reads its lock state from a store of the test's own.
    TestSupport::IsolatedHome m_isolatedHome;
    TestSupport::SimulatorProcess m_sim{
        {"--scan-seconds", "1", "--collection-seconds", "1", "--control", "--seed", "3"}};
    QTemporaryDir m_storage;
    std::unique_ptr<MainWindow> m_window;
    VireoGUI* m_gui = nullptr;
    CertificationWindow* m_certification = nullptr;
    CalibrationWindow* m_calibration = nullptr;
};

void tst_ProceduresLive::initTestCase()
{
    QVERIFY2(m_sim.start(), qPrintable(m_sim.errorString()));
    connectionString() = m_sim.connectionString();
    setStoragePath(m_storage.path());
    m_window = std::make_unique<MainWindow>();
    m_gui = m_window->findChild<VireoGUI*>();
    QVERIFY(m_gui);
    // The procedures count poll replies; a faster tick runs them in seconds.
    // MARLOMAX_PROCEDURE_POLL_MS=1000 runs them at the panel's own pace.
    const int pollMs = qEnvironmentVariableIntValue("MARLOMAX_PROCEDURE_POLL_MS");
    m_gui->findChild<QTimer*>("pollTimer")->setInterval(pollMs > 0 ? pollMs : kFastPollMs);
    m_certification = m_gui->findChild<CertificationWindow*>();
    m_calibration = m_gui->findChild<CalibrationWindow*>();
    QVERIFY(m_certification && m_calibration);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_ProceduresLive::cleanupTestCase()
{
    m_window.reset();
    m_sim.stop();
}

QJsonObject tst_ProceduresLive::control(const QJsonArray& params)
{
    SimClient client;
    if (!client.connectTo(m_sim.port()))
        return QJsonObject();
    return client.call("sim_control", params);
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
    TestSupport::saveScreenshot(m_window.get(), "certification-on-peak");
    QTRY_COMPARE_WITH_TIMEOUT(status(m_certification), QString("Certification scans complete"),
                              kRunTimeoutMs);
    qInfo() << "Certification run took" << started.elapsed() << "ms";
    TestSupport::saveScreenshot(m_window.get(), "certification-complete");

    const QStringList cabinets = QDir(m_storage.path()).entryList({"certscan_*.cab"}, QDir::Files);
    QCOMPARE(cabinets.size(), 1);
    QProcess gcab;
    gcab.start("gcab", {"-l", m_storage.path() + "/" + cabinets.first()});
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
    QVERIFY(client.connectTo(m_sim.port()));
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
    TestSupport::saveScreenshot(m_window.get(), "certification-system-alarm");
    QCOMPARE(control({"alarm-relay", false})["result"], QJsonValue(true));
    SimClient client;
    QVERIFY(client.connectTo(m_sim.port()));
    QTRY_COMPARE_WITH_TIMEOUT(client.call("opmode")["result"].toInt(), 2, 10000);
}

void tst_ProceduresLive::calibrationRun()
{
    m_gui->switchToWindow(CALIBRATION);
    QCOMPARE(status(m_calibration), QString("Connect calibration box to J902."));
    for (const char* step : {"Set switch to 1.024V position.", "Set switch to 4.096V position.",
                             "Set switch to loopback position.", "Calibration complete"}) {
        click(m_calibration, "buttonNext");
        QTRY_COMPARE_WITH_TIMEOUT(status(m_calibration), QString(step), 10000);
        if (QString(step).contains("4.096"))
            TestSupport::saveScreenshot(m_window.get(), "calibration-step");
    }
    TestSupport::saveScreenshot(m_window.get(), "calibration-complete");
}

QTEST_MAIN(tst_ProceduresLive)
#include "tst_procedureslive.moc"
