// What the Fleet window knows about one analyzer: whether it answers, and the
// values of its last complete answer. It lives in memory only; the connection
// list never stores it.
#pragma once

#include "analyzer/analyzerfacts.h"

#include <QDateTime>
#include <QString>
#include <optional>

struct ProbeStatus
{
    /// The class the panel's status badge would show for this analyzer (the
    /// same rule, applied to what the last complete answer said); Failure
    /// while it does not answer.
    Analyzer::StatusClass statusClass() const;

    enum class Link
    {
        /// No answer yet since the window opened.
        Connecting,
        /// The last poll was answered in full and in time.
        Reachable,
        /// Connected, but a reply did not come in time (or the analyzer sent
        /// what no reply looks like).
        NoReply,
        /// No connection: refused, timed out or lost.
        Unreachable,
        /// The stored address is not host:port; nothing is ever tried.
        BadAddress
    };

    Link link = Link::Connecting;
    /// Why the link is down, for the log; empty while it is up.
    QString failure;

    // The last complete answer. Values the analyzer refused or sent with the
    // wrong type are unknown (empty, NaN) rather than left from before.
    std::optional<int> opmode;
    double concentration = qQNaN();
    QString unitKey;
    double ppmSwitchLevel = 1000.0;
    QString species;
    /// The active alarm flags.
    Analyzer::AlarmFlags alarms;
    /// With a reactor, two alarms have other names.
    bool reactorUsed = false;
    /// When the last complete answer arrived; null before the first.
    QDateTime lastGoodReply;
};
