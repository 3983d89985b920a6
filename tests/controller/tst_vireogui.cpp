// The controller against a scripted server: what goes on the wire at start and
// on each tick, line framing and routing by id, server messages, keypad entry
// rules, connection popups and the shutdown request.
#include "analyzer/analyzerfacts.h"
#include "analyzer/connectioninterface.h"
#include "analyzer/request.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "base/language.h"
#include "fakeanalyzer.h"
#include "files/transferharness.h"
#include "procedures/calibrationwindow.h"
#include "procedures/certificationwindow.h"
#include "screens/homewindow.h"
#include "screens/modewindow.h"
#include "settings/settingswindow.h"
#include "support/messageanswerer.h"
#include "support/testsupport.h"
#include "trend/remotehistory.h"
#include "trend/trendwindow.h"
#include "widgets/chartsfwd.h"
#include "widgets/keyboardwindow.h"
#include "widgets/textmarkup.h"

#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>
#include <algorithm>

namespace {

QJsonDocument parse(const QByteArray& line)
{
    return QJsonDocument::fromJson(line);
}

QString listeningOn(FakeAnalyzer& server)
{
    if (!server.listen())
        qFatal("no free loopback port");
    return server.connectionString();
}

// One batch per client at start: mode, ring-down graph, settings, the two
// remote histories, trend, home, scans, trend download, shutdown, the file
// manager, certification, calibration and certificate.
constexpr int kStartupBatches = 14;
// Of those, the mode, calibration and certificate pages and the histories poll nothing.
constexpr int kEmptyStartupBatches = 5;
const QByteArray kSerialPoll = R"("method":"serial_number")";

/// A panel connected to its own scripted server, its poll timer stopped so
/// the test decides when a tick happens.
struct Panel
{
    Panel() : gui(listeningOn(server), nullptr)
    {
        gui.findChild<QTimer*>(QStringLiteral("pollTimer"))->stop();
        home = gui.findChild<HomeWindow*>();
        keyboard = gui.findChild<KeyboardWindow*>();
        pages = gui.findChild<QStackedWidget*>(QStringLiteral("pages"));
        connection = gui.findChild<Analyzer::ConnectionInterface*>();
    }

    /// Waits for the start-up traffic (one batch per client, then the mini
    /// plot's history request), keeps it in startup and clears the record;
    /// from then on the file manager's serial number poll, which goes with
    /// every tick, is not recorded.
    bool started()
    {
        if (!QTest::qWaitFor([this] { return server.lines.size() == kStartupBatches + 2; }, 5000))
            return false;
        startup = server.lines;
        server.lines.clear();
        server.skipLinesWith = kSerialPoll;
        return true;
    }
    void tick() { QMetaObject::invokeMethod(&gui, "requestUpdate"); }
    void pollNow(WindowType page)
    {
        QMetaObject::invokeMethod(&gui, "requestUpdate", Q_ARG(WindowType, page));
    }
    QString conc() const { return home->findChild<QLabel*>(QStringLiteral("concLabel"))->text(); }
    void reply(int offset, const QByteArray& result)
    {
        server.send(QByteArray(R"({"id":)") + QByteArray::number(home->firstRequestId() + offset) +
                    R"(,"result":)" + result + "}\n");
    }

    FakeAnalyzer server;
    QList<QByteArray> startup;
    VireoGUI gui;
    HomeWindow* home = nullptr;
    KeyboardWindow* keyboard = nullptr;
    QStackedWidget* pages = nullptr;
    Analyzer::ConnectionInterface* connection = nullptr;
};

/// Starts a download of type from the controller; the request that starts it.
QJsonObject startDownload(Panel& panel, FileManager::FileType type)
{
    QMetaObject::invokeMethod(&panel.gui, "startDownloadFile", Q_ARG(FileManager::FileType, type),
                              Q_ARG(bool, false));
    if (!QTest::qWaitFor([&panel] { return !panel.server.lines.isEmpty(); }))
        return QJsonObject();
    return parse(panel.server.lines.first()).object();
}

constexpr int kConcOffset = 0;
constexpr int kSpeciesOffset = 1;
constexpr int kUserAlarm2Offset = 19;
constexpr int kLockOffset = 22;
using TestSupport::modalPopupText;

} // namespace

class tst_VireoGUI : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startupSendsEveryClientOnce();
    void tickPollsOnlyTheVisiblePage();
    void statusPollOnEveryPage();
    void measureRefreshesHomeAtOnce();
    void twoChunkReceive();
    void completeReplyKeptWhenLinkDropsMidNextLine();
    void badLinesAreSkipped();
    void serverMessageBeforeRouting();
    void serverMessageWhileOneIsOpen();
    void replyReachesHiddenPage();
    void keypadEntry_data();
    void keypadEntry();
    void germanKeypadKeepsThePoint();
    void guiOnlyEntryNeverReachesSocket();
    void tickWhileKeypadShown();
    void settingsKeypadEntries();
    void titleBar();
    void serverDownThenUp();
    // An analyzer that misbehaves: foreign ids, dropped links, huge texts.
    void serverReplyToLockEntryChangesNothing();
    void firstBatchRoutedAfterDropMidLine();
    void popupLeftOpenWhileServerReturns();
    void hugeServerTextIsCapped();
    void endlessLineIsDropped();
    void miniPlotFollowsTrendScreen();
    void lostConnectionCancelsTransfer();
    void transferRepliesRoutedByTheirOwnIds();
    void lostConnectionWithoutTransferReportsNothing_data();
    void lostConnectionWithoutTransferReportsNothing();
    void certificationRestartsWhenShown();
    // Last: the application's quit ends every event loop started afterwards.
    void shutdownSendsModeZeroAndQuits();

