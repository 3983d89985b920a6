// Resident memory of the whole panel while the trend page is on screen, with
// the simulator answering normally: the page's own one-second poll, its 10 s
// history refresh and every repaint they cause. After a warm-up it samples the
// resident set once a minute and prints the growth over the measured span;
// the goal is less than 1 MB over 30 minutes.
//   bench_trendmemory [warm-up s = 120] [measured s = 1800] [refresh ms = 10000]
// A shorter refresh than the panel's 10 s packs more refreshes into a short
// run; the figure then says how many there were. Runs offscreen unless a
// platform is given.
#include "app/appsetup.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "bench/processmemory.h"
#include "support/simulatorprocess.h"
#include "trend/trendwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

using Bench::heapMB;
using Bench::residentMB;

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

int argument(int argc, char** argv, int index, int fallback)
{
    return argc > index ? QString::fromLocal8Bit(argv[index]).toInt() : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The panel's lock state and log go to a home of the bench's own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    prepareEnvironment();
    QApplication app(argc, argv);
    setUpApplication(app);
    const int warmUpSeconds = argument(argc, argv, 1, 120);
    const int measuredSeconds = argument(argc, argv, 2, 1800);
    const int refreshMs = argument(argc, argv, 3, 10000);

    // A week of history, so the day on the page is full and thinned as on an analyzer.
    TestSupport::SimulatorProcess sim({QStringLiteral("--backfill-days"), QStringLiteral("7")});
    if (!sim.start(600000))
        qFatal("%s", qPrintable(sim.errorString()));
    QTemporaryDir storage;
    connectionString() = sim.connectionString();
    setStoragePath(storage.path());

    MainWindow window;
    window.show();
    auto* gui = window.findChild<VireoGUI*>();
    auto* trend = gui->findChild<TrendWindow*>();
    auto* refresh = trend->findChild<QTimer*>(QStringLiteral("refreshTimer"));
    refresh->setInterval(refreshMs);
    int refreshes = 0;
    QObject::connect(refresh, &QTimer::timeout, [&refreshes] { ++refreshes; });
    gui->switchToWindow(TREND);

    QTest::qWait(warmUpSeconds * 1000);
    const double residentBefore = residentMB();
    const double heapBefore = heapMB();
    const int refreshesBefore = refreshes;
    out() << QStringLiteral("after %1 s warm-up: resident %2 MB, heap in use %3 MB\n")
                 .arg(warmUpSeconds)
                 .arg(residentBefore, 0, 'f', 2)
                 .arg(heapBefore, 0, 'f', 2);
    out().flush();
    QElapsedTimer clock;
    clock.start();
    for (int minute = 1; clock.elapsed() < measuredSeconds * 1000LL; ++minute) {
        QTest::qWait(int(std::min<qint64>(60000, measuredSeconds * 1000LL - clock.elapsed())));
        out() << QStringLiteral("  +%1 s: resident %2 MB, heap in use %3 MB\n")
                     .arg(clock.elapsed() / 1000)
                     .arg(residentMB(), 0, 'f', 2)
                     .arg(heapMB(), 0, 'f', 2);
        out().flush();
    }
    const double growth = residentMB() - residentBefore;
    out() << QStringLiteral("trend page over %1 s (%2 refreshes): resident %3 MB growth, heap in "
                            "use %4 MB growth; goal below 1 MB over 1800 s: %5\n")
                 .arg(measuredSeconds)
                 .arg(refreshes - refreshesBefore)
                 .arg(growth, 0, 'f', 2)
                 .arg(heapMB() - heapBefore, 0, 'f', 2)
                 .arg(growth < 1.0 ? QStringLiteral("met") : QStringLiteral("MISSED"));
    sim.stop();
    return growth < 1.0 ? 0 : 1;
}
