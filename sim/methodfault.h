// A fault aimed at some calls of one method, written on the command line and
// in sim_control as NAME, NAME:PARAM:VALUE, or NAME:PARAM or NAME:VALUE as the
// fault reads its short form. PARAM, when given
// and not empty, picks the calls whose first parameter reads that text (6 for
// [6], true for [true], abc for ["abc"]); a call without parameters never
// matches it. VALUE is what the fault needs: an error code, a count of calls,
// a number of milliseconds.
#pragma once

#include <QJsonArray>
#include <QString>

namespace VireoSim {

struct MethodFault
{
    QString method;
    /// Empty: every call of the method.
    QString param;
    int value = 0;

    bool matches(const QString& calledMethod, const QJsonArray& params, bool hasParams) const;
    /// The rule as it was written, for sim_control to take it back.
    QString text() const;

    /// How a rule with two parts reads: NAME:PARAM, or NAME:VALUE.
    enum ShortForm
    {
        ParamSecond,
        ValueSecond
    };

    /// Reads NAME, NAME:PARAM:VALUE, and NAME:PARAM or NAME:VALUE as the short
    /// form says. VALUE must lie in [minimum, maximum]; without one the rule
    /// takes defaultValue, and a default below minimum means VALUE is required.
    /// false with a message when the text is wrong.
    static bool parse(const QString& text, ShortForm shortForm, int defaultValue, int minimum,
                      MethodFault* fault, QString* error);
};

} // namespace VireoSim
