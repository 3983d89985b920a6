// The controller's part in the journal against a scripted server: the status
// badge follows link, mode and alarms; a tap on it opens the journal page,
// which polls nothing, and closing it returns to the page as it was; link,
// mode, alarm changes and every write a page sends are journaled, each with
// its analyzer, each change once across restarts; the panel's own starts and
// stops are journaled, and a start after the panel was killed says so.
#include "analyzer/analyzerfacts.h"
#include "analyzer/analyzerstate.h"
#include "app/vireogui.h"
#include "base/eventjournal.h"
#include "base/globals.h"
#include "fakeanalyzer.h"
#include "procedures/certificationwindow.h"
#include "screens/homewindow.h"
#include "screens/journalmodel.h"
#include "screens/journalwindow.h"
#include "settings/settingswindow.h"
#include "support/testsupport.h"
#include "widgets/statusbadge.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

namespace {

const QByteArray kSerialPoll = R"("method":"serial_number")";

/// A panel on its own scripted server, its poll timer stopped.
struct Panel
{
    explicit Panel(quint16 port = 0) : gui(listening(server, port), nullptr)
    {
        gui.findChild<QTimer*>(QStringLiteral("pollTimer"))->stop();
        pages = gui.findChild<QStackedWidget*>(QStringLiteral("pages"));
        badge = gui.findChild<StatusBadge*>(QStringLiteral("statusBadge"));
        home = gui.findChild<HomeWindow*>();
        // The start-up traffic (a batch per client, then two history
        // requests) is not what these tests look at.
        if (!QTest::qWaitFor([this] { return server.lines.size() == 16; }, 5000))
            qFatal("no start-up traffic");
        server.lines.clear();
    }
    static QString listening(FakeAnalyzer& server, quint16 port)
    {
        if (!server.listen(port))
            qFatal("no free loopback port");
        return server.connectionString();
    }
    void tick() { QMetaObject::invokeMethod(&gui, "requestUpdate"); }
    QWidget* page() const { return pages->currentWidget(); }
    /// The journal's events, oldest first, in short.
    static QStringList journal()
    {
        QStringList list;
        const QList<JournalEvent> events = EventJournal::current()->events({}, 0, 1000);
        for (auto it = events.crbegin(); it != events.crend(); ++it)
            list << JournalEvent::kindKey(it->kind) + " " + it->subject + " " + it->action + " " +
                        it->oldValue + ">" + it->newValue;
        return list;
    }

    FakeAnalyzer server;
    VireoGUI gui;
    QStackedWidget* pages = nullptr;
    StatusBadge* badge = nullptr;
    HomeWindow* home = nullptr;
};

} // namespace

class tst_JournalPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void badgeFollowsTheAnalyzer();
    void journalFromTheBadgeAndBack();
    void writesAreJournaled();
    void restartWithAnAlarmHeld();
    void twoAnalyzersOneHome();
    void killedPanelShowsOnTheNextStart();

private:
    std::unique_ptr<TestSupport::IsolatedHome> m_home;
};

void tst_JournalPanel::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalis"));
    QCoreApplication::setApplicationName(QStringLiteral("VireoGUI"));
}

void tst_JournalPanel::init()
{
    // A journal of its own per test, in the test's data folder.
    m_home = std::make_unique<TestSupport::IsolatedHome>();
}

void tst_JournalPanel::cleanup()
{
    m_home.reset();
}

