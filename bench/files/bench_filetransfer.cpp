// Download throughput of a 50 MB file with 64 KB chunks, in one run against
// one simulator:
//   - a plain client that only frames the reply lines (what the simulator serves),
//   - a plain client on the old path: Qt's JSON parser and Qt's base64,
//   - the panel: the controller and its file manager writing to the storage folder,
//   - base64 decoding alone, modp_b64 (the panel's) beside Qt's.
//   bench_filetransfer [MB] [CHUNK_BYTES] [ROUNDS] [panel-only]
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "files/filemanager.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <modp_b64.h>
#include <unistd.h>

namespace {

QTextStream out(stdout);

bool readLine(QTcpSocket& socket, QByteArray& buffer, QByteArray* line)
{
    int end;
    int from = 0;
    while ((end = buffer.indexOf('\n', from)) < 0) {
        from = buffer.size();
        if (!socket.waitForReadyRead(30000))
            return false;
        buffer += socket.readAll();
    }
    *line = buffer.left(end);
    buffer.remove(0, end + 1);
    return true;
}

/// MB/s of file data; decode false only frames lines and counts the base64 text.
double plainClient(quint16 port, bool decode, qint64 expected)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(5000))
        return -1;
    QByteArray buffer, line;
    QElapsedTimer clock;
    clock.start();
    socket.write(R"({"jsonrpc":"2.0","id":2,"method":"download_srda"})"
                 "\n");
    if (!readLine(socket, buffer, &line))
        return -1;
    const QJsonArray info = QJsonDocument::fromJson(line).object().value("result").toArray();
    const int count = info.at(0).toInt();
    QJsonArray batch;
    for (int i = 0; i < 25; ++i)
        batch.append(QJsonObject{{"jsonrpc", "2.0"},
                                 {"id", 3},
                                 {"method", "download_file_data"},
                                 {"params", QJsonArray{info.at(1)}}});
    const QByteArray batchLine = QJsonDocument(batch).toJson(QJsonDocument::Compact) + '\n';
    qint64 received = 0;
    const QByteArray key = R"("result":")";
    for (int asked = 0; asked < count; asked += 25) {
        socket.write(batchLine);
        if (!readLine(socket, buffer, &line))
            break;
        if (decode) {
            for (const QJsonValue& reply : QJsonDocument::fromJson(line).array())
                received +=
                    QByteArray::fromBase64(reply.toObject().value("result").toString().toLatin1())
                        .size();
            continue;
        }
        for (int at = line.indexOf(key); at >= 0; at = line.indexOf(key, at)) {
            at += key.size();
            const int close = line.indexOf('"', at);
            const int length = close - at;
            received += length / 4 * 3 - (length && line.at(close - 1) == '=') -
                        (length && line.at(close - 2) == '=');
            at = close;
        }
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (received != expected)
        out << "  (plain client received " << received << " of " << expected << " bytes)\n";
    return expected / 1e6 / seconds;
}

double panel(VireoGUI* gui, FileManager* files, const QString& storage, qint64 expected)
{
    QSignalSpy done(files, &FileManager::downloadComplete);
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(gui, "startDownloadFile",
                              Q_ARG(FileManager::FileType, FileManager::SrdaFile),
                              Q_ARG(bool, true));
    if (!done.wait(120000) || !done.first().first().toBool())
        return -1;
    const double seconds = clock.nsecsElapsed() / 1e9;
    QDir dir(storage);
    qint64 written = 0;
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files)) {
        written += file.size();
        QFile::remove(file.filePath());
    }
    if (written != expected)
        out << "  (panel wrote " << written << " of " << expected << " bytes)\n";
    return expected / 1e6 / seconds;
}

double qtBase64Decode(const QByteArray& data)
{
    const QByteArray text = data.toBase64();
    QElapsedTimer clock;
    clock.start();
    qint64 decoded = 0;
    for (int i = 0; i < 3; ++i)
        decoded += QByteArray::fromBase64(text).size();
    return decoded / 1e6 / (clock.nsecsElapsed() / 1e9);
}

