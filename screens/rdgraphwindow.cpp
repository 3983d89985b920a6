#include "screens/rdgraphwindow.h"

#include "analyzer/response.h"
#include "ui_rdgraphwindow.h"
#include "widgets/chartsfwd.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

namespace {
// The detector records a few samples before the laser is cut; they are no
// part of the decay.
constexpr int kPreTriggerSamples = 6;
constexpr int kNoRingDown = -1;
constexpr double kSampleAxisEnd = 625;
constexpr double kSignalAxisEnd = 2;
} // namespace

RDGraphWindow::RDGraphWindow(QWidget* parent) : QWidget(parent), ui(new Ui::RDGraphWindow)
{
    ui->setupUi(this);

    m_series = new QLineSeries(this);
    auto* chart = new QChart;
    chart->addSeries(m_series);
    auto* sampleAxis = new QValueAxis;
    sampleAxis->setRange(0, kSampleAxisEnd);
    sampleAxis->setLabelsVisible(false);
    auto* signalAxis = new QValueAxis;
    signalAxis->setRange(0, kSignalAxisEnd);
    chart->addAxis(sampleAxis, Qt::AlignBottom);
    chart->addAxis(signalAxis, Qt::AlignLeft);
    m_series->attachAxis(sampleAxis);
    m_series->attachAxis(signalAxis);
    chart->legend()->hide();
    chart->setTheme(QChart::ChartThemeBlueCerulean);
    // No shadow: it is drawn through a blurred copy of the whole chart that
    // the pixmap cache keeps.
    chart->setDropShadowEnabled(false);
    // The view hands back the empty chart the form made for it.
    QChart* formChart = ui->chartView->chart();
    ui->chartView->setChart(chart);
    delete formChart;
    ui->chartView->setRenderHint(QPainter::Antialiasing);
    // The handler repaints after each waveform; nothing else changes the view.
    ui->chartView->setViewportUpdateMode(QGraphicsView::NoViewportUpdate);

    connect(ui->pushButtonClose, &QPushButton::clicked, this, &RDGraphWindow::closeClicked);
}

RDGraphWindow::~RDGraphWindow()
{
    delete ui;
}

void RDGraphWindow::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    m_requests.addValue(QStringLiteral("last_ring_down"), this, &RDGraphWindow::ringDownReceived);
}

void RDGraphWindow::handleResponse(const Analyzer::Response& response)
{
    m_requests.dispatch(response);
}

void RDGraphWindow::ringDownReceived(const Analyzer::Response& response)
{
    const QJsonArray ringDown = response.toArray();
    if (ringDown.size() <= 3 || ringDown.at(1).toDouble() == kNoRingDown) {
        ui->labelRD->setText(QStringLiteral(" "));
    } else {
        ui->labelRD->setText(QString::number(ringDown.at(1).toDouble(), 'f', 2) +
                             QStringLiteral(" \u00B5s,  ") +
                             QString::number(ringDown.at(2).toDouble(), 'f', 2));
    }

    const QJsonArray samples = ringDown.at(3).toArray();
    if (samples.size() > kPreTriggerSamples) {
        m_points.clear();
        m_points.reserve(samples.size() - kPreTriggerSamples);
        for (int i = kPreTriggerSamples; i < samples.size(); ++i)
            m_points.append(QPointF(i, samples.at(i).toDouble()));
        m_series->replace(m_points);
    }
    ui->chartView->viewport()->update();
}

void RDGraphWindow::closeClicked()
{
    emit goToWindow(HOME);
}
