// The file manager's transfers with the analyzer: against the simulator, which
// answers every batch in shuffled order and drops replies on request, and
// against hand-fed replies where ids, orders, counts and faults are exact.
// Every case checks what lands in the storage folder.
#include "files/storagenames.h"
#include "support/simclient.h"
#include "support/simulatorprocess.h"
#include "support/testsupport.h"
#include "transferharness.h"

#include <QLabel>
#include <limits>
#include <memory>

using namespace TransferTest;

namespace {

constexpr int kChunk = 1024;
constexpr int kSmallChunk = 100;

QStringList simulatorArguments(int chunk, int backfillDays)
{
    return {"--chunk-size",      QString::number(chunk),
            "--backfill-days",   QString::number(backfillDays),
            "--shuffle-batches", "--control"};
}

/// The bytes a base64 chunk text stands for.
QByteArray chunkBytes(const QString& text)
{
    return QByteArray::fromBase64(text.toLatin1());
}

} // namespace

class tst_FileManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void downloadThroughShuffledBatches_data();
    void downloadThroughShuffledBatches();
    void everyTypeByteForByte_data();
    void everyTypeByteForByte();
    void droppedReplyFails_data();
    void droppedReplyFails();
    void exactRequestCounts_data();
    void exactRequestCounts();
    void everyRequestHasItsOwnId();
    void idsStartOverNearTheEndOfTheRange();
    void announcedCountIsBounded_data();
    void announcedCountIsBounded();
    void lateRepliesAcrossTheWrap();
    void shortCountFailsInTime();
    void answeredInAnyOrder_data();
    void answeredInAnyOrder();
    void faultySlotsFail_data();
    void faultySlotsFail();
    void lateRepliesOfAnEndedTransfer_data();
    void lateRepliesOfAnEndedTransfer();
    void failedDownloadLeavesNothing_data();
    void failedDownloadLeavesNothing();
    void emptyTokenIsRefused_data();
    void emptyTokenIsRefused();
    void base64Forms_data();
    void base64Forms();
    void serverErrorTextIsCappedAndPlain();
    void upload_data();
    void upload();
    void hostileSerialNumbers_data();
    void hostileSerialNumbers();

private:
    void control(const QJsonArray& params);
    /// The file as the analyzer sent it: the chunk replies in request order,
    /// up to the end chunk.
    QByteArray sentFile() const;
    /// Answers every request still unanswered, in the order picked from them,
    /// until the transfer ends; checks that never more than one batch waits.
    void answerUntilEnd(const std::function<int(const QList<int>&)>& pick,
                        const std::function<QJsonValue(int slot)>& chunk);

    TestSupport::SimulatorProcess m_sim{simulatorArguments(kChunk, 1)};
    TestSupport::SimulatorProcess m_smallChunks{simulatorArguments(kSmallChunk, 0)};
    std::unique_ptr<Harness> m_h;
    QString m_dropRule; // the simulator's drop rule to lift after the test
};

void tst_FileManager::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    for (TestSupport::SimulatorProcess* sim : {&m_sim, &m_smallChunks}) {
        QVERIFY2(sim->start(), qPrintable(sim->errorString()));
        // Service mode: the simulator appends to its ring-down archive only while measuring.
        SimClient client;
        QVERIFY(client.connectTo(sim->port()));
        QVERIFY(client.call("opmode", QJsonArray{2}).contains("result"));
    }
}

void tst_FileManager::init()
{
    m_h = std::make_unique<Harness>();
}

void tst_FileManager::cleanup()
{
    if (!m_dropRule.isEmpty())
        control({"drop-reply", m_dropRule, false});
    m_dropRule.clear();
    m_h.reset();
}

void tst_FileManager::control(const QJsonArray& params)
{
    Analyzer::Request request;
    request.setId(1);
    request.setMethod("sim_control");
    request.setParams(params);
    m_h->socket->write(request.toCompactJson() + '\n');
    QTRY_VERIFY(m_h->results.contains(1));
    QCOMPARE(m_h->results.take(1), QJsonValue(true));
}

QByteArray tst_FileManager::sentFile() const
{
    QByteArray file;
    for (const QJsonObject& request : m_h->sent) {
        if (request.value("method") != "download_file_data")
            continue;
        const QString text = m_h->results.value(request.value("id").toInt()).toString();
        if (text.isEmpty())
            break;
        file += chunkBytes(text);
    }
    return file;
}

