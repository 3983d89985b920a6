// The launcher's Fleet window watching many simulated analyzers: the share of
// one core the launcher uses while every analyzer is polled at the product's
// clocks, and how long the window takes to answer a click (from the click
// entering the event queue to the end of the repaint that shows the new
// selection). The simulators run as separate processes, 50 analyzers each
// (vireo-sim --instruments), so their work is not counted.
//   bench_fleet [--counts 50,200] [--seconds 60] [--per-process 50]
// Runs under any platform plugin; QT_QPA_PLATFORM=offscreen needs no display.
#include "launcher/fleetmodel.h"
#include "launcher/fleetwindow.h"
#include "launcher/mainwindow.h"
#include "launcher/settings.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <sys/resource.h>

namespace {

QTextStream out(stdout);

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

QString binDir()
{
    const QByteArray fromEnvironment = qgetenv("MARLOMAX_BIN_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(MARLOMAX_BIN_DIR_DEFAULT)
                                     : QString::fromLocal8Bit(fromEnvironment);
}

/// Simulator processes serving count analyzers between them; their ports.
class SimulatorFarm
{
public:
    ~SimulatorFarm()
    {
        for (auto& process : m_processes) {
            process->terminate();
            if (!process->waitForFinished(10000))
                process->kill();
        }
    }

    bool start(int count, int perProcess, const QString& stateRoot)
    {
        for (int first = 0; first < count; first += perProcess) {
            const int here = qMin(perProcess, count - first);
            auto process = std::make_unique<QProcess>();
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start(binDir() + QStringLiteral("/vireo-sim"),
                           {QStringLiteral("--port"), QStringLiteral("0"),
                            QStringLiteral("--state"), stateRoot + QStringLiteral("/%1").arg(first),
                            QStringLiteral("--instruments"), QString::number(here)});
            QDeadlineTimer deadline(120000);
            while (!process->canReadLine() && !deadline.hasExpired() &&
                   process->state() != QProcess::NotRunning)
                process->waitForReadyRead(1000);
            const QString line = QString::fromLatin1(process->readLine().trimmed());
            const QString list = line.section(QStringLiteral("ports="), 1);
            const QStringList ports = here == 1 ? QStringList{line.section(QLatin1Char('='), 1)}
                                                : list.split(QLatin1Char(','));
            if (!line.startsWith(QLatin1String("LISTENING")) || ports.size() != here) {
                out << "the simulator did not start: " << line << "\n";
                return false;
            }
            m_ports += ports;
            m_processes.push_back(std::move(process));
        }
        return true;
    }

    const QStringList& ports() const { return m_ports; }

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
    QStringList m_ports;
};

/// Clicks rows of the table now and then, the way a user does, and times each
/// click until the repaint that shows it has finished.
class ClickTimer : public QObject
{
public:
    explicit ClickTimer(QTableView* view) : m_view(view)
    {
        view->viewport()->installEventFilter(this);
        connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this]() { m_selected = m_clicked; });
    }

