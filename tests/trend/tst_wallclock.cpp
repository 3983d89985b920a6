// Wall-clock text and real instants across both daylight-saving changes of
// Europe/Berlin in 2024 (31 March: 02:00 -> 03:00; 27 October: 03:00 -> 02:00).
#include "support/testsupport.h"
#include "trend/wallclock.h"

#include <QtTest>

namespace {

QDateTime utc(const QString& text)
{
    QDateTime time = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    time.setTimeSpec(Qt::UTC);
    return time;
}

} // namespace

class tst_WallClock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void read_data();
    void read();
    void instantInTheGap();
    void rangeTexts_data();
    void rangeTexts();
};

void tst_WallClock::initTestCase()
{
    QCOMPARE(QDateTime(QDate(2024, 7, 1), QTime(12, 0)).offsetFromUtc(), 7200);
}

void tst_WallClock::read_data()
{
    QTest::addColumn<QStringList>("texts");    // one reply's samples, in order
    QTest::addColumn<QStringList>("instants"); // UTC; "fallback" for unreadable text

    QTest::newRow("winter") << QStringList{"2024-03-01 12:00:00"}
                            << QStringList{"2024-03-01 11:00:00"};
    QTest::newRow("summer") << QStringList{"2024-07-01 12:00:00"}
                            << QStringList{"2024-07-01 10:00:00"};
    QTest::newRow("around the spring gap")
        << QStringList{"2024-03-31 01:59:59", "2024-03-31 03:00:00"}
        << QStringList{"2024-03-31 00:59:59", "2024-03-31 01:00:00"};
    QTest::newRow("in the spring gap: the change itself")
        << QStringList{"2024-03-31 02:00:00", "2024-03-31 02:30:00", "2024-03-31 02:59:59"}
        << QStringList{"2024-03-31 01:00:00", "2024-03-31 01:00:00", "2024-03-31 01:00:00"};
    QTest::newRow("repeated hour alone: first pass")
        << QStringList{"2024-10-27 02:30:00"} << QStringList{"2024-10-27 00:30:00"};
    QTest::newRow("repeated hour in time order")
        << QStringList{"2024-10-27 01:59:59", "2024-10-27 02:59:59", "2024-10-27 02:00:00",
                       "2024-10-27 02:59:59", "2024-10-27 03:00:00"}
        << QStringList{"2024-10-26 23:59:59", "2024-10-27 00:59:59", "2024-10-27 01:00:00",
                       "2024-10-27 01:59:59", "2024-10-27 02:00:00"};
    QTest::newRow("repeated hour in text order")
        << QStringList{"2024-10-27 02:00:00", "2024-10-27 02:00:00", "2024-10-27 02:00:01",
                       "2024-10-27 02:00:01"}
        << QStringList{"2024-10-27 00:00:00", "2024-10-27 01:00:00", "2024-10-27 00:00:01",
                       "2024-10-27 01:00:01"};
    QTest::newRow("unreadable") << QStringList{"2024-02-30 12:00:00", "2024-03-01", "",
                                               "2024-03-01 24:00:00"}
                                << QStringList{"fallback", "fallback", "fallback", "fallback"};
}

void tst_WallClock::read()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, instants);

    constexpr qint64 kFallback = 42;
    Trend::WallClock clock;
    for (int i = 0; i < texts.size(); ++i) {
        const qint64 expected = instants.at(i) == QLatin1String("fallback")
                                    ? kFallback
                                    : utc(instants.at(i)).toMSecsSinceEpoch();
        QCOMPARE(clock.toMSecs(texts.at(i), kFallback), expected);
    }
}

void tst_WallClock::instantInTheGap()
{
    const QDateTime instant = Trend::WallClock::instant(QDate(2024, 3, 31), QTime(2, 30));
    QVERIFY(instant.isValid());
    QCOMPARE(instant.toUTC(), utc("2024-03-31 01:00:00"));
    QCOMPARE(Trend::WallClock::instant(QDate(2024, 10, 27), QTime(11, 30)).toUTC(),
             utc("2024-10-27 10:30:00"));
}

void tst_WallClock::rangeTexts_data()
{
    QTest::addColumn<QString>("start"); // UTC
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("startText");
    QTest::addColumn<QString>("endText");

    QTest::newRow("ordinary hour") << "2024-03-01 10:30:00"
                                   << "2024-03-01 11:30:00"
                                   << "2024-03-01 11:30:00"
                                   << "2024-03-01 12:30:00";
    QTest::newRow("hour across the spring change") << "2024-03-31 00:30:00"
                                                   << "2024-03-31 01:30:00"
                                                   << "2024-03-31 01:30:00"
                                                   << "2024-03-31 03:30:00";
    // 02:30 summer time to 02:30 winter time: the same text at both ends.
    QTest::newRow("hour across the autumn change") << "2024-10-27 00:30:00"
                                                   << "2024-10-27 01:30:00"
                                                   << "2024-10-27 02:00:00"
                                                   << "2024-10-27 02:59:59";
    QTest::newRow("the 25-hour autumn day") << "2024-10-26 22:00:00"
                                            << "2024-10-27 23:00:00"
                                            << "2024-10-27 00:00:00"
                                            << "2024-10-28 00:00:00";
    QTest::newRow("week across the autumn change") << "2024-10-23 22:00:00"
                                                   << "2024-10-30 23:00:00"
                                                   << "2024-10-24 00:00:00"
                                                   << "2024-10-31 00:00:00";
}

void tst_WallClock::rangeTexts()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, startText);
    QFETCH(QString, endText);

    const auto texts =
        Trend::WallClock::rangeTexts(utc(start).toLocalTime(), utc(end).toLocalTime());
    QCOMPARE(texts.first, startText);
    QCOMPARE(texts.second, endText);
    QVERIFY(texts.first < texts.second);
}

// The zone is the test's own, whatever the machine runs in.
MARLOMAX_TEST_MAIN_IN_ZONE(tst_WallClock, QCoreApplication, "Europe/Berlin")

#include "tst_wallclock.moc"
