// The transfer engine alone, without a window: replies fed in by hand, the
// requests it emits read out, at the boundaries where the protocol's faults
// hide (order, repeats, ids at and past the ends of the range, the reply
// limit, a cancel while replies are owed).
#include "files/transferengine.h"
#include "transferreplies.h"

#include <QBuffer>
#include <QtTest>
#include <limits>

using namespace TransferTest;
using Outcome = TransferEngine::Outcome;

namespace {

constexpr int kFirst = 1000;
constexpr int kRunning = -1; // no result yet

/// An engine writing to or reading from a buffer, with all it emits.
struct Rig
{
    explicit Rig(int firstId = kFirst)
    {
        engine.reserveIds(firstId);
        QObject::connect(&engine, &TransferEngine::requestReady,
                         [this](const Analyzer::Request& r) { take(QJsonArray{r.json()}); });
        QObject::connect(&engine, &TransferEngine::batchReady,
                         [this](const QJsonArray& batch) { take(batch); });
        QObject::connect(&engine, &TransferEngine::chunksWritten,
                         [this](int written) { progress.append(written); });
        QObject::connect(&engine, &TransferEngine::finished,
                         [this](const TransferEngine::Result& r) { results.append(r); });
    }
    void take(const QJsonArray& requests)
    {
        emissions.append(int(requests.size()));
        for (const QJsonValue& request : requests)
            sent.append(request.toObject());
    }
    /// Starts a download and answers its transfer request with [count, "tok"].
    void download(int count)
    {
        if (!file.isOpen())
            file.open(QIODevice::WriteOnly);
        engine.startDownload("download_srda", &file);
        engine.handleReply(reply(sent.first()["id"].toInt(), QJsonArray{count, "tok"}));
    }
    int outcome() const { return results.isEmpty() ? kRunning : int(results.last().outcome); }

    TransferEngine engine;
    QBuffer file;
    QList<QJsonObject> sent;
    QVector<int> emissions; // requests per emission
    QList<int> progress;
    QList<TransferEngine::Result> results;
};

} // namespace

class tst_TransferEngine : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void requestsReleased_data();
    void requestsReleased();
    void lastIdOfTheRange();
    void cancelWhileRepliesAreOwed();
    void replyLimit_data();
    void replyLimit();
    void upload_data();
    void upload();
};

void tst_TransferEngine::replies_data()
{
    // Each step answers a chunk slot (id = transfer id + 1 + slot; slot -1 is
    // the transfer request): base64 text, "" for the end, "!text" an error.
    // Up to 24 chunks are asked for one by one, 25 in one batch.
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    const int ok = int(Outcome::Completed);
    const int failed = int(Outcome::Failed);
    QTest::newRow("in order") << 3 << QStringList{"0:QUJD", "1:REVG", "2:"} << ok
                              << QByteArray("ABCDEF") << QString();
    QTest::newRow("backwards: held, then written")
        << 25 << QStringList{"2:", "1:REVG", "0:QUJD"} << ok << QByteArray("ABCDEF") << QString();
    QTest::newRow("empty file") << 0 << QStringList{"0:"} << ok << QByteArray() << QString();
    QTest::newRow("replies after the end chunk")
        << 25 << QStringList{"1:", "0:QUJD", "2:REVG"} << ok << QByteArray("ABC") << QString();
    QTest::newRow("held chunk repeated") << 25 << QStringList{"1:REVG", "1:REVG"} << failed
                                         << QByteArray() << "download chunk 1 answered twice";
    QTest::newRow("written chunk repeated")
        << 25 << QStringList{"0:QUJD", "0:QUJD"} << failed << QByteArray("ABC")
        << "download chunk 0 answered twice";
    QTest::newRow("next batch's slot, not asked for yet")
        << 30 << QStringList{"25:QUJD"} << failed << QByteArray()
        << "download chunk 25 never asked for";
    QTest::newRow("one past the count: not this transfer's")
        << 3 << QStringList{"3:QUJD", "0:QUJD"} << kRunning << QByteArray("ABC") << QString();
    QTest::newRow("below the transfer's first id")
        << 3 << QStringList{"-2:QUJD"} << kRunning << QByteArray() << QString();
    QTest::newRow("transfer request answered twice")
        << 3 << QStringList{"-1:QUJD"} << failed << QByteArray()
        << QString("second reply to transfer request %1").arg(kFirst);
    QTest::newRow("error mid-batch")
        << 30 << QStringList{"0:QUJD", "7:!disk gone", "1:REVG"} << int(Outcome::ServerError)
        << QByteArray("ABC") << "disk gone";
    QTest::newRow("one base64 character over") << 3 << QStringList{"0:QUJDR"} << failed
                                               << QByteArray() << "download chunk 0 is not base64";
}

