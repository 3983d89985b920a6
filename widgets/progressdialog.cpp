#include "widgets/progressdialog.h"

#include "ui_progressdialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent), ui(new Ui::ProgressDialog)
{
    ui->setupUi(this);
}

ProgressDialog::~ProgressDialog()
{
    delete ui;
}

void ProgressDialog::setText(const QString& text)
{
    ui->_text_label->setText(text);
}

QProgressBar* ProgressDialog::progressBar() const
{
    return ui->_progress_bar;
}

void ProgressDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit closed();
}

void ProgressDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape would otherwise hide the popup behind the owner's back while the
    // transfer goes on; treat it like the window's close button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        emit closed();
        return;
    }
    QDialog::keyPressEvent(event);
}
