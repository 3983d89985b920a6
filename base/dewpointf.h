// Dew point in degrees Fahrenheit.
#pragma once

#include "base/dewpoint.h"
#include "base/unitkeys.h"

namespace UnitConversion {

class DewPointF : public DewPoint
{
public:
    QString unitsText() override { return kFahrenheitLabel; }
};

} // namespace UnitConversion
