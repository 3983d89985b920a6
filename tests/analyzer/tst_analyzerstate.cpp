// The analyzer's state: the four NE 107 classes checked in their order, what
// the badge draws for each, how replies feed the state (and what they must
// not change), the silence that counts as a failure, the journal entries its
// changes leave, and the controller's status requests.
#include "analyzer/analyzerstate.h"
#include "analyzer/response.h"
#include "analyzer/statuspoll.h"
#include "base/eventjournal.h"
#include "base/statejournal.h"
#include "widgets/statusbadge.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Analyzer::AlarmFlag;
using Analyzer::AlarmFlags;
using Analyzer::AnalyzerState;
using Analyzer::StatusClass;

namespace {

QStringList described(const QList<JournalEvent>& events)
{
    QStringList list;
    for (auto it = events.crbegin(); it != events.crend(); ++it)
        list << JournalEvent::kindKey(it->kind) + QLatin1Char(' ') + it->subject +
                    QLatin1Char(' ') + it->action + QLatin1Char(' ') + it->oldValue +
                    QLatin1Char('>') + it->newValue;
    return list;
}

Analyzer::Response reply(const QJsonValue& result)
{
    return Analyzer::Response(QJsonObject{{"id", 7}, {"result", result}});
}

Analyzer::Response refusal()
{
    return Analyzer::Response(
        QJsonObject{{"id", 7}, {"error", QJsonObject{{"code", -32000}, {"message", "no"}}}});
}

QStringList methodsOf(const QJsonArray& batch)
{
    QStringList methods;
    for (const QJsonValue& request : batch)
        methods << request[QLatin1String("method")].toString();
    return methods;
}

} // namespace

class tst_AnalyzerState : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void badgeShowsTheClass();
    void repliesFeedTheState();
    void silenceIsAFailure();
    void changesGoToTheJournal();
    void alarmLabelFollowsTheReactor();
    void statusPollAsksWhatThePageDoesNot();
};

void tst_AnalyzerState::classify_data()
{
    QTest::addColumn<bool>("linkUp");
    QTest::addColumn<bool>("answering");
    QTest::addColumn<int>("mode");
    QTest::addColumn<AlarmFlags>("alarms");
    QTest::addColumn<StatusClass>("expected");
    const AlarmFlags none;
    QTest::newRow("measuring, quiet") << true << true << 8 << none << StatusClass::Normal;
    QTest::newRow("link lost") << false << true << 8 << none << StatusClass::Failure;
    QTest::newRow("silent") << true << false << 8 << none << StatusClass::Failure;
    // Each system alarm is a failure, whatever the mode; the concentration
    // warning is not.
    for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable()) {
        const bool system =
            info.kind == Analyzer::AlarmKind::System && info.flag != AlarmFlag::ConcWarning;
        const bool outOfLimits =
            info.kind == Analyzer::AlarmKind::User || info.flag == AlarmFlag::ConcWarning;
        QTest::addRow("%s in service mode", info.method)
            << true << true << 2 << AlarmFlags(info.flag)
            << (system ? StatusClass::Failure : StatusClass::Maintenance);
        QTest::addRow("%s measuring", info.method) << true << true << 8 << AlarmFlags(info.flag)
                                                   << (system        ? StatusClass::Failure
                                                       : outOfLimits ? StatusClass::OutOfLimits
                                                                     : StatusClass::Normal);
    }
    QTest::newRow("service mode") << true << true << 2 << none << StatusClass::Maintenance;
    QTest::newRow("no mode known yet")
        << true << true << int(Analyzer::UnknownMode) << none << StatusClass::Maintenance;
    QTest::newRow("link lost beats a user alarm in service mode")
        << false << true << 2 << AlarmFlags(AlarmFlag::UserAlarm1) << StatusClass::Failure;
}

void tst_AnalyzerState::classify()
{
    QFETCH(bool, linkUp);
    QFETCH(bool, answering);
    QFETCH(int, mode);
    QFETCH(AlarmFlags, alarms);
    QFETCH(StatusClass, expected);
    QCOMPARE(AnalyzerState::classify(linkUp, answering, mode, alarms), expected);
}

