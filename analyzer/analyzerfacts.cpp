#include "analyzer/analyzerfacts.h"

#include <QCoreApplication>

namespace Analyzer {

namespace {
// The context the names are translated in, in the panel's and the launcher's catalogues.
constexpr char kContext[] = "AnalyzerFacts";

QString translated(const char* text)
{
    return QCoreApplication::translate(kContext, text);
}
} // namespace

const QVector<ModeInfo>& modeTable()
{
    static const QVector<ModeInfo> table = {
        {ShutdownMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "SHUTDOWN"), false},
        {CloseFilesMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "CLOSE FILES"), false},
        {ServiceMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "SERVICE MODE"), false},
        {TuneMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "TUNE MODE"), false},
        {RefCellScanCurrentMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "REFERENCE CELL SCAN: CURRENT"),
         false},
        {RefCellScanTemperatureMode,
         QT_TRANSLATE_NOOP("AnalyzerFacts", "REFERENCE CELL SCAN: TEMPERATURE"), false},
        {OptimizeLaserMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "OPTIMIZE LASER"), false},
        {OptimizeLaserFailedMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "OPTIMIZE LASER FAILED"),
         false},
        {MeasureMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "MEASURE MODE"), true},
        {CenteringFailedMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "CENTERING FAILED"), false},
        {OffPeakMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "OFF-PEAK MODE"), false},
        {UnexpectedErrorMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "UNEXPECTED ERROR"), false},
        {CavityScanCurrentMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "CAVITY SCAN: CURRENT"), false},
        {CavityScanTemperatureMode, QT_TRANSLATE_NOOP("AnalyzerFacts", "CAVITY SCAN: TEMPERATURE"),
         false},
    };
    return table;
}

bool isKnownMode(int code)
{
    return code >= 0 && code < modeTable().size();
}

QString modeName(int code)
{
    return isKnownMode(code) ? translated(modeTable().at(code).name) : QString();
}

bool measuresIn(int code)
{
    return isKnownMode(code) && modeTable().at(code).measures;
}

const QVector<AlarmInfo>& alarmTable()
{
    using K = AlarmKind;
    using C = StatusClass;
    static const QVector<AlarmInfo> table = {
        {AlarmFlag::Laser, "laser_alarm_active", QT_TRANSLATE_NOOP("AnalyzerFacts", "Laser Alarm"),
         nullptr, K::System, C::Failure},
        {AlarmFlag::Pressure, "pressure_alarm_active",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Pressure Alarm"),
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Utility Gas Pressure"), K::System, C::Uncertain},
        {AlarmFlag::RingDown, "rd_alarm_active",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Ringdown Alarm"), nullptr, K::System, C::Failure},
        {AlarmFlag::Temperature, "temp_alarm_active",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Temperature Alarm"),
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Reactor Temperature"), K::System, C::Uncertain},
        {AlarmFlag::RefCell, "refcell_alarm_active",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Reference Cell"), nullptr, K::System, C::Failure},
        {AlarmFlag::DetectorTemperature, "detector_temperature_alarm_active",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Detector Temperature"), nullptr, K::System,
         C::Uncertain},
        {AlarmFlag::ConcWarning, "conc_warning_alarm_active",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Conc. Warning"), nullptr, K::System, C::Uncertain},
        {AlarmFlag::UserAlarm1, "user_alarm_1_active",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Conc Alarm 1"), nullptr, K::User, C::Normal},
        {AlarmFlag::UserAlarm2, "user_alarm_2_active",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Conc Alarm 2"), nullptr, K::User, C::Normal},
        {AlarmFlag::CertificateExpired, "calibration_certificate_expired",
         QT_TRANSLATE_NOOP("AnalyzerFacts", "Perf. Verification"), nullptr, K::Reminder,
         C::MaintenanceRequired},
    };
    return table;
}

const AlarmInfo* alarmForMethod(const QString& method)
{
    for (const AlarmInfo& info : alarmTable()) {
        if (method == QLatin1String(info.method))
            return &info;
    }
    return nullptr;
}

QString alarmLabel(AlarmFlag flag, bool reactorUsed)
{
    for (const AlarmInfo& info : alarmTable()) {
        if (info.flag == flag)
            return translated(reactorUsed && info.reactorLabel ? info.reactorLabel : info.label);
    }
    return QString();
}

QString alarmLabel(const QString& method, bool reactorUsed)
{
    const AlarmInfo* info = alarmForMethod(method);
    return info ? alarmLabel(info->flag, reactorUsed) : method;
}

namespace {
template <typename Wanted> AlarmFlags alarmsWhere(Wanted wanted)
{
    AlarmFlags flags;
    for (const AlarmInfo& info : alarmTable()) {
        if (wanted(info))
            flags |= info.flag;
    }
    return flags;
}
} // namespace

AlarmFlags alarmsOfKind(AlarmKind kind)
{
    return alarmsWhere([kind](const AlarmInfo& info) { return info.kind == kind; });
}

AlarmFlags alarmsOfClass(StatusClass statusClass)
{
    return alarmsWhere(
        [statusClass](const AlarmInfo& info) { return info.statusClass == statusClass; });
}

namespace {
struct ClassInfo
{
    StatusClass statusClass;
    const char* name;
    const char* symbol;
};

const ClassInfo kClasses[] = {
    {StatusClass::Failure, QT_TRANSLATE_NOOP("AnalyzerFacts", "Failure"),
     ":/images/NE107_Failure.png"},
    {StatusClass::FunctionCheck, QT_TRANSLATE_NOOP("AnalyzerFacts", "Function check"),
     ":/images/NE107_FunctionCheck.png"},
    {StatusClass::Uncertain, QT_TRANSLATE_NOOP("AnalyzerFacts", "Outside tolerance"),
     ":/images/NE107_Uncertain.png"},
    {StatusClass::MaintenanceRequired, QT_TRANSLATE_NOOP("AnalyzerFacts", "Maintenance required"),
     ":/images/NE107_MaintenanceRequired.png"},
    {StatusClass::Normal, QT_TRANSLATE_NOOP("AnalyzerFacts", "Normal"),
     ":/images/NE107_Normal.png"},
};

const ClassInfo& classInfo(StatusClass statusClass)
{
    for (const ClassInfo& info : kClasses) {
        if (info.statusClass == statusClass)
            return info;
    }
    return kClasses[0];
}
} // namespace

const QVector<StatusClass>& statusClasses()
{
    static const QVector<StatusClass> all = [] {
        QVector<StatusClass> list;
        for (const ClassInfo& info : kClasses)
            list << info.statusClass;
        return list;
    }();
    return all;
}

QString statusClassName(StatusClass statusClass)
{
    return translated(classInfo(statusClass).name);
}

QString statusClassSymbol(StatusClass statusClass)
{
    return QLatin1String(classInfo(statusClass).symbol);
}

const QStringList& statusMethods()
{
    static const QStringList methods = [] {
        QStringList list{QStringLiteral("opmode")};
        for (const AlarmInfo& info : alarmTable())
            list << QLatin1String(info.method);
        return list;
    }();
    return methods;
}

} // namespace Analyzer
