#include "trend/weight.h"

#include "trend/unitkeys.h"

namespace UnitConversion {

QString Weight::unitsText()
{
    return showsPpm() ? kPpmWeightLabel : kPpbWeightLabel;
}

} // namespace UnitConversion
