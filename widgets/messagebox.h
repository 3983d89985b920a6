// The panel's modal message popup: a message with an OK button and, when the
// caller asks for it, a Cancel button, both big enough for a finger.
#pragma once

#include <QDialog>

namespace Ui {
class MessageBox;
}

class MessageBox : public QDialog
{
    Q_OBJECT

public:
    explicit MessageBox(QWidget* parent = nullptr, bool showCancel = false);
    ~MessageBox() override;

    void setText(const QString& text);

private slots:
    void on_okButton_clicked();
    void on_cancelButton_clicked();

private:
    Ui::MessageBox* ui;
};
