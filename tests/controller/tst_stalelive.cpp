// Stale values and the analyzer's state end to end, with the panel's own poll
// timer running: a simulator that stops answering (frozen, or ended) turns
// the home screen's concentration and alarm lamps grey with their age within
// three poll ticks, and the status badge away from "Normal" on any page
// within 4 s; the first
// replies of a simulator that runs again make them live at once. An alarm
// raised and cleared while the trend page is in front is journaled within
// 2 s of each change.
#include "analyzer/analyzerstate.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/eventjournal.h"
#include "screens/homewindow.h"
#include "support/paneldriver.h"
#include "support/simclient.h"
#include "support/testsupport.h"
#include "widgets/stalemarker.h"
#include "widgets/statusbadge.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

namespace {
// Three poll ticks after the last refresh, which came at the latest when the
// simulator stopped, and half a tick for the events to be handled.
constexpr int kStaleWithinMs = 3 * 1000 + 500;
// The badge follows the state's own silence rule, also three ticks.
constexpr int kBadgeWithinMs = 4000;
constexpr int kJournaledWithinMs = 2000;
} // namespace

class tst_StaleLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void frozenSimulator();
    void badgeLeavesNormalWhenFrozen_data();
    void badgeLeavesNormalWhenFrozen();
    void alarmOnTrendPageJournaled();
    void endedSimulator();

private:
    QLabel* label(const char* name) const { return m_home->findChild<QLabel*>(name); }
    bool live() const;
    bool stale() const;
    /// Waits for the value and lamps to turn stale; the time it took.
    qint64 staleAfter(const QElapsedTimer& since);

    TestSupport::IsolatedHome m_isolatedHome;
    StatusBadge* badge() const { return m_panel.window()->findChild<StatusBadge*>(); }
    /// How long until the journal's newest event is the alarm's action, or -1.
    qint64 journaledAfter(const QString& action, const QElapsedTimer& since);

    PanelDriver m_panel{{"--seed", "7", "--control"}, PanelDriver::kPanelsOwnPace};
    HomeWindow* m_home = nullptr;
};

void tst_StaleLive::initTestCase()
{
    QString error;
    QVERIFY2(m_panel.start(&error), qPrintable(error));
    m_home = m_panel.window()->findChild<HomeWindow*>();
}

void tst_StaleLive::init()
{
    // Each case starts from a live panel on its home page, whatever the one
    // before left.
    m_panel.simulator().resume();
    m_panel.gui()->switchToWindow(HOME);
    QTRY_VERIFY_WITH_TIMEOUT(live(), 5000);
}

bool tst_StaleLive::live() const
{
    const QColor grey = StaleMarker::staleColour();
    return !m_home->concentrationMarker()->isStale() && !m_home->lampMarker()->isStale() &&
           label("concLabel")->palette().color(QPalette::WindowText) != grey &&
           label("concAgeLabel")->isHidden() && label("alarmsAgeLabel")->text().isEmpty();
}

bool tst_StaleLive::stale() const
{
    // What the operator sees: grey value and lamp, each with its age.
    const QImage grey = QPixmap(":/images/GrayLight.png").toImage();
    return label("concLabel")->palette().color(QPalette::WindowText) ==
               StaleMarker::staleColour() &&
           label("systemAlarmLabel")->pixmap(Qt::ReturnByValue).toImage() == grey &&
           label("concAgeLabel")->text().endsWith(" s ago") &&
           label("alarmsAgeLabel")->text().endsWith(" s ago");
}

qint64 tst_StaleLive::staleAfter(const QElapsedTimer& since)
{
    if (!QTest::qWaitFor([this] { return stale(); }, 2 * kStaleWithinMs))
        return -1;
    return since.elapsed();
}

void tst_StaleLive::frozenSimulator()
{
    // The link stays up; the values are simply no longer refreshed.
    QElapsedTimer since;
    since.start();
    m_panel.simulator().pause();
    const qint64 ms = staleAfter(since);
    QVERIFY2(ms >= 0 && ms <= kStaleWithinMs, qPrintable(QString::number(ms)));
    qInfo() << "stale after" << ms << "ms";
    TestSupport::saveScreenshot(m_panel.window(), "stale-frozen-simulator");
    // The age goes on counting.
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::ageSeconds(label("concAgeLabel")->text()) >= 4, 3000);

    m_panel.simulator().resume();
    QTRY_VERIFY_WITH_TIMEOUT(live(), 3000);
}