void tst_AnalyzerState::badgeShowsTheClass()
{
    StatusBadge badge;
    badge.resize(badge.sizeHint());
    QSet<QRgb> colours;
    for (StatusClass c : {StatusClass::Failure, StatusClass::Maintenance, StatusClass::OutOfLimits,
                          StatusClass::Normal}) {
        badge.setStatusClass(c);
        badge.resize(badge.sizeHint());
        QCOMPARE(badge.text(), Analyzer::statusClassName(c));
        // Its words fit, and its pill is drawn in the class's colour.
        QVERIFY(badge.fontMetrics().horizontalAdvance(badge.text()) < badge.width());
        const QImage image = badge.grab().toImage();
        QCOMPARE(image.pixelColor(6, image.height() / 2), StatusBadge::classColour(c));
        colours.insert(StatusBadge::classColour(c).rgb());
    }
    QCOMPARE(colours.size(), 4);
}

void tst_AnalyzerState::repliesFeedTheState()
{
    AnalyzerState state;
    state.setLink(true, QStringLiteral("127.0.0.1:5000"));
    QSignalSpy modes(&state, &AnalyzerState::modeChanged);
    QSignalSpy alarms(&state, &AnalyzerState::alarmChanged);
    QCOMPARE(state.mode(), int(Analyzer::UnknownMode));
    QVERIFY(!state.lastRead(QStringLiteral("opmode")).isValid());

    state.take(QStringLiteral("opmode"), reply(8));
    state.take(QStringLiteral("laser_alarm_active"), reply(true));
    state.take(Analyzer::reactorMethod(), reply(true));
    state.take(Analyzer::serialNumberMethod(), reply(QStringLiteral("SN 7")));
    QCOMPARE(state.mode(), 8);
    QCOMPARE(state.alarms(), AlarmFlags(AlarmFlag::Laser));
    QVERIFY(state.reactorUsed());
    QCOMPARE(state.serialNumber(), QStringLiteral("SN 7"));
    QVERIFY(state.isFresh(QStringLiteral("opmode")));
    QVERIFY(state.lastRead(QStringLiteral("opmode")).isValid());

    // What is no reading of a fact leaves it as it was: a refusal, a text
    // for a mode, a number for a flag, a fraction or an overflowing mode, an
    // empty serial number, a method of no fact.
    state.take(QStringLiteral("opmode"), refusal());
    state.take(QStringLiteral("opmode"), reply(QStringLiteral("2")));
    state.take(QStringLiteral("opmode"), reply(2.5));
    state.take(QStringLiteral("opmode"), reply(1e12));
    state.take(QStringLiteral("laser_alarm_active"), reply(0));
    state.take(QStringLiteral("laser_alarm_active"), refusal());
    state.take(Analyzer::serialNumberMethod(), reply(QString()));
    state.take(QStringLiteral("conc"), reply(2));
    QCOMPARE(state.mode(), 8);
    QCOMPARE(state.alarms(), AlarmFlags(AlarmFlag::Laser));
    QCOMPARE(state.serialNumber(), QStringLiteral("SN 7"));
    QCOMPARE(modes.size(), 1);
    QCOMPARE(alarms.size(), 1);

    // A lost link makes the mode unknown until it is read again; the same
    // mode read then is no change.
    state.setLink(false, QStringLiteral("127.0.0.1:5000"));
    QCOMPARE(state.mode(), int(Analyzer::UnknownMode));
    QVERIFY(!state.isFresh(QStringLiteral("opmode")));
    state.setLink(true, QStringLiteral("127.0.0.1:5000"));
    QCOMPARE(state.mode(), int(Analyzer::UnknownMode));
    state.take(QStringLiteral("opmode"), reply(8));
    QCOMPARE(state.mode(), 8);
    QCOMPARE(modes.size(), 1);
}

void tst_AnalyzerState::silenceIsAFailure()
{
    AnalyzerState state;
    QCOMPARE(state.freshForMs(), 3000); // three poll ticks
    state.setFreshFor(150);
    state.setLink(true, QStringLiteral("127.0.0.1:5000"));
    state.take(QStringLiteral("opmode"), reply(8));
    QCOMPARE(state.statusClass(), StatusClass::Normal);
    QSignalSpy classes(&state, &AnalyzerState::statusClassChanged);
    QTRY_COMPARE(state.statusClass(), StatusClass::Failure);
    QVERIFY(!state.isAnswering());
    QVERIFY(!state.isFresh(QStringLiteral("opmode")));
    // Any reply, a refusal too, is the analyzer answering again.
    state.take(QStringLiteral("laser_alarm_active"), refusal());
    QCOMPARE(state.statusClass(), StatusClass::Normal);
    QCOMPARE(classes.size(), 2);
}

