// The mode screen: what each button sends and which page it asks for.
#include "analyzer/response.h"
#include "screens/modewindow.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class tst_ModeWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void buttons_data();
    void buttons();
    void pollsNothing();
    void hideScansAndMasterControl();
};

void tst_ModeWindow::initTestCase()
{
    qRegisterMetaType<WindowType>();
    qRegisterMetaType<Analyzer::Request>();
}

void tst_ModeWindow::buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("sent"); // empty: nothing goes to the server
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("extraSignal");

    QTest::newRow("service") << "pushButtonService"
                             << QByteArray(
                                    R"({"id":12,"jsonrpc":"2.0","method":"opmode","params":[2]})")
                             << 0 << QByteArray(SIGNAL(service()));
    QTest::newRow("tune") << "pushButtonTune"
                          << QByteArray(
                                 R"({"id":12,"jsonrpc":"2.0","method":"opmode","params":[3]})")
                          << 0 << QByteArray(SIGNAL(tune()));
    QTest::newRow("measure") << "pushButtonMeasure"
                             << QByteArray(
                                    R"({"id":12,"jsonrpc":"2.0","method":"opmode","params":[8]})")
                             << 0 << QByteArray(SIGNAL(measure()));
    QTest::newRow("shutdown sends nothing")
        << "pushButtonShutdown" << QByteArray() << 8 << QByteArray(SIGNAL(shutdownNow()));
    QTest::newRow("scan") << "pushButtonScan" << QByteArray() << 6 << QByteArray();
    QTest::newRow("close") << "pushButtonClose" << QByteArray() << 0 << QByteArray();
}

void tst_ModeWindow::buttons()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, sent);
    QFETCH(int, page);
    QFETCH(QByteArray, extraSignal);

    ModeWindow window(nullptr);
    window.assignRequestIds(12);
    QSignalSpy json(&window, &ModeWindow::jsonToSend);
    QSignalSpy expected(&window, &ModeWindow::expectedChange);
    QSignalSpy pages(&window, &ModeWindow::goToWindow);
    std::unique_ptr<QSignalSpy> extra;
    if (!extraSignal.isEmpty())
        extra = std::make_unique<QSignalSpy>(&window, extraSignal.constData());

    auto* pushButton = window.findChild<QPushButton*>(button);
    QVERIFY(pushButton);
    QTest::mouseClick(pushButton, Qt::LeftButton);

    if (sent.isEmpty()) {
        QCOMPARE(json.size(), 0);
        QCOMPARE(expected.size(), 0);
    } else {
        QCOMPARE(json.size(), 1);
        QCOMPARE(json.at(0).at(0).value<Analyzer::Request>().toCompactJson(), sent);
        QCOMPARE(expected.size(), 1);
        QCOMPARE(expected.at(0).at(0).value<WindowType>(), HOME);
    }
    QCOMPARE(pages.size(), 1);
    QCOMPARE(int(pages.at(0).at(0).value<WindowType>()), page);
    if (extra)
        QCOMPARE(extra->size(), 1);
}

void tst_ModeWindow::pollsNothing()
{
    ModeWindow window(nullptr);
    window.assignRequestIds(30);
    QCOMPARE(window.firstRequestId(), 30);
    QCOMPARE(window.lastRequestId(), 30);
    QVERIFY(window.updateRequests().isEmpty());
    // Replies to a mode change, error or not, leave the page as it was.
    window.handleResponse(Analyzer::Response(QJsonObject{{"id", 30}, {"result", 8}}));
    window.handleResponse(Analyzer::Response(
        QJsonObject{{"id", 30}, {"error", QJsonObject{{"code", 2}, {"message", "busy"}}}}));
    QCOMPARE(window.findChild<QLabel*>("labelScan")->text(),
             QStringLiteral("Performs scans of the cavity or reference cell"));
}

void tst_ModeWindow::hideScansAndMasterControl()
{
    ModeWindow window(nullptr);
    window.show();
    auto* scan = window.findChild<QPushButton*>("pushButtonScan");
    auto* scanLabel = window.findChild<QLabel*>("labelScan");
    window.hideScans(true);
    QVERIFY(!scan->isVisible() && !scanLabel->isVisible());
    window.hideScans(false);
    QVERIFY(scan->isVisible() && scanLabel->isVisible());

    window.masterControl(false);
    QVERIFY(window.findChild<QPushButton*>("pushButtonClose")->isVisible());
    window.masterControl(true);
    QVERIFY(!window.findChild<QPushButton*>("pushButtonClose")->isVisible());
    QVERIFY(!scan->isVisible());
    QCOMPARE(window.findChild<QLabel*>("labelShutdown")->text(),
             QStringLiteral("Performs a controlled shutdown \nof all analyzers."));
    QCOMPARE(window.findChild<QLabel*>("labelService")->text(),
             QStringLiteral("Place all analyzers into stand-by to change system settings."));
}

QTEST_MAIN(tst_ModeWindow)
#include "tst_modewindow.moc"
