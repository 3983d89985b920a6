// The Fleet window against real simulators (one in every NE 107 class, one
// with a process alarm, one stopped part way, one never answering) and
// against a scripted analyzer for what goes on the wire and what a hostile one
// sends back; its rows hold still under the pointer; the launcher's window
// opens it, follows list changes into it, and starts panels from it.
#include "analyzer/analyzerstate.h"
#include "analyzer/response.h"
#include "launcher/analyzerprobe.h"
#include "launcher/fleetmodel.h"
#include "launcher/fleetwindow.h"
#include "launcher/mainwindow.h"
#include "launcher/statuspoll.h"
#include "launchertestsupport.h"
#include "support/screencheck.h"
#include "support/simclient.h"
#include "support/simulatorprocess.h"

#include <QCursor>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <functional>

namespace {

// Short clocks; the request time limit stays the product's.
FleetTiming quickTiming()
{
    FleetTiming timing;
    timing.refreshMs = 300;
    timing.longestRetryMs = 1200;
    timing.viewUpdateMs = 20;
    return timing;
}

/// A scripted analyzer on a loopback port: records every line it receives and
/// answers each with what the script makes of the batch.
class FakeAnalyzer
{
public:
    using Script = std::function<QByteArray(const QJsonArray& batch)>;

    FakeAnalyzer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this]() {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++connections;
                open << socket;
                QObject::connect(socket, &QTcpSocket::readyRead,
                                 [this, socket]() { answer(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, [this, socket]() {
                    open.removeAll(socket);
                    socket->deleteLater();
                });
                if (closeAtOnce)
                    socket->disconnectFromHost();
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    QTcpServer& server() { return m_server; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    /// The reply object the analyzer would give to one request, as the simulator answers.
    static QJsonObject usual(const QJsonObject& request)
    {
        const QString method = request.value(QStringLiteral("method")).toString();
        QJsonValue result = false;
        if (method == QLatin1String("opmode"))
            result = 8;
        else if (method == QLatin1String("conc"))
            result = 123.4567;
        else if (method == QLatin1String("species"))
            result = QStringLiteral("H2O");
        else if (method == QLatin1String("units"))
            result = QStringLiteral("volume");
        else if (method == QLatin1String("switch_to_ppm"))
            result = 1000;
        return {
            {"jsonrpc", "2.0"}, {"id", request.value(QStringLiteral("id"))}, {"result", result}};
    }
    static QByteArray line(const QJsonArray& replies)
    {
        return QJsonDocument(replies).toJson(QJsonDocument::Compact) + '\n';
    }
    static QByteArray answerAll(const QJsonArray& batch)
    {
        QJsonArray replies;
        for (const QJsonValue& request : batch)
            replies.append(usual(request.toObject()));
        return line(replies);
    }

    Script script = &FakeAnalyzer::answerAll;
    bool closeAtOnce = false;
    int connections = 0;
    QList<QTcpSocket*> open;
    QList<QByteArray> received;

private:
    void answer(QTcpSocket* socket)
    {
        m_pending[socket] += socket->readAll();
        QByteArray& pending = m_pending[socket];
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray text = pending.left(end);
            pending.remove(0, end + 1);
            received << text;
            socket->write(script(QJsonDocument::fromJson(text).array()));
        }
    }

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

QTableView* table(QWidget* window)
{
    return TestSupport::child<QTableView>(window, QStringLiteral("tableFleet"));
}

/// The text shown in a column, row by row as the view sorts them.
QStringList column(QWidget* window, int column)
{
    QAbstractItemModel* model = table(window)->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

/// The shown text of the row whose name is name.
QString cell(QWidget* window, const QString& name, int columnIndex)
{
    const int row = column(window, FleetModel::NameColumn).indexOf(name);
    return row < 0 ? QStringLiteral("<no row %1>").arg(name) : column(window, columnIndex).at(row);
}

/// The class the row whose name is name shows.
Analyzer::StatusClass classOf(QWidget* window, const QString& name)
{
    const int row = column(window, FleetModel::NameColumn).indexOf(name);
    return table(window)
        ->model()
        ->index(row, FleetModel::StatusColumn)
        .data(FleetModel::StatusClassRole)
        .value<Analyzer::StatusClass>();
}

/// The class's name, as the panel's badge writes it.
QString named(Analyzer::StatusClass statusClass)
{
    return Analyzer::statusClassName(statusClass);
}

/// An age as "Last reply" shows it.
bool isAge(const QString& text)
{
    return QRegularExpression(QStringLiteral("^\\d+ (s|min|h) ago$")).match(text).hasMatch();
}

/// The pointer somewhere off the window.
void pointerAway(QWidget* window)
{
    QCursor::setPos(window->mapToGlobal(QPoint(window->width() + 100, window->height() + 100)));
}

/// The class the panel's badge shows for the analyzer on port: its own
/// state object, fed with the replies to its status poll.
Analyzer::StatusClass panelClassOf(quint16 port)
{
    SimClient client;
    if (!client.connectTo(port))
        return Analyzer::StatusClass::Failure;
    Analyzer::AnalyzerState state;
    state.setLink(true, QStringLiteral("127.0.0.1:%1").arg(port));
    const QStringList& methods = Analyzer::statusMethods();
    QJsonArray requests;
    for (int i = 0; i < methods.size(); ++i)
        requests.append(SimClient::request(methods.at(i), QJsonValue::Undefined, i + 1));
    for (const QJsonValue& reply : client.batch(requests)) {
        const int index = reply[QLatin1String("id")].toInt() - 1;
        if (index >= 0 && index < methods.size())
            state.take(methods.at(index), Analyzer::Response(reply.toObject()));
    }
    return state.statusClass();
}

ConnectionEntry entry(const QString& name, const QString& address)
{
    return {name, address, QDir::tempPath()};
}

} // namespace

class tst_FleetWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void nothingTalksUntilOpened();
    void pollIsReadOnlyOnOneConnection();
    void fleetOfSimulators();
    void rowUnderThePointerStays();
    void silentAnalyzerIsNoReply();
    void repliesOutOfTheOrdinary_data();
    void repliesOutOfTheOrdinary();
    void brokenStreamsAreDropped_data();
    void brokenStreamsAreDropped();
    void retryWaitGrows_data();
    void retryWaitGrows();
    void failingAnalyzerIsRetriedLessOften();
    void backOffStartsAgainAfterARecovery();
    void doubleClickLaunches();
    void followsTheStoredList();

private:
    std::unique_ptr<LauncherStore> m_store;
};

void tst_FleetWindow::init()
{
    m_store = std::make_unique<LauncherStore>();
}

void tst_FleetWindow::cleanup()
{
    m_store.reset();
}

void tst_FleetWindow::nothingTalksUntilOpened()
{
    FakeAnalyzer analyzer;
    LauncherStore::seed({entry(QStringLiteral("Lab"), analyzer.address())});
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Start-up, list selection and the other buttons never reach an analyzer.
    TestSupport::child<QListWidget>(&window, QStringLiteral("listConnections"))->setCurrentRow(0);
    QSignalSpy connecting(&analyzer.server(), &QTcpServer::newConnection);
    QVERIFY(!connecting.wait(500));
    QCOMPARE(analyzer.connections, 0);

    auto* open = TestSupport::child<QPushButton>(&window, QStringLiteral("buttonFleet"));
    QCOMPARE(open->text(), QStringLiteral("Fleet..."));
    QTest::mouseClick(open, Qt::LeftButton);
    QVERIFY(window.fleetWindow());
    QCOMPARE(window.fleetWindow()->windowTitle(), QStringLiteral("Fleet"));
    QVERIFY(window.fleetWindow()->isWindow());
    QTRY_COMPARE(analyzer.connections, 1);

    // A second click shows the same window; closing it ends the connection.
    QTest::mouseClick(open, Qt::LeftButton);
    QTRY_VERIFY(!analyzer.received.isEmpty());
    QCOMPARE(analyzer.connections, 1);
    window.fleetWindow()->close();
    QTRY_VERIFY(!window.fleetWindow());
    QTRY_VERIFY(analyzer.open.isEmpty());

    // Closing the launcher closes a Fleet window it opened.
    QTest::mouseClick(open, Qt::LeftButton);
    QTRY_COMPARE(analyzer.open.size(), 1);
    window.close();
    QTRY_VERIFY(!window.fleetWindow());
    QTRY_VERIFY(analyzer.open.isEmpty());
}

void tst_FleetWindow::pollIsReadOnlyOnOneConnection()
{
    FakeAnalyzer analyzer;
    const QList<ConnectionEntry> stored = {entry(QStringLiteral("Lab"), analyzer.address())};
    LauncherStore::seed(stored);
    const QByteArray storeBefore = LauncherStore::readRaw(LauncherStore::fileName());
    {
        FleetWindow fleet(stored, nullptr, quickTiming());
        QTRY_VERIFY(analyzer.received.size() >= 3);
        QCOMPARE(analyzer.connections, 1);
        QTRY_COMPARE(cell(&fleet, "Lab", FleetModel::StatusColumn),
                     named(Analyzer::StatusClass::Normal));
    }
    QSet<int> ids;
    for (const QByteArray& text : analyzer.received) {
        const QJsonArray batch = QJsonDocument::fromJson(text).array();
        QStringList methods;
        for (const QJsonValue& value : batch) {
            const QJsonObject request = value.toObject();
            methods << request.value(QStringLiteral("method")).toString();
            QVERIFY2(!request.contains(QStringLiteral("params")), text.constData());
            QCOMPARE(request.value(QStringLiteral("jsonrpc")).toString(), QStringLiteral("2.0"));
            ids << request.value(QStringLiteral("id")).toInt();
        }
        QCOMPARE(methods, StatusPoll::methods());
    }
    // Every request of every poll has an id of its own.
    QCOMPARE(ids.size(), analyzer.received.size() * StatusPoll::methods().size());
    QCOMPARE(StatusPoll::methods().mid(0, 4), (QStringList{"opmode", "conc", "species", "units"}));
    // Every alarm flag, the verification reminder last: it sets a class too.
    for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable())
        QVERIFY2(StatusPoll::methods().contains(QLatin1String(info.method)), info.method);
    QCOMPARE(StatusPoll::methods().last(), QStringLiteral("calibration_certificate_expired"));
    QCOMPARE(StatusPoll::methods().size(), 6 + Analyzer::alarmTable().size());
    // The status lives in memory only.
    QCOMPARE(LauncherStore::readRaw(LauncherStore::fileName()), storeBefore);
}

void tst_FleetWindow::fleetOfSimulators()
{
    using C = Analyzer::StatusClass;
    TestSupport::SimulatorProcess measuring({"--seed", "3", "--baseline", "85"});
    TestSupport::SimulatorProcess alarm({"--alarm", "laser", "--seed", "4"});
    TestSupport::SimulatorProcess service({"--control", "--seed", "5", "--baseline", "600"});
    TestSupport::SimulatorProcess stopped({"--seed", "6", "--baseline", "40"});
    TestSupport::SimulatorProcess pressure({"--alarm", "pressure", "--seed", "7"});
    TestSupport::SimulatorProcess due({"--certificate-expired", "--seed", "8"});
    // Above the first user alarm's level (1000 ppb), below the second's.
    TestSupport::SimulatorProcess high({"--seed", "9", "--baseline", "2000"});
    for (auto* sim : {&measuring, &alarm, &service, &stopped, &pressure, &due, &high})
        QVERIFY2(sim->start(), qPrintable(sim->errorString()));
    SimClient control;
    QVERIFY(control.connectTo(service.port()));
    QCOMPARE(control.call(QStringLiteral("opmode"), QJsonArray{2}).value("result").toInt(), 2);

    const QList<ConnectionEntry> stored = {
        entry(QStringLiteral("Stack 1"), measuring.connectionString()),
        entry(QStringLiteral("Stack 2"), stopped.connectionString()),
        entry(QStringLiteral("Dryer"), service.connectionString()),
        entry(QStringLiteral("Roof"), alarm.connectionString()),
        entry(QStringLiteral("Old"), QStringLiteral("fe80::1:60001")),
        entry(QStringLiteral("Inlet"), pressure.connectionString()),
        entry(QStringLiteral("Lab"), due.connectionString()),
        entry(QStringLiteral("Tank"), high.connectionString()),
    };
    PopupCounter popups;
    FleetWindow fleet(stored, nullptr, quickTiming());
    fleet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fleet));
    pointerAway(&fleet);

