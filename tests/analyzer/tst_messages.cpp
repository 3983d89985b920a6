// Request and Response: defaults, conversions and the GUI-only rules, plus
// decoding received lines into replies.
#include "analyzer/linedecoder.h"
#include "analyzer/request.h"
#include "analyzer/response.h"

#include <QJsonDocument>
#include <QtTest>
#include <cmath>

using Analyzer::LineDecoder;
using Analyzer::Request;
using Analyzer::Response;

class tst_Messages : public QObject
{
    Q_OBJECT

private slots:
    void freshRequest();
    void guiOnlyRules();
    void responseDefaults_data();
    void responseDefaults();
    void responseFromRequest();
    void errorShapes();
    void decodeLine_data();
    void decodeLine();
    void takeCompleteLines();
};

void tst_Messages::freshRequest()
{
    Request request;
    QCOMPARE(request.toCompactJson(), QByteArray(R"({"id":"-1","jsonrpc":"2.0"})"));
    QCOMPARE(request.id(), -1);
    QCOMPARE(request.method(), QStringLiteral("NO_METHOD"));
    QVERIFY(request.params().isEmpty());
    QVERIFY(!request.isGuiOnly());

    // An id that was never set goes out as a string, and its reply reads id 0.
    const Response reply(QJsonDocument::fromJson(R"({"id":"-1","result":1})").object());
    QCOMPARE(reply.id(), 0);

    request.setId(7);
    request.setMethod(QStringLiteral("opmode"));
    request.setParams({8});
    QCOMPARE(request.toCompactJson(),
             QByteArray(R"({"id":7,"jsonrpc":"2.0","method":"opmode","params":[8]})"));
    QVERIFY(!request.toCompactJson().contains('\n'));
}

void tst_Messages::guiOnlyRules()
{
    Request request;
    request.setGuiOnly(5, QStringLiteral("settings"));
    QVERIFY(request.isGuiOnly());
    QCOMPARE(request.id(), 5);
    QCOMPARE(request.method(), QStringLiteral("NO_METHOD"));

    request.setId(6);
    QVERIFY(!request.isGuiOnly());
    QCOMPARE(request.toCompactJson(), QByteArray(R"({"id":6,"jsonrpc":"2.0"})"));
}

void tst_Messages::responseDefaults_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("asBool");
    QTest::addColumn<int>("asInt");
    QTest::addColumn<double>("asDouble");
    QTest::addColumn<QString>("asString");
    QTest::addColumn<int>("arraySize");

    const double nan = std::nan("");
    QTest::newRow("no result") << QByteArray(R"({"id":3})") << 3 << false << 0 << nan << QString()
                               << 0;
    QTest::newRow("null result") << QByteArray(R"({"id":3,"result":null})") << 3 << false << 0
                                 << nan << QString() << 0;
    QTest::newRow("number") << QByteArray(R"({"id":4,"result":12})") << 4 << false << 12 << 12.0
                            << QString() << 0;
    // Qt 6 keeps whole numbers as 64-bit integers where Qt 5 had doubles;
    // what the panel reads of them is the same on both.
    QTest::newRow("largest int") << QByteArray(R"({"id":4,"result":2147483647})") << 4 << false
                                 << 2147483647 << 2147483647.0 << QString() << 0;
    QTest::newRow("beyond int") << QByteArray(R"({"id":4,"result":2147483648})") << 4 << false << 0
                                << 2147483648.0 << QString() << 0;
    QTest::newRow("fraction") << QByteArray(R"({"id":4,"result":-12.5})") << 4 << false << 0
                              << -12.5 << QString() << 0;
    QTest::newRow("beyond a double's integers")
        << QByteArray(R"({"id":4,"result":9007199254740993})") << 4 << false << 0
        << 9007199254740992.0 << QString() << 0;
    QTest::newRow("string") << QByteArray(R"({"id":4,"result":"volume"})") << 4 << false << 0 << nan
                            << QStringLiteral("volume") << 0;
    QTest::newRow("bool") << QByteArray(R"({"id":4,"result":true})") << 4 << true << 0 << nan
                          << QString() << 0;
    QTest::newRow("array") << QByteArray(R"({"id":4,"result":[1,2]})") << 4 << false << 0 << nan
                           << QString() << 2;
    QTest::newRow("null id") << QByteArray(R"({"id":null,"result":1})") << 0 << false << 1 << 1.0
                             << QString() << 0;
    QTest::newRow("string id") << QByteArray(R"({"id":"9","result":1})") << 0 << false << 1 << 1.0
                               << QString() << 0;
}

void tst_Messages::responseDefaults()
{
    QFETCH(QByteArray, json);
    const Response response(QJsonDocument::fromJson(json).object());
    QTEST(response.id(), "id");
    QTEST(response.toBool(), "asBool");
    QTEST(response.toInt(), "asInt");
    QFETCH(double, asDouble);
    if (std::isnan(asDouble))
        QVERIFY(std::isnan(response.toDouble()));
    else
        QCOMPARE(response.toDouble(), asDouble);
    QTEST(response.toString(), "asString");
    QTEST(int(response.toArray().size()), "arraySize");
    QVERIFY(!response.isError());
}

