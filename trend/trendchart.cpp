#include "trend/trendchart.h"

#include "base/unitkeys.h"
#include "trend/axisscale.h"
#include "trend/historyinterface.h"
#include "trend/wallclock.h"
#include "widgets/chartsfwd.h"

#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace Trend {

namespace {
constexpr qint64 kSecondsPerDay = 86400;
} // namespace

TrendChart::TrendChart(QChart::ChartTheme theme)
    : m_dateAxis(new QDateTimeAxis), m_valueAxis(new QValueAxis)
{
    // The theme goes first: setting it later would repaint the series' own colours.
    setTheme(theme);
    // The theme's shadow under the plot is drawn through a blurred copy of
    // the whole chart, which the pixmap cache keeps (a megabyte for the trend
    // screen) and redraws on every change.
    setDropShadowEnabled(false);
    legend()->hide();
    setAnimationOptions(NoAnimation);
    m_valueAxis->setRange(0, 1);
    addAxis(m_dateAxis, Qt::AlignBottom);
    addAxis(m_valueAxis, Qt::AlignLeft);
    m_allPoints.reserve(kTrendPointCapacity);
    m_alarmPoints.reserve(kTrendPointCapacity);
}

void TrendChart::attach(QXYSeries* series)
{
    addSeries(series);
    series->attachAxis(m_dateAxis);
    series->attachAxis(m_valueAxis);
}

QScatterSeries* TrendChart::addScatterSeries(const QString& name, const QColor& brush,
                                             const QColor& pen, qreal markerSize)
{
    auto* series = new QScatterSeries(this);
    series->setName(name);
    series->setBrush(QBrush(brush, Qt::SolidPattern));
    series->setPen(QPen(pen));
    if (markerSize > 0)
        series->setMarkerSize(markerSize);
    attach(series);
    return series;
}

QLineSeries* TrendChart::addLevelLine(const QString& name, const QColor& pen)
{
    auto* series = new QLineSeries(this);
    series->setName(name);
    QPen dashed(pen);
    dashed.setStyle(Qt::DashLine);
    series->setPen(dashed);
    attach(series);
    return series;
}

bool TrendChart::windowEndingAt(int interval, const QDateTime& end, QDateTime* start)
{
    // Rolling windows of fixed length: the last 24 hours, not since this time
    // yesterday, so a clock change neither shortens nor stretches them.
    switch (interval) {
    case Week:
        *start = end.addSecs(-6 * kSecondsPerDay);
        return true;
    case Day:
        *start = end.addSecs(-kSecondsPerDay);
        return true;
    case FourHours:
        *start = end.addSecs(-14400);
        return true;
    case OneHour:
        *start = end.addSecs(-3600);
        return true;
    default:
        return false;
    }
}

bool TrendChart::windowOnDate(int interval, const QDate& date, QDateTime* start, QDateTime* end)
{
    switch (interval) {
    // A start in a spring gap becomes the change itself, never an invalid time.
    case Week:
        *start = WallClock::instant(date.addDays(-6), QTime(0, 0));
        break;
    case Day:
        *start = WallClock::instant(date, QTime(0, 0));
        break;
    case FourHours:
        *start = WallClock::instant(date, QTime(10, 0));
        break;
    case OneHour:
        *start = WallClock::instant(date, QTime(11, 30));
        break;
    default:
        return false;
    }
    *end = windowEnd(interval, *start);
    return true;
}

QDateTime TrendChart::windowEnd(int interval, const QDateTime& start)
{
    switch (interval) {
    case Week:
        return start.addDays(7);
    case Day:
        return start.addDays(1);
    case FourHours:
        return start.addSecs(14400);
    case OneHour:
        return start.addSecs(3600);
    default:
        return start;
    }
}

