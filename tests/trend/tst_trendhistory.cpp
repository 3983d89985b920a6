// The two history sources: decimation and column choice against a generated
// trend database, and the remote source's request and reply handling.
#include "analyzer/response.h"
#include "support/testsupport.h"
#include "trend/localhistory.h"
#include "trend/remotehistory.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using Trend::LocalHistory;
using Trend::RemoteHistory;

namespace {

const QString kFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QDateTime kBase(QDate(2024, 3, 1), QTime(0, 0));

/// Writes trend.db with rows one second apart from kBase, ids 1..rows. Row i
/// holds i in conc_ppbv, 1000 + i in conc_ppbw, -i in conc_dewc, -1000 - i in
/// conc_dewf, and an alarm on every third row.
QString makeTrendDatabase(const QString& folder, int rows)
{
    const QString path = folder + QStringLiteral("/trend.db");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot create %s", qPrintable(path));
        QSqlQuery query(db);
        query.exec(QStringLiteral("CREATE TABLE trend_table (id INTEGER PRIMARY KEY, date_time TEXT, "
                                  "conc_ppbv REAL, conc_ppbw REAL, conc_dewc REAL, conc_dewf REAL, "
                                  "system_alarm BOOLEAN)"));
        db.transaction();
        query.prepare(QStringLiteral("INSERT INTO trend_table VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 1; i <= rows; ++i) {
            query.addBindValue(i);
            query.addBindValue(kBase.addSecs(i).toString(kFormat));
            query.addBindValue(double(i));
            query.addBindValue(1000.0 + i);
            query.addBindValue(double(-i));
            query.addBindValue(-1000.0 - i);
            query.addBindValue(i % 3 == 0);
            query.exec();
        }
        db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    return path;
}

Analyzer::Response reply(const QByteArray& json)
{
    return Analyzer::Response(QJsonDocument::fromJson(json).object());
}

} // namespace

class tst_TrendHistory : public QObject
{
    Q_OBJECT

private slots:
    void decimation_data();
    void decimation();
    void unitColumn_data();
    void unitColumn();
    void sourcesSideBySide();
    void refreshRepeatsRange();
    void missingDatabase();
    void remoteBeforeRegistration();
    void remoteRequestAndReply();
    void remoteOddReplies_data();
    void remoteOddReplies();

private:
    QTemporaryDir m_dir;
};

void tst_TrendHistory::decimation_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("firstValue");

    // Step 1 up to 720 rows, then rows / 720 + 1: only ids that are multiples survive.
    QTest::newRow("720 rows, step 1") << 720 << 720 << 1;
    QTest::newRow("721 rows, step 2") << 721 << 360 << 2;
    QTest::newRow("7200 rows, step 11") << 7200 << 654 << 11;
    QTest::newRow("empty range") << 0 << 0 << 0;
}

void tst_TrendHistory::decimation()
{
    QFETCH(int, rows);
    QFETCH(int, points);
    QFETCH(int, firstValue);

    QTemporaryDir dir;
    LocalHistory history(makeTrendDatabase(dir.path(), rows), nullptr);
    QSignalSpy spy(&history, &LocalHistory::historyRx);
    history.requestRange(kBase, kBase.addDays(1), QStringLiteral("volume"));

    QCOMPARE(history.points().size(), points);
    if (points == 0) {
        QCOMPARE(spy.size(), 1); // only the clear; an empty range announces nothing new
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        return;
    }
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(spy.at(1).at(0).toBool(), false);
    const Trend::TrendPoint first = history.points().first();
    QCOMPARE(first.value, double(firstValue));
    QCOMPARE(first.time, kBase.addSecs(firstValue).toMSecsSinceEpoch());
    QCOMPARE(first.alarm, firstValue % 3 == 0);
    // Sorted by time.
    QVERIFY(history.points().last().time > first.time);
}

void tst_TrendHistory::unitColumn_data()
{
    QTest::addColumn<QString>("unitKey");
    QTest::addColumn<double>("firstValue");

    QTest::newRow("volume") << "volume" << 1.0;
    QTest::newRow("weight") << "weight" << 1001.0;
    QTest::newRow("dew point C") << "dewpointc" << -1.0;
    QTest::newRow("dew point F") << "dewpointf" << -1001.0;
    QTest::newRow("dew point K reads volume") << "dewpointk" << 1.0;
    QTest::newRow("unknown key reads volume") << "furlongs" << 1.0;
}

