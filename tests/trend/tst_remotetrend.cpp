// The remote trend history through the whole panel, against the simulator and
// its faults: a lost reply, a server slower than the refresh, a reply to a
// window the operator has left, and a link that drops with history requests
// unanswered, an in-order server slower than the give-up. Each ends with the points on the chart
// (today's day window holds what has passed since midnight). The refresh and give-up times are
// shortened so that nothing waits 10 or 30 seconds.
#include "analyzer/connectioninterface.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "screens/homewindow.h"
#include "support/simulatorprocess.h"
#include "support/testsupport.h"
#include "trend/remotehistory.h"
#include "trend/trendwindow.h"
#include "widgets/chartsfwd.h"

#include <QChartView>
#include <QDateTimeAxis>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

using TestSupport::child;

namespace {

/// The panel on a simulator of its own, its poll timer stopped so that the
/// test decides when a tick happens.
struct LivePanel
{
    explicit LivePanel(const QStringList& simulatorArgs) : sim(simulatorArgs) {}

    bool start()
    {
        if (!sim.start()) {
            qWarning() << sim.errorString();
            return false;
        }
        connectionString() = sim.connectionString();
        setStoragePath(storage.path());
        gui = std::make_unique<VireoGUI>(sim.connectionString(), nullptr);
        child<QTimer>(gui.get(), "pollTimer")->stop();
        trend = gui->findChild<TrendWindow*>();
        home = gui->findChild<HomeWindow*>();
        trendHistory = gui->findChild<Trend::RemoteHistory*>(QStringLiteral("trendHistory"));
        homeHistory = gui->findChild<Trend::RemoteHistory*>(QStringLiteral("homeHistory"));
        refreshTimer = child<QTimer>(trend, "refreshTimer");
        return trend && home && trendHistory && homeHistory;
    }
    void tick() { QMetaObject::invokeMethod(gui.get(), "requestUpdate"); }

    static QScatterSeries* pointsOf(QWidget* page)
    {
        return qobject_cast<QScatterSeries*>(
            child<QChartView>(page, "chartView")->chart()->series().value(0));
    }
    QScatterSeries* trendPoints() const { return pointsOf(trend); }
    QScatterSeries* miniPlotPoints() const { return pointsOf(home); }

    /// Whether every point of the series lies on its chart's date axis.
    static bool onDateAxis(QScatterSeries* series)
    {
        auto* axis = qobject_cast<QDateTimeAxis*>(series->attachedAxes().value(0));
        const double start = double(axis->min().toMSecsSinceEpoch());
        const double end = double(axis->max().toMSecsSinceEpoch());
        const QVector<QPointF> points = series->pointsVector();
        return std::all_of(points.cbegin(), points.cend(), [start, end](const QPointF& point) {
            return point.x() >= start && point.x() <= end;
        });
    }

    TestSupport::IsolatedHome isolatedHome;
    TestSupport::SimulatorProcess sim;
    QTemporaryDir storage;
    std::unique_ptr<VireoGUI> gui;
    TrendWindow* trend = nullptr;
    HomeWindow* home = nullptr;
    Trend::RemoteHistory* trendHistory = nullptr;
    Trend::RemoteHistory* homeHistory = nullptr;
    QTimer* refreshTimer = nullptr;
};

const QString kBackfill = QStringLiteral("--backfill-days");

} // namespace

class tst_RemoteTrend : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<Analyzer::Request>(); }
    void lostReplyToTrendWindow();
    void everyReplySlowerThanRefresh();
    void inOrderServerSlowerThanGiveUp();
    void supersededWindowDiscarded();
    void miniPlotAfterReconnect();
};

void tst_RemoteTrend::lostReplyToTrendWindow()
{
    // The first history call of all is the trend screen's day, asked for as
    // soon as the link is up; its reply never comes.
    LivePanel panel({kBackfill, QStringLiteral("1"), QStringLiteral("--drop-reply"),
                     QStringLiteral("get_trend_data:1")});
    QVERIFY(panel.start());
    panel.refreshTimer->setInterval(200);
    panel.trendHistory->setGiveUpAfter(1000);

    QTRY_VERIFY_WITH_TIMEOUT(panel.trendPoints()->count() > 0, 10000);
    QVERIFY(LivePanel::onDateAxis(panel.trendPoints()));
    // And it stays drawn through the refreshes that follow.
    QSignalSpy drawn(panel.trendHistory, &Trend::RemoteHistory::historyRx);
    QVERIFY(drawn.wait(2000));
    QVERIFY(panel.trendPoints()->count() > 0);
}

void tst_RemoteTrend::everyReplySlowerThanRefresh()
{
    LivePanel panel({kBackfill, QStringLiteral("1"), QStringLiteral("--delay-method"),
                     QStringLiteral("get_trend_data:1500")});
    QVERIFY(panel.start());
    panel.refreshTimer->setInterval(200);
    // The trend screen's first request went out at start; none may follow
    // while it is unanswered.
    QSignalSpy sent(panel.trendHistory, &Trend::RemoteHistory::jsonToSend);
    int sentBeforeFirstDraw = -1;
    connect(panel.trendHistory, &Trend::RemoteHistory::historyRx, this, [&](bool cleared) {
        if (!cleared && sentBeforeFirstDraw < 0)
            sentBeforeFirstDraw = sent.size();
    });

    QTRY_VERIFY_WITH_TIMEOUT(panel.trendPoints()->count() > 0, 10000);
    QCOMPARE(sentBeforeFirstDraw, 0);
    QVERIFY(LivePanel::onDateAxis(panel.trendPoints()));
    // The next replies are as slow, and each of them is drawn.
    QSignalSpy drawn(panel.trendHistory, &Trend::RemoteHistory::historyRx);
    QTRY_VERIFY_WITH_TIMEOUT(drawn.size() >= 2, 10000);
    QVERIFY(panel.trendPoints()->count() > 0);
}

