// The trend screen: its request table, the window for each interval, date and
// page step (in Europe/Berlin, across its clock changes), the value-axis strip,
// auto-scale and typed limits, the unit and level replies and the statistics
// tooltip.
#include "analyzer/response.h"
#include "support/testsupport.h"
#include "trend/historyinterface.h"
#include "trend/trendchart.h"
#include "trend/trendwindow.h"
#include "widgets/chartsfwd.h"

#include <QCalendarWidget>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QValueAxis>
#include <QtTest>

using TestSupport::child;

namespace {

constexpr int kFirstId = 60;
enum Offset
{
    Maximum,
    Minimum,
    Units,
    Level1,
    Level2
};
const QString kFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

class FakeHistory : public Trend::HistoryInterface
{
public:
    void requestRange(const QDateTime& start, const QDateTime& end, const QString& unitKey) override
    {
        ranges << start.toString(kFormat) + QStringLiteral(" - ") + end.toString(kFormat);
        keys << unitKey;
    }
    void refresh() override { ++refreshes; }
    const QVector<Trend::TrendPoint>& points() override { return data; }

    QStringList ranges;
    QStringList keys;
    int refreshes = 0;
    QVector<Trend::TrendPoint> data;
};

struct Screen
{
    Screen() : window(&history, nullptr)
    {
        window.assignRequestIds(kFirstId);
        window.resize(636, 450);
        view = child<QChartView>(&window, "chartView");
        axis = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).value(0));
        series = qobject_cast<QScatterSeries*>(view->chart()->series().value(0));
        touched = qobject_cast<QScatterSeries*>(view->chart()->series().value(1));
        autoScale = child<QCheckBox>(&window, "checkBoxAutoScaleY");
    }
    /// Shows the window; false when it never became exposed.
    bool shown()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
    void answer(int offset, const QJsonValue& result)
    {
        window.handleResponse(
            Analyzer::Response(TestSupport::replyJson(kFirstId + offset, result)));
    }
    void showValues(const QList<double>& values)
    {
        history.data.clear();
        qint64 time = QDateTime::currentMSecsSinceEpoch();
        for (double value : values)
            history.data.append({time += 1000, value, false});
        window.updateTrend(false);
    }
    /// Presses the chart view at a position in its own coordinates.
    void press(const QPoint& position)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->viewport()->mapFrom(view, position));
    }
    /// Presses the strip and types value on the keypad the strip asks for.
    QString type(const QPoint& position, double value)
    {
        QString label;
        auto connection = QObject::connect(&window, &TrendWindow::showKeyboard,
                                           [&](const QString& text, Analyzer::Request& request) {
                                               label = text;
                                               request.setParams({value});
                                               window.handleResponse(Analyzer::Response(request));
                                           });
        press(position);
        QObject::disconnect(connection);
        return label;
    }

    FakeHistory history;
    TrendWindow window;
    QChartView* view = nullptr;
    QValueAxis* axis = nullptr;
    QScatterSeries* series = nullptr;
    QScatterSeries* touched = nullptr;
    QCheckBox* autoScale = nullptr;
};

} // namespace

class tst_TrendWindow : public QObject
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
    void windows_data();
    void windows();
    void weekOverClockChanges_data();
    void weekOverClockChanges();
    void miniPlotWindowsOverClockChanges();
    void calendar();
    void autoScale_data();
    void autoScale();
    void rebuildWithSameCountKeepsScale();
    void strip_data();
    void strip();
    void typedLimitsUncheckAutoScale();
    void typedLimitRefused_data();
    void typedLimitRefused();
    void unitChange();
    void levelLinesSpanTheAxis();
    void statisticsTooltip();
    void refreshAndButtons();
};

void tst_TrendWindow::requestTable_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("method"); // empty: answered by the panel, tagged "trend"
    QTest::addColumn<QPoint>("press");   // the strip press that hands the request to the keypad

    QTest::newRow("max") << int(Maximum) << "" << QPoint(50, 50);
    QTest::newRow("min") << int(Minimum) << "" << QPoint(50, 250);
    QTest::newRow("units") << int(Units) << "units" << QPoint();
    QTest::newRow("user_alarm_1_level") << int(Level1) << "user_alarm_1_level" << QPoint();
    QTest::newRow("user_alarm_2_level") << int(Level2) << "user_alarm_2_level" << QPoint();
}

