#include "sim/options.h"

#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>

namespace VireoSim {

namespace {

struct Flag
{
    const char* name;
    const char* valueName; // nullptr for a switch
    const char* help;
};

// One table feeds both the parser and --help, so the two cannot drift apart.
const Flag kFlags[] = {
    {"port", "N", "TCP port on 127.0.0.1 (default 49999; 0 picks a free port)."},
    {"host", "ADDRESS", "Address to listen on (default 127.0.0.1)."},
    {"local", "NAME", "Also listen on the local socket NAME."},
    {"state", "DIR",
     "State folder: settings.db, trend.db, scans.db, srda.bin, vireo.log "
     "(default ~/.local/share/vireo-sim)."},
    {"backfill-days", "N", "Fill trend.db with N days of 1 Hz history at start (default 0)."},
    {"full-trend", nullptr, "get_trend_data returns every sample instead of about 720."},
    {"scan-seconds", "N", "How long optimisation, tune and scans run (default 30)."},
    {"chunk-size", "BYTES", "Bytes per download_file_data chunk (default 4096)."},
    {"seed", "N", "Seed of the measurement noise (default: random)."},
    {"control", nullptr, "Enable the sim_control method (faults, alarms at run time)."},
    {"instruments", "N",
     "Serve N independent analyzers on ports PORT to PORT+N-1 (all free "
     "ones with --port 0), with state in DIR/1 to DIR/N (default 1)."},
    {"no-apc", nullptr, "Play an analyzer without pressure controller (apc_used false)."},
    {"reactor", nullptr, "Play an analyzer with reactor (reactor_used true)."},
    {"fit", nullptr, "Play an analyzer with fit mode (fit_used true)."},
    {"no-dew-point", nullptr, "Dew point units not available (dew_point_used false)."},
    {"unit-type", "N", "unit_type reported (default 0; 100 shows the laser current monitor)."},
    {"serial", "TEXT", "serial_number reported (default VS-10482)."},
    {"unit-name", "TEXT", "unit_name reported (default VIREO H2O)."},
    {"species", "TEXT", "species reported (default H2O)."},
    {"gas", "NAME",
     "Offer the carrier gas NAME instead of the built-in seventeen (repeatable; "
     "the first is the current gas of a fresh state folder)."},
    {"certificate-expired", nullptr, "Start with the performance verification due."},
    {"off-peak-certification", nullptr, "calibration_certificate_run_on_peak reads false."},
    {"collection-seconds", "N", "calibration_certificate_collection_time (default 43200)."},
    {"baseline", "PPB", "Baseline concentration in ppb by volume (default 120)."},
    {"alarm", "NAME",
     "Hold a system alarm on: laser, pressure, rd, temp, refcell, "
     "detector_temperature, conc_warning (repeatable)."},
    {"close-after", "N", "Fault: close each connection after answering N lines."},
    {"delay-ms", "N", "Fault: hold every reply back N milliseconds."},
    {"split-replies", nullptr, "Fault: write every reply in pieces, pausing between them."},
    {"garbage-every", "N", "Fault: send a line that is not JSON before every Nth reply."},
    {"fail-method", "NAME[:PARAM[:CODE]]",
     "Fault: answer NAME (only the calls whose first param reads PARAM, when given: opmode:6) "
     "with an error of CODE (default 1, which the panel shows to the operator) (repeatable)."},
    {"drop-reply", "NAME[:N]",
     "Fault: never answer NAME; with N only its Nth call; NAME:PARAM:N picks calls by their first "
     "param, N 0 for every one (repeatable)."},
    {"delay-method", "NAME:MS",
     "Fault: answer the lines that call NAME (NAME:PARAM:MS: with that first param) MS "
     "milliseconds late, while later lines are answered meanwhile (repeatable)."},
    {"serve-in-turn", "NAME:MS",
     "Fault: serve the lines that call NAME one after another, each MS milliseconds after the "
     "one before was answered (an in-order slow server); other lines are answered meanwhile "
     "(repeatable)."},
    {"drop-link-after", "NAME[:PARAM[:MS]]",
     "Fault: close the connection MS milliseconds (default 0) after answering the first call of "
     "NAME (with PARAM, when given); each fires once (repeatable)."},
    {"stop-after", "N", "Fault: stop answering after N lines on a connection (0 = at once)."},
    {"shuffle-batches", nullptr, "Fault: answer a batch as separate lines in another order."},
    {"alarm-relay", nullptr, "Fault: sys_alarm_relay reads true (a system alarm holds the relay)."},
};

const QStringList kAlarmNames = {
    QStringLiteral("laser"),       QStringLiteral("pressure"),
    QStringLiteral("rd"),          QStringLiteral("temp"),
    QStringLiteral("refcell"),     QStringLiteral("detector_temperature"),
    QStringLiteral("conc_warning")};

bool readInt(const QCommandLineParser& parser, const char* name, int minimum, int maximum,
             int* target, QString* error)
{
    if (!parser.isSet(QLatin1String(name)))
        return true;
    bool ok = false;
    const int value = parser.value(QLatin1String(name)).toInt(&ok);
    if (!ok || value < minimum || value > maximum) {
        *error = QStringLiteral("--%1 needs a whole number from %2 to %3")
                     .arg(QLatin1String(name))
                     .arg(minimum)
                     .arg(maximum);
        return false;
    }
    *target = value;
    return true;
}

} // namespace

QString Options::defaultStateDir()
{
    return QDir::homePath() + QStringLiteral("/.local/share/vireo-sim");
}

QString Options::helpText()
{
    QString text =
        QStringLiteral("Usage: vireo-sim [options]\n"
                       "Analyzer simulator: serves the measurement server's JSON-RPC methods, one\n"
                       "message per line, on TCP (and a local socket on request). Prints\n"
                       "\"LISTENING port=N\" on standard output once it accepts connections.\n\n"
                       "Options:\n");
    for (const Flag& flag : kFlags) {
        QString left = QStringLiteral("  --") + QLatin1String(flag.name);
        if (flag.valueName)
            left += QLatin1Char(' ') + QLatin1String(flag.valueName);
        text += left.leftJustified(28) + QLatin1String(flag.help) + QLatin1Char('\n');
    }
    text += QStringLiteral("  --help                    Show this text.\n");
    return text;
}

bool Options::parse(const QStringList& arguments, QString* error, bool* helpRequested)
{
    *helpRequested = false;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Flag& flag : kFlags) {
        QCommandLineOption option(QLatin1String(flag.name), QLatin1String(flag.help));
        if (flag.valueName)
            option.setValueName(QLatin1String(flag.valueName));
        parser.addOption(option);
    }
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("help"), QStringLiteral("h")}));
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        *helpRequested = true;
        return true;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument: ") + parser.positionalArguments().first();
        return false;
    }

    if (!readInt(parser, "port", 0, 65535, &port, error) ||
        !readInt(parser, "backfill-days", 0, 3650, &backfillDays, error) ||
        !readInt(parser, "scan-seconds", 0, 86400, &scanSeconds, error) ||
        !readInt(parser, "chunk-size", 16, 16 * 1024 * 1024, &chunkSize, error) ||
        !readInt(parser, "unit-type", 0, 1000000, &unitType, error) ||
        !readInt(parser, "collection-seconds", 0, 10 * 86400, &collectionSeconds, error) ||
        !readInt(parser, "close-after", 0, 1000000000, &faults.closeAfter, error) ||
        !readInt(parser, "delay-ms", 0, 600000, &faults.delayMs, error) ||
        !readInt(parser, "garbage-every", 0, 1000000000, &faults.garbageEvery, error) ||
        !readInt(parser, "stop-after", 0, 1000000000, &faults.stopAfter, error) ||
        !readInt(parser, "instruments", 1, 1000, &instruments, error))
        return false;
    if (port != 0 && port + instruments - 1 > 65535) {
        *error = QStringLiteral("--instruments %1 from port %2 runs past port 65535")
                     .arg(instruments)
                     .arg(port);
        return false;
    }
    int seedValue = 0;
    if (!readInt(parser, "seed", 0, 2147483647, &seedValue, error))
        return false;
    seed = quint32(seedValue);

    if (parser.isSet(QStringLiteral("host")))
        host = parser.value(QStringLiteral("host"));
    localName = parser.value(QStringLiteral("local"));
    if (instruments > 1 && !localName.isEmpty()) {
        *error = QStringLiteral("--local names one socket; it cannot serve several --instruments");
        return false;
    }
    stateDir = parser.isSet(QStringLiteral("state")) ? parser.value(QStringLiteral("state"))
                                                     : defaultStateDir();
    fullTrend = parser.isSet(QStringLiteral("full-trend"));
    control = parser.isSet(QStringLiteral("control"));
    apcUsed = !parser.isSet(QStringLiteral("no-apc"));
    reactorUsed = parser.isSet(QStringLiteral("reactor"));
    fitUsed = parser.isSet(QStringLiteral("fit"));
    dewPointUsed = !parser.isSet(QStringLiteral("no-dew-point"));
    certificateExpired = parser.isSet(QStringLiteral("certificate-expired"));
    runOnPeak = !parser.isSet(QStringLiteral("off-peak-certification"));
    if (parser.isSet(QStringLiteral("serial")))
        serialNumber = parser.value(QStringLiteral("serial"));
    if (parser.isSet(QStringLiteral("unit-name")))
        unitName = parser.value(QStringLiteral("unit-name"));
    if (parser.isSet(QStringLiteral("species")))
        species = parser.value(QStringLiteral("species"));
    if (parser.isSet(QStringLiteral("gas"))) {
        gases = parser.values(QStringLiteral("gas"));
        gases.removeDuplicates();
        if (gases.contains(QString())) {
            *error = QStringLiteral("--gas needs a name");
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("baseline"))) {
        bool ok = false;
        baselinePpb = parser.value(QStringLiteral("baseline")).toDouble(&ok);
        if (!ok || baselinePpb < 0 || baselinePpb > 1e7) {
            *error = QStringLiteral("--baseline needs a concentration in ppb from 0 to 10000000");
            return false;
        }
    }
    alarms = parser.values(QStringLiteral("alarm"));
    for (const QString& alarm : alarms) {
        if (!kAlarmNames.contains(alarm)) {
            *error = QStringLiteral("unknown alarm %1 (known: %2)")
                         .arg(alarm, kAlarmNames.join(QStringLiteral(", ")));
            return false;
        }
    }
    for (const char* flag :
         {"fail-method", "drop-reply", "delay-method", "serve-in-turn", "drop-link-after"}) {
        for (const QString& text : parser.values(QLatin1String(flag))) {
            QString message;
            if (!faults.setMethodFault(QLatin1String(flag), text, true, &message)) {
                *error = QStringLiteral("--%1: %2").arg(QLatin1String(flag), message);
                return false;
            }
        }
    }
    faults.splitReplies = parser.isSet(QStringLiteral("split-replies"));
    faults.shuffleBatches = parser.isSet(QStringLiteral("shuffle-batches"));
    faults.alarmRelay = parser.isSet(QStringLiteral("alarm-relay"));
    if (!parser.isSet(QStringLiteral("stop-after")))
        faults.stopAfter = -1;
    return true;
}

Options Options::forInstrument(int index) const
{
    Options options = *this;
    options.instruments = 1;
    if (instruments > 1) {
        options.stateDir = stateDir + QLatin1Char('/') + QString::number(index + 1);
        if (port != 0)
            options.port = port + index;
        if (seed != 0)
            options.seed = seed + quint32(index);
    }
    return options;
}

} // namespace VireoSim
