#include "base/volume.h"

#include "base/unitkeys.h"

#include <cmath>

namespace UnitConversion {

void Volume::setPpmSwitchLevel(double level)
{
    m_switchLevel = level;
}

void Volume::setValue(double value)
{
    m_value = value;
}

bool Volume::showsPpm() const
{
    // NaN compares false, so an unknown value keeps the ppb label.
    return m_value >= m_switchLevel;
}

double Volume::displayValue()
{
    return showsPpm() ? m_value / m_divisor : m_value;
}

QString Volume::valueText()
{
    return formatConcentration(displayValue());
}

QString Volume::unitsText()
{
    return showsPpm() ? kPpmVolumeLabel : kPpbVolumeLabel;
}

} // namespace UnitConversion