void tst_FileManager::answerUntilEnd(const std::function<int(const QList<int>&)>& pick,
                                     const std::function<QJsonValue(int slot)>& chunk)
{
    const int firstData = m_h->idAt(0) + 1;
    QSet<int> answered;
    while (m_h->outcomes.isEmpty()) {
        QList<int> open; // request indexes without a reply
        for (int i = 1; i < m_h->sent.size(); ++i) {
            if (!answered.contains(i))
                open.append(i);
        }
        QVERIFY2(!open.isEmpty(), "the transfer waits, but nothing is asked for");
        QVERIFY2(open.size() <= 25, qPrintable(QString::number(open.size())));
        const int index = open.at(pick(open));
        answered.insert(index);
        m_h->answer(index, chunk(m_h->idAt(index) - firstData));
    }
}

void tst_FileManager::downloadThroughShuffledBatches_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("0 chunks") << 0;
    QTest::newRow("1 chunk") << 1000;
    QTest::newRow("25 chunks") << 25 * kChunk;
    QTest::newRow("30 chunks") << 30 * kChunk - 5;
    QTest::newRow("55 chunks") << 55 * kChunk;
    QTest::newRow("10 MB") << 10 * 1024 * 1024;
}

void tst_FileManager::downloadThroughShuffledBatches()
{
    QFETCH(int, size);
    const QByteArray data = randomBytes(size);
    QVERIFY(writeFile(m_sim.statePath() + "/srda.bin", data));
    m_h->linkTo(m_sim.port());

    m_h->files.downloadFile(FileManager::SrdaFile, false);
    QTRY_COMPARE_WITH_TIMEOUT(m_h->outcomes, QList<bool>{true}, 60000);
    QCOMPARE(m_h->answerer.messages, QStringList{"File copied successfully"});

    const QStringList files = m_h->storageFiles();
    QCOMPARE(files.size(), 1);
    QVERIFY2(QRegularExpression(R"(^srda_[\w-]+_\d{4}-\d\d-\d\d_\d{6}\.bin$)")
                 .match(files.first())
                 .hasMatch(),
             qPrintable(files.first()));
    QVERIFY(readFile(m_h->storage.filePath(files.first())) == data);

    // The analyzer counts the closing empty chunk: one request per count, no more.
    const int count = (size + kChunk - 1) / kChunk + 1;
    int dataRequests = 0;
    for (const QJsonObject& request : m_h->sent)
        dataRequests += request.value("method") == "download_file_data";
    QCOMPARE(dataRequests, count);
    QVERIFY(!m_h->files.isTransferActive());
}

void tst_FileManager::everyTypeByteForByte_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("source"); // a plain file, written by the test
    QTest::addColumn<bool>("small");
    const std::tuple<const char*, FileManager::FileType, QString> types[] = {
        {"settings", FileManager::SettingsFile, QString()},
        {"scans", FileManager::ScansFile, QString()},
        {"trend", FileManager::TrendFile, QString()},
        {"ring-down archive", FileManager::SrdaFile, "srda.bin"},
        {"log", FileManager::LogFile, "vireo.log"}};
    for (bool small : {false, true}) {
        for (const auto& [name, type, source] : types) {
            QTest::addRow("%s, %d-byte chunks", name, small ? kSmallChunk : kChunk)
                << int(type) << source << small;
        }
    }
}

void tst_FileManager::everyTypeByteForByte()
{
    QFETCH(int, type);
    QFETCH(QString, source);
    QFETCH(bool, small);
    TestSupport::SimulatorProcess& sim = small ? m_smallChunks : m_sim;
    // The plain files are made long enough for several batches.
    QByteArray plain;
    if (source == "srda.bin")
        plain = randomBytes(40 * kChunk + 7);
    else if (source == "vireo.log")
        plain = randomBytes(30 * kChunk).toBase64() + '\n';
    if (!plain.isEmpty())
        QVERIFY(writeFile(sim.statePath() + '/' + source, plain));
    m_h->linkTo(sim.port());

    m_h->files.downloadFile(FileManager::FileType(type), false);
    QTRY_COMPARE_WITH_TIMEOUT(m_h->outcomes, QList<bool>{true}, 60000);
    const QStringList files = m_h->storageFiles();
    QCOMPARE(files.size(), 1);
    const QByteArray copy = readFile(m_h->storage.filePath(files.first()));
    // Databases are snapshotted before they are sent: the copy is compared
    // with what the analyzer sent, which came in shuffled order.
    QVERIFY(copy.size() > 2 * (small ? kSmallChunk : kChunk));
    QVERIFY(copy == sentFile());
    if (!plain.isEmpty())
        QVERIFY(copy == plain);
}

