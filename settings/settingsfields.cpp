// The settings screen's fields, tab by tab: the replies that need more than a
// row of the table to show, and every edit the operator makes, sent as the
// analyzer's request. The frame, the row walk and the keypad are in
// settingswindow.cpp; the rows in settingsrows.cpp.
#include "analyzer/analyzerfacts.h"
#include "analyzer/response.h"
#include "base/globals.h"
#include "files/ibacklight.h"
#include "settings/gaspages.h"
#include "settings/settingswindow.h"
#include "ui_settingswindow.h"
#include "widgets/calendardialog.h"
#include "widgets/elidedlabel.h"
#include "widgets/messagebox.h"
#include "widgets/progressdialog.h"

#include <QApplication>
#include <QDebug>
#include <QMainWindow>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTimer>
#include <algorithm>
#include <utility>

using Analyzer::Response;

namespace {
constexpr int kMinimumDataFilter = 10;

/// Four decimal numbers from 0 to 255 between three dots ("192.168.1.5").
bool isDottedQuad(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int number = part.toInt(&ok);
        const bool digits = std::all_of(part.cbegin(), part.cend(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
        if (!ok || !digits || part.size() > 3 || number > 255)
            return false;
    }
    return true;
}
} // namespace

// ---------------------------------------------------------------------------
// Gas Type

void SettingsWindow::gasesReceived(const Response& response)
{
    QStringList gases;
    for (const QJsonValue& name : response.toArray())
        gases.append(name.toString());
    m_gasPages->setNames(gases);
}

void SettingsWindow::currentGasReceived(const Response& response)
{
    m_gasPages->setCurrent(response.toString());
}

void SettingsWindow::on_buttonNextGasPage_clicked()
{
    m_gasPages->showNext();
}

void SettingsWindow::gasClicked(int position)
{
    if (const std::optional<QString> gas = m_gasPages->nameAt(position))
        send(idOf("current_gas"), {*gas});
}

// ---------------------------------------------------------------------------
// Outputs

void SettingsWindow::sendBaudrate(QComboBox* combo, const QString& port, int index)
{
    if (index < 0)
        return;
    send(idOf(combo), {port, QString::number(combo->itemData(index).toInt())});
}

void SettingsWindow::usbBaudrateChanged(int index)
{
    sendBaudrate(ui->usbBaudrateComboBox, QStringLiteral("usb"), index);
}

void SettingsWindow::rs232BaudrateChanged(int index)
{
    sendBaudrate(ui->rs232BaudrateComboBox, QStringLiteral("rs232"), index);
}

void SettingsWindow::rs485BaudrateChanged(int index)
{
    sendBaudrate(ui->rs485BaudrateComboBox, QStringLiteral("rs485"), index);
}

void SettingsWindow::networkReceived(const Response& response)
{
    const QJsonArray address = response.toArray();
    if (m_networkEditing || address.size() < 4)
        return;
    ui->dhcpCheckBox->setChecked(address.at(0).toBool());
    ui->ipLineEdit->setText(address.at(1).toString());
    ui->subnetLineEdit->setText(address.at(2).toString());
    ui->gatewayLineEdit->setText(address.at(3).toString());
}

void SettingsWindow::addressEntered(QLineEdit* field, const Response& response)
{
    const QJsonArray entry = response.toArray();
    if (entry.isEmpty())
        return;
    // The keypad hands back a number when the entry has no three dots.
    const QJsonValue value = entry.at(0);
    field->setText(value.isString() ? value.toString()
                                    : QString::number(value.toDouble(), 'g', 15));
    m_networkEntryMade = true;
    sendNetworkSettings(ui->dhcpCheckBox->isChecked());
}

void SettingsWindow::sendNetworkSettings(bool dhcp)
{
    if (dhcp) {
        send(idOf(ui->dhcpCheckBox), {true});
        return;
    }
    // Fixed addresses that are not addresses (empty after a failed poll, or a
    // mistyped entry) would take the analyzer off the network.
    const QStringList addresses = {ui->ipLineEdit->text(), ui->subnetLineEdit->text(),
                                   ui->gatewayLineEdit->text()};
    for (const QString& address : addresses) {
        if (!isDottedQuad(address)) {
            qDebug() << "Network settings not sent, not an address:" << address;
            return;
        }
    }
    send(idOf(ui->dhcpCheckBox), {false, addresses.at(0), addresses.at(1), addresses.at(2)});
}

void SettingsWindow::dhcpClicked(bool checked)
{
    sendNetworkSettings(checked);
}

void SettingsWindow::editingDone()
{
    qDebug() << "Editing timer timed out!";
    m_networkEditing = false;
    // What the keypad handed back goes out once more; a cancelled entry never.
    if (std::exchange(m_networkEntryMade, false))
        sendNetworkSettings(ui->dhcpCheckBox->isChecked());
}

void SettingsWindow::keypadClosed()
{
    if (!std::exchange(m_networkKeypadOpen, false) || m_networkEntryMade)
        return;
    // Nothing came back: nothing to send, and the next poll shows the
    // analyzer's addresses again.
    m_editingTimer->stop();
    m_networkEditing = false;
}

void SettingsWindow::a420Edited()
{
    sendValueOf(ui->fourTwentyOutputLineEdit);
}

void SettingsWindow::alarm1RelayClicked(bool checked)
{
    send(idOf(ui->alarm1CheckBox), {checked});
}

void SettingsWindow::alarm2RelayClicked(bool checked)
{
    send(idOf(ui->alarm2CheckBox), {checked});
}

void SettingsWindow::alarmSysRelayClicked(bool checked)
{
    send(idOf(ui->alarmSysCheckBox), {checked});
}

void SettingsWindow::on_checkBoxFitEnable_clicked(bool checked)
{
    send(idOf(ui->checkBoxFitEnable), {checked});
}

// ---------------------------------------------------------------------------
// Schedule

void SettingsWindow::echoConcReceived(const Response& response)
{
    const QJsonArray flags = response.toArray();
    if (flags.size() < 2)
        return;
    ui->echoConcCheckBox->setChecked(flags.at(0).toBool());
    ui->prefixTimeCheckBox->setChecked(flags.at(1).toBool());
}

void SettingsWindow::echoConcChecked(bool checked)
{
    send(idOf(ui->echoConcCheckBox), {checked, ui->prefixTimeCheckBox->isChecked()});
}

void SettingsWindow::prefixTimeChecked(bool checked)
{
    send(idOf(ui->echoConcCheckBox), {ui->echoConcCheckBox->isChecked(), checked});
}

void SettingsWindow::allowAutoLaserOptClicked(bool checked)
{
    send(idOf(ui->allowAutoLaserOptCheckBox), {checked});
}

void SettingsWindow::optimizeNowClicked()
{
    send(idOf("opmode", SettingsRow::Schedule), {Analyzer::OptimizeLaserMode});
}

void SettingsWindow::tuneScheduleReceived(const Response& response)
{
    // The analyzer names the interval in lower case ("weekly"); any case will do.
    ui->scheduleComboBox->setCurrentIndex(
        ui->scheduleComboBox->findData(response.toString().toLower()));
}

void SettingsWindow::tuneScheduleEdited(int)
{
    const QString start = QStringLiteral("%1-%2-%3 %4:%5:00")
                              .arg(ui->yearSpinBox->value())
                              .arg(ui->monthSpinBox->value())
                              .arg(ui->daySpinBox->value())
                              .arg(ui->hourSpinBox->value(), 2, 10, QLatin1Char('0'))
                              .arg(ui->minuteSpinBox->value(), 2, 10, QLatin1Char('0'));
    send(idOf(ui->scheduleComboBox), {ui->scheduleComboBox->currentData().toString(), start});
}

void SettingsWindow::dateTimeReceived(const Response& response)
{
    const QString dateTime = response.toString();
    ui->dateLineEdit->setText(dateTime.left(10));
    ui->timeLineEdit->setText(dateTime.right(8));
}

void SettingsWindow::dateChanged()
{
    // The calendar may have been open while the analyzer left service mode.
    if (!ui->dateLineEdit->isEnabled()) {
        qDebug() << "Date edit dropped: the analyzer left service mode before it was sent";
        return;
    }
    send(idOf("date_time"),
         {calendar()->selectedDateText() + QLatin1Char(' ') + ui->timeLineEdit->text()});
}

void SettingsWindow::dateRejected()
{
    calendar()->selectToday();
}

// ---------------------------------------------------------------------------
// Settings

void SettingsWindow::apcUsedReceived(const Response& response)
{
    const bool used = response.toBool();
    for (QWidget* widget :
         QList<QWidget*>{ui->pressureReadLabel, ui->pressureReadLineEdit, ui->apcSetLabel,
                         ui->apcSetLineEdit, ui->apcOpenCheckBox})
        widget->setVisible(used);
}

void SettingsWindow::reactorUsedReceived(const Response& response)
{
    m_reactorUsed = response.toBool();
    for (QWidget* widget :
         QList<QWidget*>{ui->reactorTempLabel, ui->reactorTempLineEdit, ui->reactorPressureLabel,
                         ui->reactorPressureLineEdit, ui->reactorHeaterEnabledCheckBox})
        widget->setVisible(m_reactorUsed);
}

void SettingsWindow::laserCurrentEdited()
{
    sendValueOf(ui->laserCurrentLineEdit);
}

void SettingsWindow::laserTempEdited()
{
    sendValueOf(ui->laserTempLineEdit);
}

void SettingsWindow::thresholdEdited()
{
    sendValueOf(ui->thresholdLineEdit);
}

void SettingsWindow::apcSetEdited()
{
    sendValueOf(ui->apcSetLineEdit);
}

void SettingsWindow::apcOpenClicked(bool checked)
{
    // The controller is opened by apc_open and given back control by
    // apc_controlling; both take true.
    Analyzer::Request request = m_requests.request(idOf(ui->apcOpenCheckBox));
    if (!checked)
        request.setMethod(QStringLiteral("apc_controlling"));
    request.setParams({true});
    emit jsonToSend(request);
}

void SettingsWindow::on_reactorHeaterEnabledCheckBox_clicked(bool checked)
{
    send(idOf(ui->reactorHeaterEnabledCheckBox), {checked});
}

void SettingsWindow::unitsReceived(const Response& response)
{
    const int index = ui->unitsComboBox->findData(response.toString());
    if (index >= 0)
        ui->unitsComboBox->setCurrentIndex(index);
}

void SettingsWindow::dewPointUsedReceived(const Response& response)
{
    auto* model = qobject_cast<QStandardItemModel*>(ui->unitsComboBox->model());
    for (int i = 0; i < ui->unitsComboBox->count(); ++i) {
        if (ui->unitsComboBox->itemData(i).toString().startsWith(QLatin1String("dewpoint")) &&
            model)
            model->item(i)->setEnabled(response.toBool());
    }
}

void SettingsWindow::unitsChanged(int index)
{
    if (index < 0)
        return;
    const QString unit = ui->unitsComboBox->itemData(index).toString();
    if (unit != QLatin1String("volume") && unit != QLatin1String("weight"))
        openKeypad(ui->unitsComboBox); // the sample gas pressure
    send(idOf(ui->unitsComboBox), {unit});
}

void SettingsWindow::backlightChanged(int value)
{
    m_backlight->setBrightness(value);
}

void SettingsWindow::dataFilterSliding(int value)
{
    ui->dataFilterLineEdit->setText(QString::number(value * 10));
}

void SettingsWindow::setDataFilterbyLine()
{
    m_dataFilterEditing = true;
    m_dataFilterTimer->start();
    ui->dataFilterSlider->setValue(ui->dataFilterLineEdit->text().toInt() / 10);
}

void SettingsWindow::dataEditingDone()
{
    m_dataFilterEditing = false;
    send(idOf(ui->dataFilterLineEdit),
         {std::max(ui->dataFilterLineEdit->text().toInt(), kMinimumDataFilter)});
}

void SettingsWindow::dataFilterReceived(const Response& response)
{
    if (m_dataFilterEditing)
        return;
    const int value = response.toInt();
    if (value < kMinimumDataFilter)
        return;
    const QSignalBlocker textBlocker(ui->dataFilterLineEdit);
    const QSignalBlocker sliderBlocker(ui->dataFilterSlider);
    ui->dataFilterLineEdit->setText(QString::number(value));
    ui->dataFilterSlider->setValue(value / 10);
}

void SettingsWindow::dynamicFilterEnabledReceived(const Response& response)
{
    const bool automatic = response.toBool();
    ui->dynamicFilterEnabledCheckBox->setChecked(automatic);
    if (ui->dynamicFilterEnabledCheckBox->isEnabled()) {
        ui->dataFilterLineEdit->setEnabled(!automatic);
        ui->dataFilterSlider->setEnabled(!automatic);
    }
}

void SettingsWindow::dynamicFilterUsedReceived(const Response& response)
{
    const int kind = response.isError() ? 1 : response.toInt();
    ui->dynamicFilterEnabledCheckBox->setText(kind == 2 ? tr("Speed+") : tr("Auto"));
    ui->dynamicFilterEnabledCheckBox->setVisible(kind == 1 || kind == 2);
}

void SettingsWindow::on_dynamicFilterEnabledCheckBox_clicked(bool checked)
{
    send(idOf(ui->dynamicFilterEnabledCheckBox), {checked});
}

// ---------------------------------------------------------------------------
// Service

void SettingsWindow::unitNameReceived(const Response& response)
{
    ui->unitNameLabel->setServerText(tr("Unit Name: "), response.toString());
    emit newTitleBarName(response.toString());
}

void SettingsWindow::unitTypeReceived(const Response& response)
{
    m_unitType = response.toInt();
    ui->label_7->setText(m_unitType == kLaserMonitorUnitType ? tr("Laser I (mA)")
                                                             : tr("Laser BFD (mV)"));
    ui->unitTypeLabel->setServerText(tr("Unit Type: "), QString::number(m_unitType));
}

void SettingsWindow::serialNumberReceived(const Response& response)
{
    // A serial number of a megabyte would stall the panel as a window title.
    const QString serial = capServerText(response.toString());
    ui->serialLabel->setServerText(tr("SN: "), response.toString());
    const QString host = connectionString().section(QLatin1Char(':'), 0, 0);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* frame = qobject_cast<QMainWindow*>(window)) {
            const QString title = tr("SN %1 @ %2").arg(serial, host);
            if (frame->windowTitle() != title)
                frame->setWindowTitle(title);
            break;
        }
    }
}

