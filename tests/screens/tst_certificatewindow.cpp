// The verification reminder: each button sends its one command and goes home.
#include "analyzer/request.h"
#include "screens/certificatewindow.h"
#include "support/screencheck.h"
#include "support/testsupport.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using TestSupport::child;

class tst_CertificateWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<WindowType>();
        qRegisterMetaType<Analyzer::Request>();
    }
    void requestTable_data();
    void requestTable();
    void screenshot();
};

void tst_CertificateWindow::requestTable_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("method");

    QTest::newRow("delete") << "pushButtonDelete" << 0 << "calibration_certificate_delete";
    QTest::newRow("remind me") << "pushButtonRemindMe" << 1 << "calibration_certificate_postpone";
}

void tst_CertificateWindow::requestTable()
{
    QFETCH(QString, button);
    QFETCH(int, offset);
    QFETCH(QString, method);

    CertificateWindow window(nullptr);
    window.assignRequestIds(20);
    QCOMPARE(window.firstRequestId(), 20);
    QCOMPARE(window.lastRequestId(), 21);
    QVERIFY(window.updateRequests().isEmpty());

    QSignalSpy sent(&window, &CertificateWindow::jsonToSend);
    QSignalSpy pages(&window, &CertificateWindow::goToWindow);
    QTest::mouseClick(child<QPushButton>(&window, button), Qt::LeftButton);
    QCOMPARE(sent.size(), 1);
    const auto request = sent.at(0).at(0).value<Analyzer::Request>();
    QCOMPARE(request.json(),
             (QJsonObject{{"jsonrpc", "2.0"}, {"id", 20 + offset}, {"method", method}}));
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.at(0).at(0).value<WindowType>(), HOME);
}

void tst_CertificateWindow::screenshot()
{
    CertificateWindow window(nullptr);
    window.resize(636, 450);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList findings = TestSupport::lookAt(&window, QStringLiteral("certificate"));
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_CertificateWindow)
#include "tst_certificatewindow.moc"