private:
    std::unique_ptr<TestSupport::IsolatedHome> m_home;
    /// Ticks on the home page and checks that the very next line is its poll.
    void expectHomePollNext(Panel& panel);
};

void tst_VireoGUI::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalis"));
    QCoreApplication::setApplicationName(QStringLiteral("VireoGUI"));
}

void tst_VireoGUI::init()
{
    // The lock state the home page stores lands in a fresh store per test.
    m_home = std::make_unique<TestSupport::IsolatedHome>();
}

void tst_VireoGUI::cleanup()
{
    m_home.reset();
}

void tst_VireoGUI::expectHomePollNext(Panel& panel)
{
    const QList<QByteArray>& lines = panel.server.lines;
    const int before = lines.size();
    panel.pollNow(HOME);
    QTRY_VERIFY(lines.size() > before);
    const QJsonDocument next = parse(lines.at(before));
    QVERIFY2(next.isArray() && next.array().size() == 28, lines.at(before).constData());
}

void tst_VireoGUI::startupSendsEveryClientOnce()
{
    Panel panel;
    QCOMPARE(panel.pages->currentWidget(), panel.home);
    QCOMPARE(panel.gui.findChild<QTimer*>(QStringLiteral("pollTimer"))->interval(), 1000);

    // Clients that poll nothing still get their (empty) batch once; the home
    // screen sends its 28 requests, the settings screen all of its tabs (74
    // requests), the file manager the serial number, the certification page
    // its six polled requests. Then, the ids given out, the trend screen asks
    // for today and the mini plot for the day up to now.
    QVERIFY(panel.started());
    QCOMPARE(panel.startup.size(), kStartupBatches + 2);
    const auto historyRange = [](const QByteArray& line) {
        const QJsonObject history = parse(line).object();
        if (history["method"].toString() != QStringLiteral("get_trend_data"))
            return std::pair<QDateTime, QDateTime>();
        const auto time = [&history](int i) {
            return QDateTime::fromString(history["params"][i].toString(), "yyyy-MM-dd HH:mm:ss");
        };
        return std::pair(time(0), time(1));
    };
    const auto [plotStart, plotEnd] = historyRange(panel.startup.takeLast());
    QCOMPARE(plotStart.secsTo(plotEnd), 86400);
    QVERIFY(plotEnd > QDateTime::currentDateTime());
    const auto [dayStart, dayEnd] = historyRange(panel.startup.takeLast());
    QCOMPARE(dayStart, QDateTime(QDate::currentDate(), QTime(0, 0)));
    QCOMPARE(dayStart.secsTo(dayEnd), 86400);
    bool homeSeen = false;
    bool serialSeen = false;
    int empty = 0;
    for (const QByteArray& line : panel.startup) {
        const QJsonArray batch = parse(line).array();
        serialSeen = serialSeen || line.contains(kSerialPoll);
        if (batch.isEmpty()) {
            QCOMPARE(line, QByteArray("[]"));
            ++empty;
        } else if (batch.size() == 74) {
            QCOMPARE(batch.first()["method"].toString(), QStringLiteral("opmode"));
        } else if (batch.first()["id"].toInt() == panel.home->firstRequestId()) {
            QCOMPARE(batch.size(), 28);
            QCOMPARE(batch.first()["method"].toString(), QStringLiteral("conc"));
            homeSeen = true;
        }
    }
    QVERIFY(homeSeen);
    QVERIFY(serialSeen);
    QCOMPARE(empty, kEmptyStartupBatches);
    // Ids start at 2 and the home block is one of the blocks handed out.
    QVERIFY(panel.home->firstRequestId() >= 2);
    QCOMPARE(panel.home->lastRequestId() - panel.home->firstRequestId(), 28);
}

void tst_VireoGUI::tickPollsOnlyTheVisiblePage()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());

    // The visible page first, then the file manager's serial number.
    server.skipLinesWith.clear();
    panel.tick();
    QTRY_COMPARE(server.lines.size(), 2);
    QCOMPARE(parse(server.lines.at(0)).array().size(), 28);
    QVERIFY(server.lines.at(1).contains(kSerialPoll));
    server.skipLinesWith = kSerialPoll;
    server.lines.clear();

    // The mode page polls nothing, so a tick there sends only the status
    // poll (and the serial number poll).
    panel.gui.switchToWindow(MODE);
    panel.tick();
    QTRY_COMPARE(server.lines.size(), 1);
    QCOMPARE(TestSupport::methodsIn(server.lines.at(0)), Analyzer::statusMethods());
    expectHomePollNext(panel);
    QCOMPARE(server.lines.size(), 2);
}

void tst_VireoGUI::statusPollOnEveryPage()
{
    // On every page the tick asks the mode and the alarm flags: the page's
    // own rows as they are, then those status methods it does not ask
    // itself, each once, with ids past every client's block and short of the
    // transfers' range. The home page asks them all and sends its 28 alone.
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    int lastBlockId = 0;
    for (QObject* object : panel.gui.findChildren<QObject*>()) {
        if (auto* client = qobject_cast<Analyzer::RPCInterface*>(object))
            lastBlockId = std::max(lastBlockId, client->lastRequestId());
    }
    const QStringList& status = Analyzer::statusMethods();
    for (int page = HOME; page <= JOURNAL; ++page) {
        panel.gui.switchToWindow(WindowType(page));
        auto* client = qobject_cast<Analyzer::RPCInterface*>(panel.pages->currentWidget());
        const QJsonArray own = client ? client->updateRequests() : QJsonArray();
        server.lines.clear();
        panel.tick();
        QTRY_VERIFY(!server.lines.isEmpty());
        const QJsonArray batch = parse(server.lines.first()).array();
        const QStringList methods = TestSupport::methodsIn(server.lines.first());
        QVERIFY(batch.size() >= own.size());
        for (int i = 0; i < own.size(); ++i)
            QCOMPARE(batch.at(i), own.at(i));
        QStringList missing;
        for (const QString& method : status) {
            QCOMPARE(methods.count(method), 1);
            if (!TestSupport::methodsIn(QJsonDocument(own).toJson()).contains(method))
                missing << method;
        }
        QCOMPARE(methods.mid(own.size()), missing);
        for (int i = own.size(); i < batch.size(); ++i) {
            const int id = batch.at(i)["id"].toInt();
            QVERIFY2(id > lastBlockId && id <= lastBlockId + status.size(),
                     qPrintable(QStringLiteral("page %1, id %2").arg(page).arg(id)));
            QVERIFY(!batch.at(i).toObject().contains(QStringLiteral("params")));
        }
        if (page == HOME)
            QCOMPARE(batch.size(), 28);
    }
}

