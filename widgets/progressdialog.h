// The progress popup of long file transfers. The operator cannot close it
// away: a close request is only reported, and the owner decides what it means
// and hides the popup itself.
#pragma once

#include <QDialog>

namespace Ui {
class ProgressDialog;
}
class QProgressBar;

class ProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressDialog(QWidget* parent = nullptr);
    ~ProgressDialog() override;

    void setText(const QString& text);
    /// The bar, for the owner to set range and value.
    QProgressBar* progressBar() const;

signals:
    /// The operator asked to close the popup; it is still open.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Ui::ProgressDialog* ui;
};
