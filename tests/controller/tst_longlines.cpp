// The controller's receive path with long and odd lines: a line long enough
// to be decoded off the GUI thread keeps its place among the lines around it,
// also when one of its replies opens a message box, and the event loop goes
// on meanwhile; a line that only strict JSON refuses still reaches its pages.
#include "analyzer/connectioninterface.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "fakeanalyzer.h"
#include "screens/homewindow.h"
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
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

/// The panel on a scripted server, its poll stopped: only what a test sends arrives.
struct Panel
{
    Panel() : gui(listeningOn(server), nullptr)
    {
        gui.findChild<QTimer*>(QStringLiteral("pollTimer"))->stop();
        auto* home = gui.findChild<HomeWindow*>();
        conc = home->findChild<QLabel*>(QStringLiteral("concLabel"));
        species = home->findChild<QLabel*>(QStringLiteral("speciesLabel"));
        first = home->firstRequestId();
    }
    FakeAnalyzer server;
    VireoGUI gui;
    QLabel* conc = nullptr;
    QLabel* species = nullptr;
    int first = 0;
};

} // namespace

class tst_LongLines : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_home = std::make_unique<TestSupport::IsolatedHome>(); }
    void cleanup() { m_home.reset(); }
    void longLineKeepsItsPlace();
    void orderKeptAcrossAMessageBox();
    void rawTabInTheSpeciesText();

private:
    std::unique_ptr<TestSupport::IsolatedHome> m_home;
};

void tst_LongLines::longLineKeepsItsPlace()
{
    Panel panel;
    QTRY_VERIFY(panel.server.hasPeer());
    FakeAnalyzer& server = panel.server;
    QLabel* conc = panel.conc;
    QLabel* species = panel.species;
    const int first = panel.first;

    // Before, in and after a line of 48 MiB (under the 64 MiB cap): each
    // sets the concentration, so only the order they are routed in leaves
    // the last one's value.
    const QByteArray padding(48 * 1024 * 1024, 'x');
    const QByteArray bytes =
        reply(first + kConcOffset, "1") + "\n[" + reply(first + kConcOffset, "2") + "," +
        reply(first + kSpeciesOffset, "\"CO2\"") + "," + reply(0, '"' + padding + '"') + "]\n" +
        reply(first + kConcOffset, "3") + "\n";
    // A timer keeps time while the panel receives and decodes the line.
    QElapsedTimer sinceTick;
    qint64 longestStop = 0;
    QTimer ticker;
    ticker.setInterval(5);
    connect(&ticker, &QTimer::timeout,
            [&] { longestStop = std::max(longestStop, sinceTick.restart()); });
    server.send(bytes);
    sinceTick.start();
    ticker.start();
    QTRY_COMPARE_WITH_TIMEOUT(conc->text(), QStringLiteral("3.000"), 30000);
    QCOMPARE(species->text(), QStringLiteral("CO<sub>2</sub>"));
    qDebug() << "longest stop of the event loop:" << longestStop << "ms";
}

void tst_LongLines::orderKeptAcrossAMessageBox()
{
    Panel panel;
    QTRY_VERIFY(panel.server.hasPeer());
    FakeAnalyzer& server = panel.server;
    QLabel* conc = panel.conc;
    auto* connection = panel.gui.findChild<Analyzer::ConnectionInterface*>();
    const int first = panel.first;

    // A line of 2 MiB opens the server's message box with its first reply;
    // the newer reading arrives while the box is open.
    QString concWhileOpen;
    bool newerRead = false;
    TestSupport::onNextModal([&](QWidget* modal) {
        QSignalSpy received(connection, &Analyzer::ConnectionInterface::readyToRead);
        server.send(reply(first + kConcOffset, "3") + "\n");
        newerRead = received.wait(10000);
        concWhileOpen = conc->text();
        qobject_cast<QDialog*>(modal)->accept();
    });
    const QByteArray padding(2 * 1024 * 1024, 'x');
    server.send(R"([{"id":0,"error":{"code":1,"message":"warming up"}},)" +
                reply(first + kConcOffset, "2") + "," + reply(0, '"' + padding + '"') + "]\n");
    QTRY_VERIFY_WITH_TIMEOUT(newerRead, 30000);
    // Nothing overtook the rest of the long line while the box was open.
    QVERIFY(concWhileOpen != QStringLiteral("3.000"));
    QTRY_COMPARE(conc->text(), QStringLiteral("3.000"));
    QTest::qWait(0);
    QCOMPARE(conc->text(), QStringLiteral("3.000"));
}

void tst_LongLines::rawTabInTheSpeciesText()
{
    Panel panel;
    QTRY_VERIFY(panel.server.hasPeer());

    // The home batch with a raw tab in the species text, as a server that
    // writes its strings unescaped sends it: the whole batch still counts.
    panel.server.send("[" + reply(panel.first + kConcOffset, "5") + "," +
                      reply(panel.first + kSpeciesOffset, "\"C\tO2\"") + "]\n");
    QTRY_COMPARE(panel.conc->text(), QStringLiteral("5.000"));
    QVERIFY(panel.species->text().contains(QLatin1Char('\t')));
}

QTEST_MAIN(tst_LongLines)
#include "tst_longlines.moc"
