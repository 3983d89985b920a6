// Several analyzers from one simulator process (--instruments N): each on its
// own port with its own state, so a change to one never shows on another, and
// the options that cannot be shared are refused.
#include "sim/options.h"
#include "support/simclient.h"
#include "support/testsupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class tst_SimInstruments : public QObject
{
    Q_OBJECT

private slots:
    void eachInstrumentHasItsPortStateAndSeed_data();
    void eachInstrumentHasItsPortStateAndSeed();
    void refusedCombinations_data();
    void refusedCombinations();
    void instrumentsAreIndependent();
};

void tst_SimInstruments::eachInstrumentHasItsPortStateAndSeed_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("stateDir");
    QTest::addColumn<uint>("seed");

    QTest::newRow("one instrument keeps everything")
        << QStringList{"--port", "50000", "--state", "/s", "--seed", "9"} << 0 << 50000 << "/s"
        << 9u;
    QTest::newRow("first of three")
        << QStringList{"--port", "50000", "--state", "/s", "--seed", "9", "--instruments", "3"} << 0
        << 50000 << "/s/1" << 9u;
    QTest::newRow("last of three")
        << QStringList{"--port", "50000", "--state", "/s", "--seed", "9", "--instruments", "3"} << 2
        << 50002 << "/s/3" << 11u;
    QTest::newRow("free ports stay free, random seeds random")
        << QStringList{"--port", "0", "--state", "/s", "--instruments", "2"} << 1 << 0 << "/s/2"
        << 0u;
    QTest::newRow("last port that fits")
        << QStringList{"--port", "65534", "--state", "/s", "--instruments", "2"} << 1 << 65535
        << "/s/2" << 0u;
}

void tst_SimInstruments::eachInstrumentHasItsPortStateAndSeed()
{
    QFETCH(QStringList, args);
    QFETCH(int, index);
    QFETCH(int, port);
    QFETCH(QString, stateDir);
    QFETCH(uint, seed);

    VireoSim::Options options;
    QString error;
    bool help = false;
    QVERIFY2(options.parse(QStringList{"vireo-sim"} + args, &error, &help), qPrintable(error));
    const VireoSim::Options own = options.forInstrument(index);
    QCOMPARE(own.port, port);
    QCOMPARE(own.stateDir, stateDir);
    QCOMPARE(own.seed, quint32(seed));
    QCOMPARE(own.instruments, 1);
}

void tst_SimInstruments::refusedCombinations_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    QTest::newRow("none") << QStringList{"--instruments", "0"}
                          << "--instruments needs a whole number";
    QTest::newRow("past the last port")
        << QStringList{"--port", "65535", "--instruments", "2"} << "runs past port 65535";
    QTest::newRow("one local socket for two")
        << QStringList{"--instruments", "2", "--local", "x"} << "cannot serve several";
}

void tst_SimInstruments::refusedCombinations()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);

    VireoSim::Options options;
    QString error;
    bool help = false;
    QVERIFY(!options.parse(QStringList{"vireo-sim"} + args, &error, &help));
    QVERIFY2(error.contains(message), qPrintable(error));
}

void tst_SimInstruments::instrumentsAreIndependent()
{
    QTemporaryDir state;
    QProcess sim;
    sim.start(TestSupport::binDir() + QStringLiteral("/vireo-sim"),
              {"--port", "0", "--state", state.path(), "--instruments", "3", "--control"});
    QVERIFY(sim.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 60000);
    const QString line = QString::fromLatin1(sim.readLine().trimmed());
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^LISTENING port=(\\d+) ports=(\\d+),(\\d+),(\\d+)$"))
            .match(line);
    QVERIFY2(match.hasMatch(), qPrintable(line));
    QCOMPARE(match.captured(1), match.captured(2));
    const QStringList ports = {match.captured(2), match.captured(3), match.captured(4)};
    QCOMPARE(QSet<QString>(ports.begin(), ports.end()).size(), 3);

    SimClient first, second, third;
    QVERIFY(first.connectTo(quint16(ports.at(0).toUInt())));
    QVERIFY(second.connectTo(quint16(ports.at(1).toUInt())));
    QVERIFY(third.connectTo(quint16(ports.at(2).toUInt())));
    QCOMPARE(second.call(QStringLiteral("opmode"), QJsonArray{2}).value("result").toInt(), 2);
    third.call(QStringLiteral("sim_control"), QJsonArray{"alarm", "laser", true});

    QCOMPARE(first.call(QStringLiteral("opmode")).value("result").toInt(), 8);
    QCOMPARE(second.call(QStringLiteral("opmode")).value("result").toInt(), 2);
    QCOMPARE(third.call(QStringLiteral("opmode")).value("result").toInt(), 8);
    QCOMPARE(first.call(QStringLiteral("laser_alarm_active")).value("result").toBool(), false);
    QCOMPARE(second.call(QStringLiteral("laser_alarm_active")).value("result").toBool(), false);
    QCOMPARE(third.call(QStringLiteral("laser_alarm_active")).value("result").toBool(), true);
    for (const char* folder : {"1", "2", "3"})
        QVERIFY(
            QFile::exists(state.filePath(QLatin1String(folder) + QStringLiteral("/settings.db"))));

    sim.terminate();
    QVERIFY(sim.waitForFinished());
}

QTEST_MAIN(tst_SimInstruments)
#include "tst_siminstruments.moc"
