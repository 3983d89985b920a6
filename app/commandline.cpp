#include "app/commandline.h"

#include "base/globals.h"

#include <QDebug>

bool parseCommandLine(const QStringList& arguments)
{
    if (arguments.size() != 4) {
        qDebug() << "expected four arguments";
        return false;
    }
    connectionString() = arguments.at(1) + QLatin1Char(':') + arguments.at(2);
    setStoragePath(arguments.at(3));
    setIsRemote(true);
    return true;
}
