// backlight VALUE: stands in for the panel's backlight program. It records the
// requested device brightness, one line per call, in the file named by
// $VIREO_BACKLIGHT_FILE (default ~/.local/share/vireo-sim/backlight), so a
// test can see what the panel asked for.
#include "sim/options.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    bool ok = false;
    const double value = args.value(0).toDouble(&ok);
    if (args.size() != 1 || !ok || value < 0) {
        err << "usage: backlight BRIGHTNESS (a non-negative number)\n";
        return 2;
    }
    QString path = QString::fromLocal8Bit(qgetenv("VIREO_BACKLIGHT_FILE"));
    if (path.isEmpty())
        path = VireoSim::Options::defaultStateDir() + QStringLiteral("/backlight");
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        err << "backlight: cannot write " << path << "\n";
        return 1;
    }
    file.write(args.at(0).toUtf8() + '\n');
    return 0;
}
