// The storage side of the file manager: names of stored files, the cabinet
// directive, the copies and the trend export on the instrument, the programs
// it runs (the simulator's stand-ins, or scripts put first on PATH) and what
// happens when mounting, a program or the operator's cancel gets in the way.
#include "base/eventjournal.h"
#include "files/cabinetdirectivefile.h"
#include "files/storage.h"
#include "files/storagenames.h"
#include "support/simulatorprocess.h"
#include "support/testsupport.h"
#include "transferharness.h"

#include <QBuffer>
#include <QProcess>
#include <memory>

using namespace TransferTest;

class tst_StorageJobs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void storageNames_data();
    void storageNames();
    void directiveFileText();
    void panelCopies_data();
    void panelCopies();
    void insufficientSpace();
    void trendExport_data();
    void trendExport();
    void programFailures_data();
    void programFailures();
    void mountFailures_data();
    void mountFailures();
    void cancelWhileProgramRuns_data();
    void cancelWhileProgramRuns();
    void cancelWhileMountingStillUnmounts_data();
    void cancelWhileMountingStillUnmounts();
    void endTransferWhileProgramRuns_data();
    void endTransferWhileProgramRuns();
    void certificationCabinet_data();
    void certificationCabinet();
    void uploadPickerListsSettingsDatabases();
    void transfersInTheJournal();

private:
    /// Starts the job named by what ("package", "copy", "export", "download",
    /// "upload" or "trend download").
    void start(const QString& what);
    /// Four files the cabinet maker could pack.
    void fillStorage();
    /// Calls action once the stand-in that touches started has done so.
    void whenStarted(const QString& started, std::function<void()> action);

    TestSupport::SimulatorProcess m_sim{{"--chunk-size", "4096", "--backfill-days", "1"}};
    std::unique_ptr<Harness> m_h;
};

void tst_StorageJobs::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(m_sim.start(), qPrintable(m_sim.errorString()));
}

void tst_StorageJobs::init()
{
    m_h = std::make_unique<Harness>();
}

void tst_StorageJobs::cleanup()
{
    m_h.reset();
}

void tst_StorageJobs::start(const QString& what)
{
    setIsRemote(what == "download" || what == "upload" || what == "trend download");
    if (what == "package")
        m_h->files.downloadFile(FileManager::CertificationPackage, false);
    else if (what == "copy" || what == "download")
        m_h->files.downloadFile(FileManager::SrdaFile, false);
    else if (what == "upload")
        m_h->files.uploadSettingsFile();
    else
        m_h->files.downloadTrendFile(QDateTime::currentDateTime(), "volume", false);
}

void tst_StorageJobs::fillStorage()
{
    for (const char* name : {"a.bin", "b.bin", "c.db", "d.db"})
        QVERIFY(writeFile(m_h->storage.filePath(name), name));
}

