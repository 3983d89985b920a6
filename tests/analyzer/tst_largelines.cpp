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

/// A batch line holding result, with a second reply whose result is a long
/// string: fillerBytes long, or long enough for the streaming parser.
QByteArray largeLine(const QByteArray& result, int id = 7, int fillerBytes = 64 * 1024)
{
    const QByteArray filler(fillerBytes, 'A');
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
    void readLikeQtWhereStrictJsonRefuses_data();
    void readLikeQtWhereStrictJsonRefuses();
    void longResultStaysText();
    void walkLongArray();
    void duplicateDeepInLargeLine();
    void longLineKeepsItsPlace();
    void parseErrorOffThread();
    void endsWhileDecoding();
};

void tst_LargeLines::parsedReadsAsQt_data()
{
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<int>("filler");
    const QList<QPair<const char*, QByteArray>> results = {
        {"integer", "12"},
        {"fraction", "12.5"},
        {"exponent", "1e3"},
        {"negative", "-3"},
        {"beyond int", "4294967296"},
        {"beyond 64 bits signed", "18446744073709551615"},
        {"true", "true"},
        {"null", "null"},
        {"text with escapes", R"("a\"b\u00e9\n")"},
        {"samples", R"([["2024-05-01 12:00:00",12.5,true],["x"],7,[]])"},
        {"object", R"({"a":[1,{"b":null}],"c":"d"})"}};
    // In a line of 64 KiB the result is parsed with the line; in a long one
    // it stays text until read.
    for (const auto& [name, result] : results) {
        QTest::newRow(name) << result << 64 * 1024;
        QTest::addRow("%s, long line", name) << result << LineDecoder::kLongLineBytes;
    }
}

void tst_LargeLines::parsedReadsAsQt()
{
    QFETCH(QByteArray, result);
    QFETCH(int, filler);
    const QVector<Response> replies = LineDecoder::decodeLine(largeLine(result, 7, filler));
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

void tst_LargeLines::readLikeQtWhereStrictJsonRefuses_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("replies");
    // Each line as Qt's parser took it; the second reply must survive the
    // odd value in the first.
    const QByteArray second = R"(,{"id":6,"result":1}])";
    QTest::newRow("raw tab in a string")
        << QByteArray("[{\"id\":5,\"result\":\"H\t2O\"}" + second) << 2;
    QTest::newRow("raw control character in a string") << QByteArray("[{\"id\":5,\"result\":\"a\x01"
                                                                     "b\"}" +
                                                                     second)
                                                       << 2;
    QTest::newRow("lone surrogate escape")
        << QByteArray(R"([{"id":5,"result":"a\ud800b"})" + second) << 2;
    QTest::newRow("integer of 2^64")
        << QByteArray(R"([{"id":5,"result":18446744073709551616})" + second) << 2;
    QTest::newRow("byte-order mark")
        << QByteArray("\xEF\xBB\xBF[{\"id\":5,\"result\":2}" + second) << 2;
    QTest::newRow("result nested 1023 deep")
        << QByteArray(R"({"id":5,"result":)" + QByteArray(1023, '[') + QByteArray(1023, ']') + "}")
        << 1;
}

void tst_LargeLines::readLikeQtWhereStrictJsonRefuses()
{
    QFETCH(QByteArray, line);
    QFETCH(int, replies);
    const QByteArray bom = line.startsWith("\xEF") ? line.left(3) : QByteArray();
    const auto qtReplies = [&bom](const QByteArray& text) {
        const QJsonDocument qt = QJsonDocument::fromJson(text.mid(bom.size()));
        return qt.isArray() ? qt.array() : qt.isObject() ? QJsonArray{qt.object()} : QJsonArray();
    };
    QCOMPARE(qtReplies(line).size(), replies);

    // The same short, and at the head of a long line: behind a reply of
    // 1 MiB, or with a member of 1 MiB (no deeper than the short one).
    const QByteArray filler(LineDecoder::kLongLineBytes, 'A');
    QByteArray longLine = line;
    longLine.chop(1);
    longLine += line.endsWith(']') ? ",{\"id\":99,\"result\":\"" + filler + "\"}]"
                                   : ",\"pad\":\"" + filler + "\"}";
    for (const QByteArray& text : {line, longLine}) {
        const QJsonArray expected = qtReplies(text);
        const QVector<Response> decoded = LineDecoder::decodeLine(text);
        QCOMPARE(decoded.size(), expected.size());
        for (int i = 0; i < decoded.size(); ++i) {
            QCOMPARE(decoded.at(i).id(), expected.at(i)["id"].toInt());
            QCOMPARE(decoded.at(i).json(), expected.at(i).toObject());
            QCOMPARE(decoded.at(i).result(), expected.at(i)["result"]);
        }
    }
}

void tst_LargeLines::longResultStaysText()
{
    // A week's reply as the streaming parser leaves it: text of the line,
    // walked once, with only the kept samples built.
    QByteArray samples = "[";
    for (int i = 0; i < 40000; ++i)
        samples += (i ? "," : "") + QByteArray("[\"2024-05-01 12:00:00\",") +
                   QByteArray::number(i) + (i % 2 ? ",true]" : ",false]");
    samples += "]";
    const QByteArray line = R"({"id":7,"result":)" + samples + R"(,"jsonrpc":"2.0"})" +
                            QByteArray(LineDecoder::kLongLineBytes, ' ');
    const QVector<Response> replies = LineDecoder::decodeLine(line);
    QCOMPARE(replies.size(), 1);
    const JsonView view = replies.first().view();
    QVERIFY(view.isText());
    QCOMPARE(replies.first().id(), 7);
    QVERIFY(!replies.first().isError());
    QList<int> kept;
    QList<bool> alarms;
    const int count = view.forEachKept([](int n) { return n / 720 + 1; },
                                       [&](const JsonView& sample) {
                                           kept.append(sample.at(1).toInt());
                                           alarms.append(sample.at(2).toBool());
                                       });
    QCOMPARE(count, 40000);
    QCOMPARE(kept.size(), (40000 + 55) / 56); // step 40000 / 720 + 1 = 56
    QCOMPARE(kept.at(1), 56);
    QCOMPARE(kept.last(), 39984);
    QCOMPARE(alarms.at(0), false);
    // The same walk through the parsed form, as a short line gives it.
    QList<int> parsedKept;
    JsonView(QJsonDocument::fromJson(samples).array())
        .forEachKept([](int n) { return n / 720 + 1; },
                     [&](const JsonView& sample) { parsedKept.append(sample.at(1).toInt()); });
    QCOMPARE(parsedKept, kept);
    // Any other read parses it then, and reads as Qt does.
    QCOMPARE(view.size(), 40000);
    QCOMPARE(view.at(3).at(1).toInt(), 3);
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
