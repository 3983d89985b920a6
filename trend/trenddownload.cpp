#include "trend/trenddownload.h"

#include "analyzer/analyzerfacts.h"
#include "analyzer/response.h"
#include "base/globals.h"
#include "files/storage.h"
#include "ui_trenddownload.h"

namespace {
enum Period
{
    All = 0,
    Day = 1,
    Week = 2,
    Month = 3
};
constexpr int kStorageCheckMs = 1000;
} // namespace

TrendDownload::TrendDownload(QWidget* parent) : QWidget(parent), ui(new Ui::TrendDownload)
{
    ui->setupUi(this);
    m_periods.setExclusive(true);
    m_periods.addButton(ui->radioButtonAll, All);
    m_periods.addButton(ui->radioButtonDay, Day);
    m_periods.addButton(ui->radioButtonWeek, Week);
    m_periods.addButton(ui->radioButtonMonth, Month);
    ui->radioButtonAll->setChecked(true);
    // Until the analyzer has said it is in service mode, nothing is exported.
    configureForServiceMode(false);
    connect(ui->pushButtonClose, &QPushButton::clicked, this, &TrendDownload::closeClicked);
    connect(ui->pushButtonDownload, &QPushButton::clicked, this, &TrendDownload::downloadClicked);
    m_storageTimer.setObjectName(QStringLiteral("storageTimer"));
    m_storageTimer.setInterval(kStorageCheckMs);
    connect(&m_storageTimer, &QTimer::timeout, this, &TrendDownload::checkFileSystem);
    m_storageTimer.start();
}

TrendDownload::~TrendDownload()
{
    delete ui;
}

void TrendDownload::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    m_opmodeId =
        m_requests.addValue(QStringLiteral("opmode"), this, &TrendDownload::opmodeReceived);
    m_unitsId = m_requests.addValue(QStringLiteral("units"), this, &TrendDownload::unitsReceived);
}

QJsonArray TrendDownload::updateRequests()
{
    return m_requests.pollRequests();
}

void TrendDownload::handleResponse(const Analyzer::Response& response)
{
    m_requests.dispatch(response);
}

void TrendDownload::opmodeReceived(const Analyzer::Response& response)
{
    configureForServiceMode(response.toInt() == Analyzer::ServiceMode);
}

void TrendDownload::unitsReceived(const Analyzer::Response& response)
{
    // dumptrend needs a unit: a result that is no text keeps the last one.
    const QString units = response.toString();
    if (!units.isEmpty())
        m_units = units;
}

void TrendDownload::configureForServiceMode(bool serviceMode)
{
    ui->downloadInServiceModeLabel->setVisible(!serviceMode);
    ui->pushButtonDownload->setEnabled(serviceMode);
}

QDateTime TrendDownload::periodStart(const QDateTime& now) const
{
    switch (m_periods.checkedId()) {
    case Day:
        return now;
    case Week:
        return now.addDays(-7);
    case Month:
        return now.addDays(-31);
    default:
        return QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    }
}

void TrendDownload::closeClicked()
{
    emit goToWindow(TREND);
}

void TrendDownload::downloadClicked()
{
    emit downloadTrend(periodStart(QDateTime::currentDateTime()), m_units);
}

void TrendDownload::checkFileSystem()
{
    ui->label->setText(fileExists(devicePath()) ? tr("Ready to download")
                                                : tr("Configure storage"));
}