    // By class, failures first, stored order within a class.
    QTRY_COMPARE_WITH_TIMEOUT(
        column(&fleet, FleetModel::NameColumn),
        (QStringList{"Roof", "Old", "Dryer", "Inlet", "Lab", "Stack 1", "Stack 2", "Tank"}), 20000);
    QTRY_COMPARE(column(&fleet, FleetModel::StatusColumn),
                 (QStringList{named(C::Failure), named(C::Failure), named(C::FunctionCheck),
                              named(C::Uncertain), named(C::MaintenanceRequired), named(C::Normal),
                              named(C::Normal), named(C::Normal)}));
    // Each answering analyzer in the class its panel's badge shows, by the one rule.
    const std::pair<const char*, TestSupport::SimulatorProcess*> answering[] = {
        {"Stack 1", &measuring}, {"Dryer", &service}, {"Roof", &alarm},
        {"Inlet", &pressure},    {"Lab", &due},       {"Tank", &high}};
    for (const auto& [name, sim] : answering) {
        const C panel = panelClassOf(sim->port());
        QCOMPARE(classOf(&fleet, name), panel);
        QCOMPARE(cell(&fleet, name, FleetModel::StatusColumn), named(panel));
        // The same symbol as on the panel's badge beside the words.
        const int row = column(&fleet, FleetModel::NameColumn).indexOf(name);
        const QIcon icon = table(&fleet)
                               ->model()
                               ->index(row, FleetModel::StatusColumn)
                               .data(Qt::DecorationRole)
                               .value<QIcon>();
        QCOMPARE(icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32),
                 QImage(Analyzer::statusClassSymbol(panel)).convertToFormat(QImage::Format_ARGB32));
    }
    QCOMPARE(classOf(&fleet, "Old"), C::Failure);
    QCOMPARE(cell(&fleet, "Old", FleetModel::AlarmsColumn), QStringLiteral("Bad address"));
    QCOMPARE(cell(&fleet, "Roof", FleetModel::AlarmsColumn), QStringLiteral("Laser Alarm"));
    QCOMPARE(cell(&fleet, "Lab", FleetModel::AlarmsColumn), QStringLiteral("Perf. Verification"));
    // A process alarm has its own column and sets no class.
    QCOMPARE(cell(&fleet, "Tank", FleetModel::ProcessAlarmsColumn), QStringLiteral("Conc Alarm 1"));
    QCOMPARE(cell(&fleet, "Tank", FleetModel::AlarmsColumn), QString());
    QCOMPARE(cell(&fleet, "Dryer", FleetModel::ModeColumn), QStringLiteral("SERVICE MODE"));
    QCOMPARE(cell(&fleet, "Stack 1", FleetModel::ModeColumn), QStringLiteral("MEASURE MODE"));
    QCOMPARE(cell(&fleet, "Stack 1", FleetModel::AlarmsColumn), QString());
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d+ PPBv H\u2082O$"))
                 .match(cell(&fleet, "Stack 1", FleetModel::ConcentrationColumn))
                 .hasMatch(),
             qPrintable(cell(&fleet, "Stack 1", FleetModel::ConcentrationColumn)));
    QVERIFY2(isAge(cell(&fleet, "Stack 2", FleetModel::LastReplyColumn)),
             qPrintable(cell(&fleet, "Stack 2", FleetModel::LastReplyColumn)));
    QCOMPARE(cell(&fleet, "Old", FleetModel::LastReplyColumn), QString());
    // The summary names every class, and its counts add up to the rows.
    auto* summary = TestSupport::child<QLabel>(&fleet, QStringLiteral("labelSummary"));
    const auto summaryOf = [](const QList<int>& counts) {
        const C classes[] = {C::Failure, C::FunctionCheck, C::Uncertain, C::MaintenanceRequired,
                             C::Normal};
        QStringList parts;
        for (int i = 0; i < counts.size(); ++i)
            parts << QStringLiteral("%1 %2").arg(counts.at(i)).arg(named(classes[i]));
        return QStringLiteral("8 analyzers: ") + parts.join(QStringLiteral(", "));
    };
    QTRY_COMPARE(summary->text(), summaryOf({2, 1, 1, 1, 3}));
    TestSupport::saveScreenshot(&fleet, QStringLiteral("launcher_fleet_live"));

    // Stopped part way: a failure, moved up among the failures, its last
    // values kept but greyed, and no popup.
    const QString stoppedMode = cell(&fleet, "Stack 2", FleetModel::ModeColumn);
    stopped.kill();
    QTRY_COMPARE_WITH_TIMEOUT(cell(&fleet, "Stack 2", FleetModel::AlarmsColumn),
                              QStringLiteral("Unreachable"), 10000);
    QCOMPARE(cell(&fleet, "Stack 2", FleetModel::StatusColumn), named(C::Failure));
    QTRY_COMPARE(
        column(&fleet, FleetModel::NameColumn),
        (QStringList{"Stack 2", "Roof", "Old", "Dryer", "Inlet", "Lab", "Stack 1", "Tank"}));
    const QModelIndex stoppedMode0 = table(&fleet)->model()->index(0, FleetModel::ModeColumn);
    QCOMPARE(stoppedMode0.data().toString(), stoppedMode);
    const QColor grey = stoppedMode0.data(Qt::ForegroundRole).value<QBrush>().color();
    QVERIFY(grey != QColor(Qt::black));
    QVERIFY(TestSupport::contrastRatio(grey, Qt::white) >= 4.5);
    QVERIFY(isAge(cell(&fleet, "Stack 2", FleetModel::LastReplyColumn)));
    QCOMPARE(popups.shown, 0);
    QTRY_COMPARE(summary->text(), summaryOf({3, 1, 1, 1, 2}));
    QCOMPARE(TestSupport::lowContrastTexts(&fleet), QStringList());
    TestSupport::saveScreenshot(&fleet, QStringLiteral("launcher_fleet"));

    // Back on the same port: found again by the retries.
    QVERIFY(stopped.restart());
    QTRY_COMPARE_WITH_TIMEOUT(cell(&fleet, "Stack 2", FleetModel::StatusColumn), named(C::Normal),
                              10000);
    QCOMPARE(cell(&fleet, "Stack 2", FleetModel::AlarmsColumn), QString());
    QCOMPARE(popups.shown, 0);
}