void tst_TransferEngine::replies()
{
    QFETCH(int, count);
    QFETCH(QStringList, steps);
    QFETCH(int, outcome);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    Rig rig;
    rig.download(count);
    if (outcome == int(Outcome::Failed))
        QTest::ignoreMessage(QtWarningMsg, qPrintable(message));
    for (const QString& step : std::as_const(steps)) {
        const int id = kFirst + 1 + step.section(':', 0, 0).toInt();
        const QString text = step.section(':', 1);
        rig.engine.handleReply(text.startsWith('!') ? errorReply(id, text.mid(1))
                                                    : reply(id, text));
    }
    QCOMPARE(rig.outcome(), outcome);
    QVERIFY(rig.results.size() <= 1); // nothing after the end reaches anyone
    QCOMPARE(rig.file.data(), file);
    QCOMPARE(rig.engine.isActive(), outcome == kRunning);
    if (outcome != kRunning)
        QCOMPARE(rig.results.last().message, message);
}

void tst_TransferEngine::requestsReleased_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<int>>("emissions");
    QTest::newRow("0") << 0 << QVector<int>{1};
    QTest::newRow("24") << 24 << QVector<int>(24, 1);
    QTest::newRow("25") << 25 << QVector<int>{25};
    QTest::newRow("26") << 26 << QVector<int>{25, 1};
    QTest::newRow("50") << 50 << QVector<int>{25, 25};
    QTest::newRow("51") << 51 << QVector<int>{25, 25, 1};
}

void tst_TransferEngine::requestsReleased()
{
    // Every chunk asked for is answered with data and none is the end: exactly
    // count requests (one for an empty file), ids in order, bytes all written.
    QFETCH(int, count);
    QFETCH(QVector<int>, emissions);
    Rig rig;
    rig.download(count);
    for (int i = 1; i < rig.sent.size(); ++i) {
        rig.engine.handleReply(reply(rig.sent.at(i)["id"].toInt(), "QUJD"));
        QVERIFY(rig.sent.size() - 1 - i <= 25); // never more than a batch unanswered
    }
    QCOMPARE(rig.emissions.mid(1), emissions);
    for (int i = 0; i < rig.sent.size(); ++i) {
        QCOMPARE(rig.sent.at(i)["id"].toInt(), kFirst + i);
        if (i > 0)
            QCOMPARE(rig.sent.at(i)["params"].toArray(), QJsonArray{"tok"});
    }
    const int asked = std::max(1, count);
    QCOMPARE(rig.file.data().size(), 3 * asked);
    QCOMPARE(rig.progress.last(), asked);
    QVERIFY(rig.engine.isActive()); // still owed its end chunk
}

void tst_TransferEngine::lastIdOfTheRange()
{
    // A range of four ids ending at the largest int: a transfer of three chunks
    // takes it all, its end chunk on the very last id; the next one starts over.
    const int max = std::numeric_limits<int>::max();
    Rig rig(max - 3);
    QVERIFY(rig.engine.isTransferId(max) && !rig.engine.isTransferId(max - 4));
    rig.download(3);
    for (int id = max - 2; id < max; ++id) {
        QCOMPARE(rig.sent.last()["id"].toInt(), id);
        rig.engine.handleReply(reply(id, "QUJD"));
    }
    QCOMPARE(rig.sent.last()["id"].toInt(), max);
    rig.engine.handleReply(reply(max, ""));
    QCOMPARE(rig.outcome(), int(Outcome::Completed));
    QCOMPARE(rig.file.data(), QByteArray("ABCABC"));

    rig.sent.clear();
    QTest::ignoreMessage(QtWarningMsg, "download not started: too many chunks 4");
    rig.download(4);
    QCOMPARE(rig.sent.size(), 1);
    QCOMPARE(rig.sent.first()["id"].toInt(), max - 3);
    QCOMPARE(rig.outcome(), int(Outcome::Failed));
}

