// Concentration by volume: ppb below the switch level, ppm (value / 1000) at
// or above it.
#pragma once

#include "base/conversioninterface.h"

namespace UnitConversion {

class Volume : public ConversionInterface
{
public:
    Volume() = default;

    void setPpmSwitchLevel(double level) override;
    void setValue(double value) override;
    QString valueText() override;
    double displayValue() override;
    QString unitsText() override;

protected:
    /// True when the current value is shown in ppm.
    bool showsPpm() const;

private:
    double m_divisor = 1000.0;
    double m_switchLevel = 1000.0;
    double m_value = qQNaN();
};

} // namespace UnitConversion
