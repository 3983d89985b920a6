// The message handler's exact lines, to a real log server and to ~/GUI.log.
#include "base/logwriter.h"
#include "base/messagehandler.h"
#include "support/testsupport.h"
#include "widgets/textmarkup.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

class tst_Logging : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void lineFormats_data();
    void lineFormats();
    void fileWhenNoServer();
    void serverWhenConnected();
    void unreachableServerFallsBackToFile();
    void subscriptDigits_data();
    void subscriptDigits();

private:
    static QString readGuiLog(const QString& home);
};

namespace {
QMessageLogContext appContext()
{
    return QMessageLogContext("app", 42, "f", "default");
}
} // namespace

QString tst_Logging::readGuiLog(const QString& home)
{
    QFile file(home + QStringLiteral("/GUI.log"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(file.readAll());
}

void tst_Logging::cleanup()
{
    closeLog();
}

void tst_Logging::lineFormats_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("withContext");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("debug") << int(QtDebugMsg) << true << QByteArray("Debug: text");
    QTest::newRow("info") << int(QtInfoMsg) << true << QByteArray("Info: text(app:42,f)");
    QTest::newRow("warning") << int(QtWarningMsg) << true << QByteArray("Warning: text(app:42,f)");
    QTest::newRow("critical") << int(QtCriticalMsg) << true
                              << QByteArray("Critical: text(app:42,f)");
    QTest::newRow("fatal") << int(QtFatalMsg) << true << QByteArray("Fatal: text(app:42,f)");
    QTest::newRow("warning without context")
        << int(QtWarningMsg) << false << QByteArray("Warning: text(:0,)");
    QTest::newRow("debug without context") << int(QtDebugMsg) << false << QByteArray("Debug: text");
    QTest::newRow("unknown type") << 99 << true << QByteArray();
}

void tst_Logging::lineFormats()
{
    QFETCH(int, type);
    QFETCH(bool, withContext);
    const QMessageLogContext context = withContext ? appContext() : QMessageLogContext();
    QTEST(formatLogLine(QtMsgType(type), context, QStringLiteral("text")), "line");
}

void tst_Logging::fileWhenNoServer()
{
    TestSupport::IsolatedHome home;
    QVERIFY(!isLogConnected());
    messageHandler(QtWarningMsg, appContext(), QStringLiteral("text"));
    messageHandler(QtDebugMsg, appContext(), QStringLiteral("second"));
    const QStringList lines = readGuiLog(home.path()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    const QRegularExpression stamped(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d Warning: text\\(app:42,f\\)$"));
    QVERIFY2(stamped.match(lines.at(0)).hasMatch(), qPrintable(lines.at(0)));
    QVERIFY(lines.at(1).endsWith(QStringLiteral(" Debug: second")));
}

void tst_Logging::serverWhenConnected()
{
    TestSupport::IsolatedHome home;
    QLocalServer server;
    const QString name = QStringLiteral("marlomax-log-%1").arg(QCoreApplication::applicationPid());
    QLocalServer::removeServer(name);
    QVERIFY(server.listen(name));

    QVERIFY(openLog(name));
    QVERIFY(isLogConnected());
    QVERIFY(server.waitForNewConnection(3000));
    QLocalSocket* peer = server.nextPendingConnection();

    messageHandler(QtWarningMsg, appContext(), QStringLiteral("text"));
    QByteArray received;
    QTRY_VERIFY((received += peer->readAll()).endsWith('\n'));
    QCOMPARE(received, QByteArray("GUI:Warning: text(app:42,f)\n"));
    QVERIFY(!QFile::exists(home.path() + QStringLiteral("/GUI.log")));

    // The socket belongs to this thread; a line logged by another thread goes
    // to the file instead of touching it.
    QScopedPointer<QThread> worker(QThread::create(
        [] { messageHandler(QtWarningMsg, appContext(), QStringLiteral("from a worker")); }));
    worker->start();
    QVERIFY(worker->wait(5000));
    QVERIFY(
        readGuiLog(home.path()).endsWith(QStringLiteral(" Warning: from a worker(app:42,f)\n")));
    QVERIFY(peer->readAll().isEmpty());
}

void tst_Logging::unreachableServerFallsBackToFile()
{
    TestSupport::IsolatedHome home;
    QVERIFY(!openLog(QStringLiteral("no-log-server-%1").arg(QCoreApplication::applicationPid())));
    QVERIFY(!isLogConnected());
    writeLog("Debug: after failed connect");
    QVERIFY(readGuiLog(home.path()).contains(QStringLiteral(" Debug: after failed connect\n")));
}

void tst_Logging::subscriptDigits_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("water") << "H2O"
                           << "H<sub>2</sub>O";
    QTest::newRow("caret keeps digit plain") << "m^3"
                                             << "m3";
    QTest::newRow("two digits") << "C10"
                                << "C<sub>1</sub><sub>0</sub>";
    QTest::newRow("trailing caret") << "x^"
                                    << "x^";
    QTest::newRow("markup is escaped") << "<b>N2</b>"
                                       << "&lt;b&gt;N<sub>2</sub>&lt;/b&gt;";
    QTest::newRow("non-ascii digit untouched")
        << QString::fromUtf8("x\u0663") << QString::fromUtf8("x\u0663");
}

void tst_Logging::subscriptDigits()
{
    QFETCH(QString, in);
    QTEST(::subscriptDigits(in), "out");
}

QTEST_GUILESS_MAIN(tst_Logging)
#include "tst_logging.moc"
