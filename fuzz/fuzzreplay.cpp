// Runs fuzz inputs through the panel in an ordinary build and prints the
// slowest line of each: the lines the fuzzer found slow under its sanitizers,
// timed as the panel runs.
//   fuzz-replay FILE...
#include "fuzzpanel.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    FuzzPanel panel;
    for (int i = 1; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        if (!panel.run(file.readAll()))
            return 1;
        std::printf("%s: slowest line %.2f ms\n", argv[i], panel.inputSlowestLineMs());
    }
    return 0;
}