void tst_FileManager::droppedReplyFails_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("size");
    QTest::newRow("in the first batch") << "download_file_data:7" << 60 * kChunk;
    QTest::newRow("in the second batch") << "download_file_data:40" << 60 * kChunk;
    QTest::newRow("a single request") << "download_file_data:27" << 30 * kChunk;
    QTest::newRow("the end chunk") << "download_file_data:3" << 2 * kChunk;
    QTest::newRow("the transfer request") << "download_srda" << 2 * kChunk;
}

void tst_FileManager::droppedReplyFails()
{
    QFETCH(QString, rule);
    QFETCH(int, size);
    QVERIFY(writeFile(m_sim.statePath() + "/srda.bin", randomBytes(size)));
    m_h->linkTo(m_sim.port());
    control({"drop-reply", rule, true});
    m_dropRule = rule;
    m_h->files.setReplyTimeout(500);

    m_h->files.downloadFile(FileManager::SrdaFile, false);
    QTRY_COMPARE_WITH_TIMEOUT(m_h->outcomes, QList<bool>{false}, 20000);
    QCOMPARE(m_h->answerer.messages, QStringList{"Error copying file"});
    QCOMPARE(m_h->storageFiles(), QStringList());
}

void tst_FileManager::exactRequestCounts_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("sizes"); // requests emitted at once, per emission
    QTest::newRow("0") << 0 << QList<int>{1};
    QTest::newRow("25") << 25 << QList<int>{25};
    QTest::newRow("30") << 30 << QList<int>{25, 1, 1, 1, 1, 1};
    QTest::newRow("55") << 55 << QList<int>{25, 25, 1, 1, 1, 1, 1};
}

void tst_FileManager::exactRequestCounts()
{
    QFETCH(int, count);
    QFETCH(QList<int>, sizes);
    QList<int> emissions;
    QObject scope; // the connections end with this test
    connect(&m_h->files, &FileManager::jsonToSend, &scope, [&](const Analyzer::Request& request) {
        if (request.method() == "download_file_data")
            emissions.append(1);
    });
    connect(&m_h->files, &FileManager::jsonBatchToSend, &scope,
            [&](const QJsonArray& batch) { emissions.append(batch.size()); });

    m_h->files.downloadFile(FileManager::LogFile, false);
    QCOMPARE(m_h->methodAt(0), QStringLiteral("download_log_file"));
    m_h->answer(0, QJsonArray{count, "token"});
    // Every request is answered with data, none with the end of the file.
    for (int answered = 1; answered < m_h->sent.size(); ++answered)
        m_h->answer(answered, "QUJD");
    QCOMPARE(emissions, sizes);
    QCOMPARE(m_h->sent.last().value("params").toArray(), QJsonArray{"token"});
    QVERIFY(m_h->files.isTransferActive());
    QVERIFY(m_h->outcomes.isEmpty());

    // Still open, so the operator cancels it; the partial copy goes away.
    m_h->files.progressDialog()->close();
    QCOMPARE(m_h->answerer.messages, QStringList{"Transfer Cancelled"});
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->storageFiles(), QStringList());
}

