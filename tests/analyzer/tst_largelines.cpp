// Large reply lines: replies read in the parser's form read exactly as the
// same values do through Qt, and long lines decoded off the caller's thread
// keep their place among the lines around them.
#include "analyzer/linedecoder.h"
#include "analyzer/linequeue.h"
#include "analyzer/response.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

using Analyzer::JsonView;
using Analyzer::LineDecoder;
using Analyzer::LineQueue;
using Analyzer::Response;

namespace {

/// A batch line holding result, with a second reply whose result is a long string.
QByteArray largeLine(const QByteArray& result, int id = 7)
{
    const QByteArray filler(64 * 1024, 'A');
    return "[{\"jsonrpc\":\"2.0\",\"id\":" + QByteArray::number(id) + ",\"result\":" + result +
           "},{\"id\":99,\"result\":\"" + filler + "\"}]";
}

QList<int> ids(const QVector<Response>& replies)
{
    QList<int> got;
    for (const Response& reply : replies)
        got.append(reply.id());
    return got;
}

} // namespace

class tst_LargeLines : public QObject
{
    Q_OBJECT

private slots:
    void parsedReadsAsQt_data();
    void parsedReadsAsQt();
    void walkLongArray();
    void duplicateDeepInLargeLine();
    void longLineKeepsItsPlace();
    void parseErrorOffThread();
    void endsWhileDecoding();
};

void tst_LargeLines::parsedReadsAsQt_data()
{
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("integer") << QByteArray("12");
    QTest::newRow("fraction") << QByteArray("12.5");
    QTest::newRow("exponent") << QByteArray("1e3");
    QTest::newRow("negative") << QByteArray("-3");
    QTest::newRow("beyond int") << QByteArray("4294967296");
    QTest::newRow("beyond 64 bits signed") << QByteArray("18446744073709551615");
    QTest::newRow("true") << QByteArray("true");
    QTest::newRow("null") << QByteArray("null");
    QTest::newRow("text with escapes") << QByteArray(R"("a\"b\u00e9\n")");
    QTest::newRow("samples") << QByteArray(R"([["2024-05-01 12:00:00",12.5,true],["x"],7,[]])");
    QTest::newRow("object") << QByteArray(R"({"a":[1,{"b":null}],"c":"d"})");
}

void tst_LargeLines::parsedReadsAsQt()
{
    QFETCH(QByteArray, result);
    const QVector<Response> replies = LineDecoder::decodeLine(largeLine(result));
    QCOMPARE(replies.size(), 2);
    const Response& parsed = replies.first();
    QVERIFY(parsed.view().isParsed());
    const Response qt(
        QJsonDocument::fromJson("{\"jsonrpc\":\"2.0\",\"id\":7,\"result\":" + result + "}")
            .object());

    QCOMPARE(parsed.id(), 7);
    QCOMPARE(parsed.result(), qt.result());
    QCOMPARE(parsed.toInt(), qt.toInt());
    QCOMPARE(parsed.toBool(), qt.toBool());
    QCOMPARE(parsed.toString(), qt.toString());
    QCOMPARE(parsed.toArray(), qt.toArray());
    QCOMPARE(parsed.isNullResult(), qt.isNullResult());
    QCOMPARE(std::isnan(parsed.toDouble()), std::isnan(qt.toDouble()));
    if (!std::isnan(qt.toDouble()))
        QCOMPARE(parsed.toDouble(), qt.toDouble());
    QCOMPARE(QByteArray::fromStdString(std::string(parsed.view().text())),
             QByteArray::fromStdString(std::string(qt.view().text())));
    QCOMPARE(parsed.view().size(), qt.view().size());
    QCOMPARE(parsed.json(), qt.json());
}

void tst_LargeLines::walkLongArray()
{
    QByteArray samples = "[";
    for (int i = 0; i < 1000; ++i)
        samples += (i ? "," : "") + QByteArray("[\"t\",") + QByteArray::number(i) + ",false]";
    samples += "]";
    const Response parsed = LineDecoder::decodeLine(largeLine(samples)).first();
    const JsonView view = parsed.view();
    QVERIFY(view.isParsed());
    QCOMPARE(view.size(), 1000);
    int expected = 0;
    for (const JsonView sample : view)
        QCOMPARE(sample.at(1).toInt(), expected++);
    QCOMPARE(expected, 1000);
    QCOMPARE(view.at(999).at(1).toDouble(), 999.0);
    QVERIFY(view.at(1000).isUndefined());
    // A reply outlives the decoder's next line: it keeps its own document.
    LineDecoder::decodeLine(largeLine("[1]"));
    QCOMPARE(view.at(500).at(1).toInt(), 500);
}

void tst_LargeLines::duplicateDeepInLargeLine()
{
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Parse error encountered duplicate"));
    QVERIFY(LineDecoder::decodeLine(largeLine(R"([[1],[{"a":1,"b":2,"\u0061":3}]])")).isEmpty());
}

void tst_LargeLines::longLineKeepsItsPlace()
{
    LineQueue queue;
    QSignalSpy decoded(&queue, &LineQueue::lineDecoded);
    QByteArray samples(LineQueue::kOffThreadBytes, 'B');
    queue.append({R"({"id":2})", largeLine('"' + samples + '"', 3), R"({"id":4})"});

    QCOMPARE(ids(*queue.takeNext()), QList<int>{2});
    // The long line is being decoded elsewhere, and the short one after it waits.
    QVERIFY(!queue.takeNext());
    QVERIFY(!queue.takeNext());
    QVERIFY(decoded.wait(10000));
    const QVector<Response> replies = *queue.takeNext();
    QCOMPARE(ids(replies), (QList<int>{3, 99}));
    QCOMPARE(replies.first().view().text().size(), std::size_t(samples.size()));
    QCOMPARE(ids(*queue.takeNext()), QList<int>{4});
    QVERIFY(!queue.takeNext());
    QVERIFY(queue.isEmpty());
}

void tst_LargeLines::parseErrorOffThread()
{
    LineQueue queue;
    QSignalSpy decoded(&queue, &LineQueue::lineDecoded);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Parse error encountered"));
    queue.append({"[" + QByteArray(LineQueue::kOffThreadBytes, ' ') + "{\"id\":", R"({"id":5})"});
    QVERIFY(!queue.takeNext());
    QVERIFY(decoded.wait(10000));
    QVERIFY(queue.takeNext()->isEmpty());
    QCOMPARE(ids(*queue.takeNext()), QList<int>{5});
}

void tst_LargeLines::endsWhileDecoding()
{
    auto queue = std::make_unique<LineQueue>();
    queue->append({largeLine('"' + QByteArray(8 * LineQueue::kOffThreadBytes, 'C') + '"')});
    QVERIFY(!queue->takeNext());
    queue.reset(); // waits for the decoding thread; nothing reaches the gone queue
    QTest::qWait(0);
}

QTEST_GUILESS_MAIN(tst_LargeLines)
#include "tst_largelines.moc"
