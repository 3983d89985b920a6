#include "files/programrunner.h"

#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

namespace {
constexpr int kTickMs = 100;
}

bool runProgram(const QString& program, const QStringList& arguments,
                const QMap<QString, QString>& extraEnvironment, const ProgramTick& tick)
{
    QProcess process;
    if (!extraEnvironment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (auto it = extraEnvironment.cbegin(); it != extraEnvironment.cend(); ++it)
            environment.insert(it.key(), it.value());
        process.setProcessEnvironment(environment);
    }
    process.setWorkingDirectory(QDir::homePath());

    // The loop sleeps until the program ends or the tick is due; events that
    // arrive meanwhile are handled at once.
    QEventLoop loop;
    QTimer ticker;
    ticker.setInterval(kTickMs);
    bool stopped = false;
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&]() {
        if (tick && !tick()) {
            stopped = true;
            process.kill();
        }
    });
    QObject::connect(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &loop,
                     &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    process.start(program, arguments, QIODevice::ReadWrite);
    ticker.start();
    while (process.state() != QProcess::NotRunning) {
        // Once the application is quitting no event loop runs any more; wait
        // for the program without one rather than leave it running.
        if (loop.exec() != 0 && !process.waitForFinished(kTickMs) && tick && !tick()) {
            stopped = true;
            process.kill();
            process.waitForFinished();
        }
    }
    ticker.stop();

    const bool started = process.error() != QProcess::FailedToStart;
    const bool ok = started && !stopped && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    const QString standardError = QString::fromLocal8Bit(process.readAllStandardError());
    if (!ok) {
        qWarning().noquote() << "error running" << program
                             << (started ? QString() : QStringLiteral("(cannot be started)"))
                             << (stopped ? QStringLiteral("(stopped)") : QString());
        qWarning().noquote() << standardError;
        qWarning().noquote() << QString::fromLocal8Bit(process.readAllStandardOutput());
        return false;
    }
    qDebug().noquote() << "successfully ran" << program;
    if (!standardError.isEmpty())
        qDebug().noquote() << standardError;
    return true;
}