void tst_FileManager::everyRequestHasItsOwnId()
{
    // Past the file manager's block (and, through the controller, past every
    // client's), one id per request, in request order; the next transfer
    // goes on after the last id the previous one could have used.
    m_h->files.reserveTransferIds(1000);
    QVERIFY(m_h->files.isTransferId(1000) && !m_h->files.isTransferId(999));
    m_h->startDownload(FileManager::ScansFile, 60);
    for (int answered = 1; answered < m_h->sent.size(); ++answered)
        m_h->answer(answered, answered < 60 ? "QUJD" : "");
    QCOMPARE(m_h->outcomes, QList<bool>{true});
    Harness::answerPicker(QString());
    m_h->files.uploadSettingsFile(); // nothing chosen: no id taken
    m_h->startDownload(FileManager::SrdaFile, 0);

    QList<int> ids;
    for (int i = 0; i < m_h->sent.size(); ++i)
        ids.append(m_h->idAt(i));
    QList<int> expected;
    for (int id = 1000; id <= 1062; ++id)
        expected.append(id);
    QCOMPARE(ids, expected);
    // The serial number keeps the last id of the block.
    QCOMPARE(m_h->files.updateRequests().first()["id"].toInt(), kSerialId);
}

void tst_FileManager::idsStartOverNearTheEndOfTheRange()
{
    const int first = std::numeric_limits<int>::max() - 100;
    m_h->files.reserveTransferIds(first);
    m_h->startDownload(FileManager::ScansFile, 60);
    for (int answered = 1; answered < m_h->sent.size(); ++answered)
        m_h->answer(answered, answered < 60 ? "QUJD" : "");
    QCOMPARE(m_h->outcomes, QList<bool>{true});
    QCOMPARE(m_h->idAt(m_h->sent.size() - 1), first + 60);
    // Fewer than half the range left: the next transfer starts over, and one
    // with more chunks than the range holds is refused.
    m_h->startDownload(FileManager::ScansFile, 101);
    QCOMPARE(m_h->idAt(61), first);
    QCOMPARE(m_h->sent.size(), 62);
    QCOMPARE(m_h->outcomes, (QList<bool>{true, false}));
    QCOMPARE(m_h->answerer.messages,
             (QStringList{"File copied successfully", "Error copying file"}));
}

void tst_FileManager::announcedCountIsBounded_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("the largest sane count") << (1 << 22) << true;
    QTest::newRow("one more") << (1 << 22) + 1 << false;
    QTest::newRow("1.5e9, past half the id range") << 1500000000 << false;
}

void tst_FileManager::announcedCountIsBounded()
{
    QFETCH(int, count);
    QFETCH(bool, accepted);
    m_h->startDownload(FileManager::TrendFile, count);
    if (!accepted) {
        QCOMPARE(m_h->sent.size(), 1); // no chunk asked for
        QCOMPARE(m_h->outcomes, QList<bool>{false});
        QCOMPARE(m_h->answerer.messages, QStringList{"Error copying file"});
        return;
    }
    QCOMPARE(m_h->sent.size(), 1 + 25);
    QVERIFY(m_h->files.isTransferActive());
    m_h->files.progressDialog()->close();
}

void tst_FileManager::lateRepliesAcrossTheWrap()
{
    // A range of 101 ids: the second transfer starts over at its beginning,
    // where the first one's unanswered chunks were asked.
    const int first = std::numeric_limits<int>::max() - 100;
    m_h->files.reserveTransferIds(first);
    m_h->startDownload(FileManager::ScansFile, 60);
    for (int answered = 1; answered <= 10; ++answered)
        m_h->answer(answered, "T0xE");
    m_h->files.progressDialog()->close(); // 15 chunks asked and unanswered
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    const QList<QJsonObject> old = m_h->sent;

    m_h->startDownload(FileManager::SettingsFile, 30);
    const int start = old.size();
    const int newFirst = m_h->idAt(start);
    QVERIFY(newFirst < first + 50); // it did start over
    for (const QJsonObject& request : old)
        QVERIFY(request.value("id").toInt() < newFirst); // and stepped past the owed ids
    // The old transfer's late replies, its empty end chunk among them, change nothing.
    for (int i = 11; i < old.size(); ++i)
        m_h->feed(reply(old.at(i).value("id").toInt(), ""));
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    for (int i = start + 1; i < m_h->sent.size(); ++i)
        m_h->answer(i, i - start < 30 ? "TkVX" : "");
    QCOMPARE(m_h->outcomes, (QList<bool>{false, true}));
    const QStringList files = m_h->storageFiles().filter("settings_");
    QCOMPARE(files.size(), 1);
    QCOMPARE(readFile(m_h->storage.filePath(files.first())).size(), 29 * 3);

    // Too many chunks for the ids left before the owed ones: refused.
    m_h->startDownload(FileManager::SrdaFile, 100);
    QCOMPARE(m_h->outcomes, (QList<bool>{false, true, false}));
    QCOMPARE(m_h->answerer.messages.last(), QStringLiteral("Error copying file"));
}

