// What the panel and the launcher know about every analyzer, written once:
// its operating modes, its alarm flags with the labels they are shown by, the
// methods that report its status, and the classes its status falls into.
// Adding an alarm is one row of alarmTable(); every page, the status badge,
// the journal and the launcher's fleet read it from here.
#pragma once

#include <QFlags>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

namespace Analyzer {

/// The operating modes, by the code "opmode" reads and writes.
enum OperatingMode : int
{
    UnknownMode = -1, ///< no mode read yet (never sent by the analyzer)
    ShutdownMode = 0,
    CloseFilesMode = 1,
    ServiceMode = 2,
    TuneMode = 3,
    RefCellScanCurrentMode = 4,
    RefCellScanTemperatureMode = 5,
    OptimizeLaserMode = 6,
    OptimizeLaserFailedMode = 7,
    MeasureMode = 8,
    CenteringFailedMode = 9,
    OffPeakMode = 10,
    UnexpectedErrorMode = 11,
    CavityScanCurrentMode = 12,
    CavityScanTemperatureMode = 13
};

struct ModeInfo
{
    int code;
    /// The display name, untranslated (modeName() gives it in the program's language).
    const char* name;
    /// Whether the value the analyzer reports in this mode is a measurement.
    bool measures;
};

/// Every mode, by code (0 to 13).
const QVector<ModeInfo>& modeTable();
/// True for the codes of modeTable().
bool isKnownMode(int code);
/// The mode's display name in the program's language; empty for a code of no mode.
QString modeName(int code);
/// Whether a value read in this mode is a measurement.
bool measuresIn(int code);

/// The analyzer's status as the NAMUR NE 107 status signals put it, in
/// priority order (the first that holds is the class), and normal.
enum class StatusClass
{
    /// The value is not valid: a malfunction, or the analyzer out of reach.
    Failure,
    /// Work is being done on the analyzer: the value is temporarily not a measurement.
    FunctionCheck,
    /// The analyzer runs outside its specified conditions: the value is uncertain.
    Uncertain,
    /// The value is valid, but maintenance is due.
    MaintenanceRequired,
    Normal
};
/// Every class, in priority order.
const QVector<StatusClass>& statusClasses();
/// The class's name in the program's language.
QString statusClassName(StatusClass statusClass);
/// The class's symbol (its NE 107 shape in its colour), drawn at build time
/// into the resources of the panel and of the launcher alike.
QString statusClassSymbol(StatusClass statusClass);

enum class AlarmFlag : unsigned
{
    Laser = 0x1,
    Pressure = 0x2,
    RingDown = 0x4,
    Temperature = 0x8,
    RefCell = 0x10,
    DetectorTemperature = 0x20,
    ConcWarning = 0x40,
    UserAlarm1 = 0x80,
    UserAlarm2 = 0x100,
    CertificateExpired = 0x200
};
Q_DECLARE_FLAGS(AlarmFlags, AlarmFlag)

enum class AlarmKind
{
    System,  ///< the instrument itself: the system lamp, the details page
    User,    ///< the concentration passed a level the operator set
    Reminder ///< the performance verification is due
};

struct AlarmInfo
{
    AlarmFlag flag;
    /// The boolean method that reports it, and the key the journal keeps.
    const char* method;
    /// Its name in the alarm list, on the lamps and in the journal, untranslated.
    const char* label;
    /// Its name on an analyzer with a reactor, where that differs; else null.
    const char* reactorLabel;
    AlarmKind kind;
    /// The class the flag puts the analyzer in; Normal for a process alarm,
    /// which says the gas is high, not that the analyzer is in doubt.
    StatusClass statusClass;
};

/// Every flag, in the order of the home screen's alarm list.
const QVector<AlarmInfo>& alarmTable();
/// The row of the flag reported by method; null when it is none.
const AlarmInfo* alarmForMethod(const QString& method);
/// The flag's name in the program's language.
QString alarmLabel(AlarmFlag flag, bool reactorUsed = false);
/// The name of the flag reported by method; the method itself when it is none.
QString alarmLabel(const QString& method, bool reactorUsed = false);
/// The flags of one kind.
AlarmFlags alarmsOfKind(AlarmKind kind);
/// The flags that put the analyzer in a class.
AlarmFlags alarmsOfClass(StatusClass statusClass);

/// What status the panel watches on every page: the mode and the alarm flags.
const QStringList& statusMethods();
/// The method that tells whether the analyzer has a reactor (it renames two alarms).
inline const char* reactorMethod()
{
    return "reactor_used";
}
/// The method that reads the analyzer's serial number.
inline const char* serialNumberMethod()
{
    return "serial_number";
}

} // namespace Analyzer

Q_DECLARE_OPERATORS_FOR_FLAGS(Analyzer::AlarmFlags)
Q_DECLARE_METATYPE(Analyzer::AlarmFlags)
Q_DECLARE_METATYPE(Analyzer::StatusClass)
