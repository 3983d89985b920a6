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
#include <functional>

using Trend::LocalHistory;
using Trend::RemoteHistory;

namespace {

const QString kFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QDateTime kBase(QDate(2024, 3, 1), QTime(0, 0));

/// Writes trend.db with rows ids 1..rows, row i at the local time timeOf(i)
/// (by default one second apart from kBase). Row i holds i in conc_ppbv,
/// 1000 + i in conc_ppbw, -i in conc_dewc, -1000 - i in conc_dewf, and an
/// alarm on every third row.
QString makeTrendDatabase(
    const QString& folder, int rows,
    const std::function<QDateTime(int)>& timeOf = [](int i) { return kBase.addSecs(i); })
{
    const QString path = folder + QStringLiteral("/trend.db");
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot create %s", qPrintable(path));
        QSqlQuery query(db);
        query.exec(
            QStringLiteral("CREATE TABLE trend_table (id INTEGER PRIMARY KEY, date_time TEXT, "
                           "conc_ppbv REAL, conc_ppbw REAL, conc_dewc REAL, conc_dewf REAL, "
                           "system_alarm BOOLEAN)"));
        db.transaction();
        query.prepare(QStringLiteral("INSERT INTO trend_table VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 1; i <= rows; ++i) {
            query.addBindValue(i);
            query.addBindValue(timeOf(i).toLocalTime().toString(kFormat));
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

// Europe/Berlin, 2024-10-27: 03:00 CEST becomes 02:00 CET at 01:00 UTC.
const QDateTime kAutumnChange = QDateTime(QDate(2024, 10, 27), QTime(1, 0), Qt::UTC);
// An hour across it: 00:30 to 01:30 UTC.
const QDateTime kAutumnWindowStart = kAutumnChange.addSecs(-1800);
// Samples every ten minutes from 00:00 to 01:50 UTC hold their minute past
// 00:00 UTC; those from 00:30 to 01:30 lie in the window.
const QList<double> kAutumnMinutesInWindow{30, 40, 50, 60, 70, 80, 90};

/// The samples as a query sorted by text returns them: both passes of each
/// text of the repeated hour together, the earlier first.
QList<std::pair<QString, int>> autumnSamplesInTextOrder()
{
    QList<std::pair<QString, int>> samples;
    for (int minute = 0; minute < 60; minute += 10) {
        for (int pass : {0, 60})
            samples.append({kAutumnChange.addSecs((minute + pass) * 60 - 3600)
                                .toLocalTime()
                                .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                            minute + pass});
    }
    return samples;
}

QList<double> sortedValues(const QVector<Trend::TrendPoint>& points)
{
    QList<double> values;
    for (const Trend::TrendPoint& point : points)
        values << point.value;
    std::sort(values.begin(), values.end());
    return values;
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
    void databaseCreatedLater();
    void remoteBeforeRegistration();
    void remoteRequestAndReply();
    void remoteOddReplies_data();
    void remoteOddReplies();
    void remoteReplyRule_data();
    void remoteReplyRule();
    void remoteThinning_data();
    void remoteThinning();
    void remoteCutToWindow();
    void localCutToWindow();
    void remoteSlidingWindow();

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
    QTest::ignoreMessage(
        QtDebugMsg, QRegularExpression(QStringLiteral("^error opening trend database .*absent")));
    LocalHistory history(path, nullptr);
    QSignalSpy spy(&history, &LocalHistory::historyRx);
    history.requestRange(kBase, kBase.addDays(1), QStringLiteral("volume"));
    QCOMPARE(spy.size(), 1);
    QVERIFY(history.points().isEmpty());

    // Reading never creates the file.
    const QString sibling = dir.path() + QStringLiteral("/trend.db");
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(QStringLiteral("^error opening trend database")));
    LocalHistory reader(sibling, nullptr);
    QVERIFY(!QFile::exists(sibling));
}

void tst_TrendHistory::databaseCreatedLater()
{
    // The panel may start before the analyzer has written its first sample.
    QTemporaryDir dir;
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(QStringLiteral("^error opening trend database")));
    LocalHistory history(dir.path() + QStringLiteral("/trend.db"), nullptr);
    history.requestRange(kBase, kBase.addDays(1), QStringLiteral("volume"));
    QVERIFY(history.points().isEmpty());
    makeTrendDatabase(dir.path(), 10);
    history.refresh();
    QCOMPARE(history.points().size(), 10);
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

    // A reply nobody asked for, outside the window, changes nothing; a
    // refresh asks again for the same range and keeps the points until its
    // reply replaces them.
    QTest::ignoreMessage(QtDebugMsg, "Trend history reply to no request dropped");
    history.handleResponse(reply(R"({"id":40,"result":[["2024-03-01 02:20:00",13,false]]})"));
    QCOMPARE(history.points().size(), 1);
    QCOMPARE(rx.size(), 2);
    history.refresh();
    QCOMPARE(history.points().size(), 1);
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.at(1).at(0).value<Analyzer::Request>().params(), request.params());
    QCOMPARE(rx.size(), 2); // a refresh announces no clearing
    history.handleResponse(reply(R"({"id":40,"result":[["2024-03-01 00:30:00",14,false]]})"));
    QCOMPARE(history.points().size(), 1);
    QCOMPARE(history.points().at(0).value, 14.0);
}

void tst_TrendHistory::remoteOddReplies_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QList<double>>("values"); // of the points kept