void tst_JournalPanel::badgeFollowsTheAnalyzer()
{
    Panel panel;
    QVERIFY(EventJournal::current() && EventJournal::current()->isOpen());
    QVERIFY(EventJournal::current()->path().startsWith(m_home->path()));
    // Linked, but no mode read yet.
    QCOMPARE(panel.badge->statusClass(), Analyzer::StatusClass::FunctionCheck);

    // Each step's class differs from the one before, so a tick's replies are
    // seen to arrive.
    const auto answer = [&panel](int mode, const QStringList& alarms) {
        panel.server.results.clear();
        panel.server.results.insert("opmode", mode);
        for (const char* flag : {"laser_alarm_active", "pressure_alarm_active",
                                 "user_alarm_1_active", "user_alarm_2_active"})
            panel.server.results.insert(flag, alarms.contains(flag));
        panel.tick();
    };
    answer(8, {});
    QTRY_COMPARE(panel.badge->statusClass(), Analyzer::StatusClass::Normal);
    QCOMPARE(panel.badge->text(), QStringLiteral("Normal"));
    answer(8, {"laser_alarm_active"});
    QTRY_COMPARE(panel.badge->statusClass(), Analyzer::StatusClass::Failure);
    // A process alarm alone leaves the analyzer normal.
    answer(8, {"user_alarm_1_active"});
    QTRY_COMPARE(panel.badge->statusClass(), Analyzer::StatusClass::Normal);
    answer(8, {"pressure_alarm_active"});
    QTRY_COMPARE(panel.badge->statusClass(), Analyzer::StatusClass::Uncertain);
    answer(2, {"user_alarm_1_active"});
    QTRY_COMPARE(panel.badge->statusClass(), Analyzer::StatusClass::FunctionCheck);

    panel.server.close();
    QTRY_VERIFY((panel.tick(), panel.badge->statusClass() == Analyzer::StatusClass::Failure));
    if (auto* popup = QApplication::activeModalWidget())
        popup->close();
    const QString server = panel.server.connectionString();
    QCOMPARE(
        Panel::journal(),
        QStringList({"panel " + server + " started >", "mode opmode changed >8",
                     "alarm laser_alarm_active raised >", "alarm laser_alarm_active cleared >",
                     "alarm user_alarm_1_active raised >", "alarm pressure_alarm_active raised >",
                     "alarm user_alarm_1_active cleared >", "mode opmode changed 8>2",
                     "alarm pressure_alarm_active cleared >", "alarm user_alarm_1_active raised >",
                     "link " + server + " lost >"}));
}

void tst_JournalPanel::journalFromTheBadgeAndBack()
{
    Panel panel;
    QTest::mouseClick(panel.badge, Qt::LeftButton);
    auto* journal = qobject_cast<JournalWindow*>(panel.page());
    QVERIFY(journal);
    // The journal polls nothing: a tick sends the status poll and the file
    // manager's poll alone.
    panel.tick();
    QTRY_COMPARE(panel.server.lines.size(), 2);
    QCOMPARE(TestSupport::methodsIn(panel.server.lines.at(0)), Analyzer::statusMethods());
    QVERIFY(panel.server.lines.at(1).contains(kSerialPoll));
    QCOMPARE(QJsonDocument::fromJson(panel.server.lines.at(1)).array().size(), 1);
    QTest::mouseClick(panel.badge, Qt::LeftButton); // on the journal already
    QCOMPARE(panel.page(), journal);
    QTest::mouseClick(journal->findChild<QPushButton*>("pushButtonClose"), Qt::LeftButton);
    QCOMPARE(panel.page(), panel.home);

    // From a procedure under way and back to it, not begun anew.
    QTemporaryDir storage;
    setStoragePath(storage.path());
    auto* certification = panel.gui.findChild<CertificationWindow*>();
    auto* status = certification->findChild<QLabel*>("labelStatus");
    panel.gui.switchToWindow(CERTIFICATION);
    panel.server.send(QByteArray(R"({"id":)") +
                      QByteArray::number(certification->firstRequestId()) + R"(,"result":8})" +
                      "\n");
    QTRY_VERIFY(status->text().startsWith("Supply zero gas"));
    QTest::mouseClick(panel.badge, Qt::LeftButton);
    QCOMPARE(panel.page(), journal);
    QTest::mouseClick(journal->findChild<QPushButton*>("pushButtonClose"), Qt::LeftButton);
    QCOMPARE(panel.page(), certification);
    QVERIFY(status->text().startsWith("Supply zero gas"));
}

