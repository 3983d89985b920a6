// The TCP and local-socket connections and the manager, against real servers
// started inside the test.
#include "analyzer/connectionmanager.h"
#include "analyzer/localconnection.h"
#include "analyzer/remoteconnection.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using Analyzer::LocalConnection;
using Analyzer::RemoteConnection;

class tst_Connections : public QObject
{
    Q_OBJECT

private slots:
    void managerPicksConnectionKind_data();
    void managerPicksConnectionKind();
    void remoteFramingAndRead();
    void remoteStaleLinkClosesOnWrite();
    void remoteConnectFailures_data();
    void remoteConnectFailures();
    void localFramingAndRead();
    void managerReportsEachChangeOnce();
    void writesWhileDisconnectedAreDropped();

private:
    static void readLine(QIODevice* device, QByteArray* received);
};

// Collects what the peer received until a line feed ends it.
void tst_Connections::readLine(QIODevice* device, QByteArray* received)
{
    QTRY_VERIFY_WITH_TIMEOUT((*received += device->readAll()).endsWith('\n'), 5000);
}

void tst_Connections::managerPicksConnectionKind_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<bool>("remote");
    QTest::newRow("host and port") << QStringLiteral("10.0.0.5:4321") << true;
    QTest::newRow("several colons") << QStringLiteral("a:b:c") << true;
    QTest::newRow("socket name") << QStringLiteral("vireo_socket") << false;
}

void tst_Connections::managerPicksConnectionKind()
{
    QFETCH(QString, connectionString);
    QFETCH(bool, remote);
    QObject owner;
    ConnectionManager manager(connectionString, &owner);
    QCOMPARE(qobject_cast<RemoteConnection*>(manager.connection()) != nullptr, remote);
    QCOMPARE(qobject_cast<LocalConnection*>(manager.connection()) != nullptr, !remote);
    QCOMPARE(manager.connection()->serverName(), connectionString);
    QCOMPARE(manager.connection()->parent(), &owner);
    QVERIFY(!manager.connection()->isConnected()); // no attempt made on construction
}

void tst_Connections::remoteFramingAndRead()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QDateTime now = QDateTime::currentDateTimeUtc();
    RemoteConnection connection(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()), nullptr,
                                [&now] { return now; });
    QVERIFY(connection.connectToServer());
    QVERIFY(connection.isConnected());
    QCOMPARE(connection.deadline(), now.addSecs(120));
    QVERIFY(server.waitForNewConnection(3000));
    QTcpSocket* peer = server.nextPendingConnection();

    connection.write(R"({"id":2,"method":"conc"})");
    QByteArray line;
    readLine(peer, &line);
    QCOMPARE(line, QByteArray(R"({"id":2,"method":"conc"})"
                              "\n"));

    // Already connected: returns at once without touching the socket.
    QSignalSpy stateSpy(&connection, &Analyzer::ConnectionInterface::connectionStatusChanged);
    QVERIFY(connection.connectToServer());
    QCOMPARE(stateSpy.count(), 0);

    QSignalSpy readySpy(&connection, &Analyzer::ConnectionInterface::readyToRead);
    now = now.addSecs(115);
    peer->write("{\"id\":2,\"result\":1}\n");
    QVERIFY(readySpy.wait(3000));
    // Arriving data pushes the staleness deadline two minutes out again.
    QCOMPARE(connection.deadline(), now.addSecs(120));
    QByteArray got;
    QTRY_VERIFY((got += connection.readAll()).endsWith('\n'));
    QCOMPARE(got, QByteArray("{\"id\":2,\"result\":1}\n"));

    connection.disconnectFromServer();
    QVERIFY(!connection.deadline().isValid());
    QTRY_VERIFY(!connection.isConnected());
    QVERIFY(connection.readAll().isEmpty());
}

void tst_Connections::remoteStaleLinkClosesOnWrite()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QDateTime now = QDateTime::currentDateTimeUtc();
    RemoteConnection connection(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()), nullptr,
                                [&now] { return now; });
    QVERIFY(connection.connectToServer());
    QVERIFY(server.waitForNewConnection(3000));
    QTcpSocket* peer = server.nextPendingConnection();

    // One second short of two silent minutes the link still carries writes ...
    now = now.addSecs(119);
    connection.write("[]");
    QByteArray line;
    readLine(peer, &line);
    QCOMPARE(line, QByteArray("[]\n"));
    QVERIFY(connection.isConnected());

    // ... at two minutes it is stale and closed instead.
    now = now.addSecs(1);
    connection.write("{\"id\":3}");
    QTRY_VERIFY(!connection.isConnected());
    QVERIFY(!connection.deadline().isValid());
    QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(peer->readAll().isEmpty()); // nothing more was sent on the stale link
}