    QTest::newRow("error") << QByteArray(R"({"id":7,"error":{"code":3,"message":"no data"}})")
                           << QList<double>{};
    QTest::newRow("empty") << QByteArray(R"({"id":7,"result":[]})") << QList<double>{};
    QTest::newRow("no array") << QByteArray(R"({"id":7,"result":"garbage"})") << QList<double>{};
    QTest::newRow("malformed samples count, with safe defaults")
        << QByteArray(R"({"id":7,"result":[["not a date","x"],5]})") << QList<double>{0, 0};
}

void tst_TrendHistory::remoteOddReplies()
{
    QFETCH(QByteArray, json);
    QFETCH(QList<double>, values);

    RemoteHistory history(nullptr);
    history.assignRequestIds(7);
    history.requestRange(kBase, kBase.addSecs(60), QStringLiteral("volume"));
    QSignalSpy rx(&history, &RemoteHistory::historyRx);
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

void tst_TrendHistory::remoteReplyRule_data()
{
    // Steps: "A" and "B" ask for two windows an hour apart; "refresh"; "link"
    // (the link dropped or came back); "give up" (the give-up time passed);
    // "A1", "B2"...: a reply with one sample of value N inside that window;
    // "error".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("sent");     // requests that went out
    QTest::addColumn<int>("drawn");    // replies taken (historyRx(false))
    QTest::addColumn<double>("value"); // of the point kept at the end; -1 none

    QTest::newRow("a reply is taken") << QStringList{"A", "A1"} << 1 << 1 << 1.0;
    QTest::newRow("no refresh while one is unanswered")
        << QStringList{"A", "refresh", "refresh", "A1"} << 1 << 1 << 1.0;
    QTest::newRow("a refresh after the answer asks again")
        << QStringList{"A", "A1", "refresh", "A2"} << 2 << 2 << 2.0;
    QTest::newRow("a reply to a replaced window is stale")
        << QStringList{"A", "B", "A1", "B2"} << 2 << 1 << 2.0;
    QTest::newRow("a lost reply: asked again on giving up")
        << QStringList{"A", "give up", "A2"} << 2 << 1 << 2.0;
    QTest::newRow("a reply after giving up is still taken")
        << QStringList{"A", "give up", "A1", "A2"} << 2 << 2 << 2.0;
    // The late reply and the retry's cannot be told apart: one of the two
    // is still owed, so a refresh makes two waiting, never three.
    QTest::newRow("a reply after a give-up leaves one owed")
        << QStringList{"A", "give up", "A1", "refresh", "refresh"} << 3 << 1 << 1.0;
    // A silent server: retry, then a wait with two waiting, then the older lost.
    QTest::newRow("never more than two waiting")
        << QStringList{"A", "give up", "give up", "give up", "refresh", "B"} << 3 << 0 << -1.0;
    QTest::newRow("a window asked while two wait goes out after an answer")
        << QStringList{"A", "give up", "B", "A1", "A1", "B2"} << 3 << 1 << 2.0;
    // D holds A's window, as a day holds the hour asked before it.
    QTest::newRow("a given-up hour's late reply is not the next window's")
        << QStringList{"A", "give up", "D", "A1", "A1", "D2"} << 3 << 1 << 2.0;
    QTest::newRow("samples past the range asked: the ones inside are kept")
        << QStringList{"A", "A1+1 outside"} << 1 << 1 << 1.0;
    QTest::newRow("the reply to a replaced window lost, the new one fits")
        << QStringList{"A", "B", "B2"} << 2 << 1 << 2.0;
    QTest::newRow("a reply outside every window asked is dropped")
        << QStringList{"A", "A1", "B", "A3", "B2"} << 2 << 2 << 2.0;
    QTest::newRow("a reply sent twice still shows the window")
        << QStringList{"A", "A1", "A2"} << 1 << 2 << 2.0;
    QTest::newRow("an error answers its request")
        << QStringList{"A", "error", "refresh", "A2"} << 2 << 1 << 2.0;
    QTest::newRow("nothing asked, nothing taken") << QStringList{"A1"} << 0 << 0 << -1.0;
    QTest::newRow("a link change forgets what was asked")
        << QStringList{"A", "link", "refresh", "A2"} << 2 << 1 << 2.0;
}

void tst_TrendHistory::remoteReplyRule()
{
    QFETCH(QStringList, steps);
    QFETCH(int, sent);
    QFETCH(int, drawn);
    QFETCH(double, value);

    const QDateTime windowB = kBase.addSecs(3600);
    RemoteHistory history(nullptr);
    history.assignRequestIds(7);
    QCOMPARE(history.giveUpAfter(), 30000);
    QSignalSpy requests(&history, &RemoteHistory::jsonToSend);
    QSignalSpy rx(&history, &RemoteHistory::historyRx);
    auto* giveUp = history.findChild<QTimer*>(QStringLiteral("giveUpTimer"));
    QVERIFY(giveUp);
    for (const QString& step : steps) {
        if (step == "A" || step == "B") {
            const QDateTime start = step == "A" ? kBase : windowB;
            history.requestRange(start, start.addSecs(60), QStringLiteral("volume"));
        } else if (step == "D") {
            history.requestRange(kBase.addSecs(-3600), kBase.addSecs(3600),
                                 QStringLiteral("volume"));
        } else if (step == "refresh") {
            history.refresh();
        } else if (step == "link") {
            history.forgetUnanswered();
        } else if (step == "give up") {
            QVERIFY(giveUp->isActive());
            QMetaObject::invokeMethod(giveUp, "timeout");
        } else if (step == "error") {
            history.handleResponse(reply(R"({"id":7,"error":{"code":3,"message":"busy"}})"));
        } else if (step.endsWith("+1 outside")) {
            // Two samples in the window, one a second before it.
            const QString before = kBase.addSecs(-1).toString(kFormat);
            history.handleResponse(
                reply(QStringLiteral(
                          R"({"id":7,"result":[["%1",9,false],["%2",%3,false],["%4",%3,true]]})")
                          .arg(before, kBase.addSecs(10).toString(kFormat), step.mid(1, 1),
                               kBase.addSecs(20).toString(kFormat))
                          .toUtf8()));
            QCOMPARE(history.points().size(), 2);
        } else {
            const QDateTime at = step.at(0) == 'A'   ? kBase.addSecs(10)
                                 : step.at(0) == 'D' ? kBase.addSecs(-1800)
                                                     : windowB.addSecs(10);
            history.handleResponse(reply(QStringLiteral(R"({"id":7,"result":[["%1",%2,false]]})")
                                             .arg(at.toString(kFormat), step.mid(1))
                                             .toUtf8()));
        }
        QVERIFY(history.outstanding() <= RemoteHistory::kMaxOutstanding);
    }
    QCOMPARE(requests.size(), sent);
    int taken = 0;
    for (const QList<QVariant>& signal : rx)
        taken += signal.at(0).toBool() ? 0 : 1;
    QCOMPARE(taken, drawn);
    QCOMPARE(history.points().isEmpty() ? -1.0 : history.points().last().value, value);
}

void tst_TrendHistory::remoteThinning_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("secondValue");

    // The step rule of the local source, on the reply's samples in order.
    QTest::newRow("720 samples, all kept") << 720 << 720 << 1.0;
    QTest::newRow("721 samples, every second") << 721 << 361 << 2.0;
    QTest::newRow("7200 samples, every eleventh") << 7200 << 655 << 11.0;
}

