// Concentration by weight: the volume display rule with weight labels.
#pragma once

#include "base/volume.h"

namespace UnitConversion {

class Weight : public Volume
{
public:
    QString unitsText() override;
};

} // namespace UnitConversion
