// The touch-friendly file chooser: the files of one folder that match the
// name filters, stepped through with big up and down buttons.
#pragma once

#include <QDialog>
#include <QDir>

namespace Ui {
class OpenFile;
}

class OpenFile : public QDialog
{
    Q_OBJECT

public:
    explicit OpenFile(QWidget* parent = nullptr);
    ~OpenFile() override;

    /// Lists the files of path that match nameFilters, sorted by name without
    /// regard to case; OK is enabled and the first row selected when any match.
    void setDirectory(const QString& path, const QStringList& nameFilters);
    /// Folder + "/" + the chosen name, or empty when nothing was chosen.
    QString selectedFile() const;

private slots:
    void on__ok_button_clicked();
    void on__cancel_button_clicked();
    void on__up_button_clicked();
    void on__down_button_clicked();

private:
    void selectRow(int row);

    Ui::OpenFile* ui;
    QDir m_directory;
    QString m_selectedFile;
};
