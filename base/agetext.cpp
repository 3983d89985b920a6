#include "base/agetext.h"

#include <QCoreApplication>

QString ageText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    if (seconds < 60)
        return QCoreApplication::translate("Age", "%1 s ago").arg(seconds);
    if (seconds < 3600)
        return QCoreApplication::translate("Age", "%1 min ago").arg(seconds / 60);
    return QCoreApplication::translate("Age", "%1 h ago").arg(seconds / 3600);
}