QDateTime TrendChart::pagedStart(int interval, const QDateTime& start, int direction)
{
    switch (interval) {
    case Week:
        return WallClock::instant(start.date().addDays(direction), QTime(0, 0));
    case Day:
        return start.addSecs(direction * 43200);
    case FourHours:
        return start.addSecs(direction * 7200);
    case OneHour:
        return start.addSecs(direction * 1800);
    default:
        return start;
    }
}

QString TrendChart::intervalTitle(int interval)
{
    switch (interval) {
    case Week:
        return tr("1 Week");
    case Day:
        return tr("1 Day");
    case FourHours:
        return tr("4 Hours");
    case OneHour:
        return tr("1 Hour");
    default:
        return QString();
    }
}

QString TrendChart::valueTitle(const QString& unitKey)
{
    using namespace UnitConversion;
    if (unitKey == kWeightKey)
        return kPpbWeightLabel;
    if (unitKey == kDewPointCKey)
        return kCelsiusLabel;
    if (unitKey == kDewPointFKey)
        return kFahrenheitLabel;
    if (unitKey == kDewPointKKey)
        return kKelvinLabel;
    return kPpbVolumeLabel;
}

void TrendChart::setDateRange(const QDateTime& start, const QDateTime& end)
{
    m_dateAxis->setRange(start, end);
}

void TrendChart::setValueRange(double minimum, double maximum, int tickCount)
{
    m_valueAxis->setRange(minimum, maximum);
    // From what the axis took: it refuses an inverted range.
    m_valueAxis->setLabelFormat(AxisScale::labelFormat(m_valueAxis->min(), m_valueAxis->max()));
    m_valueAxis->setTickCount(tickCount);
}

void TrendChart::setValueMinimum(double minimum, int tickCount)
{
    setValueRange(minimum, m_valueAxis->max(), tickCount);
}

void TrendChart::setValueMaximum(double maximum, int tickCount)
{
    setValueRange(m_valueAxis->min(), maximum, tickCount);
}

void TrendChart::frameValues(double lowest, double highest, int tickCount)
{
    const auto [lower, upper] = AxisScale::autoRange(lowest, highest);
    setValueRange(lower, upper, tickCount);
    m_valueAxis->applyNiceNumbers();
    m_valueAxis->setTickCount(tickCount);
}

void TrendChart::showPoints(const QVector<TrendPoint>& points, QXYSeries* all, QXYSeries* alarms)
{
    m_allPoints.clear();
    m_alarmPoints.clear();
    for (const TrendPoint& point : points) {
        const QPointF xy(point.time, point.value);
        m_allPoints.append(xy);
        if (point.alarm)
            m_alarmPoints.append(xy);
    }
    // A refresh that brings the points already drawn leaves the series, and
    // so the chart's cached drawing, alone.
    if (all->pointsVector() != m_allPoints)
        all->replace(m_allPoints);
    if (alarms->pointsVector() != m_alarmPoints)
        alarms->replace(m_alarmPoints);
}

QString TrendChart::statistics(const QVector<TrendPoint>& points)
{
    if (points.isEmpty())
        return QString();
    double minimum = points.first().value;
    double maximum = minimum;
    double sum = 0;
    for (const TrendPoint& point : points) {
        minimum = std::min(minimum, point.value);
        maximum = std::max(maximum, point.value);
        sum += point.value;
    }
    const double mean = sum / points.size();
    double squares = 0;
    for (const TrendPoint& point : points)
        squares += (point.value - mean) * (point.value - mean);
    const double deviation = std::sqrt(squares / points.size());
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    return tr("Min = %1\nMax = %2\nMean = %3\nStd Dev = %4")
        .arg(number(minimum), number(maximum), number(mean), number(deviation));
}

void TrendChart::setLevel(QXYSeries* line, double level)
{
    if (std::isnan(level)) {
        line->clear();
        return;
    }
    line->replace(QVector<QPointF>{QPointF(m_dateAxis->min().toMSecsSinceEpoch(), level),
                                   QPointF(m_dateAxis->max().toMSecsSinceEpoch(), level)});
}

} // namespace Trend
