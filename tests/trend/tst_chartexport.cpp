// Exports of the trend screen's chart: the points of the window on view, in
// the unit shown, to CSV, and the chart as drawn to PNG, both in the storage
// folder under the serial number and time; each carries exactly what the
// chart shows and says what it is (serial, species, unit, window, export
// time, thinned or not). An empty window exports nothing.
#include "analyzer/response.h"
#include "base/globals.h"
#include "base/journalevent.h"
#include "files/filemanager.h"
#include "support/messageanswerer.h"
#include "support/testsupport.h"
#include "trend/chartexport.h"
#include "trend/historyinterface.h"
#include "trend/trendwindow.h"
#include "widgets/chartsfwd.h"

#include <QChartView>
#include <QDir>
#include <QPushButton>
#include <QScatterSeries>
#include <QtTest>

namespace {

class FakeHistory : public Trend::HistoryInterface
{
public:
    void requestRange(const QDateTime&, const QDateTime&, const QString&) override {}
    void refresh() override {}
    const QVector<Trend::TrendPoint>& points() override { return data; }
    QVector<Trend::TrendPoint> data;
};

qint64 at(int hour, int minute = 0)
{
    return QDateTime(QDate::currentDate(), QTime(hour, minute)).toMSecsSinceEpoch();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_ChartExport : public QObject
{
    Q_OBJECT

private slots:
    void csvText_data();
    void csvText();
    void headerSaysWhatItHolds();
    void exportsFromTheTrendScreen();
    void emptyWindowExportsNothing();

private:
    QTemporaryDir m_storage;
};

void tst_ChartExport::csvText_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QVector<QPointF>>("all");
    QTest::addColumn<QVector<QPointF>>("alarms");
    QTest::addColumn<QByteArray>("csv");
    const QDateTime nine(QDate(2024, 5, 6), QTime(9, 0));
    const qreal t = nine.toMSecsSinceEpoch();
    QTest::newRow("no points") << "volume" << QVector<QPointF>() << QVector<QPointF>()
                               << QByteArray("Date Time,Concentration (PPBv),System Alarm\n");
    // Values as the chart holds them, no digit more or less.
    QTest::newRow("values") << "weight"
                            << QVector<QPointF>{{t, 0.1},
                                                {t + 1000, 123456.789},
                                                {t + 2000, -2.5e-7}}
                            << QVector<QPointF>()
                            << QByteArray("Date Time,Concentration (PPBw),System Alarm\n"
                                          "2024-05-06 09:00:00,0.1,0\n"
                                          "2024-05-06 09:00:01,123456.789,0\n"
                                          "2024-05-06 09:00:02,-2.5e-07,0\n");
    // The same point twice, once in alarm: the alarm goes with its own row.
    QTest::newRow("alarms, dew point")
        << "dewpointf" << QVector<QPointF>{{t, -40}, {t, -40}, {t + 60000, -39.5}}
        << QVector<QPointF>{{t, -40}, {t + 60000, -39.5}}
        << QByteArray("Date Time,Dew Point (F),System Alarm\n"
                      "2024-05-06 09:00:00,-40,1\n"
                      "2024-05-06 09:00:00,-40,0\n"
                      "2024-05-06 09:01:00,-39.5,1\n");
}

void tst_ChartExport::csvText()
{
    QFETCH(QString, unit);
    QFETCH(QVector<QPointF>, all);
    QFETCH(QVector<QPointF>, alarms);
    QFETCH(QByteArray, csv);
    Trend::ChartExport::Header header;
    header.unitKey = unit;
    const QByteArray lines =
        Trend::ChartExport::headerLines(header, all.size()).join('\n').toUtf8();
    QCOMPARE(Trend::ChartExport::csv(header, all, alarms), lines + '\n' + csv);
}

void tst_ChartExport::headerSaysWhatItHolds()
{
    Trend::ChartExport::Header header;
    header.serial = QStringLiteral("VS 9");
    header.species = QStringLiteral("H2O in N2");
    header.unitKey = QStringLiteral("weight");
    header.start = QDateTime(QDate(2024, 10, 27), QTime(0, 0), Qt::OffsetFromUTC, 7200);
    header.end = QDateTime(QDate(2024, 10, 27), QTime(4, 0), Qt::OffsetFromUTC, 3600);
    header.exported = QDateTime(QDate(2024, 10, 28), QTime(9, 30, 5), Qt::OffsetFromUTC, 3600);
    header.samples = 14400;
    const QStringList fixed = {"# Serial: VS 9", "# Species: H2O in N2", "# Unit: PPBw",
                               "# Window: 2024-10-27T00:00:00+02:00 to 2024-10-27T04:00:00+01:00",
                               "# Exported: 2024-10-28T09:30:05+01:00"};
    QCOMPARE(Trend::ChartExport::headerLines(header, 705),
             fixed + QStringList{"# Points: 705, thinned for the display from 14400 samples"});
    // Every sample, exactly as many as the window holds.
    header.samples = 705;
    QCOMPARE(Trend::ChartExport::headerLines(header, 705).last(),
             QStringLiteral("# Points: 705, every sample of the window"));
    header.samples = -1;
    QVERIFY(Trend::ChartExport::headerLines(header, 705).last().contains("does not say"));
    QCOMPARE(Trend::ChartExport::title(header),
             QStringLiteral("VS 9   H2O in N2   PPBw   2024-10-27 00:00:00+02:00 to "
                            "2024-10-27 04:00:00+01:00   (exported 2024-10-28 09:30:05+01:00)"));
}

void tst_ChartExport::exportsFromTheTrendScreen()
{
    setStoragePath(m_storage.path());
    FakeHistory history;
    TrendWindow window(&history, nullptr);
    window.assignRequestIds(60);
    FileManager files;
    files.assignRequestIds(2);
    files.handleResponse(Analyzer::Response(TestSupport::replyJson(4, "VS 9")));
    window.setFileManager(&files);
    window.setSpeciesSource([] { return QStringLiteral("H2O in N2"); });
    window.resize(636, 450);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // In weight, with two points of the window in alarm.
    window.handleResponse(Analyzer::Response(TestSupport::replyJson(62, "weight")));
    for (int i = 0; i < 120; ++i)
        history.data.append(
            {at(0, 0) + qint64(i) * 600000, 100 + (i % 7) * 0.25, i == 3 || i == 50});
    window.updateTrend(false);

    TestSupport::MessageAnswerer answerer;
    answerer.start();
    QTest::mouseClick(window.findChild<QPushButton*>("pushButtonExportCsv"), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>("pushButtonExportPng"), Qt::LeftButton);
    QTRY_COMPARE(answerer.messages,
                 QStringList({"File copied successfully", "File copied successfully"}));
    answerer.stop();
    const QStringList csvFiles = QDir(m_storage.path()).entryList({"chart_VS_9_*.csv"});
    const QStringList pngFiles = QDir(m_storage.path()).entryList({"chart_VS_9_*.png"});
    QCOMPARE(csvFiles.size(), 1);
    QCOMPARE(pngFiles.size(), 1);

    // Six commented lines say what the file holds: this source cannot say
    // whether it thinned the points.
    QList<QByteArray> lines = readAll(m_storage.filePath(csvFiles.first())).split('\n');
    QCOMPARE(lines.mid(0, 3),
             QList<QByteArray>({"# Serial: VS 9", "# Species: H2O in N2", "# Unit: PPBw"}));
    QVERIFY(lines.at(3).startsWith(
        "# Window: " + JournalEvent::timeText(window.windowStart()).toUtf8() + " to "));
    QVERIFY(lines.at(5).startsWith("# Points: 120 points as the chart shows them"));
    lines = lines.mid(6);
    // Every point of the chart, in its order, unit and alarm state.
    QCOMPARE(lines.first(), QByteArray("Date Time,Concentration (PPBw),System Alarm"));
    QCOMPARE(lines.size(), 1 + history.data.size() + 1); // the last line ends the file
    for (int i = 0; i < history.data.size(); ++i) {
        const Trend::TrendPoint& point = history.data.at(i);
        const QList<QByteArray> fields = lines.at(i + 1).split(',');
        // Local wall-clock time, as the trend download writes it (the hour
        // repeated in autumn reads the same twice).
        QCOMPARE(
            fields.at(0),
            QDateTime::fromMSecsSinceEpoch(point.time).toString("yyyy-MM-dd HH:mm:ss").toLatin1());
        QCOMPARE(fields.at(1).toDouble(), point.value);
        QCOMPARE(fields.at(2), QByteArray(point.alarm ? "1" : "0"));
    }

    // The picture is the chart as the panel draws it, pixel for pixel, under
    // a title strip with writing on it.
    auto* view = window.findChild<QChartView*>("chartView");
    const QImage png = QImage::fromData(readAll(m_storage.filePath(pngFiles.first())), "PNG")
                           .convertToFormat(QImage::Format_RGB32);
    const int strip = png.height() - view->height();
    QVERIFY(strip >= 16);
    QCOMPARE(png.width(), view->width());
    QCOMPARE(png.copy(0, strip, view->width(), view->height()),
             view->grab().toImage().convertToFormat(QImage::Format_RGB32));
    const QImage title = png.copy(0, 0, png.width(), strip);
    int dark = 0;
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x)
            dark += qGray(title.pixel(x, y)) < 128;
    QVERIFY2(dark > 100, "no title written");
}

void tst_ChartExport::emptyWindowExportsNothing()
{
    QTemporaryDir storage;
    setStoragePath(storage.path());
    FakeHistory history;
    TrendWindow window(&history, nullptr);
    window.assignRequestIds(60);
    window.updateTrend(false);
    TestSupport::MessageAnswerer answerer;
    answerer.start();
    QTest::mouseClick(window.findChild<QPushButton*>("pushButtonExportCsv"), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>("pushButtonExportPng"), Qt::LeftButton);
    QTRY_COMPARE(answerer.messages, QStringList({"Nothing to export", "Nothing to export"}));
    answerer.stop();
    QCOMPARE(QDir(storage.path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(tst_ChartExport)
#include "tst_chartexport.moc"
