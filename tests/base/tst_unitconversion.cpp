// The concentration display rule: ppb/ppm switch and decimals by magnitude.
#include "base/dewpointc.h"
#include "base/dewpointf.h"
#include "base/dewpointk.h"
#include "base/weight.h"

#include <QtTest>
#include <cmath>
#include <memory>

using namespace UnitConversion;

class tst_UnitConversion : public QObject
{
    Q_OBJECT

private slots:
    void formatConcentration_data();
    void formatConcentration();
    void conversions_data();
    void conversions();
};

void tst_UnitConversion::formatConcentration_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("NaN") << std::nan("") << QString();
    QTest::newRow("three decimals cut, not rounded") << 5.1239 << "5.123";
    QTest::newRow("rounds to 10 below ten") << 9.9999996 << "10.000";
    QTest::newRow("two decimals") << 99.999 << "99.99";
    QTest::newRow("weight sample") << 12.3456 << "12.34";
    QTest::newRow("one decimal") << 999.96 << "999.9";
    QTest::newRow("10 has two decimals") << 10.0 << "10.00";
    QTest::newRow("100 has one decimal") << 100.0 << "100.0";
    QTest::newRow("1000 has none") << 1000.0 << "1000";
    QTest::newRow("-1000 has none") << -1000.0 << "-1000";
    QTest::newRow("integer part") << 1234.9 << "1234";
    QTest::newRow("large") << 123456.7 << "123456";
    QTest::newRow("negative small") << -0.5 << "-0.500";
    QTest::newRow("negative large truncates toward zero") << -1234.9 << "-1234";
    QTest::newRow("beyond int range") << 3.0e10 << "30000000000";
    QTest::newRow("zero") << 0.0 << "0.000";
}

void tst_UnitConversion::formatConcentration()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(UnitConversion::formatConcentration(value), text);
}

void tst_UnitConversion::conversions_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("level"); // NaN: leave the default level
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("display");
    QTest::addColumn<QString>("label");

    const double keep = std::nan("");
    const double nan = std::nan("");
    QTest::newRow("volume no value") << "volume" << keep << nan << QString() << nan << "PPBv";
    QTest::newRow("volume below default level")
        << "volume" << keep << 999.9 << "999.9" << 999.9 << "PPBv";
    QTest::newRow("volume at default level")
        << "volume" << keep << 1000.0 << "1.000" << 1.0 << "PPMv";
    QTest::newRow("volume 1500 default level")
        << "volume" << keep << 1500.0 << "1.500" << 1.5 << "PPMv";
    QTest::newRow("volume 1500 level 5000")
        << "volume" << 5000.0 << 1500.0 << "1500" << 1500.0 << "PPBv";
    QTest::newRow("weight below") << "weight" << keep << 12.3456 << "12.34" << 12.3456 << "PPBw";
    QTest::newRow("weight above") << "weight" << keep << 2500.0 << "2.500" << 2.5 << "PPMw";
    QTest::newRow("weight no value") << "weight" << keep << nan << QString() << nan << "PPBw";
    QTest::newRow("dew point C ignores level")
        << "dewpointc" << 1.0 << -40.0 << "-40.00" << -40.0 << "C";
    QTest::newRow("dew point F") << "dewpointf" << keep << 5000.0 << "5000" << 5000.0 << "F";
    QTest::newRow("dew point K") << "dewpointk" << keep << 233.15 << "233.1" << 233.15 << "K";
}

void tst_UnitConversion::conversions()
{
    QFETCH(QString, unit);
    QFETCH(double, level);
    QFETCH(double, value);
    QFETCH(QString, text);
    QFETCH(double, display);
    QFETCH(QString, label);

    std::unique_ptr<ConversionInterface> conversion;
    if (unit == QLatin1String("volume"))
        conversion = std::make_unique<Volume>();
    else if (unit == QLatin1String("weight"))
        conversion = std::make_unique<Weight>();
    else if (unit == QLatin1String("dewpointc"))
        conversion = std::make_unique<DewPointC>();
    else if (unit == QLatin1String("dewpointf"))
        conversion = std::make_unique<DewPointF>();
    else
        conversion = std::make_unique<DewPointK>();

    if (!std::isnan(level))
        conversion->setPpmSwitchLevel(level);
    conversion->setValue(value);
    QCOMPARE(conversion->valueText(), text);
    QCOMPARE(conversion->unitsText(), label);
    if (std::isnan(display))
        QVERIFY(std::isnan(conversion->displayValue()));
    else
        QCOMPARE(conversion->displayValue(), display);
}

QTEST_APPLESS_MAIN(tst_UnitConversion)
#include "tst_unitconversion.moc"
