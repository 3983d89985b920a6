// What the trend screen exports of its chart: the points of the window on
// view, in the unit shown, as CSV (the columns of the trend download's CSV)
// under commented lines that say what they are, and the chart as a PNG
// image, pixel for pixel as the panel draws it, under a title line.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;

namespace Trend {

class ChartExport
{
public:
    /// What an export is of.
    struct Header
    {
        QString serial;
        /// "H2O in N2", as the analyzer names them (markup removed).
        QString species;
        QString unitKey;
        QDateTime start;
        QDateTime end;
        QDateTime exported;
        /// The samples the window holds, before thinning for the display;
        /// -1 when the source cannot say.
        qint64 samples = -1;
    };

    /// The commented lines above the CSV's column titles: "# Serial: ...",
    /// "# Species: ...", "# Unit: ...", "# Window: <start> to <end>",
    /// "# Exported: ...", and "# Points: ..." saying whether points are every
    /// sample or thinned (from how many). Times in ISO 8601 with their offset.
    static QStringList headerLines(const Header& header, int points);
    /// The PNG's title line: serial, species, unit, window, export time.
    static QString title(const Header& header);
    /// The header lines, then "Date Time,<quantity> (<unit>),System Alarm",
    /// then one line per point of all in order: its local time ("yyyy-MM-dd
    /// HH:mm:ss"), its value as the chart holds it (the shortest text that
    /// reads back as the same number) and 1 when it is also among alarms,
    /// else 0. Points are (ms since the epoch, value); alarms holds some of
    /// all's points in the same order.
    static QByteArray csv(const Header& header, const QVector<QPointF>& all,
                          const QVector<QPointF>& alarms);
    /// The view as shown, at the panel's resolution (one image pixel for each
    /// of the panel's), under a white strip with title, as PNG.
    static QByteArray png(QWidget* view, const QString& title);
};

} // namespace Trend