void tst_FleetWindow::rowUnderThePointerStays()
{
    TestSupport::SimulatorProcess first({"--seed", "3"});
    TestSupport::SimulatorProcess second({"--seed", "4"});
    TestSupport::SimulatorProcess third({"--control", "--seed", "5"});
    for (auto* sim : {&first, &second, &third})
        QVERIFY2(sim->start(), qPrintable(sim->errorString()));
    FleetWindow fleet({entry(QStringLiteral("A"), first.connectionString()),
                       entry(QStringLiteral("B"), second.connectionString()),
                       entry(QStringLiteral("C"), third.connectionString())},
                      nullptr, quickTiming());
    fleet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fleet));
    pointerAway(&fleet);
    const QString normal = named(Analyzer::StatusClass::Normal);
    QTRY_COMPARE_WITH_TIMEOUT(column(&fleet, FleetModel::StatusColumn),
                              (QStringList{normal, normal, normal}), 10000);
    // Polls go on, the classes stay: so does the order.
    QSignalSpy updates(fleet.model(), &FleetModel::updated);
    QTRY_VERIFY(updates.count() >= 3);
    QCOMPARE(column(&fleet, FleetModel::NameColumn), (QStringList{"A", "B", "C"}));

    // The pointer on B while C fails: C would go first, but nothing moves.
    QTableView* view = table(&fleet);
    const QRect rowB = view->visualRect(view->model()->index(1, FleetModel::NameColumn));
    QTest::mouseMove(view->viewport(), rowB.center());
    SimClient control;
    QVERIFY(control.connectTo(third.port()));
    control.call(QStringLiteral("sim_control"), QJsonArray{"alarm", "laser", true});
    QTRY_COMPARE_WITH_TIMEOUT(cell(&fleet, "C", FleetModel::StatusColumn),
                              named(Analyzer::StatusClass::Failure), 10000);
    updates.clear();
    QTRY_VERIFY(updates.count() >= 3);
    QCOMPARE(column(&fleet, FleetModel::NameColumn), (QStringList{"A", "B", "C"}));
    QCOMPARE(view->indexAt(rowB.center()).data().toString(), QStringLiteral("B"));

    // The pointer gone, C takes its place first.
    pointerAway(&fleet);
    QTRY_COMPARE(column(&fleet, FleetModel::NameColumn), (QStringList{"C", "A", "B"}));
}

