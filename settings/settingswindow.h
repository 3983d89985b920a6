// The settings screen: six tabs of analyzer settings and readings, each tab a
// poll group so that only the tab on view is refreshed. Every value comes from
// the analyzer and every change leaves as a request named after the setting;
// outside service mode the settings are read-only. Standard and Factory access
// decide whether the factory pages are reachable.
#pragma once

#include "analyzer/request.h"
#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "files/filemanager.h"
#include "widgets/windowtype.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class CalendarDialog;
class IBacklight;
class ProgressDialog;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSignalMapper;
class QTimer;

namespace Ui {
class SettingsWindow;
}

class SettingsWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    /// Poll groups: one per tab, by tab position, and the one-shot requests.
    enum Group
    {
        GasTypeGroup,
        OutputsGroup,
        ScheduleGroup,
        SettingsGroup,
        ServiceGroup,
        FactoryGroup,
        OneShotGroup
    };
    static constexpr int kFactoryPassword = 5738;

    explicit SettingsWindow(QWidget* parent = nullptr);
    ~SettingsWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override;
    void handleResponse(const Analyzer::Response& response) override;

    /// The connection to the analyzer was lost (true) or restored (false).
    void connectionChanged(bool lost);

    /// The timers, for the controller's housekeeping and for tests.
    QTimer* editingTimer() const { return m_editingTimer; }
    QTimer* dataFilterTimer() const { return m_dataFilterTimer; }
    IBacklight* backlight() const { return m_backlight.get(); }

signals:
    void goToWindow(WindowType window);
    void jsonToSend(Analyzer::Request request);
    void expectedChange(WindowType window);
    void showKeyboard(QString label, Analyzer::Request& request);
    void newTitleBarName(QString name);
    void newTitleBarVersion(QString version);
    void startDownload(FileManager::FileType type, bool hidePopups);
    void uploadFile(FileManager::FileType type);

public slots:
    void showFactoryTab(bool factory);
    void configureForServiceMode(bool service);

