// The page from which the operator changes the analyzer's operating mode
// (service, tune, measure) and reaches the scans and shutdown screens. It
// polls nothing: its one request goes out only when a mode is pressed.
#pragma once

#include "analyzer/request.h"
#include "analyzer/rpcinterface.h"
#include "widgets/windowtype.h"

#include <QWidget>

namespace Ui {
class ModeWindow;
}

class ModeWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    explicit ModeWindow(QWidget* parent);
    ~ModeWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_modeRequest.id(); }
    int lastRequestId() override { return m_modeRequest.id(); }
    QJsonArray updateRequests() override { return QJsonArray(); }
    /// The reply to a mode change tells nothing the home screen will not show.
    void handleResponse(const Analyzer::Response&) override {}

signals:
    void jsonToSend(Analyzer::Request request);
    void expectedChange(WindowType window);
    void goToWindow(WindowType window);
    void shutdownNow();
    void service();
    void tune();
    void measure();

public slots:
    void hideScans(bool hide);
    /// Rewords the page for a panel that drives several analyzers at once.
    void masterControl(bool master);

private slots:
    void serviceClicked();
    void tuneClicked();
    void measureClicked();
    void closeClicked();
    void scanClicked();
    void shutdownClicked();

private:
    void sendMode(int code);

    Ui::ModeWindow* ui;
    Analyzer::Request m_modeRequest;
};