void tst_TrendHistory::remoteThinning()
{
    QFETCH(int, samples);
    QFETCH(int, points);
    QFETCH(double, secondValue);

    RemoteHistory history(nullptr);
    history.assignRequestIds(7);
    history.requestRange(kBase, kBase.addDays(1), QStringLiteral("volume"));
    QJsonArray result;
    for (int i = 0; i < samples; ++i)
        result.append(QJsonArray{kBase.addSecs(i).toString(kFormat), i, false});
    history.handleResponse(Analyzer::Response(QJsonObject{{"id", 7}, {"result", result}}));
    QCOMPARE(history.points().size(), points);
    QCOMPARE(history.points().at(1).value, secondValue);
    QCOMPARE(history.points().at(1).time, kBase.addSecs(int(secondValue)).toMSecsSinceEpoch());
}

void tst_TrendHistory::remoteCutToWindow()
{
    // The hour across the autumn change asks for the texts 02:00:00 to
    // 02:59:59, which both passes of the repeated hour answer.
    RemoteHistory history(nullptr);
    history.assignRequestIds(7);
    history.requestRange(kAutumnWindowStart, kAutumnWindowStart.addSecs(3600),
                         QStringLiteral("volume"));
    QJsonArray result;
    for (const auto& [text, minute] : autumnSamplesInTextOrder())
        result.append(QJsonArray{text, minute, false});
    history.handleResponse(Analyzer::Response(QJsonObject{{"id", 7}, {"result", result}}));
    QCOMPARE(sortedValues(history.points()), kAutumnMinutesInWindow);
}

