// The ring-down graph: the analyzer's most recent decay waveform as a line
// chart with the ring-down time above it, refreshed on every poll while shown.
#pragma once

#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "widgets/chartsfwd.h"
#include "widgets/windowtype.h"

#include <QPointF>
#include <QVector>
#include <QWidget>

namespace Ui {
class RDGraphWindow;
}

class RDGraphWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    explicit RDGraphWindow(QWidget* parent);
    ~RDGraphWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override { return m_requests.pollRequests(); }
    void handleResponse(const Analyzer::Response& response) override;

signals:
    void goToWindow(WindowType window);

private slots:
    void closeClicked();

private:
    void ringDownReceived(const Analyzer::Response& response);

    Ui::RDGraphWindow* ui;
    Analyzer::RequestTable m_requests;
    QLineSeries* m_series = nullptr;
    QVector<QPointF> m_points;
};
