#include "trend/chartexport.h"

#include "base/journalevent.h"
#include "trend/trendchart.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QWidget>

namespace Trend {

namespace {
constexpr int kTitleHeight = 22;
constexpr int kTitleMargin = 6;
} // namespace

QStringList ChartExport::headerLines(const Header& header, int points)
{
    const auto time = [](const QDateTime& t) { return JournalEvent::timeText(t); };
    QString what;
    if (header.samples < 0)
        what = QStringLiteral("%1 points as the chart shows them; the source does not say how "
                              "many samples they were thinned from")
                   .arg(points);
    else if (header.samples <= points)
        what = QStringLiteral("%1, every sample of the window").arg(points);
    else
        what = QStringLiteral("%1, thinned for the display from %2 samples")
                   .arg(points)
                   .arg(header.samples);
    // Fixed English words: a file read by programs, the same in every language.
    return {QStringLiteral("# Serial: ") + header.serial,
            QStringLiteral("# Species: ") + header.species,
            QStringLiteral("# Unit: ") + TrendChart::valueTitle(header.unitKey),
            QStringLiteral("# Window: %1 to %2").arg(time(header.start), time(header.end)),
            QStringLiteral("# Exported: ") + time(header.exported),
            QStringLiteral("# Points: ") + what};
}

QString ChartExport::title(const Header& header)
{
    const auto time = [](const QDateTime& t) {
        return JournalEvent::timeText(t).replace(QLatin1Char('T'), QLatin1Char(' '));
    };
    return QStringLiteral("%1   %2   %3   %4 to %5   (exported %6)")
        .arg(header.serial, header.species, TrendChart::valueTitle(header.unitKey),
             time(header.start), time(header.end), time(header.exported));
}

QByteArray ChartExport::csv(const Header& header, const QVector<QPointF>& all,
                            const QVector<QPointF>& alarms)
{
    QByteArray out = headerLines(header, all.size()).join(QLatin1Char('\n')).toUtf8() + '\n';
    const bool dewPoint = header.unitKey.startsWith(QLatin1String("dewpoint"));
    out += "Date Time,";
    out += (dewPoint ? QStringLiteral("Dew Point (%1)") : QStringLiteral("Concentration (%1)"))
               .arg(TrendChart::valueTitle(header.unitKey))
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

QByteArray ChartExport::png(QWidget* view, const QString& title)
{
    // Drawn at one pixel per widget pixel, whatever ratio a desktop screen has.
    QImage image(view->width(), view->height() + kTitleHeight, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QFont font = view->font();
        font.setPointSize(9);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QRect strip(kTitleMargin, 0, image.width() - 2 * kTitleMargin, kTitleHeight);
        painter.drawText(strip, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetrics(font).elidedText(title, Qt::ElideRight, strip.width()));
    }
    view->render(&image, QPoint(0, kTitleHeight));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace Trend
