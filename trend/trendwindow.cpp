#include "trend/trendwindow.h"

#include "analyzer/response.h"
#include "base/unitkeys.h"
#include "files/filemanager.h"
#include "files/storageexport.h"
#include "trend/chartexport.h"
#include "trend/historyinterface.h"
#include "trend/localhistory.h"
#include "trend/remotehistory.h"
#include "trend/trendchart.h"
#include "trend/wallclock.h"
#include "ui_trendwindow.h"
#include "widgets/calendardialog.h"
#include "widgets/chartsfwd.h"
#include "widgets/messagebox.h"

#include <QChartView>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kRefreshMs = 10000;
constexpr int kValueTicks = 5;
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// The value-axis strip of the chart view: presses there set the axis.
constexpr int kStripLeft = 11;
constexpr int kStripRight = 99;
constexpr int kMaximumTop = 11, kMaximumBottom = 99;
constexpr int kAutoScaleTop = 101, kAutoScaleBottom = 199;
constexpr int kMinimumTop = 201, kMinimumBottom = 319;
} // namespace

TrendWindow::TrendWindow(Trend::HistoryInterface* history, QWidget* parent)
    : QWidget(parent), ui(new Ui::TrendWindow), m_history(history),
      m_unitKey(UnitConversion::kVolumeKey)
{
    ui->setupUi(this);
    ui->dateLineEdit->installEventFilter(this);
    if (auto* local = dynamic_cast<Trend::LocalHistory*>(m_history))
        connect(local, &Trend::LocalHistory::historyRx, this, &TrendWindow::updateTrend);
    else if (auto* remote = dynamic_cast<Trend::RemoteHistory*>(m_history))
        connect(remote, &Trend::RemoteHistory::historyRx, this, &TrendWindow::updateTrend);

    m_chart = new Trend::TrendChart(QChart::ChartThemeBlueIcy);
    m_trendSeries = m_chart->addScatterSeries(QStringLiteral("trend"), QColor(239, 136, 9, 100),
                                              QColor(140, 81, 9, 80), 5);
    m_touchedSeries = m_chart->addScatterSeries(QStringLiteral("touched"), QColor(188, 84, 24, 90),
                                                QColor(76, 47, 16, 100));
    m_alarmSeries = m_chart->addScatterSeries(QStringLiteral("alarm"), QColor(211, 10, 10, 80),
                                              QColor(211, 10, 10, 100), 6);
    m_level1Line = m_chart->addLevelLine(QStringLiteral("level 1"), QColor(255, 0, 0, 125));
    m_level2Line = m_chart->addLevelLine(QStringLiteral("level 2"), QColor(255, 0, 0, 125));
    m_touchedSeries->setPointLabelsFormat(QStringLiteral("@yPoint"));
    m_chart->valueAxis()->setLabelFormat(QStringLiteral("%3.1f"));
    m_chart->valueAxis()->setTitleText(Trend::TrendChart::valueTitle(m_unitKey));
    m_chart->valueAxis()->setTickCount(kValueTicks);
    m_chartView = new QChartView(m_chart, this);
    m_chartView->setObjectName(QStringLiteral("chartView"));
    m_chartView->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_chartView->setRenderHint(QPainter::Antialiasing);
    ui->gridLayoutChart->addWidget(m_chartView);
    connect(m_chart->valueAxis(), &QValueAxis::rangeChanged, this, &TrendWindow::valueRangeChanged);
    // Presses reach the view's viewport, not the view.
    m_chartView->viewport()->installEventFilter(this);

    ui->dateLineEdit->setText(QDate::currentDate().toString(kDateFormat));
    ui->intervalComboBox->setCurrentIndex(Trend::TrendChart::Day);
    intervalChanged(Trend::TrendChart::Day);

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setObjectName(QStringLiteral("refreshTimer"));
    connect(m_refreshTimer, &QTimer::timeout, this, &TrendWindow::refreshTrendData);
    m_refreshTimer->start(kRefreshMs);

    connect(ui->pushButtonClose, &QPushButton::clicked, this, &TrendWindow::closeClicked);
    connect(ui->pushButtonDownload, &QPushButton::clicked, this, &TrendWindow::download);
    connect(ui->backPushButton, &QPushButton::clicked, this, &TrendWindow::backward);
    connect(ui->forwardPushButton, &QPushButton::clicked, this, &TrendWindow::forward);
    connect(ui->checkBoxAutoScaleY, &QCheckBox::clicked, this, &TrendWindow::autoScaleYClicked);
    connect(ui->intervalComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &TrendWindow::intervalChanged);
    connect(m_trendSeries, &QScatterSeries::clicked, this, &TrendWindow::pointClicked);
    connect(ui->pushButtonExportCsv, &QPushButton::clicked, this, &TrendWindow::exportCsvClicked);
    connect(ui->pushButtonExportPng, &QPushButton::clicked, this, &TrendWindow::exportPngClicked);
}

