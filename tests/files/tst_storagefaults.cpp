// The storage folder failing under a transfer: full, read-only, taken away
// mid-download, or unable to say how much room it has. Each case ends with
// the message the operator is owed and leaves no file behind, neither a part
// nor one under the final name. A full or vanishing volume is a small tmpfs,
// which needs root; those rows skip, saying so, otherwise (CI runs as root).
#include "files/storage.h"
#include "support/simulatorprocess.h"
#include "support/testsupport.h"
#include "transferharness.h"

#include <QDir>
#include <cstddef>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <memory>
#include <sys/prctl.h>
#include <sys/syscall.h>

using namespace TransferTest;

namespace {

constexpr qint64 kSmallVolume = 256 * 1024;
const QString kCopyError = QStringLiteral("Error copying file");
const QString kMountError = QStringLiteral("Error mounting USB device");
const QString kNoSpace = QStringLiteral("Insufficient space available");

/// Everything in a folder, hidden files included.
QStringList entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

/// From now on, for this process and every program it starts, asking a
/// volume how much room it has fails (statfs answers EACCES).
bool makeFreeSpaceUnreadable()
{
    struct sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_statfs, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EACCES & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    struct sock_fprog program = {static_cast<unsigned short>(sizeof filter / sizeof filter[0]),
                                 filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

} // namespace

class tst_StorageFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fullStorage_data();
    void fullStorage();
    void readOnlyStorage_data();
    void readOnlyStorage();
    void storageGoneMidDownload_data();
    void storageGoneMidDownload();
    // Last: the free space stays unreadable for the rest of the process.
    void freeSpaceUnreadable();

private:
    /// Starts job: "download" (the trend database from the analyzer), "trend
    /// download" (the same, converted to CSV), "copy" (the ring-down archive
    /// on the instrument) or "export" (the trend CSV on the instrument).
    void start(const QString& job);
    /// A ring-down archive of size random bytes where the instrument keeps it.
    QByteArray instrumentArchive(qint64 size);

    TestSupport::SimulatorProcess m_sim{{"--chunk-size", "4096", "--backfill-days", "1"}};
    QTemporaryDir m_instrument; // the instrument's own files (HOME for local jobs)
    std::unique_ptr<Harness> m_h;
};

void tst_StorageFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(m_sim.start(), qPrintable(m_sim.errorString()));
}

void tst_StorageFaults::init()
{
    m_h = std::make_unique<Harness>();
}

void tst_StorageFaults::cleanup()
{
    m_h.reset();
}

QByteArray tst_StorageFaults::instrumentArchive(qint64 size)
{
    const QByteArray data = randomBytes(int(size));
    return writeFile(m_instrument.filePath("srda.bin"), data) ? data : QByteArray();
}

void tst_StorageFaults::start(const QString& job)
{
    const bool remote = job == "download" || job == "trend download";
    setIsRemote(remote);
    if (remote)
        m_h->linkTo(m_sim.port());
    if (job == "download")
        m_h->files.downloadFile(FileManager::TrendFile, false);
    else if (job == "copy")
        m_h->files.downloadFile(FileManager::SrdaFile, false);
    else
        m_h->files.downloadTrendFile(QDateTime::currentDateTime().addDays(-2), "volume", false);
}

void tst_StorageFaults::fullStorage_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<QString>("message");
    // The trend database of a day is megabytes; the volume holds 256 KiB.
    QTest::newRow("download from the analyzer") << "download" << kCopyError;
    QTest::newRow("trend download from the analyzer") << "trend download" << kCopyError;
    QTest::newRow("copy on the instrument") << "copy" << kNoSpace;
    QTest::newRow("trend export on the instrument") << "export" << kCopyError;
}

void tst_StorageFaults::fullStorage()
{
    QFETCH(QString, job);
    QFETCH(QString, message);
    TestSupport::SmallVolume volume(m_h->storage.path(), kSmallVolume);
    if (!volume.isMounted())
        QSKIP(qPrintable(volume.why()));
    QVERIFY(!instrumentArchive(4 * kSmallVolume).isEmpty());
    // The instrument's trend database is the simulator's.
    Home home(job == "copy" ? m_instrument.path() : m_sim.statePath());

    start(job);
    QTRY_COMPARE_WITH_TIMEOUT(m_h->outcomes, QList<bool>{false}, 60000);
    QCOMPARE(m_h->answerer.messages, QStringList{message});
    QCOMPARE(entries(m_h->storage.path()), QStringList());
    QVERIFY(!m_h->files.progressDialog()->isVisible());
}

