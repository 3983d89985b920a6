// The launcher's connection list in the settings store: where it lives, the
// stored layout, defaults for missing keys and full rewrites on save.
#include "launcher/settings.h"
#include "launchertestsupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class tst_LauncherSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void storeStaysInTestHome();
    void roundTrip();
    void fileInUtf8();
    void missingKeys_data();
    void missingKeys();
    void saveRewritesWholeArray();
    void loadReplacesList();
    void defaultStorage();
    void unwritableStoreIsReported();
    void storeFaults_data();
    void storeFaults();

private:
    std::unique_ptr<LauncherStore> m_store;
};

namespace {

const QList<ConnectionEntry> kThree = {
    {QStringLiteral("Lab"), QStringLiteral("192.168.1.20:60001"), QStringLiteral("/data/lab")},
    {QStringLiteral("Stack 2"), QStringLiteral("10.0.0.7:60004"),
     QStringLiteral("/data/stack two")},
    {QStringLiteral("Prüfstand"), QStringLiteral("172.16.0.1:49999"), QStringLiteral("C:\\data")},
};

} // namespace

void tst_LauncherSettings::init()
{
    m_store = std::make_unique<LauncherStore>();
}

void tst_LauncherSettings::cleanup()
{
    m_store.reset();
}

void tst_LauncherSettings::storeStaysInTestHome()
{
    LauncherStore::seed(kThree);
    const QString file = Settings().fileName();
    QVERIFY2(file.startsWith(m_store->home() + QLatin1Char('/')), qPrintable(file));
    QVERIFY(QFile::exists(file));
}

void tst_LauncherSettings::roundTrip()
{
    LauncherStore::seed(kThree);
    QCOMPARE(LauncherStore::stored(), kThree);

    // Other programs and older launchers read this layout.
    auto raw = LauncherStore::open();
    QCOMPARE(raw->value(QStringLiteral("connections/size")).toInt(), 3);
    QCOMPARE(raw->value(QStringLiteral("connections/1/nickname")).toString(),
             QStringLiteral("Lab"));
    QCOMPARE(raw->value(QStringLiteral("connections/2/connectionString")).toString(),
             QStringLiteral("10.0.0.7:60004"));
    QCOMPARE(raw->value(QStringLiteral("connections/3/storageLocation")).toString(),
             QStringLiteral("C:\\data"));
}

void tst_LauncherSettings::fileInUtf8()
{
    // The same bytes whichever Qt the launcher was built with, so one file
    // serves a Qt 5 and a Qt 6 launcher alike.
    LauncherStore::seed(kThree);
    QFile file(Settings().fileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("3\\nickname=Pr\xc3\xbc"
                                    "fstand\n"));
    file.close();

    // What a Qt 5 launcher wrote before: non-ASCII letters as escapes.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[connections]\n1\\nickname=Pr\\xfc\\x66stand\n"
               "2\\nickname=Pr\xc3\xbc"
               "fstand\nsize=2\n");
    file.close();
    const QList<ConnectionEntry> read = LauncherStore::stored();
    QCOMPARE(read.size(), 2);
    QCOMPARE(read.at(0).nickname, kThree.at(2).nickname);
    QCOMPARE(read.at(1).nickname, kThree.at(2).nickname);
}

void tst_LauncherSettings::missingKeys_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<ConnectionEntry>("expected");

    const QString home = QStringLiteral("<home>");
    QTest::newRow("all keys") << QVariantMap{{"nickname", "A"},
                                             {"connectionString", "1.2.3.4:60002"},
                                             {"storageLocation", "/x"}}
                              << ConnectionEntry{"A", "1.2.3.4:60002", "/x"};
    QTest::newRow("no storage location")
        << QVariantMap{{"nickname", "A"}, {"connectionString", "1.2.3.4:60002"}}
        << ConnectionEntry{"A", "1.2.3.4:60002", home};
    QTest::newRow("only a storage location")
        << QVariantMap{{"storageLocation", "/x"}} << ConnectionEntry{"", "", "/x"};
    QTest::newRow("empty element")
        << QVariantMap{{"unrelated", 1}} << ConnectionEntry{"", "", home};
}

void tst_LauncherSettings::missingKeys()
{
    QFETCH(QVariantMap, stored);
    QFETCH(ConnectionEntry, expected);
    if (expected.storageLocation == QLatin1String("<home>"))
        expected.storageLocation = QDir::toNativeSeparators(m_store->home());

    {
        auto raw = LauncherStore::open();
        raw->beginWriteArray(QStringLiteral("connections"), 1);
        raw->setArrayIndex(0);
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            raw->setValue(it.key(), it.value());
        raw->endArray();
    }
    QCOMPARE(LauncherStore::stored(), QList<ConnectionEntry>{expected});
}

