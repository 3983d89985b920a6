// The file manager against the analyzer simulator and the real stand-in
// programs, and against hand-fed replies where exact request counts and
// failures matter. Every case checks what lands in the storage folder.
#include "analyzer/linedecoder.h"
#include "analyzer/response.h"
#include "files/filemanager.h"
#include "files/storagenames.h"
#include "support/messageanswerer.h"
#include "support/simulatorprocess.h"
#include "support/testsupport.h"
#include "widgets/globals.h"
#include "widgets/openfile.h"

#include <QDialog>
#include <QJsonDocument>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QtTest>
#include <memory>

namespace {

constexpr int kFirstId = 2;
constexpr int kChunk = 1024;

Analyzer::Response reply(int id, const QJsonValue& result)
{
    return Analyzer::Response(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

Analyzer::Response errorReply(int id, const QString& message)
{
    return Analyzer::Response(
        QJsonObject{{"id", id}, {"error", QJsonObject{{"code", 5}, {"message", message}}}});
}

QByteArray randomBytes(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (char& c : data)
        c = char(QRandomGenerator::global()->bounded(256));
    return data;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

} // namespace

class tst_FileManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void downloadFromSimulator_data();
    void downloadFromSimulator();
    void exactRequestCounts_data();
    void exactRequestCounts();
    void failedDownloadLeavesNothing_data();
    void failedDownloadLeavesNothing();
    void upload_data();
    void upload();
    void panelCopies_data();
    void panelCopies();
    void trendExport_data();
    void trendExport();
    void cancelWhileProgramRuns_data();
    void cancelWhileProgramRuns();
    void certificationCabinet_data();
    void certificationCabinet();
    void hostileSerialNumbers_data();
    void hostileSerialNumbers();

private:
    /// Sends what the file manager emits to the simulator and feeds the replies back.
    void linkToSimulator();
    /// Answers every request the file manager emits from the queue, by hand.
    void feed(const Analyzer::Response& response) { m_files->handleResponse(response); }
    QStringList storageFiles() const
    {
        return QDir(m_storage->path()).entryList(QDir::Files | QDir::Hidden);
    }
    /// Picks name in the next file chooser (empty: cancels it).
    void answerPicker(const QString& name);

    TestSupport::SimulatorProcess m_sim{
        {"--chunk-size", QString::number(kChunk), "--backfill-days", "1"}};
    std::unique_ptr<QTemporaryDir> m_storage;
    std::unique_ptr<FileManager> m_files;
    std::unique_ptr<QTcpSocket> m_socket;
    QByteArray m_received;
    QList<QJsonObject> m_sent; // every request object, batches flattened
    QList<bool> m_outcomes;    // downloadComplete payloads
    TestSupport::MessageAnswerer m_answerer;
};

void tst_FileManager::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(m_sim.start(), qPrintable(m_sim.errorString()));
    // Service mode: the simulator appends to its ring-down archive only while measuring.
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_sim.port());
    QVERIFY(socket.waitForConnected(5000));
    socket.write(R"({"jsonrpc":"2.0","id":1,"method":"opmode","params":[2]})"
                 "\n");
    QVERIFY(socket.waitForReadyRead(5000));
}

void tst_FileManager::init()
{
    setIsRemote(true);
    m_storage = std::make_unique<QTemporaryDir>();
    setStoragePath(m_storage->path());
    m_files = std::make_unique<FileManager>();
    m_files->assignRequestIds(kFirstId);
    m_sent.clear();
    m_answerer.messages.clear();
    m_outcomes.clear();
    connect(m_files.get(), &FileManager::jsonToSend, this,
            [this](const Analyzer::Request& request) { m_sent.append(request.json()); });
    connect(m_files.get(), &FileManager::jsonBatchToSend, this, [this](const QJsonArray& batch) {
        for (const QJsonValue& request : batch)
            m_sent.append(request.toObject());
    });
    connect(m_files.get(), &FileManager::downloadComplete, this,
            [this](bool ok) { m_outcomes.append(ok); });
    m_answerer.start();
}

void tst_FileManager::cleanup()
{
    m_answerer.stop();
    m_socket.reset();
    m_files.reset();
    m_received.clear();
}

