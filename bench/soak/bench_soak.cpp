// The long soak: the panel through CYCLES kill-and-restart cycles of the
// simulator under its faults, touring every page (tests/reliability/soak.h
// says what one cycle does and checks). Prints the resident memory after
// the warm-up and at the end; fails when a cycle fails or the memory grew by
// 1 MB or more after the warm-up.
//   bench_soak [CYCLES] [WARMUP]      (default 1000 and 50)
#include "soak.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            std::abort();
        }
    });
    const int cycles = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    const int warmUp = argc > 2 ? QByteArray(argv[2]).toInt() : 50;
    TestSupport::IsolatedHome home;
    Soak soak;
    QString error;
    if (!soak.start(&error)) {
        std::fprintf(stderr, "bench_soak: %s\n", qPrintable(error));
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    const qint64 atStart = Soak::residentKb();
    qint64 afterWarmUp = atStart;
    for (int i = 0; i < cycles; ++i) {
        if (!soak.cycle(i, &error)) {
            std::fprintf(stderr, "bench_soak: cycle %d: %s\n", i, qPrintable(error));
            return 1;
        }
        if (i + 1 == warmUp)
            afterWarmUp = Soak::residentKb();
        if ((i + 1) % 100 == 0)
            std::printf("%d cycles, %lld kB resident\n", i + 1,
                        static_cast<long long>(Soak::residentKb()));
    }
    const qint64 atEnd = Soak::residentKb();
    std::printf("bench_soak: %d cycles in %.0f s: %d reconnects, %d of %d downloads complete and "
                "byte for byte the analyzer's\n"
                "bench_soak: resident %lld kB at start, %lld kB after %d cycles of warm-up, "
                "%lld kB at the end (%+lld kB)\n",
                cycles, clock.elapsed() / 1000.0, soak.reconnects(), soak.transfersChecked(),
                soak.transfersStarted(), static_cast<long long>(atStart),
                static_cast<long long>(afterWarmUp), warmUp, static_cast<long long>(atEnd),
                static_cast<long long>(atEnd - afterWarmUp));
    return cycles > warmUp && atEnd - afterWarmUp >= 1024 ? 1 : 0;
}
