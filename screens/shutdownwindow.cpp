#include "screens/shutdownwindow.h"

#include "analyzer/analyzerfacts.h"
#include "analyzer/response.h"
#include "ui_shutdownwindow.h"

#include <cmath>

namespace {
constexpr int kLastStep = 6;
const QString kBlank = QStringLiteral(" ");
} // namespace

ShutdownWindow::ShutdownWindow(QWidget* parent) : QWidget(parent), ui(new Ui::ShutdownWindow)
{
    ui->setupUi(this);
    ui->apcWidget->setVisible(false);
    // The form cannot hold a text of one blank; the steps start out as one.
    blankSteps();
    connect(ui->pushButtonClose, &QPushButton::clicked, this, &ShutdownWindow::closeClicked);
    connect(ui->pushButton, &QPushButton::clicked, this, &ShutdownWindow::nextClicked);
}

ShutdownWindow::~ShutdownWindow()
{
    delete ui;
}

void ShutdownWindow::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    m_opmodeId = m_requests.add(QStringLiteral("opmode"), {});
    m_requests.addValue(QStringLiteral("apc_used"), this, &ShutdownWindow::apcUsedReceived);
    m_requests.addValue(QStringLiteral("apc_pressure"), this, &ShutdownWindow::apcPressureReceived);
    m_apcOpenId = m_requests.add(QStringLiteral("apc_open"), {});
    m_requests.addFlag(QStringLiteral("reactor_used"), m_reactorUsed);
}

void ShutdownWindow::handleResponse(const Analyzer::Response& response)
{
    m_requests.dispatch(response);
}

void ShutdownWindow::apcUsedReceived(const Analyzer::Response& response)
{
    m_apcUsed = response.toBool();
    ui->apcWidget->setVisible(m_apcUsed);
}

void ShutdownWindow::apcPressureReceived(const Analyzer::Response& response)
{
    const double pressure = response.toDouble();
    ui->apcReadLineEdit->setText(std::isnan(pressure) ? QString()
                                                      : QString::number(pressure, 'f', 0));
}

void ShutdownWindow::sendCommand(int id, const QString& method, const QJsonValue& parameter)
{
    Analyzer::Request request = m_requests.request(id);
    request.setMethod(method);
    request.setParams({parameter});
    emit jsonToSend(request);
}

void ShutdownWindow::nextClicked()
{
    if (++m_step > kLastStep) {
        m_step = 1;
        return;
    }
    // Both properties are read at each press: a reply that arrives between
    // presses changes the steps still to come.
    const bool apc = m_apcUsed;
    switch (m_step) {
    case 2:
        sendCommand(m_opmodeId, QStringLiteral("opmode"), Analyzer::ServiceMode);
        ui->label_2->setText(
            apc ? tr("2. Purge the analyzer with an inert pressurized gas before proceeding (if "
                     "applicable).  Press the 'Next' button when ready to proceed.")
                : tr("2. Cap sample outlet, and press the 'Next' button."));
        break;
    case 3:
        if (apc) {
            sendCommand(m_apcOpenId, QStringLiteral("apc_open"), true);
            ui->label_3->setText(
                tr("3. Pressure controller is set to open. Turn off vacuum pump (if applicable), "
                   "cap the sample outlet with new VCR gasket and close the sample outlet valve "
                   "(if applicable).  Then press the 'Next' button."));
        } else {
            ui->label_3->setText(tr("3. Cap sample inlet, and press the 'Next' button."));
        }
        break;
    case 4:
        if (apc) {
            sendCommand(m_apcOpenId, QStringLiteral("apc_controlling"), true);
            ui->label_4->setText(
                tr("4. Pressure controller is set to controlling.  Close the valve at the sample "
                   "inlet (if applicable), quickly cap sample inlet with a new VCR gasket and "
                   "press the 'Next' button."));
        } else if (m_reactorUsed) {
            ui->label_4->setText(tr("4. Cap H2 supply inlet, and press the 'Next' button."));
        } else {
            ui->label_4->setText(tr("4. To shutdown press 'Next' once more."));
        }
        break;
    case 5:
        if (apc)
            ui->label_5->setText(tr("5. To shutdown press 'Next' once more."));
        else
            emit shutdownNow();
        break;
    default:
        emit shutdownNow();
        break;
    }
}

void ShutdownWindow::closeClicked()
{
    // What was already sent (service mode, the pressure controller's state)
    // stays; the operator starts again from the first step next time.
    m_step = 1;
    blankSteps();
    emit goToWindow(HOME);
}

void ShutdownWindow::blankSteps()
{
    for (QLabel* label : {ui->label_2, ui->label_3, ui->label_4, ui->label_5})
        label->setText(kBlank);
}