void tst_StorageJobs::whenStarted(const QString& started, std::function<void()> action)
{
    auto* timer = new QTimer(this);
    timer->setInterval(5);
    connect(timer, &QTimer::timeout, this, [timer, started, action]() {
        if (!QFile::exists(started))
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

void tst_StorageJobs::storageNames_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("name");
    QTest::newRow("settings database") << "settings.db"
                                       << "SN"
                                       << "settings_SN_2024-05-01_134501.db";
    QTest::newRow("serial number not known yet")
        << "settings.db" << QString() << "settings__2024-05-01_134501.db";
    QTest::newRow("unknown file type") << "unsupported_file_type"
                                       << "SN"
                                       << "unsupported_file_type_SN_2024-05-01_134501.";
    QTest::newRow("trend export") << "trend.csv"
                                  << "VX-7"
                                  << "trend_VX-7_2024-05-01_134501.csv";
}

void tst_StorageJobs::storageNames()
{
    QFETCH(QString, source);
    QFETCH(QString, serial);
    QFETCH(QString, name);
    QCOMPARE(storageFileName(source, serial, QDateTime(QDate(2024, 5, 1), QTime(13, 45, 1))), name);
}

void tst_StorageJobs::directiveFileText()
{
    QBuffer directive;
    QVERIFY(directive.open(QIODevice::WriteOnly));
    QString error;
    QVERIFY(CabinetDirectiveFile::write(directive, "certscan_SN_2024-05-01_134501.cab",
                                        "/media/usb", {"srda.bin", "scans_SN.db"}, &error));
    QCOMPARE(directive.data(), QByteArray(".Set MaxDiskSize=CDROM\r\n"
                                          ".Set CabinetName1=certscan_SN_2024-05-01_134501.cab\r\n"
                                          ".Set DiskDirectory1=/media/usb\r\n"
                                          "\"/media/usb\\srda.bin\"\r\n"
                                          "\"/media/usb\\scans_SN.db\"\r\n"));
}

void tst_StorageJobs::panelCopies_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("arguments"); // DEST stands for the copy's path
    QTest::newRow("settings database") << int(FileManager::SettingsFile) << "cpdb"
                                       << "settings.db e DEST";
    QTest::newRow("scan database") << int(FileManager::ScansFile) << "cpdb"
                                   << "scans.db DEST";
    QTest::newRow("ring-down archive") << int(FileManager::SrdaFile) << "cp"
                                       << "srda.bin DEST";
}

void tst_StorageJobs::panelCopies()
{
    QFETCH(int, type);
    QFETCH(QString, program);
    QFETCH(QString, arguments);
    // The copy program is wrapped so that its arguments can be checked.
    QString real = QStandardPaths::findExecutable(program, {TestSupport::binDir()});
    if (real.isEmpty())
        real = QStandardPaths::findExecutable(program);
    QVERIFY(!real.isEmpty());
    Programs programs;
    const QString log = programs.filePath("arguments");
    programs.add(program, QStringLiteral("echo \"$@\" > '%1'\nexec '%2' \"$@\"").arg(log, real));
    Home home(m_sim.statePath()); // where the instrument keeps its files
    setIsRemote(false);
    m_h->feed(reply(kSerialId, "SN7"));

    m_h->files.downloadFile(FileManager::FileType(type), false);
    QCOMPARE(m_h->outcomes, QList<bool>{true});
    QCOMPARE(m_h->answerer.messages, QStringList{"File copied successfully"});
    const QStringList files = m_h->storageFiles();
    QCOMPARE(files.size(), 1);
    QVERIFY(files.first().contains("_SN7_"));
    // Bare names, found in the home folder where the program runs.
    const QString dest = m_h->storage.filePath(files.first()) + ".part";
    QCOMPARE(QString::fromUtf8(readFile(log)).trimmed(), QString(arguments).replace("DEST", dest));
    QVERIFY(QFileInfo(m_h->storage.filePath(files.first())).size() > 0);
}

void tst_StorageJobs::insufficientSpace()
{
    // A sparse file one mebibyte larger than the room left in the storage folder.
    const qint64 available = bytesAvailable(m_h->storage.path());
    QVERIFY(available > 0);
    QTemporaryDir instrument;
    QFile source(instrument.filePath("srda.bin"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    QVERIFY(source.resize(available + (1 << 20)));
    source.close();
    Home home(instrument.path());
    setIsRemote(false);

    m_h->files.downloadFile(FileManager::SrdaFile, false);
    QCOMPARE(m_h->answerer.messages, QStringList{"Insufficient space available"});
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->storageFiles(), QStringList());
}

void tst_StorageJobs::trendExport_data()
{
    QTest::addColumn<bool>("remote");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("header");
    QTest::newRow("from the analyzer") << true << "weight"
                                       << "Date Time,Concentration (PPBw),System Alarm";
    QTest::newRow("on the instrument") << false << "dewpointf"
                                       << "Date Time,Dew Point (F),System Alarm";
}

void tst_StorageJobs::trendExport()
{
    QFETCH(bool, remote);
    QFETCH(QString, units);
    QFETCH(QString, header);
    setIsRemote(remote);
    Home home(m_sim.statePath()); // where the instrument keeps trend.db
    if (remote)
        m_h->linkTo(m_sim.port());
    // The history reaches back a day: the export starts at today's midnight.
    const QDate today = QDate::currentDate();
    m_h->files.downloadTrendFile(QDateTime(today, QTime(0, 0)), units, false);
    QTRY_COMPARE_WITH_TIMEOUT(m_h->outcomes, QList<bool>{true}, 60000);
    QCOMPARE(m_h->answerer.messages, QStringList{"File copied successfully"});
    // Only the CSV is left: the downloaded database is removed, the instrument's own kept.
    const QStringList files = m_h->storageFiles();
    QCOMPARE(files.size(), 1);
    QVERIFY(files.first().startsWith("trend_") && files.first().endsWith(".csv"));
    QVERIFY(QFile::exists(m_sim.statePath() + "/trend.db"));
    QFile csv(m_h->storage.filePath(files.first()));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(csv.readLine()).trimmed(), header);
    const QByteArray first = csv.readLine();
    QVERIFY2(first.startsWith(today.toString("yyyy-MM-dd").toLatin1()), first.constData());
}

void tst_StorageJobs::programFailures_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("missing"); // else it exits with code 3
    QTest::newRow("no dumptrend") << "dumptrend" << true;
    QTest::newRow("dumptrend exits with 3") << "dumptrend" << false;
    QTest::newRow("no makecab") << "makecab" << true;
    QTest::newRow("makecab exits with 3") << "makecab" << false;
}

