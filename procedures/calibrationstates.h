// The five steps of the pressure-controller calibration: connect the box,
// calibrate the input at 1.024 V and at 4.096 V, the output in loopback, done.
#pragma once

#include "procedures/calibrationstate.h"

namespace Calibration {

class ConnectBoxState : public StepState
{
public:
    explicit ConnectBoxState(Context& context);
    void onNext(Context& context) override;
};

/// A step that sends one calibration request on Next and moves on with its reply.
class CalibratingState : public StepState
{
public:
    void onReply(Context& context, bool failed) override;
    void onNext(Context& context) override;

protected:
    CalibratingState(Context& context, const QString& text, const QString& error);
    virtual void calibrate(Context& context) = 0;
    virtual State* next(Context& context) = 0;

private:
    QString m_error;
};

class Connect1VState : public CalibratingState
{
public:
    explicit Connect1VState(Context& context);

protected:
    void calibrate(Context& context) override;
    State* next(Context& context) override;
};

class Connect4VState : public CalibratingState
{
public:
    explicit Connect4VState(Context& context);

protected:
    void calibrate(Context& context) override;
    State* next(Context& context) override;
};

class LoopbackState : public CalibratingState
{
public:
    explicit LoopbackState(Context& context);

protected:
    void calibrate(Context& context) override;
    State* next(Context& context) override;
};

class CompleteState : public State
{
public:
    CompleteState(Context& context, const QString& text);
    void onOk(Context& context) override;
};

} // namespace Calibration