void tst_LauncherSettings::saveRewritesWholeArray()
{
    LauncherStore::seed(kThree);
    Settings settings;
    settings.load();
    settings.removeAt(1);
    QVERIFY(settings.save());

    QCOMPARE(LauncherStore::stored(), (QList<ConnectionEntry>{kThree.at(0), kThree.at(2)}));
    auto raw = LauncherStore::open();
    QCOMPARE(raw->value(QStringLiteral("connections/size")).toInt(), 2);
    QVERIFY(!raw->contains(QStringLiteral("connections/3/nickname")));
    QVERIFY(!raw->contains(QStringLiteral("connections/3/storageLocation")));
    QCOMPARE(raw->value(QStringLiteral("connections/2/nickname")).toString(),
             kThree.at(2).nickname);
}

void tst_LauncherSettings::loadReplacesList()
{
    LauncherStore::seed(kThree);
    Settings settings;
    settings.load();
    settings.load();
    QCOMPARE(settings.connections(), kThree);

    LauncherStore::seed({});
    settings.load();
    QVERIFY(settings.connections().isEmpty());
}

void tst_LauncherSettings::defaultStorage()
{
    QCOMPARE(Settings().defaultStorage(), QString());
    Settings().setDefaultStorage(QStringLiteral("/data/lab"));
    QCOMPARE(Settings().defaultStorage(), QStringLiteral("/data/lab"));
    QCOMPARE(LauncherStore::open()->value(QStringLiteral("defaultstorage")).toString(),
             QStringLiteral("/data/lab"));
}

void tst_LauncherSettings::unwritableStoreIsReported()
{
    m_store->makeUnwritable();
    Settings settings;
    settings.append(kThree.first());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Cannot write the connection list")));
    QVERIFY(!settings.save());
}

void tst_LauncherSettings::storeFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("shown"); // the nicknames read
    QTest::addColumn<bool>("readWhole");

    QTest::newRow("a section that never closes") << "section" << QStringList{"Lab"} << false;
    QTest::newRow("binary garbage") << "garbage" << QStringList{"Lab"} << false;
    QTest::newRow("a folder where the file should be") << "folder" << QStringList() << false;
    QTest::newRow("read-only") << "read-only" << QStringList{"Lab", "Stack 2", "Prüfstand"} << true;
}

// Whatever the store's state, the launcher shows what it could read, and a
// store it could not read whole is never written over.
void tst_LauncherSettings::storeFaults()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, shown);
    QFETCH(bool, readWhole);

    const QString store = LauncherStore::fileName();
    const QString folder = QFileInfo(store).path();
    std::unique_ptr<TestSupport::ReadOnlyFolder> readOnly;
    const QByteArray goodRow(
        "[connections]\n1\\nickname=Lab\n1\\connectionString=1.2.3.4:60001\nsize=1\n");
    if (fault == QLatin1String("section")) {
        LauncherStore::writeRaw(store, goodRow + "[broken\nx=1\n");
    } else if (fault == QLatin1String("garbage")) {
        LauncherStore::writeRaw(store, goodRow + QByteArray("\xff\xfe\0garbage=\x01\n", 12));
    } else if (fault == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(store));
    } else {
        LauncherStore::seed(kThree);
        readOnly = std::make_unique<TestSupport::ReadOnlyFolder>(folder);
        if (!readOnly->isReadOnly())
            QSKIP(qPrintable(readOnly->why()));
    }
    const QByteArray before = LauncherStore::readRaw(store);

    {
        if (!readWhole)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("^Cannot read the whole")));
        Settings settings;
        settings.load();
        QStringList names;
        for (const ConnectionEntry& entry : settings.connections())
            names << entry.nickname;
        QCOMPARE(names, shown);
        QCOMPARE(settings.readable(), readWhole);

        settings.append(kThree.at(1));
        settings.setDefaultStorage(QStringLiteral("/data/new"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(readWhole ? QStringLiteral("^Cannot write")
                                                          : QStringLiteral("^Not writing")));
        QVERIFY(!settings.save());
        QCOMPARE(settings.defaultStorage(), QStringLiteral("/data/new")); // for this run
    }
    QCOMPARE(LauncherStore::readRaw(store), before);
}

QTEST_GUILESS_MAIN(tst_LauncherSettings)
#include "tst_launchersettings.moc"
