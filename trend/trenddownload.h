// The page on which the operator copies the trend history to the storage
// folder: how much (the most recent day, week, month or everything) and
// Download. It moves no data itself; the controller has the file manager
// fetch and convert it. Downloading is allowed only in service mode.
#pragma once

#include "analyzer/request.h"
#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "widgets/windowtype.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QTimer>
#include <QWidget>

namespace Ui {
class TrendDownload;
}

class TrendDownload : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    explicit TrendDownload(QWidget* parent);
    ~TrendDownload() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    /// The mode and unit, polled while the page is shown.
    QJsonArray updateRequests() override;
    void handleResponse(const Analyzer::Response& response) override;

    /// The start of the period the checked button stands for, counted back from now.
    QDateTime periodStart(const QDateTime& now) const;

signals:
    void goToWindow(WindowType window);
    void jsonToSend(Analyzer::Request request);
    void downloadTrend(QDateTime start, QString units);

public slots:
    void configureForServiceMode(bool serviceMode);

private slots:
    void closeClicked();
    void downloadClicked();
    void checkFileSystem();

private:
    void opmodeReceived(const Analyzer::Response& response);
    void unitsReceived(const Analyzer::Response& response);

    Ui::TrendDownload* ui;
    Analyzer::RequestTable m_requests;
    int m_opmodeId = 0;
    int m_unitsId = 0;
    QString m_units = QStringLiteral("volume");
    QButtonGroup m_periods;
    QTimer m_storageTimer;
};
