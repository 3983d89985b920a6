// Value-axis rules shared by the trend charts: the label format chosen by the
// axis span, and the auto-scale range that frames a set of values.
#pragma once

#include <QString>
#include <utility>

namespace Trend {

class AxisScale
{
public:
    /// "%5.3f" below a span of 1, "%5.2f" below 10, "%5.1f" below 100, else "%5.0f".
    static QString labelFormat(double minimum, double maximum);
    /// [trunc(lowest) - 1, trunc(highest) + 1], not below 0 for non-negative data.
    static std::pair<double, double> autoRange(double lowest, double highest);
};

} // namespace Trend
