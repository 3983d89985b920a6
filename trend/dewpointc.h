// Dew point in degrees Celsius.
#pragma once

#include "trend/dewpoint.h"
#include "trend/unitkeys.h"

namespace UnitConversion {

class DewPointC : public DewPoint
{
public:
    QString unitsText() override { return kCelsiusLabel; }
};

} // namespace UnitConversion
