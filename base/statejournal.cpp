#include "base/statejournal.h"

#include "analyzer/analyzerstate.h"
#include "base/eventjournal.h"

void journalStateChanges(const Analyzer::AnalyzerState* state)
{
    using Analyzer::AnalyzerState;
    QObject::connect(state, &AnalyzerState::linkChanged, state,
                     [](bool up, const QString& server, const QDateTime& at) {
                         EventJournal::note(JournalEvent::Link, server,
                                            up ? QStringLiteral("restored")
                                               : QStringLiteral("lost"),
                                            QString(), QString(), at);
                     });
    QObject::connect(
        state, &AnalyzerState::modeChanged, state, [](int before, int now, const QDateTime& at) {
            EventJournal::note(
                JournalEvent::Mode, QStringLiteral("opmode"), QStringLiteral("changed"),
                before == Analyzer::UnknownMode ? QString() : QString::number(before),
                QString::number(now), at);
        });
    QObject::connect(state, &AnalyzerState::alarmChanged, state,
                     [](Analyzer::AlarmFlag flag, bool active, const QDateTime& at) {
                         for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable()) {
                             if (info.flag == flag)
                                 EventJournal::note(JournalEvent::Alarm, QLatin1String(info.method),
                                                    active ? QStringLiteral("raised")
                                                           : QStringLiteral("cleared"),
                                                    QString(), QString(), at);
                         }
                     });
}