void tst_TrendWindow::requestTable()
{
    QFETCH(int, offset);
    QFETCH(QString, method);
    QFETCH(QPoint, press);

    Screen screen;
    QCOMPARE(screen.window.firstRequestId(), kFirstId);
    QCOMPARE(screen.window.lastRequestId(), kFirstId + Level2);
    QJsonObject request;
    if (method.isEmpty()) {
        Analyzer::Request handed;
        auto connection =
            QObject::connect(&screen.window, &TrendWindow::showKeyboard,
                             [&](const QString&, Analyzer::Request& r) { handed = r; });
        screen.press(press);
        QObject::disconnect(connection);
        request = handed.json();
        QCOMPARE(request.value("GUIonly").toString(), QStringLiteral("trend"));
    } else {
        const QJsonArray polled = screen.window.updateRequests();
        QCOMPARE(polled.size(), 3);
        request = polled.at(offset - Units).toObject();
        QCOMPARE(request.value("method").toString(), method);
        QVERIFY(!request.contains("params"));
    }
    QCOMPARE(request.value("id").toInt(), kFirstId + offset);
}

void tst_TrendWindow::windows_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<QStringList>("pages"); // "forward" / "back", pressed in order
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("dateText");

    QTest::newRow("1 Hour") << 3 << QStringList() << "2024-05-15 11:30:00 - 2024-05-15 12:30:00"
                            << "2024-05-15";
    QTest::newRow("1 Hour, Forward")
        << 3 << QStringList{"forward"} << "2024-05-15 12:00:00 - 2024-05-15 13:00:00"
        << "2024-05-15";
    QTest::newRow("4 Hours") << 2 << QStringList() << "2024-05-15 10:00:00 - 2024-05-15 14:00:00"
                             << "2024-05-15";
    QTest::newRow("4 Hours, Backward x6")
        << 2 << QStringList{"back", "back", "back", "back", "back", "back"}
        << "2024-05-14 22:00:00 - 2024-05-15 02:00:00"
        << "2024-05-14";
    QTest::newRow("Day") << 1 << QStringList() << "2024-05-15 00:00:00 - 2024-05-16 00:00:00"
                         << "2024-05-15";
    QTest::newRow("Day, Forward") << 1 << QStringList{"forward"}
                                  << "2024-05-15 12:00:00 - 2024-05-16 12:00:00"
                                  << "2024-05-15";
    QTest::newRow("Week ends with the day")
        << 0 << QStringList() << "2024-05-09 00:00:00 - 2024-05-16 00:00:00"
        << "2024-05-09";
    QTest::newRow("Week, Backward")
        << 0 << QStringList{"back"} << "2024-05-08 00:00:00 - 2024-05-15 00:00:00"
        << "2024-05-08";
}

void tst_TrendWindow::weekOverClockChanges_data()
{
    QTest::addColumn<QString>("day"); // the week ends with it
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("dateText");

    // A week pages by calendar days: it starts at midnight on both sides of a change.
    QTest::newRow("autumn: the week from 10-27, Forward")
        << "2024-11-02" << QStringList{"forward"} << "2024-10-28 00:00:00 - 2024-11-04 00:00:00"
        << "2024-10-28";
    QTest::newRow("autumn: Back onto 10-27, then Forward twice")
        << "2024-11-03" << QStringList{"back", "forward", "forward"}
        << "2024-10-29 00:00:00 - 2024-11-05 00:00:00"
        << "2024-10-29";
    QTest::newRow("spring: Back from 04-01 lands on 03-31")
        << "2024-04-07" << QStringList{"back"} << "2024-03-31 00:00:00 - 2024-04-07 00:00:00"
        << "2024-03-31";
    QTest::newRow("spring: Back over the change and on")
        << "2024-04-08" << QStringList{"back", "back", "back"}
        << "2024-03-30 00:00:00 - 2024-04-06 00:00:00"
        << "2024-03-30";
}

void tst_TrendWindow::weekOverClockChanges()
{
    QFETCH(QString, day);
    QFETCH(QStringList, pages);
    QFETCH(QString, range);
    QFETCH(QString, dateText);

    Screen screen;
    child<QLineEdit>(&screen.window, "dateLineEdit")->setText(day);
    child<QComboBox>(&screen.window, "intervalComboBox")->setCurrentIndex(0);
    for (const QString& page : pages)
        QTest::mouseClick(child<QPushButton>(&screen.window, page + "PushButton"), Qt::LeftButton);
    QCOMPARE(screen.history.ranges.last(), range);
    QCOMPARE(child<QLineEdit>(&screen.window, "dateLineEdit")->text(), dateText);
    // The window is seven calendar days, 167 or 169 hours across a change.
    QCOMPARE(screen.window.windowStart().date().daysTo(screen.window.windowEnd().date()), 7);
    QCOMPARE(screen.window.windowStart().time(), QTime(0, 0));
}

