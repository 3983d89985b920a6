#include "launcher/connectionsettingsdialog.h"

#include "launcher/channeltable.h"
#include "ui_connectionsettingsdialog.h"

#include <QAbstractSocket>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHostAddress>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString nativeHome()
{
    return QDir::toNativeSeparators(QDir::homePath());
}

} // namespace

ConnectionSettingsDialog::ConnectionSettingsDialog(QWidget* parent, const ConnectionEntry* entry)
    : QDialog(parent), ui(new Ui::ConnectionSettingsDialog)
{
    ui->setupUi(this);
    ui->comboChannel->addItems(channelItems());
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    if (!entry) {
        ui->lineStorage->setText(nativeHome());
        return;
    }
    ui->lineNickname->setText(entry->nickname);
    const int colon = entry->connectionString.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        ui->lineAddress->setText(QStringLiteral("UNKNOWN"));
        ui->comboChannel->setCurrentIndex(0);
    } else {
        ui->lineAddress->setText(entry->connectionString.left(colon));
        ui->comboChannel->setCurrentIndex(
            channelForPort(entry->connectionString.mid(colon + 1).toInt()));
    }
    ui->lineStorage->setText(entry->storageLocation);
}

ConnectionSettingsDialog::~ConnectionSettingsDialog() = default;

void ConnectionSettingsDialog::setStorageLocation(const QString& folder)
{
    ui->lineStorage->setText(folder);
}

ConnectionEntry ConnectionSettingsDialog::entry() const
{
    return {ui->lineNickname->text(),
            ui->lineAddress->text() + QLatin1Char(':') +
                QString::number(portForChannel(ui->comboChannel->currentIndex())),
            ui->lineStorage->text()};
}

void ConnectionSettingsDialog::done(int result)
{
    if (result == QDialog::Accepted) {
        const QString error = validationError();
        if (!error.isEmpty()) {
            QMessageBox::critical(this, windowTitle(), error);
            return;
        }
    }
    QDialog::done(result);
}

QString ConnectionSettingsDialog::validationError() const
{
    if (ui->lineNickname->text().isEmpty())
        return tr("Please specify a nickname");

    QHostAddress address;
    if (!address.setAddress(ui->lineAddress->text()))
        return tr("IP address is invalid");
    // The stored form is address + ":" + port and the panel takes the host
    // up to the first ":", so an IPv6 literal could never reach the analyzer.
    if (address.protocol() == QAbstractSocket::IPv6Protocol)
        return tr("IPv6 addresses are not supported, please enter an IPv4 address");

    const QString storage = ui->lineStorage->text();
    if (storage.isEmpty() || !QFileInfo(storage).isDir())
        return tr("Storage location does not exist");
    return QString();
}

void ConnectionSettingsDialog::on_buttonBrowse_clicked()
{
    const QString current = ui->lineStorage->text();
    const QString start = !current.isEmpty() && QFileInfo(current).isDir() ? current : nativeHome();
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("Select folder"), start,
                                                             QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return;
    ui->lineStorage->clear();
    ui->lineStorage->setText(QDir::toNativeSeparators(chosen));
}
