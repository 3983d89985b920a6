// dumptrend DB CSV --start yyyy-MM-dd --units KEY (see sim/README.md).
#include "sim/trenddump.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return VireoSim::TrendDump::run(app.arguments().mid(1), out, err);
}
