// vireo-sim: the analyzer simulator (see sim/README.md).
#include "sim/options.h"
#include "sim/rpcengine.h"
#include "sim/rpcserver.h"

#include <QCoreApplication>
#include <QTextStream>
#include <malloc.h>

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
        err << "vireo-sim: " << error << "\n" << "Try vireo-sim --help.\n";
        return 2;
    }
    if (help) {
        out << VireoSim::Options::helpText();
        return 0;
    }

    VireoSim::RpcEngine engine(options);
    if (!engine.open(&error)) {
        err << "vireo-sim: " << error << "\n";
        return 1;
    }
    engine.start();
    VireoSim::RpcServer server(engine);
    if (!server.listenTcp(options.host, quint16(options.port), &error)
        || (!options.localName.isEmpty() && !server.listenLocal(options.localName, &error))) {
        err << "vireo-sim: " << error << "\n";
        return 1;
    }
    // Every write reaches the databases at once, so being killed loses nothing.
    out << "LISTENING port=" << server.port();
    if (!options.localName.isEmpty())
        out << " local=" << options.localName;
    out << "\n";
    out.flush();
    return app.exec();
}