void tst_VireoGUI::measureRefreshesHomeAtOnce()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());

    panel.gui.switchToWindow(MODE);
    auto* mode = panel.gui.findChild<ModeWindow*>();
    QTest::mouseClick(mode->findChild<QPushButton*>(QStringLiteral("pushButtonMeasure")),
                      Qt::LeftButton);
    QCOMPARE(panel.pages->currentWidget(), panel.home);
    QTRY_COMPARE(server.lines.size(), 2);
    const QJsonObject modeChange = parse(server.lines.at(0)).object();
    QCOMPARE(modeChange["method"].toString(), QStringLiteral("opmode"));
    QCOMPARE(modeChange["params"].toArray(), QJsonArray{8});
    QCOMPARE(modeChange["id"].toInt(), mode->firstRequestId());
    QCOMPARE(parse(server.lines.at(1)).array().size(), 28);
}

void tst_VireoGUI::twoChunkReceive()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());

    const QByteArray conc = QByteArray::number(panel.home->firstRequestId() + kConcOffset);
    const QByteArray species = QByteArray::number(panel.home->firstRequestId() + 1);
    server.send(R"({"id":)" + conc + R"(,"result":5.25})" + "\n" + R"({"id":)" + species +
                R"(,"res)");
    // The complete reply is routed at once; the unfinished one waits for its line feed.
    QTRY_COMPARE(panel.conc(), QStringLiteral("5.250"));
    QLabel* speciesLabel = panel.home->findChild<QLabel*>(QStringLiteral("speciesLabel"));
    const QString speciesBefore = speciesLabel->text();

    server.send(R"(ult":"CO2"})"
                "\n");
    QTRY_COMPARE(speciesLabel->text(), QStringLiteral("CO<sub>2</sub>"));
    QVERIFY(speciesBefore != speciesLabel->text());
}

void tst_VireoGUI::completeReplyKeptWhenLinkDropsMidNextLine()
{
    // A reply and the start of the next one arrive together, then the link
    // drops: the complete reply was read and must not go with the rest.
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    QSignalSpy routed(&panel.gui, &VireoGUI::replyRouted);
    const int concId = panel.home->firstRequestId() + kConcOffset;
    server.send(R"({"id":)" + QByteArray::number(concId) + R"(,"result":7.5})" + "\n" +
                R"({"id":)" + QByteArray::number(concId + 1) + R"(,"res)");
    QTRY_VERIFY(server.allWritten());
    server.dropLink();
    QTRY_VERIFY(!panel.connection->isConnected());
    QCOMPARE(panel.conc(), QStringLiteral("7.500"));
    QCOMPARE(routed.size(), 1);
    QCOMPARE(routed.first().first().toInt(), concId);
}

void tst_VireoGUI::badLinesAreSkipped()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());

    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(QStringLiteral("^Parse error encountered")));
    const QByteArray conc = QByteArray::number(panel.home->firstRequestId() + kConcOffset);
    // Garbage, a reply nobody owns, a non-object element, then a good reply.
    server.send("{not json\n"
                R"([{"id":0,"result":1},7,{"id":99999,"result":2}])"
                "\n"
                R"({"id":)" +
                conc +
                R"(,"result":42})"
                "\n");
    QTRY_COMPARE(panel.conc(), QStringLiteral("42.00"));
}

void tst_VireoGUI::serverMessageBeforeRouting()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    auto* alarms = panel.home->findChild<QListWidget*>(QStringLiteral("alarmsListWidget"));

    QString title, text;
    int itemsWhileOpen = -1;
    QString concWhileOpen;
    TestSupport::onNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box) {
            title = box->windowTitle();
            text = box->text();
        }
        itemsWhileOpen = alarms->count();
        concWhileOpen = panel.conc();
        qobject_cast<QDialog*>(modal)->accept();
    });
    // r1: an error of code 1 on the alarm flag that rebuilds the list even on
    // error; r2: a concentration.
    const int first = panel.home->firstRequestId();
    server.send(
        QStringLiteral(R"([{"id":%1,"error":{"code":1,"message":"Laser <b>warming</b> up"}},)"
                       R"({"id":%2,"result":7.5}])"
                       "\n")
            .arg(first + kUserAlarm2Offset)
            .arg(first + kConcOffset)
            .toUtf8());
    QTRY_COMPARE(panel.conc(), QStringLiteral("7.500"));
    QCOMPARE(title, QStringLiteral("Message from RPC Server"));
    QCOMPARE(text, QStringLiteral("Laser <b>warming</b> up"));
    // The message came first; then r1 and r2 were routed in order.
    QCOMPARE(itemsWhileOpen, 0);
    QCOMPARE(concWhileOpen, HomeWindow::noValueText());
    QCOMPARE(alarms->item(0)->text(), QStringLiteral("System OK"));

    // Other codes reach the client without a message.
    server.send(QStringLiteral(R"({"id":%1,"error":{"code":2,"message":"x"}})"
                               "\n"
                               R"({"id":%2,"result":8})"
                               "\n")
                    .arg(first + kConcOffset)
                    .arg(first + kConcOffset)
                    .toUtf8());
    QTRY_COMPARE(panel.conc(), QStringLiteral("8.000"));
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_VireoGUI::serverMessageWhileOneIsOpen()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    const int conc = panel.home->firstRequestId() + kConcOffset;

    QStringList messages;
    const auto readAndClose = [&messages](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            messages << box->text();
        qobject_cast<QDialog*>(modal)->accept();
    };
    TestSupport::onNextModal([&](QWidget* modal) {
        // More replies arrive while the first message is open.
        server.send(QStringLiteral(R"({"id":%1,"error":{"code":1,"message":"second"}})"
                                   "\n"
                                   R"({"id":%1,"result":3})"
                                   "\n")
                        .arg(conc)
                        .toUtf8());
        // Let the bytes reach the panel's side while the popup is open.
        QTRY_VERIFY(server.allWritten());
        TestSupport::onNextModal(readAndClose);
        readAndClose(modal);
    });
    server.send(QStringLiteral(R"({"id":%1,"error":{"code":1,"message":"first"}})"
                               "\n")
                    .arg(conc)
                    .toUtf8());
    // They are handled once it closes, without waiting for more traffic.
    QTRY_COMPARE(panel.conc(), QStringLiteral("3.000"));
    QCOMPARE(messages, (QStringList{"first", "second"}));
}

