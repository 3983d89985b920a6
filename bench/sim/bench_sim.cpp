// Measures the simulator's speed figures and prints them:
//   bench_sim [--skip-download]
#include "sim/concentrationmodel.h"
#include "sim/options.h"
#include "sim/rpcengine.h"
#include "sim/trendstore.h"
#include "sim/unitmath.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <ctime>

namespace {

QTextStream out(stdout);

double threadCpuMicroseconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

void homeBatch()
{
    QTemporaryDir dir;
    VireoSim::Options options;
    options.stateDir = dir.path();
    VireoSim::RpcEngine engine(options);
    QString error;
    if (!engine.open(&error)) {
        out << "cannot open engine: " << error << "\n";
        return;
    }
    const char* methods[] = {"conc",
                             "species",
                             "units",
                             "tau",
                             "tau_std",
                             "tau_zero",
                             "tau_zero_std",
                             "get_customer_laser_current",
                             "get_customer_laser_temperature",
                             "trigger_threshold",
                             "opmode",
                             "current_gas",
                             "laser_alarm_active",
                             "pressure_alarm_active",
                             "rd_alarm_active",
                             "temp_alarm_active",
                             "refcell_alarm_active",
                             "detector_temperature_alarm_active",
                             "user_alarm_1_active",
                             "user_alarm_2_active",
                             "user_alarm_1_level",
                             "user_alarm_2_level",
                             "reactor_used",
                             "switch_to_ppm",
                             "fit_used",
                             "fit_mode_enabled",
                             "calibration_certificate_expired",
                             "conc_warning_alarm_active"};
    QJsonArray batch;
    int id = 2;
    for (const char* method : methods)
        batch.append(
            QJsonObject{{"jsonrpc", "2.0"}, {"id", id++}, {"method", QLatin1String(method)}});
    const QByteArray line = QJsonDocument(batch).toJson(QJsonDocument::Compact);
    QVector<double> samples;
    qint64 bytes = 0;
    for (int i = 0; i < 3000; ++i) {
        const double start = threadCpuMicroseconds();
        const QByteArray reply =
            QJsonDocument(engine.handleLine(line).toArray()).toJson(QJsonDocument::Compact);
        samples.append(threadCpuMicroseconds() - start);
        bytes = reply.size();
    }
    std::sort(samples.begin(), samples.end());
    out << "home batch (28 requests, parse + answer + encode, " << bytes << " reply bytes): median "
        << QString::number(samples.at(samples.size() / 2), 'f', 1) << " us CPU, p95 "
        << QString::number(samples.at(samples.size() * 95 / 100), 'f', 1) << " us\n";
}

void backfillWeek()
{
    QTemporaryDir dir;
    VireoSim::TrendStore store(dir.filePath(QStringLiteral("trend.db")));
    QString error;
    store.open(&error);
    VireoSim::ConcentrationModel model(120, 1);
    const QDateTime end = QDateTime::currentDateTime();
    QElapsedTimer clock;
    clock.start();
    const qint64 rows = store.backfill(end.addDays(-7), end, [&] {
        return VireoSim::UnitMath::sample(model.step(), QStringLiteral("N2"), 0, false);
    });
    const qint64 ms = clock.elapsed();
    out << "backfill 7 days at 1 Hz: " << rows << " rows in "
        << QString::number(ms / 1000.0, 'f', 2) << " s ("
        << QFile(dir.filePath(QStringLiteral("trend.db"))).size() / (1024 * 1024) << " MB)\n";
}

bool waitFor(QTcpSocket& socket, QByteArray& buffer)
{
    while (!buffer.contains('\n')) {
        if (!socket.waitForReadyRead(30000))
            return false;
        buffer += socket.readAll();
    }
    return true;
}

double chunkDownload(const QString& stateDir, int chunkSize, qint64 expected)
{
    QProcess sim;
    sim.start(QStringLiteral(VIREO_BIN_DIR "/vireo-sim"),
              {"--port", "0", "--state", stateDir, "--chunk-size", QString::number(chunkSize)});
    if (!sim.waitForReadyRead(30000))
        return -1;
    const quint16 port = quint16(sim.readLine().trimmed().split('=').last().toUInt());
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    socket.waitForConnected(5000);
    QByteArray buffer;
    QElapsedTimer clock;
    clock.start();
    socket.write(R"({"jsonrpc":"2.0","id":2,"method":"download_srda"})"
                 "\n");
    waitFor(socket, buffer);
    const QJsonArray info = QJsonDocument::fromJson(buffer.left(buffer.indexOf('\n')))
                                .object()
                                .value("result")
                                .toArray();
    buffer.remove(0, buffer.indexOf('\n') + 1);
    const int count = info.at(0).toInt();
    QJsonArray batch;
    for (int i = 0; i < 25; ++i)
        batch.append(QJsonObject{{"jsonrpc", "2.0"},
                                 {"id", 3},
                                 {"method", "download_file_data"},
                                 {"params", QJsonArray{info.at(1)}}});
    const QByteArray batchLine = QJsonDocument(batch).toJson(QJsonDocument::Compact) + '\n';
    qint64 received = 0;
    for (int asked = 0; asked < count; asked += 25) {
        socket.write(batchLine);
        if (!waitFor(socket, buffer))
            break;
        const int end = buffer.indexOf('\n');
        for (const QJsonValue& reply : QJsonDocument::fromJson(buffer.left(end)).array())
            received +=
                QByteArray::fromBase64(reply.toObject().value("result").toString().toLatin1())
                    .size();
        buffer.remove(0, end + 1);
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    sim.kill();
    sim.waitForFinished();
    if (received != expected)
        out << "  (received " << received << " of " << expected << " bytes)\n";
    return expected / 1e6 / seconds;
}

double rawLoopback(const QByteArray& data)
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    server.waitForNewConnection(5000);
    QTcpSocket* sender = server.nextPendingConnection();
    client.waitForConnected(5000);
    QElapsedTimer clock;
    clock.start();
    qint64 written = 0, received = 0;
    const qint64 slice = 1 << 20;
    while (received < data.size()) {
        if (written < data.size() && sender->bytesToWrite() < 4 * slice) {
            written +=
                sender->write(data.constData() + written, std::min(slice, data.size() - written));
        }
        sender->waitForBytesWritten(0);
        if (client.waitForReadyRead(10))
            received += client.readAll().size();
    }
    return data.size() / 1e6 / (clock.nsecsElapsed() / 1e9);
}

void download()
{
    QTemporaryDir dir;
    QByteArray data(50 * 1000 * 1000, Qt::Uninitialized);
    QRandomGenerator random(5);
    random.fillRange(reinterpret_cast<quint32*>(data.data()), data.size() / 4);
    QFile file(dir.filePath(QStringLiteral("srda.bin")));
    file.open(QIODevice::WriteOnly);
    file.write(data);
    file.close();
    out << "50 MB download through the chunk protocol (batches of 25), plain client:\n";
    for (int chunk : {1024, 4096, 65536}) {
        out << "  chunk " << chunk
            << " bytes: " << QString::number(chunkDownload(dir.path(), chunk, data.size()), 'f', 1)
            << " MB/s\n";
        out.flush();
    }
    out << "  raw loopback copy of the same 50 MB: " << QString::number(rawLoopback(data), 'f', 1)
        << " MB/s\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    homeBatch();
    out.flush();
    backfillWeek();
    out.flush();
    if (!app.arguments().contains(QStringLiteral("--skip-download")))
        download();
    return 0;
}
