// What a calibration step may do: send the calibration requests, show text
// and buttons, hand over to the next step. The window implements it.
#pragma once

#include <QString>

namespace Calibration {

class State;

class Context
{
public:
    virtual ~Context() = default;

    /// Calibrates analog input 1 (any other number: input 2) at volts.
    virtual void calibrateAdc(int input, double volts) = 0;
    virtual void calibrateDac() = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual void hideNextButton(bool hide) = 0;
    virtual void hideOkButton(bool hide) = 0;
    virtual void hideCancelButton(bool hide) = 0;
    /// Makes next current; the caller deletes itself afterwards. Null leaves
    /// the procedure for the settings screen.
    virtual void setState(State* next) = 0;
};

} // namespace Calibration
