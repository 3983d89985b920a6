// Files the panel writes itself into the storage folder (the journal's and
// the chart's exports): mounted and unmounted around the write, refused when
// the volume lacks the room, named with the serial number and time inside the
// folder whatever the analyzer calls itself, whole or not at all, and each
// one recorded in the journal.
#include "base/eventjournal.h"
#include "files/storage.h"
#include "files/storageexport.h"
#include "support/testsupport.h"
#include "transferharness.h"

#include <QProcess>
#include <QRegularExpression>
#include <unistd.h>

using namespace TransferTest;

class tst_StorageExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void writesTheWholeFileUnderItsName();
    void hostileSerialStaysInTheFolder();
    void mountAndUnmountAroundTheWrite();
    void refusedWithoutStorage_data();
    void refusedWithoutStorage();
    void refusedWithoutRoom();

private:
    QStringList stored() const { return QDir(m_storage->path()).entryList(QDir::Files); }
    QString lastJournalText() const
    {
        const JournalEvent e = m_journal->events({}, 0, 1).value(0);
        return e.subject + " " + e.action + ": " + e.newValue;
    }

    std::unique_ptr<QTemporaryDir> m_storage;
    QTemporaryDir m_data;
    std::unique_ptr<EventJournal> m_journal;
};

void tst_StorageExport::init()
{
    m_storage = std::make_unique<QTemporaryDir>();
    setStoragePath(m_storage->path());
    m_journal = std::make_unique<EventJournal>(m_data.filePath(QTest::currentTestFunction()));
    EventJournal::setCurrent(m_journal.get());
}

void tst_StorageExport::cleanup()
{
    m_journal.reset();
    m_storage.reset();
}

void tst_StorageExport::writesTheWholeFileUnderItsName()
{
    const QByteArray bytes = randomBytes(100000);
    const StorageExport::Result result = StorageExport::write("journal.csv", "SN 42", bytes);
    QVERIFY(result.ok);
    QCOMPARE(result.message, QStringLiteral("File copied successfully"));
    QCOMPARE(stored().size(), 1);
    const QString name = stored().first();
    QVERIFY2(
        QRegularExpression(R"(^journal_SN_42_\d{4}-\d\d-\d\d_\d{6}\.csv$)").match(name).hasMatch(),
        qPrintable(name));
    QCOMPARE(result.path, m_storage->filePath(name));
    QCOMPARE(readFile(result.path), bytes);
    QCOMPARE(lastJournalText(), name + " succeeded: File copied successfully");
}

void tst_StorageExport::hostileSerialStaysInTheFolder()
{
    const StorageExport::Result result =
        StorageExport::write("chart.png", "../../etc/passwd", QByteArray("png"));
    QVERIFY(result.ok);
    QCOMPARE(QFileInfo(result.path).absolutePath(),
             QFileInfo(m_storage->path()).absoluteFilePath());
    QVERIFY(stored().first().startsWith("chart_____etc_passwd_"));
}

void tst_StorageExport::mountAndUnmountAroundTheWrite()
{
    // The mount command records its calls and what the folder held meanwhile.
    Programs programs;
    const QString log = programs.filePath("calls");
    programs.add(
        "echo",
        QStringLiteral("echo \"$# $(ls \"%1\" | wc -l)\" >> %2").arg(m_storage->path(), log));
    QVERIFY(StorageExport::write("journal.csv", "SN", "a,b\n").ok);
    // Mounted (device and mount point) before the file, unmounted (device) after it.
    QCOMPARE(readFile(log), QByteArray("2 0\n1 1\n"));

    // Mounting fails: nothing is written, and nothing to unmount.
    programs.add("echo", QStringLiteral("echo \"$#\" >> %1; [ $# -eq 1 ]").arg(log));
    const StorageExport::Result result = StorageExport::write("journal.csv", "SN", "a,b\n");
    QVERIFY(!result.ok);
    QCOMPARE(result.message, QStringLiteral("Error mounting USB device"));
    QCOMPARE(readFile(log), QByteArray("2 0\n1 1\n2\n"));
    QCOMPARE(stored().size(), 1);
    QVERIFY(lastJournalText().endsWith(" failed: Error mounting USB device"));
}

void tst_StorageExport::refusedWithoutStorage_data()
{
    QTest::addColumn<bool>("readOnly"); // else the folder is gone
    QTest::newRow("no storage folder") << false;
    QTest::newRow("read-only storage") << true;
}

void tst_StorageExport::refusedWithoutStorage()
{
    QFETCH(bool, readOnly);
    std::unique_ptr<TestSupport::ReadOnlyFolder> lock;
    if (readOnly) {
        lock = std::make_unique<TestSupport::ReadOnlyFolder>(m_storage->path());
        if (!lock->isReadOnly())
            QSKIP(qPrintable(lock->why()));
    } else {
        setStoragePath(m_storage->filePath("gone"));
    }
    const StorageExport::Result result = StorageExport::write("journal.csv", "SN", "a,b\n");
    QVERIFY(!result.ok);
    QCOMPARE(result.message, QStringLiteral("Error mounting USB device"));
    QCOMPARE(result.path, QString());
    lock.reset();
    QCOMPARE(stored(), QStringList());
}

void tst_StorageExport::refusedWithoutRoom()
{
    // A volume of 64 KiB, which only root can make.
    if (geteuid() != 0)
        QSKIP("a small volume needs a tmpfs mount as root");
    QTemporaryDir small;
    const auto mount = [](const QStringList& arguments) {
        QProcess process;
        process.start("mount", arguments);
        return process.waitForFinished(10000) && process.exitCode() == 0;
    };
    if (!mount({"-t", "tmpfs", "-o", "size=64k", "tmpfs", small.path()}))
        QSKIP("mount failed");
    setStoragePath(small.path());
    const qint64 room = bytesAvailable(small.path());
    StorageExport::Result result = StorageExport::write("chart.png", "SN", randomBytes(room + 1));
    QCOMPARE(result.message, QStringLiteral("Insufficient space available"));
    QCOMPARE(QDir(small.path()).entryList(QDir::Files), QStringList());
    QVERIFY(lastJournalText().endsWith(" failed: Insufficient space available"));
    // A file that fits is written.
    result = StorageExport::write("chart.png", "SN", randomBytes(4096));
    QVERIFY(result.ok);
    QProcess::execute("umount", {small.path()});
}

QTEST_MAIN(tst_StorageExport)
#include "tst_storageexport.moc"