    void click()
    {
        if (m_clicked && m_since.elapsed() < 5000)
            return; // the last one is still on its way
        if (m_clicked)
            ++lost;
        // Another row each time among those in sight, so every click changes the selection.
        const int lastVisible = m_view->rowAt(m_view->viewport()->height() - 1);
        const int rows = lastVisible < 0 ? m_view->model()->rowCount() : lastVisible + 1;
        if (rows < 2)
            return;
        m_row = (m_row + 1 + int(m_next++ % qMax(1, rows - 1))) % rows;
        const QPoint at = m_view->visualRect(m_view->model()->index(m_row, 0)).center();
        m_clicked = true;
        m_selected = false;
        m_since.start();
        QWidget* target = m_view->viewport();
        QCoreApplication::postEvent(target,
                                    new QMouseEvent(QEvent::MouseButtonPress, at, Qt::LeftButton,
                                                    Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(target,
                                    new QMouseEvent(QEvent::MouseButtonRelease, at, Qt::LeftButton,
                                                    Qt::NoButton, Qt::NoModifier));
    }

    QVector<double> latenciesMs;
    /// Clicks whose repaint never came within 5 s.
    int lost = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_clicked && m_selected) {
            // Runs once the paint, and whatever else the loop had queued, is done.
            QTimer::singleShot(0, this, [this]() {
                if (!m_clicked)
                    return;
                latenciesMs << m_since.nsecsElapsed() / 1e6;
                m_clicked = false;
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTableView* m_view;
    QElapsedTimer m_since;
    bool m_clicked = false;
    bool m_selected = false;
    int m_row = 0;
    unsigned m_next = 0;
};

/// Runs the event loop for a while, as the launcher's own loop would.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double percentile(QVector<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(qMin(values.size() - 1, int(p * values.size())));
}

bool measure(int count, int perProcess, int seconds, const QString& work)
{
    out << "== " << count << " analyzers ==\n";
    out.flush();
    SimulatorFarm farm;
    if (!farm.start(count, perProcess, work + QStringLiteral("/state-%1").arg(count)))
        return false;

    Settings store;
    store.load();
    while (!store.connections().isEmpty())
        store.removeAt(0);
    for (int i = 0; i < count; ++i)
        store.append({QStringLiteral("Analyzer %1").arg(i + 1),
                      QStringLiteral("127.0.0.1:") + farm.ports().at(i), work});
    store.save();

    MainWindow window;
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("buttonFleet")),
                      Qt::LeftButton);
    FleetWindow* fleet = window.fleetWindow();
    fleet->show();
    auto* view = fleet->findChild<QTableView*>(QStringLiteral("tableFleet"));

    // Every analyzer answered once, and the start-up spread has settled.
    QElapsedTimer warmUp;
    warmUp.start();
    while (fleet->model()->count(Analyzer::StatusClass::Normal) < count && warmUp.elapsed() < 60000)
        runFor(100);
    out << "answering after " << warmUp.elapsed() / 1000.0
        << " s: " << fleet->model()->count(Analyzer::StatusClass::Normal) << " of " << count
        << "\n";
    runFor(5000);

    ClickTimer clicks(view);
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, &clicks, &ClickTimer::click);
    clicker.start(500);

    const QString loadBefore = loadAverage();
    const double cpuStart = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(seconds * 1000);
    const double cpu = cpuSeconds() - cpuStart;
    const double elapsed = wall.elapsed() / 1000.0;
    clicker.stop();

    out << "launcher CPU: " << QString::number(cpu / elapsed * 100.0, 'f', 2)
        << " % of one core over " << QString::number(elapsed, 'f', 0) << " s\n"
        << "click to repaint: median "
        << QString::number(percentile(clicks.latenciesMs, 0.5), 'f', 1) << " ms, 95th percentile "
        << QString::number(percentile(clicks.latenciesMs, 0.95), 'f', 1) << " ms, worst "
        << QString::number(percentile(clicks.latenciesMs, 1.0), 'f', 1) << " ms ("
        << clicks.latenciesMs.size() << " clicks, " << clicks.lost << " lost)\n"
        << "still answering: " << fleet->model()->count(Analyzer::StatusClass::Normal) << " of "
        << count << "\n"
        << "load average before / after: " << loadBefore << " / " << loadAverage() << "\n";
    out.flush();
    fleet->close();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // The launcher's store goes into a folder of the bench's own.
    QTemporaryDir work;
    qputenv("HOME", QFile::encodeName(work.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(work.path() + QStringLiteral("/.config")));

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalis"));
    QCoreApplication::setApplicationName(QStringLiteral("Marlo Max Launcher"));

    QCommandLineParser parser;
    parser.addOption({QStringLiteral("counts"), QStringLiteral("Analyzer counts."),
                      QStringLiteral("LIST"), QStringLiteral("50,200")});
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Measured seconds per count."),
                      QStringLiteral("N"), QStringLiteral("60")});
    parser.addOption({QStringLiteral("per-process"),
                      QStringLiteral("Analyzers per simulator process."), QStringLiteral("N"),
                      QStringLiteral("50")});
    parser.addHelpOption();
    parser.process(app);

    // The launcher's log lines (one per analyzer as it starts answering) are not measured.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg)
            QTextStream(stderr) << text << "\n";
    });

    for (const QString& count : parser.value(QStringLiteral("counts")).split(QLatin1Char(','))) {
        if (!measure(count.toInt(), parser.value(QStringLiteral("per-process")).toInt(),
                     parser.value(QStringLiteral("seconds")).toInt(), work.path()))
            return 1;
    }
    return 0;
}
