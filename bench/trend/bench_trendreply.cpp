// A week of trend history at 1 Hz (604,800 samples) as the simulator sends it
// with --full-trend: the time to parse the line, turn the reply into points,
// rebuild the trend chart, and a 720-point rebuild on its own. The panel's
// path (the streaming parser, the result read where it stands) and the old one
// (the duplicate-name scan, Qt's parser and Qt values) run in the same process,
// each ROUNDS times; medians are printed side by side, and the first week after
// the parsers gave their buffers back (cold) beside them. First of all, weeks
// arrive one after another through the receive path (line split, line queue,
// history, chart) as they do every 10 s while the trend page is up: the most
// resident memory they add, against twice the reply's size. Last, the week goes
// through the controller's line queue while a 1 ms timer runs: the longest the
// event loop stopped, beside the stop the old path made (all of it on the GUI
// thread).
//   bench_trendreply [days] [rounds]    (the simulator is taken from the build's bin folder)
#include "analyzer/linedecoder.h"
#include "analyzer/linequeue.h"
#include "app/appsetup.h"
#include "bench/processmemory.h"
#include "trend/remotehistory.h"
#include "trend/trendwindow.h"
#include "trend/wallclock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QVarLengthArray>
#include <algorithm>
#include <list>
#include <string>
#include <string_view>

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

/// A member name as written, or decoded when it holds escapes, so "a" and
/// "\u0061" compare equal as they do for the parser.
std::string_view memberName(std::string_view quoted, std::list<std::string>& decoded)
{
    const std::string_view inner = quoted.substr(1, quoted.size() - 2);
    if (inner.find('\\') == std::string_view::npos)
        return inner;
    // An array holding one string cannot repeat a name itself.
    const QByteArray wrapped = '[' + QByteArray(quoted.data(), int(quoted.size())) + ']';
    decoded.push_back(QJsonDocument::fromJson(wrapped).array().at(0).toString().toStdString());
    return decoded.back();
}

bool escapedQuote(std::string_view text, std::size_t quote)
{
    std::size_t backslashes = 0;
    while (backslashes < quote && text[quote - backslashes - 1] == '\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

bool oldRepeats(std::string_view* first, std::string_view* last)
{
    // Replies carry two or three members; sorting pays only for big objects.
    if (last - first <= 8) {
        for (auto it = first; it != last; ++it) {
            if (std::find(it + 1, last, *it) != last)
                return true;
        }
        return false;
    }
    std::sort(first, last);
    return std::adjacent_find(first, last) != last;
}

/// The panel's duplicate-name scan before simdjson, which ran ahead of Qt's
/// parser on every line: part of the old path.
bool oldDuplicateScan(const QByteArray& json)
{
    const std::string_view text(json.constData(), std::size_t(json.size()));
    // Per open container: whether it is an object and where its names start.
    // Sized so that a tick's line never allocates: the scan runs on every line.
    QVarLengthArray<std::pair<bool, int>, 16> open;
    QVarLengthArray<std::string_view, 32> names;
    std::list<std::string> decoded; // names with escapes, decoded; stable for the views
    bool nameNext = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '{':
            open.append({true, names.size()});
            nameNext = true;
            break;
        case '[':
            open.append({false, names.size()});
            nameNext = false;
            break;
        case '}':
        case ']':
            if (open.isEmpty())
                return false; // not JSON; the parser says why
            if (open.last().first && oldRepeats(names.begin() + open.last().second, names.end()))
                return true;
            names.resize(open.last().second);
            open.removeLast();
            nameNext = false;
            break;
        case ',':
            nameNext = !open.isEmpty() && open.last().first;
            break;
        case '"': {
            // The closing quote is the first one not escaped by an odd run of backslashes.
            std::size_t end = i;
            do {
                end = text.find('"', end + 1);
                if (end == std::string_view::npos)
                    return false;
            } while (escapedQuote(text, end));
            if (nameNext)
                names.append(memberName(text.substr(i, end - i + 1), decoded));
            nameNext = false;
            i = end;
            break;
        }
        default:
            break;
        }
    }
    return false;
}

