// The panel's command line: program, host, port, storage folder.
#pragma once

#include <QStringList>

/// Sets the process-wide values from exactly four entries (program name
/// included). Any other count logs "expected four arguments" and returns false.
bool parseCommandLine(const QStringList& arguments);
