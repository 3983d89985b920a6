// Dew point in degrees Fahrenheit.
#pragma once

#include "trend/dewpoint.h"
#include "trend/unitkeys.h"

namespace UnitConversion {

class DewPointF : public DewPoint
{
public:
    QString unitsText() override { return kFahrenheitLabel; }
};

} // namespace UnitConversion