void tst_StaleLive::badgeLeavesNormalWhenFrozen_data()
{
    QTest::addColumn<WindowType>("page");
    QTest::newRow("home") << HOME;
    // The trend page asks neither the mode nor the alarms itself.
    QTest::newRow("trend") << TREND;
}

void tst_StaleLive::badgeLeavesNormalWhenFrozen()
{
    QFETCH(WindowType, page);
    auto* gui = m_panel.gui();
    const QDateTime shown = QDateTime::currentDateTime();
    gui->switchToWindow(page);
    // The mode and the alarms are read on this page too.
    for (const QString& method : Analyzer::statusMethods())
        QTRY_VERIFY_WITH_TIMEOUT(gui->analyzerState()->lastRead(method) > shown, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(badge()->statusClass(), Analyzer::StatusClass::Normal, 5000);
    QElapsedTimer since;
    since.start();
    m_panel.simulator().pause();
    QVERIFY(
        QTest::qWaitFor([this] { return badge()->statusClass() != Analyzer::StatusClass::Normal; },
                        2 * kBadgeWithinMs));
    const qint64 ms = since.elapsed();
    QVERIFY2(ms <= kBadgeWithinMs, qPrintable(QString::number(ms)));
    QCOMPARE(badge()->statusClass(), Analyzer::StatusClass::Failure);
    QCOMPARE(badge()->text(), QStringLiteral("Failure"));
    m_panel.simulator().resume();
    QTRY_COMPARE_WITH_TIMEOUT(badge()->statusClass(), Analyzer::StatusClass::Normal, 3000);
}

qint64 tst_StaleLive::journaledAfter(const QString& action, const QElapsedTimer& since)
{
    const auto newest = [] {
        const QList<JournalEvent> events =
            EventJournal::current()->events({QStringLiteral("alarm"), {}, {}}, 0, 1);
        return events.isEmpty() ? QString() : events.first().subject + ' ' + events.first().action;
    };
    const QString wanted = QStringLiteral("laser_alarm_active ") + action;
    if (!QTest::qWaitFor([&] { return newest() == wanted; }, 3 * kJournaledWithinMs))
        return -1;
    return since.elapsed();
}

void tst_StaleLive::alarmOnTrendPageJournaled()
{
    QVERIFY(EventJournal::current() && EventJournal::current()->isOpen());
    m_panel.gui()->switchToWindow(TREND);
    SimClient control;
    QVERIFY(control.connectTo(m_panel.simulator().port()));
    for (const bool on : {true, false}) {
        QElapsedTimer since;
        since.start();
        const QDateTime changed = QDateTime::currentDateTime();
        QCOMPARE(control.call(QStringLiteral("sim_control"), QJsonArray{"alarm", "laser", on})
                     .value(QStringLiteral("result")),
                 QJsonValue(true));
        const qint64 ms = journaledAfter(on ? "raised" : "cleared", since);
        QVERIFY2(ms >= 0 && ms <= kJournaledWithinMs, qPrintable(QString::number(ms)));
        // Stamped when it was read, not when a page was shown.
        const QDateTime stamped =
            EventJournal::current()->events({QStringLiteral("alarm"), {}, {}}, 0, 1).first().time;
        QVERIFY(qAbs(changed.secsTo(stamped)) <= 2);
        QCOMPARE(badge()->statusClass(),
                 on ? Analyzer::StatusClass::Failure : Analyzer::StatusClass::Normal);
    }
}

void tst_StaleLive::endedSimulator()
{
    QElapsedTimer since;
    since.start();
    m_panel.simulator().kill();
    const qint64 ms = staleAfter(since);
    QVERIFY2(ms >= 0 && ms <= kStaleWithinMs, qPrintable(QString::number(ms)));
    qInfo() << "stale after" << ms << "ms";
    QCOMPARE(badge()->statusClass(), Analyzer::StatusClass::Failure);
    TestSupport::saveScreenshot(m_panel.window(), "stale-lost-link");

    QVERIFY2(m_panel.simulator().restart(), qPrintable(m_panel.simulator().errorString()));
    // The tick reconnects, the next reports it and polls: live with its replies.
    QTRY_VERIFY_WITH_TIMEOUT(live(), 5000);
    QVERIFY(badge()->statusClass() != Analyzer::StatusClass::Failure);
}

QTEST_MAIN(tst_StaleLive)
#include "tst_stalelive.moc"