void tst_StorageJobs::programFailures()
{
    QFETCH(QString, program);
    QFETCH(bool, missing);
    const bool cabinet = program == "makecab";
    if (cabinet)
        fillStorage();
    Programs programs;
    if (missing)
        programs.isolate({"echo", "rm"});
    else
        programs.add(program, "exit 3");
    Home home(m_sim.statePath());

    start(cabinet ? "package" : "export");
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->answerer.messages, cabinet ? QStringList() : QStringList{"Error copying file"});
    QCOMPARE(m_h->storageFiles().size(), cabinet ? 4 : 0); // no cabinet, no CSV
}

void tst_StorageJobs::mountFailures_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<bool>("mountFails"); // else the storage folder is missing
    QTest::newRow("download") << "download" << true;
    QTest::newRow("download, file cannot be opened") << "download" << false;
    QTest::newRow("trend download") << "trend download" << true;
    QTest::newRow("upload") << "upload" << true;
    QTest::newRow("copy on the instrument") << "copy" << true;
    QTest::newRow("trend export on the instrument") << "export" << true;
    QTest::newRow("certification package") << "package" << true;
}

void tst_StorageJobs::mountFailures()
{
    QFETCH(QString, job);
    QFETCH(bool, mountFails);
    fillStorage();
    Programs programs;
    if (mountFails)
        programs.add("echo", "[ $# -eq 1 ]"); // unmounting works, mounting does not
    else
        setStoragePath(m_h->storage.filePath("gone"));

    start(job);
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->answerer.messages,
             job == "package" ? QStringList() : QStringList{"Error mounting USB device"});
    QCOMPARE(m_h->storageFiles().size(), 4);
    QCOMPARE(m_h->sent.size(), 0);
    QVERIFY(!m_h->files.progressDialog()->isVisible());
}

void tst_StorageJobs::cancelWhileProgramRuns_data()
{
    QTest::addColumn<QString>("program"); // replaced by one that never ends by itself
    QTest::newRow("trend conversion") << "dumptrend";
    QTest::newRow("cabinet maker") << "makecab";
}

