// The certification steps through a fake context, without a window: what
// each step shows and sends, and where every event takes it.
#include "base/globals.h"
#include "procedures/certificationcontext.h"
#include "procedures/certificationstates.h"

#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <utility>

using namespace Certification;

namespace {

class FakeContext : public Context
{
public:
    ~FakeContext() override { delete state; }

    void setOpmode(int mode) override { sent.append(QString::number(mode)); }
    void setStatusText(const QString& t) override { text = t; }
    void hideCancelButton(bool hide) override { cancel = !hide; }
    void hideNextButton(bool hide) override { next = !hide; }
    void hideOkButton(bool hide) override { ok = !hide; }
    void startFileDownload(FileManager::FileType type) override { downloads.append(type); }
    void cancelTransfer() override { sent.append("x"); }
    void setState(State* nextState) override
    {
        state = nextState;
        left = left || !nextState;
    }
    void startTimeout() override { ++timeoutsStarted; }
    void restoreServiceModeOnReconnect() override { owed = true; }
    bool runOnPeak() const override { return onPeak; }
    int collectionTime() const override { return seconds; }

    QString buttons() const
    {
        return QString(cancel ? "C" : "") + (next ? "N" : "") + (ok ? "O" : "");
    }

    /// Runs a script of events: "o8" mode reply 8 ("o2*11": eleven of them),
    /// "a1"/"a0" alarm, "l" lost link, "r" restored link, "t" the timeout,
    /// "d0"/"d1" download done/failed, "n", "c", "k" the Next, Cancel and OK
    /// buttons. As the window does from its event loop, each new state hears
    /// that it is current before the next event; a restored link sends the
    /// service mode a run owes, as the window does, whatever state is current.
    void run(const QString& script)
    {
        for (const QString& word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList parts = word.split(QLatin1Char('*'));
            const int count = parts.size() > 1 ? parts.at(1).toInt() : 1;
            for (int i = 0; i < count && (state || parts.at(0) == QLatin1String("r")); ++i) {
                announce();
                apply(parts.at(0));
            }
        }
        announce();
    }

    State* state = nullptr;
    /// Modes sent, and "x" for each cancelled transfer, in order.
    QStringList sent;
    QList<FileManager::FileType> downloads;
    QString text;
    bool cancel = false, next = false, ok = false, left = false;
    int timeoutsStarted = 0;
    /// A run ended on a lost link owes the service mode.
    bool owed = false;
    bool onPeak = true;
    int seconds = 43200;

private:
    void announce()
    {
        if (state && state != m_entered) {
            m_entered = state;
            state->onEntered(*this);
        }
    }

    void apply(const QString& event)
    {
        if (event == QLatin1String("r")) {
            if (std::exchange(owed, false))
                setOpmode(2);
            return;
        }
        const int value = event.mid(1).toInt();
        switch (event.at(0).toLatin1()) {
        case 'o':
            state->onOpmode(*this, value);
            break;
        case 'a':
            state->onSystemAlarm(*this, value != 0);
            break;
        case 'l':
            state->onConnectionLost(*this);
            break;
        case 't':
            state->onTimeout(*this);
            break;
        case 'd':
            state->onDownloadComplete(*this, value != 0);
            break;
        case 'n':
            state->onNext(*this);
            break;
        case 'c':
            state->onCancel(*this);
            break;
        case 'k':
            state->onOk(*this);
            break;
        default:
            QFAIL("unknown event");
        }
    }

    State* m_entered = nullptr;
};

using Factory = std::function<State*(Context&)>;

const QMap<QString, Factory>& factories()
{
    static const QMap<QString, Factory> map = {
        {"insert", [](Context& c) { return new InsertUSBState(c); }},
        {"gas", [](Context& c) { return new ConnectGasState(c); }},
        {"settings1", [](Context& c) { return new DownloadSettingsState(c, false); }},
        {"settings2", [](Context& c) { return new DownloadSettingsState(c, true); }},
        {"optimize", [](Context& c) { return new OptimizeLaserState(c); }},
        {"tempscan", [](Context& c) { return new TempScanState(c); }},
        {"onpeak", [](Context& c) { return new OnPeakState(c); }},
        {"offpeak", [](Context& c) { return new OffPeakState(c); }},
        {"cavity", [](Context& c) { return new CavityScanState(c); }},
        {"scans", [](Context& c) { return new DownloadScansState(c); }},
        {"srda", [](Context& c) { return new DownloadSRDAState(c); }},
        {"bundle", [](Context& c) { return new BundleFilesState(c); }},
        {"complete", [](Context& c) { return new CompleteState(c, QString()); }},
    };
    return map;
}

const QString kLost = QStringLiteral("ERROR: Lost connection to analyzer");
const QString kAlarm = QStringLiteral("ERROR: System alarm detected");
const QString kLeft = QStringLiteral("<left>");

} // namespace

