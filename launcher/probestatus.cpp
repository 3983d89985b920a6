#include "launcher/probestatus.h"

#include "analyzer/analyzerstate.h"

Analyzer::StatusClass ProbeStatus::statusClass() const
{
    // The panel's own rule: a fleet row and the panel's badge never disagree.
    return Analyzer::AnalyzerState::classify(link == Link::Reachable, link == Link::Reachable,
                                             opmode.value_or(Analyzer::UnknownMode), alarms);
}
