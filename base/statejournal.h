// The analyzer's changes of link, mode and alarms, journaled as the state
// reads them: with the time each change was read, whatever page was shown.
// A mode or alarm read is compared with the last one the journal keeps for
// that analyzer, not with the panel's memory, so a panel that starts while an
// alarm is active records no second "raised", an alarm that ended while no
// panel ran is recorded as cleared at the first read after, and a "cleared"
// carries when the alarm was raised.
#pragma once

namespace Analyzer {
class AnalyzerState;
}

/// Notes every change of state's link, mode and alarm flags in the current
/// event journal, for as long as state lives. The analyzer is known by the
/// address the state's link names (the panel is started for one address).
void journalStateChanges(Analyzer::AnalyzerState* state);
