// imagegen [--translation CATALOGUE.qm] OUTDIR NAME...: draws each named
// image into OUTDIR; the file suffix picks the format (png, bmp, ico). With a
// translation, the words drawn on the buttons are in its language.
#include "painter.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTextStream>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    QTranslator translator;
    if (args.size() > 2 && args.at(1) == QLatin1String("--translation")) {
        if (!translator.load(args.at(2))) {
            QTextStream(stderr) << "cannot read the translation " << args.at(2) << '\n';
            return 1;
        }
        QCoreApplication::installTranslator(&translator);
        args.erase(args.begin() + 1, args.begin() + 3);
    }
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: imagegen [--translation CATALOGUE.qm] OUTDIR NAME...\n";
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
