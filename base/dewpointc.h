// Dew point in degrees Celsius.
#pragma once

#include "base/dewpoint.h"
#include "base/unitkeys.h"

namespace UnitConversion {

class DewPointC : public DewPoint
{
public:
    QString unitsText() override { return kCelsiusLabel; }
};

} // namespace UnitConversion
