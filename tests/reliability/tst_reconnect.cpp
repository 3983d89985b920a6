// The link dropping while a reply is on its way, against the simulator: it
// writes every reply in three pieces, 15 ms apart, and closes the connection
// a chosen time after answering one method. Each probe drops the link after
// a page's whole batch reply and the first piece of the next line have come,
// then reconnects: the batch that was complete is routed, and so is the first
// batch after the reconnect.
#include "analyzer/connectioninterface.h"
#include "analyzer/rpcinterface.h"
#include "app/vireogui.h"
#include "files/filemanager.h"
#include "support/paneldriver.h"
#include "support/simclient.h"
#include "support/testsupport.h"

#include <QStackedWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {
// The simulator's pieces of one reply go out at 0, 15 and 30 ms, those of
// the line after it (the file manager's serial number poll) at 30, 45 and
// 60 ms: a drop at 45 ms leaves the page's reply whole and the next one cut.
constexpr int kDropAfterMs = 45;
constexpr int kProbes = 5;
} // namespace

class tst_Reconnect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void batchBeforeAndAfterDrop_data();
    void batchBeforeAndAfterDrop();

private:
    /// One poll tick; each tick on a live link ends with a serial number poll.
    void tick()
    {
        if (m_connection->isConnected())
            ++m_serialAsked;
        QMetaObject::invokeMethod(m_gui, "requestUpdate");
    }
    /// Ticks and waits until every serial number poll so far has its reply:
    /// the last line of each tick, so nothing is on its way after that.
    bool settle();
    /// Ids routed to the page on view since the spy was cleared.
    int routedToPage(const QSignalSpy& routed) const;

    TestSupport::IsolatedHome m_isolatedHome;
    PanelDriver m_panel{{QStringLiteral("--backfill-days"), QStringLiteral("1"),
                         QStringLiteral("--split-replies"), QStringLiteral("--control")}};
    VireoGUI* m_gui = nullptr;
    Analyzer::ConnectionInterface* m_connection = nullptr;
    FileManager* m_files = nullptr;
    int m_serialAsked = 1; // the start-up refresh asks once
    int m_serialAnswered = 0;
};

void tst_Reconnect::initTestCase()
{
    QString error;
    QVERIFY2(m_panel.start(&error), qPrintable(error));
    m_gui = m_panel.gui();
    // Every timer of the panel stops (the poll tick, the trend refresh, the
    // mini plot's move): only the test's ticks put lines on the link.
    for (QTimer* timer : m_gui->findChildren<QTimer*>())
        timer->stop();
    m_connection = m_gui->findChild<Analyzer::ConnectionInterface*>();
    m_files = m_gui->findChild<FileManager*>();
    connect(m_gui, &VireoGUI::replyRouted, this, [this](int id) {
        if (id == m_files->lastRequestId())
            ++m_serialAnswered;
    });
}

bool tst_Reconnect::settle()
{
    tick();
    return QTest::qWaitFor([this] { return m_serialAnswered == m_serialAsked; }, 5000);
}

int tst_Reconnect::routedToPage(const QSignalSpy& routed) const
{
    auto* page = dynamic_cast<Analyzer::RPCInterface*>(
        m_gui->findChild<QStackedWidget*>(QStringLiteral("pages"))->currentWidget());
    return int(std::count_if(routed.cbegin(), routed.cend(), [page](const QList<QVariant>& r) {
        const int id = r.first().toInt();
        return id >= page->firstRequestId() && id <= page->lastRequestId();
    }));
}

void tst_Reconnect::batchBeforeAndAfterDrop_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("method"); // one the page polls
    QTest::addColumn<int>("replies");    // in the page's batch
    QTest::newRow("home") << int(HOME) << "conc" << 28;
    QTest::newRow("settings, gas tab") << int(SETTINGS) << "current_gas" << 3;
    QTest::newRow("trend") << int(TREND) << "units" << 3;
}

void tst_Reconnect::batchBeforeAndAfterDrop()
{
    QFETCH(int, page);
    QFETCH(QString, method);
    QFETCH(int, replies);
    m_gui->switchToWindow(WindowType(page));
    if (!m_connection->isConnected())
        tick(); // a row before this one failed with the link down
    QVERIFY(m_connection->isConnected());
    QVERIFY(settle());

    for (int probe = 0; probe < kProbes; ++probe) {
        SimClient control;
        QVERIFY(control.connectTo(m_panel.simulator().port()));
        const QString rule = method + QStringLiteral("::") + QString::number(kDropAfterMs);
        QCOMPARE(control
                     .call(QStringLiteral("sim_control"),
                           QJsonArray{QStringLiteral("drop-link-after"), rule, true})
                     .value(QStringLiteral("result")),
                 QJsonValue(true));

        QSignalSpy routed(m_gui, &VireoGUI::replyRouted);
        tick();
        QTRY_VERIFY_WITH_TIMEOUT(!m_connection->isConnected(), 5000);
        m_serialAnswered = m_serialAsked; // the one cut off never comes
        QVERIFY2(routedToPage(routed) == replies,
                 qPrintable(QStringLiteral("probe %1: %2 of %3 replies routed before the drop")
                                .arg(probe)
                                .arg(routedToPage(routed))
                                .arg(replies)));

        tick(); // reports the loss and reconnects
        QVERIFY(m_connection->isConnected());
        routed.clear();
        QVERIFY(settle()); // reports the return and polls
        QVERIFY2(routedToPage(routed) == replies,
                 qPrintable(QStringLiteral("probe %1: %2 of %3 replies routed after the reconnect")
                                .arg(probe)
                                .arg(routedToPage(routed))
                                .arg(replies)));
    }
}

QTEST_MAIN(tst_Reconnect)
#include "tst_reconnect.moc"
