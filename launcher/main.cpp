// The launcher's entry: the window loads the connection list itself.
#include "base/language.h"
#include "launcher/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marlo Max Launcher"));
    QApplication::setOrganizationName(QStringLiteral("Orvalis"));
    // The launcher speaks the system's language; its choice of language is
    // for the panels it starts. Its catalogues live in its resources, which a
    // static library registers only when asked.
    Q_INIT_RESOURCE(marlomax_launcher);
    const QString catalog = QStringLiteral("marlomax-launcher");
    setLanguage(catalog, systemLanguage(catalog));

    MainWindow window;
    window.show();
    return app.exec();
}
