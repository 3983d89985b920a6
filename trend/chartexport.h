// What the trend screen exports of its chart: the points of the window on
// view, in the unit shown, as CSV (the columns of the trend download's CSV),
// and the chart as a PNG image, pixel for pixel as the panel draws it.
#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QVector>

class QWidget;

namespace Trend {

class ChartExport
{
public:
    /// "Date Time,<quantity> (<unit>),System Alarm", then one line per point of
    /// all in order: its local time ("yyyy-MM-dd HH:mm:ss"), its value as the
    /// chart holds it (the shortest text that reads back as the same number)
    /// and 1 when it is also among alarms, else 0. Points are (ms since the
    /// epoch, value); alarms holds some of all's points in the same order.
    static QByteArray csv(const QVector<QPointF>& all, const QVector<QPointF>& alarms,
                          const QString& unitKey);
    /// The view as shown, at the panel's resolution (one image pixel for each
    /// of the panel's), as PNG.
    static QByteArray png(QWidget* view);
};

} // namespace Trend
