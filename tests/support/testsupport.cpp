#include "support/testsupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTime>
#include <QTimer>
#include <QWidget>
#include <unistd.h>

namespace TestSupport {

IsolatedHome::IsolatedHome()
    : m_previousHome(qgetenv("HOME")), m_previousConfigHome(qgetenv("XDG_CONFIG_HOME"))
{
    QStandardPaths::setTestModeEnabled(true);
    const QString config = m_dir.path() + QStringLiteral("/.config");
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    // QSettings caches the store's folder on first use in a process; point it
    // here explicitly so each test gets a fresh store.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
}

IsolatedHome::~IsolatedHome()
{
    qputenv("HOME", m_previousHome);
    qputenv("XDG_CONFIG_HOME", m_previousConfigHome);
}

ReadOnlyFolder::ReadOnlyFolder(const QString& path) : m_path(path)
{
    if (geteuid() != 0) {
        m_readOnly = QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        m_why = m_readOnly ? QString() : QStringLiteral("cannot change the modes of ") + path;
        return;
    }
    const auto mount = [](const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral("mount"), arguments);
        return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    };
    m_mounted = mount({QStringLiteral("--bind"), path, path});
    m_readOnly =
        m_mounted && mount({QStringLiteral("-o"), QStringLiteral("remount,ro,bind"), path});
    if (!m_readOnly)
        m_why = QStringLiteral(
            "a read-only folder needs a read-only bind mount as root, and mount failed");
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), {m_path});
    else if (m_readOnly)
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
}

namespace {
bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}
} // namespace

SmallVolume::SmallVolume(const QString& path, qint64 bytes) : m_path(path)
{
    if (geteuid() != 0) {
        m_why = QStringLiteral("mounting a small tmpfs needs root");
        return;
    }
    m_mounted = run(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("size=%1").arg(bytes), QStringLiteral("tmpfs"), path});
    if (!m_mounted)
        m_why = QStringLiteral("mount -t tmpfs failed on ") + path;
}

SmallVolume::~SmallVolume()
{
    remove();
}

bool SmallVolume::remove()
{
    if (!m_mounted)
        return false;
    m_mounted = !run(QStringLiteral("umount"), {QStringLiteral("-l"), m_path});
    return !m_mounted;
}

QString binDir()
{
    const QByteArray fromEnv = qgetenv("MARLOMAX_BIN_DIR");
    return fromEnv.isEmpty() ? QStringLiteral(MARLOMAX_BIN_DIR_DEFAULT)
                             : QString::fromLocal8Bit(fromEnv);
}

void onNextModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, timeoutMs]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            action(modal);
        } else if (clock->elapsed() < timeoutMs) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete clock;
    });
    timer->start();
}

void acceptNextModal(bool accept, int timeoutMs)
{
    onNextModal(
        [accept](QWidget* modal) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                accept ? dialog->accept() : dialog->reject();
            else
                modal->close();
        },
        timeoutMs);
}

QString modalPopupText()
{
    QWidget* modal = QApplication::activeModalWidget();
    auto* label = modal ? modal->findChild<QLabel*>(QStringLiteral("textLabel")) : nullptr;
    return label ? label->text() : QString();
}

namespace {
QPointer<QTimer> g_acceptor;
}

void keepAcceptingModals()
{
    stopAcceptingModals();
    g_acceptor = new QTimer;
    g_acceptor->setInterval(10);
    QObject::connect(g_acceptor, &QTimer::timeout, []() {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    g_acceptor->start();
}

void stopAcceptingModals()
{
    delete g_acceptor.data();
}

QJsonObject replyJson(int id, const QJsonValue& result)
{
    return QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                       {QStringLiteral("id"), id},
                       {QStringLiteral("result"), result}};
}

QJsonObject errorJson(int id, int code)
{
    return QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                       {QStringLiteral("id"), id},
                       {QStringLiteral("error"),
                        QJsonObject{{QStringLiteral("code"), code},
                                    {QStringLiteral("message"), QStringLiteral("busy")}}}};
}

int ageSeconds(const QString& text)
{
    return text.endsWith(QLatin1String(" s ago")) ? text.section(QLatin1Char(' '), 0, 0).toInt()
                                                  : -1;
}

bool todayTooShortForTrend()
{
    return QTime::currentTime().hour() < 4;
}

QString saveScreenshot(QWidget* widget, const QString& name)
{
    QString dir = QString::fromLocal8Bit(qgetenv("MARLOMAX_SCREENSHOT_DIR"));
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/marlomax-screenshots");
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    widget->grab().save(path);
    return path;
}

QStringList methodsIn(const QByteArray& line)
{
    const QJsonDocument document = QJsonDocument::fromJson(line);
    const QJsonArray requests =
        document.isArray() ? document.array() : QJsonArray{document.object()};
    QStringList methods;
    for (const QJsonValue& request : requests)
        methods << request[QLatin1String("method")].toString();
    return methods;
}

} // namespace TestSupport
