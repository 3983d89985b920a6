#include "launcher/statuspoll.h"

#include "analyzer/request.h"
#include "launcher/shorttext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

namespace {

// The first requests of every poll, in this order; the alarm flags follow.
enum Field
{
    Opmode,
    Conc,
    Species,
    Units,
    SwitchToPpm,
    ReactorUsed,
    FirstAlarmFlag
};

const char* const kFieldMethods[] = {"opmode", "conc", "species", "units", "switch_to_ppm",
                                     "reactor_used"};

struct AlarmFlag
{
    const char* method;
    const char* label;
    /// The label when the analyzer has a reactor, where it differs.
    const char* reactorLabel;
};

// The labels are the panel's alarm list entries (the user alarms by their
// lamps' names), translated where they are shown.
const AlarmFlag kAlarmFlags[] = {
    {"laser_alarm_active", QT_TRANSLATE_NOOP("FleetModel", "Laser Alarm"), nullptr},
    {"pressure_alarm_active", QT_TRANSLATE_NOOP("FleetModel", "Pressure Alarm"),
     QT_TRANSLATE_NOOP("FleetModel", "Utility Gas Pressure")},
    {"rd_alarm_active", QT_TRANSLATE_NOOP("FleetModel", "Ringdown Alarm"), nullptr},
    {"temp_alarm_active", QT_TRANSLATE_NOOP("FleetModel", "Temperature Alarm"),
     QT_TRANSLATE_NOOP("FleetModel", "Reactor Temperature")},
    {"refcell_alarm_active", QT_TRANSLATE_NOOP("FleetModel", "Reference Cell"), nullptr},
    {"detector_temperature_alarm_active", QT_TRANSLATE_NOOP("FleetModel", "Detector Temperature"),
     nullptr},
    {"conc_warning_alarm_active", QT_TRANSLATE_NOOP("FleetModel", "Conc. Warning"), nullptr},
    {"user_alarm_1_active", QT_TRANSLATE_NOOP("FleetModel", "Conc Alarm 1"), nullptr},
    {"user_alarm_2_active", QT_TRANSLATE_NOOP("FleetModel", "Conc Alarm 2"), nullptr},
};
constexpr int kRingDownFlag = 2;

/// A whole number that fits an int, as an operating mode must be.
std::optional<int> wholeNumber(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::trunc(number) || std::fabs(number) > 1e9)
        return std::nullopt;
    return int(number);
}

} // namespace

const QStringList& StatusPoll::methods()
{
    static const QStringList names = [] {
        QStringList list;
        for (const char* method : kFieldMethods)
            list << QLatin1String(method);
        for (const AlarmFlag& flag : kAlarmFlags)
            list << QLatin1String(flag.method);
        return list;
    }();
    return names;
}

QByteArray StatusPoll::start(int firstId)
{
    const QStringList& names = methods();
    m_firstId = firstId;
    m_replies = QVector<Analyzer::Response>(names.size());
    m_answered = QVector<bool>(names.size(), false);
    m_open = names.size();
    QJsonArray batch;
    for (int i = 0; i < names.size(); ++i) {
        Analyzer::Request request;
        request.setId(firstId + i);
        request.setMethod(names.at(i));
        batch.append(request.json());
    }
    return QJsonDocument(batch).toJson(QJsonDocument::Compact);
}

bool StatusPoll::take(const Analyzer::Response& reply)
{
    const int index = reply.id() - m_firstId;
    if (reply.id() <= 0 || index < 0 || index >= m_replies.size() || m_answered.at(index))
        return false;
    m_replies[index] = reply;
    m_answered[index] = true;
    --m_open;
    return true;
}

void StatusPoll::applyTo(AnalyzerStatus& status) const
{
    if (m_replies.size() != methods().size())
        return;
    // A refused request reads like a missing value: unknown, not the last one.
    const auto result = [this](int field) {
        const Analyzer::Response& reply = m_replies.at(field);
        return reply.isError() ? QJsonValue() : reply.result();
    };
    status.opmode = wholeNumber(result(Opmode));
    status.concentration = result(Conc).isDouble() ? result(Conc).toDouble() : qQNaN();
    status.species = shortText(result(Species).toString());
    status.unitKey = shortText(result(Units).toString());
    const double level = result(SwitchToPpm).toDouble(qQNaN());
    status.ppmSwitchLevel = std::isfinite(level) && level > 0 ? level : 1000.0;
    const bool reactor = result(ReactorUsed).toBool();

    status.alarms.clear();
    for (int i = 0; i < int(std::size(kAlarmFlags)); ++i) {
        if (!result(FirstAlarmFlag + i).toBool())
            continue;
        const AlarmFlag& flag = kAlarmFlags[i];
        status.alarms << QLatin1String(reactor && flag.reactorLabel ? flag.reactorLabel : flag.label);
    }
    status.ringDownAlarm = result(FirstAlarmFlag + kRingDownFlag).toBool();
}
