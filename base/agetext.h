// How long ago a value was read, in the words the panel's stale values and
// the launcher's fleet both use ("12 s ago", "3 min ago").
#pragma once

#include <QString>

/// The words for a value last read ms ago.
QString ageText(qint64 ms);
