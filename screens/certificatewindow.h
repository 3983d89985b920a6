// The performance-verification reminder: the operator either turns the
// reminder off for good or postpones it a week; either choice is one command
// to the analyzer, then the panel returns home. It polls nothing.
#pragma once

#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "widgets/windowtype.h"

#include <QWidget>

namespace Ui {
class CertificateWindow;
}

class CertificateWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    explicit CertificateWindow(QWidget* parent);
    ~CertificateWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override { return QJsonArray(); }
    /// The replies tell nothing the home screen will not show on its next poll.
    void handleResponse(const Analyzer::Response&) override {}

signals:
    void jsonToSend(Analyzer::Request request);
    void goToWindow(WindowType window);

private slots:
    void deleteClicked();
    void remindMeClicked();

private:
    Ui::CertificateWindow* ui;
    Analyzer::RequestTable m_requests;
    int m_deleteId = 0;
    int m_postponeId = 0;
};
