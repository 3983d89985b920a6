#include "app/delay.h"

#include <QEventLoop>
#include <QTimer>

void processEventsFor(int ms)
{
    // A local event loop sleeps until the next event or the deadline instead of
    // spinning; events keep being handled meanwhile.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
