// The controller's receive path with long lines: a line long enough to be
// decoded off the GUI thread keeps its place among the lines around it, and
// the event loop goes on meanwhile.
#include "app/vireogui.h"
#include "base/globals.h"
#include "fakeanalyzer.h"
#include "screens/homewindow.h"
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int kConcOffset = 0;
constexpr int kSpeciesOffset = 1;

QString listeningOn(FakeAnalyzer& server)
{
    if (!server.listen())
        qFatal("no free loopback port");
    return server.connectionString();
}

QByteArray reply(int id, const QByteArray& result)
{
    return "{\"id\":" + QByteArray::number(id) + ",\"result\":" + result + "}";
}

} // namespace

class tst_LongLines : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_home = std::make_unique<TestSupport::IsolatedHome>(); }
    void cleanup() { m_home.reset(); }
    void longLineKeepsItsPlace();

private:
    std::unique_ptr<TestSupport::IsolatedHome> m_home;
};

void tst_LongLines::longLineKeepsItsPlace()
{
    FakeAnalyzer server;
    VireoGUI gui(listeningOn(server), nullptr);
    gui.findChild<QTimer*>(QStringLiteral("pollTimer"))->stop();
    auto* home = gui.findChild<HomeWindow*>();
    auto* conc = home->findChild<QLabel*>(QStringLiteral("concLabel"));
    auto* species = home->findChild<QLabel*>(QStringLiteral("speciesLabel"));
    QTRY_VERIFY(server.hasPeer());
    const int first = home->firstRequestId();

    // Before, in and after a line of 48 MiB (under the 64 MiB cap): each
    // sets the concentration, so only the order they are routed in leaves
    // the last one's value.
    const QByteArray padding(48 * 1024 * 1024, 'x');
    const QByteArray bytes = reply(first + kConcOffset, "1") + "\n[" +
                             reply(first + kConcOffset, "2") + "," +
                             reply(first + kSpeciesOffset, "\"CO2\"") + "," +
                             reply(0, '"' + padding + '"') + "]\n" +
                             reply(first + kConcOffset, "3") + "\n";
    // A timer keeps time while the panel receives and decodes the line.
    QElapsedTimer sinceTick;
    qint64 longestStop = 0;
    QTimer ticker;
    ticker.setInterval(5);
    connect(&ticker, &QTimer::timeout, [&] {
        longestStop = std::max(longestStop, sinceTick.restart());
    });
    server.send(bytes);
    sinceTick.start();
    ticker.start();
    QTRY_COMPARE_WITH_TIMEOUT(conc->text(), QStringLiteral("3.000"), 30000);
    QCOMPARE(species->text(), QStringLiteral("CO<sub>2</sub>"));
    qDebug() << "longest stop of the event loop:" << longestStop << "ms";
}

QTEST_MAIN(tst_LongLines)
#include "tst_longlines.moc"