void tst_FileManager::linkToSimulator()
{
    m_socket = std::make_unique<QTcpSocket>();
    m_socket->connectToHost(QHostAddress::LocalHost, m_sim.port());
    QVERIFY(m_socket->waitForConnected(5000));
    auto write = [this](const QByteArray& line) { m_socket->write(line + '\n'); };
    connect(m_files.get(), &FileManager::jsonToSend, m_socket.get(),
            [write](const Analyzer::Request& request) { write(request.toCompactJson()); });
    connect(m_files.get(), &FileManager::jsonBatchToSend, m_socket.get(),
            [write](const QJsonArray& batch) {
                write(QJsonDocument(batch).toJson(QJsonDocument::Compact));
            });
    connect(m_socket.get(), &QTcpSocket::readyRead, this, [this]() {
        m_received += m_socket->readAll();
        for (const QByteArray& line : Analyzer::LineDecoder::takeCompleteLines(m_received))
            for (const Analyzer::Response& response : Analyzer::LineDecoder::decodeLine(line))
                m_files->handleResponse(response);
    });
    // The serial number, as the controller's poll would fetch it.
    write(QJsonDocument(m_files->updateRequests()).toJson(QJsonDocument::Compact));
    QTRY_VERIFY(!m_files->serialNumber().isEmpty());
}

void tst_FileManager::answerPicker(const QString& name)
{
    // The progress popup is modal too, so the chooser is looked for by type.
    auto* timer = new QTimer(this);
    timer->setInterval(5);
    connect(timer, &QTimer::timeout, this, [timer, name]() {
        OpenFile* picker = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<OpenFile*>(widget) && widget->isVisible())
                picker = qobject_cast<OpenFile*>(widget);
        }
        if (!picker)
            return;
        timer->deleteLater();
        timer->stop();
        QCOMPARE(picker->windowTitle(), QStringLiteral("Select File"));
        auto* list = picker->findChild<QListWidget*>("_file_list");
        const auto items = list->findItems(name, Qt::MatchExactly);
        if (name.isEmpty() || items.isEmpty()) {
            QTest::mouseClick(picker->findChild<QWidget*>("_cancel_button"), Qt::LeftButton);
            return;
        }
        list->setCurrentItem(items.first());
        QTest::mouseClick(picker->findChild<QWidget*>("_ok_button"), Qt::LeftButton);
    });
    timer->start();
}

void tst_FileManager::downloadFromSimulator_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("0 chunks") << 0;
    QTest::newRow("1 chunk") << 1000;
    QTest::newRow("25 chunks") << 25 * kChunk;
    QTest::newRow("30 chunks") << 30 * kChunk - 5;
    QTest::newRow("55 chunks") << 55 * kChunk;
    QTest::newRow("10 MB") << 10 * 1024 * 1024;
}

void tst_FileManager::downloadFromSimulator()
{
    QFETCH(int, size);
    const QByteArray data = randomBytes(size);
    writeFile(m_sim.statePath() + "/srda.bin", data);
    linkToSimulator();

    m_files->downloadFile(FileManager::SrdaFile, false);
    QTRY_COMPARE_WITH_TIMEOUT(m_outcomes, QList<bool>{true}, 60000);
    QCOMPARE(m_answerer.messages, QStringList{"File copied successfully"});

    const QStringList files = storageFiles();
    QCOMPARE(files.size(), 1);
    QVERIFY2(QRegularExpression(R"(^srda_[\w-]+_\d{4}-\d\d-\d\d_\d{6}\.bin$)")
                 .match(files.first())
                 .hasMatch(),
             qPrintable(files.first()));
    QFile copy(m_storage->filePath(files.first()));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll() == data);

    // The analyzer counts the closing empty chunk: one request per count, no more.
    const int count = (size + kChunk - 1) / kChunk + 1;
    int dataRequests = 0;
    for (const QJsonObject& request : m_sent)
        dataRequests += request.value("method") == "download_file_data";
    QCOMPARE(dataRequests, count);
    QVERIFY(!m_files->isTransferActive());
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
    connect(m_files.get(), &FileManager::jsonToSend, &scope, [&](const Analyzer::Request& request) {
        if (request.method() == "download_file_data")
            emissions.append(1);
    });
    connect(m_files.get(), &FileManager::jsonBatchToSend, &scope,
            [&](const QJsonArray& batch) { emissions.append(batch.size()); });

    m_files->downloadFile(FileManager::LogFile, false);
    QCOMPARE(m_sent.last().value("method").toString(), QStringLiteral("download_log_file"));
    feed(reply(kFirstId, QJsonArray{count, "token"}));
    // Every request is answered with data, none with the end of the file.
    for (int answered = 0; answered < m_sent.size() - 1; ++answered)
        feed(reply(kFirstId + 1, "QUJD"));
    QCOMPARE(emissions, sizes);
    QCOMPARE(m_sent.last().value("params").toArray(), QJsonArray{"token"});
    QVERIFY(m_files->isTransferActive());
    QVERIFY(m_outcomes.isEmpty());

    // Still open, so the operator cancels it; the partial copy goes away.
    m_files->progressDialog()->close();
    QCOMPARE(m_answerer.messages, QStringList{"Transfer Cancelled"});
    QCOMPARE(m_outcomes, QList<bool>{false});
    QCOMPARE(storageFiles(), QStringList());
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
    QTest::newRow("late replies after the end") << "late"
                                                << "File copied successfully";
}

