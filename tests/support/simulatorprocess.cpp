#include "support/simulatorprocess.h"

#include "support/testsupport.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <csignal>

namespace TestSupport {

SimulatorProcess::SimulatorProcess(const QStringList& extraArgs) : m_extraArgs(extraArgs) {}

SimulatorProcess::~SimulatorProcess()
{
    kill();
}

bool SimulatorProcess::start(int timeoutMs)
{
    return launch(QStringList{QStringLiteral("--port"), QStringLiteral("0")}, timeoutMs);
}

bool SimulatorProcess::restart(int timeoutMs)
{
    stop();
    return launch(QStringList{QStringLiteral("--port"), QString::number(m_port)}, timeoutMs);
}

bool SimulatorProcess::launch(const QStringList& portArgs, int timeoutMs)
{
    if (isRunning()) {
        m_error = QStringLiteral("the simulator is already running");
        return false;
    }
    const QStringList args =
        portArgs + QStringList{QStringLiteral("--state"), m_state.path()} + m_extraArgs;
    m_process.setProgram(binDir() + QStringLiteral("/vireo-sim"));
    m_process.setArguments(args);
    m_process.start(QIODevice::ReadOnly);
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("vireo-sim did not start: ") + m_process.errorString();
        return false;
    }
    // Wait for the one machine-readable line; readyRead wakes the wait, so
    // nothing here sleeps.
    QSignalSpy output(&m_process, &QProcess::readyReadStandardOutput);
    const QRegularExpression listening(QStringLiteral("^LISTENING port=(\\d+)"));
    QDeadlineTimer deadline(timeoutMs);
    QByteArray seen;
    while (!deadline.hasExpired()) {
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            seen += line + '\n';
            const QRegularExpressionMatch match = listening.match(QString::fromLatin1(line));
            if (match.hasMatch()) {
                m_port = quint16(match.captured(1).toUInt());
                return true;
            }
        }
        if (m_process.state() == QProcess::NotRunning)
            break;
        output.wait(int(qMax<qint64>(1, qMin<qint64>(deadline.remainingTime(), 1000))));
    }
    m_error = QStringLiteral("vireo-sim did not report LISTENING; output: %1 errors: %2")
                  .arg(QString::fromLocal8Bit(seen), QString::fromLocal8Bit(standardError()));
    kill();
    return false;
}

void SimulatorProcess::stop()
{
    if (!isRunning())
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        kill();
    m_stderr += m_process.readAllStandardError();
}

void SimulatorProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
    m_stderr += m_process.readAllStandardError();
}

void SimulatorProcess::pause()
{
    if (isRunning())
        ::kill(pid_t(m_process.processId()), SIGSTOP);
}

void SimulatorProcess::resume()
{
    if (isRunning())
        ::kill(pid_t(m_process.processId()), SIGCONT);
}

bool SimulatorProcess::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

QString SimulatorProcess::connectionString() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QByteArray SimulatorProcess::standardError()
{
    m_stderr += m_process.readAllStandardError();
    return m_stderr;
}

} // namespace TestSupport
