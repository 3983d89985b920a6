// The form for one connection: nickname, analyzer address and channel, and
// the storage folder. OK only closes the form once the fields make sense.
#pragma once

#include "launcher/connectionentry.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ConnectionSettingsDialog;
}

class ConnectionSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    /// A null entry means a new connection.
    ConnectionSettingsDialog(QWidget* parent, const ConnectionEntry* entry);
    ~ConnectionSettingsDialog() override;

    void setStorageLocation(const QString& folder);
    /// The connection as the fields describe it now.
    ConnectionEntry entry() const;

    /// Keeps the form open, with a message, while a field is unusable.
    void done(int result) override;

private slots:
    void on_buttonBrowse_clicked();

private:
    /// The message for the first unusable field, or an empty text.
    QString validationError() const;

    std::unique_ptr<Ui::ConnectionSettingsDialog> ui;
};
