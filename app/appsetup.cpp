#include "app/appsetup.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>

namespace {

void loadStyleSheet(QApplication& app)
{
    QFile file(QStringLiteral(":/styles/application.qss"));
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "Failed to load application style sheet";
        return;
    }
    // Latin-1 up to the first NUL byte, as the resource was always read.
    const QByteArray bytes = file.readAll();
    app.setStyleSheet(
        QString::fromLatin1(bytes.constData(), qstrnlen(bytes.constData(), bytes.size())));
}

} // namespace

void prepareEnvironment()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

void setUpApplication(QApplication& app)
{
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/marlomax.ico")));
    if (QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/DejaVuSans.ttf")) < 0)
        qDebug() << "Failed to load application font";
    loadStyleSheet(app);
}
