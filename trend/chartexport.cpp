#include "trend/chartexport.h"

#include "base/unitkeys.h"
#include "trend/trendchart.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QWidget>

namespace Trend {

QByteArray ChartExport::csv(const QVector<QPointF>& all, const QVector<QPointF>& alarms,
                            const QString& unitKey)
{
    const bool dewPoint = unitKey.startsWith(QLatin1String("dewpoint"));
    QByteArray out = "Date Time,";
    out += (dewPoint ? QStringLiteral("Dew Point (%1)") : QStringLiteral("Concentration (%1)"))
               .arg(TrendChart::valueTitle(unitKey))
               .toUtf8();
    out += ",System Alarm\n";
    // The alarm points are a subsequence of all points: walked side by side.
    int alarm = 0;
    for (const QPointF& point : all) {
        const bool inAlarm = alarm < alarms.size() && alarms.at(alarm) == point;
        if (inAlarm)
            ++alarm;
        out += QDateTime::fromMSecsSinceEpoch(qint64(point.x()))
                   .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                   .toLatin1();
        out += ',';
        out += QByteArray::number(point.y(), 'g', QLocale::FloatingPointShortest);
        out += inAlarm ? ",1\n" : ",0\n";
    }
    return out;
}

QByteArray ChartExport::png(QWidget* view)
{
    // Drawn at one pixel per widget pixel, whatever ratio a desktop screen has.
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    image.fill(Qt::white);
    view->render(&image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace Trend