void tst_StorageJobs::cancelWhileProgramRuns()
{
    QFETCH(QString, program);
    const bool cabinet = program == "makecab";
    Programs programs;
    programs.add(program, "exec sleep 60");
    fillStorage();

    // The popup is closed while the program runs: the panel stays live, the
    // program is stopped and nothing half-made is left.
    QTimer::singleShot(300, m_h->files.progressDialog(), &QWidget::close);
    QElapsedTimer clock;
    clock.start();
    start(cabinet ? "package" : "export");
    QVERIFY(clock.elapsed() < 30000);
    QCOMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->answerer.messages, cabinet ? QStringList() : QStringList{"Transfer Cancelled"});
    QCOMPARE(m_h->storageFiles().size(), 4);
    QVERIFY(!m_h->files.progressDialog()->isVisible());
}

void tst_StorageJobs::cancelWhileMountingStillUnmounts_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("certification package") << "package" << QStringList();
    QTest::newRow("copy on the instrument") << "copy" << QStringList{"Transfer Cancelled"};
    QTest::newRow("trend export on the instrument")
        << "export" << QStringList{"Transfer Cancelled"};
    QTest::newRow("download") << "download" << QStringList{"Transfer Cancelled"};
}

void tst_StorageJobs::cancelWhileMountingStillUnmounts()
{
    QFETCH(QString, job);
    QFETCH(QStringList, messages);
    fillStorage();
    // The mount command waits until the operator has closed the popup.
    Programs programs;
    const QString log = programs.filePath("log");
    const QString started = programs.filePath("started");
    const QString go = programs.filePath("go");
    programs.add("echo", QStringLiteral("echo \"$@\" >> '%1'\n"
                                        "[ $# -eq 1 ] && exit 0\n"
                                        "touch '%2'\n"
                                        "while [ ! -e '%3' ]; do sleep 0.02; done")
                             .arg(log, started, go));
    whenStarted(started, [this, go]() {
        m_h->files.progressDialog()->close();
        QVERIFY(writeFile(go, ""));
    });

    start(job);
    QTRY_COMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->answerer.messages, messages);
    const QString storage = m_h->storage.path();
    QStringList calls = QString::fromUtf8(readFile(log)).split('\n', Qt::SkipEmptyParts);
    calls.sort();
    QCOMPARE(calls, (QStringList{storage, storage + ' ' + storage}));
    QCOMPARE(m_h->storageFiles().size(), 4);
    QCOMPARE(m_h->sent.size(), 0);
}

void tst_StorageJobs::endTransferWhileProgramRuns_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("trend conversion on the instrument") << "dumptrend";
    QTest::newRow("cabinet maker") << "makecab";
}

void tst_StorageJobs::endTransferWhileProgramRuns()
{
    QFETCH(QString, program);
    const bool cabinet = program == "makecab";
    fillStorage();
    // The program waits until the transfer end has come and gone, then succeeds.
    Programs programs;
    const QString started = programs.filePath("started");
    const QString go = programs.filePath("go");
    programs.add(program, QStringLiteral("touch '%1'\n"
                                         "while [ ! -e '%2' ]; do sleep 0.02; done")
                              .arg(started, go));
    QList<bool> outcomesMeanwhile{true};
    whenStarted(started, [&]() {
        // What a lost link or the certification procedure asks for.
        m_h->files.endTransfer("Transfer Cancelled", true);
        outcomesMeanwhile = m_h->outcomes;
        QVERIFY(writeFile(go, ""));
    });

    start(cabinet ? "package" : "export");
    QTRY_COMPARE(m_h->outcomes, QList<bool>{true});
    QCOMPARE(outcomesMeanwhile, QList<bool>());
    QCOMPARE(m_h->answerer.messages,
             cabinet ? QStringList() : QStringList{"File copied successfully"});
}

void tst_StorageJobs::certificationCabinet_data()
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

