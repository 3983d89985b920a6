// The stand-in programs end to end, run by name from the bin folder as the
// panel runs them: dumptrend, makecab (checked with gcab), cpdb, backlight,
// and the log server.
#include "sim/trendstore.h"
#include "sim/unitmath.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& args,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(TestSupport::binDir() + QLatin1Char('/') + program, args);
    Run result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QStringList lines(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

class tst_SimTools : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dumptrendWritesFromTheStartDate_data();
    void dumptrendWritesFromTheStartDate();
    void dumptrendRefusesBadInput_data();
    void dumptrendRefusesBadInput();
    void makecabPacksTheListedFiles();
    void makecabFailsOnAMissingFile();
    void cpdbCopiesConsistently_data();
    void cpdbCopiesConsistently();
    void backlightRecordsTheValue();
    void logServerAppendsTimestampedLines();

private:
    QTemporaryDir m_dir;
    QString m_trend;
};

void tst_SimTools::initTestCase()
{
    m_trend = m_dir.filePath(QStringLiteral("trend.db"));
    VireoSim::TrendStore store(m_trend);
    QString error;
    QVERIFY(store.open(&error));
    // Two days, 1 Hz: 2024-05-01 and 2024-05-02.
    store.backfill(QDateTime(QDate(2024, 5, 1), QTime(0, 0)),
                   QDateTime(QDate(2024, 5, 3), QTime(0, 0)),
                   [] { return VireoSim::UnitMath::sample(250, QStringLiteral("N2"), 0, false); });
}

void tst_SimTools::dumptrendWritesFromTheStartDate_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("units");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("firstValue");
    QTest::newRow("everything in ppbv") << "2024-04-01"
                                        << "volume" << 172800 << "Concentration (PPBv)"
                                        << "250.000";
    QTest::newRow("second day in ppbw") << "2024-05-02"
                                        << "weight" << 86400 << "Concentration (PPBw)"
                                        << "160.768";
    QTest::newRow("dew point kelvin") << "2024-05-02"
                                      << "dewpointk" << 86400 << "Dew Point (K)"
                                      << "";
    QTest::newRow("after the data") << "2024-06-01"
                                    << "volume" << 0 << "Concentration (PPBv)"
                                    << "";
}

void tst_SimTools::dumptrendWritesFromTheStartDate()
{
    QFETCH(QString, start);
    QFETCH(QString, units);
    QFETCH(int, rows);
    QFETCH(QString, header);
    QFETCH(QString, firstValue);
    const QString csv = m_dir.filePath(QStringLiteral("out.csv"));
    const Run result =
        run(QStringLiteral("dumptrend"), {m_trend, csv, "--start", start, "--units", units});
    QCOMPARE(result.exitCode, 0);
    const QStringList text = lines(csv);
    QCOMPARE(text.size(), rows + 1);
    QCOMPARE(text.first(), QStringLiteral("Date Time,%1,System Alarm").arg(header));
    if (rows > 0) {
        QVERIFY(text.at(1).startsWith(start == QLatin1String("2024-05-02")
                                          ? "2024-05-02 00:00:00,"
                                          : "2024-05-01 00:00:00,"));
        if (!firstValue.isEmpty())
            QCOMPARE(text.at(1).section(QLatin1Char(','), 1, 1), firstValue);
        else
            QVERIFY(text.at(1).section(QLatin1Char(','), 1, 1).toDouble() >
                    150); // kelvin, about 197
    }
}

void tst_SimTools::dumptrendRefusesBadInput_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing database") << "nothere.db"
                                      << "2024-05-01"
                                      << "volume"
                                      << "does not exist";
    QTest::newRow("not a database") << "text.db"
                                    << "2024-05-01"
                                    << "volume"
                                    << "not a trend database";
    QTest::newRow("database without trend table") << "other.db"
                                                  << "2024-05-01"
                                                  << "volume"
                                                  << "trend_table";
    QTest::newRow("bad date") << "trend.db"
                              << "2024-02-30"
                              << "volume"
                              << "not a date";
    QTest::newRow("unknown unit") << "trend.db"
                                  << "2024-05-01"
                                  << "furlongs"
                                  << "unknown unit";
}

