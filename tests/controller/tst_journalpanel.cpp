// The controller's part in the journal against a scripted server: the status
// badge follows link, mode and alarms; a tap on it opens the journal page,
// which polls nothing, and closing it returns to the page as it was; link,
// mode, alarm changes and every write a page sends are journaled.
#include "analyzer/analyzerfacts.h"
#include "app/vireogui.h"
#include "base/eventjournal.h"
#include "base/globals.h"
#include "fakeanalyzer.h"
#include "procedures/certificationwindow.h"
#include "screens/homewindow.h"
#include "screens/journalwindow.h"
#include "settings/settingswindow.h"
#include "support/testsupport.h"
#include "widgets/statusbadge.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

namespace {

const QByteArray kSerialPoll = R"("method":"serial_number")";

/// A panel on its own scripted server, its poll timer stopped.
struct Panel
{
    Panel() : gui(listening(server), nullptr)
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
    static QString listening(FakeAnalyzer& server)
    {
        if (!server.listen())
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
            list << JournalEvent::kindKey(it->kind) + " " + it->subject + " " + it->action +
                        " " + it->oldValue + ">" + it->newValue;
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
    QTRY_COMPARE(panel.badge->statusClass(), Analyzer::StatusClass::OutOfSpecification);
    answer(2, {"user_alarm_1_active"});
    QTRY_COMPARE(panel.badge->statusClass(), Analyzer::StatusClass::FunctionCheck);

    panel.server.close();
    QTRY_VERIFY((panel.tick(), panel.badge->statusClass() == Analyzer::StatusClass::Failure));
    if (auto* popup = QApplication::activeModalWidget())
        popup->close();
    const QString server = panel.server.connectionString();
    QCOMPARE(
        Panel::journal(),
        QStringList({"mode opmode changed >8", "alarm laser_alarm_active raised >",
                     "alarm laser_alarm_active cleared >", "alarm user_alarm_1_active raised >",
                     "alarm pressure_alarm_active raised >", "alarm user_alarm_1_active cleared >",
                     "mode opmode changed 8>2", "alarm pressure_alarm_active cleared >",
                     "alarm user_alarm_1_active raised >", "link " + server + " lost >"}));
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

QTEST_MAIN(tst_JournalPanel)
#include "tst_journalpanel.moc"
