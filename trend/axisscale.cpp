#include "trend/axisscale.h"

#include <cmath>

namespace Trend {

QString AxisScale::labelFormat(double minimum, double maximum)
{
    const double span = std::fabs(minimum - maximum);
    if (span < 1.0)
        return QStringLiteral("%5.3f");
    if (span < 10.0)
        return QStringLiteral("%5.2f");
    if (span < 100.0)
        return QStringLiteral("%5.1f");
    return QStringLiteral("%5.0f");
}

std::pair<double, double> AxisScale::autoRange(double lowest, double highest)
{
    const double upper = std::trunc(highest) + 1.0;
    double lower = std::trunc(lowest) - 1.0;
    if (lowest >= 0.0 && lower < 0.0)
        lower = 0.0;
    return {lower, upper};
}

} // namespace Trend
