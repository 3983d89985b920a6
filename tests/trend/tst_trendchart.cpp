// The shared trend chart: its windows per interval, the series it makes, the
// points and levels it draws and its value scale.
#include "trend/trendchart.h"
#include "widgets/chartsfwd.h"

#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <QtTest>

using Trend::TrendChart;

class tst_TrendChart : public QObject
{
    Q_OBJECT

private slots:
    void windows_data();
    void windows();
    void seriesPointsAndLevels();
};

void tst_TrendChart::windows_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<qint64>("backSeconds"); // mini plot: from start to end
    QTest::addColumn<QDateTime>("start");    // trend screen, chosen on 2024-03-15
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<QDateTime>("forward"); // the start one page on
    QTest::addColumn<QString>("title");

    const QDate d(2024, 3, 15);
    QTest::newRow("week") << 0 << qint64(6 * 86400) << QDateTime(d.addDays(-6), QTime(0, 0))
                          << QDateTime(d.addDays(1), QTime(0, 0))
                          << QDateTime(d.addDays(-5), QTime(0, 0)) << "1 Week";
    QTest::newRow("day") << 1 << qint64(86400) << QDateTime(d, QTime(0, 0))
                         << QDateTime(d.addDays(1), QTime(0, 0)) << QDateTime(d, QTime(12, 0))
                         << "1 Day";
    QTest::newRow("four hours") << 2 << qint64(14400) << QDateTime(d, QTime(10, 0))
                                << QDateTime(d, QTime(14, 0)) << QDateTime(d, QTime(12, 0))
                                << "4 Hours";
    QTest::newRow("one hour") << 3 << qint64(3600) << QDateTime(d, QTime(11, 30))
                              << QDateTime(d, QTime(12, 30)) << QDateTime(d, QTime(12, 0))
                              << "1 Hour";
    QTest::newRow("no such interval")
        << 4 << qint64(-1) << QDateTime() << QDateTime() << QDateTime() << "";
}

void tst_TrendChart::windows()
{
    QFETCH(int, interval);
    QFETCH(qint64, backSeconds);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(QDateTime, forward);
    QFETCH(QString, title);

    const QDateTime plotEnd(QDate(2024, 3, 15), QTime(12, 2));
    QDateTime plotStart;
    QCOMPARE(TrendChart::windowEndingAt(interval, plotEnd, &plotStart), backSeconds >= 0);
    if (backSeconds >= 0)
        QCOMPARE(plotStart.secsTo(plotEnd), backSeconds);

    QDateTime onDateStart, onDateEnd;
    QCOMPARE(TrendChart::windowOnDate(interval, QDate(2024, 3, 15), &onDateStart, &onDateEnd),
             start.isValid());
    QCOMPARE(onDateStart, start);
    QCOMPARE(onDateEnd, end);
    if (start.isValid())
        QCOMPARE(TrendChart::windowEnd(interval, start), end);
    QCOMPARE(TrendChart::pagedStart(interval, start, 1), forward);
    QCOMPARE(TrendChart::pagedStart(interval, forward, -1), start);
    QCOMPARE(TrendChart::intervalTitle(interval), title);
}

void tst_TrendChart::seriesPointsAndLevels()
{
    TrendChart chart(QChart::ChartThemeBlueIcy);
    QCOMPARE(chart.theme(), QChart::ChartThemeBlueIcy);
    QVERIFY(!chart.legend()->isVisible());
    QScatterSeries* all =
        chart.addScatterSeries("trend", QColor(239, 136, 9, 100), QColor(140, 81, 9, 80), 5);
    QScatterSeries* touched =
        chart.addScatterSeries("touched", QColor(188, 84, 24, 90), QColor(76, 47, 16, 100));
    QScatterSeries* alarms =
        chart.addScatterSeries("alarm", QColor(211, 10, 10, 80), QColor(211, 10, 10, 100), 6);
    QLineSeries* level = chart.addLevelLine("level 1", QColor(255, 0, 0, 125));

    // The theme leaves the given colours alone; every series sits on both axes.
    QCOMPARE(all->brush().color(), QColor(239, 136, 9, 100));
    QCOMPARE(all->pen().color(), QColor(140, 81, 9, 80));
    QCOMPARE(all->markerSize(), 5.0);
    QCOMPARE(touched->markerSize(), QScatterSeries().markerSize());
    QCOMPARE(level->pen().style(), Qt::DashLine);
    QCOMPARE(level->pen().color(), QColor(255, 0, 0, 125));
    for (QAbstractSeries* series : chart.series())
        QCOMPARE(series->attachedAxes(),
                 (QList<QAbstractAxis*>{chart.dateAxis(), chart.valueAxis()}));

    const QDateTime t0(QDate(2024, 3, 15), QTime(10, 0));
    chart.showPoints(
        {{t0.toMSecsSinceEpoch(), 1.5, false}, {t0.addSecs(10).toMSecsSinceEpoch(), 2.5, true}},
        all, alarms);
    QCOMPARE(all->count(), 2);
    QCOMPARE(alarms->pointsVector(),
             (QVector<QPointF>{QPointF(t0.addSecs(10).toMSecsSinceEpoch(), 2.5)}));

    chart.setDateRange(t0, t0.addSecs(3600));
    chart.setLevel(level, 42.0);
    QCOMPARE(level->pointsVector(),
             (QVector<QPointF>{QPointF(t0.toMSecsSinceEpoch(), 42.0),
                               QPointF(t0.addSecs(3600).toMSecsSinceEpoch(), 42.0)}));

    chart.frameValues(0.2, 3.7, 5);
    QCOMPARE(chart.valueAxis()->min(), 0.0);
    QCOMPARE(chart.valueAxis()->max(), 4.0);
    QCOMPARE(chart.valueAxis()->tickCount(), 5);
    // An inverted range is refused by the axis; the labels follow the axis.
    chart.setValueMinimum(500, 5);
    QCOMPARE(chart.valueAxis()->min(), 0.0);
    QCOMPARE(chart.valueAxis()->labelFormat(), QStringLiteral("%5.2f"));

    // A typed limit keeps the other end and picks the label format anew.
    chart.setValueMaximum(1000, 5);
    QCOMPARE(chart.valueAxis()->min(), 0.0);
    QCOMPARE(chart.valueAxis()->labelFormat(), QStringLiteral("%5.0f"));
}

QTEST_MAIN(tst_TrendChart)
#include "tst_trendchart.moc"
