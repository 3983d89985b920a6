// vireo-sim: the analyzer simulator (see sim/README.md).
#include "sim/options.h"
#include "sim/rpcengine.h"
#include "sim/rpcserver.h"

#include <QCoreApplication>
#include <QTextStream>
#include <malloc.h>
#include <memory>
#include <vector>

int main(int argc, char* argv[])
{
    // A batch of file chunks is answered with megabytes at a time. Memory freed
    // after one reply is kept for the next instead of going back to the system
    // and being faulted in again page by page, which cost a third of the time.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vireo-sim"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    VireoSim::Options options;
    QString error;
    bool help = false;
    if (!options.parse(app.arguments(), &error, &help)) {
        err << "vireo-sim: " << error << "\n"
            << "Try vireo-sim --help.\n";
        return 2;
    }
    if (help) {
        out << VireoSim::Options::helpText();
        return 0;
    }

    // Each analyzer is an engine with its own state and server; with
    // --instruments several share this process and its event loop.
    std::vector<std::unique_ptr<VireoSim::RpcEngine>> engines;
    std::vector<std::unique_ptr<VireoSim::RpcServer>> servers;
    QStringList ports;
    for (int index = 0; index < options.instruments; ++index) {
        const VireoSim::Options own = options.forInstrument(index);
        auto engine = std::make_unique<VireoSim::RpcEngine>(own);
        if (!engine->open(&error)) {
            err << "vireo-sim: " << error << "\n";
            return 1;
        }
        engine->start();
        auto server = std::make_unique<VireoSim::RpcServer>(*engine);
        if (!server->listenTcp(own.host, quint16(own.port), &error) ||
            (!own.localName.isEmpty() && !server->listenLocal(own.localName, &error))) {
            err << "vireo-sim: " << error << "\n";
            return 1;
        }
        ports << QString::number(server->port());
        engines.push_back(std::move(engine));
        servers.push_back(std::move(server));
    }
    // Every write reaches the databases at once, so being killed loses nothing.
    out << "LISTENING port=" << ports.first();
    if (!options.localName.isEmpty())
        out << " local=" << options.localName;
    if (options.instruments > 1)
        out << " ports=" << ports.join(QLatin1Char(','));
    out << "\n";
    out.flush();
    return app.exec();
}