void tst_TrendWindow::miniPlotWindowsOverClockChanges()
{
    // The home screen's rolling windows keep their length on the days the
    // clock changes: the last 24 hours, not since this time yesterday.
    for (const QDate day : {QDate(2024, 3, 31), QDate(2024, 10, 27)}) {
        const QDateTime end(day, QTime(12, 2));
        QDateTime start;
        QVERIFY(Trend::TrendChart::windowEndingAt(1, end, &start));
        QCOMPARE(start.secsTo(end), 86400);
        QVERIFY(Trend::TrendChart::windowEndingAt(0, end, &start));
        QCOMPARE(start.secsTo(end), 6 * 86400);
    }
}

void tst_TrendWindow::windows()
{
    QFETCH(int, interval);
    QFETCH(QStringList, pages);
    QFETCH(QString, range);
    QFETCH(QString, dateText);

    Screen screen;
    // At construction the screen shows today, interval "Day".
    QCOMPARE(screen.history.ranges.value(0),
             QDateTime(QDate::currentDate(), QTime(0, 0)).toString(kFormat) + " - " +
                 QDateTime(QDate::currentDate().addDays(1), QTime(0, 0)).toString(kFormat));
    auto* combo = child<QComboBox>(&screen.window, "intervalComboBox");
    QCOMPARE(combo->currentIndex(), 1);
    child<QLineEdit>(&screen.window, "dateLineEdit")->setText("2024-05-15");
    combo->setCurrentIndex(interval);
    if (interval == 1)
        screen.window.intervalChanged(1); // no index change, no signal
    for (const QString& page : pages)
        QTest::mouseClick(child<QPushButton>(&screen.window, page + "PushButton"), Qt::LeftButton);
    QCOMPARE(screen.history.ranges.last(), range);
    QCOMPARE(child<QLineEdit>(&screen.window, "dateLineEdit")->text(), dateText);
    QCOMPARE(screen.window.intervalIndex(), interval);
}

void tst_TrendWindow::calendar()
{
    Screen screen;
    child<QComboBox>(&screen.window, "intervalComboBox")->setCurrentIndex(2);
    TestSupport::onNextModal([](QWidget* popup) {
        child<QCalendarWidget>(popup, "")->setSelectedDate(QDate(2024, 2, 29));
        qobject_cast<QDialog*>(popup)->accept();
    });
    QTest::mouseClick(child<QLineEdit>(&screen.window, "dateLineEdit"), Qt::LeftButton);
    // A date picked with "4 Hours" selected starts at midnight.
    QCOMPARE(screen.history.ranges.last(),
             QStringLiteral("2024-02-29 00:00:00 - 2024-02-29 04:00:00"));
    QCOMPARE(child<QLineEdit>(&screen.window, "dateLineEdit")->text(),
             QStringLiteral("2024-02-29"));
}

void tst_TrendWindow::autoScale_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QString>("format");

    // Auto-scale frames 0 to 4 and -3 to 4; nice numbers then round the axis.
    QTest::newRow("0.2 to 3.7") << QList<double>{0.2, 3.7, 1.0} << 0.0 << 4.0 << "%5.2f";
    QTest::newRow("-2.5 to 3.7") << QList<double>{-2.5, 3.7} << -4.0 << 4.0 << "%5.2f";
    QTest::newRow("118 to 122") << QList<double>{118.4, 121.7} << 117.0 << 122.0 << "%5.2f";
    QTest::newRow("0 to 350") << QList<double>{0.0, 350.0} << 0.0 << 400.0 << "%5.0f";
}

void tst_TrendWindow::autoScale()
{
    QFETCH(QList<double>, values);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(QString, format);

    // Checked from the start, so the first data frames the axis.
    Screen screen;
    QVERIFY(screen.autoScale->isChecked());
    screen.showValues(values);
    QCOMPARE(screen.axis->min(), minimum);
    QCOMPARE(screen.axis->max(), maximum);
    QCOMPARE(screen.axis->labelFormat(), format);
    QCOMPARE(screen.axis->tickCount(), 5);
    QCOMPARE(screen.window.valueAxisMinimum(), minimum);
    QCOMPARE(screen.window.valueAxisMaximum(), maximum);

    // Unchecked, new data leaves the axis; checking the box frames it again.
    QTest::mouseClick(screen.autoScale, Qt::LeftButton);
    QVERIFY(!screen.autoScale->isChecked());
    screen.showValues({1000.0, 2000.0, 1500.0, 1200.0});
    QCOMPARE(screen.axis->max(), maximum);
    QTest::mouseClick(screen.autoScale, Qt::LeftButton);
    QVERIFY(screen.axis->min() <= 1000.0 && screen.axis->max() >= 2000.0);
}

