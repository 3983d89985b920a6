// Id blocks and reply routing over several clients built on RequestTable.
#include "analyzer/clientset.h"
#include "analyzer/requesttable.h"
#include "analyzer/response.h"
#include "analyzer/rpcinterface.h"

#include <QJsonObject>
#include <QtTest>

using namespace Analyzer;

namespace {

// A client with n polled requests that records which ids reached it.
class CountingClient : public RPCInterface
{
public:
    explicit CountingClient(int requests, bool withGuiOnly = false)
        : m_requests(requests), m_withGuiOnly(withGuiOnly)
    {
    }

    void assignRequestIds(int firstId) override
    {
        m_table.reset(firstId);
        for (int i = 0; i < m_requests; ++i) {
            m_table.add(QStringLiteral("method_%1").arg(i),
                        [this](const Response& r) { received.append(r.id()); });
        }
        if (m_withGuiOnly)
            m_table.addGuiOnly(QStringLiteral("test"),
                               [this](const Response& r) { received.append(r.id()); });
    }
    int firstRequestId() override { return m_table.firstId(); }
    int lastRequestId() override { return m_table.lastId(); }
    QJsonArray updateRequests() override { return m_table.pollRequests(); }
    void handleResponse(const Response& response) override { m_table.dispatch(response); }

    RequestTable& table() { return m_table; }
    QList<int> received;

private:
    RequestTable m_table;
    int m_requests;
    bool m_withGuiOnly;
};

Response replyWithId(int id)
{
    return Response(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("result"), 1}});
}

} // namespace

class tst_ClientSet : public QObject
{
    Q_OBJECT

private slots:
    void blocksAreContiguous();
    void everyIdReachesExactlyOneClient();
    void unownedIdsAreDropped();
    void writeRepliesRunThePollHandler();
    void guiOnlyEntriesAreNeverPolled();
    void errorRepliesLeaveValuesAndFlags_data();
    void errorRepliesLeaveValuesAndFlags();
};

void tst_ClientSet::blocksAreContiguous()
{
    CountingClient four(4), one(1), three(3);
    ClientSet set;
    set.add(&four);
    set.add(&one);
    set.add(&three);
    set.add(&one); // added once only
    QCOMPARE(set.assignRequestIds(), 10);
    QCOMPARE(four.firstRequestId(), 2);
    QCOMPARE(four.lastRequestId(), 5);
    QCOMPARE(one.firstRequestId(), 6);
    QCOMPARE(one.lastRequestId(), 6);
    QCOMPARE(three.firstRequestId(), 7);
    QCOMPARE(three.lastRequestId(), 9);
}

void tst_ClientSet::everyIdReachesExactlyOneClient()
{
    CountingClient four(4), one(1), three(3);
    ClientSet set;
    for (CountingClient* c : {&four, &one, &three})
        set.add(c);
    set.assignRequestIds();
    for (int id = 2; id <= 9; ++id)
        QVERIFY(set.route(replyWithId(id)));
    QCOMPARE(four.received, (QList<int>{2, 3, 4, 5}));
    QCOMPARE(one.received, (QList<int>{6}));
    QCOMPARE(three.received, (QList<int>{7, 8, 9}));
}

void tst_ClientSet::unownedIdsAreDropped()
{
    CountingClient client(2);
    ClientSet set;
    set.add(&client);
    set.assignRequestIds();
    QVERIFY(!set.route(replyWithId(0)));
    QVERIFY(!set.route(replyWithId(1))); // the shutdown request's id
    QVERIFY(!set.route(replyWithId(4)));
    QVERIFY(!set.route(replyWithId(-3)));
    QVERIFY(!set.route(Response(QJsonObject{{QStringLiteral("result"), 1}})));
    QVERIFY(client.received.isEmpty());

    set.remove(&client);
    QVERIFY(!set.route(replyWithId(2)));
}

void tst_ClientSet::writeRepliesRunThePollHandler()
{
    CountingClient client(3);
    ClientSet set;
    set.add(&client);
    set.assignRequestIds();

    Request write = client.table().request(3);
    write.setParams({42});
    QCOMPARE(write.id(), 3);
    QCOMPARE(write.method(), QStringLiteral("method_1"));
    QVERIFY(client.table().request(3).params().isEmpty()); // the stored request is untouched
    set.route(replyWithId(write.id()));
    QCOMPARE(client.received, (QList<int>{3}));
}

void tst_ClientSet::guiOnlyEntriesAreNeverPolled()
{
    CountingClient client(2, true);
    ClientSet set;
    set.add(&client);
    set.assignRequestIds(10);
    QCOMPARE(client.lastRequestId(), 12);
    const QJsonArray batch = client.updateRequests();
    QCOMPARE(batch.size(), 2);
    QCOMPARE(batch.at(0).toObject().value("id").toInt(), 10);
    QCOMPARE(batch.at(1).toObject().value("id").toInt(), 11);

    // The local answer to the GUI-only entry goes to its handler like any reply.
    Request local = client.table().request(12);
    QVERIFY(local.isGuiOnly());
    local.setParams({1234});
    set.route(Response(local));
    QCOMPARE(client.received, (QList<int>{12}));
    // The same id from the server is no answer the panel gave: dropped.
    set.route(replyWithId(12));
    QCOMPARE(client.received, (QList<int>{12}));

    CountingClient empty(0);
    empty.assignRequestIds(20);
    QVERIFY(empty.updateRequests().isEmpty());
    QCOMPARE(empty.lastRequestId(), 19);
}

void tst_ClientSet::errorRepliesLeaveValuesAndFlags_data()
{
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<int>("valueCalls");
    QTest::addColumn<bool>("flag");
    QTest::addColumn<int>("rawCalls");

    const QJsonObject error{{QStringLiteral("code"), 1},
                            {QStringLiteral("message"), QStringLiteral("bad")}};
    QTest::newRow("result true") << QJsonObject{{QStringLiteral("result"), true}} << 1 << true << 1;
    QTest::newRow("result false") << QJsonObject{{QStringLiteral("result"), false}} << 1 << false
                                  << 1;
    QTest::newRow("error") << QJsonObject{{QStringLiteral("error"), error}} << 0 << true << 1;
    QTest::newRow("error beside a result")
        << QJsonObject{{QStringLiteral("error"), error}, {QStringLiteral("result"), false}} << 0
        << true << 1;
}

void tst_ClientSet::errorRepliesLeaveValuesAndFlags()
{
    QFETCH(QJsonObject, reply);
    QFETCH(int, valueCalls);
    QFETCH(bool, flag);
    QFETCH(int, rawCalls);

    RequestTable table;
    table.reset(2);
    int values = 0;
    int raw = 0;
    bool state = true; // what the screen showed before the reply
    const int valueId = table.addValue(QStringLiteral("value"), [&](const Response&) { ++values; });
    const int flagId = table.addFlag(QStringLiteral("flag"), state);
    const int rawId = table.add(QStringLiteral("raw"), [&](const Response&) { ++raw; });
    QCOMPARE((QList<int>{valueId, flagId, rawId}), (QList<int>{2, 3, 4}));

    for (int id : {valueId, flagId, rawId}) {
        QJsonObject json = reply;
        json.insert(QStringLiteral("id"), id);
        table.dispatch(Response(json));
    }
    QCOMPARE(values, valueCalls);
    QCOMPARE(state, flag);
    QCOMPARE(raw, rawCalls);
}

QTEST_GUILESS_MAIN(tst_ClientSet)
#include "tst_clientset.moc"
