// End to end: the panel against the analyzer simulator. The frame window runs
// in process (its poll ticks driven by the test); the real program is started
// once the way the README starts it.
#include "analyzer/analyzerfacts.h"
#include "analyzer/connectioninterface.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/servertext.h"
#include "screens/homewindow.h"
#include "screens/modewindow.h"
#include "screens/rdgraphwindow.h"
#include "screens/scanswindow.h"
#include "screens/shutdownwindow.h"
#include "settings/settingswindow.h"
#include "support/messageanswerer.h"
#include "support/paneldriver.h"
#include "support/simclient.h"
#include "support/testsupport.h"
#include "trend/trenddownload.h"
#include "trend/trendwindow.h"
#include "widgets/chartsfwd.h"

#include <QChartView>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProcess>
#include <QPushButton>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QtTest>

class tst_LivePanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void liveHomeScreen();
    void miniTrendFromSimulator();
    void trendFromSimulator();
    void modeChangeReachesSimulator();
    void operatorScreensFromSimulator();
    void trendExportFromDownloadPage();
    void settingsBackupFromSettingsPage();
    void lostAndRestored();
    void realProgramConnects();

private:
    void tick() { m_panel.tick(); }
    QString popupAfterTick();
    QLabel* homeLabel(const char* name) { return m_home->findChild<QLabel*>(QLatin1String(name)); }
    QString title()
    {
        return m_home->findChild<QGroupBox*>(QStringLiteral("opmodeGroupBox"))->title();
    }

    // The panel's lock state goes to a store of the test's own.
    TestSupport::IsolatedHome m_isolatedHome;
    PanelDriver m_panel{{QStringLiteral("--backfill-days"), QStringLiteral("1"),
                         QStringLiteral("--seed"), QStringLiteral("7")}};
    MainWindow* m_window = nullptr;
    VireoGUI* m_gui = nullptr;
    HomeWindow* m_home = nullptr;
    QStackedWidget* m_pages = nullptr;
};

void tst_LivePanel::initTestCase()
{
    QString error;
    QVERIFY2(m_panel.start(&error), qPrintable(error));
    m_window = m_panel.window();
    m_gui = m_panel.gui();
    m_home = m_gui->findChild<HomeWindow*>();
    m_pages = m_gui->findChild<QStackedWidget*>(QStringLiteral("pages"));
}

QString tst_LivePanel::popupAfterTick()
{
    tick();
    const QString text = TestSupport::modalPopupText();
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->accept();
    return text;
}

void tst_LivePanel::liveHomeScreen()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("127.0.0.1"));
    QCOMPARE(m_pages->currentWidget(), m_home);

    // The start-up refresh alone fills the home screen; no tick needed.
    QLabel* conc = homeLabel("concLabel");
    QTRY_VERIFY_WITH_TIMEOUT(conc->text() != HomeWindow::noValueText() && !conc->text().isEmpty(),
                             5000);
    // The mini plot shows the simulator's history within a second of the first value.
    auto* normal = qobject_cast<QScatterSeries*>(
        m_home->findChild<QChartView*>(QStringLiteral("chartView"))->chart()->series().value(0));
    QVERIFY(normal);
    QTRY_VERIFY_WITH_TIMEOUT(normal->count() > 100, 1000);
    bool isNumber = false;
    conc->text().toDouble(&isNumber);
    QVERIFY2(isNumber || conc->text() == QLatin1String("OVER"), qPrintable(conc->text()));

    const int mode = m_panel.ask(QStringLiteral("opmode")).toInt(-1);
    QVERIFY(mode >= 0 && mode < 14);
    QTRY_COMPARE(title(), Analyzer::modeName(mode));
    QCOMPARE(homeLabel("speciesLabel")->text(),
             subscriptDigits(m_panel.ask(QStringLiteral("species")).toString()));
    QCOMPARE(homeLabel("gasLabel")->text(),
             subscriptDigits(m_panel.ask(QStringLiteral("current_gas")).toString()));

    // Each tick brings a fresh value.
    const QString before = conc->text();
    QTRY_VERIFY_WITH_TIMEOUT((tick(), conc->text() != before), 10000);

    auto* stack = m_home->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    if (stack->currentIndex() != 0)
        QTest::mouseClick(m_home->findChild<QPushButton*>(QStringLiteral("pushButtonDisplay")),
                          Qt::LeftButton);
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(!m_home->findChild<QLineEdit*>(QStringLiteral("tauLabel"))->text().isEmpty());
    TestSupport::saveScreenshot(m_window, QStringLiteral("panel-home-details"));
}