void tst_VireoGUI::replyReachesHiddenPage()
{
    Panel panel;
    QVERIFY(panel.started());
    panel.gui.switchToWindow(MODE);
    QVERIFY(panel.pages->currentWidget() != panel.home);
    panel.reply(kConcOffset, "12.5");
    QTRY_COMPARE(panel.conc(), QStringLiteral("12.50"));
}

void tst_VireoGUI::keypadEntry_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("sent"); // empty: nothing may go out

    QTest::newRow("time of day typed with dots")
        << "date_time"
        << "12.30.00" << true
        << QByteArray(
               R"({"id":500,"jsonrpc":"2.0","method":"date_time","params":["2024-03-01","12:30:00"]})");
    QTest::newRow("IPv4 address stays text")
        << "ip_address"
        << "192.168.1.5" << true
        << QByteArray(
               R"({"id":500,"jsonrpc":"2.0","method":"ip_address","params":["2024-03-01","192.168.1.5"]})");
    QTest::newRow("number")
        << "laser_current"
        << "1.5" << true
        << QByteArray(
               R"({"id":500,"jsonrpc":"2.0","method":"laser_current","params":["2024-03-01",1.5]})");
    QTest::newRow("negative number")
        << "laser_current"
        << "-12.5" << true
        << QByteArray(
               R"({"id":500,"jsonrpc":"2.0","method":"laser_current","params":["2024-03-01",-12.5]})");
    QTest::newRow("letters send nothing") << "laser_current"
                                          << "abc" << true << QByteArray();
    QTest::newRow("empty line sends nothing") << "laser_current"
                                              << "" << true << QByteArray();
    QTest::newRow("two dots send nothing") << "laser_current"
                                           << "1.2.3" << true << QByteArray();
    QTest::newRow("infinity sends nothing") << "laser_current"
                                            << "inf" << true << QByteArray();
    QTest::newRow("cancel sends nothing") << "laser_current"
                                          << "1.5" << false << QByteArray();
}

void tst_VireoGUI::keypadEntry()
{
    QFETCH(QString, method);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QByteArray, sent);

    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    panel.gui.switchToWindow(MODE);
    QWidget* before = panel.pages->currentWidget();

    Analyzer::Request request;
    request.setId(500);
    request.setMethod(method);
    request.setParams({"2024-03-01"}); // parameters already set are kept in front
    QVERIFY(QMetaObject::invokeMethod(&panel.gui, "bringUpKeyboard",
                                      Q_ARG(QString, QStringLiteral("Value:")),
                                      Q_ARG(Analyzer::Request&, request)));
    QCOMPARE(panel.pages->currentWidget(), panel.keyboard);
    QCOMPARE(panel.keyboard->findChild<QLabel*>(QStringLiteral("label"))->text(),
             QStringLiteral("Value:"));

    panel.keyboard->findChild<QLineEdit*>(QStringLiteral("lineEdit"))->setText(typed);
    QTest::mouseClick(
        panel.keyboard->findChild<QPushButton*>(ok ? QStringLiteral("pushButton_OK")
                                                   : QStringLiteral("pushButton_Cancel")),
        Qt::LeftButton);
    QCOMPARE(panel.pages->currentWidget(), before);

    if (sent.isEmpty()) {
        expectHomePollNext(panel);
    } else {
        QTRY_COMPARE(server.lines.size(), 1);
        QCOMPARE(server.lines.at(0), sent);
    }
}

