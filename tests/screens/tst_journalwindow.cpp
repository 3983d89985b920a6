// The journal page: its events newest first in the words of each kind,
// narrowed by kind and by days picked on the calendar, read a page at a time,
// and exported to CSV with exactly the rows it lists.
#include "analyzer/response.h"
#include "base/globals.h"
#include "files/filemanager.h"
#include "screens/homewindow.h"
#include "screens/journalmodel.h"
#include "screens/journalwindow.h"
#include "support/messageanswerer.h"
#include "support/testsupport.h"
#include "widgets/calendardialog.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTranslator>
#include <QtTest>

namespace {

/// A local time in the week of Monday 2024-05-06.
QDateTime weekday(int day, int hour = 12)
{
    return QDateTime(QDate(2024, 5, 6).addDays(day), QTime(hour, 0));
}

JournalEvent make(JournalEvent::Kind kind, const QString& subject, const QString& action,
                  const QDateTime& time, const QString& oldValue = {}, const QString& newValue = {})
{
    return JournalEvent(kind, subject, action, oldValue, newValue, time);
}

/// The time a row shows for weekday(day, hour): with its offset from UTC.
QString shown(int day, int hour = 12)
{
    return JournalEvent::timeText(weekday(day, hour)).replace('T', ' ');
}

/// What the page lists, row by row, as the operator reads it: the columns
/// shown, without the method where a row has none.
QStringList shownRows(QAbstractItemModel* model, const QTableView* view = nullptr)
{
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            const QString cell = model->index(row, column).data().toString();
            if ((!view || !view->isColumnHidden(column)) &&
                !(column == JournalModel::MethodColumn && cell.isEmpty()))
                cells << cell;
        }
        rows << cells.join(" | ");
    }
    return rows;
}

/// Parses CSV as written (quoted fields may hold commas and quotes).
QStringList csvRows(const QByteArray& csv)
{
    QStringList rows;
    const QString text = QString::fromUtf8(csv);
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text.at(i + 1) == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields << field;
            field.clear();
        } else if (c == '\n') {
            fields << field;
            rows << fields.join(" | ");
            fields.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

} // namespace

class tst_JournalWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void eventsInWords();
    void filterByKind();
    void daysPickedOnTheCalendar();
    void readAPageAtATime();
    void exportCarriesWhatIsShown();
    void withoutAJournal();
    void oneAnalyzerOrAll();
    void wordsFollowTheLanguageOnScreen();
    void nothingToExport();

private:
    QLineEdit* field(const char* name) { return m_page->findChild<QLineEdit*>(name); }
    QStringList rows()
    {
        return shownRows(m_page->model(), m_page->findChild<QTableView*>("journalView"));
    }
    /// Picks date on the calendar that a press on the field opens.
    void pick(const char* fieldName, const QDate& date);

    QTemporaryDir m_dir;
    std::unique_ptr<QTemporaryDir> m_storage;
    std::unique_ptr<EventJournal> m_journal;
    std::unique_ptr<JournalWindow> m_page;
};

void tst_JournalWindow::initTestCase()
{
    qRegisterMetaType<WindowType>();
}

void tst_JournalWindow::init()
{
    m_storage = std::make_unique<QTemporaryDir>();
    setStoragePath(m_storage->path());
    m_journal = std::make_unique<EventJournal>(
        m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + ".db"));
    const QList<JournalEvent> week = {
        make(JournalEvent::Link, "10.0.0.7:4000", "lost", weekday(-1, 22)),
        make(JournalEvent::Mode, "opmode", "changed", weekday(0, 8), "", "8"),
        make(JournalEvent::Alarm, "laser_alarm_active", "raised", weekday(0, 9)),
        make(JournalEvent::Setting, "laser_current", "sent", weekday(1), "95", "96.5"),
        make(JournalEvent::Mode, "opmode", "changed", weekday(2, 7), "8", "2"),
        make(JournalEvent::Procedure, "certification", "started", weekday(2, 8)),
        make(JournalEvent::Procedure, "certification", "ended", weekday(2, 20), "",
             "ERROR: Lost connection to analyzer"),
        make(JournalEvent::Alarm, "laser_alarm_active", "cleared", weekday(3)),
        make(JournalEvent::Transfer, "settings_SN_2024-05-10_120000.db", "failed", weekday(4), "",
             "Error mounting USB device, \"twice\""),
    };
    for (const JournalEvent& e : week)
        QVERIFY(m_journal->record(e));
    EventJournal::setCurrent(m_journal.get());
    m_page = std::make_unique<JournalWindow>(m_journal.get(), nullptr, nullptr);
    m_page->resize(636, 450);
}

