// cpdb SRC DEST or cpdb SRC e DEST: copies an SQLite database consistently,
// through SQLite's online backup, even while another program writes to it.
// The "e" form is what the panel uses for settings databases; the copy is the
// same.
#include "sim/sqlitefile.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args.at(1) == QLatin1String("e"))
        args.removeAt(1);
    if (args.size() != 2) {
        err << "usage: cpdb SRC DEST  or  cpdb SRC e DEST\n";
        return 2;
    }
    QString error;
    if (!VireoSim::SqliteFile::snapshot(args.at(0), args.at(1), &error)) {
        err << "cpdb: " << error << "\n";
        return 1;
    }
    return 0;
}
