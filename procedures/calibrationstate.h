// The base of the pressure-controller calibration steps. Like the
// certification states, each is a small heap object that creates its
// successor, hands it to the context and deletes itself.
#pragma once

#include <QString>

namespace Calibration {

class Context;

class State
{
public:
    virtual ~State() = default;

    /// The reply to the request the current step sent; failed when it carries an error.
    virtual void onReply(Context&, bool /*failed*/) {}
    virtual void onConnectionLost(Context&) {}
    virtual void onNext(Context&) {}
    virtual void onOk(Context&) {}
    virtual void onCancel(Context&) {}

protected:
    void moveTo(Context& context, State* next);
    void end(Context& context, const QString& text);
};

/// A step the operator confirms with Next; Cancel and a lost link end the procedure.
class StepState : public State
{
public:
    void onConnectionLost(Context& context) override;
    void onCancel(Context& context) override;

protected:
    StepState(Context& context, const QString& text);
};

} // namespace Calibration