void tst_FleetWindow::silentAnalyzerIsNoReply()
{
    // Answers one line per connection, then holds the connection open in silence.
    TestSupport::SimulatorProcess silent({"--stop-after", "1"});
    QVERIFY2(silent.start(), qPrintable(silent.errorString()));
    FleetWindow fleet({entry(QStringLiteral("Mute"), silent.connectionString())}, nullptr,
                      quickTiming());
    QTRY_COMPARE(cell(&fleet, "Mute", FleetModel::StatusColumn),
                 named(Analyzer::StatusClass::Normal));
    const QString answered = cell(&fleet, "Mute", FleetModel::LastReplyColumn);
    QTRY_COMPARE_WITH_TIMEOUT(cell(&fleet, "Mute", FleetModel::AlarmsColumn),
                              QStringLiteral("No reply"), 10000);
    QCOMPARE(cell(&fleet, "Mute", FleetModel::StatusColumn), named(Analyzer::StatusClass::Failure));
    QVERIFY(isAge(answered));
    QCOMPARE(table(&fleet)
                 ->model()
                 ->index(0, FleetModel::StatusColumn)
                 .data(Qt::ToolTipRole)
                 .toString()
                 .contains(QStringLiteral("no reply within 2000 ms")),
             true);
    // The retry connects afresh, which this analyzer answers once more.
    QTRY_COMPARE_WITH_TIMEOUT(cell(&fleet, "Mute", FleetModel::StatusColumn),
                              named(Analyzer::StatusClass::Normal), 10000);
}