void tst_Messages::responseFromRequest()
{
    Request request;
    request.setGuiOnly(22, QStringLiteral("home"));
    request.setParams({12.5});
    const Response response(request);
    QCOMPARE(response.id(), 22);
    QCOMPARE(response.toArray(), QJsonArray({12.5}));
    QVERIFY(!response.json().contains(QStringLiteral("jsonrpc")));
}

void tst_Messages::errorShapes()
{
    const Response full(
        QJsonDocument::fromJson(R"({"id":2,"error":{"code":1,"message":"Laser not ready"}})")
            .object());
    QVERIFY(full.isError());
    QCOMPARE(full.errorCode(), 1);
    QCOMPARE(full.errorMessage(), QStringLiteral("Laser not ready"));

    const Response odd(QJsonDocument::fromJson(R"({"id":2,"error":"boom"})").object());
    QVERIFY(odd.isError());
    QCOMPARE(odd.errorCode(), 0);
    QCOMPARE(odd.errorMessage(), QString());
}

void tst_Messages::decodeLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<bool>("parseError");

    QTest::newRow("empty line") << QByteArray() << QList<int>{} << false;
    QTest::newRow("blank line") << QByteArray("  \r") << QList<int>{} << false;
    QTest::newRow("empty array") << QByteArray("[]") << QList<int>{} << false;
    QTest::newRow("object") << QByteArray(R"({"id":4,"result":1})") << QList<int>{4} << false;
    QTest::newRow("batch in order")
        << QByteArray(R"([{"id":3},{"id":2}])") << QList<int>{3, 2} << false;
    QTest::newRow("non-object elements")
        << QByteArray(R"([1,"x",{"id":5},null])") << QList<int>{0, 0, 5, 0} << false;
    QTest::newRow("scalar document") << QByteArray("42") << QList<int>{} << false;
    QTest::newRow("garbage") << QByteArray("{\"id\":") << QList<int>{} << true;
    QTest::newRow("binary") << QByteArray("\x01\xff\xfe", 3) << QList<int>{} << true;
    // A member named twice never reaches Qt's parser, which would keep memory for good.
    QTest::newRow("name twice") << QByteArray(R"({"result":[0],"result":0})") << QList<int>{}
                                << true;
    QTest::newRow("name twice in one reply of a batch")
        << QByteArray(R"([{"id":2},{"id":3,"id":4}])") << QList<int>{} << true;
    QTest::newRow("name twice deep in a result")
        << QByteArray(R"({"id":2,"result":{"a":[{"b":1,"b":2}]}})") << QList<int>{} << true;
    QTest::newRow("name twice through an escape")
        << QByteArray(R"({"id":2,"\u0069d":3})") << QList<int>{} << true;
    QTest::newRow("name twice among many")
        << QByteArray(R"({"a":1,"b":2,"c":3,"d":4,"e":5,"f":6,"g":7,"h":8,"i":9,"a":0})")
        << QList<int>{} << true;
    QTest::newRow("names again as values")
        << QByteArray(R"({"id":2,"result":["id",{"id":"id"}]})") << QList<int>{2} << false;
    QTest::newRow("brackets and quotes inside text")
        << QByteArray(R"({"id":2,"result":"}{\"id\":\\"})") << QList<int>{2} << false;
    QTest::newRow("many distinct names")
        << QByteArray(R"({"a":1,"b":2,"c":3,"d":4,"e":5,"f":6,"g":7,"h":8,"i":9,"id":6})")
        << QList<int>{6} << false;
}

void tst_Messages::decodeLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QList<int>, ids);
    QFETCH(bool, parseError);
    if (parseError)
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Parse error encountered"));
    const QVector<Response> replies = LineDecoder::decodeLine(line);
    QList<int> got;
    for (const Response& reply : replies)
        got.append(reply.id());
    QCOMPARE(got, ids);
}

void tst_Messages::takeCompleteLines()
{
    QByteArray buffer(R"({"id")");
    QVERIFY(LineDecoder::takeCompleteLines(buffer).isEmpty());
    QCOMPARE(buffer, QByteArray(R"({"id")")); // untouched until a line feed comes

    // The finished lines are taken; the unfinished one after them stays.
    buffer.append(R"(:2})"
                  "\n\n"
                  R"({"id":3})"
                  "\n"
                  R"({"i)");
    QCOMPARE(LineDecoder::takeCompleteLines(buffer),
             (QList<QByteArray>{R"({"id":2})", QByteArray(), R"({"id":3})"}));
    QCOMPARE(buffer, QByteArray(R"({"i)"));

    buffer.append("d\":4}\n");
    QCOMPARE(LineDecoder::takeCompleteLines(buffer), QList<QByteArray>{R"({"id":4})"});
    QVERIFY(buffer.isEmpty());

    // Searched from where the last read ended: a line feed that is the very
    // first new byte still ends the line.
    buffer = R"({"id":5})";
    const int searched = buffer.size();
    buffer.append("\n{");
    QCOMPARE(LineDecoder::takeCompleteLines(buffer, searched), QList<QByteArray>{R"({"id":5})"});
    QCOMPARE(buffer, QByteArray("{"));
    QVERIFY(LineDecoder::takeCompleteLines(buffer, buffer.size()).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Messages)
#include "tst_messages.moc"
