// The settings screen: six tabs of analyzer settings and readings, each tab a
// poll group so that only the tab on view is refreshed. Every value comes from
// the analyzer and every change leaves as a request named after the setting;
// outside service mode the settings are read-only. Standard and Factory access
// decide whether the factory pages are reachable.
//
// The 82 requests are rows of one table (settingsrows.cpp), walked by
// assignRequestIds(); settingswindow.cpp holds the frame and the walk,
// settingsfields.cpp the fields' own reply handlers and every edit.
#pragma once

#include "analyzer/request.h"
#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "files/filemanager.h"
#include "settings/settingsrow.h"
#include "widgets/windowtype.h"

#include <QHash>
#include <QList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class CalendarDialog;
class GasPages;
class IBacklight;
class ProgressDialog;
class QComboBox;
class QLineEdit;
class QSignalMapper;
class QTimer;
class StaleMarker;

namespace Ui {
class SettingsWindow;
}

class SettingsWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    static constexpr int kFactoryPassword = 5738;

    explicit SettingsWindow(QWidget* parent = nullptr);
    ~SettingsWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override;
    void handleResponse(const Analyzer::Response& response) override;

    /// What the analyzer last answered under id (empty when nothing yet): a
    /// setting sent under the same id replaces it.
    QString reportedValue(int id) const;
    /// The operator's name for the setting sent by method: the row's label
    /// on this page (a check box's own text) in the language shown; empty
    /// when the page has no row for it.
    QString rowLabel(const QString& method) const;
    /// The connection to the analyzer was lost (true) or restored (false);
    /// the readings turn stale with a lost link.
    void connectionChanged(bool lost);
    /// Whether the page is open for edits (the analyzer read in service mode
    /// since the link last came up).
    bool isInServiceMode() const { return m_serviceMode; }
    /// Vets a keypad entry for one of the page's fields before it is sent:
    /// false (logged) for a field the service-mode gate has closed since the
    /// entry began; a value beyond a field's bounds is brought within them,
    /// as its slider would.
    bool admitKeypadEntry(Analyzer::Request& request) const;
    /// The marker of the readings group that holds widget, if any (for tests).
    StaleMarker* readingsMarker(const QWidget* widget) const
    {
        return m_readingMarkers.value(widget);
    }

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
    /// The keypad closed, after handing back its value if it had one: an
    /// Ethernet entry that got none was cancelled.
    void keypadClosed();

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
    CalendarDialog* calendar();
    using Handler = std::function<void(const Analyzer::Response&)>;
    /// The unit type whose bfdLineEdit shows the laser current monitor.
    static constexpr int kLaserMonitorUnitType = 100;

    /// Every row of the request table, in id order (settingsrows.cpp).
    static const std::array<SettingsRow, 82> kRows;

    /// The reply handler of a row: shown as the row says, unless its skip rule holds.
    Handler replyHandler(const SettingsRow& row, QWidget* widget);
    bool skipped(int skip, QWidget* widget, const Analyzer::Response& response) const;
    /// The id of the row edited from widget (the first row that names it).
    int idOf(const QObject* widget) const;
    /// The id of the first row with key, in group when one is given.
    int idOf(const char* key, SettingsRow::Group group = SettingsRow::NoGroup) const;

    void send(int id, const QJsonArray& params);
    /// Sends params + [the field's number]; text that is no number sends nothing.
    void sendValueOf(QLineEdit* field, QJsonArray params = {});
    /// Opens the keypad on the row whose prompt belongs to widget.
    void openKeypad(const QObject* widget);
    void sendNetworkSettings(bool dhcp);
    void sendBaudrate(QComboBox* combo, const QString& port, int index);

    void opmodeReceived(const Analyzer::Response& response);
    void gasesReceived(const Analyzer::Response& response);
    void currentGasReceived(const Analyzer::Response& response);
    void networkReceived(const Analyzer::Response& response);
    void addressEntered(QLineEdit* field, const Analyzer::Response& response);
    void echoConcReceived(const Analyzer::Response& response);
    void tuneScheduleReceived(const Analyzer::Response& response);
    void dateTimeReceived(const Analyzer::Response& response);
    void apcUsedReceived(const Analyzer::Response& response);
    void dataFilterReceived(const Analyzer::Response& response);
    void dynamicFilterEnabledReceived(const Analyzer::Response& response);
    void dynamicFilterUsedReceived(const Analyzer::Response& response);
    void unitsReceived(const Analyzer::Response& response);
    void dewPointUsedReceived(const Analyzer::Response& response);
    void reactorUsedReceived(const Analyzer::Response& response);
    void unitNameReceived(const Analyzer::Response& response);
    void unitTypeReceived(const Analyzer::Response& response);
    void serialNumberReceived(const Analyzer::Response& response);
    void versionReceived(const Analyzer::Response& response);
    void passwordEntered(const Analyzer::Response& response);
    void restoreReceived(const Analyzer::Response& response);
    void finalizeReceived(const Analyzer::Response& response);
    void clearTrendReceived(const Analyzer::Response& response);

    void showResult(const QString& title, const QString& text);
    void connectWidgets();
    void watchReadings();

    Ui::SettingsWindow* ui;
    Analyzer::RequestTable m_requests;
    /// Ids by poll group (SettingsRow::Group up to OneShot).
    std::array<QList<int>, SettingsRow::NoGroup> m_groups;
    /// The widget of each row (none where the row names none).
    QList<QWidget*> m_rowWidgets;
    /// Row positions by widget: the row edited from it, and the row whose
    /// keypad it opens.
    QHash<const QObject*, int> m_rowOf;
    QHash<const QObject*, int> m_keypadRowOf;
    /// The request handed to the keypad; the controller completes a copy of it.
    Analyzer::Request m_keypadRequest;
    /// The last result the analyzer sent under each id: the old value of a
    /// setting sent under the same id.
    QHash<int, QJsonValue> m_lastResults;

    /// The date popup, made on first use (see calendar()).
    CalendarDialog* m_calendar = nullptr;
    ProgressDialog* m_progress = nullptr;
    QSignalMapper* m_gasMapper = nullptr;
    QSignalMapper* m_pageMapper = nullptr;
    std::unique_ptr<GasPages> m_gasPages;
    /// The readings' fields by their group's marker: grey with their age when stale.
    QHash<const QWidget*, StaleMarker*> m_readingMarkers;

    bool m_firstPoll = true;
    bool m_reactorUsed = false;
    bool m_networkEditing = false;
    /// The keypad is open on an Ethernet field.
    bool m_networkKeypadOpen = false;
    /// An Ethernet entry came back from the keypad since the editing began.
    bool m_networkEntryMade = false;
    bool m_dataFilterEditing = false;
    bool m_serviceMode = false;
    int m_unitType = 0;

    QTimer* m_editingTimer = nullptr;
    QTimer* m_dataFilterTimer = nullptr;
    QTimer* m_storageTimer = nullptr;
    std::unique_ptr<IBacklight> m_backlight;
};