void tst_FileManager::shortCountFailsInTime()
{
    // Three chunks announced and answered, none of them the end: the
    // analyzer owes the end chunk, and the transfer does not wait forever.
    m_h->files.setReplyTimeout(300);
    m_h->startDownload(FileManager::ScansFile, 3);
    m_h->answer(1, "QUJD");
    m_h->answer(2, "QUJD");
    m_h->answer(3, "QUJD");
    QCOMPARE(m_h->sent.size(), 4);
    QVERIFY(m_h->files.isTransferActive());
    QTRY_COMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->answerer.messages, QStringList{"Error copying file"});
    QCOMPARE(m_h->storageFiles(), QStringList());
}

void tst_FileManager::answeredInAnyOrder_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("count");
    QTest::newRow("every batch backwards") << "backwards" << 55;
    QTest::newRow("oldest request last") << "oldest last" << 30;
    QTest::newRow("shuffled") << "shuffled" << 80;
    QTest::newRow("end chunk first, then backwards") << "backwards" << 25;
}

void tst_FileManager::answeredInAnyOrder()
{
    QFETCH(QString, order);
    QFETCH(int, count);
    m_h->startDownload(FileManager::TrendFile, count);
    QByteArray expected;
    for (int slot = 0; slot < count - 1; ++slot)
        expected += "chunk " + QByteArray::number(slot) + ';';
    const auto chunk = [count](int slot) -> QJsonValue {
        return slot == count - 1
                   ? QString()
                   : QString::fromLatin1(("chunk " + QByteArray::number(slot) + ';').toBase64());
    };
    const auto pick = [&order](const QList<int>& open) {
        if (order == "backwards")
            return int(open.size() - 1);
        if (order == "oldest last")
            return open.size() > 1 ? 1 : 0;
        return int(QRandomGenerator::global()->bounded(open.size()));
    };
    answerUntilEnd(pick, chunk);
    QCOMPARE(m_h->outcomes, QList<bool>{true});
    QCOMPARE(m_h->sent.size(), count + 1);
    const QStringList files = m_h->storageFiles();
    QCOMPARE(files.size(), 1);
    QCOMPARE(readFile(m_h->storage.filePath(files.first())), expected);
}

void tst_FileManager::faultySlotsFail_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("a slot answered twice") << "repeated";
    QTest::newRow("a slot not asked for yet") << "unknown";
    QTest::newRow("a slot never answered") << "missing";
    QTest::newRow("the transfer request answered twice") << "repeated start";
}

void tst_FileManager::faultySlotsFail()
{
    QFETCH(QString, fault);
    m_h->files.setReplyTimeout(200);
    m_h->startDownload(FileManager::SettingsFile, 60);
    const int start = m_h->idAt(0);
    // The batch comes back without its first slot: held, nothing written yet.
    for (int index = 2; index <= 25; ++index)
        m_h->answer(index, "QUJD");
    QVERIFY(m_h->outcomes.isEmpty());
    if (fault == "repeated")
        m_h->answer(7, "REVG");
    else if (fault == "unknown")
        m_h->feed(reply(start + 26, "REVG")); // the second batch is not asked for yet
    else if (fault == "repeated start")
        m_h->answer(0, QJsonArray{60, "tok"});
    QTRY_COMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->answerer.messages, QStringList{"Error copying file"});
    QCOMPARE(m_h->storageFiles(), QStringList());
    QCOMPARE(m_h->sent.size(), 26); // nothing more was asked for
}

void tst_FileManager::lateRepliesOfAnEndedTransfer_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("cancelled by the operator") << "cancel";
    QTest::newRow("link lost") << "lost";
    QTest::newRow("completed") << "complete";
    QTest::newRow("cancelled before its start was answered") << "unanswered";
}

