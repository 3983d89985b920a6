// The on-screen numeric keypad page: the operator types a value for a setting
// here, and the controller decides what the text means once OK is pressed.
#pragma once

#include <QWidget>

namespace Ui {
class KeyboardWindow;
}
class QSignalMapper;

class KeyboardWindow : public QWidget
{
    Q_OBJECT

public:
    explicit KeyboardWindow(QWidget* parent = nullptr);
    ~KeyboardWindow() override;

signals:
    /// true for OK (button or return key), false for Cancel.
    void accepted(bool ok);

public slots:
    void setLabel(const QString& text);
    QString getLine();
    void clearLine();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void digit_Pressed(int key);
    void OK_Pressed();
    void Cancel_Pressed();
    void on_lineEdit_returnPressed();

private:
    Ui::KeyboardWindow* ui;
    QSignalMapper* m_mapper;
};
