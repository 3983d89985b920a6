// libFuzzer entry of the receive path (see fuzzpanel.h for the input). Built
// with clang under AddressSanitizer and UndefinedBehaviorSanitizer by
// -DMARLOMAX_FUZZ=ON; bench/fuzz/fuzz-receive.sh builds and runs it. Lines
// that stop the panel, a failed assertion or a sanitizer report are crashes;
// at exit it prints the lines sent and the slowest of them. With
// MARLOMAX_FUZZ_SLOW_LINES naming a folder, each line slower than 50 ms is
// kept there for fuzz-replay.
#include "app/appsetup.h"
#include "base/messagehandler.h"
#include "fuzzpanel.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

FuzzPanel* panel = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    // Formatted as the panel's log would have it, then dropped: a parse error
    // a line is too much output at this speed.
    const QByteArray line = formatLogLine(type, context, text);
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", line.constData());
        std::abort();
    }
}

void report()
{
    if (!panel)
        return;
    std::fprintf(stderr,
                 "fuzz_receive: %lld lines, slowest %.2f ms, %lld over %.0f ms\n"
                 "fuzz_receive: slowest line: %s\n",
                 static_cast<long long>(panel->lines()), panel->slowestLineMs(),
                 static_cast<long long>(panel->slowLines()), FuzzPanel::slowLineMs(),
                 panel->slowestLine().constData());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The lock state and every file the panel writes land in folders of its own.
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qInstallMessageHandler(quietHandler);
    prepareEnvironment();
    // Both live until the process ends; libFuzzer exits without unwinding.
    auto* app = new QApplication(*argc, *argv);
    setUpApplication(*app);
    panel = new FuzzPanel;
    panel->setSlowLineFolder(qEnvironmentVariable("MARLOMAX_FUZZ_SLOW_LINES"));
    std::atexit(report);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    const qint64 before = panel->lines();
    if (!panel->run(input))
        qFatal("fuzz_receive: the panel stopped handling lines");
    // Now and then, so that a run cut short still tells how far it got.
    constexpr qint64 kReportEvery = 1 << 18;
    if (before / kReportEvery != panel->lines() / kReportEvery)
        report();
    return 0;
}