void tst_TransferEngine::cancelWhileRepliesAreOwed()
{
    // A range of 101 ids: after a cancel the next transfer starts over at the
    // range's beginning, past the ids still owed a reply, and may not reach
    // beyond the end of the range.
    const int first = std::numeric_limits<int>::max() - 100;
    Rig rig(first);
    rig.download(60);
    for (int slot = 0; slot < 10; ++slot)
        rig.engine.handleReply(reply(first + 1 + slot, "QUJD"));
    QCOMPARE(rig.sent.size(), 1 + 25);
    rig.engine.cancel();
    rig.engine.cancel(); // once is enough
    QCOMPARE(rig.results.size(), 1);
    QCOMPARE(rig.outcome(), int(Outcome::Cancelled));

    rig.file.close();
    rig.file.setData(QByteArray());
    rig.engine.startDownload("download_settings", &rig.file);
    const int next = rig.sent.last()["id"].toInt();
    QCOMPARE(next, first + 26);
    // The old transfer's late replies, end chunks and errors, reach nothing.
    for (int slot = 10; slot < 25; ++slot) {
        rig.engine.handleReply(reply(first + 1 + slot, ""));
        rig.engine.handleReply(errorReply(first + 1 + slot, "late"));
    }
    QCOMPARE(rig.results.size(), 1);
    QCOMPARE(rig.sent.size(), 27);
    QTest::ignoreMessage(QtWarningMsg, "download not started: too many chunks 75");
    rig.engine.handleReply(reply(next, QJsonArray{75, "tok"}));
    QCOMPARE(rig.outcome(), int(Outcome::Failed));
}

void tst_TransferEngine::replyLimit_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("transfer request unanswered") << "start";
    QTest::newRow("every chunk answered, no end chunk") << "short";
    QTest::newRow("upload chunk unanswered") << "upload";
}

void tst_TransferEngine::replyLimit()
{
    QFETCH(QString, what);
    Rig rig;
    QCOMPARE(rig.engine.replyTimeout(), 30000);
    rig.engine.setReplyTimeout(50);
    QBuffer source;
    source.setData("x");
    if (what == "start") {
        rig.engine.startDownload("download_srda", &rig.file);
    } else if (what == "short") {
        rig.download(2);
        rig.engine.handleReply(reply(kFirst + 1, "QUJD"));
        rig.engine.handleReply(reply(kFirst + 2, "QUJD"));
    } else {
        rig.engine.startUpload("upload_settings", &source);
        rig.engine.handleReply(reply(kFirst, "tok"));
    }
    const int sent = rig.sent.size();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^no reply from the analyzer for 50 ms"));
    QSignalSpy finished(&rig.engine, &TransferEngine::finished);
    QVERIFY(finished.wait(5000));
    QCOMPARE(rig.outcome(), int(Outcome::Failed));
    QCOMPARE(rig.sent.size(), sent);
    QVERIFY(!source.isOpen());
}

void tst_TransferEngine::upload_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("chunks"); // bytes per data request, the end marker included
    QTest::newRow("empty") << 0 << QList<int>{0, 0};
    QTest::newRow("exactly one chunk") << 1024 << QList<int>{1024, 0};
    QTest::newRow("one byte over") << 1025 << QList<int>{1024, 1, 0};
}

void tst_TransferEngine::upload()
{
    QFETCH(int, size);
    QFETCH(QList<int>, chunks);
    Rig rig;
    QBuffer source;
    source.setData(QByteArray(size, 'u'));
    rig.engine.startUpload("upload_settings", &source);
    rig.engine.handleReply(reply(kFirst, "tok"));
    // Each chunk waits for the reply to the one before it; the reply to the
    // end marker completes the upload, and a late repeat reaches nothing.
    for (int i = 1; i <= chunks.size(); ++i) {
        QCOMPARE(rig.outcome(), kRunning);
        QCOMPARE(rig.sent.size(), i + 1);
        rig.engine.handleReply(reply(rig.sent.last()["id"].toInt(), true));
    }
    rig.engine.handleReply(reply(kFirst + 1, true));
    QCOMPARE(rig.results.size(), 1);
    QCOMPARE(rig.outcome(), int(Outcome::Completed));
    QVERIFY(!source.isOpen());

    QList<int> sizes;
    for (int i = 1; i < rig.sent.size(); ++i) {
        QCOMPARE(rig.sent.at(i)["id"].toInt(), kFirst + i);
        QCOMPARE(rig.sent.at(i)["method"].toString(), QString("upload_file_data"));
        const QJsonArray params = rig.sent.at(i)["params"].toArray();
        QCOMPARE(params.at(0).toString(), QString("tok"));
        sizes.append(QByteArray::fromBase64(params.at(1).toString().toLatin1()).size());
    }
    QCOMPARE(sizes, chunks);
}

QTEST_GUILESS_MAIN(tst_TransferEngine)
#include "tst_transferengine.moc"