void SettingsWindow::versionReceived(const Response& response)
{
    ui->versionLabel->setServerText(tr("Version: "), response.toString());
    emit newTitleBarVersion(response.toString());
}

void SettingsWindow::showResult(const QString& title, const QString& text)
{
    MessageBox box(this, false);
    box.setWindowTitle(title);
    box.setText(text);
    box.exec();
}

// The transfers themselves, with their progress and result messages, are the
// file manager's.
void SettingsWindow::downloadSettingsClicked()
{
    emit startDownload(FileManager::SettingsFile, false);
}

void SettingsWindow::uploadSettingsClicked()
{
    emit uploadFile(FileManager::SettingsFile);
}

void SettingsWindow::transferTrendClicked()
{
    emit startDownload(FileManager::TrendFile, false);
}

void SettingsWindow::transferScansClicked()
{
    emit startDownload(FileManager::ScansFile, false);
}

void SettingsWindow::transferLogClicked()
{
    emit startDownload(FileManager::LogFile, false);
}

void SettingsWindow::transferSRDAClicked()
{
    emit startDownload(FileManager::SrdaFile, false);
}

void SettingsWindow::defaultSettingsClicked()
{
    MessageBox box(this, true);
    box.setWindowTitle(tr("Warning"));
    box.setText(tr("Restoring settings can erase the current analyzer settings.\nOK to proceed?"));
    if (box.exec() == QDialog::Accepted)
        send(idOf(ui->defaultSettingsPushButton), {});
}

