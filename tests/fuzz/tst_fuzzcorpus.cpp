// The fuzz target's inputs replayed through the same harness in an ordinary
// build: the seeds, recorded from the simulator, must still reach their
// pages (their ids are the panel's own, and go stale when a page's requests
// change: fuzz-seed writes them again), and every input that once made the
// panel crash, hang or trip a sanitizer is handled.
#include "fuzzpanel.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <memory>

class tst_FuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void seedsReachTheirPages_data();
    void seedsReachTheirPages();
    void foundFaultsStayMended_data();
    void foundFaultsStayMended();

private:
    static void addFiles(const QString& folder);

    std::unique_ptr<TestSupport::IsolatedHome> m_home;
    std::unique_ptr<FuzzPanel> m_panel;
};

void tst_FuzzCorpus::initTestCase()
{
    m_home = std::make_unique<TestSupport::IsolatedHome>();
    m_panel = std::make_unique<FuzzPanel>();
}

void tst_FuzzCorpus::cleanupTestCase()
{
    qInfo("%lld lines, the slowest %.1f ms", m_panel->lines(), m_panel->slowestLineMs());
    m_panel.reset();
    m_home.reset();
}

void tst_FuzzCorpus::addFiles(const QString& folder)
{
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(MARLOMAX_FUZZ_DIR "/") + folder);
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& name : names)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
    if (names.isEmpty())
        QTest::newRow("none") << QString();
}

static QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_FuzzCorpus::seedsReachTheirPages_data()
{
    addFiles(QStringLiteral("corpus"));
}

void tst_FuzzCorpus::seedsReachTheirPages()
{
    QFETCH(QString, path);
    const QByteArray input = contents(path);
    QVERIFY(input.size() > FuzzPanel::kHeaderBytes);
    QVERIFY(m_panel->run(input));
    // The mode, calibration and reminder pages poll nothing; every other
    // page's seed holds replies to it.
    const QString name = QFileInfo(path).fileName();
    if (!name.startsWith(QLatin1String("mode")) && !name.startsWith(QLatin1String("calibration")) &&
        !name.startsWith(QLatin1String("certificate-")))
        QVERIFY2(m_panel->repliesToPage() > 0,
                 "no reply reached the page: run fuzz-seed to record the seeds again");
}

void tst_FuzzCorpus::foundFaultsStayMended_data()
{
    addFiles(QStringLiteral("regressions"));
}

void tst_FuzzCorpus::foundFaultsStayMended()
{
    QFETCH(QString, path);
    if (path.isEmpty())
        QSKIP("no input has found a fault yet");
    QVERIFY(m_panel->run(contents(path)));
}

QTEST_MAIN(tst_FuzzCorpus)
#include "tst_fuzzcorpus.moc"