void tst_TrendHistory::unitColumn()
{
    QFETCH(QString, unitKey);
    QFETCH(double, firstValue);

    QTemporaryDir dir;
    LocalHistory history(makeTrendDatabase(dir.path(), 10), nullptr);
    history.requestRange(kBase, kBase.addSecs(60), unitKey);
    QCOMPARE(history.points().size(), 10);
    QCOMPARE(history.points().first().value, firstValue);
}

void tst_TrendHistory::sourcesSideBySide()
{
    QTemporaryDir dir;
    const QString path = makeTrendDatabase(dir.path(), 100);
    LocalHistory trendScreen(path, nullptr);
    LocalHistory homeScreen(path, nullptr);
    QVERIFY(trendScreen.connectionName() != homeScreen.connectionName());
    QVERIFY(trendScreen.connectionName().startsWith(QLatin1String("local_trend_history")));

    trendScreen.requestRange(kBase, kBase.addSecs(10), QStringLiteral("weight"));
    homeScreen.requestRange(kBase.addSecs(50), kBase.addSecs(100), QStringLiteral("volume"));
    QCOMPARE(trendScreen.points().size(), 10);
    QCOMPARE(trendScreen.points().first().value, 1001.0);
    QCOMPARE(homeScreen.points().size(), 51);
    QCOMPARE(homeScreen.points().first().value, 50.0);

    // Refreshing one leaves the other's query state alone.
    trendScreen.refresh();
    QCOMPARE(trendScreen.points().first().value, 1001.0);
    QCOMPARE(homeScreen.points().first().value, 50.0);
}

void tst_TrendHistory::refreshRepeatsRange()
{
    QTemporaryDir dir;
    LocalHistory history(makeTrendDatabase(dir.path(), 30), nullptr);
    history.requestRange(kBase.addSecs(11), kBase.addSecs(20), QStringLiteral("dewpointc"));
    QSignalSpy spy(&history, &LocalHistory::historyRx);
    history.refresh();
    QCOMPARE(history.points().size(), 10);
    QCOMPARE(history.points().first().value, -11.0);
    QCOMPARE(spy.size(), 1); // no clear announcement on refresh
    QCOMPARE(spy.at(0).at(0).toBool(), false);
}

void tst_TrendHistory::missingDatabase()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/absent/trend.db");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^error opening trend database .*absent")));
    LocalHistory history(path, nullptr);
    QSignalSpy spy(&history, &LocalHistory::historyRx);
    history.requestRange(kBase, kBase.addDays(1), QStringLiteral("volume"));
    QCOMPARE(spy.size(), 1);
    QVERIFY(history.points().isEmpty());

    // Reading never creates the file.
    const QString sibling = dir.path() + QStringLiteral("/trend.db");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^error opening trend database")));
    LocalHistory reader(sibling, nullptr);
    QVERIFY(!QFile::exists(sibling));
}

void tst_TrendHistory::remoteBeforeRegistration()
{
    RemoteHistory history(nullptr);
    QSignalSpy sent(&history, &RemoteHistory::jsonToSend);
    QSignalSpy rx(&history, &RemoteHistory::historyRx);
    history.requestRange(kBase, kBase.addDays(1), QStringLiteral("volume"));
    history.refresh();
    QCOMPARE(sent.size(), 0);
    QCOMPARE(rx.size(), 1);
    QCOMPARE(rx.at(0).at(0).toBool(), true);
    QVERIFY(history.updateRequests().isEmpty());
}

