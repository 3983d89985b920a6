// The guided shutdown: one instruction more with each press of Next, commands
// to the analyzer at fixed steps, and at the end the signal on which the
// controller shuts the analyzer and the panel down. The instructions depend on
// whether the analyzer has a pressure controller and a reactor, read at each
// press; while shown, the page also displays the controller's pressure.
#pragma once

#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "widgets/windowtype.h"

#include <QWidget>

namespace Ui {
class ShutdownWindow;
}

class ShutdownWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    explicit ShutdownWindow(QWidget* parent);
    ~ShutdownWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override { return m_requests.pollRequests(); }
    void handleResponse(const Analyzer::Response& response) override;

signals:
    void jsonToSend(Analyzer::Request request);
    void shutdownNow();
    void goToWindow(WindowType window);

private slots:
    void closeClicked();
    void nextClicked();

private:
    void apcUsedReceived(const Analyzer::Response& response);
    void apcPressureReceived(const Analyzer::Response& response);
    void blankSteps();
    void sendCommand(int id, const QString& method, const QJsonValue& parameter);

    Ui::ShutdownWindow* ui;
    Analyzer::RequestTable m_requests;
    int m_opmodeId = 0;
    int m_apcOpenId = 0;
    int m_step = 1;
    bool m_apcUsed = false;
    bool m_reactorUsed = false;
};
