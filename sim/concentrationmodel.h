// The water concentration the simulated analyzer "measures": a baseline with
// slow drift, noise, and now and then a step to another level that later
// relaxes back. Advanced one second at a time, from a seed, so a backfilled
// history and the live value come from the same process.
#pragma once

#include <QRandomGenerator>

namespace VireoSim {

class ConcentrationModel
{
public:
    ConcentrationModel(double baselinePpb, quint32 seed);

    /// Advances one second and returns the new concentration in ppb by volume.
    double step();
    double value() const { return m_value; }
    void setBaseline(double ppb);
    double baseline() const { return m_baseline; }
    /// Forces the level (simulated concentration); 0 or below returns to the model.
    void setOverride(double ppb) { m_override = ppb; }

private:
    double gaussian();

    QRandomGenerator m_random;
    double m_baseline;
    double m_level;     // where the slow process is heading (baseline or a step)
    double m_drift = 0; // slow random walk, relative
    double m_mean;      // the lagged, noise-free reading
    double m_value;
    double m_override = 0;
    int m_stepSecondsLeft = 0;
    qint64 m_seconds = 0;
};

} // namespace VireoSim
