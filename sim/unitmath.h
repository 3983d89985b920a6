// Turns a water concentration in ppb by volume into the other forms the
// analyzer reports: ppb by weight in the carrier gas, and dew (frost) point.
#pragma once

#include "sim/trendsample.h"

#include <QString>

namespace VireoSim {

class UnitMath
{
public:
    static double ppbw(double ppbv, const QString& gas);
    /// Dew point over water above 0 °C, frost point over ice below, at the
    /// sample pressure (psig, gauge).
    static double dewPointC(double ppbv, double pressurePsig);
    static double celsiusToFahrenheit(double c) { return c * 9.0 / 5.0 + 32.0; }
    static double celsiusToKelvin(double c) { return c + 273.15; }

    static TrendSample sample(double ppbv, const QString& gas, double pressurePsig, bool alarm);
    /// The value of a sample in a unit key (volume, weight, dewpointc, dewpointf, dewpointk).
    static double inUnit(const TrendSample& sample, const QString& unitKey);
};

} // namespace VireoSim
