// imagegen OUTDIR NAME...: draws each named image into OUTDIR; the file
// suffix picks the format (png, bmp, ico).
#include "painter.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: imagegen OUTDIR NAME...\n";
        return 2;
    }
    const QDir out(args.at(1));
    if (!out.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot create " << out.path() << '\n';
        return 1;
    }
    const QStringList names = args.mid(2);
    for (const QString& name : names) {
        const QImage image = drawImage(name);
        QImageWriter writer(out.filePath(name));
        if (image.isNull() || !writer.write(image)) {
            QTextStream(stderr) << "cannot write " << name << ": " << writer.errorString() << '\n';
            return 1;
        }
    }
    return 0;
}
