// The trend screen: concentration history over a week, a day, four hours or
// an hour from a chosen date, paged backwards and forwards; the value axis
// fitted to the data or set by typing a maximum and a minimum on a press of
// its strip; a touched point's value, the user alarm levels as dashed lines
// and the window's statistics as the chart's tooltip. The controller reads
// its interval and value range to scale the home screen's mini plot.
#pragma once

#include "analyzer/request.h"
#include "analyzer/requesttable.h"
#include "analyzer/rpcinterface.h"
#include "trend/chartexport.h"
#include "widgets/chartsfwd.h"
#include "widgets/windowtype.h"

#include <QDateTime>
#include <QWidget>
#include <functional>

class CalendarDialog;
class FileManager;
class QTimer;

namespace Trend {
class HistoryInterface;
class TrendChart;
} // namespace Trend

namespace Ui {
class TrendWindow;
}

class TrendWindow : public QWidget, public Analyzer::RPCInterface
{
    Q_OBJECT
    Q_INTERFACES(Analyzer::RPCInterface)

public:
    /// history must outlive the window; the current day is asked for at once.
    TrendWindow(Trend::HistoryInterface* history, QWidget* parent);
    ~TrendWindow() override;

    void assignRequestIds(int firstId) override;
    int firstRequestId() override { return m_requests.firstId(); }
    int lastRequestId() override { return m_requests.lastId(); }
    QJsonArray updateRequests() override;
    void handleResponse(const Analyzer::Response& response) override;

    /// What the home mini plot follows: 0 week, 1 day, 2 four hours, 3 one hour.
    int intervalIndex() const;
    double valueAxisMinimum() const;
    double valueAxisMaximum() const;
    QDateTime windowStart() const { return m_start; }
    QDateTime windowEnd() const { return m_end; }
    /// The file manager whose serial number names the chart's exports.
    void setFileManager(FileManager* fileManager) { m_fileManager = fileManager; }
    /// Where the exports read the species and gas from ("H2O in N2").
    void setSpeciesSource(const std::function<QString()>& species) { m_species = species; }

signals:
    void goToWindow(WindowType window);
    void showKeyboard(QString label, Analyzer::Request& request);
    /// The value axis was framed or set: the home mini plot follows it.
    void valueRangeChanged();

public slots:
    void moveToNow();
    void closeClicked();
    void download();
    void dateChanged();
    void dateRejected();
    void forward();
    void backward();
    void intervalChanged(int index);
    void autoScaleY();
    void autoScaleYClicked(bool checked);
    void pointClicked(const QPointF& point);
    void refreshTrendData();
    void updateTrend(bool cleared);
    /// The window's points, in the unit shown, to CSV in the storage folder.
    void exportCsvClicked();
    /// The chart as shown, to PNG in the storage folder.
    void exportPngClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Shows the window of the interval that starts on the day text ("yyyy-MM-dd").
    void showDay(const QString& text);
    CalendarDialog* calendar();
    void maximumEntered(const Analyzer::Response& response);
    void minimumEntered(const Analyzer::Response& response);
    void unitsReceived(const Analyzer::Response& response);
    void pageBy(int direction);
    void requestWindow();
    void chartPressed(const QPoint& position);
    void typedLimit(const Analyzer::Response& response, bool maximum);
    /// What an export of the window on view says it is.
    Trend::ChartExport::Header exportHeader() const;

    Ui::TrendWindow* ui;
    Trend::HistoryInterface* m_history;
    Analyzer::RequestTable m_requests;
    int m_maximumId = 0;
    int m_minimumId = 0;
    int m_unitsId = 0;
    int m_level1Id = 0;
    int m_level2Id = 0;
    Analyzer::Request m_keypadRequest;

    QDateTime m_start;
    QDateTime m_end;
    QString m_unitKey;
    int m_previousPointCount = 0;
    /// The date popup, made on first use (see calendar()).
    CalendarDialog* m_calendar = nullptr;
    QTimer* m_refreshTimer = nullptr;

    QChartView* m_chartView = nullptr;
    Trend::TrendChart* m_chart = nullptr;
    QScatterSeries* m_trendSeries = nullptr;
    QScatterSeries* m_touchedSeries = nullptr;
    QScatterSeries* m_alarmSeries = nullptr;
    QLineSeries* m_level1Line = nullptr;
    QLineSeries* m_level2Line = nullptr;
    FileManager* m_fileManager = nullptr;
    std::function<QString()> m_species;
};
