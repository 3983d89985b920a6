// The analyzer's state: the NE 107 classes, one row for each way into each
// and one for each clash of two, what the badge draws for each, how replies feed the state (and
// what they must not change), the silence that counts as a failure, the journal entries its changes
// leave, and the controller's status requests.
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
    using A = AlarmFlag;
    using C = StatusClass;
    const AlarmFlags none;
    const int measure = Analyzer::MeasureMode;
    const int service = Analyzer::ServiceMode;
    const auto row = [](const char* name, bool link, bool answering, int mode, AlarmFlags alarms,
                        C expected) {
        QTest::newRow(name) << link << answering << mode << alarms << expected;
    };
    // One row for each way into each class.
    row("normal: measuring, quiet", true, true, measure, none, C::Normal);
    row("failure: link lost", false, true, measure, none, C::Failure);
    row("failure: silent for three polls", true, false, measure, none, C::Failure);
    row("failure: laser", true, true, measure, A::Laser, C::Failure);
    row("failure: ring-down", true, true, measure, A::RingDown, C::Failure);
    row("failure: reference cell", true, true, measure, A::RefCell, C::Failure);
    row("function check: service mode", true, true, service, none, C::FunctionCheck);
    row("function check: tune mode", true, true, Analyzer::TuneMode, none, C::FunctionCheck);
    row("function check: no mode read yet", true, true, Analyzer::UnknownMode, none,
        C::FunctionCheck);
    row("uncertain: pressure", true, true, measure, A::Pressure, C::Uncertain);
    row("uncertain: temperature", true, true, measure, A::Temperature, C::Uncertain);
    row("uncertain: detector temperature", true, true, measure, A::DetectorTemperature,
        C::Uncertain);
    row("uncertain: concentration warning", true, true, measure, A::ConcWarning, C::Uncertain);
    row("maintenance required: verification due", true, true, measure, A::CertificateExpired,
        C::MaintenanceRequired);
    // Process alarms: the gas is high, the analyzer sound.
    row("normal: user alarm 1 alone", true, true, measure, A::UserAlarm1, C::Normal);
    row("normal: both user alarms", true, true, measure, A::UserAlarm1 | A::UserAlarm2, C::Normal);
    // Where two classes hold, the first in the order wins.
    row("service mode with a laser alarm is failure", true, true, service, A::Laser, C::Failure);
    row("link lost in service mode is failure", false, true, service, none, C::Failure);
    row("silent with the verification due is failure", true, false, measure, A::CertificateExpired,
        C::Failure);
    row("service mode with a pressure alarm is function check", true, true, service, A::Pressure,
        C::FunctionCheck);
    row("service mode with the verification due is function check", true, true, service,
        A::CertificateExpired, C::FunctionCheck);
    row("ring-down and pressure alarms are failure", true, true, measure, A::RingDown | A::Pressure,
        C::Failure);
    row("pressure alarm with the verification due is uncertain", true, true, measure,
        A::Pressure | A::CertificateExpired, C::Uncertain);
    row("user alarm with the concentration warning is uncertain", true, true, measure,
        A::UserAlarm2 | A::ConcWarning, C::Uncertain);
    row("user alarm with the verification due is maintenance required", true, true, measure,
        A::UserAlarm1 | A::CertificateExpired, C::MaintenanceRequired);
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
    QSet<qint64> symbols;
    for (StatusClass c : Analyzer::statusClasses()) {
        badge.setStatusClass(c);
        badge.resize(badge.sizeHint());
        QCOMPARE(badge.text(), Analyzer::statusClassName(c));
        // High enough for a gloved finger; its words fit beside the symbol.
        QVERIFY(badge.height() >= StatusBadge::kMinHeight);
        QVERIFY(badge.fontMetrics().horizontalAdvance(badge.text()) + badge.symbolRect().right() <
                badge.width());
        const QPixmap symbol = StatusBadge::classSymbol(c, StatusBadge::kSymbolSize);
        QVERIFY2(!symbol.isNull(), qPrintable(Analyzer::statusClassSymbol(c)));
        symbols.insert(symbol.toImage().cacheKey());
    }
    QCOMPARE(symbols.size(), Analyzer::statusClasses().size());
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

    // Failure before the link is known; function check once it is up (no
    // mode yet); then normal, failure, normal again with the laser cleared
    // (the user alarm is a process alarm), function check, failure and
    // function check again (the mode is read anew after the link is back).
    QList<StatusClass> classes;
    for (const QList<QVariant>& signal : changed)
        classes << signal.at(0).value<StatusClass>();
    QCOMPARE(classes, QList<StatusClass>({StatusClass::FunctionCheck, StatusClass::Normal,
                                          StatusClass::Failure, StatusClass::Normal,
                                          StatusClass::FunctionCheck, StatusClass::Failure,
                                          StatusClass::FunctionCheck}));
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
