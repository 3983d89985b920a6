// Misbehaviour the simulator can be told to show, so that the panel's
// handling of a bad link can be tested. Everything is off by default.
#pragma once

#include "sim/methodfault.h"

#include <QList>
#include <QString>

namespace VireoSim {

struct FaultPlan
{
    /// Close a connection after answering this many lines on it (0 = never).
    int closeAfter = 0;
    /// Hold every reply back this many milliseconds.
    int delayMs = 0;
    /// Write every reply in several pieces, with a pause between them.
    bool splitReplies = false;
    /// Before every Nth reply send a line that is not JSON (0 = never).
    int garbageEvery = 0;
    /// Calls answered with an error (the rule's value is its code, 1 by
    /// default) instead of a result.
    QList<MethodFault> failMethods;
    /// Calls whose reply never goes out (the rule's value: only the Nth
    /// matching call, counted from 1; 0 drops every one).
    QList<MethodFault> dropReplies;
    /// Calls whose line is answered this many milliseconds late (the rule's
    /// value), while the replies to later lines go out meanwhile.
    QList<MethodFault> delayedMethods;
    /// Calls served one after another, each taking this many milliseconds
    /// (the rule's value) from the end of the one before: a slow server that
    /// answers that method in order. Other calls are answered meanwhile.
    QList<MethodFault> servedInTurn;
    /// The first matching call closes its connection this many milliseconds
    /// after its reply went out (the rule's value); each rule fires once.
    QList<MethodFault> dropLinkAfter;
    /// Stop answering after this many lines on a connection (-1 = never).
    int stopAfter = -1;
    /// Answer a batch as separate lines in another order.
    bool shuffleBatches = false;
    /// Reads of "sys_alarm_relay" answer true, as the relay does while a
    /// system alarm holds it; the stored setting is left as it is.
    bool alarmRelay = false;

    /// Whether flag (without its dashes) names one of the lists above that
    /// take a MethodFault: fail-method, drop-reply, delay-method, serve-in-turn,
    /// drop-link-after.
    static bool isMethodFaultFlag(const QString& flag);
    /// Adds (add true) or takes back the rule written as that flag takes it;
    /// false with a message when the text is wrong.
    bool setMethodFault(const QString& flag, const QString& text, bool add, QString* error);

    bool affectsWriting() const
    {
        return closeAfter > 0 || delayMs > 0 || splitReplies || garbageEvery > 0 ||
               stopAfter >= 0 || shuffleBatches;
    }
};

} // namespace VireoSim
