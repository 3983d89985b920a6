// The simulator's trend history, driven in process: backfill counts, the
// server-side thinning by the panel's step rule, unit columns, clearing.
#include "sim/options.h"
#include "sim/rpcengine.h"
#include "sim/trendstore.h"
#include "sim/unitmath.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QDateTime kStart(QDate(2024, 5, 1), QTime(0, 0));

QString text(const QDateTime& t)
{
    return VireoSim::TrendStore::timeText(t);
}
} // namespace

class tst_SimTrend : public QObject
{
    Q_OBJECT

private slots:
    void backfillWritesOneSampleASecond();
    void decimationFollowsTheStepRule_data();
    void decimationFollowsTheStepRule();
    void unitColumnsAgree();
    void engineBackfillsOnlyTheGap();
    void engineAnswersInTheDisplayUnitAndClears();
};

void tst_SimTrend::backfillWritesOneSampleASecond()
{
    QTemporaryDir dir;
    VireoSim::TrendStore store(dir.filePath(QStringLiteral("trend.db")));
    QString error;
    QVERIFY2(store.open(&error), qPrintable(error));
    const qint64 written =
        store.backfill(kStart, kStart.addSecs(3600), [] { return VireoSim::TrendSample{}; });
    QCOMPARE(written, 3600);
    QCOMPARE(store.count(text(kStart), text(kStart.addSecs(3599))), 3600);
    QCOMPARE(store.lastSampleTime(), kStart.addSecs(3599));
}

void tst_SimTrend::decimationFollowsTheStepRule_data()
{
    QTest::addColumn<int>("rowsInRange");
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("expected");
    QTest::newRow("720 rows: every one") << 720 << false << 720;
    QTest::newRow("721 rows: every second") << 721 << false << 360;
    QTest::newRow("7200 rows: every eleventh") << 7200 << false << 654;
    // Step 121; the ids in range run from 101 to 86500.
    QTest::newRow("one day: about 720") << 86400 << false << 714;
    QTest::newRow("full resolution keeps all") << 7200 << true << 7200;
}

void tst_SimTrend::decimationFollowsTheStepRule()
{
    QFETCH(int, rowsInRange);
    QFETCH(bool, full);
    QFETCH(int, expected);
    QTemporaryDir dir;
    VireoSim::TrendStore store(dir.filePath(QStringLiteral("trend.db")));
    QString error;
    QVERIFY(store.open(&error));
    // Rows outside the range on both sides must not count.
    store.backfill(kStart.addSecs(-100), kStart.addSecs(rowsInRange + 100),
                   [] { return VireoSim::TrendSample{}; });
    const QJsonArray samples = store.query(text(kStart), text(kStart.addSecs(rowsInRange - 1)),
                                           QStringLiteral("volume"), full);
    QCOMPARE(samples.size(), expected);
    QVERIFY(samples.first().toArray().at(0).toString() >= text(kStart));
    QVERIFY(samples.last().toArray().at(0).toString() <= text(kStart.addSecs(rowsInRange - 1)));
}

void tst_SimTrend::unitColumnsAgree()
{
    QTemporaryDir dir;
    VireoSim::TrendStore store(dir.filePath(QStringLiteral("trend.db")));
    QString error;
    QVERIFY(store.open(&error));
    const VireoSim::TrendSample sample =
        VireoSim::UnitMath::sample(500, QStringLiteral("N2"), 0, true);
    store.append(kStart, sample);
    const auto valueIn = [&](const char* unit) {
        return store.query(text(kStart), text(kStart), QLatin1String(unit), false)
            .at(0)
            .toArray()
            .at(1)
            .toDouble();
    };
    QCOMPARE(valueIn("volume"), 500.0);
    QVERIFY(qAbs(valueIn("weight") - 500 * 18.015 / 28.014) < 1e-6);
    QCOMPARE(valueIn("dewpointf"), valueIn("dewpointc") * 9 / 5 + 32);
    QCOMPARE(valueIn("dewpointk"), valueIn("dewpointc") + 273.15);
    QVERIFY(valueIn("dewpointc") < -75 &&
            valueIn("dewpointc") > -85); // 500 ppb at 1 atm: about -80 °C
    QCOMPARE(store.query(text(kStart), text(kStart), QStringLiteral("volume"), false)
                 .at(0)
                 .toArray()
                 .at(2),
             QJsonValue(true));
}

void tst_SimTrend::engineBackfillsOnlyTheGap()
{
    QTemporaryDir dir;
    VireoSim::Options options;
    options.stateDir = dir.path();
    options.backfillDays = 1;
    options.seed = 3;
    qint64 first = 0;
    {
        VireoSim::RpcEngine engine(options);
        QString error;
        QVERIFY2(engine.open(&error), qPrintable(error));
        engine.start();
        first = engine.trend().count(QStringLiteral("0000"), QStringLiteral("9999"));
        QVERIFY(first >= 86399 && first <= 86401);
    }
    VireoSim::RpcEngine again(options);
    QString error;
    QVERIFY(again.open(&error));
    again.start();
    const qint64 second = again.trend().count(QStringLiteral("0000"), QStringLiteral("9999"));
    QVERIFY2(second - first < 30, qPrintable(QString::number(second - first)));
}

void tst_SimTrend::engineAnswersInTheDisplayUnitAndClears()
{
    QTemporaryDir dir;
    VireoSim::Options options;
    options.stateDir = dir.path();
    options.backfillDays = 1;
    VireoSim::RpcEngine engine(options);
    QString error;
    QVERIFY(engine.open(&error));
    engine.start();
    const auto ask = [&](const QByteArray& line) { return engine.handleLine(line).toObject(); };
    const QByteArray range =
        R"({"jsonrpc":"2.0","id":4,"method":"get_trend_data","params":["2000-01-01 00:00:00","2100-01-01 00:00:00"]})";
    const QJsonArray volume = ask(range).value(QStringLiteral("result")).toArray();
    QVERIFY(volume.size() > 700 && volume.size() <= 720);
    QVERIFY(volume.at(0).toArray().at(1).toDouble() > 0);
    ask(R"({"jsonrpc":"2.0","id":5,"method":"units","params":["dewpointc"]})");
    const QJsonArray dew = ask(range).value(QStringLiteral("result")).toArray();
    QVERIFY(dew.at(0).toArray().at(1).toDouble() < -50);
    QCOMPARE(ask(R"({"jsonrpc":"2.0","id":6,"method":"clear_trend_data"})")
                 .value(QStringLiteral("result")),
             QJsonValue(true));
    QCOMPARE(ask(range).value(QStringLiteral("result")).toArray().size(), 0);
}

QTEST_GUILESS_MAIN(tst_SimTrend)
#include "tst_simtrend.moc"
