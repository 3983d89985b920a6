#include "widgets/messagebox.h"

#include "ui_messagebox.h"
#include "widgets/sharedicon.h"

MessageBox::MessageBox(QWidget* parent, bool showCancel) : QDialog(parent), ui(new Ui::MessageBox)
{
    ui->setupUi(this);
    ui->okButton->setIcon(sharedIcon(QStringLiteral(":/images/OK_c.png")));
    ui->cancelButton->setIcon(sharedIcon(QStringLiteral(":/images/Cancel_c.png")));
    if (!showCancel)
        ui->cancelButton->hide();
}

MessageBox::~MessageBox()
{
    delete ui;
}

void MessageBox::setText(const QString& text)
{
    ui->textLabel->setText(text);
}

void MessageBox::on_okButton_clicked()
{
    accept();
}

void MessageBox::on_cancelButton_clicked()
{
    reject();
}