void tst_FleetWindow::repliesOutOfTheOrdinary_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("concentration");
    QTest::addColumn<QString>("alarms");
    QTest::addColumn<QString>("processAlarms");
    QTest::addColumn<Analyzer::StatusClass>("statusClass");
    using C = Analyzer::StatusClass;
    const auto row = [](const char* name, const char* kind, const char* mode,
                        const QString& concentration, const char* alarms, const char* processAlarms,
                        C statusClass) {
        QTest::newRow(name) << QString::fromLatin1(kind) << QString::fromLatin1(mode)
                            << concentration << QString::fromLatin1(alarms)
                            << QString::fromLatin1(processAlarms) << statusClass;
    };
    const QString usual = QStringLiteral("123.4 PPBv H\u2082O");
    row("usual", "usual", "MEASURE MODE", usual, "", "", C::Normal);
    row("reversed, repeated, and another poll's ids mixed in", "shuffled", "MEASURE MODE", usual,
        "", "", C::Normal);
    row("one reply a line, a garbage line first", "lines", "MEASURE MODE", usual, "", "",
        C::Normal);
    // No mode read: the value is no measurement.
    row("every request refused", "errors", "", "", "", "", C::FunctionCheck);
    row("wrong types", "types", "", "", "", "", C::FunctionCheck);
    // Cut to 64 characters before the digits turn into subscripts.
    row("markup and a long species", "markup", "Mode 99",
        QStringLiteral("123.4 PPBv <b>H\u2082O</b>") + QString(53, QLatin1Char('x')) +
            QChar(0x2026),
        "", "", C::FunctionCheck);
    row("reactor and ring-down alarm, in service mode", "alarms", "SERVICE MODE", "OVER",
        "Utility Gas Pressure, Ringdown Alarm", "Conc Alarm 2", C::Failure);
    row("ppm by weight", "ppm", "MEASURE MODE", QStringLiteral("2.500 PPMw CO\u2082"), "", "",
        C::Normal);
}

