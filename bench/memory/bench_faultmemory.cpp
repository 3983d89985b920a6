// Resident memory and heap in use of the whole panel (frame window, every
// page visited) while the analyzer misbehaves: the link is dropped and comes
// back, the server sends messages that pop up, and lines carry a member name
// twice. Prints the figures per event after a warm-up.
//   xvfb-run -a bench_faultmemory [events per phase] [phases: any of l(ink) p(opup) d(uplicate)
//   n(ew popup)]
#include "analyzer/connectioninterface.h"
#include "app/appsetup.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/messagehandler.h"
#include "bench/processmemory.h"
#include "fakeanalyzer.h"
#include "screens/homewindow.h"
#include "widgets/messagebox.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <functional>

using Bench::heapMB;
using Bench::residentMB;

namespace {

constexpr int kWarmUp = 20;

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

void wait(const std::function<bool()>& done)
{
    if (!QTest::qWaitFor(done, 10000))
        qFatal("the panel did not react within 10 s");
}

/// Runs one event kWarmUp times unmeasured, then count times, and prints the growth per event.
void measure(const char* what, int count, const std::function<void(int)>& event)
{
    for (int i = 0; i < kWarmUp; ++i)
        event(i);
    const double rss = residentMB();
    const double heap = heapMB();
    for (int i = 0; i < count; ++i)
        event(kWarmUp + i);
    const double rssAfter = residentMB();
    const double heapAfter = heapMB();
    out()
        << QStringLiteral(
               "%1 x%2: resident %3 -> %4 MB (%5 KB each), heap in use %6 -> %7 MB (%8 KB each)\n")
               .arg(QLatin1String(what))
               .arg(count)
               .arg(rss, 0, 'f', 1)
               .arg(rssAfter, 0, 'f', 1)
               .arg((rssAfter - rss) * 1024 / count, 0, 'f', 1)
               .arg(heap, 0, 'f', 2)
               .arg(heapAfter, 0, 'f', 2)
               .arg((heapAfter - heap) * 1024 / count, 0, 'f', 2);
    out().flush();
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir homeDir;
    qputenv("HOME", homeDir.path().toLocal8Bit());
    qInstallMessageHandler(messageHandler);
    prepareEnvironment();
    QApplication app(argc, argv);
    setUpApplication(app);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 300;
    const QByteArray phases = argc > 2 ? QByteArray(argv[2]) : QByteArray("lpdn");

    FakeAnalyzer server;
    server.listen();
    const quint16 port = server.port();
    const QString concText[] = {QStringLiteral("5.250"), QStringLiteral("6.250")};
    const auto answerConc = [&server](int i) {
        server.results[QStringLiteral("conc")] = i % 2 ? 6.25 : 5.25;
    };
    answerConc(0);
    server.results[QStringLiteral("species")] = QStringLiteral("H2O");
    server.results[QStringLiteral("current_gas")] = QStringLiteral("N2");
    server.results[QStringLiteral("opmode")] = 8;

    parseCommandLine({QStringLiteral("marlomax"), QStringLiteral("127.0.0.1"),
                      QString::number(port), homeDir.path()});
    MainWindow window;
    window.show();
    auto* gui = window.findChild<VireoGUI*>();
    gui->findChild<QTimer*>(QStringLiteral("pollTimer"))->stop();
    auto* home = gui->findChild<HomeWindow*>();
    auto* conc = home->findChild<QLabel*>(QStringLiteral("concLabel"));
    Analyzer::ConnectionInterface* connection = gui->findChild<Analyzer::ConnectionInterface*>();
    const auto tick = [gui] { QMetaObject::invokeMethod(gui, "requestUpdate"); };
    wait([conc, &concText] { return conc->text() == concText[0]; });

    // Every popup is closed as an operator would, soon after it appears.
    int popups = 0;
    QTimer operatorHand;
    QObject::connect(&operatorHand, &QTimer::timeout, [&popups] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->accept();
            ++popups;
        }
    });
    operatorHand.start(5);

    for (int page = HOME; page <= CERTIFICATE; ++page) {
        gui->switchToWindow(WindowType(page));
        tick();
        QTest::qWait(50);
    }
    gui->switchToWindow(HOME);
    QTest::qWait(200);
    out() << "platform " << QGuiApplication::platformName() << ", QT_XCB_GL_INTEGRATION="
          << (qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION") ? qgetenv("QT_XCB_GL_INTEGRATION")
                                                                 : "(unset)")
          << "\nresident with every page visited: " << QString::number(residentMB(), 'f', 1)
          << " MB, heap in use " << QString::number(heapMB(), 'f', 2) << " MB\n";
    out().flush();

    const auto reply = [&](int i, const QByteArray& line) {
        server.lines.clear(); // the scripted server's record is not the panel's memory
        answerConc(i);
        server.send(line);
        server.send(QByteArray(R"({"id":)") + QByteArray::number(home->firstRequestId()) +
                    R"(,"result":)" + (i % 2 ? "6.25" : "5.25") + "}\n");
        wait([conc, &concText, i] { return conc->text() == concText[i % 2]; });
    };

    if (phases.contains('l'))
        measure("lost and restored link", count, [&](int i) {
            answerConc(i);
            const int before = popups;
            server.lines.clear();
            server.close();
            wait([connection] { return !connection->isConnected(); });
            tick(); // reports the loss, one refused attempt
            wait([&] { return popups > before; });
            if (!server.listen(port))
                qFatal("port %d taken", port);
            tick(); // reconnects
            tick(); // reports the return and polls
            wait([&] { return popups >= before + 2 && conc->text() == concText[i % 2]; });
        });

    if (phases.contains('p'))
        measure("server message popup", count, [&](int i) {
            const int before = popups;
            reply(i, QByteArray(R"({"id":)") + QByteArray::number(home->firstRequestId()) +
                         R"(,"error":{"code":1,"message":"Laser warming up"}})"
                         "\n");
            wait([&] { return popups > before; });
        });

    QByteArray samples = "[0";
    for (int i = 1; i < 2000; ++i)
        samples += ',' + QByteArray::number(i * 0.5);
    samples += ']';
    if (phases.contains('d'))
        measure("line with a duplicate member name (2000 samples)", count, [&](int i) {
            reply(i, R"({"id":0,"result":)" + samples +
                         R"(,"result":0})"
                         "\n");
        });

    // The file transfers' results will each build a popup anew.
    if (phases.contains('n'))
        measure("new message popup", count, [](int) {
            MessageBox box(nullptr, false);
            box.setText(QStringLiteral("Transfer Cancelled"));
            box.exec();
        });
    out() << "resident at the end: " << QString::number(residentMB(), 'f', 1) << " MB\n";
    return 0;
}
