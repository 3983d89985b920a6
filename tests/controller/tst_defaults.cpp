// The product's own limits and periods, read through the classes of a panel
// as the program builds it. Tests shorten most of them to run fast, so a
// changed default would otherwise pass unnoticed: each is pinned here once,
// at its product value.
#include "analyzer/analyzerstate.h"
#include "app/vireogui.h"
#include "base/eventjournal.h"
#include "fakeanalyzer.h"
#include "files/filemanager.h"
#include "launcher/fleettiming.h"
#include "procedures/certificationwindow.h"
#include "screens/homewindow.h"
#include "settings/settingswindow.h"
#include "support/testsupport.h"
#include "trend/remotehistory.h"
#include "trend/trendwindow.h"
#include "widgets/stalemarker.h"

#include <QTimer>
#include <QtTest>

class tst_Defaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void limits_data();
    void limits();

private:
    TestSupport::IsolatedHome m_home;
    FakeAnalyzer m_server;
    std::unique_ptr<VireoGUI> m_gui;
};

void tst_Defaults::initTestCase()
{
    QVERIFY(m_server.listen());
    m_gui = std::make_unique<VireoGUI>(m_server.connectionString(), nullptr);
}

void tst_Defaults::cleanupTestCase()
{
    m_gui.reset();
}

void tst_Defaults::limits_data()
{
    QTest::addColumn<int>("actual");
    QTest::addColumn<int>("product");

    VireoGUI* gui = m_gui.get();
    const auto timer = [gui](QObject* owner, const char* name) {
        auto* found = owner ? owner->findChild<QTimer*>(QLatin1String(name)) : nullptr;
        return found ? found->interval() : -1;
    };
    auto* home = gui->findChild<HomeWindow*>();
    auto* settings = gui->findChild<SettingsWindow*>();
    auto* trendHistory = gui->findChild<Trend::RemoteHistory*>(QStringLiteral("trendHistory"));
    auto* homeHistory = gui->findChild<Trend::RemoteHistory*>(QStringLiteral("homeHistory"));
    const FleetTiming fleet;

    // clang-format off
    QTest::newRow("poll tick") << timer(gui, "pollTimer") << 1000;
    QTest::newRow("journal bound") << EventJournal::current()->bound() << 100000;
    QTest::newRow("transfer reply limit") << gui->findChild<FileManager*>()->replyTimeout() << 30000;
    QTest::newRow("trend screen give-up") << (trendHistory ? trendHistory->giveUpAfter() : -1) << 30000;
    QTest::newRow("mini plot give-up") << (homeHistory ? homeHistory->giveUpAfter() : -1) << 120000;
    QTest::newRow("trend screen refresh") << timer(gui->findChild<TrendWindow*>(), "refreshTimer") << 10000;
    QTest::newRow("mini plot move") << timer(home, "miniPlotTimer") << 60000;
    QTest::newRow("stale after") << home->concentrationMarker()->staleAfter() << 3000;
    QTest::newRow("status silence") << gui->analyzerState()->freshForMs() << 3000;
    QTest::newRow("procedure wait") << timer(gui->findChild<CertificationWindow*>(), "procedureTimeout") << 60000;
    QTest::newRow("settings editing") << timer(settings, "editingTimer") << 60000;
    QTest::newRow("data filter") << timer(settings, "dataFilterTimer") << 3000;
    QTest::newRow("fleet refresh") << fleet.refreshMs << 5000;
    QTest::newRow("fleet limit per attempt") << fleet.timeoutMs << 2000;
    QTest::newRow("fleet longest retry") << fleet.longestRetryMs << 60000;
    // clang-format on
}

void tst_Defaults::limits()
{
    QFETCH(int, actual);
    QFETCH(int, product);
    QCOMPARE(actual, product);
}

QTEST_MAIN(tst_Defaults)
#include "tst_defaults.moc"