void tst_TrendHistory::remoteRequestAndReply()
{
    RemoteHistory history(nullptr);
    history.assignRequestIds(40);
    QCOMPARE(history.firstRequestId(), 40);
    QCOMPARE(history.lastRequestId(), 40);
    QVERIFY(history.updateRequests().isEmpty());

    QSignalSpy sent(&history, &RemoteHistory::jsonToSend);
    QSignalSpy rx(&history, &RemoteHistory::historyRx);
    history.requestRange(kBase, kBase.addSecs(3600), QStringLiteral("weight"));
    QCOMPARE(sent.size(), 1);
    const auto request = sent.at(0).at(0).value<Analyzer::Request>();
    QCOMPARE(request.toCompactJson(),
             QByteArray(R"({"id":40,"jsonrpc":"2.0","method":"get_trend_data",)"
                        R"("params":["2024-03-01 00:00:00","2024-03-01 01:00:00"]})"));

    history.handleResponse(reply(R"({"id":40,"result":[["2024-03-01 00:10:00",12.5,true]]})"));
    QCOMPARE(history.points().size(), 1);
    QCOMPARE(history.points().at(0).value, 12.5);
    QCOMPARE(history.points().at(0).alarm, true);
    QCOMPARE(history.points().at(0).time, kBase.addSecs(600).toMSecsSinceEpoch());
    QCOMPARE(rx.size(), 2);
    QCOMPARE(rx.at(1).at(0).toBool(), false);

    // A second reply nobody asked for changes nothing; a refresh clears and
    // asks again for the same range.
    history.handleResponse(reply(R"({"id":40,"result":[["2024-03-01 00:20:00",13,false]]})"));
    QCOMPARE(history.points().size(), 1);
    QCOMPARE(rx.size(), 2);
    history.refresh();
    QVERIFY(history.points().isEmpty());
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.at(1).at(0).value<Analyzer::Request>().params(), request.params());
    QCOMPARE(rx.size(), 2); // a refresh announces no clearing
}

void tst_TrendHistory::remoteOddReplies_data()
{
    QTest::addColumn<int>("requests"); // asked before the replies arrive
    QTest::addColumn<bool>("linkChanged"); // just before the last request
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QList<double>>("values"); // of the points kept

    const QByteArray one = R"({"id":7,"result":[["2024-03-01 00:00:10",1,false]]})";
    const QByteArray two = R"({"id":7,"result":[["2024-03-01 00:00:20",2,false]]})";
    QTest::newRow("error")
        << 1 << false << QList<QByteArray>{R"({"id":7,"error":{"code":3,"message":"no data"}})", one}
        << QList<double>{};
    QTest::newRow("empty") << 1 << false << QList<QByteArray>{R"({"id":7,"result":[]})"} << QList<double>{};
    QTest::newRow("no array") << 1 << false << QList<QByteArray>{R"({"id":7,"result":"garbage"})"}
                              << QList<double>{};
    QTest::newRow("malformed samples count, with safe defaults")
        << 1 << false << QList<QByteArray>{R"({"id":7,"result":[["not a date","x"],5]})"}
        << QList<double>{0, 0};
    QTest::newRow("unsolicited") << 0 << false << QList<QByteArray>{one, two} << QList<double>{};
    QTest::newRow("one answer per request") << 1 << false << QList<QByteArray>{one, two} << QList<double>{1};
    QTest::newRow("stale answer to an earlier request")
        << 2 << false << QList<QByteArray>{one, two} << QList<double>{2};
    QTest::newRow("first answer after the link changed")
        << 2 << true << QList<QByteArray>{two} << QList<double>{2};
}

void tst_TrendHistory::remoteOddReplies()
{
    QFETCH(int, requests);
    QFETCH(bool, linkChanged);
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QList<double>, values);

    RemoteHistory history(nullptr);
    history.assignRequestIds(7);
    history.requestRange(kBase, kBase.addSecs(60), QStringLiteral("volume"));
    for (int i = 1; i < requests; ++i) {
        if (linkChanged && i == requests - 1)
            history.forgetUnanswered(); // the earlier request went out on a dropped link
        history.refresh();
    }
    if (requests == 0)
        history.handleResponse(reply(R"({"id":7,"result":[]})")); // answers the range request
    QSignalSpy rx(&history, &RemoteHistory::historyRx);
    for (const QByteArray& json : replies)
        history.handleResponse(reply(json));
    QList<double> kept;
    for (const Trend::TrendPoint& point : history.points()) {
        kept << point.value;
        // A sample without a readable time never lands in 1970.
        QVERIFY(point.time >= kBase.toMSecsSinceEpoch());
    }
    QCOMPARE(kept, values);
    QCOMPARE(rx.size(), values.isEmpty() ? 0 : 1);
}

QTEST_GUILESS_MAIN(tst_TrendHistory)
#include "tst_trendhistory.moc"
