#include "widgets/openfile.h"

#include "ui_openfile.h"
#include "widgets/fingerscroll.h"
#include "widgets/sharedicon.h"

OpenFile::OpenFile(QWidget* parent) : QDialog(parent), ui(new Ui::OpenFile)
{
    ui->setupUi(this);
    scrollWithFinger(ui->_file_list);
    ui->_up_button->setIcon(sharedIcon(QStringLiteral(":/images/Button_Arrow-U.png")));
    ui->_down_button->setIcon(sharedIcon(QStringLiteral(":/images/Button_Arrow-D.png")));
    ui->_ok_button->setIcon(sharedIcon(QStringLiteral(":/images/OK_c.png")));
    ui->_cancel_button->setIcon(sharedIcon(QStringLiteral(":/images/Cancel_c.png")));
    ui->_ok_button->setEnabled(false);
}

OpenFile::~OpenFile()
{
    delete ui;
}

void OpenFile::setDirectory(const QString& path, const QStringList& nameFilters)
{
    ui->_file_list->clear();
    ui->_ok_button->setEnabled(false);
    m_directory.setPath(path);
    // Files only: a folder picked here would be handed on as if it were a file.
    const QStringList names =
        m_directory.entryList(nameFilters, QDir::Files, QDir::Name | QDir::IgnoreCase);
    ui->_file_list->addItems(names);
    if (!names.isEmpty()) {
        ui->_ok_button->setEnabled(true);
        selectRow(0);
    }
}

QString OpenFile::selectedFile() const
{
    return m_selectedFile;
}

void OpenFile::on__ok_button_clicked()
{
    const QListWidgetItem* item = ui->_file_list->currentItem();
    if (!item)
        return;
    m_selectedFile = m_directory.path() + QLatin1Char('/') + item->text();
    accept();
}

void OpenFile::on__cancel_button_clicked()
{
    m_selectedFile.clear();
    reject();
}

void OpenFile::on__up_button_clicked()
{
    const int row = ui->_file_list->currentRow() - 1;
    if (row >= 0)
        selectRow(row);
}

void OpenFile::on__down_button_clicked()
{
    const int row = ui->_file_list->currentRow() + 1;
    if (row < ui->_file_list->count())
        selectRow(row);
}

void OpenFile::selectRow(int row)
{
    ui->_file_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}
