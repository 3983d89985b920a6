// Dew point in kelvin.
#pragma once

#include "trend/dewpoint.h"
#include "trend/unitkeys.h"

namespace UnitConversion {

class DewPointK : public DewPoint
{
public:
    QString unitsText() override { return kKelvinLabel; }
};

} // namespace UnitConversion