private slots:
    void tabChanged(int position);
    void pageClicked(int page);
    void closeClicked();
    void backlightChanged(int value);
    void gasClicked(int position);
    void unitsChanged(int index);
    void usbBaudrateChanged(int index);
    void rs232BaudrateChanged(int index);
    void rs485BaudrateChanged(int index);
    void a420Edited();
    void alarm1RelayClicked(bool checked);
    void alarm2RelayClicked(bool checked);
    void alarmSysRelayClicked(bool checked);
    void dhcpClicked(bool checked);
    void echoConcChecked(bool checked);
    void prefixTimeChecked(bool checked);
    void allowAutoLaserOptClicked(bool checked);
    void optimizeNowClicked();
    void tuneScheduleEdited(int);
    void laserCurrentEdited();
    void laserTempEdited();
    void thresholdEdited();
    void apcSetEdited();
    void apcOpenClicked(bool checked);
    void setDataFilterbyLine();
    void dataFilterSliding(int value);
    void dataEditingDone();
    void dateChanged();
    void dateRejected();
    void downloadSettingsClicked();
    void uploadSettingsClicked();
    void defaultSettingsClicked();
    void transferTrendClicked();
    void transferScansClicked();
    void transferLogClicked();
    void transferSRDAClicked();
    void finalizeSettingsClicked();
    void offPeakClicked();
    void vmodEdited();
    void vmodFactorEdited();
    void vmodFrequencyEdited();
    void simsEdited();
    void changeAccessLevel();
    void detector1GainEdited();
    void pztFrequencyEdited();
    void detector1FilterClicked(bool checked);
    void pztEnabledClicked(bool checked);
    void checkFileSystem();
    void editingDone();
    void on_trackHoldEnableCheckbox_clicked(bool checked);
    void on_dynamicFilterEnabledCheckBox_clicked(bool checked);
    void on_buttonCertificationScan_clicked();
    void on_apcCalibrateButton_clicked();
    void on_allowNegativeCheckBox_clicked(bool checked);
    void on_reactorHeaterEnabledCheckBox_clicked(bool checked);
    void on_checkBoxFitEnable_clicked(bool checked);
    void on_clearTrendButton_clicked();
    void on_buttonNextGasPage_clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = std::function<void(const Analyzer::Response&)>;
    enum class Format
    {
        F1,
        F2,
        G6,
        E4,
        Int
    };
    /// What a press on a line edit opens: the keypad with this prompt for the
    /// request whose id is stored at id.
    struct KeypadField
    {
        QString prompt;
        const int* id;
    };

    int inGroup(Group group, int id);
    /// Shows a number in its format; with keepWhileFocused the operator's
    /// typing is never overwritten.
    Handler number(QLineEdit* field, Format format, bool keepWhileFocused = true);
    Handler checked(QCheckBox* box);
    Handler text(QLabel* label, const QString& prefix);

    void send(int id, const QJsonArray& params);
    /// Sends params + [the field's number]; text that is no number sends nothing.
    void sendValueOf(int id, QLineEdit* field, QJsonArray params = {});
    void openKeypad(const QString& prompt, int id);
    void sendNetworkSettings(bool dhcp);
    void selectByData(QComboBox* combo, const QVariant& data);
    void sendBaudrate(QComboBox* combo, const QString& port, int index);

    void opmodeReceived(const Analyzer::Response& response);
    void gasesReceived(const Analyzer::Response& response);
    void currentGasReceived(const Analyzer::Response& response);
    void networkReceived(const Analyzer::Response& response);
    void addressEntered(QLineEdit* field, const Analyzer::Response& response);
    void echoConcReceived(const Analyzer::Response& response);
    void tuneScheduleReceived(const Analyzer::Response& response);
    void dateTimeReceived(const Analyzer::Response& response);
    void readingForUnitType(const Analyzer::Response& response, bool laserMonitor);
    void apcUsedReceived(const Analyzer::Response& response);
    void dataFilterReceived(const Analyzer::Response& response);
    void dynamicFilterEnabledReceived(const Analyzer::Response& response);
    void dynamicFilterUsedReceived(const Analyzer::Response& response);
    void unitsReceived(const Analyzer::Response& response);
    void dewPointUsedReceived(const Analyzer::Response& response);
    void reactorUsedReceived(const Analyzer::Response& response);
    void reactorReading(QLineEdit* field, const Analyzer::Response& response);
    void unitNameReceived(const Analyzer::Response& response);
    void unitTypeReceived(const Analyzer::Response& response);
    void serialNumberReceived(const Analyzer::Response& response);
    void versionReceived(const Analyzer::Response& response);
    void passwordEntered(const Analyzer::Response& response);
    void restoreReceived(const Analyzer::Response& response);
    void finalizeReceived(const Analyzer::Response& response);
    void clearTrendReceived(const Analyzer::Response& response);

    void showGasPage(int page);
    void markCurrentGas();
    void showResult(const QString& title, const QString& text);
    void connectWidgets();

    Ui::SettingsWindow* ui;
    Analyzer::RequestTable m_requests;
    std::array<QList<int>, 7> m_groups;
    QHash<QObject*, KeypadField> m_keypadFields;
    /// The request handed to the keypad; the controller completes a copy of it.
    Analyzer::Request m_keypadRequest;

    // Ids of the requests the screen writes or opens the keypad for.
    int m_scheduleOpmodeId = 0;
    int m_currentGasId = 0;
    int m_usbBaudId = 0;
    int m_rs232BaudId = 0;
    int m_rs485BaudId = 0;
    int m_networkId = 0;
    int m_a420LowId = 0;
    int m_a420HighId = 0;
    int m_a420Id = 0;
    int m_alarm1LevelId = 0;
    int m_alarm2LevelId = 0;
    int m_alarm1RelayId = 0;
    int m_alarm2RelayId = 0;
    int m_sysRelayId = 0;
    int m_ipEntryId = 0;
    int m_subnetEntryId = 0;
    int m_gatewayEntryId = 0;
    int m_fitEnabledId = 0;
    int m_fitOffsetId = 0;
    int m_fitSlopeId = 0;
    int m_echoConcId = 0;
    int m_logIntervalId = 0;
    int m_autoLaserOptId = 0;
    int m_tuneScheduleId = 0;
    int m_dateTimeId = 0;
    int m_laserCurrentId = 0;
    int m_laserTemperatureId = 0;
    int m_thresholdId = 0;
    int m_apcSetPointId = 0;
    int m_apcOpenId = 0;
    int m_reactorHeaterId = 0;
    int m_dataFilterId = 0;
    int m_dynamicFilterId = 0;
    int m_unitsId = 0;
    int m_sampleGasPressureId = 0;
    int m_passwordId = 0;
    int m_restoreId = 0;
    int m_finalizeId = 0;
    int m_vmodAmplitudeId = 0;
    int m_vmodFactorId = 0;
    int m_vmodFrequencyId = 0;
    int m_mirrorSlopeId = 0;
    int m_detectorGainId = 0;
    int m_pztFrequencyId = 0;
    int m_detectorFilterId = 0;
    int m_pztEnabledId = 0;
    int m_simConcId = 0;
    int m_trackHoldId = 0;
    int m_allowNegativeId = 0;
    int m_clearTrendId = 0;

    CalendarDialog* m_calendar = nullptr;
    ProgressDialog* m_progress = nullptr;
    QSignalMapper* m_gasMapper = nullptr;
    QSignalMapper* m_pageMapper = nullptr;
    QList<QWidget*> m_gasButtons;
    QList<QLabel*> m_gasLabels;

    QStringList m_gases;
    QString m_currentGas = QStringLiteral("!UNKNOWN!");
    int m_gasPage = 0;
    int m_gasPageCount = 1;

    bool m_firstPoll = true;
    bool m_reactorUsed = false;
    bool m_networkEditing = false;
    bool m_dataFilterEditing = false;
    int m_unitType = 0;

    QTimer* m_editingTimer = nullptr;
    QTimer* m_dataFilterTimer = nullptr;
    QTimer* m_storageTimer = nullptr;
    std::unique_ptr<IBacklight> m_backlight;
};