TrendWindow::~TrendWindow()
{
    delete ui;
}

void TrendWindow::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    m_maximumId =
        m_requests.addGuiOnly(QStringLiteral("trend"), this, &TrendWindow::maximumEntered);
    m_minimumId =
        m_requests.addGuiOnly(QStringLiteral("trend"), this, &TrendWindow::minimumEntered);
    m_unitsId = m_requests.addValue(QStringLiteral("units"), this, &TrendWindow::unitsReceived);
    m_level1Id = m_requests.addValue(
        QStringLiteral("user_alarm_1_level"),
        [this](const Analyzer::Response& r) { m_chart->setLevel(m_level1Line, r.toDouble()); });
    m_level2Id = m_requests.addValue(
        QStringLiteral("user_alarm_2_level"),
        [this](const Analyzer::Response& r) { m_chart->setLevel(m_level2Line, r.toDouble()); });
}

QJsonArray TrendWindow::updateRequests()
{
    return m_requests.pollRequests({m_unitsId, m_level1Id, m_level2Id});
}

void TrendWindow::handleResponse(const Analyzer::Response& response)
{
    m_requests.dispatch(response);
}

int TrendWindow::intervalIndex() const
{
    return ui->intervalComboBox->currentIndex();
}

double TrendWindow::valueAxisMinimum() const
{
    return m_chart->valueAxis()->min();
}

double TrendWindow::valueAxisMaximum() const
{
    return m_chart->valueAxis()->max();
}

void TrendWindow::requestWindow()
{
    m_chart->setDateRange(m_start, m_end);
    m_history->requestRange(m_start, m_end, m_unitKey);
}

void TrendWindow::moveToNow()
{
    if (m_calendar)
        m_calendar->selectToday();
    showDay(QDate::currentDate().toString(kDateFormat));
}

void TrendWindow::closeClicked()
{
    emit goToWindow(HOME);
}

void TrendWindow::download()
{
    emit goToWindow(TREND_DOWNLOAD);
}

void TrendWindow::dateChanged()
{
    showDay(calendar()->selectedDateText());
}

void TrendWindow::showDay(const QString& text)
{
    ui->dateLineEdit->setText(text);
    // Midnight may fall in a spring gap in some zones: the window then starts
    // at the change, never at an invalid time.
    m_start = Trend::WallClock::instant(QDate::fromString(text, kDateFormat), QTime(0, 0));
    m_end = Trend::TrendChart::windowEnd(intervalIndex(), m_start);
    m_trendSeries->clear();
    requestWindow();
}

void TrendWindow::dateRejected()
{
    calendar()->selectToday();
}

CalendarDialog* TrendWindow::calendar()
{
    // Made when the date is first picked: a calendar with its widgets and
    // images is some 200 KB that most runs never open.
    if (!m_calendar) {
        m_calendar = new CalendarDialog(this);
        connect(m_calendar, &QDialog::accepted, this, &TrendWindow::dateChanged);
        connect(m_calendar, &QDialog::rejected, this, &TrendWindow::dateRejected);
    }
    return m_calendar;
}

