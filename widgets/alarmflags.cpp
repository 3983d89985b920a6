#include "widgets/alarmflags.h"

const QVector<AlarmInfo>& alarmTable()
{
    static const QVector<AlarmInfo> table = {
        {AlarmFlag::Laser, "laser_alarm_active", "Laser Alarm"},
        {AlarmFlag::Pressure, "pressure_alarm_active", "Pressure Alarm"},
        {AlarmFlag::RingDown, "rd_alarm_active", "Ringdown Alarm"},
        {AlarmFlag::Temperature, "temp_alarm_active", "Temperature Alarm"},
        {AlarmFlag::RefCell, "refcell_alarm_active", "Reference Cell"},
        {AlarmFlag::DetectorTemperature, "detector_temperature_alarm_active",
         "Detector Temperature"},
        {AlarmFlag::ConcWarning, "conc_warning_alarm_active", "Conc. Warning"},
        {AlarmFlag::UserAlarm1, "user_alarm_1_active", "Conc Alarm 1"},
        {AlarmFlag::UserAlarm2, "user_alarm_2_active", "Conc Alarm 2"},
        {AlarmFlag::CertificateExpired, "calibration_certificate_expired", "Perf. Verification"},
    };
    return table;
}

QString alarmLabel(const QString& method)
{
    for (const AlarmInfo& info : alarmTable()) {
        if (method == QLatin1String(info.method))
            return QString::fromLatin1(info.label);
    }
    return method;
}