class tst_CertificationStates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setStoragePath(m_storage.path()); }
    void steps_data();
    void steps();
    void waitsStartTheTimeout_data();
    void waitsStartTheTimeout();
    void dotsMoveOncePerReply();
    void countdown_data();
    void countdown();

private:
    QTemporaryDir m_storage;
};

void tst_CertificationStates::steps_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("text");    // status text afterwards, or <left>
    QTest::addColumn<QString>("buttons"); // visible afterwards
    QTest::addColumn<QString>("sent");    // modes sent and "x" transfers cancelled, in order
    QTest::addColumn<QString>("options"); // "offpeak", "time=N", "nostorage"

    // clang-format off
    QTest::newRow("insert: entry") << "insert" << "" << "Please insert USB disk." << "C" << "" << "";
    QTest::newRow("insert: storage present") << "insert" << "o8" << "Supply zero gas to analyzer (do not exceed maximum inlet pressure)." << "CN" << "" << "";
    QTest::newRow("insert: no storage waits") << "insert" << "o8*3" << "Please insert USB disk." << "C" << "" << "nostorage";
    QTest::newRow("insert: lost") << "insert" << "l" << kLost << "O" << "2" << "";
    // The run had not begun: a restored link has no mode to put back.
    QTest::newRow("insert: lost, restored") << "insert" << "l r" << kLost << "O" << "2" << "";
    QTest::newRow("insert: cancel leaves") << "insert" << "c" << kLeft << "" << "" << "";
    QTest::newRow("insert: ok leaves") << "insert" << "k" << kLeft << "" << "" << "";
    QTest::newRow("gas: next") << "gas" << "n" << "Copying settings   " << "" << "" << "";
    QTest::newRow("gas: lost") << "gas" << "l" << kLost << "O" << "2" << "";
    QTest::newRow("gas: cancel leaves") << "gas" << "c" << kLeft << "" << "" << "";
    QTest::newRow("settings: service first, then download") << "settings1" << "o8 o8 o2" << "Copying settings..." << "" << "2" << "";
    QTest::newRow("settings: first pass done") << "settings1" << "o8 o2 d0" << "Optimizing laser   " << "C" << "2" << "";
    QTest::newRow("settings: second pass done") << "settings2" << "o8 o2 d0" << "Copying scan data   " << "" << "2" << "";
    QTest::newRow("settings: failed") << "settings1" << "o8 o2 d1" << "ERROR: Failed to copy settings" << "O" << "2 2" << "";
    QTest::newRow("settings: outcome before start ignored") << "settings1" << "d1" << "Copying settings   " << "" << "" << "";
    QTest::newRow("settings: lost") << "settings1" << "o8 l" << kLost << "O" << "2 2" << "";
    QTest::newRow("settings: lost, restored") << "settings1" << "o8 l r" << kLost << "O" << "2 2 2" << "";
    QTest::newRow("settings: service mode never comes") << "settings1" << "o8 o8*20 t" << "ERROR: Failed to copy settings" << "O" << "2 2" << "";
    QTest::newRow("settings: no reply at all") << "settings1" << "t" << "ERROR: Failed to copy settings" << "O" << "2" << "";
    QTest::newRow("settings: copying is the transfer's") << "settings1" << "o8 o2 t" << "Copying settings.. " << "" << "2" << "";
    QTest::newRow("settings: cancel while waiting") << "settings1" << "o8 c" << "ERROR: Failed to copy settings" << "O" << "2 2" << "";
    QTest::newRow("settings: cancel while copying") << "settings1" << "o8 o2 c d1" << "ERROR: Failed to copy settings" << "O" << "2 2 x" << "";
    QTest::newRow("settings: next leaves") << "settings1" << "n" << kLeft << "" << "" << "";
    QTest::newRow("scans: done") << "scans" << "o2 o2 d0" << "Copying ring down data   " << "" << "2" << "";
    QTest::newRow("scans: failed") << "scans" << "o2 o2 d1" << "ERROR: Failed to copy scan data" << "O" << "2 2" << "";
    QTest::newRow("srda: done") << "srda" << "o2 o2 d0" << "Packaging files (please be patient)   " << "" << "2" << "";
    QTest::newRow("srda: failed") << "srda" << "o2 o2 d1" << "ERROR: Failed to copy ring down data" << "O" << "2 2" << "";
    QTest::newRow("optimize: ten tolerated") << "optimize" << "o8 o2*10" << "Optimizing laser..." << "C" << "6" << "";
    QTest::newRow("optimize: back in service moves on") << "optimize" << "o8 o6 o2*11" << "Running temperature scan   " << "C" << "6" << "";
    QTest::newRow("optimize: target resets the count") << "optimize" << "o8 o6 o2*10 o6 o2*10" << "Optimizing laser..." << "C" << "6" << "";
    // A refused write leaves the analyzer in service mode: no finished run.
    QTest::newRow("optimize: service mode before the target") << "optimize" << "o8 o2*30" << "Optimizing laser..." << "C" << "6" << "";
    QTest::newRow("optimize: refused times out") << "optimize" << "o8 o2*30 t" << "ERROR: Laser is not being optimized" << "O" << "6 2" << "";
    QTest::newRow("optimize: slow change") << "optimize" << "o8 o2*15 o6 o2*11" << "Running temperature scan   " << "C" << "6" << "";
    QTest::newRow("optimize: silent in target times out") << "optimize" << "o8 o6 t" << "ERROR: Laser is not being optimized" << "O" << "6 2" << "";
    QTest::newRow("optimize: no reply at all") << "optimize" << "t" << "ERROR: Laser is not being optimized" << "O" << "2" << "";
    QTest::newRow("optimize: other mode fails") << "optimize" << "o8 o7*11" << "ERROR: Laser is not being optimized" << "O" << "6 2" << "";
    QTest::newRow("optimize: alarm") << "optimize" << "o8 a1" << kAlarm << "O" << "6 2" << "";
    QTest::newRow("optimize: no alarm") << "optimize" << "o8 a0" << "Optimizing laser.  " << "C" << "6" << "";
    QTest::newRow("optimize: lost") << "optimize" << "l" << kLost << "O" << "2" << "";
    // The service mode sent on the lost link went nowhere: it goes out again.
    // The promise is kept once: a later drop and return is no reason to
    // take the analyzer out of whatever mode it was put in meanwhile.
    QTest::newRow("optimize: lost, restored twice") << "optimize" << "o8 l r r" << kLost << "O" << "6 2 2" << "";
    QTest::newRow("optimize: lost, OK before the link is back") << "optimize" << "o8 l k r" << kLeft << "" << "6 2 2" << "";
    QTest::newRow("optimize: cancel to service") << "optimize" << "o8 c" << kLeft << "" << "6 2" << "";
    QTest::newRow("tempscan: on peak") << "tempscan" << "o2 o5 o2*11" << "Collecting on peak data (12:00:00)" << "C" << "5" << "";
    QTest::newRow("tempscan: off peak") << "tempscan" << "o2 o5 o2*11" << "Collecting off peak data (12:00:00)" << "C" << "5" << "offpeak";
    QTest::newRow("tempscan: fails") << "tempscan" << "o2 o8*11" << "ERROR: Temperature scan not being run" << "O" << "5 2" << "";
    QTest::newRow("tempscan: refused times out") << "tempscan" << "o2 o2*11 t" << "ERROR: Temperature scan not being run" << "O" << "5 2" << "";
    QTest::newRow("onpeak: time 0 waits for the second reply") << "onpeak" << "o2" << "Collecting on peak data (00:00:00)" << "C" << "8" << "time=0";
    QTest::newRow("onpeak: time 0 ends at the second reply") << "onpeak" << "o2 o8" << "Running cavity scan   " << "C" << "8" << "time=0";
    QTest::newRow("onpeak: a refused mode collects nothing") << "onpeak" << "o2 o2*3" << "Collecting on peak data (00:00:00)" << "C" << "8" << "time=0";
    QTest::newRow("onpeak: refused, then times out") << "onpeak" << "o2 o2*3 t" << "ERROR: Stopped collecting on peak data" << "O" << "8 2" << "time=0";
    QTest::newRow("onpeak: stops") << "onpeak" << "o2 o2*11" << "ERROR: Stopped collecting on peak data" << "O" << "8 2" << "";
    QTest::newRow("onpeak: alarm") << "onpeak" << "o2 o8 a1" << kAlarm << "O" << "8 2" << "";
    QTest::newRow("onpeak: silent times out") << "onpeak" << "o2 o8 t" << "ERROR: Stopped collecting on peak data" << "O" << "8 2" << "";
    QTest::newRow("offpeak: stops") << "offpeak" << "o2 o8*11" << "ERROR: Stopped collecting off peak data" << "O" << "10 2" << "";
    QTest::newRow("offpeak: time 0") << "offpeak" << "o2 o10" << "Running cavity scan   " << "C" << "10" << "time=0";
    QTest::newRow("cavity: done") << "cavity" << "o8 o12 o2*11" << "Copying settings   " << "" << "12" << "";
    QTest::newRow("cavity: refused times out") << "cavity" << "o8 o2*11 t" << "ERROR: Cavity scan not being run" << "O" << "12 2" << "";
    QTest::newRow("cavity: fails") << "cavity" << "o8 o8*11" << "ERROR: Cavity scan not being run" << "O" << "12 2" << "";
    QTest::newRow("cavity: lost") << "cavity" << "o8 l" << kLost << "O" << "12 2" << "";
    QTest::newRow("bundle: done") << "bundle" << "o2 d0" << "Certification scans complete" << "O" << "2" << "";
    QTest::newRow("bundle: failed") << "bundle" << "o2 d1" << "ERROR: Failed to package files" << "O" << "2" << "";
    QTest::newRow("bundle: packaging needs no reply") << "bundle" << "d0" << "Certification scans complete" << "O" << "2" << "";
    QTest::newRow("bundle: lost ignored") << "bundle" << "o2 l r d0" << "Certification scans complete" << "O" << "2" << "";
    QTest::newRow("bundle: lost before any reply ignored") << "bundle" << "l d0" << "Certification scans complete" << "O" << "2" << "";
    QTest::newRow("bundle: packaging is not timed") << "bundle" << "t o2 t d0" << "Certification scans complete" << "O" << "2" << "";
    QTest::newRow("complete: ignores the rest") << "complete" << "o8 a1 l r t d1" << "Certification scans complete" << "O" << "2" << "";
    QTest::newRow("complete: ok leaves") << "complete" << "k" << kLeft << "" << "2" << "";
    // clang-format on
}