void TrendWindow::intervalChanged(int index)
{
    const QDate date = QDate::fromString(ui->dateLineEdit->text(), kDateFormat);
    if (Trend::TrendChart::windowOnDate(index, date, &m_start, &m_end)) {
        m_chart->dateAxis()->setFormat(index == Trend::TrendChart::Week ? QStringLiteral("MM-dd")
                                                                        : QStringLiteral("HH:mm"));
        m_chart->dateAxis()->setTickCount(index == Trend::TrendChart::Week ? 8 : 5);
        ui->dateLineEdit->setText(m_start.date().toString(kDateFormat));
    }
    m_trendSeries->clear();
    m_alarmSeries->clear();
    requestWindow();
}

void TrendWindow::forward()
{
    pageBy(1);
}

void TrendWindow::backward()
{
    pageBy(-1);
}

void TrendWindow::pageBy(int direction)
{
    const int interval = intervalIndex();
    m_start = Trend::TrendChart::pagedStart(interval, m_start, direction);
    if (interval >= Trend::TrendChart::Week && interval <= Trend::TrendChart::OneHour)
        m_end = Trend::TrendChart::windowEnd(interval, m_start);
    m_trendSeries->clear();
    m_alarmSeries->clear();
    ui->dateLineEdit->setText(m_start.date().toString(kDateFormat));
    requestWindow();
}

