// Runs the analyzer simulator (vireo-sim) for a test: on a free loopback port,
// with its own temporary state folder, and able to stop and come back on the
// same port and state so a suite can test lost and restored connections.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace TestSupport {

class SimulatorProcess
{
public:
    /// extraArgs are passed after "--port 0 --state DIR".
    explicit SimulatorProcess(const QStringList& extraArgs = QStringList());
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    /// Starts the simulator and waits for its LISTENING line; false on failure
    /// (errorString() then says why).
    bool start(int timeoutMs = 60000);
    /// Ends the simulator with SIGTERM and waits for it.
    void stop();
    /// Ends it at once with SIGKILL, as a crash would.
    void kill();
    /// Freezes it (SIGSTOP): the link stays up, but nothing is answered.
    void pause();
    /// Lets a frozen simulator run on (SIGCONT).
    void resume();
    /// Starts it again on the same port with the same state folder.
    bool restart(int timeoutMs = 60000);

    bool isRunning() const;
    quint16 port() const { return m_port; }
    /// "127.0.0.1:PORT", as the panel takes it.
    QString connectionString() const;
    QString statePath() const { return m_state.path(); }
    QString errorString() const { return m_error; }
    /// Everything the simulator wrote to standard error so far.
    QByteArray standardError();

private:
    bool launch(const QStringList& portArgs, int timeoutMs);

    QStringList m_extraArgs;
    QTemporaryDir m_state;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
    QByteArray m_stderr;
};

} // namespace TestSupport
