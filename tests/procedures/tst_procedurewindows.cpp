// The two procedure pages as the controller sees them: what they poll and
// send, how replies reach the current step, and what the operator sees.
#include "analyzer/response.h"
#include "base/eventjournal.h"
#include "base/globals.h"
#include "files/filemanager.h"
#include "procedures/calibrationwindow.h"
#include "procedures/certificationstates.h"
#include "procedures/certificationwindow.h"
#include "support/testsupport.h"

#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <climits>
#include <cmath>

namespace {

Analyzer::Response reply(int id, const QJsonValue& result)
{
    return Analyzer::Response(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

Analyzer::Response errorReply(int id)
{
    return Analyzer::Response(
        QJsonObject{{"jsonrpc", "2.0"},
                    {"id", id},
                    {"error", QJsonObject{{"code", -32000}, {"message", "no"}}}});
}

QString sentText(const QSignalSpy& spy)
{
    QStringList sent;
    for (const QList<QVariant>& call : spy) {
        const auto request = call.at(0).value<Analyzer::Request>();
        sent << QString::number(request.id()) + ":" + request.method() +
                    QJsonDocument(request.params()).toJson(QJsonDocument::Compact);
    }
    return sent.join(' ');
}

QString visibleButtons(QWidget* page)
{
    QString shown;
    for (const char* name : {"buttonCancel", "buttonNext", "buttonOK"}) {
        if (!page->findChild<QPushButton*>(name)->isHidden())
            shown += QLatin1Char(name[6]);
    }
    return shown;
}

QString status(QWidget* page)
{
    return page->findChild<QLabel*>("labelStatus")->text();
}

/// Makes Step current as a transition would: the step before goes.
template <class Step> void enter(CertificationWindow& window)
{
    Certification::State* before = window.state();
    window.setState(new Step(window));
    delete before;
}

} // namespace

class tst_ProcedureWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void certificationWire();
    void certificationResets();
    void certificationTimeout();
    void certificationOwnOutcome_data();
    void certificationOwnOutcome();
    void certificationGuards_data();
    void certificationGuards();
    void calibration_data();
    void calibration();
    void runsInTheJournal();

private:
    QTemporaryDir m_storage;
};

void tst_ProcedureWindows::initTestCase()
{
    qRegisterMetaType<Analyzer::Request>("Analyzer::Request");
    qRegisterMetaType<WindowType>("WindowType");
    qRegisterMetaType<FileManager::FileType>("FileManager::FileType");
    setStoragePath(m_storage.path());
}

void tst_ProcedureWindows::certificationWire()
{
    FileManager files;
    CertificationWindow window(&files, nullptr);
    window.assignRequestIds(10);
    QCOMPARE(window.firstRequestId(), 10);
    QCOMPARE(window.lastRequestId(), 17);

    QStringList polled;
    for (const QJsonValue& request : window.updateRequests()) {
        const QJsonObject object = request.toObject();
        polled << QString::number(object["id"].toInt()) + ":" + object["method"].toString() +
                      QJsonDocument(object["params"].toArray()).toJson(QJsonDocument::Compact);
    }
    QCOMPARE(polled,
             QStringList({"10:opmode[]", "13:measure_current[1]", "14:measure_temperature[1]",
                          "15:sys_alarm_relay[]", "16:calibration_certificate_run_on_peak[]",
                          "17:calibration_certificate_collection_time[]"}));

    QSignalSpy sent(&window, &CertificationWindow::jsonToSend);
    QSignalSpy downloads(&window, &CertificationWindow::startDownload);
    // The scan commands carry the last laser readings; a reply without a
    // number (or with an error) leaves the one before.
    window.handleResponse(reply(13, 97.5));
    window.handleResponse(reply(13, QJsonValue()));
    window.handleResponse(errorReply(14));
    window.handleResponse(reply(14, 21.25));
    window.setOpmode(5);
    window.setOpmode(12);
    window.setOpmode(2);
    QCOMPARE(sentText(sent),
             QString("11:refcell_scan_temperature[5,40,0.02,0.5,97.5] "
                     "12:cavity_scan_current[60,120,0.3,0.2,21.25,20] 10:opmode[2]"));
    sent.clear();

    // The storage folder is there: the first mode reply moves on; an error
    // reply or one without a mode does not.
    window.handleResponse(errorReply(10));
    window.handleResponse(reply(10, "eight"));
    QCOMPARE(status(&window), QString("Please insert USB disk."));
    window.handleResponse(reply(10, 8));
    QCOMPARE(visibleButtons(&window), QString("CN"));
    TestSupport::saveScreenshot(&window, "certification-connect-gas");
    QTest::mouseClick(window.findChild<QPushButton*>("buttonNext"), Qt::LeftButton);
    window.handleResponse(reply(10, 8));
    window.handleResponse(reply(10, 2));
    QCOMPARE(sentText(sent), QString("10:opmode[2]"));
    QCOMPARE(downloads.count(), 1);
    QCOMPARE(downloads.at(0).at(0).value<FileManager::FileType>(), FileManager::SettingsFile);
    QCOMPARE(downloads.at(0).at(1).toBool(), true);
    TestSupport::saveScreenshot(&window, "certification-copying");

    // The file manager's outcome reaches the step; the collection time read
    // from the analyzer sets the countdown.
    window.handleResponse(reply(17, 5400));
    window.handleResponse(reply(16, false));
    emit files.downloadComplete(true);
    QCOMPARE(status(&window), QString("Optimizing laser   "));
    QCOMPARE(window.collectionTime(), 5400);
    window.handleResponse(reply(17, 1e12));
    QCOMPARE(window.collectionTime(), INT_MAX);
    window.handleResponse(reply(17, 5400));
    QVERIFY(!window.runOnPeak());
    window.handleResponse(reply(15, true));
    QCOMPARE(status(&window), QString("ERROR: System alarm detected"));
    QCOMPARE(visibleButtons(&window), QString("O"));
    TestSupport::saveScreenshot(&window, "certification-alarm");

    QSignalSpy pages(&window, &CertificationWindow::goToWindow);
    QTest::mouseClick(window.findChild<QPushButton*>("buttonOK"), Qt::LeftButton);
    QCOMPARE(pages.count(), 1);
    QCOMPARE(pages.at(0).at(0).value<WindowType>(), SETTINGS);
    QCOMPARE(status(&window), QString("Please insert USB disk."));
}

void tst_ProcedureWindows::certificationResets()
{
    FileManager files;
    CertificationWindow window(&files, nullptr);
    window.assignRequestIds(2);
    window.handleResponse(reply(2, 8));
    QVERIFY(status(&window).startsWith("Supply zero gas"));
    window.restart();
    QCOMPARE(status(&window), QString("Please insert USB disk."));

    // A restored link leaves the outcome on screen, without a page change;
    // the run had not begun, so no mode goes out.
    QSignalSpy sent(&window, &CertificationWindow::jsonToSend);
    QSignalSpy pages(&window, &CertificationWindow::goToWindow);
    window.connectionChanged(true);
    QCOMPARE(status(&window), QString("ERROR: Lost connection to analyzer"));
    sent.clear();
    window.connectionChanged(false);
    QCOMPARE(status(&window), QString("ERROR: Lost connection to analyzer"));
    QCOMPARE(visibleButtons(&window), QString("O"));
    QCOMPARE(sent.count(), 0);
    QCOMPARE(pages.count(), 0);
}

void tst_ProcedureWindows::certificationTimeout()
{
    FileManager files;
    CertificationWindow window(&files, nullptr);
    window.assignRequestIds(2);
    window.setTimeoutInterval(20);
    auto* timer = window.findChild<QTimer*>("procedureTimeout");
    QVERIFY(timer);
    QSignalSpy expired(timer, &QTimer::timeout);
    QSignalSpy sent(&window, &CertificationWindow::jsonToSend);

    // Next, then the analyzer never reports service mode.
    const auto waitForServiceMode = [&]() {
        window.handleResponse(reply(2, 8));
        QTest::mouseClick(window.findChild<QPushButton*>("buttonNext"), Qt::LeftButton);
        window.handleResponse(reply(2, 8));
    };
    waitForServiceMode();
    QVERIFY(timer->isActive());

    // A run is supervised whatever page is in front (the journal, say): its
    // wait running out on a hidden page ends it as on view, never vanishes.
    QVERIFY(!window.isVisible());
    QVERIFY(expired.wait());
    QCOMPARE(status(&window), QString("ERROR: Failed to copy settings"));
    QCOMPARE(sentText(sent), QString("2:opmode[2] 2:opmode[2]"));

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.restart();
    sent.clear();
    waitForServiceMode();
    QVERIFY(expired.wait());
    QCOMPARE(status(&window), QString("ERROR: Failed to copy settings"));
    QCOMPARE(sentText(sent), QString("2:opmode[2] 2:opmode[2]"));
    QCOMPARE(visibleButtons(&window), QString("O"));
    TestSupport::saveScreenshot(&window, "certification-timeout");
}

void tst_ProcedureWindows::certificationOwnOutcome_data()
{
    QTest::addColumn<QString>("reported"); // outcomes the file manager reports during the call
    QTest::addColumn<QString>("text");

    // A lost link ends "the transfer" while the cabinet is made; the cabinet's
    // own result, reported last, decides.
    // clang-format off
    QTest::newRow("lost link, then packaged") << "0 1" << "Certification scans complete";
    QTest::newRow("lost link, then packaging failed") << "0 0" << "ERROR: Failed to package files";
    QTest::newRow("packaged") << "1" << "Certification scans complete";
    QTest::newRow("reported later") << "" << "Packaging files (please be patient).  ";
    // clang-format on
}

void tst_ProcedureWindows::certificationOwnOutcome()
{
    QFETCH(QString, reported);
    QFETCH(QString, text);
    FileManager files;
    CertificationWindow window(&files, nullptr);
    window.assignRequestIds(2);
    enter<Certification::BundleFilesState>(window);
    int calls = 0;
    connect(&window, &CertificationWindow::startDownload, &window, [&]() {
        ++calls;
        for (const QString& outcome : reported.split(' ', Qt::SkipEmptyParts))
            emit files.downloadComplete(outcome == "1");
    });
    // Packaging needs no reply of the analyzer: it starts once the step is current.
    QTRY_COMPARE(calls, 1);
    window.handleResponse(reply(2, 2));
    QCOMPARE(calls, 1);
    QCOMPARE(status(&window), text);
    if (reported.isEmpty()) {
        // Work that reports after the call is taken as it comes.
        emit files.downloadComplete(true);
        QCOMPARE(status(&window), QString("Certification scans complete"));
    }
}

void tst_ProcedureWindows::certificationGuards_data()
{
    QTest::addColumn<int>("offset"); // from the first id
    QTest::addColumn<QJsonValue>("result");

    // Each reply is ignored and the value before it kept.
    // clang-format off
    QTest::newRow("run on peak: text") << 6 << QJsonValue("true");
    QTest::newRow("run on peak: number") << 6 << QJsonValue(1);
    QTest::newRow("run on peak: null") << 6 << QJsonValue();
    QTest::newRow("temperature: null") << 4 << QJsonValue();
    QTest::newRow("temperature: text") << 4 << QJsonValue("30");
    QTest::newRow("temperature: infinite") << 4 << QJsonValue(qInf());
    QTest::newRow("temperature: minus infinite") << 4 << QJsonValue(-qInf());
    QTest::newRow("temperature: not a number") << 4 << QJsonValue(qQNaN());
    QTest::newRow("current: infinite") << 3 << QJsonValue(qInf());
    QTest::newRow("current: null") << 3 << QJsonValue();
    // clang-format on
}

void tst_ProcedureWindows::certificationGuards()
{
    QFETCH(int, offset);
    QFETCH(QJsonValue, result);
    FileManager files;
    CertificationWindow window(&files, nullptr);
    window.assignRequestIds(10);
    window.handleResponse(reply(16, false));
    window.handleResponse(reply(14, 21.25));
    window.handleResponse(reply(13, 97.5));
    window.handleResponse(reply(10 + offset, result));

    QVERIFY(!window.runOnPeak());
    QSignalSpy sent(&window, &CertificationWindow::jsonToSend);
    window.setOpmode(5);
    window.setOpmode(12);
    QCOMPARE(sentText(sent), QString("11:refcell_scan_temperature[5,40,0.02,0.5,97.5] "
                                     "12:cavity_scan_current[60,120,0.3,0.2,21.25,20]"));
}

void tst_ProcedureWindows::calibration_data()
{
    QTest::addColumn<QString>(
        "script"); // n c k buttons, l lost link, rN reply to id N, eN error reply
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<int>("leaves");

    // clang-format off
    const QString v1 = "20:apc_calibrate_adc_v1[1.024]";
    const QString v2 = "21:apc_calibrate_adc_v2[4.096]";
    const QString dac = "22:apc_calibrate_dac[]";
    QTest::newRow("entry") << "" << "Connect calibration box to J902." << "CN" << "" << 0;
    QTest::newRow("reply while connecting ignored") << "r20 e20" << "Connect calibration box to J902." << "CN" << "" << 0;
    QTest::newRow("first switch") << "n" << "Set switch to 1.024V position." << "CN" << "" << 0;
    QTest::newRow("next sends once and hides") << "n n" << "Set switch to 1.024V position." << "C" << v1 << 0;
    QTest::newRow("second switch") << "n n r20" << "Set switch to 4.096V position." << "CN" << v1 << 0;
    QTest::newRow("loopback") << "n n r20 n r21" << "Set switch to loopback position." << "CN" << v1 + " " + v2 << 0;
    QTest::newRow("complete") << "n n r20 n r21 n r22" << "Calibration complete" << "O" << v1 + " " + v2 + " " + dac << 0;
    QTest::newRow("first ADC fails") << "n n e20" << "ERROR: Could not calibrate ADC" << "O" << v1 << 0;
    QTest::newRow("second ADC fails") << "n n r20 n e21" << "ERROR: Could not calibrate ADC" << "O" << v1 + " " + v2 << 0;
    QTest::newRow("DAC fails") << "n n r20 n r21 n e22" << "ERROR: Could not calibrate DAC" << "O" << v1 + " " + v2 + " " + dac << 0;
    // Only the reply to what the current step sent after its Next counts.
    QTest::newRow("late reply ignored") << "n n r20 r20" << "Set switch to 4.096V position." << "CN" << v1 << 0;
    QTest::newRow("reply before next ignored") << "n r20 e20" << "Set switch to 1.024V position." << "CN" << "" << 0;
    QTest::newRow("earlier step's reply ignored") << "n n r20 n r20 e20" << "Set switch to 4.096V position." << "C" << v1 + " " + v2 << 0;
    QTest::newRow("another step's reply ignored") << "n n r21 e22" << "Set switch to 1.024V position." << "C" << v1 << 0;
    // Each run asks on ids of its own: an earlier run's late reply, on the
    // same step's method too, moves nothing.
    const QString v1Run2 = "23:apc_calibrate_adc_v1[1.024]";
    QTest::newRow("earlier run's replies ignored") << "n n r20 n r21 n c k n n r20 e22" << "Set switch to 1.024V position." << "C" << v1 + " " + v2 + " " + dac + " " + v1Run2 << 1;
    QTest::newRow("earlier run's late error on the same step") << "n n c k n n e20 r23" << "Set switch to 4.096V position." << "CN" << v1 + " " + v1Run2 << 1;
    QTest::newRow("cancel") << "n c" << "Calibration cancelled" << "O" << "" << 0;
    QTest::newRow("reply when complete ignored") << "n c r21 e21" << "Calibration cancelled" << "O" << "" << 0;
    QTest::newRow("lost while connecting") << "l" << "ERROR: Lost connection to analyzer" << "O" << "" << 0;
    QTest::newRow("lost while calibrating") << "n n l" << "ERROR: Lost connection to analyzer" << "O" << v1 << 0;
    QTest::newRow("ok leaves and starts over") << "n c k" << "Connect calibration box to J902." << "CN" << "" << 1;
    // clang-format on
}

void tst_ProcedureWindows::calibration()
{
    QFETCH(QString, script);
    QFETCH(QString, text);
    QFETCH(QString, buttons);
    QFETCH(QString, sent);
    QFETCH(int, leaves);

    CalibrationWindow window(nullptr);
    window.assignRequestIds(20);
    QCOMPARE(window.lastRequestId(), 20 + 3 * CalibrationWindow::kRunsOfIds - 1);
    QVERIFY(window.updateRequests().isEmpty());
    QSignalSpy requests(&window, &CalibrationWindow::jsonToSend);
    QSignalSpy pages(&window, &CalibrationWindow::goToWindow);
    const QMap<QChar, const char*> clicks = {
        {'n', "buttonNext"}, {'c', "buttonCancel"}, {'k', "buttonOK"}};
    for (const QString& event : script.split(' ', Qt::SkipEmptyParts)) {
        if (clicks.contains(event.at(0)))
            QTest::mouseClick(window.findChild<QPushButton*>(clicks.value(event.at(0))),
                              Qt::LeftButton);
        else if (event == "l")
            window.connectionChanged(true);
        else if (event.at(0) == 'r')
            window.handleResponse(reply(event.mid(1).toInt(), true));
        else
            window.handleResponse(errorReply(event.mid(1).toInt()));
    }
    QCOMPARE(status(&window), text);
    QCOMPARE(visibleButtons(&window), buttons);
    QCOMPARE(sentText(requests), sent);
    QCOMPARE(pages.count(), leaves);
    // A restored link changes nothing.
    window.connectionChanged(false);
    QCOMPARE(status(&window), text);
    if (script == "n n")
        TestSupport::saveScreenshot(&window, "calibration-calibrating");
}

void tst_ProcedureWindows::runsInTheJournal()
{
    EventJournal journal(m_storage.filePath("journal.db"));
    EventJournal::setCurrent(&journal);
    const auto runs = [&journal]() {
        QStringList list;
        const QList<JournalEvent> events = journal.events({});
        for (auto it = events.crbegin(); it != events.crend(); ++it)
            list << it->subject + " " + it->action + (it->newValue.isEmpty() ? "" : ": ") +
                        it->newValue;
        return list;
    };
    const auto click = [](QWidget& page, const char* button) {
        QTest::mouseClick(page.findChild<QPushButton*>(button), Qt::LeftButton);
    };

    // Ended before it started: the analyzer was left alone, nothing to record.
    CalibrationWindow calibration(nullptr);
    calibration.assignRequestIds(20);
    calibration.connectionChanged(true);
    click(calibration, "buttonOK");
    QCOMPARE(runs(), QStringList());
    // The second run asks on the block's next three ids.
    click(calibration, "buttonNext");
    click(calibration, "buttonNext");
    calibration.handleResponse(reply(23, true));
    click(calibration, "buttonNext");
    calibration.handleResponse(errorReply(24));
    QCOMPARE(runs(), QStringList({"calibration started",
                                  "calibration ended: ERROR: Could not calibrate ADC"}));
    click(calibration, "buttonOK");

    // The certification waits for the storage and the zero gas; its run
    // begins with the first copy and ends on the outcome shown.
    FileManager files;
    CertificationWindow certification(&files, nullptr);
    certification.assignRequestIds(30);
    certification.connectionChanged(true); // waiting for the storage: no run
    certification.restart();
    certification.handleResponse(reply(30, 8));
    QVERIFY(status(&certification).startsWith("Supply zero gas"));
    certification.restart();
    QCOMPARE(runs().size(), 2);
    certification.handleResponse(reply(30, 8));
    click(certification, "buttonNext");
    certification.connectionChanged(true);
    QCOMPARE(runs().mid(2),
             QStringList({"certification started",
                          "certification ended: ERROR: Lost connection to analyzer"}));
    click(certification, "buttonOK");
    QCOMPARE(runs().size(), 4);
    EventJournal::setCurrent(nullptr);
}

QTEST_MAIN(tst_ProcedureWindows)
#include "tst_procedurewindows.moc"
