// vireo-screenshot FILE.png: saves what the X display shows, for the demo on a
// machine without a screen of its own (the panel runs under Xvfb there).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: vireo-screenshot FILE.png\n";
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen ? screen->grabWindow(0) : QPixmap();
    if (shot.isNull() || !shot.save(args.at(1), "PNG")) {
        QTextStream(stderr) << "vireo-screenshot: cannot save " << args.at(1) << "\n";
        return 1;
    }
    return 0;
}