void tst_TrendWindow::rebuildWithSameCountKeepsScale()
{
    Screen screen;
    screen.autoScale->setChecked(true);
    screen.showValues({0.2, 3.7});
    QCOMPARE(screen.axis->max(), 4.0);
    screen.showValues({20.2, 30.7}); // the refresh of a window with as many points
    QCOMPARE(screen.axis->max(), 4.0);
    screen.showValues({20.2, 30.7, 25.0});
    QCOMPARE(screen.axis->max(), 35.0); // 19 to 31, in nice numbers
}

void tst_TrendWindow::strip_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QString>("keypad"); // the prompt, or empty
    QTest::addColumn<bool>("scaled");
    QTest::addColumn<bool>("labelsHidden");

    QTest::newRow("(50, 50) asks for the maximum")
        << QPoint(50, 50) << "Enter MAX" << false << false;
    QTest::newRow("(50, 150) auto-scales") << QPoint(50, 150) << "" << true << false;
    QTest::newRow("(50, 250) asks for the minimum")
        << QPoint(50, 250) << "Enter MIN" << false << false;
    QTest::newRow("(50, 350) does nothing") << QPoint(50, 350) << "" << false << false;
    QTest::newRow("(150, 50) removes the touched labels") << QPoint(150, 50) << "" << false << true;
    QTest::newRow("(10, 50) is off the strip") << QPoint(10, 50) << "" << false << true;
}

void tst_TrendWindow::strip()
{
    QFETCH(QPoint, press);
    QFETCH(QString, keypad);
    QFETCH(bool, scaled);
    QFETCH(bool, labelsHidden);

    Screen screen;
    QVERIFY(screen.shown());
    screen.autoScale->setChecked(false); // only the press may frame the axis
    screen.showValues({10.5, 12.5});
    screen.window.pointClicked(QPointF(1000, 12.5));
    QVERIFY(screen.touched->pointLabelsVisible());
    QSignalSpy asked(&screen.window, &TrendWindow::showKeyboard);
    screen.press(press);
    QCOMPARE(asked.isEmpty() ? QString() : asked.at(0).at(0).toString(), keypad);
    QCOMPARE(screen.axis->max() > 1.0, scaled); // framed, off the initial 0 to 1
    QCOMPARE(screen.touched->pointLabelsVisible(), !labelsHidden);
    QCOMPARE(screen.touched->count(), labelsHidden ? 0 : 1);
}

void tst_TrendWindow::typedLimitsUncheckAutoScale()
{
    Screen screen;
    QVERIFY(screen.shown());
    screen.autoScale->setChecked(true);
    QCOMPARE(screen.type(QPoint(50, 50), 500), QStringLiteral("Enter MAX"));
    QVERIFY(!screen.autoScale->isChecked());
    QCOMPARE(screen.axis->max(), 500.0);
    QCOMPARE(screen.axis->labelFormat(), QStringLiteral("%5.0f"));
    QCOMPARE(screen.type(QPoint(50, 250), 499.5), QStringLiteral("Enter MIN"));
    QCOMPARE(screen.axis->min(), 499.5);
    QCOMPARE(screen.axis->labelFormat(), QStringLiteral("%5.3f"));
    QCOMPARE(screen.axis->tickCount(), 5);
}

void tst_TrendWindow::typedLimitRefused_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("message");

    // The axis is framed 0 to 4 first.
    QTest::newRow("MIN above MAX") << QPoint(50, 250) << 500.0 << "MIN must be below MAX (4).";
    QTest::newRow("MIN at MAX") << QPoint(50, 250) << 4.0 << "MIN must be below MAX (4).";
    QTest::newRow("MAX below MIN") << QPoint(50, 50) << -1.0 << "MAX must be above MIN (0).";
    QTest::newRow("MAX at MIN") << QPoint(50, 50) << 0.0 << "MAX must be above MIN (0).";
}

