// The scans screen: the operator sets the parameters of the four diagnostic
// scans (laser temperature and current, against the cavity and the reference
// cell) through the keypad and starts one; the page shows the operating mode
// and pre-fills the ranges from the laser's present temperature and current.
#pragma once

#include "analyzer/request.h"
#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "widgets/windowtype.h"

#include <QList>
#include <QMap>
#include <QWidget>

class QLineEdit;

namespace Ui {
class ScansWindow;
}

class ScansWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    explicit ScansWindow(QWidget* parent);
    ~ScansWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override;
    void handleResponse(const Analyzer::Response& response) override;

signals:
    void goToWindow(WindowType window);
    void showKeyboard(QString label, Analyzer::Request& request);
    void jsonToSend(Analyzer::Request request);
    void inOpmode(int mode);
    void expectedChange(WindowType window);

private slots:
    void closeClicked();
    void cavityScanCurrentClicked();
    void cavityScanTempClicked();
    void refcellScanCurrentClicked();
    void refcellScanTempClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void opmodeReceived(const Analyzer::Response& response);
    void temperatureReceived(const Analyzer::Response& response);
    void currentReceived(const Analyzer::Response& response);
    void prefill(double reading, double halfRange, double ceiling, const QList<QLineEdit*>& starts,
                 const QList<QLineEdit*>& stops, const QList<QLineEdit*>& fixed);
    void keypadValueReceived(QLineEdit* field, const Analyzer::Response& response);
    void startScan(int id, const QList<QLineEdit*>& fields);
    QList<QLineEdit*> keypadFields() const;

    Ui::ScansWindow* ui;
    Analyzer::RequestTable m_requests;
    int m_opmodeId = 0;
    int m_cavityCurrentId = 0;
    int m_cavityTemperatureId = 0;
    int m_refcellCurrentId = 0;
    int m_refcellTemperatureId = 0;
    int m_temperatureId = 0;
    int m_currentId = 0;
    QList<QLineEdit*> m_cavityTempFields;
    QList<QLineEdit*> m_cavityCurrentFields;
    QList<QLineEdit*> m_refcellTempFields;
    QList<QLineEdit*> m_refcellCurrentFields;
    QMap<QLineEdit*, int> m_keypadIds;
    Analyzer::Request m_keypadRequest;
    bool m_scanning = false;
    bool m_rangesFetched = false;
};