void tst_JournalWindow::cleanup()
{
    m_page.reset();
    m_journal.reset();
    m_storage.reset();
}

void tst_JournalWindow::pick(const char* fieldName, const QDate& date)
{
    TestSupport::onNextModal([date](QWidget* modal) {
        modal->findChild<QCalendarWidget*>()->setSelectedDate(date);
        qobject_cast<QDialog*>(modal)->accept();
    });
    QTest::mouseClick(field(fieldName), Qt::LeftButton);
}

void tst_JournalWindow::eventsInWords()
{
    m_page->show();
    QCOMPARE(rows(),
             QStringList({
                 shown(4) + " | Transfer | settings_SN_2024-05-10_120000.db failed: "
                            "Error mounting USB device, \"twice\"",
                 shown(3) + " | Alarm | Laser Alarm cleared",
                 shown(2, 20) + " | Procedure | Certification scans ended: ERROR: Lost "
                                "connection to analyzer",
                 shown(2, 8) + " | Procedure | Certification scans started",
                 shown(2, 7) + " | Mode | Mode changed from MEASURE MODE to SERVICE MODE",
                 shown(1) + " | Setting | laser_current changed from 95 to 96.5 | laser_current",
                 shown(0, 9) + " | Alarm | Laser Alarm raised",
                 shown(0, 8) + " | Mode | Mode MEASURE MODE",
                 shown(-1, 22) + " | Link | Link to 10.0.0.7:4000 lost",
             }));
    // The range runs from the oldest event's day to today.
    QCOMPARE(field("fromDateLineEdit")->text(), QStringLiteral("2024-05-05"));
    QCOMPARE(field("toDateLineEdit")->text(), QDate::currentDate().toString("yyyy-MM-dd"));
    QCOMPARE(m_page->findChild<QLabel*>("countLabel")->text(), QStringLiteral("Events: 9"));
    TestSupport::saveScreenshot(m_page.get(), "journal-standalone");

    // An event recorded meanwhile is listed when the page is shown again.
    m_journal->record(make(JournalEvent::Link, "10.0.0.7:4000", "restored", {}));
    m_page->hide();
    m_page->show();
    QVERIFY(rows().first().endsWith("| Link | Link to 10.0.0.7:4000 restored"));
}

void tst_JournalWindow::filterByKind()
{
    auto* kinds = m_page->findChild<QComboBox*>("kindComboBox");
    QCOMPARE(kinds->count(), 8);
    // The filter takes the kind's key from the item, never its words.
    const int alarms = kinds->findData("alarm");
    QVERIFY(alarms > 0);
    kinds->setItemText(alarms, "Alarmes");
    kinds->setCurrentIndex(alarms);
    emit kinds->activated(alarms);
    QCOMPARE(rows(), QStringList({shown(3) + " | Alarm | Laser Alarm cleared",
                                  shown(0, 9) + " | Alarm | Laser Alarm raised"}));
    QCOMPARE(m_page->findChild<QLabel*>("countLabel")->text(), QStringLiteral("Events: 2"));
    kinds->setCurrentIndex(0);
    emit kinds->activated(0);
    QCOMPARE(rows().size(), 9);
}

