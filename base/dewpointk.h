// Dew point in kelvin.
#pragma once

#include "base/dewpoint.h"
#include "base/unitkeys.h"

namespace UnitConversion {

class DewPointK : public DewPoint
{
public:
    QString unitsText() override { return kKelvinLabel; }
};

} // namespace UnitConversion
