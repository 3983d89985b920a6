// CPU time of one home-screen poll tick: encode the 28 polled requests, decode
// a line of 28 replies, route each by id and update the widgets; then with
// the repaint that follows in the event loop. The decoding alone is timed
// first, beside Qt's parser. tick-vs-baseline.sh runs this file against a
// baseline build too.
//   bench_hometick [ticks]
#include "analyzer/clientset.h"
#include "analyzer/linedecoder.h"
#include "analyzer/response.h"
#include "screens/homewindow.h"
#include "trend/historyinterface.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <ctime>

namespace {

class NoHistory : public Trend::HistoryInterface
{
public:
    void requestRange(const QDateTime&, const QDateTime&, const QString&) override {}
    void refresh() override {}
    const QVector<Trend::TrendPoint>& points() override { return m_points; }

private:
    QVector<Trend::TrendPoint> m_points;
};

/// A line of replies the way the server answers the batch, with values that
/// change from tick to tick so every label really changes.
QByteArray replyLine(const QJsonArray& batch, int tick)
{
    QJsonArray replies;
    for (const QJsonValue& request : batch) {
        const QString method = request[QStringLiteral("method")].toString();
        QJsonValue result;
        if (method == QLatin1String("species"))
            result = QStringLiteral("H2O");
        else if (method == QLatin1String("current_gas"))
            result = QStringLiteral("N2");
        else if (method == QLatin1String("units"))
            result = QStringLiteral("volume");
        else if (method == QLatin1String("opmode"))
            result = 8;
        else if (method.endsWith(QLatin1String("_active")) ||
                 method.endsWith(QLatin1String("_used")) ||
                 method.endsWith(QLatin1String("_enabled")) ||
                 method.endsWith(QLatin1String("_expired")))
            result = (tick % 7 == 0);
        else
            result = 100.0 + tick % 50 + 0.123;
        replies.append(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                   {QStringLiteral("id"), request[QStringLiteral("id")]},
                                   {QStringLiteral("result"), result}});
    }
    return QJsonDocument(replies).toJson(QJsonDocument::Compact);
}

double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalis"));
    QCoreApplication::setApplicationName(QStringLiteral("VireoGUI-bench"));

    NoHistory history;
    HomeWindow home(&history, nullptr);
    home.resize(636, 450);
    Analyzer::ClientSet clients;
    clients.add(&home);
    clients.assignRequestIds(2);

    // Replies prepared up front: the server's work is not the panel's.
    QVector<QByteArray> lines;
    for (int i = 0; i < 64; ++i)
        lines.append(replyLine(home.updateRequests(), i));

    QTextStream out(stdout);
    // The receive path alone: one line of 28 replies into replies, ten times
    // as often, since it is a small share of the tick; Qt's parser beside it.
    for (bool qt : {false, true}) {
        std::size_t replies = 0;
        const double start = cpuSeconds();
        for (int i = 0; i < ticks * 10; ++i) {
            const QByteArray& line = lines.at(i % lines.size());
            if (qt) {
                for (const QJsonValue& reply : QJsonDocument::fromJson(line).array())
                    replies += Analyzer::Response(reply.toObject()).id() != 0;
            } else {
                replies += Analyzer::LineDecoder::decodeLine(line).size();
            }
        }
        out << (qt ? "  the same with Qt's parser: " : "decode one line of replies: ")
            << QString::number((cpuSeconds() - start) / (ticks * 10) * 1e6, 'f', 2) << " us CPU ("
            << replies / (ticks * 10) << " replies, " << lines.first().size() << " bytes)\n";
    }
    // Three ways: no window shown; shown, with the repaint the tick itself
    // causes (what changed is drawn when the event loop runs, as in the panel);
    // and with the whole page drawn again on every tick, for scale.
    enum Paint
    {
        None,
        Changed,
        Whole
    };
    for (Paint paint : {None, Changed, Whole}) {
        if (paint != None && !home.isVisible()) {
            home.show();
            app.processEvents();
        }
        std::size_t bytes = 0;
        const double start = cpuSeconds();
        for (int tick = 0; tick < ticks; ++tick) {
            bytes += QJsonDocument(home.updateRequests()).toJson(QJsonDocument::Compact).size();
            QByteArray buffer = lines.at(tick % lines.size()) + '\n';
            for (const QByteArray& line : Analyzer::LineDecoder::takeCompleteLines(buffer)) {
                for (const Analyzer::Response& reply : Analyzer::LineDecoder::decodeLine(line))
                    clients.route(reply);
            }
            if (paint == Whole)
                home.repaint();
            if (paint != None)
                app.processEvents();
        }
        const double perTick = (cpuSeconds() - start) / ticks * 1000.0;
        out << (paint == None      ? "tick (encode, decode, route, update): "
                : paint == Changed ? "tick with repaint: "
                                   : "tick with the whole page drawn again: ")
            << QString::number(perTick, 'f', 3) << " ms CPU (" << ticks << " ticks, "
            << bytes / ticks << " request bytes per tick)\n";
    }
    return 0;
}