void tst_CertificationStates::steps()
{
    QFETCH(QString, start);
    QFETCH(QString, script);
    QFETCH(QString, text);
    QFETCH(QString, buttons);
    QFETCH(QString, sent);
    QFETCH(QString, options);

    setStoragePath(options.contains("nostorage") ? m_storage.path() + "/absent" : m_storage.path());
    FakeContext context;
    context.onPeak = !options.contains("offpeak");
    if (options.startsWith("time="))
        context.seconds = options.mid(5).toInt();
    context.state = factories().value(start)(context);
    context.run(script);

    if (text == kLeft) {
        QVERIFY(context.left);
    } else {
        QVERIFY(!context.left);
        QCOMPARE(context.text, text);
        QCOMPARE(context.buttons(), buttons);
    }
    QCOMPARE(context.sent.join(' '), sent);
}

void tst_CertificationStates::waitsStartTheTimeout_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("started"); // times the timeout was (re)started

    // On entry, at the write, at each reply that shows what the state waits
    // for, and (supervised states) at every reply once the target was seen.
    // clang-format off
    QTest::newRow("settings: entry") << "settings1" << "" << 1;
    QTest::newRow("settings: the write") << "settings1" << "o8" << 2;
    QTest::newRow("settings: not while copying") << "settings1" << "o8 o2 o2" << 2;
    QTest::newRow("optimize: entry and write") << "optimize" << "o8" << 2;
    QTest::newRow("optimize: not before the target") << "optimize" << "o8 o2 o2" << 2;
    QTest::newRow("optimize: every reply after the target") << "optimize" << "o8 o2 o6 o6 o2" << 5;
    QTest::newRow("onpeak: every reply after the target") << "onpeak" << "o2 o8 o8 o2" << 5;
    QTest::newRow("bundle: never, packaging decides") << "bundle" << "o2 o2" << 0;
    // clang-format on
}

