#include "base/conversioninterface.h"

#include <cmath>

namespace UnitConversion {

QString formatConcentration(double value)
{
    if (std::isnan(value))
        return QString();
    const double magnitude = std::fabs(value);
    if (magnitude >= 1000.0 || std::isinf(value)) {
        // Whole units only; std::trunc keeps values beyond the int range intact.
        return QString::number(std::trunc(value), 'f', 0);
    }
    QString text = QString::number(value, 'f', 6);
    if (magnitude < 10.0)
        text.chop(3);
    else if (magnitude < 100.0)
        text.chop(4);
    else
        text.chop(5);
    return text;
}

} // namespace UnitConversion
