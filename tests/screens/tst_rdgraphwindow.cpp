// The ring-down graph: its one polled request, the label and the waveform.
#include "analyzer/response.h"
#include "screens/rdgraphwindow.h"
#include "support/screencheck.h"
#include "support/testsupport.h"
#include "widgets/chartsfwd.h"

#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

using TestSupport::child;

namespace {

QLineSeries* trace(RDGraphWindow& window)
{
    return qobject_cast<QLineSeries*>(
        child<QChartView>(&window, "chartView")->chart()->series().value(0));
}

/// Six pre-trigger zeros followed by the given samples.
QJsonArray afterTrigger(std::initializer_list<double> decay = {})
{
    QJsonArray samples{0, 0, 0, 0, 0, 0};
    for (double value : decay)
        samples.append(value);
    return samples;
}

/// Counts the paint events of the widget it filters.
struct PaintCounter : QObject
{
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

} // namespace

class tst_RDGraphWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<WindowType>(); }
    void requestTable();
    void waveform_data();
    void waveform();
    void repaintsAfterNewData();
    void closeGoesHome();
    void screenshot();
};

void tst_RDGraphWindow::requestTable()
{
    RDGraphWindow window(nullptr);
    window.assignRequestIds(7);
    QCOMPARE(window.firstRequestId(), 7);
    QCOMPARE(window.lastRequestId(), 7);
    QCOMPARE(
        window.updateRequests(),
        QJsonArray({QJsonObject{{"jsonrpc", "2.0"}, {"id", 7}, {"method", "last_ring_down"}}}));
}

void tst_RDGraphWindow::waveform_data()
{
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QList<QPointF>>("points");

    const QList<QPointF> previous{{6, 9.0}, {7, 8.0}};
    QTest::newRow("label and the samples after the sixth")
        << TestSupport::replyJson(3, QJsonArray{1.7e12, 12.3456, 0.5, afterTrigger({1.2, 1.1})})
        << QStringLiteral("12.35 \u00B5s,  0.50") << QList<QPointF>{{6, 1.2}, {7, 1.1}};
    QTest::newRow("no ring-down time blanks the label, trace drawn")
        << TestSupport::replyJson(3, QJsonArray{1.7e12, -1, 0, afterTrigger({0.3})}) << " "
        << QList<QPointF>{{6, 0.3}};
    QTest::newRow("three elements keep the trace")
        << TestSupport::replyJson(3, QJsonArray{1.7e12, 12.0, 0.5}) << " " << previous;
    QTest::newRow("six samples keep the trace")
        << TestSupport::replyJson(3, QJsonArray{1.7e12, 11.0, 0.25, afterTrigger()})
        << QStringLiteral("11.00 \u00B5s,  0.25") << previous;
    QTest::newRow("an error keeps everything")
        << TestSupport::errorJson(3) << QStringLiteral("10.00 \u00B5s,  1.00") << previous;
    QTest::newRow("no result keeps the trace") << QJsonObject{{"id", 3}} << " " << previous;
}

void tst_RDGraphWindow::waveform()
{
    QFETCH(QJsonObject, reply);
    QFETCH(QString, label);
    QFETCH(QList<QPointF>, points);

    RDGraphWindow window(nullptr);
    window.assignRequestIds(3);
    window.handleResponse(Analyzer::Response(
        TestSupport::replyJson(3, QJsonArray{1.7e12, 10.0, 1.0, afterTrigger({9.0, 8.0})})));
    window.handleResponse(Analyzer::Response(reply));
    QCOMPARE(child<QLabel>(&window, "labelRD")->text(), label);
    QCOMPARE(trace(window)->points(), points);
}

void tst_RDGraphWindow::repaintsAfterNewData()
{
    // The view never repaints on its own (NoViewportUpdate): a new waveform
    // must, even when the label reads the same.
    RDGraphWindow window(nullptr);
    window.resize(636, 450);
    window.assignRequestIds(3);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto waveform = [&window](double sample) {
        window.handleResponse(Analyzer::Response(
            TestSupport::replyJson(3, QJsonArray{1.7e12, 10.0, 1.0, afterTrigger({sample, 0.5})})));
    };
    waveform(1.5);
    QWidget* viewport = child<QChartView>(&window, "chartView")->viewport();
    PaintCounter paints;
    viewport->installEventFilter(&paints);
    QTRY_VERIFY(paints.count > 0);
    paints.count = 0;
    waveform(1.2);
    QTRY_VERIFY(paints.count > 0);
}

void tst_RDGraphWindow::closeGoesHome()
{
    RDGraphWindow window(nullptr);
    QSignalSpy pages(&window, &RDGraphWindow::goToWindow);
    QTest::mouseClick(child<QPushButton>(&window, "pushButtonClose"), Qt::LeftButton);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.at(0).at(0).value<WindowType>(), HOME);
}

void tst_RDGraphWindow::screenshot()
{
    RDGraphWindow window(nullptr);
    window.resize(636, 450);
    window.assignRequestIds(2);
    // The shape the analyzer sends: six samples before the trigger, then the decay.
    QJsonArray samples = afterTrigger();
    for (int i = 0; i < 634; ++i)
        samples.append(0.02 + 1.6 * std::exp(-i * 0.1 / 11.8));
    window.handleResponse(
        Analyzer::Response(TestSupport::replyJson(2, QJsonArray{1.7e12, 11.8, 1.6, samples})));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList findings = TestSupport::lookAt(&window, QStringLiteral("rdgraph"));
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_RDGraphWindow)
#include "tst_rdgraphwindow.moc"
