#include "base/statejournal.h"

#include "analyzer/analyzerstate.h"
#include "base/eventjournal.h"

namespace {

const QString kModeFact = QStringLiteral("opmode");
const QString kActive = QStringLiteral("1");

using Fact = std::optional<EventJournal::Fact>;

std::optional<JournalEvent> modeEvent(const Fact& before, int mode)
{
    return JournalEvent(JournalEvent::Mode, kModeFact, QStringLiteral("changed"),
                        before ? before->value : QString(), QString::number(mode));
}

std::optional<JournalEvent> alarmEvent(const Fact& before, const QString& method, bool active)
{
    const bool wasActive = before && before->value == kActive;
    if (active == wasActive)
        return std::nullopt; // first read of an alarm that is not active
    JournalEvent event(JournalEvent::Alarm, method,
                       active ? QStringLiteral("raised") : QStringLiteral("cleared"));
    if (!active)
        event.since = before->since;
    return event;
}

} // namespace

void journalStateChanges(Analyzer::AnalyzerState* state)
{
    using Analyzer::AnalyzerState;
    QObject::connect(state, &AnalyzerState::linkChanged, state,
                     [](bool up, const QString& server, const QDateTime& at) {
                         EventJournal::note(JournalEvent::Link, server,
                                            up ? QStringLiteral("restored")
                                               : QStringLiteral("lost"),
                                            QString(), QString(), at);
                     });
    QObject::connect(state, &AnalyzerState::modeRead, state, [state](int mode) {
        if (EventJournal* journal = EventJournal::current())
            journal->changeFact(state->server(), kModeFact, QString::number(mode),
                                state->lastRead(kModeFact),
                                [mode](const Fact& before) { return modeEvent(before, mode); });
    });
    QObject::connect(state, &AnalyzerState::alarmRead, state,
                     [state](Analyzer::AlarmFlag flag, bool active, const QDateTime& at) {
                         EventJournal* journal = EventJournal::current();
                         for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable()) {
                             if (info.flag != flag || !journal)
                                 continue;
                             const QString method = QLatin1String(info.method);
                             journal->changeFact(state->server(), method,
                                                 active ? kActive : QStringLiteral("0"), at,
                                                 [&method, active](const Fact& before) {
                                                     return alarmEvent(before, method, active);
                                                 });
                         }
                     });
}