void SettingsWindow::restoreReceived(const Response& response)
{
    showResult(QString(),
               response.isError() ? tr("Error restoring settings") : tr("Settings restored"));
}

void SettingsWindow::finalizeSettingsClicked()
{
    send(idOf(ui->finalizeSettingsPushButton), {});
}

void SettingsWindow::finalizeReceived(const Response& response)
{
    showResult(QString(),
               response.isError() ? tr("Error finalizing settings") : tr("Settings finalized"));
}

void SettingsWindow::offPeakClicked()
{
    send(idOf("opmode", SettingsRow::Schedule), {Analyzer::OffPeakMode});
}

void SettingsWindow::on_buttonCertificationScan_clicked()
{
    emit goToWindow(CERTIFICATION);
}

void SettingsWindow::on_apcCalibrateButton_clicked()
{
    emit goToWindow(CALIBRATION);
}

// ---------------------------------------------------------------------------
// Factory

void SettingsWindow::vmodEdited()
{
    sendValueOf(ui->vmodLineEdit);
}

void SettingsWindow::vmodFactorEdited()
{
    sendValueOf(ui->vmodFactorLineEdit);
}

void SettingsWindow::vmodFrequencyEdited()
{
    sendValueOf(ui->vmodFreqLineEdit);
}

void SettingsWindow::simsEdited()
{
    sendValueOf(ui->simsLineEdit);
}