void tst_FileManager::failedDownloadLeavesNothing()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    m_files->downloadFile(FileManager::ScansFile, false);
    feed(reply(kFirstId, QJsonArray{3, "t"}));
    feed(reply(kFirstId + 1, "QUJD"));
    if (failure == "error")
        feed(errorReply(kFirstId + 1, message));
    else if (failure == "close")
        m_files->progressDialog()->close();
    else if (failure == "lost")
        m_files->endTransfer("Transfer Cancelled", true); // what the controller does
    else if (failure == "garbage")
        feed(reply(kFirstId + 1, "**not base64**"));
    else
        feed(reply(kFirstId + 1, ""));
    // Whatever arrives afterwards belongs to nobody.
    feed(reply(kFirstId + 1, "REVG"));
    feed(reply(kFirstId + 1, ""));
    feed(errorReply(kFirstId + 1, "late"));

    QCOMPARE(m_answerer.messages, QStringList{message});
    const bool completed = failure == "late";
    QCOMPARE(m_outcomes, QList<bool>{completed});
    QCOMPARE(storageFiles().size(), completed ? 1 : 0);
    if (completed) {
        QFile copy(m_storage->filePath(storageFiles().first()));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("ABC"));
    }
    QVERIFY(!m_files->progressDialog()->isVisible());
}

void tst_FileManager::upload_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("round trip of a downloaded settings database") << "downloaded" << QByteArray();
    QTest::newRow("empty file") << "settings_empty.db" << QByteArray();
    QTest::newRow("no file chosen") << QString() << QByteArray();
}

void tst_FileManager::upload()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    if (fileName == "downloaded") {
        linkToSimulator();
        m_files->downloadFile(FileManager::SettingsFile, true);
        QTRY_COMPARE(m_outcomes, QList<bool>{true});
        fileName = storageFiles().first();
        m_outcomes.clear();
        m_sent.clear();
        answerPicker(fileName);
        m_files->uploadSettingsFile();
        QTRY_COMPARE_WITH_TIMEOUT(m_outcomes, QList<bool>{true}, 20000);
        QCOMPARE(m_answerer.messages, QStringList{"File copied successfully"});
        // Chunks of at most 1024 bytes, then the end marker.
        QByteArray sent;
        for (const QJsonObject& request : m_sent) {
            if (request.value("method") != "upload_file_data")
                continue;
            const QByteArray chunk =
                QByteArray::fromBase64(request.value("params")[1].toString().toLatin1());
            QVERIFY(chunk.size() <= 1024);
            sent += chunk;
        }
        QFile file(m_storage->filePath(fileName));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(sent, file.readAll());
        QCOMPARE(m_sent.last().value("params")[1].toString(), QString());
        return;
    }
    if (!fileName.isEmpty())
        writeFile(m_storage->filePath(fileName), content);
    answerPicker(fileName);
    m_files->uploadSettingsFile();
    if (fileName.isEmpty()) {
        // Nothing chosen: reported as done, without a word.
        QTRY_COMPARE(m_outcomes, QList<bool>{true});
        QCOMPARE(m_answerer.messages, QStringList());
        QCOMPARE(m_sent.size(), 0);
        return;
    }
    QTRY_COMPARE(m_sent.size(), 1);
    QCOMPARE(m_sent.last().value("method").toString(), QStringLiteral("upload_settings"));
    feed(reply(kFirstId, "tok"));
    feed(reply(kFirstId + 1, true));
    feed(reply(kFirstId + 1, true));
    const QJsonArray marker{"tok", ""};
    QCOMPARE(m_sent.size(), 3);
    QCOMPARE(m_sent.at(1).value("params").toArray(), marker);
    QCOMPARE(m_sent.at(2).value("params").toArray(), marker);
    QCOMPARE(m_outcomes, QList<bool>{true});
    QCOMPARE(m_answerer.messages, QStringList{"File copied successfully"});
}

