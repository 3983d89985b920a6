#include "base/procedurerun.h"

#include "base/eventjournal.h"

void ProcedureRun::stepEntered(Step step, const QString& outcome)
{
    if (step == Running && !m_running) {
        m_running = true;
        EventJournal::note(JournalEvent::Procedure, m_key, QStringLiteral("started"));
    } else if (step != Running && m_running) {
        m_running = false;
        EventJournal::note(JournalEvent::Procedure, m_key, QStringLiteral("ended"), QString(),
                           outcome);
    }
}