double modpBase64Decode(const QByteArray& data)
{
    const QByteArray text = data.toBase64();
    QByteArray decoded(int(modp_b64_decode_len(text.size())), Qt::Uninitialized);
    QElapsedTimer clock;
    clock.start();
    qint64 total = 0;
    for (int i = 0; i < 3; ++i)
        total += qint64(modp_b64_decode(decoded.data(), text.constData(), size_t(text.size())));
    const double rate = total / 1e6 / (clock.nsecsElapsed() / 1e9);
    decoded.truncate(int(total / 3));
    if (decoded != data)
        out << "  (modp_b64 decoded differently)\n";
    return rate;
}

/// CPU seconds the process has used so far (user and system).
double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int megabytes = args.value(1, "50").toInt();
    const int chunk = args.value(2, "65536").toInt();
    const int rounds = args.value(3, "3").toInt();
    const bool panelOnly = args.value(4) == QLatin1String("panel-only"); // for profiling the panel

    QTemporaryDir state, storage;
    QByteArray data(megabytes * 1000 * 1000, Qt::Uninitialized);
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(data.data()), data.size() / 4);
    QFile file(state.filePath("srda.bin"));
    file.open(QIODevice::WriteOnly);
    file.write(data);
    file.close();

    QProcess sim;
    sim.start(QStringLiteral(VIREO_BIN_DIR "/vireo-sim"),
              {"--port", "0", "--state", state.path(), "--chunk-size", QString::number(chunk)});
    if (!sim.waitForReadyRead(60000))
        return 1;
    const quint16 port = quint16(sim.readLine().trimmed().split('=').last().toUInt());
    {
        // Service mode: the simulator appends to the ring-down archive only while measuring.
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        socket.waitForConnected(5000);
        socket.write(R"({"jsonrpc":"2.0","id":1,"method":"opmode","params":[2]})"
                     "\n");
        socket.waitForReadyRead(5000);
    }

    connectionString() = QStringLiteral("127.0.0.1:%1").arg(port);
    setStoragePath(storage.path());
    MainWindow window;
    auto* gui = window.findChild<VireoGUI*>();
    auto* files = gui->findChild<FileManager*>();

    out << megabytes << " MB, chunks of " << chunk << " bytes, median of " << rounds
        << " rounds:\n";
    QVector<double> framing, simCpu, decoding, panelRates;
    for (int round = 0; round < rounds; ++round) {
        if (panelOnly) {
            panelRates.append(panel(gui, files, storage.path(), data.size()));
            continue;
        }
        const double cpuBefore = cpuSeconds(sim.processId());
        framing.append(plainClient(port, false, data.size()));
        simCpu.append(data.size() / 1e6 / std::max(0.01, cpuSeconds(sim.processId()) - cpuBefore));
        decoding.append(plainClient(port, true, data.size()));
        panelRates.append(panel(gui, files, storage.path(), data.size()));
    }
    if (panelOnly) {
        out << "  panel file manager to the storage folder: "
            << QString::number(median(panelRates), 'f', 1) << " MB/s\n";
        return 0;
    }
    const double serving = median(framing);
    const double plain = median(decoding);
    const double mine = median(panelRates);
    out << "  simulator serving (client frames lines only): " << QString::number(serving, 'f', 1)
        << " MB/s; per CPU second of the simulator: " << QString::number(median(simCpu), 'f', 0)
        << " MB\n";
    out << "  plain client, the old path (Qt's parser, Qt's base64): "
        << QString::number(plain, 'f', 1) << " MB/s\n";
    out << "  panel file manager to the storage folder:     " << QString::number(mine, 'f', 1)
        << " MB/s (" << QString::number(100.0 * mine / serving, 'f', 0)
        << " % of the simulator's serving rate, " << QString::number(mine / plain, 'f', 1)
        << " times the old path's client)\n";
    out << "  base64 decoding alone: modp_b64 " << QString::number(modpBase64Decode(data), 'f', 1)
        << " MB/s (Qt's: " << QString::number(qtBase64Decode(data), 'f', 1) << " MB/s)\n";
    sim.kill();
    sim.waitForFinished();
    return 0;
}
