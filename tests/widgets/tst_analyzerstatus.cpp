// The status badge's logic: the four NE 107 classes checked in their order,
// what the badge draws for each, and the journal entries a change of link,
// mode or alarm leaves.
#include "widgets/analyzerstatus.h"
#include "widgets/eventjournal.h"
#include "widgets/statusbadge.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList described(const QList<JournalEvent>& events)
{
    QStringList list;
    for (auto it = events.crbegin(); it != events.crend(); ++it)
        list << JournalEvent::kindKey(it->kind) + QLatin1Char(' ') + it->subject +
                    QLatin1Char(' ') + it->action + QLatin1Char(' ') + it->oldValue +
                    QLatin1Char('>') + it->newValue;
    return list;
}
} // namespace

class tst_AnalyzerStatus : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void badgeShowsTheClass();
    void changesGoToTheJournal();
};

void tst_AnalyzerStatus::classify_data()
{
    QTest::addColumn<bool>("linkUp");
    QTest::addColumn<int>("mode");
    QTest::addColumn<AlarmFlags>("alarms");
    QTest::addColumn<AnalyzerStatus::Class>("expected");
    const AlarmFlags none;
    QTest::newRow("measuring, quiet") << true << 8 << none << AnalyzerStatus::Normal;
    QTest::newRow("link lost") << false << 8 << none << AnalyzerStatus::Failure;
    // Each system alarm is a failure, whatever the mode; the concentration
    // warning is not.
    for (const AlarmInfo& info : alarmTable()) {
        const bool system =
            info.flag != AlarmFlag::ConcWarning && info.flag != AlarmFlag::UserAlarm1 &&
            info.flag != AlarmFlag::UserAlarm2 && info.flag != AlarmFlag::CertificateExpired;
        const bool outOfSpec = info.flag == AlarmFlag::ConcWarning ||
                               info.flag == AlarmFlag::UserAlarm1 ||
                               info.flag == AlarmFlag::UserAlarm2;
        QTest::addRow("%s in service mode", info.method)
            << true << 2 << AlarmFlags(info.flag)
            << (system ? AnalyzerStatus::Failure : AnalyzerStatus::Maintenance);
        QTest::addRow("%s measuring", info.method)
            << true << 8 << AlarmFlags(info.flag)
            << (system      ? AnalyzerStatus::Failure
                : outOfSpec ? AnalyzerStatus::OutOfLimits
                            : AnalyzerStatus::Normal);
    }
    QTest::newRow("service mode") << true << 2 << none << AnalyzerStatus::Maintenance;
    QTest::newRow("no mode known yet")
        << true << AnalyzerStatus::kUnknownMode << none << AnalyzerStatus::Maintenance;
    QTest::newRow("link lost beats a user alarm in service mode")
        << false << 2 << AlarmFlags(AlarmFlag::UserAlarm1) << AnalyzerStatus::Failure;
}

void tst_AnalyzerStatus::classify()
{
    QFETCH(bool, linkUp);
    QFETCH(int, mode);
    QFETCH(AlarmFlags, alarms);
    QFETCH(AnalyzerStatus::Class, expected);
    QCOMPARE(AnalyzerStatus::classify(linkUp, mode, alarms), expected);
}

void tst_AnalyzerStatus::badgeShowsTheClass()
{
    StatusBadge badge;
    badge.resize(badge.sizeHint());
    QSet<QRgb> colours;
    for (AnalyzerStatus::Class c : {AnalyzerStatus::Failure, AnalyzerStatus::Maintenance,
                                    AnalyzerStatus::OutOfLimits, AnalyzerStatus::Normal}) {
        badge.setStatusClass(c);
        badge.resize(badge.sizeHint());
        QCOMPARE(badge.text(), StatusBadge::classText(c));
        // Its words fit, and its pill is drawn in the class's colour.
        QVERIFY(badge.fontMetrics().horizontalAdvance(badge.text()) < badge.width());
        const QImage image = badge.grab().toImage();
        QCOMPARE(image.pixelColor(6, image.height() / 2), StatusBadge::classColour(c));
        colours.insert(StatusBadge::classColour(c).rgb());
    }
    QCOMPARE(colours.size(), 4);
}

void tst_AnalyzerStatus::changesGoToTheJournal()
{
    QTemporaryDir dir;
    EventJournal journal(dir.filePath(QStringLiteral("journal.db")));
    EventJournal::setCurrent(&journal);
    AnalyzerStatus status;
    QSignalSpy changed(&status, &AnalyzerStatus::changed);

    // The first report of the link is where the panel starts: no entry.
    status.setLink(true, QStringLiteral("127.0.0.1:5000"));
    status.setMode(8);
    status.setAlarms(AlarmFlag::Laser | AlarmFlag::UserAlarm1);
    status.setAlarms(AlarmFlag::Laser | AlarmFlag::UserAlarm1); // no change, no entry
    status.setAlarms(AlarmFlag::UserAlarm1);
    status.setMode(2);
    status.setLink(false, QStringLiteral("127.0.0.1:5000"));
    status.setLink(true, QStringLiteral("127.0.0.1:5000"));
    QCOMPARE(described(journal.events({})),
             QStringList({"mode opmode changed >8", "alarm laser_alarm_active raised >",
                          "alarm user_alarm_1_active raised >",
                          "alarm laser_alarm_active cleared >", "mode opmode changed 8>2",
                          "link 127.0.0.1:5000 lost >", "link 127.0.0.1:5000 restored >"}));

    // Failure at start; then maintenance (no mode yet), normal, failure,
    // out of limits, maintenance, failure, maintenance.
    QList<AnalyzerStatus::Class> classes;
    for (const QList<QVariant>& signal : changed)
        classes << signal.at(0).value<AnalyzerStatus::Class>();
    QCOMPARE(classes,
             QList<AnalyzerStatus::Class>(
                 {AnalyzerStatus::Maintenance, AnalyzerStatus::Normal, AnalyzerStatus::Failure,
                  AnalyzerStatus::OutOfLimits, AnalyzerStatus::Maintenance,
                  AnalyzerStatus::Failure, AnalyzerStatus::Maintenance}));
    EventJournal::setCurrent(nullptr);
}

QTEST_MAIN(tst_AnalyzerStatus)
#include "tst_analyzerstatus.moc"
