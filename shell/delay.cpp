#include "shell/delay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

void processEventsFor(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        const int slice = static_cast<int>(qMin<qint64>(100, deadline.remainingTime()));
        QCoreApplication::processEvents(QEventLoop::AllEvents, qMax(slice, 1));
    }
}
