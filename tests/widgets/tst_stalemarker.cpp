// Stale values: grey with their age while the link is down, before the first
// reply and once nothing has refreshed them for too long; live at once with
// the next refresh.
#include "support/testsupport.h"
#include "widgets/stalemarker.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

class tst_StaleMarker : public QObject
{
    Q_OBJECT

private slots:
    void ageText_data();
    void ageText();
    void staleUntilTheFirstReply();
    void staleWhenNotRefreshed();
    void staleAtOnceWhenTheLinkIsDown();
    void ageCountsWhileStale();

private:
    static bool grey(const QWidget& widget)
    {
        return widget.palette().color(QPalette::WindowText) == StaleMarker::staleColour() &&
               widget.palette().color(QPalette::Text) == StaleMarker::staleColour();
    }
};

void tst_StaleMarker::ageText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("just") << qint64(999) << "0 s ago";
    QTest::newRow("12 s") << qint64(12400) << "12 s ago";
    QTest::newRow("last second") << qint64(59999) << "59 s ago";
    QTest::newRow("a minute") << qint64(60000) << "1 min ago";
    QTest::newRow("last minute") << qint64(3599999) << "59 min ago";
    QTest::newRow("an hour") << qint64(3600000) << "1 h ago";
    QTest::newRow("two days") << qint64(2 * 86400000LL) << "48 h ago";
}

void tst_StaleMarker::ageText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(StaleMarker::ageText(ms), text);
}

void tst_StaleMarker::staleUntilTheFirstReply()
{
    StaleMarker marker;
    QLabel value(QStringLiteral("100.8"));
    QLabel age;
    marker.addWidget(&value);
    marker.setAgeLabel(&age);
    QVERIFY(marker.isStale());
    QVERIFY(grey(value));
    QCOMPARE(age.text(), QStringLiteral("no reply yet"));

    marker.markFresh();
    QVERIFY(!marker.isStale());
    QVERIFY(!grey(value));
    QCOMPARE(value.palette(), QWidget().palette()); // what it inherits again
    QCOMPARE(age.text(), QString());
}

void tst_StaleMarker::staleWhenNotRefreshed()
{
    StaleMarker marker;
    marker.setStaleAfter(300);
    QLabel value;
    marker.addWidget(&value);
    QSignalSpy changed(&marker, &StaleMarker::staleChanged);
    marker.markFresh();
    QElapsedTimer sinceFresh;
    sinceFresh.start();
    QTRY_VERIFY(marker.isStale());
    // Not before its time is up, and soon after.
    QVERIFY2(sinceFresh.elapsed() >= 300, qPrintable(QString::number(sinceFresh.elapsed())));
    QVERIFY(grey(value));
    QCOMPARE(changed.size(), 2); // live, then stale
    QCOMPARE(marker.ageText(), QStringLiteral("0 s ago"));

    // Refreshes in time keep it live: nothing changes over twice its time.
    marker.markFresh();
    QTimer refresh;
    connect(&refresh, &QTimer::timeout, &marker, &StaleMarker::markFresh);
    refresh.start(100);
    changed.clear();
    QVERIFY(!changed.wait(600));
    QVERIFY(!marker.isStale());
}

void tst_StaleMarker::staleAtOnceWhenTheLinkIsDown()
{
    StaleMarker marker;
    QLabel value;
    QLabel age;
    marker.addWidget(&value);
    marker.setAgeLabel(&age);
    marker.markFresh();
    marker.setLinkUp(false);
    QVERIFY(marker.isStale());
    QVERIFY(grey(value));
    QCOMPARE(age.text(), QStringLiteral("0 s ago"));
    // A restored link alone does not make an old value live; its next reply does.
    marker.setLinkUp(true);
    QVERIFY(marker.isStale());
    QVERIFY(grey(value));
    marker.markFresh();
    QVERIFY(!marker.isStale());
    QVERIFY(!grey(value));
}

void tst_StaleMarker::ageCountsWhileStale()
{
    StaleMarker marker;
    QLabel age;
    marker.setAgeLabel(&age);
    marker.markFresh();
    marker.setLinkUp(false);
    QCOMPARE(age.text(), QStringLiteral("0 s ago"));
    // The age must go up, by any whole number of seconds.
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::ageSeconds(age.text()) >= 1, 5000);
    const int first = TestSupport::ageSeconds(age.text());
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::ageSeconds(age.text()) > first, 5000);
}

QTEST_MAIN(tst_StaleMarker)
#include "tst_stalemarker.moc"
