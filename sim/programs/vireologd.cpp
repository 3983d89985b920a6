// vireo-logd: the log server stand-in (see sim/README.md).
#include "sim/logserver.h"
#include "sim/options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vireo-logd"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Log server: appends every line received on a local socket, time-stamped, to a file."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("socket"),
                      QStringLiteral("Local socket name (default /tmp/log_request)."),
                      QStringLiteral("NAME"), QStringLiteral("/tmp/log_request")});
    parser.addOption({QStringLiteral("file"),
                      QStringLiteral("Log file (default ~/.local/share/vireo-sim/vireo-logd.log)."),
                      QStringLiteral("PATH"),
                      VireoSim::Options::defaultStateDir() + QStringLiteral("/vireo-logd.log")});
    parser.process(app);

    VireoSim::LogServer server(parser.value(QStringLiteral("file")));
    QString error;
    if (!server.listen(parser.value(QStringLiteral("socket")), &error)) {
        QTextStream(stderr) << "vireo-logd: " << error << "\n";
        return 1;
    }
    QTextStream out(stdout);
    out << "LISTENING socket=" << parser.value(QStringLiteral("socket")) << "\n";
    out.flush();
    return app.exec();
}
