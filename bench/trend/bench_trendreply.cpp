// A week of trend history at 1 Hz (604,800 samples) as the simulator sends it
// with --full-trend: the time to parse the line, turn the reply into points,
// rebuild the trend chart, and a 720-point rebuild on its own.
//   bench_trendreply [days]    (the simulator is taken from the build's bin folder)
#include "analyzer/linedecoder.h"
#include "trend/remotehistory.h"
#include "trend/trendwindow.h"
#include "trend/wallclock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream out(stdout);

QByteArray fetchReply(const QDateTime& from, const QDateTime& to, int days)
{
    QTemporaryDir state;
    QProcess sim;
    const QString program =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../../bin/vireo-sim");
    sim.start(program, {QStringLiteral("--port"), QStringLiteral("0"),
                        QStringLiteral("--full-trend"), QStringLiteral("--backfill-days"),
                        QString::number(days), QStringLiteral("--state"), state.path()});
    int port = 0;
    while (port == 0 && sim.waitForReadyRead(120000)) {
        const QString line = QString::fromUtf8(sim.readLine()).trimmed();
        if (line.startsWith(QLatin1String("LISTENING port=")))
            port = line.mid(15).toInt();
    }
    if (port == 0)
        qFatal("the simulator did not start: %s", qPrintable(program));
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    socket.waitForConnected(3000);
    const auto [start, end] = Trend::WallClock::rangeTexts(from, to);
    socket.write(QJsonDocument(QJsonObject{{"jsonrpc", "2.0"},
                                           {"id", 2},
                                           {"method", "get_trend_data"},
                                           {"params", QJsonArray{start, end}}})
                     .toJson(QJsonDocument::Compact) +
                 '\n');
    QByteArray line;
    while (!line.endsWith('\n') && socket.waitForReadyRead(60000))
        line += socket.readAll();
    sim.terminate();
    sim.waitForFinished();
    line.chop(1);
    return line;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int days = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 7;
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime from = now.addDays(-days);
    const QDateTime to = now.addSecs(120);
    const QByteArray line = fetchReply(from, to, days);

    Trend::RemoteHistory history(nullptr);
    history.assignRequestIds(2);
    TrendWindow window(&history, nullptr);
    window.resize(636, 450);
    window.show();
    QCoreApplication::processEvents();
    // The source asks for the range the reply below answers.
    history.requestRange(from, to, QStringLiteral("volume"));

    QElapsedTimer timer;
    timer.start();
    const QVector<Analyzer::Response> replies = Analyzer::LineDecoder::decodeLine(line);
    const qint64 parseMs = timer.restart();
    const int samples = replies.value(0).toArray().size();
    // Conversion and rebuild run together: the source announces its points
    // and the chart rebuilds inside handleResponse.
    history.handleResponse(replies.value(0));
    const qint64 handleMs = timer.restart();
    window.grab(); // renders the chart as a repaint would
    const qint64 paintMs = timer.restart();

    // The date text alone, every sample, against Qt's own parser.
    const QJsonArray all = replies.value(0).toArray();
    Trend::WallClock clock;
    qint64 sum = 0;
    timer.restart();
    for (const QJsonValue& sample : all)
        sum += clock.toMSecs(sample.toArray().at(0).toString(), 0);
    const double fastNs = double(timer.nsecsElapsed()) / std::max(1, samples);
    timer.restart();
    const int qtSamples = std::min(samples, 20000);
    for (int i = 0; i < qtSamples; ++i)
        sum += QDateTime::fromString(all.at(i).toArray().at(0).toString(),
                                     QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                   .toMSecsSinceEpoch();
    const double qtNs = double(timer.nsecsElapsed()) / std::max(1, qtSamples);

    // A 720-point rebuild, as every refresh of a thinned window does.
    timer.restart();
    constexpr int kRebuilds = 20;
    for (int i = 0; i < kRebuilds; ++i) {
        window.updateTrend(false);
        window.grab();
    }
    const double rebuildMs = double(timer.nsecsElapsed()) / 1e6 / kRebuilds;

    out << "reply: " << line.size() / 1e6 << " MB, " << samples << " samples, "
        << history.points().size() << " points kept\n"
        << "parse (JSON): " << parseMs << " ms\n"
        << "conversion to points + chart rebuild: " << handleMs << " ms\n"
        << "first paint: " << paintMs << " ms\n"
        << "whole reply on screen: " << parseMs + handleMs + paintMs << " ms\n"
        << "date text per sample: " << fastNs << " ns (QDateTime::fromString: " << qtNs << " ns)\n"
        << "720-point rebuild with repaint: " << rebuildMs << " ms\n"
        << (sum == 42 ? " " : "");
    return 0;
}
