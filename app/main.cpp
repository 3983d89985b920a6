// The operator panel's entry: logging first, then the application, its font
// and style sheet, the command line and the frame window.
#include "app/appsetup.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "base/messagehandler.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    qInstallMessageHandler(messageHandler);
    prepareEnvironment();
    QApplication app(argc, argv);
    setUpApplication(app);

    if (!parseCommandLine(QCoreApplication::arguments()))
        return 1;

    MainWindow window;
    window.show();
    return app.exec();
}
