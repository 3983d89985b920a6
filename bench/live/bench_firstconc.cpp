// Time from process start to the first concentration on the home screen,
// starting the panel exactly as its entry does (message handler, font, style
// sheet, every page), against a running analyzer (the simulator on loopback).
//   bench_firstconc HOST PORT STORAGE
#include "app/appsetup.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "base/messagehandler.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTextStream>
#include <QTimer>
#include <unistd.h>

namespace {

/// Milliseconds since the kernel started this process.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray statText = stat.readAll();
    // Fields after the command name, which sits in parentheses and may hold spaces.
    const QList<QByteArray> fields = statText.mid(statText.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    const double upSeconds = uptime.readAll().split(' ').value(0).toDouble();
    return (upSeconds - startTicks / sysconf(_SC_CLK_TCK)) * 1000.0;
}

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    qInstallMessageHandler(messageHandler);
    prepareEnvironment();
    QApplication app(argc, argv);
    setUpApplication(app);
    if (!parseCommandLine(QCoreApplication::arguments()))
        return 1;

    MainWindow window;
    window.show();
    auto* conc = window.findChild<QLabel*>(QStringLiteral("concLabel"));
    const QString initial = conc->text();

    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&]() {
        if (conc->text() == initial || conc->text().isEmpty()) {
            if (sinceMain.elapsed() > 30000) {
                QTextStream(stdout) << "no concentration within 30 s\n";
                app.exit(2);
            }
            return;
        }
        QTextStream(stdout) << "first concentration \"" << conc->text() << "\" shown "
                            << QString::number(msSinceProcessStart(), 'f', 0)
                            << " ms after process start (" << sinceMain.elapsed()
                            << " ms after main; wall clock " << QDateTime::currentMSecsSinceEpoch()
                            << " ms)\n";
        app.exit(0);
    });
    watch.start();
    return app.exec();
}
