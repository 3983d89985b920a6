// The short soak: a few cycles of the long one (bench/soak), enough to go
// once round the page tour and through every fault of the simulator. Memory
// is the long soak's to measure.
#include "soak.h"
#include "support/testsupport.h"

#include <QtTest>

class tst_Soak : public QObject
{
    Q_OBJECT

private slots:
    void cyclesOfKillAndRestart();

private:
    TestSupport::IsolatedHome m_home;
};

void tst_Soak::cyclesOfKillAndRestart()
{
    Soak soak;
    QString error;
    QVERIFY2(soak.start(&error), qPrintable(error));
    // Once round the tour; the faults repeat with other periods, so every
    // page meets a different fault each time round.
    const int cycles = soak.pagesInTour() + 2;
    for (int i = 0; i < cycles; ++i)
        QVERIFY2(soak.cycle(i, &error),
                 qPrintable(QStringLiteral("cycle %1: %2").arg(i).arg(error)));
    QCOMPARE(soak.reconnects(), cycles);
    QVERIFY(soak.transfersStarted() > 0);
    qInfo("%d reconnects, %d of %d downloads complete and byte for byte the analyzer's",
          soak.reconnects(), soak.transfersChecked(), soak.transfersStarted());
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
