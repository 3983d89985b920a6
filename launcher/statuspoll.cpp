#include "launcher/statuspoll.h"

#include "analyzer/analyzerfacts.h"
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

const char* const kFieldMethods[] = {"opmode", "conc",          "species",
                                     "units",  "switch_to_ppm", Analyzer::reactorMethod()};

/// The alarm flags asked on every poll: every one, the verification reminder
/// too, since it sets a class (maintenance required) as on the panel.
QVector<const Analyzer::AlarmInfo*> polledAlarms()
{
    QVector<const Analyzer::AlarmInfo*> flags;
    for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable())
        flags << &info;
    return flags;
}

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
        for (const Analyzer::AlarmInfo* flag : polledAlarms())
            list << QLatin1String(flag->method);
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

void StatusPoll::applyTo(ProbeStatus& status) const
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
    status.reactorUsed = result(ReactorUsed).toBool();

    status.alarms = {};
    const QVector<const Analyzer::AlarmInfo*> flags = polledAlarms();
    for (int i = 0; i < flags.size(); ++i)
        status.alarms.setFlag(flags.at(i)->flag, result(FirstAlarmFlag + i).toBool());
}