void tst_JournalWindow::daysPickedOnTheCalendar()
{
    m_page->show();
    // What happened between Monday and Wednesday.
    pick("fromDateLineEdit", QDate(2024, 5, 6));
    pick("toDateLineEdit", QDate(2024, 5, 8));
    QCOMPARE(field("fromDateLineEdit")->text(), QStringLiteral("2024-05-06"));
    QCOMPARE(field("toDateLineEdit")->text(), QStringLiteral("2024-05-08"));
    QStringList days;
    for (const QString& row : rows())
        days << row.left(10);
    QCOMPARE(days, QStringList({"2024-05-08", "2024-05-08", "2024-05-08", "2024-05-07",
                                "2024-05-06", "2024-05-06"}));
    // The picked range stays when the page is shown again.
    m_page->hide();
    m_page->show();
    QCOMPARE(rows().size(), 6);

    // A start after the end makes a range of the one day picked.
    pick("fromDateLineEdit", QDate(2024, 5, 9));
    QCOMPARE(field("toDateLineEdit")->text(), QStringLiteral("2024-05-09"));
    QCOMPARE(rows(), QStringList({shown(3) + " | Alarm | Laser Alarm cleared"}));

    // Cancelled: the range stays.
    TestSupport::acceptNextModal(false);
    QTest::mouseClick(field("toDateLineEdit"), Qt::LeftButton);
    QCOMPARE(field("toDateLineEdit")->text(), QStringLiteral("2024-05-09"));
}

void tst_JournalWindow::readAPageAtATime()
{
    for (int i = 0; i < 2 * JournalModel::kPageRows + 50; ++i)
        m_journal->record(make(JournalEvent::Setting, QStringLiteral("row_%1").arg(i), "sent",
                               weekday(5), "", QString::number(i)));
    m_page->show();
    JournalModel* model = m_page->model();
    QCOMPARE(model->rowCount(), JournalModel::kPageRows);
    QVERIFY(model->index(0, JournalModel::EventColumn)
                .data()
                .toString()
                .startsWith("row_449 set to 449"));
    // The whole list, and its export, hold every event.
    QCOMPARE(rows().size(), 2 * JournalModel::kPageRows + 50 + 9);
    QCOMPARE(csvRows(model->csv()).size(), 1 + 2 * JournalModel::kPageRows + 50 + 9);
}

