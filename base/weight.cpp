#include "base/weight.h"

#include "base/unitkeys.h"

namespace UnitConversion {

QString Weight::unitsText()
{
    return showsPpm() ? kPpmWeightLabel : kPpbWeightLabel;
}

} // namespace UnitConversion
