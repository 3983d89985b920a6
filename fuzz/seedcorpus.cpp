// Writes the fuzz corpus's seeds: real simulator traffic for every page. The
// panel runs against vireo-sim through a recording relay; for each page, in
// measure and in service mode, two poll ticks' worth of what the analyzer
// sent becomes one input (fuzzpanel.h), with that page and mode in its
// header. The request ids in them are the panel's own, so run it again
// whenever a page's requests change:
//   build/bin/fuzz-seed fuzz/corpus
#include "analyzer/analyzerfacts.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "files/filemanager.h"
#include "fuzzpanel.h"
#include "screens/homewindow.h"
#include "support/simclient.h"
#include "support/simulatorprocess.h"
#include "support/testsupport.h"
#include "trend/trendwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

const char* const kPageNames[] = {"home",     "mode",          "rdgraph",     "settings",
                                  "trend",    "keypad",        "scans",       "trenddownload",
                                  "shutdown", "certification", "calibration", "certificate"};

/// Passes bytes both ways between the panel and the simulator and keeps
/// what the simulator sends.
class Relay : public QObject
{
public:
    explicit Relay(quint16 simPort) : m_simPort(simPort)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &Relay::accept);
        m_server.listen(QHostAddress::LocalHost);
    }
    quint16 port() const { return m_server.serverPort(); }
    QByteArray recorded;

private:
    void accept()
    {
        m_panel = m_server.nextPendingConnection();
        m_sim = new QTcpSocket(m_panel);
        m_sim->connectToHost(QHostAddress::LocalHost, m_simPort);
        m_sim->waitForConnected(5000);
        connect(m_panel, &QTcpSocket::readyRead, this,
                [this] { m_sim->write(m_panel->readAll()); });
        connect(m_sim, &QTcpSocket::readyRead, this, [this] {
            const QByteArray bytes = m_sim->readAll();
            recorded += bytes;
            m_panel->write(bytes);
        });
    }

    QTcpServer m_server;
    quint16 m_simPort;
    QPointer<QTcpSocket> m_panel;
    QPointer<QTcpSocket> m_sim;
};

class Seeder
{
public:
    Seeder(VireoGUI* gui, Relay& relay) : m_gui(gui), m_relay(relay)
    {
        m_files = gui->findChild<FileManager*>();
        QObject::connect(gui, &VireoGUI::replyRouted, [this](int id) {
            if (id == m_files->lastRequestId())
                ++m_serialAnswered;
        });
    }

    /// Ticks and waits until every serial number poll has its reply, the
    /// last line of each tick.
    bool tick()
    {
        ++m_serialAsked;
        QMetaObject::invokeMethod(m_gui, "requestUpdate");
        return QTest::qWaitFor([this] { return m_serialAnswered >= m_serialAsked; }, 20000);
    }
    bool settleStartUp()
    {
        return QTest::qWaitFor([this] { return m_serialAnswered >= m_serialAsked; }, 20000);
    }

    bool write(const QString& folder, const QString& name, int page, bool service)
    {
        QFile file(folder + QLatin1Char('/') + name);
        const char header[FuzzPanel::kHeaderBytes] = {char(page), char(service ? 1 : 0), char(128)};
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        file.write(header, sizeof header);
        file.write(m_relay.recorded);
        std::printf("%s: %lld bytes\n", qPrintable(name), static_cast<long long>(file.size()));
        return true;
    }

private:
    VireoGUI* m_gui;
    Relay& m_relay;
    FileManager* m_files = nullptr;
    int m_serialAsked = 1; // the start-up refresh
    int m_serialAnswered = 0;
};

bool setMode(quint16 port, int mode)
{
    SimClient client;
    return client.connectTo(port) && client.call(QStringLiteral("opmode"), QJsonArray{mode})
                                         .contains(QStringLiteral("result"));
}

bool control(quint16 port, const QJsonArray& params)
{
    SimClient client;
    return client.connectTo(port) && client.call(QStringLiteral("sim_control"), params)
                                         .value(QStringLiteral("result"))
                                         .toBool();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seed CORPUS_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder))
        return 1;
    TestSupport::IsolatedHome home;
    TestSupport::SimulatorProcess sim({QStringLiteral("--backfill-days"), QStringLiteral("1"),
                                       QStringLiteral("--seed"), QStringLiteral("7"),
                                       QStringLiteral("--certificate-expired"),
                                       QStringLiteral("--control")});
    if (!sim.start()) {
        std::fprintf(stderr, "fuzz-seed: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    Relay relay(sim.port());
    QTemporaryDir storage;
    setIsRemote(true);
    setStoragePath(storage.path());
    connectionString() = QStringLiteral("127.0.0.1:%1").arg(relay.port());
    MainWindow window;
    auto* gui = window.findChild<VireoGUI*>();
    for (QTimer* timer : gui->findChildren<QTimer*>())
        timer->stop();
    TestSupport::keepAcceptingModals();
    Seeder seeder(gui, relay);
    if (!seeder.settleStartUp() || !seeder.write(folder, QStringLiteral("startup"), HOME, false))
        return 1;

    for (const bool service : {false, true}) {
        if (!setMode(sim.port(), service ? Analyzer::ServiceMode : Analyzer::MeasureMode))
            return 1;
        QMetaObject::invokeMethod(
            gui, "handleOpmode",
            Q_ARG(int, service ? Analyzer::ServiceMode : Analyzer::MeasureMode));
        for (int page = HOME; page <= CERTIFICATE; ++page) {
            if (page == KEYBOARD)
                continue; // no client: it asks for nothing
            gui->switchToWindow(WindowType(page));
            relay.recorded.clear();
            // The history the trend screen and the mini plot ask for on their own.
            if (page == TREND)
                gui->findChild<TrendWindow*>()->refreshTrendData();
            if (page == HOME)
                gui->findChild<HomeWindow*>()->moveMiniPlotXAxis();
            if (!seeder.tick() || !seeder.tick())
                return 1;
            // The settings page polls the tab on view: every tab's rows, one tick each.
            if (auto* tabs = page == SETTINGS
                                 ? gui->findChild<QTabWidget*>(QStringLiteral("tabWidget"))
                                 : nullptr) {
                for (int tab = 0; tab < tabs->count(); ++tab) {
                    tabs->setCurrentIndex(tab);
                    if (!seeder.tick())
                        return 1;
                }
                tabs->setCurrentIndex(0);
            }
            const QString name =
                QString::fromLatin1(kPageNames[page]) +
                (service ? QStringLiteral("-service") : QStringLiteral("-measure"));
            if (!seeder.write(folder, name, page, service))
                return 1;
        }
    }

    // The analyzer refusing: a server message (code 1) and another error.
    gui->switchToWindow(HOME);
    if (!control(sim.port(), {QStringLiteral("fail-method"), QStringLiteral("conc"), true}) ||
        !control(sim.port(),
                 {QStringLiteral("fail-method"), QStringLiteral("species::-32000"), true}))
        return 1;
    relay.recorded.clear();
    if (!seeder.tick() || !seeder.write(folder, QStringLiteral("home-errors"), HOME, false))
        return 1;
    TestSupport::stopAcceptingModals();
    return 0;
}
