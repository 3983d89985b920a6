// The carrier gases the simulated analyzer offers, with the molar masses that
// turn a volume ratio of water into a weight ratio.
#pragma once

#include <QStringList>

namespace VireoSim {

class GasCatalog
{
public:
    static QStringList names();
    /// Molar mass in g/mol; nitrogen's for an unknown name.
    static double molarMass(const QString& gas);
    /// Molar mass of the measured species (water).
    static double speciesMolarMass() { return 18.015; }
};

} // namespace VireoSim