/// The replies of line as the old decoder made them: the scan, then Qt's
/// parser and Qt values.
QVector<Analyzer::Response> qtDecode(const QByteArray& line)
{
    QVector<Analyzer::Response> replies;
    if (oldDuplicateScan(line))
        return replies;
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (document.isArray()) {
        for (const QJsonValue& element : document.array())
            replies.append(Analyzer::Response(element.toObject()));
    } else if (document.isObject()) {
        replies.append(Analyzer::Response(document.object()));
    }
    return replies;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

struct Path
{
    QVector<double> parse, handle, paint, whole, convert;
};

QString ms(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

} // namespace

int main(int argc, char** argv)
{
    // As the panel starts: its allocator settings decide what stays resident.
    prepareEnvironment();
    QApplication app(argc, argv);
    const int days = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 7;
    const int rounds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 5;
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime from = now.addDays(-days);
    const QDateTime to = now.addSecs(120);
    const QByteArray line = fetchReply(from, to, days);
    constexpr int kWeeksArriving = 6;
    double residentBefore = 0;
    double residentPeak = 0;

    Trend::RemoteHistory history(nullptr);
    history.assignRequestIds(2);
    TrendWindow window(&history, nullptr);
    window.resize(636, 450);
    window.show();
    QCoreApplication::processEvents();

    Trend::RemoteHistory bare(nullptr); // no chart: the conversion alone
    bare.assignRequestIds(3);
    Analyzer::LineDecoder decoder; // the panel's: one parser, reused
    double coldMs = 0;

    {
        // Weeks arriving as the panel receives them: each into a buffer of
        // its own, split into lines, through the queue to the history and
        // the chart; the resident set is sampled every 2 ms meanwhile.
        QCoreApplication::processEvents();
        residentBefore = Bench::residentMB();
        residentPeak = residentBefore;
        Analyzer::LineQueue queue;
        QEventLoop loop;
        QTimer sampler;
        sampler.setInterval(2);
        QObject::connect(&sampler, &QTimer::timeout,
                         [&] { residentPeak = std::max(residentPeak, Bench::residentMB()); });
        QObject::connect(&queue, &Analyzer::LineQueue::lineDecoded, [&] {
            while (const auto replies = queue.takeNext()) {
                for (const Analyzer::Response& reply : *replies)
                    history.handleResponse(reply);
            }
            window.repaint();
            QTimer::singleShot(200, &loop, &QEventLoop::quit);
        });
        sampler.start();
        for (int week = 0; week < kWeeksArriving; ++week) {
            history.requestRange(from, to, QStringLiteral("volume"));
            QByteArray received;
            for (int at = 0; at < line.size(); at += 64 * 1024)
                received.append(line.constData() + at,
                                std::min<qsizetype>(64 * 1024, line.size() - at));
            received.append('\n');
            queue.append(Analyzer::LineDecoder::takeCompleteLines(received));
            queue.takeNext();
            loop.exec();
        }
        residentPeak = std::max(residentPeak, Bench::residentMB());
    }
    const auto run = [&](bool panelPath, Path* path) {
        // The source asks for the range the reply below answers.
        history.requestRange(from, to, QStringLiteral("volume"));
        QElapsedTimer timer;
        timer.start();
        const QVector<Analyzer::Response> replies =
            panelPath ? decoder.decode(line) : qtDecode(line);
        const double parseMs = timer.nsecsElapsed() / 1e6;
        timer.restart();
        // Conversion and rebuild run together: the source announces its points
        // and the chart rebuilds inside handleResponse.
        history.handleResponse(replies.value(0));
        const double handleMs = timer.nsecsElapsed() / 1e6;
        timer.restart();
        window.grab(); // renders the chart as a repaint would
        const double paintMs = timer.nsecsElapsed() / 1e6;
        bare.requestRange(from, to, QStringLiteral("volume"));
        timer.restart();
        bare.handleResponse(replies.value(0));
        path->convert.append(timer.nsecsElapsed() / 1e6);
        path->parse.append(parseMs);
        path->handle.append(handleMs);
        path->paint.append(paintMs);
        path->whole.append(parseMs + handleMs + paintMs);
    };
    Path qt, panel, first;
    decoder.releaseBuffers();
    run(true, &first); // the parsers take their buffers again
    coldMs = first.whole.first();
    for (int round = 0; round < rounds; ++round) {
        run(false, &qt);
        run(true, &panel);
    }

    // The week through the controller's queue, with a 1 ms timer beside it.
    double longestStopMs = 0;
    {
        Analyzer::LineQueue queue;
        QEventLoop loop;
        QElapsedTimer sinceTick;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestStopMs = std::max(longestStopMs, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        QObject::connect(&queue, &Analyzer::LineQueue::lineDecoded, [&] {
            while (const auto replies = queue.takeNext()) {
                for (const Analyzer::Response& reply : *replies)
                    history.handleResponse(reply);
            }
            window.repaint();
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
        });
        history.requestRange(from, to, QStringLiteral("volume"));
        ticker.start();
        sinceTick.start();
        QTimer::singleShot(20, [&] {
            queue.append({line});
            queue.takeNext();
        });
        loop.exec();
    }

    // The date text alone, every sample, against Qt's own parser.
    const QJsonArray all = qtDecode(line).value(0).toArray();
    const int samples = all.size();
    Trend::WallClock clock;
    qint64 sum = 0;
    QElapsedTimer timer;
    timer.start();
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

    // A refresh that brings the same 720 points again, as most refreshes of
    // a thinned window do: the series are left alone.
    timer.restart();
    constexpr int kRebuilds = 20;
    for (int i = 0; i < kRebuilds; ++i) {
        window.updateTrend(false);
        window.grab();
    }
    const double rebuildMs = double(timer.nsecsElapsed()) / 1e6 / kRebuilds;

    const auto row = [](const char* what, const QVector<double>& mine, const QVector<double>& old) {
        return QStringLiteral("%1 %2   (old path, Qt's parser: %3)\n")
            .arg(QLatin1String(what), -38)
            .arg(ms(median(mine)), 10)
            .arg(ms(median(old)));
    };
    out << "reply: " << line.size() / 1e6 << " MB, " << samples << " samples, "
        << history.points().size() << " points kept; medians of " << rounds << " rounds\n"
        << row("parse:", panel.parse, qt.parse)
        << row("conversion to points + chart rebuild:", panel.handle, qt.handle)
        << row("  of which the conversion alone:", panel.convert, qt.convert)
        << row("first paint:", panel.paint, qt.paint)
        << row("whole reply on screen:", panel.whole, qt.whole) << "whole reply on screen, "
        << QString::number(median(qt.whole) / std::max(0.001, median(panel.whole)), 'f', 1)
        << " times faster than the old path\n"
        << "first week after the parsers gave their buffers back (cold): " << ms(coldMs)
        << ", warm: " << ms(median(panel.whole))
        << "; goal 80 ms: " << (std::max(coldMs, median(panel.whole)) <= 80 ? "met" : "MISSED")
        << "\n"
        << "resident memory added while " << kWeeksArriving << " weeks arrived one after another: "
        << QString::number(residentPeak - residentBefore, 'f', 1) << " MB at most, "
        << QString::number((residentPeak - residentBefore) / (line.size() / 1048576.0), 'f', 2)
        << " times the reply's size; goal 2 times: "
        << ((residentPeak - residentBefore) * 1048576.0 <= 2.0 * line.size() ? "met" : "MISSED")
        << "\n"
        << "longest stop of the event loop, the week through the line queue: " << ms(longestStopMs)
        << "   (old path, all on the GUI thread: " << ms(median(qt.whole)) << ")\n"
        << "date text per sample: " << fastNs << " ns (QDateTime::fromString: " << qtNs << " ns)\n"
        << "refresh with the same 720 points, with repaint: " << rebuildMs << " ms\n"
        << (sum == 42 ? " " : "");
    return 0;
}