void SettingsWindow::detector1GainEdited()
{
    // Detector number 1, then the gain; the keypad path sends the gain alone.
    sendValueOf(ui->detector1GainLineEdit, {1});
}

void SettingsWindow::pztFrequencyEdited()
{
    sendValueOf(ui->pztFrequencyLineEdit);
}

void SettingsWindow::detector1FilterClicked(bool checked)
{
    send(idOf(ui->detector1FilterCheckBox), {1, checked});
}

void SettingsWindow::pztEnabledClicked(bool checked)
{
    send(idOf(ui->pztEnabledCheckBox), {checked});
}

void SettingsWindow::on_trackHoldEnableCheckbox_clicked(bool checked)
{
    send(idOf(ui->trackHoldEnableCheckbox), {checked});
}

void SettingsWindow::on_allowNegativeCheckBox_clicked(bool checked)
{
    send(idOf(ui->allowNegativeCheckBox), {checked});
}

void SettingsWindow::on_clearTrendButton_clicked()
{
    m_progress->progressBar()->setRange(0, 0);
    m_progress->setText(tr("Please wait"));
    m_progress->show();
    send(idOf(ui->clearTrendButton), {});
}

void SettingsWindow::clearTrendReceived(const Response& response)
{
    m_progress->hide();
    showResult(tr("Trend Data"),
               response.isError() ? tr("Error clearing trend data") : tr("Trend data cleared"));
}
