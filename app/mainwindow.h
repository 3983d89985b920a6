// The panel's frame window: a fixed 640 x 480 window titled with the
// analyzer's host, hosting the controller.
#pragma once

#include <QMainWindow>

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

public slots:
    /// Returns after ms milliseconds, processing events meanwhile.
    void delay(int ms);

private:
    Ui::MainWindow* ui;
};
