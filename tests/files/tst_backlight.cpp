// The display backlight: the PC stand-in only remembers the level; the panel's
// backlight maps it into the limits of the settings database and starts the
// backlight program (here the stand-in, which records its argument).
#include "files/fakebacklight.h"
#include "files/vireobacklight.h"
#include "support/testsupport.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

class tst_Backlight : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fakeClamps();
    void limits_data();
    void limits();
    void callsWhileRunningEndAtTheLast();

private:
    QString makeDatabase(const QStringList& statements);
    QStringList recorded() const;
    void waitForProgram(const VireoBacklight& backlight);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
};

void tst_Backlight::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("VIREO_BACKLIGHT_FILE", QFile::encodeName(m_dir->filePath("levels")));
    m_program = TestSupport::binDir() + "/backlight";
    QVERIFY(QFile::exists(m_program));
}

QString tst_Backlight::makeDatabase(const QStringList& statements)
{
    const QString path = m_dir->filePath("settings.db");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "setup");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec("CREATE TABLE other (x INTEGER)");
        for (const QString& statement : statements)
            query.exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase("setup");
    return path;
}

QStringList tst_Backlight::recorded() const
{
    QFile file(m_dir->filePath("levels"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

void tst_Backlight::waitForProgram(const VireoBacklight& backlight)
{
    QTRY_COMPARE(backlight.process().state(), QProcess::NotRunning);
}

void tst_Backlight::fakeClamps()
{
    FakeBacklight backlight;
    QCOMPARE(backlight.brightness(), 50);
    QTest::ignoreMessage(QtDebugMsg, "Current brightness level 0");
    backlight.setBrightness(-5);
    QCOMPARE(backlight.brightness(), 0);
    QTest::ignoreMessage(QtDebugMsg, "Current brightness level 100");
    backlight.setBrightness(150);
    QCOMPARE(backlight.brightness(), 100);
}

void tst_Backlight::limits_data()
{
    QTest::addColumn<QStringList>("statements"); // empty list and no file: no database at all
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("range");
    QTest::addColumn<QStringList>("sent"); // the start level 50, then 30, -5 and 150

    const QString table =
        "CREATE TABLE display_table (min_brightness INTEGER, max_brightness INTEGER)";
    QTest::newRow("limits 20 to 220")
        << QStringList{table, "INSERT INTO display_table VALUES (20, 220)"} << 20 << 200
        << QStringList{"120", "80", "20", "220"};
    QTest::newRow("no display_table")
        << QStringList{"-"} << 0 << 100 << QStringList{"50", "30", "0", "100"};
    QTest::newRow("empty display_table")
        << QStringList{table} << 0 << 0 << QStringList{"0", "0", "0", "0"};
    QTest::newRow("no database") << QStringList{} << 0 << 100
                                 << QStringList{"50", "30", "0", "100"};
}

void tst_Backlight::limits()
{
    QFETCH(QStringList, statements);
    QFETCH(int, minimum);
    QFETCH(int, range);
    QFETCH(QStringList, sent);

    const QString path =
        statements.isEmpty() ? m_dir->filePath("missing.db") : makeDatabase(statements);
    VireoBacklight backlight(path, m_program);
    QCOMPARE(backlight.minimum(), minimum);
    QCOMPARE(backlight.range(), range);
    QCOMPARE(backlight.brightness(), 50);
    for (int level : {30, -5, 150}) {
        waitForProgram(backlight);
        backlight.setBrightness(level);
    }
    waitForProgram(backlight);
    QCOMPARE(recorded(), sent);
    QCOMPARE(backlight.brightness(), 100);
    // Reading the limits never creates a settings database.
    QCOMPARE(QFile::exists(path), !statements.isEmpty());
}

void tst_Backlight::callsWhileRunningEndAtTheLast()
{
    const QString path =
        makeDatabase({"CREATE TABLE display_table (min_brightness INTEGER, max_brightness INTEGER)",
                      "INSERT INTO display_table VALUES (20, 220)"});
    VireoBacklight backlight(path, m_program); // starts the program with 120
    QVERIFY(backlight.process().state() != QProcess::NotRunning);
    // A slider drag: the steps made while the program runs wait, and only the
    // last is applied when it ends.
    for (int level : {60, 70, 80})
        backlight.setBrightness(level);
    QCOMPARE(backlight.brightness(), 50);
    QTRY_COMPARE(recorded(), (QStringList{"120", "180"}));
    waitForProgram(backlight);
    QCOMPARE(backlight.brightness(), 80);

    // A refresh re-applies the level within new limits: the one still waiting
    // for the program, when there is one.
    backlight.setBrightness(10);
    backlight.setBrightness(30);
    makeDatabase({"UPDATE display_table SET min_brightness = 0, max_brightness = 100"});
    backlight.refresh();
    QTRY_COMPARE(recorded(), (QStringList{"120", "180", "40", "30"}));
    waitForProgram(backlight);
    QCOMPARE(backlight.brightness(), 30);
}

QTEST_MAIN(tst_Backlight)
#include "tst_backlight.moc"
