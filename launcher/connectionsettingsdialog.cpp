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
#include <QRegularExpression>

namespace {

QString nativeHome()
{
    return QDir::toNativeSeparators(QDir::homePath());
}

const QString kInvalidAddress = QStringLiteral("IP address is invalid");

/// Why address (already trimmed) is no plain IPv4 address, or an empty text.
/// The panel's connection reads forms such as "010.0.0.1" (octal) or
/// "3232235777" (one number) as other addresses than they seem, so only four
/// decimal numbers 0-255 without leading zeros are taken.
QString ipv4Problem(const QString& address)
{
    static const QRegularExpression dottedQuad(
        QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
    const QRegularExpressionMatch match = dottedQuad.match(address);
    if (!match.hasMatch())
        return kInvalidAddress + QStringLiteral(": enter four numbers from 0 to 255 separated by "
                                                "dots, for example 192.168.1.20");
    for (int part = 1; part <= 4; ++part) {
        const QString number = match.captured(part);
        if (number.size() > 1 && number.startsWith(QLatin1Char('0')))
            return kInvalidAddress + QStringLiteral(": write %1 without leading zeros").arg(number);
        if (number.toInt() > 255)
            return kInvalidAddress + QStringLiteral(": %1 is more than 255").arg(number);
    }
    return QString();
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
            ui->lineAddress->text().trimmed() + QLatin1Char(':') +
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

    const QString address = ui->lineAddress->text().trimmed();
    // The stored form is address + ":" + port and the panel takes the host
    // up to the first ":", so an IPv6 literal could never reach the analyzer.
    QHostAddress parsed;
    if (parsed.setAddress(address) && parsed.protocol() == QAbstractSocket::IPv6Protocol)
        return tr("IPv6 addresses are not supported, please enter an IPv4 address");
    const QString problem = ipv4Problem(address);
    if (!problem.isEmpty())
        return problem;

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
