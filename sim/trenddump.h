// dumptrend: writes the samples of a trend database from a start date on as
// CSV, in one unit. Exit codes: 0 done, 1 the database cannot be read or the
// CSV cannot be written, 2 bad arguments.
#pragma once

#include <QStringList>

class QTextStream;

namespace VireoSim {

class TrendDump
{
public:
    /// arguments without the program name.
    static int run(const QStringList& arguments, QTextStream& out, QTextStream& err);
    static QString usage();
};

} // namespace VireoSim
