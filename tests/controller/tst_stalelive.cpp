// Stale values end to end, with the panel's own poll timer running: a
// simulator that stops answering (frozen, or ended) turns the home screen's
// concentration and alarm lamps grey with their age within 4 s, and the
// first replies of a simulator that runs again make them live at once.
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "screens/homewindow.h"
#include "support/simulatorprocess.h"
#include "support/testsupport.h"
#include "widgets/globals.h"
#include "widgets/stalemarker.h"
#include "widgets/statusbadge.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>
#include <memory>

namespace {
constexpr int kStaleWithinMs = 4000;
} // namespace

class tst_StaleLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void frozenSimulator();
    void endedSimulator();

private:
    QLabel* label(const char* name) const { return m_home->findChild<QLabel*>(name); }
    bool live() const;
    bool stale() const;
    /// Waits for the value and lamps to turn stale; the time it took.
    qint64 staleAfter(const QElapsedTimer& since);

    TestSupport::IsolatedHome m_isolatedHome;
    TestSupport::SimulatorProcess m_sim{{"--seed", "7"}};
    QTemporaryDir m_storage;
    std::unique_ptr<MainWindow> m_window;
    HomeWindow* m_home = nullptr;
};

void tst_StaleLive::initTestCase()
{
    QVERIFY2(m_sim.start(), qPrintable(m_sim.errorString()));
    connectionString() = m_sim.connectionString();
    setStoragePath(m_storage.path());
    m_window = std::make_unique<MainWindow>();
    m_home = m_window->findChild<HomeWindow*>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_StaleLive::cleanupTestCase()
{
    m_window.reset();
    m_sim.stop();
}

void tst_StaleLive::init()
{
    // Each case starts from a live panel, whatever the one before left.
    m_sim.resume();
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
    m_sim.pause();
    const qint64 ms = staleAfter(since);
    QVERIFY2(ms >= 0 && ms <= kStaleWithinMs, qPrintable(QString::number(ms)));
    qInfo() << "stale after" << ms << "ms";
    TestSupport::saveScreenshot(m_window.get(), "stale-frozen-simulator");
    // The age goes on counting.
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::ageSeconds(label("concAgeLabel")->text()) >= 4, 3000);

    m_sim.resume();
    QTRY_VERIFY_WITH_TIMEOUT(live(), 3000);
}

void tst_StaleLive::endedSimulator()
{
    QElapsedTimer since;
    since.start();
    m_sim.kill();
    const qint64 ms = staleAfter(since);
    QVERIFY2(ms >= 0 && ms <= kStaleWithinMs, qPrintable(QString::number(ms)));
    qInfo() << "stale after" << ms << "ms";
    QCOMPARE(m_window->findChild<StatusBadge*>()->statusClass(), AnalyzerStatus::Failure);
    TestSupport::saveScreenshot(m_window.get(), "stale-lost-link");

    QVERIFY2(m_sim.restart(), qPrintable(m_sim.errorString()));
    // The tick reconnects, the next reports it and polls: live with its replies.
    QTRY_VERIFY_WITH_TIMEOUT(live(), 5000);
    QVERIFY(m_window->findChild<StatusBadge*>()->statusClass() != AnalyzerStatus::Failure);
}

QTEST_MAIN(tst_StaleLive)
#include "tst_stalelive.moc"
