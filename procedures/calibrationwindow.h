// The pressure-controller calibration page: it polls nothing, sends one
// calibration request each time the operator presses Next, and the reply to
// that request drives the current step.
#pragma once

#include "analyzer/request.h"
#include "analyzer/rpcinterface.h"
#include "base/procedurerun.h"
#include "procedures/calibrationcontext.h"
#include "widgets/windowtype.h"

#include <QWidget>

namespace Ui {
class CalibrationWindow;
}

class CalibrationWindow : public QWidget, public Calibration::Context, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    explicit CalibrationWindow(QWidget* parent);
    ~CalibrationWindow() override;

    /// A lost link ends the procedure; a restored one changes nothing.
    void connectionChanged(bool lost);

    /// Runs whose requests carry ids of their own: a run takes the next
    /// three of its block, so a late reply to an earlier run's request falls
    /// on no id the current run waits for.
    static constexpr int kRunsOfIds = 4;

    // Analyzer::RPCInterface
    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_firstId; }
    int lastRequestId() override { return m_firstId + 3 * kRunsOfIds - 1; }
    QJsonArray updateRequests() override { return QJsonArray(); }
    void handleResponse(const Analyzer::Response& response) override;

    // Calibration::Context
    void calibrateAdc(int input, double volts) override;
    void calibrateDac() override;
    void setStatusText(const QString& text) override;
    void hideNextButton(bool hide) override;
    void hideOkButton(bool hide) override;
    void hideCancelButton(bool hide) override;
    void setState(Calibration::State* next) override;

    Calibration::State* state() const { return m_state; }

signals:
    void goToWindow(WindowType window);
    void jsonToSend(Analyzer::Request request);

private slots:
    void on_buttonOK_clicked();
    void on_buttonNext_clicked();
    void on_buttonCancel_clicked();

private:
    /// Moves the three requests to the ids of the next run.
    void useIdsOfRun(int run);

    int m_firstId = 0;
    /// Runs begun since the ids were given out; the run's ids follow from it.
    int m_runs = 0;
    Analyzer::Request m_adc1Request;
    Analyzer::Request m_adc2Request;
    Analyzer::Request m_dacRequest;
    Ui::CalibrationWindow* ui;
    Calibration::State* m_state = nullptr;
    /// The id of the request the current step sent, or none (-1).
    int m_awaitedId = -1;
    ProcedureRun m_run{QStringLiteral("calibration")};
};