void tst_CertificationStates::waitsStartTheTimeout()
{
    QFETCH(QString, start);
    QFETCH(QString, script);
    QFETCH(int, started);
    FakeContext context;
    context.state = factories().value(start)(context);
    context.run(script);
    QCOMPARE(context.timeoutsStarted, started);
}

void tst_CertificationStates::dotsMoveOncePerReply()
{
    FakeContext context;
    context.state = new DownloadSettingsState(context, false);
    QStringList texts{context.text};
    for (int i = 0; i < 4; ++i) {
        context.run("o2");
        texts << context.text;
    }
    QCOMPARE(texts,
             QStringList({"Copying settings   ", "Copying settings.  ", "Copying settings.. ",
                          "Copying settings...", "Copying settings   "}));
    // Each download starts once, whatever the number of service-mode replies.
    QCOMPARE(context.downloads, QList<FileManager::FileType>{FileManager::SettingsFile});

    FakeContext packaging;
    packaging.state = new BundleFilesState(packaging);
    packaging.run("o8 o8");
    QCOMPARE(packaging.downloads, QList<FileManager::FileType>{FileManager::CertificationPackage});
    QVERIFY(packaging.sent.isEmpty());
}

void tst_CertificationStates::countdown_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("twelve hours") << qint64(43200) << "Collecting on peak data (12:00:00)";
    QTest::newRow("hours not wrapped") << qint64(90061) << "Collecting on peak data (25:01:01)";
    QTest::newRow("over") << qint64(0) << "Collecting on peak data (00:00:00)";
    QTest::newRow("never negative") << qint64(-5) << "Collecting on peak data (00:00:00)";
}

void tst_CertificationStates::countdown()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(State::countdownText("Collecting on peak data", seconds), text);
}

QTEST_MAIN(tst_CertificationStates)
#include "tst_certificationstates.moc"
