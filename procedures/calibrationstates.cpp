#include "procedures/calibrationstates.h"

#include "procedures/calibrationcontext.h"

#include <QCoreApplication>

namespace Calibration {

namespace {
QString adcError()
{
    return QCoreApplication::translate("Calibration", "ERROR: Could not calibrate ADC");
}
} // namespace

void State::moveTo(Context& context, State* next)
{
    context.setState(next);
    delete this;
}

void State::end(Context& context, const QString& text)
{
    moveTo(context, new CompleteState(context, text));
}

StepState::StepState(Context& context, const QString& text)
{
    context.setStatusText(text);
    context.hideNextButton(false);
    context.hideOkButton(true);
    context.hideCancelButton(false);
}

void StepState::onConnectionLost(Context& context)
{
    end(context, QCoreApplication::translate("Calibration", "ERROR: Lost connection to analyzer"));
}

void StepState::onCancel(Context& context)
{
    end(context, QCoreApplication::translate("Calibration", "Calibration cancelled"));
}

ConnectBoxState::ConnectBoxState(Context& context)
    : StepState(context,
                QCoreApplication::translate("Calibration", "Connect calibration box to J902."))
{
}

void ConnectBoxState::onNext(Context& context)
{
    moveTo(context, new Connect1VState(context));
}

CalibratingState::CalibratingState(Context& context, const QString& text, const QString& error)
    : StepState(context, text), m_error(error)
{
}

void CalibratingState::onNext(Context& context)
{
    // One request per step: the analyzer's answer moves the procedure on.
    context.hideNextButton(true);
    calibrate(context);
}

void CalibratingState::onReply(Context& context, bool failed)
{
    if (failed)
        end(context, m_error);
    else
        moveTo(context, next(context));
}

Connect1VState::Connect1VState(Context& context)
    : CalibratingState(context,
                       QCoreApplication::translate("Calibration", "Set switch to 1.024V position."),
                       adcError())
{
}

void Connect1VState::calibrate(Context& context)
{
    context.calibrateAdc(1, 1.024);
}

State* Connect1VState::next(Context& context)
{
    return new Connect4VState(context);
}

Connect4VState::Connect4VState(Context& context)
    : CalibratingState(context,
                       QCoreApplication::translate("Calibration", "Set switch to 4.096V position."),
                       adcError())
{
}

void Connect4VState::calibrate(Context& context)
{
    context.calibrateAdc(2, 4.096);
}

State* Connect4VState::next(Context& context)
{
    return new LoopbackState(context);
}

LoopbackState::LoopbackState(Context& context)
    : CalibratingState(
          context, QCoreApplication::translate("Calibration", "Set switch to loopback position."),
          QCoreApplication::translate("Calibration", "ERROR: Could not calibrate DAC"))
{
}

void LoopbackState::calibrate(Context& context)
{
    context.calibrateDac();
}

State* LoopbackState::next(Context& context)
{
    return new CompleteState(context, QString());
}

CompleteState::CompleteState(Context& context, const QString& text)
{
    context.setStatusText(
        text.isEmpty() ? QCoreApplication::translate("Calibration", "Calibration complete") : text);
    context.hideNextButton(true);
    context.hideOkButton(false);
    context.hideCancelButton(true);
}

void CompleteState::onOk(Context& context)
{
    moveTo(context, nullptr);
}

} // namespace Calibration
