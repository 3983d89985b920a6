// makecab /F DIRECTIVE: builds a cabinet with gcab (see sim/README.md).
#include "sim/cabinetdirective.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2 || args.at(0).compare(QLatin1String("/F"), Qt::CaseInsensitive) != 0) {
        err << "usage: makecab /F DIRECTIVE_FILE\n";
        return 2;
    }
    VireoSim::CabinetDirective directive;
    QString error;
    if (!directive.load(args.at(1), &error)) {
        err << "makecab: " << error << "\n";
        return 1;
    }
    const int result = directive.build(&error);
    if (result != 0) {
        err << "makecab: " << error << "\n";
        return result;
    }
    QTextStream(stdout) << "makecab: " << directive.files().size() << " files packed into "
                        << directive.outputPath() << "\n";
    return 0;
}
