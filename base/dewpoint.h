// Dew point: shown as received, no ppm switch; the subclasses only name the
// temperature scale.
#pragma once

#include "base/conversioninterface.h"

namespace UnitConversion {

class DewPoint : public ConversionInterface
{
public:
    void setPpmSwitchLevel(double level) override;
    void setValue(double value) override;
    QString valueText() override;
    double displayValue() override;

private:
    double m_value = qQNaN();
};

} // namespace UnitConversion