void tst_VireoGUI::germanKeypadKeepsThePoint()
{
    // The German panel shows decimal points as the analyzer writes them, and
    // its keypad's point key types one: "1,5" from a plugged-in keyboard is no
    // number (in German it could as well be read as fifteen), and nothing goes out.
    QVERIFY(setLanguage(QStringLiteral("marlomax"), QStringLiteral("de")));
    const auto english =
        qScopeGuard([] { setLanguage(QStringLiteral("marlomax"), QStringLiteral("en")); });
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    auto* line = panel.keyboard->findChild<QLineEdit*>(QStringLiteral("lineEdit"));
    for (const QString& typed : {QStringLiteral("1,5"), QString()}) {
        Analyzer::Request request;
        request.setId(500);
        request.setMethod(QStringLiteral("laser_current"));
        QVERIFY(QMetaObject::invokeMethod(&panel.gui, "bringUpKeyboard",
                                          Q_ARG(QString, QStringLiteral("Wert:")),
                                          Q_ARG(Analyzer::Request&, request)));
        if (typed.isEmpty()) {
            for (const char* key : {"pushButton_1", "pushButton_Dot", "pushButton_5"})
                QTest::mouseClick(panel.keyboard->findChild<QPushButton*>(QLatin1String(key)),
                                  Qt::LeftButton);
            QCOMPARE(line->text(), QStringLiteral("1.5"));
        } else {
            line->setText(typed);
        }
        QTest::mouseClick(panel.keyboard->findChild<QPushButton*>(QStringLiteral("pushButton_OK")),
                          Qt::LeftButton);
    }
    QTRY_COMPARE(server.lines.size(), 1);
    QCOMPARE(server.lines.at(0),
             QByteArray(R"({"id":500,"jsonrpc":"2.0","method":"laser_current","params":[1.5]})"));
}

void tst_VireoGUI::guiOnlyEntryNeverReachesSocket()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    auto* modeButton = panel.home->findChild<QPushButton*>(QStringLiteral("pushButtonMode"));

    QTest::mouseClick(panel.home->findChild<QPushButton*>(QStringLiteral("pushButtonLock")),
                      Qt::LeftButton);
    QCOMPARE(panel.pages->currentWidget(), panel.keyboard);
    QCOMPARE(panel.keyboard->findChild<QLabel*>(QStringLiteral("label"))->text(),
             QStringLiteral("Enter unlock code:"));
    for (const char* key : {"pushButton_1", "pushButton_2"})
        QTest::mouseClick(panel.keyboard->findChild<QPushButton*>(QLatin1String(key)),
                          Qt::LeftButton);
    QTest::mouseClick(panel.keyboard->findChild<QPushButton*>(QStringLiteral("pushButton_OK")),
                      Qt::LeftButton);

    QCOMPARE(panel.pages->currentWidget(), panel.home);
    QVERIFY(!modeButton->isEnabled()); // locked with 12, answered inside the panel
    QCOMPARE(QSettings().value(QStringLiteral("unlockCode")).toInt(), 12);
    expectHomePollNext(panel);
    QCOMPARE(server.lines.size(), 1);
}

void tst_VireoGUI::tickWhileKeypadShown()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());

    QTest::mouseClick(panel.home->findChild<QPushButton*>(QStringLiteral("pushButtonLock")),
                      Qt::LeftButton);
    QCOMPARE(panel.pages->currentWidget(), panel.keyboard);
    // The keypad is no client: the home page behind it stays silent, and
    // only the status poll goes out.
    panel.tick();
    panel.tick();
    QTRY_COMPARE(server.lines.size(), 2);
    for (const QByteArray& line : server.lines)
        QCOMPARE(TestSupport::methodsIn(line), Analyzer::statusMethods());
    expectHomePollNext(panel);
    QCOMPARE(server.lines.size(), 3);
}

void tst_VireoGUI::settingsKeypadEntries()
{
    // What the keypad hands the settings page is vetted before it goes out:
    // an edit begun in service mode is dropped once the analyzer has left it,
    // a value is held to its field's bounds as the slider holds it, and an
    // empty entry (C, then OK) sends nothing.
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    auto* settings = panel.gui.findChild<SettingsWindow*>();
    const auto readMode = [&](int mode) {
        server.send(QByteArray(R"({"id":)") + QByteArray::number(settings->firstRequestId()) +
                    R"(,"result":)" + QByteArray::number(mode) + "}\n");
        QTRY_COMPARE(settings->isInServiceMode(), mode == Analyzer::ServiceMode);
    };
    const auto type = [&](const char* field, const QStringList& keys) {
        QTest::mouseClick(settings->findChild<QLineEdit*>(field), Qt::LeftButton);
        QCOMPARE(panel.pages->currentWidget(), panel.keyboard);
        for (const QString& key : keys)
            QTest::mouseClick(panel.keyboard->findChild<QPushButton*>("pushButton_" + key),
                              Qt::LeftButton);
    };
    // The lines the entries sent, up to the home poll sent after them.
    const auto sentBeforeNextPoll = [&]() {
        server.lines.clear();
        panel.pollNow(HOME);
        const auto homePoll = [&] {
            for (int i = 0; i < server.lines.size(); ++i) {
                if (parse(server.lines.at(i)).array().size() == 28)
                    return i;
            }
            return -1;
        };
        QStringList lines{QStringLiteral("no home poll")};
        if (QTest::qWaitFor([&] { return homePoll() >= 0; }, 5000)) {
            lines.clear();
            for (const QByteArray& line : server.lines.mid(0, homePoll()))
                lines << QString::fromUtf8(line);
        }
        return lines;
    };
    readMode(Analyzer::ServiceMode);
    panel.gui.switchToWindow(SETTINGS);

    type("laserCurrentLineEdit", {"4", "2"});
    readMode(Analyzer::MeasureMode);
    QTest::mouseClick(panel.keyboard->findChild<QPushButton*>("pushButton_OK"), Qt::LeftButton);
    QCOMPARE(panel.pages->currentWidget(), settings);
    QCOMPARE(sentBeforeNextPoll(), QStringList());

    readMode(Analyzer::ServiceMode);
    type("dataFilterLineEdit", {"5", "OK"});
    type("timeLineEdit", {"1", "C", "OK"});
    const QStringList sent = sentBeforeNextPoll();
    QCOMPARE(sent.size(), 1);
    QVERIFY2(sent.first().contains(R"("method":"data_filter","params":[10])"),
             qPrintable(sent.first()));
}