void tst_RemoteTrend::inOrderServerSlowerThanGiveUp()
{
    // Each history call takes 800 ms after the one before it, against a
    // give-up of 300 ms and a refresh every 100 ms: requests would pile up at
    // the server if every give-up and refresh asked again.
    LivePanel panel({kBackfill, QStringLiteral("1"), QStringLiteral("--serve-in-turn"),
                     QStringLiteral("get_trend_data:800")});
    QVERIFY(panel.start());
    panel.refreshTimer->setInterval(100);
    QTimer ticker; // the poll, which moves the mini plot's window
    connect(&ticker, &QTimer::timeout, [&panel] { panel.tick(); });
    ticker.start(200);
    int mostWaiting = 0;
    int giveUps = 0;
    for (Trend::RemoteHistory* source : {panel.trendHistory, panel.homeHistory}) {
        source->setGiveUpAfter(300);
        auto waiting = std::make_shared<int>(0);
        connect(source, &Trend::RemoteHistory::jsonToSend, this,
                [waiting, &mostWaiting] { mostWaiting = std::max(mostWaiting, ++*waiting); });
        const int id = source->firstRequestId();
        connect(panel.gui.get(), &VireoGUI::replyRouted, this, [waiting, id](int routed) {
            if (routed == id)
                --*waiting;
        });
        connect(source->findChild<QTimer*>(QStringLiteral("giveUpTimer")), &QTimer::timeout, this,
                [&giveUps] { ++giveUps; });
    }
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(clock.elapsed() > 6000 && giveUps >= 5 &&
                                 panel.trendPoints()->count() > 0 &&
                                 panel.miniPlotPoints()->count() > 0,
                             30000);
    QVERIFY2(mostWaiting <= Trend::RemoteHistory::kMaxOutstanding,
             qPrintable(QString::number(mostWaiting)));
    QVERIFY(panel.trendHistory->currentGiveUp() > 300); // backed off
    QVERIFY(LivePanel::onDateAxis(panel.trendPoints()));
}

void tst_RemoteTrend::supersededWindowDiscarded()
{
    LivePanel panel({kBackfill, QStringLiteral("2"), QStringLiteral("--delay-method"),
                     QStringLiteral("get_trend_data:2000")});
    QVERIFY(panel.start());
    panel.refreshTimer->stop();
    panel.gui->switchToWindow(TREND);
    panel.gui->resize(640, 480);
    panel.gui->show();

    // The operator pages back while today's reply is on its way: half of
    // yesterday and half of today. Every chart drawn must be of that window.
    const qint64 midnight = QDateTime(QDate::currentDate(), QTime(0, 0)).toMSecsSinceEpoch();
    QList<qint64> firstPointOfEachDraw;
    connect(panel.trendHistory, &Trend::RemoteHistory::historyRx, this, [&](bool cleared) {
        if (!cleared)
            firstPointOfEachDraw << panel.trendHistory->points().first().time;
    });
    QTest::mouseClick(child<QPushButton>(panel.trend, "backPushButton"), Qt::LeftButton);
    QCOMPARE(panel.trend->windowEnd(), QDateTime(QDate::currentDate(), QTime(12, 0)));

    QTRY_VERIFY_WITH_TIMEOUT(!firstPointOfEachDraw.isEmpty(), 10000);
    // The server answers in order: today's reply came first and was dropped.
    QCOMPARE(firstPointOfEachDraw.size(), 1);
    QVERIFY(firstPointOfEachDraw.first() < midnight);
    QTRY_VERIFY(panel.trendPoints()->count() > 100);
    QVERIFY(LivePanel::onDateAxis(panel.trendPoints()));
    QVERIFY(panel.trendPoints()->at(0).x() < midnight);
    TestSupport::saveScreenshot(panel.gui.get(), QStringLiteral("trend-paged-back-live"));
}

void tst_RemoteTrend::miniPlotAfterReconnect()
{
    // The link drops 200 ms after the first history call, before any history
    // reply (each takes a second): both first requests are lost with it.
    LivePanel panel({kBackfill, QStringLiteral("1"), QStringLiteral("--delay-method"),
                     QStringLiteral("get_trend_data:1000"), QStringLiteral("--drop-link-after"),
                     QStringLiteral("get_trend_data::200")});
    QVERIFY(panel.start());
    // Only the mini plot's own request may fill it.
    panel.refreshTimer->stop();
    auto* connection = panel.gui->findChild<Analyzer::ConnectionInterface*>();
    QTRY_VERIFY_WITH_TIMEOUT(!connection->isConnected(), 5000);
    QCOMPARE(panel.miniPlotPoints()->count(), 0);

    // Two ticks: the first reports the loss and reconnects, the second
    // reports the link restored, and the mini plot asks again.
    panel.tick();
    QVERIFY(connection->isConnected());
    QSignalSpy asked(panel.homeHistory, &Trend::RemoteHistory::jsonToSend);
    panel.tick();
    QCOMPARE(asked.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(panel.miniPlotPoints()->count() > 100, 5000);
    QVERIFY(LivePanel::onDateAxis(panel.miniPlotPoints()));
    if (auto* popup = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        popup->accept();
}

QTEST_MAIN(tst_RemoteTrend)
#include "tst_remotetrend.moc"