void tst_JournalPanel::writesAreJournaled()
{
    Panel panel;
    auto* settings = panel.gui.findChild<SettingsWindow*>();
    // What the analyzer last reported for the laser current is the old value;
    // in service mode the field opens the keypad.
    const int laserCurrent = settings->firstRequestId() + 33;
    panel.server.send(QByteArray(R"([{"id":)") + QByteArray::number(settings->firstRequestId()) +
                      R"(,"result":2},{"id":)" + QByteArray::number(laserCurrent) +
                      R"(,"result":95.5}])" + "\n");
    QTRY_COMPARE(settings->reportedValue(laserCurrent), QStringLiteral("95.5"));

    panel.gui.switchToWindow(SETTINGS);
    QTest::mouseClick(settings->findChild<QLineEdit*>("laserCurrentLineEdit"), Qt::LeftButton);
    for (const char* key : {"pushButton_9", "pushButton_6", "pushButton_OK"})
        QTest::mouseClick(panel.page()->findChild<QPushButton*>(key), Qt::LeftButton);
    QCOMPARE(panel.page(), settings);
    QTRY_COMPARE(panel.server.lines.size(), 1);
    QVERIFY(panel.server.lines.first().contains(R"("method":"laser_current","params":[96])"));
    QCOMPARE(Panel::journal().last(), QStringLiteral("setting laser_current sent 95.5>96"));
    // Shown by the settings page's label for it, with the method beside it.
    const QStringList row = JournalModel::texts(EventJournal::current()->events({}, 0, 1).value(0));
    QCOMPARE(row.at(JournalModel::EventColumn),
             QStringLiteral("Laser I (mA) changed from 95.5 to 96"));
    QCOMPARE(row.at(JournalModel::MethodColumn), QStringLiteral("laser_current"));

    // A mode asked for on the mode page; then one asked for without a link.
    panel.gui.switchToWindow(MODE);
    QTest::mouseClick(panel.page()->findChild<QPushButton*>("pushButtonService"), Qt::LeftButton);
    QCOMPARE(Panel::journal().last(), QStringLiteral("setting opmode sent >2"));
    panel.server.close();
    QTRY_VERIFY((panel.tick(), panel.badge->statusClass() == Analyzer::StatusClass::Failure));
    if (auto* popup = QApplication::activeModalWidget())
        popup->close();
    panel.gui.switchToWindow(MODE);
    QTest::mouseClick(panel.page()->findChild<QPushButton*>("pushButtonMeasure"), Qt::LeftButton);
    QCOMPARE(Panel::journal().last(), QStringLiteral("setting opmode dropped >8"));
}

namespace {

/// An analyzer in measure mode with user alarm 1 active.
void holdAlarm(Panel& panel, const QString& serial)
{
    panel.server.results.insert("opmode", 8);
    panel.server.results.insert("serial_number", serial);
    for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable())
        panel.server.results.insert(info.method, info.flag == Analyzer::AlarmFlag::UserAlarm1);
    panel.tick();
}

} // namespace

void tst_JournalPanel::restartWithAnAlarmHeld()
{
    quint16 port = 0;
    {
        Panel panel;
        port = panel.server.port();
        holdAlarm(panel, "SN-1");
        QTRY_VERIFY(Panel::journal().contains("alarm user_alarm_1_active raised >"));
    }
    const QString server = QStringLiteral("127.0.0.1:%1").arg(port);
    // Started again on the same analyzer, the alarm still active: no second
    // "raised"; then it clears, and the row says how long it was active.
    Panel again(port);
    QCOMPARE(again.server.connectionString(), server);
    holdAlarm(again, "SN-1");
    const auto userAlarm = [](Panel& panel) {
        return panel.gui.analyzerState()->alarms().testFlag(Analyzer::AlarmFlag::UserAlarm1);
    };
    QTRY_VERIFY(userAlarm(again));
    again.server.results.insert("user_alarm_1_active", false);
    again.tick();
    QTRY_VERIFY(!userAlarm(again));
    QCOMPARE(
        Panel::journal(),
        QStringList({"panel " + server + " started >", "mode opmode changed >8",
                     "alarm user_alarm_1_active raised >", "panel " + server + " stopped >",
                     "panel " + server + " started >", "alarm user_alarm_1_active cleared >"}));
    const QList<JournalEvent> events = EventJournal::current()->events({}, 0, 10);
    const JournalEvent cleared = events.first();
    QCOMPARE(cleared.since, events.at(3).time); // when it was raised, in the first run
    // Every event of both runs names the analyzer.
    for (const JournalEvent& e : events)
        QVERIFY(e.serial == "SN-1" && e.address == server);
}

