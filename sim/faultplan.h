// Misbehaviour the simulator can be told to show, so that the panel's
// handling of a bad link can be tested. Everything is off by default.
#pragma once

#include <QSet>
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
    /// Methods answered with an error of code 1 instead of a result.
    QSet<QString> failMethods;
    /// Stop answering after this many lines on a connection (-1 = never).
    int stopAfter = -1;
    /// Answer a batch as separate lines in another order.
    bool shuffleBatches = false;
    /// Reads of "sys_alarm_relay" answer true, as the relay does while a
    /// system alarm holds it; the stored setting is left as it is.
    bool alarmRelay = false;

    bool affectsWriting() const
    {
        return closeAfter > 0 || delayMs > 0 || splitReplies || garbageEvery > 0 || stopAfter >= 0
               || shuffleBatches;
    }
};

} // namespace VireoSim