void tst_VireoGUI::titleBar()
{
    Panel panel;
    auto* name = panel.gui.findChild<QLabel*>(QStringLiteral("nameLabel"));
    auto* version = panel.gui.findChild<QLabel*>(QStringLiteral("versionLabel"));
    // Nothing stands there before the analyzer has named itself.
    QCOMPARE(name->text(), QString());
    QCOMPARE(version->text(), QString());
    QMetaObject::invokeMethod(&panel.gui, "setTitleBarName",
                              Q_ARG(QString, QStringLiteral("VIREO H2O")));
    QMetaObject::invokeMethod(&panel.gui, "setTitleBarVersion",
                              Q_ARG(QString, QStringLiteral("2.4.1")));
    QCOMPARE(name->text(), QStringLiteral("VIREO H2O"));
    QCOMPARE(version->text(), QStringLiteral("2.4.1"));
    // Names the analyzer supplies are shown as typed, never as markup.
    QCOMPARE(name->textFormat(), Qt::PlainText);
    QCOMPARE(version->textFormat(), Qt::PlainText);
}

void tst_VireoGUI::serverDownThenUp()
{
    FakeAnalyzer server;
    QVERIFY(server.listen());
    const quint16 port = server.port();
    server.close(); // a port nobody listens on, for now

    QTest::ignoreMessage(QtDebugMsg, "ERROR: connection with RPC server fail");
    VireoGUI gui(QStringLiteral("127.0.0.1:%1").arg(port), nullptr);
    gui.findChild<QTimer*>(QStringLiteral("pollTimer"))->stop();
    auto* home = gui.findChild<HomeWindow*>();
    QCOMPARE(gui.findChild<QStackedWidget*>(QStringLiteral("pages"))->currentWidget(), home);
    auto* connection = gui.findChild<Analyzer::ConnectionInterface*>();
    QVERIFY(!connection->isConnected());

    const auto tick = [&gui] { QMetaObject::invokeMethod(&gui, "requestUpdate"); };

    QVERIFY(server.listen(port));
    server.skipLinesWith = kSerialPoll;
    tick(); // reconnects; reported by the next tick
    QVERIFY(connection->isConnected());
    tick();
    QCOMPARE(modalPopupText(), QStringLiteral("Restored connection to 127.0.0.1:%1").arg(port));
    // The trend screen and the mini plot ask for the history they could not
    // get before, and the same tick goes on polling the home page, the popup
    // still open.
    QTRY_COMPARE(server.lines.size(), 3);
    QCOMPARE(parse(server.lines.at(0))["method"].toString(), QStringLiteral("get_trend_data"));
    QCOMPARE(parse(server.lines.at(1))["method"].toString(), QStringLiteral("get_trend_data"));
    QCOMPARE(parse(server.lines.at(2)).array().size(), 28);
    qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept();

    server.close();
    QTRY_VERIFY(!connection->isConnected());
    tick();
    QCOMPARE(modalPopupText(), QStringLiteral("Lost connection to 127.0.0.1:%1").arg(port));
    // Both procedures hear of it and end with the lost-connection text.
    for (QWidget* page : {static_cast<QWidget*>(gui.findChild<CertificationWindow*>()),
                          static_cast<QWidget*>(gui.findChild<CalibrationWindow*>())})
        QCOMPARE(page->findChild<QLabel*>(QStringLiteral("labelStatus"))->text(),
                 QStringLiteral("ERROR: Lost connection to analyzer"));
}

void tst_VireoGUI::serverReplyToLockEntryChangesNothing()
{
    Panel panel;
    QVERIFY(panel.started());
    // A reply to the keypad's lock entry, which the server was never sent.
    panel.reply(kLockOffset, "[6785]");
    panel.reply(kConcOffset, "9");
    QTRY_COMPARE(panel.conc(), QStringLiteral("9.000"));
    QVERIFY(panel.home->findChild<QPushButton*>(QStringLiteral("pushButtonMode"))->isEnabled());
    QVERIFY(!QSettings().contains(QStringLiteral("locked")));
    QVERIFY(!QSettings().contains(QStringLiteral("unlockCode")));
}

void tst_VireoGUI::firstBatchRoutedAfterDropMidLine()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    QSignalSpy arrived(panel.connection, &Analyzer::ConnectionInterface::readyToRead);
    server.send(R"({"id":)" + QByteArray::number(panel.home->firstRequestId() + kConcOffset) +
                R"(,"resu)");
    QVERIFY(arrived.wait());
    server.dropLink();
    QTRY_VERIFY(!panel.connection->isConnected());

    server.results[QStringLiteral("conc")] = 3.5;
    panel.tick(); // reports the loss and reconnects
    QVERIFY(panel.connection->isConnected());
    panel.tick(); // reports the return and polls
    QTRY_COMPARE(panel.conc(), QStringLiteral("3.500"));
    QCOMPARE(server.lines.size(), 3); // two history requests, then the one batch
}

void tst_VireoGUI::popupLeftOpenWhileServerReturns()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    const quint16 port = server.port();
    panel.gui.findChild<QTimer*>(QStringLiteral("pollTimer"))->start(); // the panel's own ticks

    server.close();
    QTRY_COMPARE_WITH_TIMEOUT(modalPopupText(),
                              QStringLiteral("Lost connection to 127.0.0.1:%1").arg(port), 5000);
    server.lines.clear();
    QVERIFY(server.listen(port));
    // Nobody touches the popup: the panel reconnects, says so and polls again.
    QTRY_COMPARE_WITH_TIMEOUT(
        modalPopupText(), QStringLiteral("Restored connection to 127.0.0.1:%1").arg(port), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(
        !server.lines.isEmpty() && parse(server.lines.last()).array().size() == 28, 3000);
}

