// The launcher's entry: the window loads the connection list itself.
#include "launcher/mainwindow.h"
#include "widgets/language.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marlo Max Launcher"));
    QApplication::setOrganizationName(QStringLiteral("Orvalis"));
    // The launcher speaks the system's language; its choice of language is
    // for the panels it starts.
    const QString catalog = QStringLiteral("marlomax-launcher");
    setLanguage(catalog, systemLanguage(catalog));

    MainWindow window;
    window.show();
    return app.exec();
}