void tst_FileManager::lateRepliesOfAnEndedTransfer()
{
    QFETCH(QString, end);
    m_h->files.downloadFile(FileManager::ScansFile, true);
    if (end != "unanswered") {
        m_h->answer(0, QJsonArray{30, "old"});
        m_h->answer(1, "T0xE");
    }
    if (end == "cancel" || end == "unanswered")
        m_h->files.progressDialog()->close();
    else if (end == "lost")
        m_h->files.endTransfer("Transfer Cancelled", true); // what the controller does
    else
        m_h->answer(2, "");
    const QList<QJsonObject> old = m_h->sent;

    // The next transfer, a settings download, while the old replies come in late.
    m_h->files.downloadFile(FileManager::SettingsFile, false);
    const int start = old.size();
    for (int i = 0; i < old.size(); ++i) {
        const int id = old.at(i).value("id").toInt();
        m_h->feed(reply(id, i == 0 ? QJsonValue(QJsonArray{1, "old"}) : QJsonValue("T0xE")));
        m_h->feed(reply(id, ""));
        m_h->feed(errorReply(id, "late"));
    }
    QCOMPARE(m_h->sent.size(), start + 1); // the new transfer still waits for its start
    m_h->answer(start, QJsonArray{2, "new"});
    m_h->answer(start + 1, "TkVX");
    m_h->answer(start + 2, "");

    QCOMPARE(m_h->outcomes.last(), true);
    QCOMPARE(m_h->answerer.messages.last(), QStringLiteral("File copied successfully"));
    const QStringList files = m_h->storageFiles().filter("settings_");
    QCOMPARE(files.size(), 1);
    QCOMPARE(readFile(m_h->storage.filePath(files.first())), QByteArray("NEW"));
    QCOMPARE(m_h->storageFiles().size(), end == "complete" ? 2 : 1);
}

void tst_FileManager::failedDownloadLeavesNothing_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("error reply") << "error"
                                 << "The disk is gone";
    QTest::newRow("popup closed") << "close"
                                  << "Transfer Cancelled";
    QTest::newRow("connection lost") << "lost"
                                     << "Transfer Cancelled";
    QTest::newRow("damaged chunk") << "garbage"
                                   << "Error copying file";
    QTest::newRow("chunk that is no text") << "number"
                                           << "Error copying file";
    QTest::newRow("late replies after the end") << "late"
                                                << "File copied successfully";
}

void tst_FileManager::failedDownloadLeavesNothing()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    m_h->startDownload(FileManager::ScansFile, 3);
    m_h->answer(1, "QUJD");
    if (failure == "error")
        m_h->feed(errorReply(m_h->idAt(2), message));
    else if (failure == "close")
        m_h->files.progressDialog()->close();
    else if (failure == "lost")
        m_h->files.endTransfer("Transfer Cancelled", true); // what the controller does
    else if (failure == "garbage")
        m_h->answer(2, "**not base64**");
    else if (failure == "number")
        m_h->answer(2, 42);
    else
        m_h->answer(2, "");
    // Whatever arrives afterwards belongs to nobody.
    const int last = m_h->idAt(m_h->sent.size() - 1);
    for (int id = last; id <= last + 1; ++id) {
        m_h->feed(reply(id, "REVG"));
        m_h->feed(reply(id, ""));
        m_h->feed(errorReply(id, "late"));
    }

    QCOMPARE(m_h->answerer.messages, QStringList{message});
    const bool completed = failure == "late";
    QCOMPARE(m_h->outcomes, QList<bool>{completed});
    QCOMPARE(m_h->storageFiles().size(), completed ? 1 : 0);
    if (completed)
        QCOMPARE(readFile(m_h->storage.filePath(m_h->storageFiles().first())), QByteArray("ABC"));
    QVERIFY(!m_h->files.progressDialog()->isVisible());
}

void tst_FileManager::base64Forms_data()
{
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QByteArray>("file"); // null: the download fails
    QTest::newRow("padded") << QStringList{"QUJD", "REU="} << QByteArray("ABCDE");
    QTest::newRow("padding left out") << QStringList{"QUI", "Qw", "REVG"} << QByteArray("ABCDEF");
    QTest::newRow("one character over") << QStringList{"QUJDR"} << QByteArray();
    QTest::newRow("padding inside") << QStringList{"QQ==QQ"} << QByteArray();
    QTest::newRow("line break inside") << QStringList{"QUJD\nREVG"} << QByteArray();
    QTest::newRow("not latin") << QStringList{QString::fromUtf8("QUJ\u00e9")} << QByteArray();
}

