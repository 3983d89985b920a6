// The certification scans page: polls the analyzer's mode, laser readings,
// system alarm and certification settings once a second and feeds the replies
// to the current step of the procedure, which acts through this window.
#pragma once

#include "analyzer/request.h"
#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "base/procedurerun.h"
#include "files/filemanager.h"
#include "procedures/certificationcontext.h"
#include "widgets/windowtype.h"

#include <QTimer>
#include <QWidget>
#include <optional>

namespace Ui {
class CertificationWindow;
}

class CertificationWindow : public QWidget,
                            public Certification::Context,
                            public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    CertificationWindow(FileManager* fileManager, QWidget* parent);
    ~CertificationWindow() override;

    /// Begins the procedure again at its first step (each time the page is shown).
    void restart();
    /// A lost link ends the procedure; a restored one leaves the outcome on
    /// screen and sends service mode again where the run had the analyzer.
    void connectionChanged(bool lost);
    /// A run is under way: it is polled, and its waits run, whatever page is
    /// in front (the operator may look at the journal meanwhile).
    bool isRunning() const { return m_run.isRunning(); }
    /// How long a step waits for the analyzer (a minute); tests shorten it.
    void setTimeoutInterval(int ms) { m_timeout->setInterval(ms); }

    // Analyzer::RPCInterface
    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override;
    void handleResponse(const Analyzer::Response& response) override;

    // Certification::Context
    void setOpmode(int mode) override;
    void setStatusText(const QString& text) override;
    void hideCancelButton(bool hide) override;
    void hideNextButton(bool hide) override;
    void hideOkButton(bool hide) override;
    void startFileDownload(FileManager::FileType type) override;
    void cancelTransfer() override;
    void setState(Certification::State* next) override;
    void startTimeout() override { m_timeout->start(); }
    void restoreServiceModeOnReconnect() override { m_serviceModeOwed = true; }
    bool runOnPeak() const override { return m_runOnPeak; }
    int collectionTime() const override { return m_collectionTime; }

    /// The step on view, for tests and screenshots.
    Certification::State* state() const { return m_state; }

signals:
    void goToWindow(WindowType window);
    void jsonToSend(Analyzer::Request request);
    void startDownload(FileManager::FileType type, bool hidePopups);

public slots:
    void downloadComplete(bool success);

private slots:
    void on_buttonCancel_clicked();
    void on_buttonOK_clicked();
    void on_buttonNext_clicked();

private:
    void opmodeReceived(const Analyzer::Response& response);
    void currentReceived(const Analyzer::Response& response);
    void temperatureReceived(const Analyzer::Response& response);
    void systemAlarmReceived(const Analyzer::Response& response);
    void runOnPeakReceived(const Analyzer::Response& response);
    void collectionTimeReceived(const Analyzer::Response& response);
    void replaceState(Certification::State* next);
    /// Tells the new current state it is current, once the step that made it has returned.
    void announceState();
    /// Tells the journal's record of the run which kind of step next is.
    void noteStep(Certification::State* next);
    void timedOut();

    Ui::CertificationWindow* ui;
    Analyzer::RequestTable m_requests;
    int m_opmodeId = 0;
    int m_tempScanId = 0;
    int m_cavityScanId = 0;
    int m_currentId = 0;
    int m_temperatureId = 0;
    int m_alarmId = 0;
    int m_runOnPeakId = 0;
    int m_collectionTimeId = 0;
    double m_measuredCurrent = 95.0;
    double m_measuredTemperature = 20.0;
    Certification::State* m_state = nullptr;
    FileManager* m_fileManager;
    int m_collectionTime = 43200;
    bool m_runOnPeak = true;
    QTimer* m_timeout;
    /// Set while the file manager runs a download asked for by a step.
    bool m_downloading = false;
    /// The last outcome the file manager reported during that call.
    std::optional<bool> m_reportedSuccess;
    ProcedureRun m_run{QStringLiteral("certification")};
    /// A run ended on a lost link; service mode goes out when the link is back.
    bool m_serviceModeOwed = false;
    /// Counts the changes of the current state, so that a deferred
    /// announcement reaches only the state it was made for.
    quint64 m_stateChanges = 0;
};
