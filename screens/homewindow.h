// The start page: the live concentration with its unit, species and carrier
// gas, the operating mode, the secondary values with the alarm list and lamps,
// the mini trend chart, the screen lock and the way to every other screen.
// All values arrive as replies to the requests it is polled for.
#pragma once

#include "analyzer/analyzerfacts.h"
#include "analyzer/request.h"
#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "widgets/chartsfwd.h"
#include "widgets/windowtype.h"

#include <QDateTime>
#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <map>
#include <memory>

class QLineEdit;
class QListWidgetItem;
class QTimer;
class StaleMarker;

namespace Trend {
class HistoryInterface;
class TrendChart;
} // namespace Trend

namespace UnitConversion {
class ConversionInterface;
}

namespace Ui {
class HomeWindow;
}

class HomeWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    /// history must outlive the window; the mini plot asks it for data at once.
    HomeWindow(Trend::HistoryInterface* history, QWidget* parent);
    ~HomeWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override { return m_requests.pollRequests(); }
    void handleResponse(const Analyzer::Response& response) override;

    /// Follows the trend screen's interval (0 week, 1 day, 2 four hours,
    /// 3 one hour) and value range; a new interval re-requests history.
    void setMiniPlotScale(int intervalIndex, double yMin, double yMax);
    int miniPlotIntervalIndex() const { return m_intervalIndex; }
    double miniPlotMinimum() const;
    double miniPlotMaximum() const;

    /// The link to the analyzer was lost (true) or restored (false): the
    /// concentration and the lamps turn stale with a lost link.
    void connectionChanged(bool lost);
    /// The concentration and the alarm lamps, live or stale (for tests).
    StaleMarker* concentrationMarker() const { return m_concMarker; }
    StaleMarker* lampMarker() const { return m_lampMarker; }
    /// What the value area shows before the first concentration is read.
    static QString noValueText();

signals:
    void goToWindow(WindowType window);
    void inOpmode(int mode);
    void showKeyboard(QString label, Analyzer::Request& request);

public slots:
    void updateMiniTrend(bool cleared);
    /// The analyzer's class: in function check and failure the value is no
    /// measurement, and carries the class's symbol to say so.
    void setStatusClass(Analyzer::StatusClass statusClass);
    void moveMiniPlotXAxis();

private slots:
    void modeClicked();
    void rdgraphClicked();
    void settingsClicked();
    void trendClicked();
    void displayClicked();
    void lockClicked();
    void alarmDetailsClicked(QListWidgetItem* item);

private:
    void concReceived(const Analyzer::Response& response);
    void speciesReceived(const Analyzer::Response& response);
    void unitsReceived(const Analyzer::Response& response);
    void tauReceived(const Analyzer::Response& response);
    void tauStdReceived(const Analyzer::Response& response);
    void tauZeroReceived(const Analyzer::Response& response);
    void tauZeroStdReceived(const Analyzer::Response& response);
    void laserCurrentReceived(const Analyzer::Response& response);
    void laserTemperatureReceived(const Analyzer::Response& response);
    void thresholdReceived(const Analyzer::Response& response);
    void opmodeReceived(const Analyzer::Response& response);
    void gasReceived(const Analyzer::Response& response);
    void userAlarm2Received(const Analyzer::Response& response);
    void level1Received(const Analyzer::Response& response);
    void level2Received(const Analyzer::Response& response);
    void lockCodeReceived(const Analyzer::Response& response);
    void switchLevelReceived(const Analyzer::Response& response);

    void showTauPart(const Analyzer::Response& response, QString& part, const QString& value,
                     const QString& deviation, QLineEdit* field);
    void showSpeciesInGas();
    void rebuildAlarms();
    void lampsStale(bool stale);
    void applyLockState();
    void selectUnit(const QString& key);
    void setUpMiniPlot();

    Ui::HomeWindow* ui;
    QPixmap m_redLamp;
    QPixmap m_greenLamp;
    QPixmap m_greyLamp;
    Analyzer::RequestTable m_requests;
    int m_lockId = 0;
    Analyzer::Request m_lockRequest;

    std::map<QString, std::unique_ptr<UnitConversion::ConversionInterface>> m_units;
    UnitConversion::ConversionInterface* m_conversion = nullptr;
    QString m_unitKey;

    QString m_tauText;
    QString m_tauStdText;
    QString m_tauZeroText;
    QString m_tauZeroStdText;

    bool m_laserAlarm = false;
    bool m_pressureAlarm = false;
    bool m_ringDownAlarm = false;
    bool m_temperatureAlarm = false;
    bool m_refCellAlarm = false;
    bool m_detectorTemperatureAlarm = false;
    bool m_userAlarm1 = false;
    bool m_userAlarm2 = false;
    bool m_certificateExpired = false;
    bool m_concWarning = false;
    bool m_reactorUsed = false;
    bool m_fitUsed = false;
    bool m_fitModeEnabled = false;
    double m_level1 = 0.0;
    double m_level2 = 0.0;

    bool m_locked = false;
    int m_unlockCode = -1;

    StaleMarker* m_concMarker = nullptr;
    StaleMarker* m_lampMarker = nullptr;

    Trend::HistoryInterface* m_history;
    QScatterSeries* m_normalSeries = nullptr;
    QScatterSeries* m_alarmSeries = nullptr;
    Trend::TrendChart* m_chart = nullptr;
    QDateTime m_plotStart;
    QDateTime m_plotEnd;
    int m_intervalIndex = 1;
    QTimer* m_plotTimer = nullptr;
};
