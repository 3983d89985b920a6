#include "sim/unitmath.h"

#include "sim/gascatalog.h"

#include <algorithm>
#include <cmath>

namespace VireoSim {

double UnitMath::ppbw(double ppbv, const QString& gas)
{
    return ppbv * GasCatalog::speciesMolarMass() / GasCatalog::molarMass(gas);
}

double UnitMath::dewPointC(double ppbv, double pressurePsig)
{
    const double totalHPa = (std::max(pressurePsig, -14.0) + 14.696) * 68.9476;
    // Partial pressure of water; a floor keeps the logarithm finite at zero.
    const double partialHPa = std::max(ppbv, 1e-3) * 1e-9 * totalHPa;
    const double x = std::log(partialHPa / 6.112);
    // Magnus formula: water constants above the triple point, ice below.
    const double water = 243.12 * x / (17.62 - x);
    return water >= 0 ? water : 272.62 * x / (22.46 - x);
}

TrendSample UnitMath::sample(double ppbv, const QString& gas, double pressurePsig, bool alarm)
{
    TrendSample s;
    s.ppbv = ppbv;
    s.ppbw = ppbw(ppbv, gas);
    s.dewC = dewPointC(ppbv, pressurePsig);
    s.dewF = celsiusToFahrenheit(s.dewC);
    s.systemAlarm = alarm;
    return s;
}

double UnitMath::inUnit(const TrendSample& s, const QString& unitKey)
{
    if (unitKey == QLatin1String("weight"))
        return s.ppbw;
    if (unitKey == QLatin1String("dewpointc"))
        return s.dewC;
    if (unitKey == QLatin1String("dewpointf"))
        return s.dewF;
    if (unitKey == QLatin1String("dewpointk"))
        return celsiusToKelvin(s.dewC);
    return s.ppbv;
}

} // namespace VireoSim