void tst_FileManager::base64Forms()
{
    QFETCH(QStringList, chunks);
    QFETCH(QByteArray, file);
    m_h->startDownload(FileManager::ScansFile, chunks.size() + 1);
    for (int i = 0; i < chunks.size(); ++i)
        m_h->answer(i + 1, chunks.at(i));
    if (!file.isNull())
        m_h->answer(chunks.size() + 1, "");
    QCOMPARE(m_h->answerer.messages,
             QStringList{file.isNull() ? "Error copying file" : "File copied successfully"});
    QCOMPARE(m_h->storageFiles().size(), file.isNull() ? 0 : 1);
    if (!file.isNull())
        QCOMPARE(readFile(m_h->storage.filePath(m_h->storageFiles().first())), file);
}

void tst_FileManager::emptyTokenIsRefused_data()
{
    QTest::addColumn<bool>("upload");
    QTest::newRow("download") << false;
    QTest::newRow("upload") << true;
}

void tst_FileManager::emptyTokenIsRefused()
{
    QFETCH(bool, upload);
    if (upload) {
        QVERIFY(writeFile(m_h->storage.filePath("settings_x.db"), "data"));
        Harness::answerPicker("settings_x.db");
        m_h->files.uploadSettingsFile();
        QTRY_COMPARE(m_h->sent.size(), 1);
        m_h->answer(0, "");
    } else {
        m_h->startDownload(FileManager::SrdaFile, 3, "");
    }
    QCOMPARE(m_h->sent.size(), 1); // no data request with an empty token
    QCOMPARE(m_h->answerer.messages, QStringList{"Error copying file"});
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->storageFiles(), upload ? QStringList{"settings_x.db"} : QStringList());
}

void tst_FileManager::serverErrorTextIsCappedAndPlain()
{
    m_h->answerer.stop();
    m_h->startDownload(FileManager::SrdaFile, 3);
    QString text;
    QSize size;
    Qt::TextFormat format = Qt::AutoText;
    bool fits = false;
    Harness::onNextMessage([&](QDialog* box) {
        auto* label = box->findChild<QLabel*>("textLabel");
        text = label->text();
        format = label->textFormat();
        size = box->size();
        // Every line of it is seen, none cut off at the top or bottom.
        fits = label->heightForWidth(label->width()) <= label->height();
        TestSupport::saveScreenshot(box, "file-transfer-server-error");
    });
    const QString markup = "<b>bold</b><img src=x>" + QString(10000, QChar('W'));
    m_h->feed(errorReply(m_h->idAt(1), markup));
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(format, Qt::PlainText);
    // A word too long for the popup may break anywhere.
    text.remove(QChar(0x200B));
    QVERIFY(text.startsWith("<b>bold</b><img src=x>WWW"));
    QVERIFY2(text.size() <= 301, qPrintable(QString::number(text.size())));
    QVERIFY(fits);
    QVERIFY2(size.width() <= 640 && size.height() <= 480,
             qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
}

void tst_FileManager::upload_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("round trip of a downloaded settings database") << "downloaded";
    QTest::newRow("empty file") << "settings_empty.db";
    QTest::newRow("no file chosen") << QString();
    QTest::newRow("a chunk answered twice") << "settings_twice.db";
    QTest::newRow("chunk reply never comes") << "settings_lost.db";
}

