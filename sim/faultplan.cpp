#include "sim/faultplan.h"

#include <algorithm>
#include <limits>

namespace VireoSim {

namespace {
struct MethodFaultFlag
{
    const char* name;
    QList<MethodFault> FaultPlan::*rules;
    MethodFault::ShortForm shortForm;
    int defaultValue; // below minimum: the value must be given
    int minimum;
};

const MethodFaultFlag kMethodFaultFlags[] = {
    {"fail-method", &FaultPlan::failMethods, MethodFault::ParamSecond, 1,
     std::numeric_limits<int>::min()},
    {"drop-reply", &FaultPlan::dropReplies, MethodFault::ValueSecond, 0, 0},
    {"delay-method", &FaultPlan::delayedMethods, MethodFault::ValueSecond, -1, 0},
    {"serve-in-turn", &FaultPlan::servedInTurn, MethodFault::ValueSecond, -1, 0},
    {"drop-link-after", &FaultPlan::dropLinkAfter, MethodFault::ParamSecond, 0, 0},
};

const MethodFaultFlag* methodFaultFlag(const QString& name)
{
    for (const MethodFaultFlag& flag : kMethodFaultFlags) {
        if (name == QLatin1String(flag.name))
            return &flag;
    }
    return nullptr;
}
} // namespace

bool FaultPlan::isMethodFaultFlag(const QString& flag)
{
    return methodFaultFlag(flag) != nullptr;
}

bool FaultPlan::setMethodFault(const QString& flag, const QString& text, bool add, QString* error)
{
    const MethodFaultFlag* kind = methodFaultFlag(flag);
    MethodFault rule;
    if (!kind ||
        !MethodFault::parse(text, kind->shortForm, kind->defaultValue, kind->minimum, &rule, error))
        return false;
    QList<MethodFault>& rules = this->*(kind->rules);
    rules.erase(std::remove_if(rules.begin(), rules.end(),
                               [&rule](const MethodFault& r) { return r.text() == rule.text(); }),
                rules.end());
    if (add)
        rules.append(rule);
    return true;
}

} // namespace VireoSim
