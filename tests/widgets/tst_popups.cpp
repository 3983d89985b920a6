// The message, progress and date popups as their owners use them: run
// modally and answered by a button, or asked to close by the operator.
#include "base/language.h"
#include "support/screencheck.h"
#include "support/testsupport.h"
#include "widgets/calendardialog.h"
#include "widgets/messagebox.h"
#include "widgets/progressdialog.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
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
    void germanPopupsShowWhole_data();
    void germanPopupsShowWhole();
    void germanCalendar();
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

void tst_Popups::germanPopupsShowWhole_data()
{
    // The longest German texts the panel puts in its popups.
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("progress");
    const std::tuple<const char*, const char*, bool> texts[] = {
        {"SettingsWindow",
         "Restoring settings can erase the current analyzer settings.\nOK to proceed?", false},
        {"SettingsWindow", "Error finalizing settings", false},
        {"SettingsWindow", "Error restoring settings", false},
        {"ScansWindow", "The analyzer is currently performing a scan.\nOK to proceed?", false},
        {"FileManager", "Error mounting USB device", false},
        {"FileManager", "Insufficient space available", false},
        {"FileManager", "Copying file, please wait...", true},
        {"FileManager", "Saving trend data...", true},
        {"TrendWindow", "MAX must be above MIN (%1).", false},
        {"VireoGUI", "Restored connection to %1", false},
    };
    for (const auto& [context, text, progress] : texts)
        QTest::newRow(text) << context << text << progress;
}

void tst_Popups::germanPopupsShowWhole()
{
    QFETCH(QString, context);
    QFETCH(QString, text);
    QFETCH(bool, progress);
    QVERIFY(setLanguage(QStringLiteral("marlomax"), QStringLiteral("de")));
    const auto english =
        qScopeGuard([] { setLanguage(QStringLiteral("marlomax"), QStringLiteral("en")); });
    QString shown = QCoreApplication::translate(qPrintable(context), qPrintable(text));
    QVERIFY(shown != text);
    shown = shown.arg(QStringLiteral("192.168.100.200:60004"));
    std::unique_ptr<QDialog> popup;
    if (progress) {
        auto* busy = new ProgressDialog;
        busy->setText(shown);
        popup.reset(busy);
    } else {
        auto* message = new MessageBox(nullptr, true);
        message->setText(shown);
        popup.reset(message);
    }
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup.get()));
    const QStringList cut = TestSupport::cutTexts(popup.get());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void tst_Popups::germanCalendar()
{
    // The date popup's buttons come from Qt's own catalogue, when Debian's is installed.
    QVERIFY(setLanguage(QStringLiteral("marlomax"), QStringLiteral("de")));
    const auto english =
        qScopeGuard([] { setLanguage(QStringLiteral("marlomax"), QStringLiteral("en")); });
    CalendarDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList cut = TestSupport::cutTexts(&dialog);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    // The calendar names its months in German; the date handed on stays ISO.
    auto* calendar = dialog.findChild<QCalendarWidget*>();
    QCOMPARE(calendar->locale().language(), QLocale::German);
    dialog.setSelectedDate(QDate(2024, 3, 5));
    QCOMPARE(dialog.selectedDateText(), QStringLiteral("2024-03-05"));
    auto* cancel = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
                       ->button(QDialogButtonBox::Cancel);
    if (cancel->text() == QLatin1String("Cancel"))
        QSKIP("Qt's German catalogue (qttranslations5-l10n) is not installed");
    QCOMPARE(cancel->text(), QStringLiteral("Abbrechen"));
}

QTEST_MAIN(tst_Popups)
#include "tst_popups.moc"
