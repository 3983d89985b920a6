// One row of trend.db: the concentration in every stored unit at one second.
#pragma once

namespace VireoSim {

struct TrendSample
{
    double ppbv = 0;
    double ppbw = 0;
    double dewC = 0;
    double dewF = 0;
    bool systemAlarm = false;
};

} // namespace VireoSim
