#include "base/dewpoint.h"

namespace UnitConversion {

void DewPoint::setPpmSwitchLevel(double) {}

void DewPoint::setValue(double value)
{
    m_value = value;
}

QString DewPoint::valueText()
{
    return formatConcentration(m_value);
}

double DewPoint::displayValue()
{
    return m_value;
}

} // namespace UnitConversion
