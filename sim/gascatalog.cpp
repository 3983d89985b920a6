#include "sim/gascatalog.h"

namespace VireoSim {

namespace {
struct Gas
{
    const char* name;
    double molarMass;
};
// Seventeen gases, so the panel's gas tab needs a second page.
const Gas kGases[] = {
    {"N2", 28.014},   {"Ar", 39.948},   {"He", 4.0026},   {"H2", 2.016},   {"O2", 31.998},
    {"Air", 28.965},  {"CO2", 44.009},  {"CH4", 16.043},  {"Ne", 20.180},  {"Kr", 83.798},
    {"Xe", 131.29},   {"C2H4", 28.054}, {"C3H8", 44.097}, {"NF3", 71.002}, {"HCl", 36.461},
    {"SiH4", 32.117}, {"PH3", 33.998},
};
} // namespace

QStringList GasCatalog::names()
{
    QStringList list;
    for (const Gas& gas : kGases)
        list << QLatin1String(gas.name);
    return list;
}

double GasCatalog::molarMass(const QString& name)
{
    for (const Gas& gas : kGases) {
        if (name == QLatin1String(gas.name))
            return gas.molarMass;
    }
    return kGases[0].molarMass;
}

} // namespace VireoSim