void tst_FileManager::panelCopies_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("arguments"); // with SRC and DEST for the paths
    QTest::newRow("settings database") << int(FileManager::SettingsFile) << "cpdb"
                                       << "SRC e DEST";
    QTest::newRow("scan database") << int(FileManager::ScansFile) << "cpdb"
                                   << "SRC DEST";
    QTest::newRow("ring-down archive") << int(FileManager::SrdaFile) << "cp"
                                       << "SRC DEST";
}

void tst_FileManager::panelCopies()
{
    QFETCH(int, type);
    QFETCH(QString, program);
    QFETCH(QString, arguments);
    // The copy program is wrapped so that its arguments can be checked.
    QTemporaryDir wrappers;
    const QString log = wrappers.filePath("arguments");
    QString real = QStandardPaths::findExecutable(program, {TestSupport::binDir()});
    if (real.isEmpty())
        real = QStandardPaths::findExecutable(program);
    QVERIFY(!real.isEmpty());
    writeFile(wrappers.filePath(program),
              QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\nexec '%2' \"$@\"\n")
                  .arg(log, real)
                  .toUtf8());
    QVERIFY(QFile::setPermissions(wrappers.filePath(program), QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", wrappers.path().toUtf8() + ':' + path);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_sim.statePath()); // where the instrument keeps its files
    setIsRemote(false);
    feed(reply(kFirstId + 2, "SN7"));

    m_files->downloadFile(FileManager::FileType(type), false);
    QDir::setCurrent(previous);
    qputenv("PATH", path);
    QCOMPARE(m_outcomes, QList<bool>{true});
    QCOMPARE(m_answerer.messages, QStringList{"File copied successfully"});
    const QStringList files = storageFiles();
    QCOMPARE(files.size(), 1);
    QVERIFY(files.first().contains("_SN7_"));
    const QString source = QDir(m_sim.statePath())
                               .absoluteFilePath(files.first().section('_', 0, 0) + '.' +
                                                 QFileInfo(files.first()).suffix());
    QFile logged(log);
    QVERIFY(logged.open(QIODevice::ReadOnly));
    const QString dest = m_storage->filePath(files.first()) + ".part";
    QCOMPARE(QString::fromUtf8(logged.readAll()).trimmed(),
             QString(arguments).replace("SRC", source).replace("DEST", dest));
    QCOMPARE(QFileInfo(m_storage->filePath(files.first())).size() > 0, true);
}

void tst_FileManager::trendExport_data()
{
    QTest::addColumn<bool>("remote");
    QTest::addColumn<QString>("units");
    QTest::newRow("from the analyzer") << true << "volume";
    QTest::newRow("on the instrument") << false << "dewpointc";
}

void tst_FileManager::trendExport()
{
    QFETCH(bool, remote);
    QFETCH(QString, units);
    setIsRemote(remote);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_sim.statePath()); // where the instrument keeps trend.db
    if (remote)
        linkToSimulator();
    m_files->downloadTrendFile(QDateTime::currentDateTime().addDays(-1), units, false);
    QTRY_COMPARE_WITH_TIMEOUT(m_outcomes, QList<bool>{true}, 60000);
    QDir::setCurrent(previous);
    QCOMPARE(m_answerer.messages, QStringList{"File copied successfully"});
    // Only the CSV is left: the downloaded database is removed, the instrument's own kept.
    const QStringList files = storageFiles();
    QCOMPARE(files.size(), 1);
    QVERIFY(files.first().startsWith("trend_") && files.first().endsWith(".csv"));
    QVERIFY(QFile::exists(m_sim.statePath() + "/trend.db"));
    QFile csv(m_storage->filePath(files.first()));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(csv.readLine().startsWith("Date Time,"));
    QVERIFY(csv.readLine().startsWith(
        QDate::currentDate().addDays(-1).toString("yyyy-MM-dd").toLatin1()));
}

