#include "files/fakebacklight.h"

#include <QDebug>
#include <QtGlobal>

void FakeBacklight::setBrightness(int percent)
{
    m_level = qBound(0, percent, 100);
    qDebug() << "Current brightness level" << m_level;
}