void tst_FleetWindow::repliesOutOfTheOrdinary()
{
    QFETCH(QString, kind);
    QFETCH(QString, mode);
    QFETCH(QString, concentration);
    QFETCH(QString, alarms);
    QFETCH(QString, processAlarms);
    QFETCH(Analyzer::StatusClass, statusClass);

    FakeAnalyzer analyzer;
    analyzer.script = [kind](const QJsonArray& batch) {
        QJsonArray replies;
        for (const QJsonValue& value : batch) {
            QJsonObject reply = FakeAnalyzer::usual(value.toObject());
            const QString method = value[QStringLiteral("method")].toString();
            if (kind == QLatin1String("errors")) {
                reply.remove(QStringLiteral("result"));
                reply.insert(QStringLiteral("error"),
                             QJsonObject{{"code", 1}, {"message", "<b>no</b>"}});
            } else if (kind == QLatin1String("types")) {
                reply.insert(QStringLiteral("result"), method == QLatin1String("opmode")
                                                           ? QJsonValue(QStringLiteral("8"))
                                                           : QJsonValue(QJsonArray{1}));
            } else if (kind == QLatin1String("markup")) {
                if (method == QLatin1String("species"))
                    reply.insert("result", QStringLiteral("<b>H2O</b>") + QString(10000, 'x'));
                if (method == QLatin1String("opmode"))
                    reply.insert("result", 99);
            } else if (kind == QLatin1String("alarms")) {
                if (method == QLatin1String("opmode"))
                    reply.insert("result", 2);
                if (method == QLatin1String("reactor_used") ||
                    method == QLatin1String("pressure_alarm_active") ||
                    method == QLatin1String("rd_alarm_active") ||
                    method == QLatin1String("user_alarm_2_active"))
                    reply.insert("result", true);
            } else if (kind == QLatin1String("ppm")) {
                if (method == QLatin1String("units"))
                    reply.insert("result", "weight");
                if (method == QLatin1String("conc"))
                    reply.insert("result", 2500.0);
                if (method == QLatin1String("species"))
                    reply.insert("result", "CO2");
            }
            replies.append(reply);
        }
        if (kind == QLatin1String("shuffled")) {
            QJsonArray mixed;
            for (int i = replies.size() - 1; i >= 0; --i)
                mixed.append(replies.at(i));
            QJsonObject stray = replies.at(1).toObject();
            stray.insert("id", stray.value("id").toInt() + 1000);
            stray.insert("result", 1);
            mixed.append(stray);
            QJsonObject repeat = replies.at(0).toObject();
            repeat.insert("result", 3); // a second answer to "opmode" is not taken
            mixed.append(repeat);
            return FakeAnalyzer::line(mixed);
        }
        if (kind == QLatin1String("lines")) {
            QByteArray text = "this is not JSON\n";
            for (const QJsonValue& reply : replies)
                text += QJsonDocument(reply.toObject()).toJson(QJsonDocument::Compact) + '\n';
            return text;
        }
        return FakeAnalyzer::line(replies);
    };

    if (kind == QLatin1String("lines"))
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Parse error")));
    FleetWindow fleet({entry(QStringLiteral("Lab"), analyzer.address())}, nullptr, quickTiming());
    fleet.show();
    QTRY_COMPARE(cell(&fleet, "Lab", FleetModel::StatusColumn), named(statusClass));
    QCOMPARE(cell(&fleet, "Lab", FleetModel::ModeColumn), mode);
    QCOMPARE(cell(&fleet, "Lab", FleetModel::ConcentrationColumn), concentration);
    QCOMPARE(cell(&fleet, "Lab", FleetModel::AlarmsColumn), alarms);
    QCOMPARE(cell(&fleet, "Lab", FleetModel::ProcessAlarmsColumn), processAlarms);
    // Every alarm in the tooltip, however narrow the column.
    const QModelIndex alarmCell = table(&fleet)->model()->index(0, FleetModel::AlarmsColumn);
    QTextDocument tip;
    tip.setHtml(alarmCell.data(Qt::ToolTipRole).toString());
    for (const QString& each : alarms.split(QStringLiteral(", "), Qt::SkipEmptyParts))
        QVERIFY2(tip.toPlainText().contains(each), qPrintable(tip.toPlainText()));
    QVERIFY(isAge(cell(&fleet, "Lab", FleetModel::LastReplyColumn)));
    QCOMPARE(analyzer.connections, 1);
}

