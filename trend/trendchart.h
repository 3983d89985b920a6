// The concentration chart that the home screen's mini plot and the trend
// screen share: a date axis at the bottom and a value axis at the left that
// every series is attached to, the series styles, the chart windows by
// interval, and the value-axis scale with the label format its span calls for.
#pragma once

#include "trend/trendpoint.h"
#include "widgets/chartsfwd.h"

#include <QChart>
#include <QDateTime>
#include <QPointF>
#include <QVector>

namespace Trend {

class TrendChart : public QChart
{
    Q_OBJECT

public:
    /// The interval indexes the operator chooses from.
    enum Interval
    {
        Week = 0,
        Day = 1,
        FourHours = 2,
        OneHour = 3
    };

    /// A chart without legend or animation, in theme, with both axes in place
    /// (value range 0 to 1).
    explicit TrendChart(QChart::ChartTheme theme = ChartThemeLight);

    QDateTimeAxis* dateAxis() const { return m_dateAxis; }
    QValueAxis* valueAxis() const { return m_valueAxis; }

    /// A scatter series on both axes; brush and pen colours carry their alpha.
    /// A marker size of 0 keeps the chart's default.
    QScatterSeries* addScatterSeries(const QString& name, const QColor& brush, const QColor& pen,
                                     qreal markerSize = 0);
    /// A dashed line series on both axes, for an alarm level.
    QLineSeries* addLevelLine(const QString& name, const QColor& pen);

    /// The window of the interval that ends at end, as the mini plot shows it:
    /// a week reaches back six times 24 hours, a day 24 hours, then four hours,
    /// one hour.
    /// False (start untouched) for an index the charts do not have.
    static bool windowEndingAt(int interval, const QDateTime& end, QDateTime* start);
    /// The window the trend screen shows when the interval is chosen on date:
    /// the week ending with that day, the whole day, 10:00 to 14:00, 11:30 to 12:30.
    static bool windowOnDate(int interval, const QDate& date, QDateTime* start, QDateTime* end);
    /// start plus the interval's length (7 days, 1 day, 14 400 s, 3 600 s).
    static QDateTime windowEnd(int interval, const QDateTime& start);
    /// The start one page back (direction -1) or forward (+1): a calendar day
    /// for the week, so that it starts at midnight across clock changes too;
    /// 43 200 s, 7 200 s and 1 800 s for the others; start itself for other indexes.
    static QDateTime pagedStart(int interval, const QDateTime& start, int direction);
    /// The date axis title of the mini plot: "1 Week", "1 Day", "4 Hours", "1 Hour".
    static QString intervalTitle(int interval);
    /// The value axis title for an analyzer unit key ("PPBv" for unknown keys).
    static QString valueTitle(const QString& unitKey);

    void setDateRange(const QDateTime& start, const QDateTime& end);
    /// Sets the value range, the label format the axis' span calls for, and ticks.
    void setValueRange(double minimum, double maximum, int tickCount);
    void setValueMinimum(double minimum, int tickCount);
    void setValueMaximum(double maximum, int tickCount);
    /// Frames values between lowest and highest with whole-number margins
    /// (never below 0 for data that is not negative), rounded to nice numbers.
    void frameValues(double lowest, double highest, int tickCount);

    /// Shows every point on all and the points taken in alarm on alarms.
    void showPoints(const QVector<TrendPoint>& points, QXYSeries* all, QXYSeries* alarms);
    /// "Min = ...\nMax = ...\nMean = ...\nStd Dev = ..." of the values (population
    /// standard deviation, 6 significant digits); empty without points.
    static QString statistics(const QVector<TrendPoint>& points);
    /// Draws a level as a line across the whole date axis; no number, no line.
    void setLevel(QXYSeries* line, double level);

private:
    void attach(QXYSeries* series);

    QDateTimeAxis* m_dateAxis;
    QValueAxis* m_valueAxis;
    QVector<QPointF> m_allPoints;
    QVector<QPointF> m_alarmPoints;
};

} // namespace Trend