void tst_Connections::remoteConnectFailures_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::newRow("non-numeric port") << QStringLiteral("127.0.0.1:12:34");
    QTest::newRow("closed port") << QString(); // filled in below with a port nobody listens on
}

void tst_Connections::remoteConnectFailures()
{
    QFETCH(QString, connectionString);
    if (connectionString.isEmpty()) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        connectionString = QStringLiteral("127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
    }
    RemoteConnection connection(connectionString, nullptr);
    QVERIFY(!connection.connectToServer());
    QVERIFY(!connection.isConnected());
    QCOMPARE(connection.serverName(), connectionString);
}

void tst_Connections::localFramingAndRead()
{
    QLocalServer server;
    const QString name = QStringLiteral("marlomax-test-%1").arg(QCoreApplication::applicationPid());
    QLocalServer::removeServer(name);
    QVERIFY(server.listen(name));

    LocalConnection connection(name, nullptr);
    QVERIFY(connection.connectToServer());
    QVERIFY(server.waitForNewConnection(3000));
    QLocalSocket* peer = server.nextPendingConnection();

    connection.write("[]");
    QByteArray line;
    readLine(peer, &line);
    QCOMPARE(line, QByteArray("[]\n"));

    QSignalSpy readySpy(&connection, &Analyzer::ConnectionInterface::readyToRead);
    peer->write("{\"id\":4}\n");
    peer->flush();
    QVERIFY(readySpy.wait(3000));
    QCOMPARE(connection.readAll(), QByteArray("{\"id\":4}\n"));

    QSignalSpy stateSpy(&connection, &Analyzer::ConnectionInterface::connectionStatusChanged);
    peer->disconnectFromServer();
    QTRY_VERIFY(!connection.isConnected());
    QVERIFY(stateSpy.count() >= 1);
}

void tst_Connections::managerReportsEachChangeOnce()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QObject owner;
    ConnectionManager manager(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()), &owner);
    QSignalSpy spy(&manager, &ConnectionManager::connectionStatusChanged);

    manager.checkStatus();
    QCOMPARE(spy.count(), 0); // down, and never reported up

    // A connection made outside the manager is a change the next check reports, once.
    QVERIFY(manager.connection()->connectToServer());
    manager.checkStatus();
    manager.checkStatus();
    QCOMPARE(spy.count(), 1);

    QVERIFY(server.waitForNewConnection(3000));
    QPointer<QTcpSocket> peer = server.nextPendingConnection();
    peer->abort();
    QTRY_VERIFY(!manager.connection()->isConnected());
    manager.checkStatus();
    manager.checkStatus();
    QCOMPARE(spy.count(), 2);

    // The manager's own connect stores the state, so the check that follows is silent.
    QVERIFY(manager.connectToServer());
    manager.checkStatus();
    QCOMPARE(spy.count(), 2);

    // Likewise its own disconnect.
    manager.disconnectFromServer();
    QTRY_VERIFY(!manager.connection()->isConnected());
    manager.checkStatus();
    QCOMPARE(spy.count(), 2);
}

void tst_Connections::writesWhileDisconnectedAreDropped()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    RemoteConnection remote(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()), nullptr);
    remote.write("{\"id\":2}"); // not connected: silently dropped
    QVERIFY(remote.readAll().isEmpty());
    QVERIFY(remote.connectToServer());
    QVERIFY(server.waitForNewConnection(3000));
    QTcpSocket* peer = server.nextPendingConnection();
    remote.write("{\"id\":5}");
    QByteArray line;
    readLine(peer, &line);
    QCOMPARE(line, QByteArray("{\"id\":5}\n")); // the dropped message never arrives

    LocalConnection local(
        QStringLiteral("no-such-socket-%1").arg(QCoreApplication::applicationPid()), nullptr);
    QVERIFY(!local.connectToServer());
    local.write("{\"id\":2}");
    QVERIFY(local.readAll().isEmpty());
}

QTEST_GUILESS_MAIN(tst_Connections)
#include "tst_connections.moc"