void tst_FleetWindow::brokenStreamsAreDropped_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");

    QTest::newRow("one reply missing") << "missing"
                                       << "no reply within";
    QTest::newRow("a line that never ends") << "endless"
                                            << "a reply without a line end";
    QTest::newRow("a flood of lines") << "flood"
                                      << "more lines than one poll's replies";
}

void tst_FleetWindow::brokenStreamsAreDropped()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);

    FakeAnalyzer analyzer;
    analyzer.script = [kind](const QJsonArray& batch) {
        if (kind == QLatin1String("missing")) {
            QJsonArray replies;
            for (int i = 1; i < batch.size(); ++i)
                replies.append(FakeAnalyzer::usual(batch.at(i).toObject()));
            return FakeAnalyzer::line(replies);
        }
        if (kind == QLatin1String("endless"))
            return QByteArray(AnalyzerProbe::kMaxPendingBytes + 1, ' ');
        return QByteArray("[]\n").repeated(AnalyzerProbe::kMaxLinesPerPoll + 1);
    };
    PopupCounter popups;
    FleetWindow fleet({entry(QStringLiteral("Lab"), analyzer.address())}, nullptr, quickTiming());
    QTRY_COMPARE_WITH_TIMEOUT(cell(&fleet, "Lab", FleetModel::AlarmsColumn),
                              QStringLiteral("No reply"), 10000);
    QCOMPARE(cell(&fleet, "Lab", FleetModel::StatusColumn), named(Analyzer::StatusClass::Failure));
    const QString tip =
        table(&fleet)->model()->index(0, FleetModel::StatusColumn).data(Qt::ToolTipRole).toString();
    QVERIFY2(tip.contains(why), qPrintable(tip));
    // The connection is dropped and made again for the retry.
    QTRY_VERIFY(analyzer.connections >= 2);
    QCOMPARE(cell(&fleet, "Lab", FleetModel::LastReplyColumn), QString());
    QCOMPARE(popups.shown, 0);
}

void tst_FleetWindow::retryWaitGrows_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("waitMs");

    QTest::newRow("first failure: one refresh period") << 1 << 5000;
    QTest::newRow("fourth: doubled three times") << 4 << 40000;
    QTest::newRow("fifth: at the longest") << 5 << 60000;
    QTest::newRow("many, without overflow") << 1000 << 60000;
}

void tst_FleetWindow::retryWaitGrows()
{
    QFETCH(int, failures);
    QFETCH(int, waitMs);
    QCOMPARE(AnalyzerProbe::retryDelayMs(failures, FleetTiming()), waitMs);
}

void tst_FleetWindow::failingAnalyzerIsRetriedLessOften()
{
    // Accepts and hangs up at once: every attempt is one connection.
    FakeAnalyzer analyzer;
    analyzer.closeAtOnce = true;
    QElapsedTimer clock;
    QVector<qint64> attempts;
    FleetTiming timing = quickTiming();
    timing.refreshMs = 150;
    FleetWindow fleet({entry(QStringLiteral("Lab"), analyzer.address())}, nullptr, timing);
    clock.start();
    int seen = 0;
    while (attempts.size() < 5 && clock.elapsed() < 20000) {
        QTRY_VERIFY_WITH_TIMEOUT(analyzer.connections > seen, 5000);
        seen = analyzer.connections;
        attempts << clock.elapsed();
    }
    QCOMPARE(attempts.size(), 5);
    // Waits of 150, 300, 600 and 1200 ms: the last gap well above the first.
    const qint64 first = attempts.at(1) - attempts.at(0);
    const qint64 last = attempts.at(4) - attempts.at(3);
    QVERIFY2(last >= 1100 && last > 2 * first,
             qPrintable(QStringLiteral("%1 then %2").arg(first).arg(last)));
    QCOMPARE(cell(&fleet, "Lab", FleetModel::AlarmsColumn), QStringLiteral("Unreachable"));
}

