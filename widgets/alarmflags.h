// The analyzer's alarm flags as the home screen reads them, in the order of
// its alarm list, with the method that reports each and its plain label: for
// the status badge and the event journal.
#pragma once

#include <QFlags>
#include <QMetaType>
#include <QString>
#include <QVector>

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
Q_DECLARE_OPERATORS_FOR_FLAGS(AlarmFlags)
Q_DECLARE_METATYPE(AlarmFlags)

struct AlarmInfo
{
    AlarmFlag flag;
    /// The method that reports it, the key the journal keeps.
    const char* method;
    /// As the alarm list and the lamps name it.
    const char* label;
};

/// Every flag, in the order of the home screen's alarm list.
const QVector<AlarmInfo>& alarmTable();
/// The label of the flag reported by method; the method itself when it is none.
QString alarmLabel(const QString& method);
