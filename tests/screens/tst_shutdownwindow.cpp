// The guided shutdown: every path of the step table with and without a
// pressure controller and a reactor, cancel and restart, and the live pressure.
#include "analyzer/response.h"
#include "app/appsetup.h"
#include "screens/shutdownwindow.h"
#include "support/screencheck.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using TestSupport::child;

namespace {

constexpr int kFirstId = 40;
enum Offset
{
    Opmode,
    ApcUsed,
    ApcPressure,
    ApcOpen,
    ReactorUsed
};

const QString kStep2Apc =
    QStringLiteral("2. Purge the analyzer with an inert pressurized gas before proceeding (if "
                   "applicable).  Press the 'Next' button when ready to proceed.");
const QString kStep2 = QStringLiteral("2. Cap sample outlet, and press the 'Next' button.");
const QString kStep3Apc =
    QStringLiteral("3. Pressure controller is set to open. Turn off vacuum pump (if applicable), "
                   "cap the sample outlet with new VCR gasket and close the sample outlet valve "
                   "(if applicable).  Then press the 'Next' button.");
const QString kStep3 = QStringLiteral("3. Cap sample inlet, and press the 'Next' button.");
const QString kStep4Apc =
    QStringLiteral("4. Pressure controller is set to controlling.  Close the valve at the sample "
                   "inlet (if applicable), quickly cap sample inlet with a new VCR gasket and "
                   "press the 'Next' button.");
const QString kStep4Reactor =
    QStringLiteral("4. Cap H2 supply inlet, and press the 'Next' button.");
const QString kStep4 = QStringLiteral("4. To shutdown press 'Next' once more.");
const QString kStep5 = QStringLiteral("5. To shutdown press 'Next' once more.");

void answer(ShutdownWindow& window, Offset offset, const QJsonValue& result)
{
    window.handleResponse(Analyzer::Response(TestSupport::replyJson(kFirstId + offset, result)));
}

QStringList stepLabels(ShutdownWindow& window)
{
    QStringList texts;
    for (const char* name : {"label_2", "label_3", "label_4", "label_5"})
        texts << child<QLabel>(&window, name)->text();
    return texts;
}

} // namespace

class tst_ShutdownWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<WindowType>();
        qRegisterMetaType<Analyzer::Request>();
    }
    void requestTable();
    void steps_data();
    void steps();
    void cancelAndRestart();
    void pressureDisplay();
    void screenshots();
};

void tst_ShutdownWindow::requestTable()
{
    ShutdownWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    QCOMPARE(window.firstRequestId(), kFirstId);
    QCOMPARE(window.lastRequestId(), kFirstId + ReactorUsed);
    QJsonArray expected;
    int id = kFirstId;
    for (const char* method : {"opmode", "apc_used", "apc_pressure", "apc_open", "reactor_used"})
        expected.append(QJsonObject{{"jsonrpc", "2.0"}, {"id", id++}, {"method", method}});
    // Every poll asks for all five.
    QCOMPARE(window.updateRequests(), expected);
    QCOMPARE(window.updateRequests(), expected);
}

void tst_ShutdownWindow::steps_data()
{
    QTest::addColumn<bool>("apc");
    QTest::addColumn<bool>("reactor");
    QTest::addColumn<int>(
        "apcFromPress"); // the analyzer's apc_used reply arrives before this press
    // Per press: what goes out ("method params"), "SHUTDOWN", or nothing.
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("labels");

    const QStringList apcEvents{R"(opmode [2])", R"(apc_open [true])", R"(apc_controlling [true])",
                                "", "SHUTDOWN"};
    QTest::newRow("no pressure controller, no reactor")
        << false << false << 1 << QStringList{R"(opmode [2])", "", "", "SHUTDOWN"}
        << QStringList{kStep2, kStep3, kStep4, " "};
    QTest::newRow("reactor without pressure controller")
        << false << true << 1 << QStringList{R"(opmode [2])", "", "", "SHUTDOWN"}
        << QStringList{kStep2, kStep3, kStep4Reactor, " "};
    QTest::newRow("pressure controller")
        << true << false << 1 << apcEvents << QStringList{kStep2Apc, kStep3Apc, kStep4Apc, kStep5};
    QTest::newRow("pressure controller and reactor")
        << true << true << 1 << apcEvents << QStringList{kStep2Apc, kStep3Apc, kStep4Apc, kStep5};
    QTest::newRow("no reply yet follows the plain column")
        << true << true << 99 << QStringList{R"(opmode [2])", "", "", "SHUTDOWN"}
        << QStringList{kStep2, kStep3, kStep4, " "};
    QTest::newRow("pressure controller known after step 2")
        << true << false << 2
        << QStringList{R"(opmode [2])", R"(apc_open [true])", R"(apc_controlling [true])", "",
                       "SHUTDOWN"}
        << QStringList{kStep2, kStep3Apc, kStep4Apc, kStep5};
}