void tst_FileManager::cancelWhileProgramRuns_data()
{
    QTest::addColumn<QString>("program"); // replaced by one that never ends by itself
    QTest::addColumn<bool>("cabinet");
    QTest::newRow("trend conversion") << "dumptrend" << false;
    QTest::newRow("cabinet maker") << "makecab" << true;
}

void tst_FileManager::cancelWhileProgramRuns()
{
    QFETCH(QString, program);
    QFETCH(bool, cabinet);
    QTemporaryDir wrappers;
    writeFile(wrappers.filePath(program), "#!/bin/sh\nexec sleep 60\n");
    QVERIFY(QFile::setPermissions(wrappers.filePath(program), QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", wrappers.path().toUtf8() + ':' + path);
    for (const char* name : {"a.bin", "b.bin", "c.db", "d.db"})
        writeFile(m_storage->filePath(name), name);
    setIsRemote(false);

    // The popup is closed while the program runs: the panel stays live, the
    // program is stopped and nothing half-made is left.
    QTimer::singleShot(300, m_files->progressDialog(), &QWidget::close);
    QElapsedTimer clock;
    clock.start();
    if (cabinet)
        m_files->downloadFile(FileManager::CertificationPackage, false);
    else
        m_files->downloadTrendFile(QDateTime::currentDateTime(), "volume", false);
    qputenv("PATH", path);
    QVERIFY(clock.elapsed() < 30000);
    QCOMPARE(m_outcomes, QList<bool>{false});
    QCOMPARE(m_answerer.messages, cabinet ? QStringList() : QStringList{"Transfer Cancelled"});
    QCOMPARE(storageFiles().size(), 4);
    QVERIFY(!m_files->progressDialog()->isVisible());
}

void tst_FileManager::certificationCabinet_data()
{
    QTest::addColumn<QStringList>("names"); // oldest first
    QTest::addColumn<bool>("built");
    QTest::newRow("five files, four newest packed")
        << QStringList{"old.db", "scan1.bin", "scan2.bin", "notes.txt", "scans.db", "srda.bin"}
        << true;
    QTest::newRow("three files") << QStringList{"a.bin", "b.db", "c.bin", "d.txt"} << false;
    QTest::newRow("double quote in a name")
        << QStringList{"a.bin", "b.db", "c.bin", "q\"uote.bin"} << false;
    QTest::newRow("line break in a name")
        << QStringList{"a.bin", "b.db", "c.bin", "new\nline.db"} << false;
}

void tst_FileManager::certificationCabinet()
{
    QFETCH(QStringList, names);
    QFETCH(bool, built);
    QDateTime time = QDateTime::currentDateTime().addSecs(-100);
    for (const QString& name : names) {
        writeFile(m_storage->filePath(name), name.toUtf8());
        QFile file(m_storage->filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time = time.addSecs(10), QFileDevice::FileModificationTime));
    }
    feed(reply(kFirstId + 2, "SN42"));
    m_files->downloadFile(FileManager::CertificationPackage, false);
    QCOMPARE(m_outcomes, QList<bool>{built});
    QCOMPARE(m_answerer.messages, QStringList());
    const QStringList cabinets = QDir(m_storage->path()).entryList({"*.cab"});
    QCOMPARE(cabinets.size(), built ? 1 : 0);
    if (!built)
        return;
    QVERIFY(cabinets.first().startsWith("certscan_SN42_"));
    QProcess gcab;
    gcab.start("gcab", {"--list", m_storage->filePath(cabinets.first())});
    QVERIFY(gcab.waitForFinished(10000));
    QStringList listed =
        QString::fromUtf8(gcab.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    listed.sort();
    QCOMPARE(listed, (QStringList{"scan1.bin", "scan2.bin", "scans.db", "srda.bin"}));
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
    feed(reply(kFirstId + 2, serial));
    m_files->downloadFile(FileManager::SettingsFile, true);
    feed(reply(kFirstId, QJsonArray{1, "t"}));
    feed(reply(kFirstId + 1, ""));
    QCOMPARE(m_outcomes, QList<bool>{true});
    QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"storage"});
    const QStringList files = QDir(storage).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(files.first().startsWith("settings_" + part + "_"), qPrintable(files.first()));
}

QTEST_MAIN(tst_FileManager)
#include "tst_filemanager.moc"
