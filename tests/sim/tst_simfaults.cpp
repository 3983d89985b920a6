// Every fault the simulator can show, each on its own simulator: the link
// misbehaves exactly as asked, and only when asked.
#include "support/simclient.h"
#include "support/simulatorprocess.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest>

namespace {
QByteArray line(const QString& method, int id)
{
    return QJsonDocument(SimClient::request(method, QJsonValue::Undefined, id))
        .toJson(QJsonDocument::Compact);
}
int idOf(const QByteArray& reply)
{
    return QJsonDocument::fromJson(reply).object().value(QStringLiteral("id")).toInt();
}
} // namespace

class tst_SimFaults : public QObject
{
    Q_OBJECT

private slots:
    void closeAfterMessages();
    void delayedReplies();
    void splitReplies();
    void garbageLines();
    void failingMethod();
    void droppedReplies();
    void slowMethod();
    void servedInTurn();
    void linkDroppedAfterACall();
    void stopAnswering();
    void shuffledBatch();
    void controlMethodOnlyWithFlag();
    void faultsAreOffByDefault();

private:
    bool startSim(TestSupport::SimulatorProcess& sim, SimClient& client)
    {
        if (!sim.start()) {
            qWarning("%s", qPrintable(sim.errorString()));
            return false;
        }
        return client.connectTo(sim.port());
    }
};

void tst_SimFaults::closeAfterMessages()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--close-after"), QStringLiteral("3")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    for (int i = 1; i <= 3; ++i) {
        client.sendLine(line(QStringLiteral("opmode"), i));
        QCOMPARE(idOf(client.readLine()), i);
    }
    QTRY_COMPARE(client.socket().state(), QAbstractSocket::UnconnectedState);
    // A new connection gets its own count.
    SimClient next;
    QVERIFY(next.connectTo(sim.port()));
    next.sendLine(line(QStringLiteral("opmode"), 9));
    QCOMPARE(idOf(next.readLine()), 9);
}

void tst_SimFaults::delayedReplies()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--delay-ms"), QStringLiteral("400")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    QElapsedTimer clock;
    clock.start();
    client.sendLine(line(QStringLiteral("conc"), 1));
    client.sendLine(line(QStringLiteral("conc"), 2));
    QCOMPARE(idOf(client.readLine()), 1);
    QVERIFY(clock.elapsed() >= 400);
    QCOMPARE(idOf(client.readLine()), 2); // order is kept
}

void tst_SimFaults::splitReplies()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--split-replies")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    client.sendLine(line(QStringLiteral("last_ring_down"), 5));
    QVERIFY(client.socket().waitForReadyRead(5000));
    const QByteArray first = client.socket().readAll();
    QVERIFY(!first.isEmpty());
    QVERIFY2(!first.contains('\n'), "the first piece already held the whole line");
    QByteArray whole = first;
    while (!whole.contains('\n') && client.socket().waitForReadyRead(5000))
        whole += client.socket().readAll();
    QCOMPARE(idOf(whole.trimmed()), 5);
}

void tst_SimFaults::garbageLines()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--garbage-every"), QStringLiteral("2")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    client.sendLine(line(QStringLiteral("opmode"), 1));
    QCOMPARE(idOf(client.readLine()), 1);
    client.sendLine(line(QStringLiteral("opmode"), 2));
    const QByteArray garbage = client.readLine();
    QJsonParseError error;
    QJsonDocument::fromJson(garbage, &error);
    QVERIFY(error.error != QJsonParseError::NoError);
    QCOMPARE(idOf(client.readLine()), 2);
}

void tst_SimFaults::failingMethod()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--fail-method"), QStringLiteral("conc"),
                                       QStringLiteral("--fail-method"),
                                       QStringLiteral("opmode:6:-32000")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    const auto errorCode = [&client](const QString& method, const QJsonValue& params) {
        const QJsonObject reply = client.call(method, params);
        if (!reply.contains(QStringLiteral("error")))
            return 0;
        const QJsonObject error = reply.value(QStringLiteral("error")).toObject();
        return error.value(QStringLiteral("message")).toString().contains(method)
                   ? error.value(QStringLiteral("code")).toInt()
                   : 99;
    };
    QCOMPARE(errorCode(QStringLiteral("conc"), QJsonValue::Undefined), 1);
    // Only the write of mode 6 is refused, with the code asked for.
    QCOMPARE(errorCode(QStringLiteral("opmode"), QJsonArray{6}), -32000);
    QCOMPARE(errorCode(QStringLiteral("opmode"), QJsonValue::Undefined), 0);
    QCOMPARE(errorCode(QStringLiteral("opmode"), QJsonArray{2}), 0);
    QCOMPARE(errorCode(QStringLiteral("species"), QJsonValue::Undefined), 0);
}