void tst_FileManager::upload()
{
    QFETCH(QString, fileName);
    if (fileName == "downloaded") {
        m_h->linkTo(m_sim.port());
        m_h->files.downloadFile(FileManager::SettingsFile, true);
        QTRY_COMPARE(m_h->outcomes, QList<bool>{true});
        fileName = m_h->storageFiles().first();
        m_h->outcomes.clear();
        m_h->sent.clear();
        Harness::answerPicker(fileName);
        m_h->files.uploadSettingsFile();
        QTRY_COMPARE_WITH_TIMEOUT(m_h->outcomes, QList<bool>{true}, 20000);
        QCOMPARE(m_h->answerer.messages, QStringList{"File copied successfully"});
        // Chunks of at most 1024 bytes, each with an id of its own, then the end marker.
        QByteArray sent;
        for (int i = 1; i < m_h->sent.size(); ++i) {
            QCOMPARE(m_h->idAt(i), m_h->idAt(0) + i);
            const QByteArray chunk = chunkBytes(m_h->sent.at(i).value("params")[1].toString());
            QVERIFY(chunk.size() <= 1024);
            sent += chunk;
        }
        QCOMPARE(sent, readFile(m_h->storage.filePath(fileName)));
        QCOMPARE(m_h->sent.last().value("params")[1].toString(), QString());
        return;
    }
    if (!fileName.isEmpty())
        QVERIFY(
            writeFile(m_h->storage.filePath(fileName), fileName == "settings_empty.db" ? "" : "x"));
    Harness::answerPicker(fileName);
    if (fileName == "settings_lost.db")
        m_h->files.setReplyTimeout(200);
    m_h->files.uploadSettingsFile();
    if (fileName.isEmpty()) {
        // Nothing chosen: reported as done, without a word.
        QTRY_COMPARE(m_h->outcomes, QList<bool>{true});
        QCOMPARE(m_h->answerer.messages, QStringList());
        QCOMPARE(m_h->sent.size(), 0);
        return;
    }
    QTRY_COMPARE(m_h->sent.size(), 1);
    QCOMPARE(m_h->methodAt(0), QStringLiteral("upload_settings"));
    m_h->answer(0, "tok");
    if (fileName == "settings_lost.db") {
        QTRY_COMPARE(m_h->outcomes, QList<bool>{false});
        QCOMPARE(m_h->answerer.messages, QStringList{"Error copying file"});
        return;
    }
    m_h->answer(1, true);
    if (fileName == "settings_twice.db") {
        m_h->answer(1, true); // the first chunk once more: the analyzer lost track
        QCOMPARE(m_h->outcomes, QList<bool>{false});
        QCOMPARE(m_h->answerer.messages, QStringList{"Error copying file"});
        QCOMPARE(m_h->sent.size(), 3);
        return;
    }
    m_h->answer(2, true);
    const QJsonArray marker{"tok", ""};
    QCOMPARE(m_h->sent.size(), 3);
    QCOMPARE(m_h->sent.at(1).value("params").toArray(), marker);
    QCOMPARE(m_h->sent.at(2).value("params").toArray(), marker);
    QCOMPARE(m_h->outcomes, QList<bool>{true});
    QCOMPARE(m_h->answerer.messages, QStringList{"File copied successfully"});
}

void tst_FileManager::hostileSerialNumbers_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("part");
    QTest::newRow("parent folders") << "../../x"
                                    << "____x";
    QTest::newRow("separator") << "a/b"
                               << "a_b";
    QTest::newRow("dot dot") << ".."
                             << "_";
    QTest::newRow("control characters") << "S\nN\t1\\"
                                        << "S_N_1_";
    QTest::newRow("plain") << "VX-1042.b"
                           << "VX-1042.b";
    QTest::newRow("64 characters kept") << QString(64, 'a') << QString(64, 'a');
    QTest::newRow("65 characters cut to 64") << QString(64, 'b') + 'c' << QString(64, 'b');
}

void tst_FileManager::hostileSerialNumbers()
{
    QFETCH(QString, serial);
    QFETCH(QString, part);
    QCOMPARE(safeFileNamePart(serial), part);

    // The storage folder sits alone inside a parent that must stay untouched.
    QTemporaryDir parent;
    const QString storage = parent.filePath("storage");
    QVERIFY(QDir().mkpath(storage));
    setStoragePath(storage);
    m_h->feed(reply(kSerialId, serial));
    m_h->files.downloadFile(FileManager::SettingsFile, true);
    m_h->answer(0, QJsonArray{1, "t"});
    m_h->answer(1, "");
    QCOMPARE(m_h->outcomes, QList<bool>{true});
    QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"storage"});
    const QStringList files = QDir(storage).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(QRegularExpression("^settings_" + QRegularExpression::escape(part) +
                                R"(_\d{4}-\d\d-\d\d_\d{6}\.db$)")
                 .match(files.first())
                 .hasMatch(),
             qPrintable(files.first()));
}

QTEST_MAIN(tst_FileManager)
#include "tst_filemanager.moc"