void tst_TrendHistory::localCutToWindow()
{
    // Written as the analyzer writes them: in time order, in local time.
    QTemporaryDir dir;
    const auto minuteOfRow = [](int i) { return (i - 1) * 10; };
    LocalHistory history(
        makeTrendDatabase(dir.path(), 12,
                          [&](int i) { return kAutumnChange.addSecs(minuteOfRow(i) * 60 - 3600); }),
        nullptr);
    history.requestRange(kAutumnWindowStart, kAutumnWindowStart.addSecs(3600),
                         QStringLiteral("volume"));
    QList<double> minutes;
    for (double row : sortedValues(history.points()))
        minutes << minuteOfRow(int(row));
    QCOMPARE(minutes, kAutumnMinutesInWindow);
}

void tst_TrendHistory::remoteSlidingWindow()
{
    // The mini plot's source: its window moves with the clock.
    RemoteHistory history(nullptr);
    history.setSlidingWindow(true);
    history.setGiveUpAfter(RemoteHistory::kMiniPlotGiveUpMs);
    history.assignRequestIds(7);
    QSignalSpy requests(&history, &RemoteHistory::jsonToSend);
    QSignalSpy rx(&history, &RemoteHistory::historyRx);
    history.requestRange(kBase, kBase.addDays(1), QStringLiteral("volume"));
    // A minute on, the first request still unanswered: nothing new is asked,
    // and its late reply draws the part inside the moved window.
    history.requestRange(kBase.addSecs(60), kBase.addDays(1).addSecs(60), QStringLiteral("volume"));
    QCOMPARE(requests.size(), 1);
    history.handleResponse(reply(R"({"id":7,"result":[["2024-03-01 00:00:30",1,false],)"
                                 R"(["2024-03-01 00:01:30",2,false]]})"));
    QCOMPARE(history.points().size(), 1);
    QCOMPARE(history.points().first().value, 2.0);
    QCOMPARE(rx.size(), 2); // cleared once, drawn once

    // Answered, the next move asks; another interval or unit replaces the
    // window. Two requests wait at most: the third window goes out once the
    // first is answered.
    history.requestRange(kBase.addSecs(120), kBase.addDays(1).addSecs(120),
                         QStringLiteral("volume"));
    history.requestRange(kBase.addSecs(120), kBase.addDays(7).addSecs(120),
                         QStringLiteral("volume"));
    history.requestRange(kBase.addSecs(120), kBase.addDays(7).addSecs(120),
                         QStringLiteral("weight"));
    QCOMPARE(requests.size(), 3);
    QCOMPARE(rx.size(), 4); // each replacement cleared the points
    history.handleResponse(reply(R"({"id":7,"result":[["2024-03-01 00:02:30",3,false]]})"));
    QCOMPARE(requests.size(), 4);
    history.handleResponse(reply(R"({"id":7,"result":[["2024-03-01 00:02:30",4,false]]})"));
    QVERIFY(history.points().isEmpty()); // both answer replaced ranges
    history.handleResponse(reply(R"({"id":7,"result":[["2024-03-01 00:02:30",5,false]]})"));
    QCOMPARE(history.points().first().value, 5.0);
}

// The autumn window is checked in this zone, whatever the machine runs in.
MARLOMAX_TEST_MAIN_IN_ZONE(tst_TrendHistory, QCoreApplication, "Europe/Berlin")

#include "tst_trendhistory.moc"
