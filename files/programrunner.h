// Runs the external programs of the panel (trend conversion, cabinet maker,
// mount and copy commands) while the GUI stays live: a nested event loop
// handles replies, repaints and a cancel of the progress popup meanwhile.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

/// Called at least every 100 ms while the program runs; returning false stops it.
using ProgramTick = std::function<bool()>;

/// Runs program with arguments in the user's home folder, with extraEnvironment
/// added to the system environment. True when it ran and exited with code 0; a
/// program that cannot be started, crashes or is stopped by tick counts as failed.
bool runProgram(const QString& program, const QStringList& arguments,
                const QMap<QString, QString>& extraEnvironment = {},
                const ProgramTick& tick = ProgramTick());
