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
#include <QtTest>

namespace {

/// A local time in the week of Monday 2024-05-06.
QDateTime weekday(int day, int hour = 12)
{
    return QDateTime(QDate(2024, 5, 6).addDays(day), QTime(hour, 0));
}

JournalEvent make(JournalEvent::Kind kind, const QString& subject, const QString& action,
                  const QDateTime& time, const QString& oldValue = {},
                  const QString& newValue = {})
{
    return JournalEvent(kind, subject, action, oldValue, newValue, time);
}

/// What the page lists, row by row, as the operator reads it.
QStringList shownRows(QAbstractItemModel* model)
{
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
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

private:
    QLineEdit* field(const char* name) { return m_page->findChild<QLineEdit*>(name); }
    QStringList rows() { return shownRows(m_page->model()); }
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
                 "2024-05-10 12:00:00 | Transfer | settings_SN_2024-05-10_120000.db failed: "
                 "Error mounting USB device, \"twice\"",
                 "2024-05-09 12:00:00 | Alarm | Laser Alarm cleared",
                 "2024-05-08 20:00:00 | Procedure | Certification scans ended: ERROR: Lost "
                 "connection to analyzer",
                 "2024-05-08 08:00:00 | Procedure | Certification scans started",
                 "2024-05-08 07:00:00 | Mode | Mode changed from MEASURE MODE to SERVICE MODE",
                 "2024-05-07 12:00:00 | Setting | laser_current changed from 95 to 96.5",
                 "2024-05-06 09:00:00 | Alarm | Laser Alarm raised",
                 "2024-05-06 08:00:00 | Mode | Mode MEASURE MODE",
                 "2024-05-05 22:00:00 | Link | Link to 10.0.0.7:4000 lost",
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
    QCOMPARE(kinds->count(), 7);
    // The filter takes the kind's key from the item, never its words.
    const int alarms = kinds->findData("alarm");
    QVERIFY(alarms > 0);
    kinds->setItemText(alarms, "Alarmes");
    kinds->setCurrentIndex(alarms);
    emit kinds->activated(alarms);
    QCOMPARE(rows(), QStringList({"2024-05-09 12:00:00 | Alarm | Laser Alarm cleared",
                                  "2024-05-06 09:00:00 | Alarm | Laser Alarm raised"}));
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
    QCOMPARE(rows(), QStringList({"2024-05-09 12:00:00 | Alarm | Laser Alarm cleared"}));

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
    QVERIFY(model->index(0, 2).data().toString().startsWith("row_449 set to 449"));
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
    const QStringList exported = csvRows(file.readAll());
    QCOMPARE(exported.first(), QStringLiteral("Time | Kind | Event"));
    QCOMPARE(exported.mid(1), shownRows(page.model()));
    QCOMPARE(exported.size(), 2);

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

QTEST_MAIN(tst_JournalWindow)
#include "tst_journalwindow.moc"
