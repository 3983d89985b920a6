// How the home screen shows a concentration: one object per analyzer unit
// key, holding the last value and turning it into display text and a label.
// The objects never convert between units; they only decide the ppb/ppm
// switch and how many decimals a value of that size deserves.
#pragma once

#include <QString>

namespace UnitConversion {

class ConversionInterface
{
public:
    virtual ~ConversionInterface() = default;

    /// Values at or above the level are shown in ppm (volume and weight only).
    virtual void setPpmSwitchLevel(double level) = 0;
    virtual void setValue(double value) = 0;
    /// The value as displayed; empty while the value is NaN.
    virtual QString valueText() = 0;
    /// The value in the displayed unit.
    virtual double displayValue() = 0;
    virtual QString unitsText() = 0;
};

/// Display text of a concentration: three decimals below 10, two below 100,
/// one below 1000, none above. Decimals are cut from the six-decimal text, not
/// rounded again (5.1239 -> "5.123", 1234.9 -> "1234"); NaN gives "".
QString formatConcentration(double value);

} // namespace UnitConversion