void tst_VireoGUI::hugeServerTextIsCapped()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    const QByteArray huge(1000000, 'x');
    const QString capped = QString(kServerTextLimit, QLatin1Char('x')) + QChar(0x2026);

    // The label shows the cap, the log keeps the whole name.
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral(
                                         "^Text from the analyzer cut .* (x{1000}){1000}$")));
    panel.reply(kSpeciesOffset, '"' + huge + '"');
    auto* species = panel.home->findChild<QLabel*>(QStringLiteral("speciesLabel"));
    QTRY_COMPARE(species->text(), capped);
    panel.gui.setFixedSize(640, 480); // as in the frame window
    TestSupport::saveScreenshot(&panel.gui, QStringLiteral("home-capped-species"));

    QString shown;
    TestSupport::onNextModal([&shown](QWidget* modal) {
        shown = qobject_cast<QMessageBox*>(modal)->text();
        qobject_cast<QDialog*>(modal)->accept();
    });
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral(
                                         "^Message from RPC Server: (x{1000}){1000}$")));
    server.send(R"({"id":0,"error":{"code":1,"message":")" + huge +
                R"("}})"
                "\n");
    QTRY_COMPARE(shown, capped);
}

void tst_VireoGUI::certificationRestartsWhenShown()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    QTemporaryDir storage;
    setStoragePath(storage.path());
    auto* certification = panel.gui.findChild<CertificationWindow*>();
    auto* status = certification->findChild<QLabel*>(QStringLiteral("labelStatus"));

    panel.gui.switchToWindow(CERTIFICATION);
    panel.tick();
    QTRY_COMPARE(server.lines.size(), 1);
    // Its six requests, the mode first, then the alarm flags of the status poll.
    const QJsonArray batch = parse(server.lines.at(0)).array();
    QCOMPARE(batch.size(), 6 + Analyzer::statusMethods().size() - 1);
    QCOMPARE(batch.first()["id"].toInt(), certification->firstRequestId());
    QCOMPARE(batch.at(5)["id"].toInt(), certification->lastRequestId());
    server.send(QByteArray(R"({"id":)") + QByteArray::number(certification->firstRequestId()) +
                R"(,"result":8})" + "\n");
    QTRY_VERIFY(status->text().startsWith(QStringLiteral("Supply zero gas")));

    panel.gui.switchToWindow(CERTIFICATION);
    QCOMPARE(status->text(), QStringLiteral("Please insert USB disk."));
}

void tst_VireoGUI::endlessLineIsDropped()
{
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Dropping \\d+ received bytes")));
    server.send(QByteArray(65 * 1024 * 1024, 'x'));
    server.send("\n"); // ends whatever tail of the endless line is left
    panel.reply(kConcOffset, "6");
    QTRY_COMPARE_WITH_TIMEOUT(panel.conc(), QStringLiteral("6.000"), 20000);
}

void tst_VireoGUI::miniPlotFollowsTrendScreen()
{
    Panel panel;
    QVERIFY(panel.started());
    auto* trend = panel.gui.findChild<TrendWindow*>();
    QVERIFY(trend);

    // The operator picks "1 Hour" and types a maximum on the trend screen ...
    trend->findChild<QComboBox*>(QStringLiteral("intervalComboBox"))->setCurrentIndex(3);
    panel.gui.switchToWindow(TREND);
    auto* chartView = trend->findChild<QChartView*>(QStringLiteral("chartView"));
    QTest::mouseClick(chartView->viewport(), Qt::LeftButton, {},
                      chartView->viewport()->mapFrom(chartView, QPoint(50, 50)));
    QCOMPARE(panel.pages->currentWidget(), panel.keyboard);
    panel.keyboard->findChild<QLineEdit*>(QStringLiteral("lineEdit"))
        ->setText(QStringLiteral("250"));
    QTest::mouseClick(panel.keyboard->findChild<QPushButton*>(QStringLiteral("pushButton_OK")),
                      Qt::LeftButton);
    QCOMPARE(panel.pages->currentWidget(), trend);
    QCOMPARE(trend->valueAxisMaximum(), 250.0);

    // ... and the next tick scales the home mini plot the same way.
    panel.tick();
    QCOMPARE(panel.home->miniPlotIntervalIndex(), 3);
    QCOMPARE(panel.home->miniPlotMinimum(), trend->valueAxisMinimum());
    QCOMPARE(panel.home->miniPlotMaximum(), 250.0);
}

void tst_VireoGUI::shutdownSendsModeZeroAndQuits()
{
    // One shutdown per process: the application's quit cannot be undone.
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    // Ticks as fast as they come, so one would certainly fall into the wait.
    panel.gui.findChild<QTimer*>(QStringLiteral("pollTimer"))->start(5);

    // The analyzer drops the link as soon as it has the order to shut down;
    // it keeps listening, so a tick could reconnect and poll again.
    connect(&server, &FakeAnalyzer::lineReceived, &server, [&server](const QByteArray& line) {
        if (line.contains(R"("method":"opmode","params":[0])"))
            server.dropLink();
    });
    server.lines.clear();
    QElapsedTimer clock;
    QEventLoop loop;
    QTimer::singleShot(0, &panel.gui, [&panel, &clock] {
        clock.start();
        panel.gui.shutdown();
    });
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(99); });
    QCOMPARE(loop.exec(), 0);
    // The analyzer gets a quarter of a second before the panel lets go.
    QVERIFY2(clock.elapsed() >= 250, qPrintable(QString::number(clock.elapsed())));

    // Whatever the panel sent reached the server before its side closed.
    QTRY_VERIFY(server.peerClosed());
    QVERIFY(!panel.connection->isConnected());
    QCOMPARE(server.lines,
             (QList<QByteArray>{R"({"id":1,"jsonrpc":"2.0","method":"opmode","params":[0]})"}));
    // The home page may still use its history source: it outlives the pages.
    QMetaObject::invokeMethod(panel.home, "moveMiniPlotXAxis");
}