void tst_ShutdownWindow::steps()
{
    QFETCH(bool, apc);
    QFETCH(bool, reactor);
    QFETCH(int, apcFromPress);
    QFETCH(QStringList, events);
    QFETCH(QStringList, labels);

    ShutdownWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    QSignalSpy sent(&window, &ShutdownWindow::jsonToSend);
    QSignalSpy shutdown(&window, &ShutdownWindow::shutdownNow);
    auto* next = child<QPushButton>(&window, "pushButton");

    for (int press = 1; press <= events.size(); ++press) {
        if (press == apcFromPress) {
            answer(window, ApcUsed, apc);
            answer(window, ReactorUsed, reactor);
        }
        sent.clear();
        shutdown.clear();
        QTest::mouseClick(next, Qt::LeftButton);
        const QString& expected = events.at(press - 1);
        QCOMPARE(shutdown.size(), expected == QLatin1String("SHUTDOWN") ? 1 : 0);
        if (expected.isEmpty() || expected == QLatin1String("SHUTDOWN")) {
            QCOMPARE(sent.size(), 0);
            continue;
        }
        QCOMPARE(sent.size(), 1);
        const auto request = sent.at(0).at(0).value<Analyzer::Request>();
        QCOMPARE(request.method() + ' ' +
                     QJsonDocument(request.params()).toJson(QJsonDocument::Compact),
                 expected);
        // Commands go out with the ids of the table: mode with opmode's, both
        // pressure controller states with apc_open's.
        QCOMPARE(request.id(),
                 kFirstId + (request.method() == QLatin1String("opmode") ? Opmode : ApcOpen));
    }
    QCOMPARE(stepLabels(window), labels);
}

void tst_ShutdownWindow::cancelAndRestart()
{
    ShutdownWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    answer(window, ApcUsed, true);
    auto* next = child<QPushButton>(&window, "pushButton");
    for (int press = 0; press < 3; ++press)
        QTest::mouseClick(next, Qt::LeftButton);
    QSignalSpy sent(&window, &ShutdownWindow::jsonToSend);
    QSignalSpy pages(&window, &ShutdownWindow::goToWindow);
    QTest::mouseClick(child<QPushButton>(&window, "pushButtonClose"), Qt::LeftButton);
    QCOMPARE(stepLabels(window), QStringList({" ", " ", " ", " "}));
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.at(0).at(0).value<WindowType>(), HOME);
    QCOMPARE(sent.size(), 0); // nothing is undone

    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).value<Analyzer::Request>().params(), QJsonArray{2});
    QCOMPARE(stepLabels(window).first(), kStep2Apc);

    // After the sixth step the counter wraps to the first without acting.
    ShutdownWindow wrap(nullptr);
    wrap.assignRequestIds(kFirstId);
    QSignalSpy wrapped(&wrap, &ShutdownWindow::shutdownNow);
    for (int press = 0; press < 6; ++press)
        QTest::mouseClick(child<QPushButton>(&wrap, "pushButton"), Qt::LeftButton);
    QCOMPARE(wrapped.size(), 2); // steps 5 and 6; the sixth press wraps
}

void tst_ShutdownWindow::pressureDisplay()
{
    ShutdownWindow window(nullptr);
    window.assignRequestIds(kFirstId);
    window.show();
    auto* apcWidget = child<QWidget>(&window, "apcWidget");
    QVERIFY(!apcWidget->isVisible());
    answer(window, ApcUsed, true);
    QVERIFY(apcWidget->isVisible());
    answer(window, ApcPressure, 712.6);
    QCOMPARE(child<QLineEdit>(&window, "apcReadLineEdit")->text(), QStringLiteral("713"));
    window.handleResponse(Analyzer::Response(TestSupport::errorJson(kFirstId + ApcUsed)));
    QVERIFY(apcWidget->isVisible());
    answer(window, ApcUsed, false);
    QVERIFY(!apcWidget->isVisible());
}

void tst_ShutdownWindow::screenshots()
{
    // In the panel's own look (style sheet and font), as the operator sees it.
    setUpApplication(*qApp);
    ShutdownWindow window(nullptr);
    window.resize(636, 450);
    window.assignRequestIds(kFirstId);
    answer(window, ApcUsed, true);
    answer(window, ApcPressure, 700.2);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    LOOKS_SOUND(&window, QStringLiteral("shutdown-step1"));
    for (int step = 2; step <= 5; ++step) {
        QTest::mouseClick(child<QPushButton>(&window, "pushButton"), Qt::LeftButton);
        QCoreApplication::processEvents(); // lets the layout fit the new text
        LOOKS_SOUND(&window, QStringLiteral("shutdown-step%1").arg(step));
    }
}

QTEST_MAIN(tst_ShutdownWindow)
#include "tst_shutdownwindow.moc"
