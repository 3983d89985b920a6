// The value-axis rules the trend charts share.
#include "trend/axisscale.h"

#include <QtTest>

class tst_AxisScale : public QObject
{
    Q_OBJECT

private slots:
    void labelFormat_data();
    void labelFormat();
    void autoRange_data();
    void autoRange();
};

void tst_AxisScale::labelFormat_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QString>("format");
    QTest::newRow("span below 1") << 0.0 << 0.999 << "%5.3f";
    QTest::newRow("span of 1") << 0.0 << 1.0 << "%5.2f";
    QTest::newRow("span below 10, reversed") << 9.5 << 0.0 << "%5.2f";
    QTest::newRow("span of 10") << -5.0 << 5.0 << "%5.1f";
    QTest::newRow("span below 100") << 100.0 << 199.9 << "%5.1f";
    QTest::newRow("span of 100") << 0.0 << 100.0 << "%5.0f";
}

void tst_AxisScale::labelFormat()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QTEST(Trend::AxisScale::labelFormat(minimum, maximum), "format");
}

void tst_AxisScale::autoRange_data()
{
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::newRow("small positive values stop at zero") << 0.2 << 3.7 << 0.0 << 4.0;
    QTest::newRow("negative values") << -2.5 << 3.7 << -3.0 << 4.0;
    QTest::newRow("ppb values") << 118.4 << 121.7 << 117.0 << 122.0;
    QTest::newRow("one value") << 5.0 << 5.0 << 4.0 << 6.0;
    QTest::newRow("dew points below zero") << -60.2 << -40.9 << -61.0 << -39.0;
}

void tst_AxisScale::autoRange()
{
    QFETCH(double, lowest);
    QFETCH(double, highest);
    const auto [lower, upper] = Trend::AxisScale::autoRange(lowest, highest);
    QTEST(lower, "lower");
    QTEST(upper, "upper");
}

QTEST_GUILESS_MAIN(tst_AxisScale)
#include "tst_axisscale.moc"