void tst_VireoGUI::lostConnectionCancelsTransfer()
{
    QTemporaryDir storage;
    setStoragePath(storage.path());
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    TestSupport::MessageAnswerer answerer;
    const QJsonObject start = startDownload(panel, FileManager::SrdaFile);
    QCOMPARE(start["method"].toString(), QStringLiteral("download_srda"));
    server.send(QByteArray(R"({"id":)") + QByteArray::number(start["id"].toInt()) +
                R"(,"result":[3,"tok"]})"
                "\n");
    QTRY_COMPARE(server.lines.size(), 2);
    QCOMPARE(parse(server.lines.at(1)).object()["method"].toString(),
             QStringLiteral("download_file_data"));

    server.close();
    QTRY_VERIFY(!panel.connection->isConnected());
    panel.tick();
    // Both popups are open at once; which one the answerer meets first is up
    // to the window system.
    QTRY_COMPARE(answerer.messages.size(), 2);
    answerer.messages.sort();
    QCOMPARE(answerer.messages,
             (QStringList{QStringLiteral("Lost connection to ") + server.connectionString(),
                          QStringLiteral("Transfer Cancelled")}));
    QCOMPARE(QDir(storage.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void tst_VireoGUI::transferRepliesRoutedByTheirOwnIds()
{
    QTemporaryDir storage;
    setStoragePath(storage.path());
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    TestSupport::MessageAnswerer answerer;
    int lastBlockId = 0;
    for (QObject* object : panel.gui.findChildren<QObject*>()) {
        if (auto* client = qobject_cast<Analyzer::RPCInterface*>(object))
            lastBlockId = std::max(lastBlockId, client->lastRequestId());
    }

    const int start = startDownload(panel, FileManager::LogFile)["id"].toInt();
    // The first id past every client's block and the status poll's ids.
    QCOMPARE(start, lastBlockId + 1 + Analyzer::statusMethods().size());
    server.send(QByteArray(R"({"id":)") + QByteArray::number(start) +
                R"(,"result":[25,"tok"]})"
                "\n");
    QTRY_COMPARE(server.lines.size(), 2);
    const QJsonArray batch = parse(server.lines.at(1)).array();
    QCOMPARE(batch.size(), 25);
    // Answered backwards, one line each, the end chunk first; a page's reply
    // in between still reaches the page.
    QByteArray expected;
    for (int slot = 24; slot >= 0; --slot) {
        const int id = batch.at(slot)["id"].toInt();
        QCOMPARE(id, start + 1 + slot);
        const QByteArray chunk =
            slot == 24 ? QByteArray() : "line " + QByteArray::number(slot) + '\n';
        expected.prepend(chunk);
        server.send(QByteArray(R"({"id":)") + QByteArray::number(id) + R"(,"result":")" +
                    chunk.toBase64() + "\"}\n");
        if (slot == 12)
            panel.reply(kConcOffset, "42");
    }
    QTRY_COMPARE(answerer.messages, QStringList{"File copied successfully"});
    QCOMPARE(panel.conc(), QStringLiteral("42.00"));
    const QStringList files = QDir(storage.path()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QCOMPARE(TransferTest::readFile(storage.filePath(files.first())), expected);
}

void tst_VireoGUI::lostConnectionWithoutTransferReportsNothing_data()
{
    QTest::addColumn<bool>("packaging");
    QTest::newRow("nothing under way") << false;
    QTest::newRow("cabinet maker running") << true;
}

void tst_VireoGUI::lostConnectionWithoutTransferReportsNothing()
{
    QFETCH(bool, packaging);
    QTemporaryDir storage;
    setStoragePath(storage.path());
    for (const char* name : {"a.bin", "b.bin", "c.db", "d.db"})
        QVERIFY(TransferTest::writeFile(storage.filePath(name), name));
    // The cabinet maker runs until the link is gone and its loss handled.
    TransferTest::Programs programs;
    const QString started = programs.filePath("started");
    const QString go = programs.filePath("go");
    programs.add(
        "makecab",
        QStringLiteral("touch '%1'\nwhile [ ! -e '%2' ]; do sleep 0.02; done").arg(started, go));
    Panel panel;
    FakeAnalyzer& server = panel.server;
    QVERIFY(panel.started());
    TestSupport::MessageAnswerer answerer;
    auto* files = panel.gui.findChild<FileManager*>();
    QSignalSpy outcomes(files, &FileManager::downloadComplete);
    const QString lost = QStringLiteral("Lost connection to ") + server.connectionString();
    const auto loseLink = [&]() {
        server.close();
        QVERIFY(QTest::qWaitFor([&] { return !panel.connection->isConnected(); }));
        panel.tick();
        QVERIFY(QTest::qWaitFor([&] { return answerer.messages.contains(lost); }));
        QCOMPARE(outcomes.size(), 0);
        QVERIFY(TransferTest::writeFile(go, ""));
    };
    if (!packaging) {
        loseLink();
    } else {
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&]() {
            if (QFile::exists(started) && poll.isActive()) {
                poll.stop();
                loseLink();
            }
        });
        poll.start(5);
        QMetaObject::invokeMethod(&panel.gui, "startDownloadFile",
                                  Q_ARG(FileManager::FileType, FileManager::CertificationPackage),
                                  Q_ARG(bool, true));
        // The cabinet maker's own result, once.
        QCOMPARE(outcomes.size(), 1);
        QCOMPARE(outcomes.first().first().toBool(), true);
    }
    QCOMPARE(answerer.messages, QStringList{lost});
}

// The history requests carry wall-clock text, which reads back exactly only
// where the clock never repeats an hour.
MARLOMAX_TEST_MAIN_IN_ZONE(tst_VireoGUI, QApplication, "UTC")
#include "tst_vireogui.moc"