void tst_JournalWindow::exportCarriesWhatIsShown()
{
    FileManager files;
    files.assignRequestIds(2);
    files.handleResponse(Analyzer::Response(TestSupport::replyJson(4, "VS-1048")));
    JournalWindow page(m_journal.get(), &files, nullptr);
    page.show();
    auto* kinds = page.findChild<QComboBox*>("kindComboBox");
    const int index = kinds->findData("transfer");
    kinds->setCurrentIndex(index);
    emit kinds->activated(index);

    TestSupport::MessageAnswerer answerer;
    answerer.start();
    QTest::mouseClick(page.findChild<QPushButton*>("pushButtonExport"), Qt::LeftButton);
    QTRY_COMPARE(answerer.messages, QStringList({"File copied successfully"}));
    const QStringList names = QDir(m_storage->path()).entryList(QDir::Files);
    QCOMPARE(names.size(), 1);
    QVERIFY2(QRegularExpression(R"(^journal_VS-1048_\d{4}-\d\d-\d\d_\d{6}\.csv$)")
                 .match(names.first())
                 .hasMatch(),
             qPrintable(names.first()));
    QFile file(m_storage->filePath(names.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The column titles, then the rows as listed, the quoted one whole.
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFTime,"));
    const QStringList exported = csvRows(bytes);
    // Fixed English titles behind the byte-order mark; the row's time with
    // its offset; an event from before the journal named analyzers says so.
    QCOMPARE(exported.first(), QStringLiteral("Time | Serial | Address | Kind | Event | "
                                              "Method | Active For (s)"));
    QCOMPARE(exported.mid(1),
             QStringList({JournalEvent::timeText(weekday(4)) +
                          " | unknown analyzer |  | Transfer | settings_SN_2024-05-10_120000.db "
                          "failed: Error mounting USB device, \"twice\" |  | "}));

    // The export is a transfer of its own, listed once the page is read again.
    page.hide();
    page.show();
    QVERIFY(shownRows(page.model()).first().contains(names.first() + ": File copied successfully"));

    // Without storage the operator is told, and nothing is written.
    setStoragePath(m_storage->filePath("gone"));
    QTest::mouseClick(page.findChild<QPushButton*>("pushButtonExport"), Qt::LeftButton);
    QTRY_COMPARE(answerer.messages.size(), 2);
    QCOMPARE(answerer.messages.last(), QStringLiteral("Error mounting USB device"));
    answerer.stop();
}

void tst_JournalWindow::withoutAJournal()
{
    JournalWindow page(nullptr, nullptr, nullptr);
    page.show();
    QCOMPARE(page.model()->rowCount(), 0);
    QVERIFY(!page.findChild<QPushButton*>("pushButtonExport")->isEnabled());
    QCOMPARE(page.findChild<QLabel*>("countLabel")->text(),
             QStringLiteral("The journal cannot be read"));
    QSignalSpy closed(&page, &JournalWindow::closed);
    QTest::mouseClick(page.findChild<QPushButton*>("pushButtonClose"), Qt::LeftButton);
    QCOMPARE(closed.size(), 1);
}

void tst_JournalWindow::oneAnalyzerOrAll()
{
    // Two analyzers one after the other, one journal file: each run names its own.
    const QString file = m_dir.filePath("two.db");
    {
        EventJournal first(file);
        first.beginSession("10.0.0.7:60003");
        first.setSerial("SN-A");
        first.record(make(JournalEvent::Alarm, "laser_alarm_active", "raised", {}));
        first.endSession();
    }
    EventJournal second(file);
    second.beginSession("10.0.0.8:60004");
    second.record(make(JournalEvent::Alarm, "user_alarm_1_active", "raised", {}));
    // The serial is read after the first events: they are this analyzer's too.
    second.setSerial("SN-B");
    FileManager files;
    files.assignRequestIds(2);
    files.handleResponse(Analyzer::Response(TestSupport::replyJson(4, "SN-B")));
    JournalWindow page(&second, &files, nullptr);
    page.show();
    auto* view = page.findChild<QTableView*>("journalView");
    auto* analyzers = page.findChild<QComboBox*>("analyzerComboBox");
    QCOMPARE(analyzers->currentText(), QStringLiteral("SN-B"));
    QVERIFY(view->isColumnHidden(JournalModel::AnalyzerColumn));
    const QStringList own = shownRows(page.model(), view);
    QVERIFY2(own.size() == 2, qPrintable(own.join('\n')));
    QVERIFY(own.at(0).endsWith("| Alarm | Conc Alarm 1 raised"));
    QVERIFY(own.at(1).endsWith("| Panel | Panel started"));

    // The export holds the rows listed, each with this analyzer's serial and address.
    TestSupport::MessageAnswerer answerer;
    answerer.start();
    QTest::mouseClick(page.findChild<QPushButton*>("pushButtonExport"), Qt::LeftButton);
    QTRY_COMPARE(answerer.messages, QStringList({"File copied successfully"}));
    answerer.stop();
    const QStringList names = QDir(m_storage->path()).entryList({"journal_SN-B_*.csv"});
    QCOMPARE(names.size(), 1);
    QFile csv(m_storage->filePath(names.first()));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList lines = csvRows(csv.readAll()).mid(1);
    QCOMPARE(lines.size(), 2);
    for (const QString& line : lines)
        QVERIFY2(line.section(" | ", 1, 2) == "SN-B | 10.0.0.8:60004", qPrintable(line));

    // All analyzers: both, with a column that says which.
    analyzers->setCurrentIndex(1);
    emit analyzers->activated(1);
    QVERIFY(!view->isColumnHidden(JournalModel::AnalyzerColumn));
    QStringList serials;
    for (int row = 0; row < page.model()->rowCount(); ++row)
        serials << page.model()->index(row, JournalModel::AnalyzerColumn).data().toString();
    serials.removeDuplicates();
    QCOMPARE(serials, QStringList({"SN-B", "SN-A"}));
    QCOMPARE(page.findChild<QLabel*>("countLabel")->text(), QStringLiteral("Events: 5"));
}

void tst_JournalWindow::wordsFollowTheLanguageOnScreen()
{
    // One event of every kind of words: a cleared alarm with how long it was
    // active, a mode, a setting, a transfer's result, a start after a crash.
    JournalEvent cleared = make(JournalEvent::Alarm, "laser_alarm_active", "cleared", weekday(3));
    cleared.since = weekday(3).addSecs(-3725);
    QVERIFY(m_journal->record(cleared));
    QVERIFY(m_journal->record(make(JournalEvent::Transfer, "chart.csv", "succeeded", weekday(4), "",
                                   "File copied successfully")));
    JournalEvent restarted = make(JournalEvent::Panel, "10.0.0.7:4000", "restarted", weekday(5));
    restarted.since = weekday(4, 13);
    QVERIFY(m_journal->record(restarted));
    m_page->show();
    const QStringList english = rows();
    const QByteArray englishCsv = m_page->model()->csv();
    QCOMPARE(english.mid(0, 3),
             QStringList({shown(5) +
                              " | Panel | Panel started; its last run ended without a "
                              "stop after " +
                              shown(4, 13),
                          shown(4) + " | Transfer | chart.csv: File copied successfully",
                          shown(3) + " | Alarm | Laser Alarm cleared, active for 1 h 02 min"}));

    QTranslator german;
    QVERIFY(german.load(QStringLiteral(":/i18n/marlomax_de.qm")));
    QCoreApplication::installTranslator(&german);
    m_page->refresh();
    const QStringList deutsch = rows();
    const QByteArray deutschCsv = m_page->model()->csv();
    const QString copied = QCoreApplication::translate("FileManager", "File copied successfully");
    QCoreApplication::removeTranslator(&german);
    // Every row in German, the same file byte for byte.
    QCOMPARE(deutsch.size(), english.size());
    for (int i = 0; i < english.size(); ++i)
        QVERIFY2(deutsch.at(i) != english.at(i), qPrintable(deutsch.at(i)));
    // The file manager's words too, kept as it said them.
    QVERIFY(copied != QLatin1String("File copied successfully"));
    QVERIFY(deutsch.at(1).endsWith(": " + copied));
    QCOMPARE(deutschCsv, englishCsv);
    QVERIFY(englishCsv.startsWith(
        "\xEF\xBB\xBFTime,Serial,Address,Kind,Event,Method,Active For (s)\n"));
    QVERIFY(englishCsv.contains(
        ",Alarm,\"Laser Alarm cleared, active for 1 h 02 min\",laser_alarm_active,3725\n"));
}

void tst_JournalWindow::nothingToExport()
{
    m_page->show();
    auto* kinds = m_page->findChild<QComboBox*>("kindComboBox");
    const int panel = kinds->findData("panel");
    kinds->setCurrentIndex(panel);
    emit kinds->activated(panel);
    QCOMPARE(m_page->model()->rowCount(), 0);
    TestSupport::MessageAnswerer answerer;
    answerer.start();
    QTest::mouseClick(m_page->findChild<QPushButton*>("pushButtonExport"), Qt::LeftButton);
    QTRY_COMPARE(answerer.messages, QStringList({"Nothing to export"}));
    answerer.stop();
    QCOMPARE(QDir(m_storage->path()).entryList(QDir::Files), QStringList());
    // No transfer was made, so none is journaled.
    QCOMPARE(m_journal->count({"transfer", {}, {}}), 1);
}

QTEST_MAIN(tst_JournalWindow)
#include "tst_journalwindow.moc"