void tst_StorageFaults::readOnlyStorage_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<QString>("message");
    QTest::newRow("download from the analyzer") << "download" << kMountError;
    QTest::newRow("trend download from the analyzer") << "trend download" << kMountError;
    QTest::newRow("copy on the instrument") << "copy" << kCopyError;
    QTest::newRow("trend export on the instrument") << "export" << kCopyError;
}

void tst_StorageFaults::readOnlyStorage()
{
    QFETCH(QString, job);
    QFETCH(QString, message);
    QVERIFY(!instrumentArchive(64 * 1024).isEmpty());
    Home home(job == "copy" ? m_instrument.path() : m_sim.statePath());
    TestSupport::ReadOnlyFolder readOnly(m_h->storage.path());
    if (!readOnly.isReadOnly())
        QSKIP(qPrintable(readOnly.why()));

    start(job);
    QTRY_COMPARE_WITH_TIMEOUT(m_h->outcomes, QList<bool>{false}, 60000);
    QCOMPARE(m_h->answerer.messages, QStringList{message});
    QCOMPARE(entries(m_h->storage.path()), QStringList());
}

void tst_StorageFaults::storageGoneMidDownload_data()
{
    QTest::addColumn<bool>("unmounted"); // else the folder is deleted
    QTest::newRow("folder deleted") << false;
    QTest::newRow("volume pulled out") << true;
}

void tst_StorageFaults::storageGoneMidDownload()
{
    QFETCH(bool, unmounted);
    const QString storage = m_h->storage.path();
    std::unique_ptr<TestSupport::SmallVolume> volume;
    if (unmounted) {
        volume = std::make_unique<TestSupport::SmallVolume>(storage, kSmallVolume);
        if (!volume->isMounted())
            QSKIP(qPrintable(volume->why()));
    }
    // Four chunks and the end, answered by hand: the storage goes after the first.
    m_h->startDownload(FileManager::SrdaFile, 5);
    const QString chunk = QString::fromLatin1(QByteArray("a chunk of the archive").toBase64());
    m_h->answer(m_h->sent.size() - 1, chunk);
    QCOMPARE(m_h->outcomes, QList<bool>());
    QCOMPARE(entries(storage), QStringList()); // nothing has a name until it is complete
    if (unmounted)
        QVERIFY(volume->remove());
    else
        QVERIFY(QDir(storage).removeRecursively());
    for (int answered = 1; answered < 4; ++answered)
        m_h->answer(m_h->sent.size() - 1, chunk);
    m_h->answer(m_h->sent.size() - 1, QString());

    QCOMPARE(m_h->outcomes, QList<bool>{false});
    QCOMPARE(m_h->answerer.messages, QStringList{kCopyError});
    // Nothing where the storage was: the folder under the volume is empty,
    // the deleted one was not made again.
    QCOMPARE(QFileInfo::exists(storage), unmounted);
    QCOMPARE(entries(storage), QStringList());
}

void tst_StorageFaults::freeSpaceUnreadable()
{
    QVERIFY(makeFreeSpaceUnreadable());
    QCOMPARE(bytesAvailable(m_h->storage.path()), qint64(-1));
    setIsRemote(false);
    Home home(m_instrument.path());
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Free space unknown at"));

    // The copy goes ahead: with room for it, it arrives whole.
    const QByteArray archive = instrumentArchive(64 * 1024);
    QVERIFY(!archive.isEmpty());
    m_h->files.downloadFile(FileManager::SrdaFile, false);
    QCOMPARE(m_h->outcomes, QList<bool>{true});
    const QStringList copied = entries(m_h->storage.path());
    QCOMPARE(copied.size(), 1);
    QCOMPARE(readFile(m_h->storage.filePath(copied.first())), archive);
    QVERIFY(QFile::remove(m_h->storage.filePath(copied.first())));

    // Without room, the copy program meets the full volume and nothing is left.
    TestSupport::SmallVolume volume(m_h->storage.path(), kSmallVolume);
    if (!volume.isMounted())
        QSKIP(qPrintable(volume.why()));
    QVERIFY(!instrumentArchive(4 * kSmallVolume).isEmpty());
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Free space unknown at"));
    m_h->files.downloadFile(FileManager::SrdaFile, false);
    QCOMPARE(m_h->outcomes, (QList<bool>{true, false}));
    QCOMPARE(m_h->answerer.messages, (QStringList{"File copied successfully", kCopyError}));
    QCOMPARE(entries(m_h->storage.path()), QStringList());
}

QTEST_MAIN(tst_StorageFaults)
#include "tst_storagefaults.moc"