void tst_SimFaults::droppedReplies()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--drop-reply"), QStringLiteral("conc:2"),
                                       QStringLiteral("--drop-reply"), QStringLiteral("tau")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    client.sendLine(line(QStringLiteral("conc"), 1));
    QCOMPARE(idOf(client.readLine()), 1);
    // The second conc goes unanswered, and so does a batch of nothing but tau;
    // in a mixed batch only tau's reply is missing.
    client.sendLine(line(QStringLiteral("conc"), 2));
    client.sendLine(line(QStringLiteral("tau"), 3));
    client.sendLine(
        QJsonDocument(
            QJsonArray{SimClient::request(QStringLiteral("tau"), QJsonValue::Undefined, 4),
                       SimClient::request(QStringLiteral("conc"), QJsonValue::Undefined, 5)})
            .toJson(QJsonDocument::Compact));
    const QJsonArray batch = QJsonDocument::fromJson(client.readLine()).array();
    QCOMPARE(batch.size(), 1);
    QCOMPARE(batch.at(0).toObject().value(QStringLiteral("id")).toInt(), 5);
    QVERIFY(!client.lineArrives(300));
}

void tst_SimFaults::slowMethod()
{
    TestSupport::SimulatorProcess sim(
        {QStringLiteral("--delay-method"), QStringLiteral("tau:400")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    QElapsedTimer clock;
    clock.start();
    client.sendLine(line(QStringLiteral("tau"), 1));
    client.sendLine(line(QStringLiteral("conc"), 2));
    QCOMPARE(idOf(client.readLine()), 2); // not held up behind the slow one
    QVERIFY(clock.elapsed() < 400);
    QCOMPARE(idOf(client.readLine()), 1);
    QVERIFY(clock.elapsed() >= 400);
}

void tst_SimFaults::servedInTurn()
{
    // Three calls at once, each taking 300 ms after the one before: answered
    // in order at about 300, 600 and 900 ms, with other calls answered meanwhile.
    TestSupport::SimulatorProcess sim(
        {QStringLiteral("--serve-in-turn"), QStringLiteral("tau:300")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    QElapsedTimer clock;
    clock.start();
    for (int id = 1; id <= 3; ++id)
        client.sendLine(line(QStringLiteral("tau"), id));
    client.sendLine(line(QStringLiteral("conc"), 4));
    QCOMPARE(idOf(client.readLine()), 4);
    QVERIFY(clock.elapsed() < 300);
    for (int id = 1; id <= 3; ++id) {
        QCOMPARE(idOf(client.readLine()), id);
        QVERIFY2(clock.elapsed() >= 300 * id, qPrintable(QString::number(clock.elapsed())));
    }
}

void tst_SimFaults::linkDroppedAfterACall()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--drop-link-after"),
                                       QStringLiteral("opmode:8:300"),
                                       QStringLiteral("--control")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(
        client.call(QStringLiteral("opmode"), QJsonArray{8}).contains(QStringLiteral("result")));
    client.sendLine(line(QStringLiteral("conc"), 2));
    QCOMPARE(idOf(client.readLine()), 2); // still up until the time is over
    QTRY_COMPARE(client.socket().state(), QAbstractSocket::UnconnectedState);
    QVERIFY(clock.elapsed() >= 300);

    // It fired once; sim_control arms it again, on the next call at once.
    SimClient next;
    QVERIFY(next.connectTo(sim.port()));
    QVERIFY(next.call(QStringLiteral("opmode"), QJsonArray{8}).contains(QStringLiteral("result")));
    QVERIFY(next.call(QStringLiteral("sim_control"), QJsonArray{"drop-link-after", "opmode", true})
                .value(QStringLiteral("result"))
                .toBool());
    QVERIFY(next.call(QStringLiteral("opmode")).contains(QStringLiteral("result")));
    QTRY_COMPARE(next.socket().state(), QAbstractSocket::UnconnectedState);
}

void tst_SimFaults::stopAnswering()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--stop-after"), QStringLiteral("2")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    for (int i = 1; i <= 2; ++i) {
        client.sendLine(line(QStringLiteral("opmode"), i));
        QCOMPARE(idOf(client.readLine()), i);
    }
    client.sendLine(line(QStringLiteral("opmode"), 3));
    QVERIFY(!client.lineArrives(1000));
    QCOMPARE(client.socket().state(),
             QAbstractSocket::ConnectedState); // a stale link, not a closed one
}

void tst_SimFaults::shuffledBatch()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--shuffle-batches")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    QJsonArray requests;
    for (int id = 1; id <= 6; ++id)
        requests.append(SimClient::request(QStringLiteral("conc"), QJsonValue::Undefined, id));
    client.sendLine(QJsonDocument(requests).toJson(QJsonDocument::Compact));
    QList<int> ids;
    for (int i = 0; i < 6; ++i) {
        const QByteArray reply = client.readLine();
        QVERIFY(QJsonDocument::fromJson(reply).isObject()); // one object a line, no array
        ids << idOf(reply);
    }
    QVERIFY(ids != (QList<int>{1, 2, 3, 4, 5, 6}));
    std::sort(ids.begin(), ids.end());
    QCOMPARE(ids, (QList<int>{1, 2, 3, 4, 5, 6}));
}

