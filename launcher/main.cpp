// The launcher's entry: the window loads the connection list itself.
#include "launcher/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marlo Max Launcher"));
    QApplication::setOrganizationName(QStringLiteral("Orvalis"));

    MainWindow window;
    window.show();
    return app.exec();
}