void tst_LivePanel::miniTrendFromSimulator()
{
    auto* stack = m_home->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    QTest::mouseClick(m_home->findChild<QPushButton*>(QStringLiteral("pushButtonDisplay")),
                      Qt::LeftButton);
    QCOMPARE(stack->currentIndex(), 1);

    auto* chart = m_home->findChild<QChartView*>(QStringLiteral("chartView"))->chart();
    auto* normal = qobject_cast<QScatterSeries*>(chart->series().value(0));
    QVERIFY(normal);
    QTRY_VERIFY(normal->count() > 100);
    // Nobody has visited the trend screen, yet its first data framed the
    // value axis the mini plot follows: the points of the day it shows lie on
    // the plot (the hours before midnight are the mini plot's alone).
    QTRY_VERIFY(m_home->miniPlotMaximum() > 1);
    const qint64 today = QDateTime(QDate::currentDate(), QTime(0, 0)).toMSecsSinceEpoch();
    for (const QPointF& point : normal->points()) {
        if (point.x() >= today)
            QVERIFY(point.y() >= m_home->miniPlotMinimum() &&
                    point.y() <= m_home->miniPlotMaximum());
    }
}

void tst_LivePanel::trendFromSimulator()
{
    // The trend screen asked for its day as soon as the link was up, and
    // auto-scale, on from the start, framed it.
    auto* trend = m_gui->findChild<TrendWindow*>();
    QVERIFY(trend);
    m_gui->switchToWindow(TREND);
    QVERIFY(trend->findChild<QCheckBox*>(QStringLiteral("checkBoxAutoScaleY"))->isChecked());
    if (TestSupport::todayTooShortForTrend()) {
        QTest::mouseClick(trend->findChild<QPushButton*>(QStringLiteral("backPushButton")),
                          Qt::LeftButton);
    }
    auto* chartView = trend->findChild<QChartView*>(QStringLiteral("chartView"));
    auto* chart = chartView->chart();
    auto* series = qobject_cast<QScatterSeries*>(chart->series().value(0));
    QTRY_VERIFY_WITH_TIMEOUT(series->count() > 100, 10000);
    double low = series->at(0).y(), high = low;
    for (const QPointF& point : series->points()) {
        low = qMin(low, point.y());
        high = qMax(high, point.y());
    }
    QVERIFY(trend->valueAxisMinimum() <= low && trend->valueAxisMaximum() >= high);
    QVERIFY(trend->valueAxisMaximum() > 1);
    QVERIFY(chartView->toolTip().startsWith(QStringLiteral("Min = ")));
    TestSupport::saveScreenshot(m_window, QStringLiteral("panel-trend"));

    // The home mini plot is scaled the same way.
    QCOMPARE(m_home->miniPlotMinimum(), trend->valueAxisMinimum());
    QCOMPARE(m_home->miniPlotMaximum(), trend->valueAxisMaximum());
    m_gui->switchToWindow(HOME);
    TestSupport::saveScreenshot(m_window, QStringLiteral("panel-home-chart"));
}