void tst_SimFaults::controlMethodOnlyWithFlag()
{
    TestSupport::SimulatorProcess sim({QStringLiteral("--control")});
    SimClient client;
    QVERIFY(startSim(sim, client));
    QCOMPARE(client.call(QStringLiteral("sim_control"), QJsonArray{"fail-method", "species", true})
                 .value(QStringLiteral("result")),
             QJsonValue(true));
    QCOMPARE(client.call(QStringLiteral("species"))
                 .value(QStringLiteral("error"))
                 .toObject()
                 .value(QStringLiteral("code"))
                 .toInt(),
             1);
    // Rules aimed at a method's calls are set and taken back in the flags' own words.
    const auto control = [&client](const QString& what, const QString& rule, bool on) {
        return client.call(QStringLiteral("sim_control"), QJsonArray{what, rule, on});
    };
    QVERIFY(control(QStringLiteral("fail-method"), QStringLiteral("opmode:6:-5"), true)
                .contains(QStringLiteral("result")));
    QCOMPARE(client.call(QStringLiteral("opmode"), QJsonArray{6})
                 .value(QStringLiteral("error"))["code"]
                 .toInt(),
             -5);
    control(QStringLiteral("fail-method"), QStringLiteral("opmode:6:-5"), false);
    QVERIFY(
        client.call(QStringLiteral("opmode"), QJsonArray{6}).contains(QStringLiteral("result")));
    QCOMPARE(control(QStringLiteral("delay-method"), QStringLiteral("tau"), true)
                 .value(QStringLiteral("error"))["code"]
                 .toInt(),
             -32602); // a delay needs its milliseconds
    client.call(QStringLiteral("sim_control"), QJsonArray{"alarm", "laser", true});
    QCOMPARE(client.call(QStringLiteral("laser_alarm_active")).value(QStringLiteral("result")),
             QJsonValue(true));
}

void tst_SimFaults::faultsAreOffByDefault()
{
    TestSupport::SimulatorProcess sim;
    SimClient client;
    QVERIFY(startSim(sim, client));
    QCOMPARE(client.call(QStringLiteral("sim_control"), QJsonArray{"stop-after", 0})
                 .value(QStringLiteral("error"))
                 .toObject()
                 .value(QStringLiteral("code"))
                 .toInt(),
             -32601);
    QJsonArray requests;
    for (int id = 1; id <= 30; ++id)
        requests.append(SimClient::request(QStringLiteral("opmode"), QJsonValue::Undefined, id));
    for (int round = 0; round < 5; ++round) {
        const QJsonArray replies = client.batch(requests);
        QCOMPARE(replies.size(), 30);
        QCOMPARE(replies.last().toObject().value(QStringLiteral("id")).toInt(), 30);
    }
    QCOMPARE(client.socket().state(), QAbstractSocket::ConnectedState);
}

QTEST_GUILESS_MAIN(tst_SimFaults)
#include "tst_simfaults.moc"
