#include "sim/concentrationmodel.h"

#include <algorithm>
#include <cmath>

namespace VireoSim {

ConcentrationModel::ConcentrationModel(double baselinePpb, quint32 seed)
    : m_random(seed), m_baseline(baselinePpb), m_level(baselinePpb), m_mean(baselinePpb),
      m_value(baselinePpb)
{
}

void ConcentrationModel::setBaseline(double ppb)
{
    m_baseline = ppb;
    if (m_stepSecondsLeft == 0)
        m_level = ppb;
}

double ConcentrationModel::gaussian()
{
    // Box-Muller: enough for noise, and cheap enough for a week of backfill.
    const double u1 = std::max(m_random.generateDouble(), 1e-12);
    const double u2 = m_random.generateDouble();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

double ConcentrationModel::step()
{
    ++m_seconds;
    if (m_override > 0) {
        m_value = m_override * (1.0 + 0.002 * gaussian());
        return m_value;
    }
    // About one step an hour: the level jumps to between half and three times
    // the baseline for 5 to 40 minutes, as when a process valve switches.
    if (m_stepSecondsLeft > 0) {
        if (--m_stepSecondsLeft == 0)
            m_level = m_baseline;
    } else if (m_random.bounded(3600) == 0) {
        m_level = m_baseline * (0.5 + 2.5 * m_random.generateDouble());
        m_stepSecondsLeft = 300 + int(m_random.bounded(2100));
    }
    // Mean-reverting drift of a few percent, plus a six-hour swing.
    m_drift += -m_drift / 1800.0 + 0.002 * gaussian();
    const double swing = 0.05 * std::sin(2.0 * M_PI * double(m_seconds) / 21600.0);
    const double target = m_level * (1.0 + m_drift + swing);
    // The reading follows the level with a first-order lag (about 30 s).
    m_mean += (target - m_mean) / 30.0;
    m_value = std::max(0.0, m_mean + (0.004 * m_mean + 0.2) * gaussian());
    return m_value;
}

} // namespace VireoSim
