// The message, progress and date popups as their owners use them: run
// modally and answered by a button, or asked to close by the operator.
#include "support/testsupport.h"
#include "widgets/calendardialog.h"
#include "widgets/messagebox.h"
#include "widgets/progressdialog.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class tst_Popups : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxButtons_data();
    void messageBoxButtons();
    void messageBoxAnswers_data();
    void messageBoxAnswers();
    void messageBoxScreenshot();
    void progressRefusesToClose_data();
    void progressRefusesToClose();
    void progressTextAndBar();
    void calendarDates();
    void calendarToday();
    void calendarButtons_data();
    void calendarButtons();
};

namespace {

// Runs dialog modally, pressing the named button once it is up.
int runAndPress(QDialog& dialog, const QString& buttonName)
{
    TestSupport::onNextModal([&dialog, buttonName](QWidget* modal) {
        if (modal != &dialog)
            return;
        if (auto* button = dialog.findChild<QPushButton*>(buttonName))
            QTest::mouseClick(button, Qt::LeftButton);
    });
    return dialog.exec();
}

} // namespace

void tst_Popups::messageBoxButtons_data()
{
    QTest::addColumn<bool>("showCancel");
    QTest::newRow("OK only") << false;
    QTest::newRow("OK and Cancel") << true;
}

void tst_Popups::messageBoxButtons()
{
    QFETCH(bool, showCancel);
    MessageBox box(nullptr, showCancel);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.findChild<QPushButton*>(QStringLiteral("okButton"))->isVisible());
    QCOMPARE(box.findChild<QPushButton*>(QStringLiteral("cancelButton"))->isVisible(), showCancel);
}

void tst_Popups::messageBoxAnswers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("OK accepts") << "okButton" << int(QDialog::Accepted);
    QTest::newRow("Cancel rejects") << "cancelButton" << int(QDialog::Rejected);
}

void tst_Popups::messageBoxAnswers()
{
    QFETCH(QString, button);
    QFETCH(int, result);
    MessageBox box(nullptr, true);
    box.setWindowTitle(QStringLiteral("Upload"));
    box.setText(QStringLiteral("Replace the analyzer's settings?"));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("textLabel"))->text(),
             QStringLiteral("Replace the analyzer's settings?"));
    QCOMPARE(runAndPress(box, button), result);
}

void tst_Popups::messageBoxScreenshot()
{
    MessageBox box(nullptr, true);
    box.setText(QStringLiteral("The connection to the analyzer was lost."));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(QFileInfo::exists(TestSupport::saveScreenshot(&box, QStringLiteral("messagebox"))));
}

void tst_Popups::progressRefusesToClose_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("window close button") << false;
    QTest::newRow("escape key") << true;
}

void tst_Popups::progressRefusesToClose()
{
    QFETCH(bool, byEscape);
    ProgressDialog progress;
    QSignalSpy closed(&progress, &ProgressDialog::closed);
    QSignalSpy finished(&progress, &QDialog::finished);
    progress.show();
    QVERIFY(QTest::qWaitForWindowExposed(&progress));

    if (byEscape)
        QTest::keyClick(&progress, Qt::Key_Escape);
    else
        QVERIFY(!progress.close());
    QCOMPARE(closed.count(), 1);
    QVERIFY(progress.isVisible());
    QCOMPARE(finished.count(), 0);
}

void tst_Popups::progressTextAndBar()
{
    ProgressDialog progress;
    progress.setText(QStringLiteral("Copying trend data"));
    QCOMPARE(progress.findChild<QLabel*>(QStringLiteral("_text_label"))->text(),
             QStringLiteral("Copying trend data"));
    QCOMPARE(progress.progressBar(),
             progress.findChild<QProgressBar*>(QStringLiteral("_progress_bar")));
}

void tst_Popups::calendarDates()
{
    CalendarDialog dialog;
    auto* calendar = dialog.findChild<QCalendarWidget*>();
    QVERIFY(calendar);
    QVERIFY(dialog.findChild<QWidget*>(QStringLiteral("widget"))->isAncestorOf(calendar));

    dialog.setSelectedDate(QDate(2024, 2, 29));
    QCOMPARE(dialog.selectedDateText(), QStringLiteral("2024-02-29"));
    // The operator's pick is what is read back.
    calendar->setSelectedDate(QDate(2023, 12, 1));
    QCOMPARE(dialog.selectedDateText(), QStringLiteral("2023-12-01"));
}

void tst_Popups::calendarToday()
{
    CalendarDialog dialog;
    auto* calendar = dialog.findChild<QCalendarWidget*>();
    dialog.setSelectedDate(QDate(2015, 6, 15));
    QCOMPARE(calendar->monthShown(), 6);

    dialog.selectToday();
    const QDate today = QDate::currentDate();
    QCOMPARE(dialog.selectedDateText(), today.toString(QStringLiteral("yyyy-MM-dd")));
    QCOMPARE(calendar->yearShown(), today.year());
    QCOMPARE(calendar->monthShown(), today.month());
}

void tst_Popups::calendarButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("OK accepts") << int(QDialogButtonBox::Ok) << int(QDialog::Accepted);
    QTest::newRow("Cancel rejects") << int(QDialogButtonBox::Cancel) << int(QDialog::Rejected);
}

void tst_Popups::calendarButtons()
{
    QFETCH(int, button);
    QFETCH(int, result);
    CalendarDialog dialog;
    auto* box = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    TestSupport::onNextModal([box, button](QWidget*) {
        QTest::mouseClick(box->button(QDialogButtonBox::StandardButton(button)), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), result);
}

QTEST_MAIN(tst_Popups)
#include "tst_popups.moc"
