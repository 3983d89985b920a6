// The simulator's start-up configuration: where it listens, where it keeps its
// state, which analyzer variant it plays and which faults it shows.
#pragma once

#include "sim/faultplan.h"
#include "sim/gascatalog.h"

#include <QString>
#include <QStringList>

namespace VireoSim {

struct Options
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 49999;
    QString localName;
    QString stateDir;
    int backfillDays = 0;
    bool fullTrend = false;
    int scanSeconds = 30;
    int chunkSize = 4096;
    quint32 seed = 0;
    bool control = false;
    /// Independent analyzers served by this process, on consecutive ports.
    int instruments = 1;

    bool apcUsed = true;
    bool reactorUsed = false;
    bool fitUsed = false;
    bool dewPointUsed = true;
    int unitType = 0;
    QString serialNumber = QStringLiteral("VS-10482");
    QString unitName = QStringLiteral("VIREO H2O");
    QString species = QStringLiteral("H2O");
    /// The carrier gases offered ("available_gases"); the first is the
    /// current gas of a fresh state folder.
    QStringList gases = GasCatalog::names();
    bool certificateExpired = false;
    bool runOnPeak = true;
    int collectionSeconds = 43200;
    double baselinePpb = 120.0;
    QStringList alarms;

    FaultPlan faults;

    /// Parses the arguments (program name first). On failure returns false and
    /// sets error to a message for the operator; on --help sets helpRequested.
    bool parse(const QStringList& arguments, QString* error, bool* helpRequested);
    static QString helpText();
    static QString defaultStateDir();
    /// The options of analyzer index (0-based) when several are served: its
    /// own state subfolder, the next port (unless picked freely) and seed.
    Options forInstrument(int index) const;
};

} // namespace VireoSim