void tst_AnalyzerState::changesGoToTheJournal()
{
    QTemporaryDir dir;
    EventJournal journal(dir.filePath(QStringLiteral("journal.db")));
    EventJournal::setCurrent(&journal);
    AnalyzerState state;
    journalStateChanges(&state);
    QSignalSpy changed(&state, &AnalyzerState::statusClassChanged);

    // The first report of the link is where the panel starts: no entry.
    const QString server = QStringLiteral("127.0.0.1:5000");
    state.setLink(true, server);
    state.take(QStringLiteral("opmode"), reply(8));
    state.take(QStringLiteral("laser_alarm_active"), reply(true));
    state.take(QStringLiteral("user_alarm_1_active"), reply(true));
    state.take(QStringLiteral("laser_alarm_active"), reply(true)); // no change, no entry
    const QDateTime beforeClear = QDateTime::currentDateTime().addSecs(-1);
    state.take(QStringLiteral("laser_alarm_active"), reply(false));
    state.take(QStringLiteral("opmode"), reply(2));
    state.setLink(false, server);
    state.setLink(true, server);
    const QList<JournalEvent> events = journal.events({});
    QCOMPARE(described(events),
             QStringList({"mode opmode changed >8", "alarm laser_alarm_active raised >",
                          "alarm user_alarm_1_active raised >",
                          "alarm laser_alarm_active cleared >", "mode opmode changed 8>2",
                          "link 127.0.0.1:5000 lost >", "link 127.0.0.1:5000 restored >"}));
    QVERIFY(events.at(3).time >= beforeClear);

    // Failure before the link is known; maintenance once it is up (no mode
    // yet); then normal, failure, out of limits, maintenance, failure and
    // maintenance again (the mode is read anew after the link is back).
    QList<StatusClass> classes;
    for (const QList<QVariant>& signal : changed)
        classes << signal.at(0).value<StatusClass>();
    QCOMPARE(classes, QList<StatusClass>({StatusClass::Maintenance, StatusClass::Normal,
                                          StatusClass::Failure, StatusClass::OutOfLimits,
                                          StatusClass::Maintenance, StatusClass::Failure,
                                          StatusClass::Maintenance}));
    EventJournal::setCurrent(nullptr);
}

void tst_AnalyzerState::alarmLabelFollowsTheReactor()
{
    QCOMPARE(Analyzer::alarmLabel(AlarmFlag::Pressure, false), QStringLiteral("Pressure Alarm"));
    QCOMPARE(Analyzer::alarmLabel(AlarmFlag::Pressure, true),
             QStringLiteral("Utility Gas Pressure"));
    QCOMPARE(Analyzer::alarmLabel(AlarmFlag::Laser, true), QStringLiteral("Laser Alarm"));
    QCOMPARE(Analyzer::alarmLabel(QStringLiteral("no_such_alarm")),
             QStringLiteral("no_such_alarm"));
}

void tst_AnalyzerState::statusPollAsksWhatThePageDoesNot()
{
    Analyzer::StatusPoll poll;
    const int next = poll.assignRequestIds(300);
    QCOMPARE(next, 300 + Analyzer::statusMethods().size());
    QVERIFY(poll.owns(300) && poll.owns(next - 1) && !poll.owns(299) && !poll.owns(next));

    // A page that asks nothing gets every status request, in order, with the poll's ids.
    const QJsonArray all = poll.missingFrom({});
    QCOMPARE(methodsOf(all), Analyzer::statusMethods());
    for (int i = 0; i < all.size(); ++i) {
        QCOMPARE(all.at(i)[QLatin1String("id")].toInt(), 300 + i);
        QVERIFY(!all.at(i).toObject().contains(QLatin1String("params")));
    }
    // A page that asks the mode gets the flags only; one that asks them all, nothing.
    const QJsonArray withMode = poll.missingFrom({QJsonObject{{"id", 5}, {"method", "opmode"}}});
    QCOMPARE(methodsOf(withMode), Analyzer::statusMethods().mid(1));
    QJsonArray everything;
    for (const QString& method : Analyzer::statusMethods())
        everything.append(QJsonObject{{"id", 9}, {"method", method}});
    QVERIFY(poll.missingFrom(everything).isEmpty());
}

QTEST_MAIN(tst_AnalyzerState)
#include "tst_analyzerstate.moc"