void tst_LivePanel::modeChangeReachesSimulator()
{
    const auto pressOnModeScreen = [this](const char* button) {
        QTest::mouseClick(m_home->findChild<QPushButton*>(QStringLiteral("pushButtonMode")),
                          Qt::LeftButton);
        auto* mode = m_gui->findChild<ModeWindow*>();
        QCOMPARE(m_pages->currentWidget(), mode);
        TestSupport::saveScreenshot(m_window, QStringLiteral("panel-mode"));
        QTest::mouseClick(mode->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        QCOMPARE(m_pages->currentWidget(), m_home);
    };

    pressOnModeScreen("pushButtonService");
    QTRY_COMPARE(m_panel.ask(QStringLiteral("opmode")).toInt(), 2);
    // The home screen is polled at once after a mode change, without a tick.
    QTRY_COMPARE(title(), QStringLiteral("SERVICE MODE"));

    pressOnModeScreen("pushButtonMeasure");
    QTRY_COMPARE(m_panel.ask(QStringLiteral("opmode")).toInt(), 8);
    QTRY_COMPARE(title(), QStringLiteral("MEASURE MODE"));
}

void tst_LivePanel::operatorScreensFromSimulator()
{
    const auto press = [](QWidget* page, const char* button) {
        QTest::mouseClick(page->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    };
    m_gui->switchToWindow(HOME);

    // The ring-down graph refreshes on each tick while shown.
    press(m_home, "pushButtonRDGraph");
    auto* rdGraph = m_gui->findChild<RDGraphWindow*>();
    QCOMPARE(m_pages->currentWidget(), rdGraph);
    tick();
    QTRY_VERIFY(rdGraph->findChild<QLabel*>(QStringLiteral("labelRD"))
                    ->text()
                    .contains(QRegularExpression(
                        QStringLiteral("^\\d+\\.\\d\\d \u00B5s,  \\d+\\.\\d\\d$"))));
    auto* trace =
        qobject_cast<QLineSeries*>(rdGraph->findChild<QChartView*>()->chart()->series().value(0));
    QCOMPARE(trace->count(), 640 - 6);
    TestSupport::saveScreenshot(m_window, QStringLiteral("panel-rdgraph"));
    press(rdGraph, "pushButtonClose");

    // Scans: the ranges came with the start-up poll, from the laser's readings.
    press(m_home, "pushButtonMode");
    press(m_gui->findChild<ModeWindow*>(), "pushButtonScan");
    auto* scans = m_gui->findChild<ScansWindow*>();
    QCOMPARE(m_pages->currentWidget(), scans);
    tick();
    const int mode = m_panel.ask(QStringLiteral("opmode")).toInt();
    QTRY_COMPARE(scans->findChild<QLabel*>(QStringLiteral("opmodeLabel"))->text(),
                 Analyzer::modeName(mode));
    const double current = m_panel.ask(QStringLiteral("measure_current")).toDouble();
    const double shownCurrent =
        scans->findChild<QLineEdit*>(QStringLiteral("cavityScanTempCurrentLineEdit"))
            ->text()
            .toDouble();
    QVERIFY2(qAbs(shownCurrent - current) < 1, qPrintable(QString::number(shownCurrent)));
    TestSupport::saveScreenshot(m_window, QStringLiteral("panel-scans"));
    press(scans, "pushButtonClose");

    // Shutdown: the analyzer has a pressure controller; the first step puts it in service mode.
    press(m_home, "pushButtonMode");
    press(m_gui->findChild<ModeWindow*>(), "pushButtonShutdown");
    auto* shutdown = m_gui->findChild<ShutdownWindow*>();
    QCOMPARE(m_pages->currentWidget(), shutdown);
    tick();
    QTRY_VERIFY(shutdown->findChild<QWidget*>(QStringLiteral("apcWidget"))->isVisible());
    QTRY_VERIFY(
        !shutdown->findChild<QLineEdit*>(QStringLiteral("apcReadLineEdit"))->text().isEmpty());
    press(shutdown, "pushButton");
    QTRY_COMPARE(m_panel.ask(QStringLiteral("opmode")).toInt(), 2);
    QCoreApplication::processEvents();
    TestSupport::saveScreenshot(m_window, QStringLiteral("panel-shutdown"));
    press(shutdown, "pushButtonClose");
    QCOMPARE(m_pages->currentWidget(), m_home);
}

void tst_LivePanel::lostAndRestored()
{
    auto* connection = m_gui->findChild<Analyzer::ConnectionInterface*>();
    QVERIFY(connection->isConnected());
    m_panel.simulator().kill();
    QTRY_VERIFY(!connection->isConnected());
    QCOMPARE(popupAfterTick(),
             QStringLiteral("Lost connection to ") + m_panel.simulator().connectionString());

    QVERIFY2(m_panel.simulator().restart(), qPrintable(m_panel.simulator().errorString()));
    tick(); // reconnects; the next tick reports it
    QVERIFY(connection->isConnected());
    QCOMPARE(popupAfterTick(),
             QStringLiteral("Restored connection to ") + m_panel.simulator().connectionString());

    homeLabel("concLabel")->setText(QString());
    tick();
    QTRY_VERIFY(!homeLabel("concLabel")->text().isEmpty());
}

void tst_LivePanel::realProgramConnects()
{
    TestSupport::IsolatedHome home;
    QProcess panel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    panel.setProcessEnvironment(environment);
    panel.start(TestSupport::binDir() + QStringLiteral("/marlomax"),
                {QStringLiteral("127.0.0.1"), QString::number(m_panel.simulator().port()),
                 m_panel.storagePath()});
    QVERIFY(panel.waitForStarted());

    // Without a log server the panel logs to GUI.log in its home folder.
    QFile log(home.path() + QStringLiteral("/GUI.log"));
    const auto logText = [&log]() {
        if (!log.open(QIODevice::ReadOnly))
            return QByteArray();
        const QByteArray text = log.readAll();
        log.close();
        return text;
    };
    QTRY_VERIFY_WITH_TIMEOUT(logText().contains("Debug: RPC connection ok") ||
                                 logText().contains("Debug: Unable to connect to Vireo Logger!"),
                             10000);
    QVERIFY2(panel.state() == QProcess::Running, panel.readAllStandardError().constData());
    panel.kill();
    panel.waitForFinished();
}

void tst_LivePanel::trendExportFromDownloadPage()
{
    SimClient operatorDesk;
    QVERIFY(operatorDesk.connectTo(m_panel.simulator().port()));
    m_gui->switchToWindow(TREND_DOWNLOAD);
    auto* page = m_gui->findChild<TrendDownload*>();
    QCOMPARE(m_pages->currentWidget(), page);
    auto* download = page->findChild<QPushButton*>(QStringLiteral("pushButtonDownload"));

    // Allowed only in service mode, which the page learns from its own poll.
    operatorDesk.call(QStringLiteral("opmode"), QJsonArray{8});
    QTRY_VERIFY_WITH_TIMEOUT((tick(), !download->isEnabled()), 5000);
    operatorDesk.call(QStringLiteral("opmode"), QJsonArray{2});
    QTRY_VERIFY_WITH_TIMEOUT((tick(), download->isEnabled()), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(page->findChild<QLabel*>(QStringLiteral("label"))->text(),
                              QStringLiteral("Ready to download"), 1500);
    TestSupport::saveScreenshot(m_window, QStringLiteral("panel-trend-download"));

    TestSupport::MessageAnswerer answerer;
    QTest::mouseClick(download, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.messages,
                              QStringList{QStringLiteral("File copied successfully")}, 60000);
    const QStringList files = QDir(m_panel.storagePath()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(files.first().startsWith(QStringLiteral("trend_")) &&
                 files.first().endsWith(QStringLiteral(".csv")),
             qPrintable(files.first()));
    QVERIFY(QFile::remove(m_panel.storagePath() + '/' + files.first()));

    operatorDesk.call(QStringLiteral("opmode"), QJsonArray{8});
    m_gui->switchToWindow(HOME);
}

void tst_LivePanel::settingsBackupFromSettingsPage()
{
    SimClient operatorDesk;
    QVERIFY(operatorDesk.connectTo(m_panel.simulator().port()));
    operatorDesk.call(QStringLiteral("opmode"), QJsonArray{2});
    m_gui->switchToWindow(SETTINGS);
    auto* page = m_gui->findChild<SettingsWindow*>();
    auto* backup = page->findChild<QPushButton*>(QStringLiteral("getSettingsPushButton"));
    QTRY_VERIFY_WITH_TIMEOUT((tick(), backup->isEnabled()), 5000);

    TestSupport::MessageAnswerer answerer;
    QTest::mouseClick(backup, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.messages,
                              QStringList{QStringLiteral("File copied successfully")}, 60000);
    const QStringList files = QDir(m_panel.storagePath()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(files.first().startsWith(QStringLiteral("settings")), qPrintable(files.first()));
    QFile copy(m_panel.storagePath() + '/' + files.first());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.read(16).startsWith("SQLite format 3"));
    copy.close();
    QVERIFY(copy.remove());

    operatorDesk.call(QStringLiteral("opmode"), QJsonArray{8});
    m_gui->switchToWindow(HOME);
}

QTEST_MAIN(tst_LivePanel)
#include "tst_livepanel.moc"
