#include "widgets/analyzerstatus.h"

#include "widgets/eventjournal.h"

namespace {
const AlarmFlags kSystemFailures = AlarmFlag::Laser | AlarmFlag::Pressure | AlarmFlag::RingDown |
                                   AlarmFlag::Temperature | AlarmFlag::RefCell |
                                   AlarmFlag::DetectorTemperature;
const AlarmFlags kOutOfLimits =
    AlarmFlag::UserAlarm1 | AlarmFlag::UserAlarm2 | AlarmFlag::ConcWarning;
} // namespace

AnalyzerStatus::Class AnalyzerStatus::classify(bool linkUp, int mode, AlarmFlags alarms)
{
    if (!linkUp || (alarms & kSystemFailures))
        return Failure;
    if (mode != kMeasureMode)
        return Maintenance;
    if (alarms & kOutOfLimits)
        return OutOfLimits;
    return Normal;
}

AnalyzerStatus::AnalyzerStatus(QObject* parent) : QObject(parent) {}

void AnalyzerStatus::setLink(bool up, const QString& server)
{
    const Class before = statusClass();
    const bool report = m_linkKnown && up != m_linkUp;
    m_linkKnown = true;
    m_linkUp = up;
    if (report)
        EventJournal::note(JournalEvent::Link, server,
                           up ? QStringLiteral("restored") : QStringLiteral("lost"));
    update(before);
}

void AnalyzerStatus::setMode(int mode)
{
    if (mode == m_mode)
        return;
    const Class before = statusClass();
    EventJournal::note(JournalEvent::Mode, QStringLiteral("opmode"), QStringLiteral("changed"),
                       m_mode == kUnknownMode ? QString() : QString::number(m_mode),
                       QString::number(mode));
    m_mode = mode;
    update(before);
}

void AnalyzerStatus::setAlarms(AlarmFlags alarms)
{
    const Class before = statusClass();
    for (const AlarmInfo& info : alarmTable()) {
        const bool now = alarms.testFlag(info.flag);
        if (now != m_alarms.testFlag(info.flag))
            EventJournal::note(JournalEvent::Alarm, QLatin1String(info.method),
                               now ? QStringLiteral("raised") : QStringLiteral("cleared"));
    }
    m_alarms = alarms;
    update(before);
}

void AnalyzerStatus::update(Class before)
{
    const Class now = statusClass();
    if (now != before)
        emit changed(now);
}
