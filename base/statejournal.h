// The analyzer's changes of link, mode and alarms, journaled as the state
// reads them: with the time each change was read, whatever page was shown.
#pragma once

namespace Analyzer {
class AnalyzerState;
}

/// Notes every change of state's link, mode and alarm flags in the current
/// event journal, for as long as state lives.
void journalStateChanges(const Analyzer::AnalyzerState* state);