void tst_TrendWindow::typedLimitRefused()
{
    QFETCH(QPoint, press);
    QFETCH(double, value);
    QFETCH(QString, message);

    Screen screen;
    QVERIFY(screen.shown());
    screen.showValues({0.2, 3.7});
    QCOMPARE(screen.axis->labelFormat(), QStringLiteral("%5.2f"));
    QString shown;
    TestSupport::onNextModal([&shown](QWidget* popup) {
        shown = child<QLabel>(popup, "textLabel")->text();
        qobject_cast<QDialog*>(popup)->accept();
    });
    screen.type(press, value);
    QCOMPARE(shown, message);
    // Nothing changed: the axis, its labels, auto-scale.
    QCOMPARE(screen.axis->min(), 0.0);
    QCOMPARE(screen.axis->max(), 4.0);
    QCOMPARE(screen.axis->labelFormat(), QStringLiteral("%5.2f"));
    QVERIFY(screen.autoScale->isChecked());
}

void tst_TrendWindow::unitChange()
{
    Screen screen;
    const int before = screen.history.keys.size();
    screen.answer(Units, "weight");
    QCOMPARE(screen.history.keys.size(), before + 1);
    QCOMPARE(screen.history.keys.last(), QStringLiteral("weight"));
    QCOMPARE(screen.axis->titleText(), QStringLiteral("PPBw"));
    // The same key again, or an error, asks for nothing.
    screen.answer(Units, "weight");
    screen.window.handleResponse(Analyzer::Response(TestSupport::errorJson(kFirstId + Units)));
    QCOMPARE(screen.history.keys.size(), before + 1);
    screen.answer(Units, "dewpointk");
    QCOMPARE(screen.axis->titleText(), QStringLiteral("K"));
    QCOMPARE(screen.history.keys.last(), QStringLiteral("dewpointk"));
    // A result that is no unit changes nothing.
    screen.answer(Units, QJsonValue());
    QCOMPARE(screen.axis->titleText(), QStringLiteral("K"));
    QCOMPARE(screen.history.keys.last(), QStringLiteral("dewpointk"));
}

void tst_TrendWindow::levelLinesSpanTheAxis()
{
    Screen screen;
    screen.answer(Level1, 250.5);
    screen.answer(Level2, 900);
    const auto start = double(screen.window.windowStart().toMSecsSinceEpoch());
    const auto end = double(screen.window.windowEnd().toMSecsSinceEpoch());
    for (int i : {3, 4}) {
        auto* line = qobject_cast<QLineSeries*>(screen.view->chart()->series().value(i));
        QVERIFY(line);
        QCOMPARE(line->pen().style(), Qt::DashLine);
        QCOMPARE(line->points(),
                 (QList<QPointF>{{start, i == 3 ? 250.5 : 900.0}, {end, i == 3 ? 250.5 : 900.0}}));
    }
    screen.window.handleResponse(Analyzer::Response(TestSupport::errorJson(kFirstId + Level1)));
    QCOMPARE(qobject_cast<QLineSeries*>(screen.view->chart()->series().value(3))->count(), 2);
}

void tst_TrendWindow::statisticsTooltip()
{
    Screen screen;
    screen.showValues({1, 2, 3, 4});
    // Population standard deviation: sqrt(1.25).
    QCOMPARE(screen.view->toolTip(),
             QStringLiteral("Min = 1\nMax = 4\nMean = 2.5\nStd Dev = 1.11803"));
    screen.showValues({});
    QCOMPARE(screen.view->toolTip(), QString());
}

void tst_TrendWindow::refreshAndButtons()
{
    Screen screen;
    QSignalSpy pages(&screen.window, &TrendWindow::goToWindow);
    QTest::mouseClick(child<QPushButton>(&screen.window, "pushButtonClose"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&screen.window, "pushButtonDownload"), Qt::LeftButton);
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages.at(0).at(0).value<WindowType>(), HOME);
    QCOMPARE(pages.at(1).at(0).value<WindowType>(), TREND_DOWNLOAD);
    auto* timer = screen.window.findChild<QTimer*>(QStringLiteral("refreshTimer"));
    QCOMPARE(timer->interval(), 10000);
    QVERIFY(timer->isActive());
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(screen.history.refreshes, 1);
}

// Calendar paging is checked across the clock changes of this zone.
MARLOMAX_TEST_MAIN_IN_ZONE(tst_TrendWindow, QApplication, "Europe/Berlin")

#include "tst_trendwindow.moc"