void tst_StorageJobs::certificationCabinet()
{
    QFETCH(QStringList, names);
    QFETCH(bool, built);
    QDateTime time = QDateTime::currentDateTime().addSecs(-100);
    for (const QString& name : names) {
        QVERIFY(writeFile(m_h->storage.filePath(name), name.toUtf8()));
        QFile file(m_h->storage.filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time = time.addSecs(10), QFileDevice::FileModificationTime));
    }
    m_h->feed(reply(kSerialId, "SN42"));
    m_h->files.downloadFile(FileManager::CertificationPackage, false);
    QCOMPARE(m_h->outcomes, QList<bool>{built});
    QCOMPARE(m_h->answerer.messages, QStringList());
    const QStringList cabinets = QDir(m_h->storage.path()).entryList({"*.cab"});
    QCOMPARE(cabinets.size(), built ? 1 : 0);
    if (!built)
        return;
    QVERIFY(cabinets.first().startsWith("certscan_SN42_"));
    QProcess gcab;
    gcab.start("gcab", {"--list", m_h->storage.filePath(cabinets.first())});
    QVERIFY(gcab.waitForFinished(10000));
    QStringList listed =
        QString::fromUtf8(gcab.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    listed.sort();
    QCOMPARE(listed, (QStringList{"scan1.bin", "scan2.bin", "scans.db", "srda.bin"}));
}

void tst_StorageJobs::uploadPickerListsSettingsDatabases()
{
    for (const char* name : {"settings.db", "settings_SN_2024-05-01_134501.db", "settings.txt",
                             "scans_SN.db", "old_settings.db", "settings_backup.db.bak"})
        QVERIFY(writeFile(m_h->storage.filePath(name), name));
    QStringList listed;
    Harness::onPicker([&listed](OpenFile* picker) {
        auto* list = picker->findChild<QListWidget*>("_file_list");
        for (int row = 0; row < list->count(); ++row)
            listed.append(list->item(row)->text());
        QTest::mouseClick(picker->findChild<QWidget*>("_cancel_button"), Qt::LeftButton);
    });
    start("upload");
    QCOMPARE(listed, (QStringList{"settings.db", "settings_SN_2024-05-01_134501.db"}));
    QCOMPARE(m_h->outcomes, QList<bool>{true}); // nothing chosen
}

void tst_StorageJobs::transfersInTheJournal()
{
    QTemporaryDir data;
    EventJournal journal(data.filePath("journal.db"));
    EventJournal::setCurrent(&journal);
    const auto last = [&journal]() {
        const JournalEvent e = journal.events({}, 0, 1).value(0);
        return e.subject + " " + e.action + ": " + e.newValue;
    };
    m_h->feed(reply(kSerialId, "SN7"));

    // A download that completes, under the name it has in the storage folder.
    m_h->startDownload(FileManager::ScansFile, 0);
    m_h->answer(1, "");
    QCOMPARE(m_h->outcomes, QList<bool>{true});
    QVERIFY2(QRegularExpression(
                 R"(^scans_SN7_\d{4}-\d\d-\d\d_\d{6}\.db succeeded: File copied successfully$)")
                 .match(last())
                 .hasMatch(),
             qPrintable(last()));
    // One the analyzer refuses, with its words.
    m_h->startDownload(FileManager::LogFile, 3);
    m_h->feed(errorReply(m_h->idAt(m_h->sent.size() - 1), "no log today"));
    QVERIFY2(last().endsWith(" failed: no log today"), qPrintable(last()));
    QCOMPARE(journal.count(), 2);

    // Packaging that cannot mount the storage.
    Programs programs;
    programs.add("echo", "[ $# -eq 1 ]");
    m_h->files.downloadFile(FileManager::CertificationPackage, true);
    QCOMPARE(last(), QStringLiteral("certscan.cab failed: Error mounting USB device"));
    QCOMPARE(journal.count(), 3);
    EventJournal::setCurrent(nullptr);
}

QTEST_MAIN(tst_StorageJobs)
#include "tst_storagejobs.moc"