void TrendWindow::autoScaleY()
{
    const QVector<QPointF> points = m_trendSeries->pointsVector();
    if (points.isEmpty())
        return;
    const auto [lowest, highest] =
        std::minmax_element(points.cbegin(), points.cend(),
                            [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    m_chart->frameValues(lowest->y(), highest->y(), kValueTicks);
}

void TrendWindow::autoScaleYClicked(bool checked)
{
    if (checked)
        autoScaleY();
}

void TrendWindow::pointClicked(const QPointF& point)
{
    m_touchedSeries->append(point);
    m_touchedSeries->setPointLabelsVisible(true);
}

void TrendWindow::refreshTrendData()
{
    m_history->refresh();
}

void TrendWindow::updateTrend(bool)
{
    // The paging buttons stay enabled: the rebuild runs within this call, so
    // disabling them for it was never seen, and every such toggle repainted
    // them with a fresh palette that the style's pixmap cache kept (some
    // 23 KB a refresh, growing for hours).
    const QVector<Trend::TrendPoint>& points = m_history->points();
    m_chartView->setToolTip(Trend::TrendChart::statistics(points));
    m_chart->showPoints(points, m_trendSeries, m_alarmSeries);
    // Only a window with new data is framed again, so an axis the operator
    // looks at does not jump on every refresh.
    const int count = points.size();
    if (ui->checkBoxAutoScaleY->isChecked() && count > 0 && count != m_previousPointCount)
        autoScaleY();
    m_previousPointCount = count;
    ui->dateLineEdit->clearFocus();
}

Trend::ChartExport::Header TrendWindow::exportHeader() const
{
    Trend::ChartExport::Header header;
    header.serial = m_fileManager ? m_fileManager->serialNumber() : QString();
    header.species = m_species ? m_species() : QString();
    header.unitKey = m_unitKey;
    header.start = m_start;
    header.end = m_end;
    header.exported = QDateTime::currentDateTime();
    if (auto* local = dynamic_cast<Trend::LocalHistory*>(m_history))
        header.samples = local->sampleCount();
    else if (auto* remote = dynamic_cast<Trend::RemoteHistory*>(m_history))
        header.samples = remote->sampleCount();
    return header;
}

void TrendWindow::exportCsvClicked()
{
    Trend::ChartExport::Header header = exportHeader();
    QVector<QPointF> all = m_trendSeries->pointsVector();
    QVector<QPointF> alarms = m_alarmSeries->pointsVector();
    // The trend database gives every sample of the window, not only the
    // ones the chart keeps to draw.
    if (auto* local = dynamic_cast<Trend::LocalHistory*>(m_history)) {
        const QVector<Trend::TrendPoint> samples = local->samples();
        if (!samples.isEmpty()) {
            all.clear();
            alarms.clear();
            for (const Trend::TrendPoint& point : samples) {
                all.append(QPointF(point.time, point.value));
                if (point.alarm)
                    alarms.append(all.last());
            }
            header.samples = samples.size();
        }
    }
    StorageExport::save(QStringLiteral("chart.csv"), header.serial,
                        Trend::ChartExport::csv(header, all, alarms), all.size());
}

void TrendWindow::exportPngClicked()
{
    const Trend::ChartExport::Header header = exportHeader();
    StorageExport::save(QStringLiteral("chart.png"), header.serial,
                        Trend::ChartExport::png(m_chartView, Trend::ChartExport::title(header)),
                        m_trendSeries->count());
}

void TrendWindow::typedLimit(const Analyzer::Response& response, bool maximum)
{
    const QJsonArray typed = response.toArray();
    const double value = typed.at(0).toDouble(0.0);
    // The axis would take an inverted range as nothing, or an empty one.
    const double minimum = valueAxisMinimum();
    const double maximumNow = valueAxisMaximum();
    if (!typed.isEmpty() && (maximum ? value <= minimum : value >= maximumNow)) {
        MessageBox refusal(this);
        refusal.setText(
            maximum ? tr("MAX must be above MIN (%1).").arg(QString::number(minimum, 'g', 6))
                    : tr("MIN must be below MAX (%1).").arg(QString::number(maximumNow, 'g', 6)));
        refusal.exec();
        return;
    }
    ui->checkBoxAutoScaleY->setChecked(false);
    if (typed.isEmpty())
        return;
    if (maximum)
        m_chart->setValueMaximum(value, kValueTicks);
    else
        m_chart->setValueMinimum(value, kValueTicks);
}

void TrendWindow::maximumEntered(const Analyzer::Response& response)
{
    typedLimit(response, true);
}

void TrendWindow::minimumEntered(const Analyzer::Response& response)
{
    typedLimit(response, false);
}

void TrendWindow::unitsReceived(const Analyzer::Response& response)
{
    const QString key = response.toString();
    if (key.isEmpty() || key == m_unitKey)
        return; // no unit (a result that is no text) is no change
    m_unitKey = key;
    m_chart->valueAxis()->setTitleText(Trend::TrendChart::valueTitle(key));
    requestWindow();
}

bool TrendWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == ui->dateLineEdit) {
            calendar()->setSelectedDate(QDate::fromString(ui->dateLineEdit->text(), kDateFormat));
            calendar()->exec();
        } else if (watched == m_chartView->viewport()) {
            const QPoint position = static_cast<QMouseEvent*>(event)->localPos().toPoint();
            chartPressed(m_chartView->viewport()->mapTo(m_chartView, position));
            // Qt 6.4's chart view reads the item under a press without asking
            // whether there is one: a press on no item goes no further.
            if (!m_chartView->itemAt(position))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TrendWindow::chartPressed(const QPoint& position)
{
    const int x = position.x();
    const int y = position.y();
    if (x < kStripLeft || x > kStripRight) {
        m_touchedSeries->setPointLabelsVisible(false);
        m_touchedSeries->clear();
    } else if (y >= kMaximumTop && y <= kMaximumBottom) {
        m_keypadRequest = m_requests.request(m_maximumId);
        emit showKeyboard(tr("Enter MAX"), m_keypadRequest);
    } else if (y >= kAutoScaleTop && y <= kAutoScaleBottom) {
        autoScaleY();
    } else if (y >= kMinimumTop && y <= kMinimumBottom) {
        m_keypadRequest = m_requests.request(m_minimumId);
        emit showKeyboard(tr("Enter MIN"), m_keypadRequest);
    }
}