void tst_JournalPanel::twoAnalyzersOneHome()
{
    QString first;
    {
        Panel panel;
        first = panel.server.connectionString();
        holdAlarm(panel, "SN-A");
        QTRY_VERIFY(Panel::journal().contains("alarm user_alarm_1_active raised >"));
    }
    Panel panel;
    holdAlarm(panel, "SN-B");
    QTRY_VERIFY(panel.gui.analyzerState()->alarms().testFlag(Analyzer::AlarmFlag::UserAlarm1));
    // The other analyzer's alarm is its own: this one's is raised too.
    QCOMPARE(EventJournal::current()->count({"alarm", {}, {}}), 2);
    QTest::mouseClick(panel.badge, Qt::LeftButton);
    auto* journal = qobject_cast<JournalWindow*>(panel.page());
    QVERIFY(journal);
    // The panel is not on screen here: the page reads afresh as when it is shown.
    QTRY_VERIFY(!EventJournal::current()->serial().isEmpty());
    journal->refresh();
    // This analyzer's events only: its start, mode and alarm.
    QTRY_COMPARE(journal->model()->rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(journal->model()->index(row, JournalModel::AnalyzerColumn).data().toString(),
                 QStringLiteral("SN-B"));
    auto* analyzers = journal->findChild<QComboBox*>("analyzerComboBox");
    QCOMPARE(analyzers->currentText(), QStringLiteral("SN-B"));
    analyzers->setCurrentIndex(1);
    emit analyzers->activated(1);
    QStringList serials;
    for (int row = 0; row < journal->model()->rowCount(); ++row)
        serials << journal->model()->index(row, JournalModel::AnalyzerColumn).data().toString();
    QCOMPARE(serials.count("SN-B"), 3);
    QCOMPARE(serials.count("SN-A"), 4);
    Q_UNUSED(first)
}

void tst_JournalPanel::killedPanelShowsOnTheNextStart()
{
    FakeAnalyzer server;
    QVERIFY(server.listen());
    server.results.insert("serial_number", "SN-K");
    const QString home = m_home->path();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    QTemporaryDir storage;
    const QStringList arguments = {"127.0.0.1", QString::number(server.port()), storage.path()};
    const QString file = home + "/.local/share/Orvalis/VireoGUI/journal.db";
    const auto runOnce = [&]() {
        QProcess panel;
        panel.setProcessEnvironment(env);
        panel.start(TestSupport::binDir() + QStringLiteral("/marlomax"), arguments);
        if (!panel.waitForStarted())
            return QString("not started");
        // Its start recorded, it is killed.
        EventJournal reader(file);
        const EventJournal::Filter starts{"panel", {}, {}};
        const int before = reader.count(starts);
        if (!QTest::qWaitFor([&] { return reader.count(starts) > before; }, 20000))
            return QStringLiteral("not recorded");
        const QString action = reader.events(starts, 0, 1).value(0).action;
        panel.kill();
        panel.waitForFinished();
        return action;
    };
    QCOMPARE(runOnce(), QStringLiteral("started"));
    QCOMPARE(runOnce(), QStringLiteral("restarted"));
}

QTEST_MAIN(tst_JournalPanel)
#include "tst_journalpanel.moc"
