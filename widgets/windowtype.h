// Page identifiers of the controller's stacked pages. JOURNAL, the event
// journal reached from the status badge, follows the twelve pages of the
// analyzer's own panel.
#pragma once

#include <QMetaType>

enum WindowType
{
    HOME = 0,
    MODE = 1,
    RD_GRAPH = 2,
    SETTINGS = 3,
    TREND = 4,
    KEYBOARD = 5,
    SCANS = 6,
    TREND_DOWNLOAD = 7,
    SHUTDOWN = 8,
    CERTIFICATION = 9,
    CALIBRATION = 10,
    CERTIFICATE = 11,
    JOURNAL = 12
};

Q_DECLARE_METATYPE(WindowType)
