// One stored concentration sample as the trend charts draw it.
#pragma once

#include <QtGlobal>

namespace Trend {

struct TrendPoint
{
    qint64 time = 0;    ///< milliseconds since the epoch
    double value = 0.0; ///< in the unit of the column or reply it came from
    bool alarm = false; ///< the system alarm state stored with the sample
};

} // namespace Trend