void tst_SimTools::dumptrendRefusesBadInput()
{
    QFETCH(QString, database);
    QFETCH(QString, start);
    QFETCH(QString, units);
    QFETCH(QString, message);
    QFile text(m_dir.filePath(QStringLiteral("text.db")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("date_time,conc\n");
    text.close();
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(m_dir.filePath(QStringLiteral("other.db")));
        QVERIFY(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE IF NOT EXISTS t (a)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    const QString csv = m_dir.filePath(QStringLiteral("bad.csv"));
    const Run result = run(QStringLiteral("dumptrend"),
                           {m_dir.filePath(database), csv, "--start", start, "--units", units});
    QVERIFY(result.exitCode > 0);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(!QFile::exists(csv));
}

void tst_SimTools::makecabPacksTheListedFiles()
{
    QTemporaryDir storage;
    const QStringList names = {"settings_SN_1.db", "scans_SN_1.db", "srda_SN_1.bin",
                               "settings_SN_2.db"};
    for (const QString& name : names) {
        QFile file(storage.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8().repeated(100));
    }
    // As the panel writes it: CR LF lines, a backslash before each file name.
    QByteArray directive =
        ".Set MaxDiskSize=CDROM\r\n.Set CabinetName1=certscan_SN.cab\r\n.Set DiskDirectory1=" +
        storage.path().toUtf8() + "\r\n";
    for (const QString& name : names)
        directive += '"' + storage.path().toUtf8() + '\\' + name.toUtf8() + "\"\r\n";
    const QString directivePath = m_dir.filePath(QStringLiteral("directive.txt"));
    QFile file(directivePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(directive);
    file.close();

    const Run result = run(QStringLiteral("makecab"), {"/F", directivePath});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    const QString cabinet = storage.filePath(QStringLiteral("certscan_SN.cab"));
    QProcess gcab;
    gcab.start(QStringLiteral("gcab"), {QStringLiteral("-l"), cabinet});
    QVERIFY(gcab.waitForFinished(30000));
    QCOMPARE(gcab.exitCode(), 0);
    const QString listing = QString::fromLocal8Bit(gcab.readAllStandardOutput());
    for (const QString& name : names)
        QVERIFY2(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(name) +
                                        QStringLiteral("\\s"),
                                    QRegularExpression::MultilineOption)
                     .match(listing)
                     .hasMatch(),
                 qPrintable(listing));
}

void tst_SimTools::makecabFailsOnAMissingFile()
{
    QTemporaryDir storage;
    const QString directivePath = m_dir.filePath(QStringLiteral("missing.txt"));
    QFile file(directivePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(".Set CabinetName1=x.cab\r\n.Set DiskDirectory1=" + storage.path().toUtf8() +
               "\r\n\"" + storage.path().toUtf8() + "\\gone.db\"\r\n");
    file.close();
    const Run result = run(QStringLiteral("makecab"), {"/F", directivePath});
    QVERIFY(result.exitCode != 0);
    QVERIFY(result.err.contains(QLatin1String("gone.db")));
    QVERIFY(!QFile::exists(storage.filePath(QStringLiteral("x.cab"))));
    QVERIFY(run(QStringLiteral("makecab"), {directivePath}).exitCode != 0); // no /F
}

void tst_SimTools::cpdbCopiesConsistently_data()
{
    QTest::addColumn<bool>("settingsForm");
    QTest::newRow("cpdb SRC DEST") << false;
    QTest::newRow("cpdb SRC e DEST") << true;
}

void tst_SimTools::cpdbCopiesConsistently()
{
    QFETCH(bool, settingsForm);
    const QString dest = m_dir.filePath(QStringLiteral("copy.db"));
    QFile::remove(dest);
    const QStringList args =
        settingsForm ? QStringList{m_trend, "e", dest} : QStringList{m_trend, dest};
    QCOMPARE(run(QStringLiteral("cpdb"), args).exitCode, 0);
    VireoSim::TrendStore copy(dest);
    QString error;
    QVERIFY(copy.open(&error));
    QCOMPARE(copy.count(QStringLiteral("0000"), QStringLiteral("9999")), 172800);
    QVERIFY(run(QStringLiteral("cpdb"), {m_dir.filePath(QStringLiteral("nothere.db")), dest})
                .exitCode != 0);
}

void tst_SimTools::backlightRecordsTheValue()
{
    const QString record = m_dir.filePath(QStringLiteral("backlight.txt"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VIREO_BACKLIGHT_FILE"), record);
    QCOMPARE(run(QStringLiteral("backlight"), {"120"}, env).exitCode, 0);
    QCOMPARE(run(QStringLiteral("backlight"), {"57.5"}, env).exitCode, 0);
    QVERIFY(run(QStringLiteral("backlight"), {"bright"}, env).exitCode != 0);
    QCOMPARE(lines(record), (QStringList{"120", "57.5"}));
}

void tst_SimTools::logServerAppendsTimestampedLines()
{
    const QString socketName = m_dir.filePath(QStringLiteral("log_request"));
    const QString logFile = m_dir.filePath(QStringLiteral("logs/gui.log"));
    QProcess server;
    server.start(TestSupport::binDir() + QStringLiteral("/vireo-logd"),
                 {"--socket", socketName, "--file", logFile});
    QSignalSpy ready(&server, &QProcess::readyReadStandardOutput);
    QVERIFY(ready.wait(10000));
    QVERIFY(server.readAllStandardOutput().startsWith("LISTENING"));

    QLocalSocket client;
    client.connectToServer(socketName);
    QVERIFY(client.waitForConnected(5000));
    client.write("GUI:Debug: Startup\nGUI:Warning: text(app:42,f)\nGUI:unfinished");
    client.flush();
    client.disconnectFromServer();
    QTRY_COMPARE(lines(logFile).size(), 3);
    const QStringList text = lines(logFile);
    const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d "));
    QVERIFY(stamp.match(text.at(0)).hasMatch());
    QVERIFY(text.at(0).endsWith(QLatin1String(" GUI:Debug: Startup")));
    QVERIFY(text.at(1).endsWith(QLatin1String(" GUI:Warning: text(app:42,f)")));
    QVERIFY(text.at(2).endsWith(QLatin1String(" GUI:unfinished")));
    server.kill();
    server.waitForFinished();
}

QTEST_GUILESS_MAIN(tst_SimTools)
#include "tst_simtools.moc"