void tst_FleetWindow::backOffStartsAgainAfterARecovery()
{
    // Fails until the wait has grown, answers, then fails again: the first
    // retry after the new failure waits one refresh period, not the grown wait.
    FakeAnalyzer analyzer;
    analyzer.closeAtOnce = true;
    FleetTiming timing = quickTiming();
    timing.refreshMs = 150;
    FleetWindow fleet({entry(QStringLiteral("Lab"), analyzer.address())}, nullptr, timing);
    QTRY_VERIFY_WITH_TIMEOUT(analyzer.connections >= 4, 10000); // waits of 150, 300, 600 ms
    analyzer.closeAtOnce = false;
    QTRY_COMPARE_WITH_TIMEOUT(classOf(&fleet, "Lab"), Analyzer::StatusClass::Normal, 10000);
    const int before = analyzer.connections;
    analyzer.closeAtOnce = true;
    // The open connection fails: the next attempt is the retry.
    for (QTcpSocket* socket : QList<QTcpSocket*>(analyzer.open))
        socket->disconnectFromHost();
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(analyzer.connections > before, 5000);
    const qint64 retry = clock.elapsed();
    QVERIFY2(retry < 600, qPrintable(QString::number(retry)));
}

void tst_FleetWindow::doubleClickLaunches()
{
    QTemporaryDir folder;
    const QString log = folder.filePath(QStringLiteral("starts.log"));
    writeStandIn(folder.path(), log);
    FakeAnalyzer first, second;
    LauncherStore::seed({{QStringLiteral("Lab"), first.address(), QStringLiteral("/data/lab")},
                         {QStringLiteral("Roof"), second.address(), QStringLiteral("/data/roof")}});
    MainWindow window;
    window.setProgramDirectory(folder.path());
    window.setFleetTiming(quickTiming());
    auto* connections = TestSupport::child<QListWidget>(&window, QStringLiteral("listConnections"));
    connections->setCurrentRow(1);
    QTest::mouseClick(TestSupport::child<QPushButton>(&window, QStringLiteral("buttonFleet")),
                      Qt::LeftButton);
    FleetWindow* fleet = window.fleetWindow();
    QVERIFY(QTest::qWaitForWindowExposed(fleet));
    QTRY_COMPARE(
        column(fleet, FleetModel::StatusColumn),
        (QStringList{named(Analyzer::StatusClass::Normal), named(Analyzer::StatusClass::Normal)}));

    QTableView* view = table(fleet);
    const QRect row = view->visualRect(view->model()->index(0, FleetModel::NameColumn));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_COMPARE(
        readLog(log),
        QStringLiteral("[127.0.0.1][%1][/data/lab]\n").arg(first.address().section(':', 1)));
    // The launcher's own selection is the operator's, and stays.
    QCOMPARE(connections->currentRow(), 1);
}

void tst_FleetWindow::followsTheStoredList()
{
    QTemporaryDir storage;
    FakeAnalyzer kept, dropped, added;
    LauncherStore::seed({entry(QStringLiteral("Gone"), dropped.address()),
                         entry(QStringLiteral("Kept"), kept.address())});
    MainWindow window;
    window.setFleetTiming(quickTiming());
    QTest::mouseClick(TestSupport::child<QPushButton>(&window, QStringLiteral("buttonFleet")),
                      Qt::LeftButton);
    FleetWindow* fleet = window.fleetWindow();
    QTRY_COMPARE(
        column(fleet, FleetModel::StatusColumn),
        (QStringList{named(Analyzer::StatusClass::Normal), named(Analyzer::StatusClass::Normal)}));

    // Deleting a row ends its connection; the other keeps its own.
    auto* connections = TestSupport::child<QListWidget>(&window, QStringLiteral("listConnections"));
    connections->setCurrentRow(0);
    ShownMessage question;
    answerNextMessage(question, QMessageBox::Yes);
    QTest::mouseClick(TestSupport::child<QPushButton>(&window, QStringLiteral("buttonDelete")),
                      Qt::LeftButton);
    QCOMPARE(column(fleet, FleetModel::NameColumn), QStringList{"Kept"});
    QCOMPARE(column(fleet, FleetModel::StatusColumn),
             QStringList{named(Analyzer::StatusClass::Normal)});
    QTRY_VERIFY(dropped.open.isEmpty());

    // A new connection is watched as soon as it is stored.
    onNextModalOf<QDialog>([&](QDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("lineNickname"))
            ->setText(QStringLiteral("New"));
        dialog->findChild<QLineEdit*>(QStringLiteral("lineAddress"))
            ->setText(QStringLiteral("127.0.0.1"));
        dialog->findChild<QLineEdit*>(QStringLiteral("lineStorage"))->setText(storage.path());
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QTest::mouseClick(TestSupport::child<QPushButton>(&window, QStringLiteral("buttonNew")),
                      Qt::LeftButton);
    QCOMPARE(fleet->model()->rowCount(), 2);
    QCOMPARE(fleet->model()->entry(1).nickname, QStringLiteral("New"));
    QCOMPARE(kept.connections, 1);
}

QTEST_MAIN(tst_FleetWindow)
#include "tst_fleetwindow.moc"
