// What the operator sees: the real panel against the simulator at 640 x 480,
// every page reached by pressing what is on view, and each one checked on the
// drawn window: no text cut by its widget, no widget outside the window or on
// top of another, and the mini plot, the trend chart and the ring-down trace
// drawn in their series' colours. CTest runs it three times: with the
// simulator's own texts; with MARLOMAX_LOOK_TEXTS=long, where the analyzer
// names a species of 300 characters, a serial number of 64 and a unit and gases
// of 20, which must elide with "…" and never push another widget aside; and in
// German (LANG=de_DE.UTF-8), where the panel's own texts are the long ones. The
// texts a test waits for are taken through the panel's translation, so every
// run looks for what its operator reads.
#include "app/appsetup.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/language.h"
#include "procedures/calibrationwindow.h"
#include "procedures/certificationwindow.h"
#include "screens/certificatewindow.h"
#include "screens/homewindow.h"
#include "screens/journalmodel.h"
#include "screens/journalwindow.h"
#include "screens/modewindow.h"
#include "screens/rdgraphwindow.h"
#include "screens/scanswindow.h"
#include "screens/shutdownwindow.h"
#include "settings/settingswindow.h"
#include "support/paneldriver.h"
#include "support/screencheck.h"
#include "support/testsupport.h"
#include "trend/remotehistory.h"
#include "trend/trenddownload.h"
#include "trend/trendwindow.h"
#include "widgets/chartsfwd.h"
#include "widgets/keyboardwindow.h"
#include "widgets/statusbadge.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QScatterSeries>
#include <QScroller>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>
#include <memory>

namespace {

// Enough drawn pixels to tell a plotted series from a stray point or two.
constexpr int kMinSeriesPixels = 200;
constexpr int kDataTimeoutMs = 10000;
const QChar kEllipsis(0x2026);

bool longTexts()
{
    return qgetenv("MARLOMAX_LOOK_TEXTS") == "long";
}

/// A text of the panel as the operator reads it in the language of this run.
QString shown(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

QString repeatedTo(const QString& piece, int length)
{
    return piece.repeated(length / piece.size() + 1).left(length);
}

const QString kLongSpecies = repeatedTo(QStringLiteral("H2O in the sample line "), 300);
const QString kLongSerial = repeatedTo(QStringLiteral("VS-10482-"), 64);
const QString kLongUnitName = QStringLiteral("VIREO H2O TRACE UNIT");
const QStringList kLongGases = {
    QStringLiteral("Nitrogen 5.0 carrier"), QStringLiteral("Argon 4.8 purge line"),
    QStringLiteral("Forming gas N2/H2 95"), QStringLiteral("Clean dry air CDA-40")};

QStringList simulatorArgs()
{
    QStringList args = {QStringLiteral("--backfill-days"), QStringLiteral("1"),
                        QStringLiteral("--seed"), QStringLiteral("7"),
                        QStringLiteral("--certificate-expired")};
    if (longTexts()) {
        args << QStringLiteral("--species") << kLongSpecies << QStringLiteral("--serial")
             << kLongSerial << QStringLiteral("--unit-name") << kLongUnitName;
        for (const QString& gas : kLongGases)
            args << QStringLiteral("--gas") << gas;
    }
    return args;
}

/// Screenshot names: the README's pictures come from the runs with the
/// simulator's own texts, in English and in German.
QString shot(const QString& name)
{
    if (longTexts())
        return QStringLiteral("look-long-") + name;
    if (currentLanguage() != QLatin1String("en"))
        return QStringLiteral("look-%1-").arg(currentLanguage()) + name;
    return QStringLiteral("look-") + name;
}

/// Whether the symbol is drawn at `at` in the image: every pixel the symbol
/// covers whole shows the symbol's colour there.
bool drawsSymbol(const QImage& image, const QPoint& at, const QPixmap& symbol)
{
    const QImage wanted = symbol.toImage().convertToFormat(QImage::Format_ARGB32);
    int compared = 0;
    for (int y = 0; y < wanted.height(); ++y) {
        for (int x = 0; x < wanted.width(); ++x) {
            const QColor want = wanted.pixelColor(x, y);
            if (want.alpha() < 255)
                continue;
            const QColor shown = image.pixelColor(at + QPoint(x, y));
            if (qAbs(shown.red() - want.red()) > 2 || qAbs(shown.green() - want.green()) > 2 ||
                qAbs(shown.blue() - want.blue()) > 2)
                return false;
            ++compared;
        }
    }
    return compared > wanted.width() * wanted.height() / 5;
}

/// How many pixels of the image show the colour, give or take a little.
int pixelsOf(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor shown = image.pixelColor(x, y);
            if (qAbs(shown.red() - colour.red()) + qAbs(shown.green() - colour.green()) +
                    qAbs(shown.blue() - colour.blue()) <=
                12)
                ++count;
        }
    }
    return count;
}

} // namespace

// The findings of one screen, all printed when there are any.
#define VERIFY_SOUND(name)                                                                         \
    do {                                                                                           \
        const QStringList findings = m_panel->look(shot(name));                                    \
        QVERIFY2(findings.isEmpty(),                                                               \
                 qPrintable(QLatin1Char('\n') + findings.join(QLatin1Char('\n'))));                \
    } while (false)

class tst_PanelLook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void valueAreaBeforeTheFirstReply();
    void badgeClasses_data();
    void badgeClasses();
    void verificationReminder();
    void homeAndDetails();
    void longServerTextsElide();
    void trendAndDownload();
    void ringDown();
    void modeAndScans();
    void settingsOutsideServiceMode();
    void shutdownSteps();
    void settingsTabs_data();
    void settingsTabs();
    void disabledGasButtonsLookDisabled();
    void keypadAndFactoryPages_data();
    void keypadAndFactoryPages();
    void calibration();
    void certification();
    void journalFromTheBadge();
    void keypadPromptsFit_data();
    void keypadPromptsFit();
    void listsScrollWithAFinger();

private:
    HomeWindow* home() const { return m_panel->gui()->findChild<HomeWindow*>(); }
    StatusBadge* badge() const
    {
        return m_panel->gui()->findChild<StatusBadge*>(QStringLiteral("statusBadge"));
    }
    QLabel* label(QWidget* page, const char* name) const
    {
        return page->findChild<QLabel*>(QLatin1String(name));
    }
    /// Back to the home screen by the close button of the page on view.
    bool goHome();

    /// The first gas button and its name as drawn outside service mode.
    QImage gasButtonImage() const;

    TestSupport::IsolatedHome m_isolatedHome;
    std::unique_ptr<PanelDriver> m_panel;
    QImage m_disabledGasButton;
};

void tst_PanelLook::initTestCase()
{
    // As the panel starts: its font, its style sheet, the language the system asks for.
    setUpApplication(*qApp);
    m_panel = std::make_unique<PanelDriver>(simulatorArgs());
    QString error;
    QVERIFY2(m_panel->start(&error), qPrintable(error));
    QCOMPARE(m_panel->window()->size(), QSize(640, 480));
    QCOMPARE(m_panel->currentPage(), home());
}

void tst_PanelLook::cleanupTestCase()
{
    m_panel.reset();
}

void tst_PanelLook::valueAreaBeforeTheFirstReply()
{
    // A home page that has read nothing yet, at the panel's page size: no
    // digits, no names, nothing that could pass for a reading.
    Trend::RemoteHistory history(nullptr);
    QWidget frame;
    frame.resize(home()->size());
    auto* page = new HomeWindow(&history, &frame);
    page->resize(frame.size());
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QString value = label(page, "concLabel")->text();
    QCOMPARE(value, HomeWindow::noValueText());
    QVERIFY2(!value.contains(QRegularExpression(QStringLiteral("\\d"))), qPrintable(value));
    QCOMPARE(label(page, "speciesLabel")->text(), QString());
    QCOMPARE(label(page, "gasLabel")->text(), QString());
    QVERIFY(!label(page, "label_4")->isVisible());
    // Nothing read is no measurement: the function check symbol stands by it.
    QVERIFY(!label(page, "concClassLabel")->pixmap(Qt::ReturnByValue).isNull());
    TestSupport::saveScreenshot(&frame, shot(QStringLiteral("home-before-reply")));
    const QStringList findings = TestSupport::screenFindings(&frame);
    QVERIFY2(findings.isEmpty(), qPrintable(QLatin1Char('\n') + findings.join(QLatin1Char('\n'))));
}

void tst_PanelLook::badgeClasses_data()
{
    QTest::addColumn<Analyzer::StatusClass>("statusClass");
    QTest::addColumn<QColor>("colour");
    // The NE 107 colours: failure red, function check orange, an uncertain
    // value yellow, maintenance blue; normal green.
    QTest::newRow("failure") << Analyzer::StatusClass::Failure << QColor(210, 35, 35);
    QTest::newRow("function-check") << Analyzer::StatusClass::FunctionCheck << QColor(240, 130, 0);
    QTest::newRow("uncertain") << Analyzer::StatusClass::Uncertain << QColor(250, 205, 20);
    QTest::newRow("maintenance-required")
        << Analyzer::StatusClass::MaintenanceRequired << QColor(0, 100, 190);
    QTest::newRow("normal") << Analyzer::StatusClass::Normal << QColor(40, 150, 70);
}

void tst_PanelLook::badgeClasses()
{
    QFETCH(Analyzer::StatusClass, statusClass);
    QFETCH(QColor, colour);
    // Shown as the state would show it (the poll is in the test's hands, so
    // nothing changes it back meanwhile).
    StatusBadge* shownBadge = badge();
    const Analyzer::StatusClass before = shownBadge->statusClass();
    shownBadge->setStatusClass(statusClass);
    QCoreApplication::processEvents();
    QCOMPARE(shownBadge->text(), Analyzer::statusClassName(statusClass));
    // A target for a gloved finger, whatever the language.
    QVERIFY2(shownBadge->height() >= StatusBadge::kMinHeight,
             qPrintable(QString::number(shownBadge->height())));
    const QPoint at = shownBadge->mapTo(m_panel->window(), QPoint());
    const QImage drawn = m_panel->window()->grab(QRect(at, shownBadge->size())).toImage();
    // Its own symbol, in its own colour, beside the words; no other class's.
    for (Analyzer::StatusClass other : Analyzer::statusClasses()) {
        const bool drawsIt = drawsSymbol(drawn, shownBadge->symbolRect().topLeft(),
                                         StatusBadge::classSymbol(other, StatusBadge::kSymbolSize));
        QVERIFY2(drawsIt == (other == statusClass), qPrintable(Analyzer::statusClassName(other)));
    }
    QVERIFY2(pixelsOf(drawn, colour) > 40, qPrintable(QString::number(pixelsOf(drawn, colour))));
    TestSupport::saveScreenshot(
        shownBadge, shot(QStringLiteral("badge-") + QLatin1String(QTest::currentDataTag())));
    // The whole title bar still fits, the longest class name included.
    VERIFY_SOUND(QStringLiteral("title-bar-") + QLatin1String(QTest::currentDataTag()));
    shownBadge->setStatusClass(before);
}

bool tst_PanelLook::goHome()
{
    if (m_panel->currentPage() != home())
        m_panel->press(QStringLiteral("pushButtonClose"));
    return m_panel->currentPage() == home();
}

void tst_PanelLook::verificationReminder()
{
    // Due at start: from its first full poll on, the home screen turns to its
    // details with the reminder in the alarm list.
    m_panel->tick();
    auto* alarms = home()->findChild<QListWidget*>(QStringLiteral("alarmsListWidget"));
    QTRY_VERIFY_WITH_TIMEOUT(
        !alarms->findItems(shown("AnalyzerFacts", "Perf. Verification"), Qt::MatchExactly)
             .isEmpty(),
        kDataTimeoutMs);
    VERIFY_SOUND("home-reminder-due");

    QVERIFY(m_panel->pressListItem(QStringLiteral("alarmsListWidget"),
                                   shown("AnalyzerFacts", "Perf. Verification")));
    QVERIFY(qobject_cast<CertificateWindow*>(m_panel->currentPage()));
    VERIFY_SOUND("reminder");

    QVERIFY(m_panel->press(QStringLiteral("pushButtonRemindMe")));
    QCOMPARE(m_panel->currentPage(), home());
    QTRY_COMPARE(m_panel->ask(QStringLiteral("calibration_certificate_expired")),
                 QJsonValue(false));
}

void tst_PanelLook::homeAndDetails()
{
    // The reminder put off, a later poll no longer holds the details page up
    // (the alarm list takes the flag of the poll before).
    auto* alarms = home()->findChild<QListWidget*>(QStringLiteral("alarmsListWidget"));
    QTRY_VERIFY((m_panel->tick(),
                 alarms->findItems(shown("AnalyzerFacts", "Perf. Verification"), Qt::MatchExactly)
                     .isEmpty()));
    auto* stack = home()->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    QCOMPARE(stack->currentIndex(), 0);
    VERIFY_SOUND("home-details");
    QVERIFY(!home()->findChild<QLineEdit*>(QStringLiteral("tauLabel"))->text().isEmpty());

    QVERIFY(m_panel->press(QStringLiteral("pushButtonDisplay")));
    QCOMPARE(stack->currentIndex(), 1);
    auto* view = home()->findChild<QChartView*>(QStringLiteral("chartView"));
    auto* normal = qobject_cast<QScatterSeries*>(view->chart()->series().value(0));
    QVERIFY(normal);
    QTRY_VERIFY_WITH_TIMEOUT(normal->count() > 100 && home()->miniPlotMaximum() > 1,
                             kDataTimeoutMs);
    // The day of history lies on the plot: its points are drawn, in the series' colour.
    QTRY_VERIFY2(PanelDriver::drawnPixels(view, normal) > kMinSeriesPixels,
                 qPrintable(QString::number(PanelDriver::drawnPixels(view, normal))));
    VERIFY_SOUND("home");
}

void tst_PanelLook::longServerTextsElide()
{
    if (!longTexts())
        QSKIP("only with long server texts (MARLOMAX_LOOK_TEXTS=long)");
    m_panel->tick();
    QLabel* species = label(home(), "speciesLabel");
    QTRY_VERIFY(species->text().endsWith(kEllipsis));
    QVERIFY(species->text().startsWith(QStringLiteral("H<sub>2</sub>O in")));
    // The value, its unit and the carrier gas keep their room beside the long name.
    for (const char* name : {"concLabel", "unitsLabel", "label_4", "gasLabel", "speciesLabel"})
        QTRY_VERIFY2(label(home(), name)->width() >= label(home(), name)->minimumSizeHint().width(),
                     name);
    QTRY_VERIFY(label(home(), "gasLabel")->text().startsWith(kLongGases.first().left(5)));
    QCOMPARE(label(m_panel->gui(), "nameLabel")->text(), kLongUnitName);
    VERIFY_SOUND("home-long-species");
}

void tst_PanelLook::trendAndDownload()
{
    QVERIFY(goHome());
    QVERIFY(m_panel->press(QStringLiteral("pushButtonTrend")));
    auto* trend = qobject_cast<TrendWindow*>(m_panel->currentPage());
    QVERIFY(trend);
    QVERIFY(trend->findChild<QCheckBox*>(QStringLiteral("checkBoxAutoScaleY"))->isChecked());
    // The page opens on today.
    if (TestSupport::todayTooShortForTrend())
        QVERIFY(m_panel->press(QStringLiteral("backPushButton")));
    auto* view = trend->findChild<QChartView*>(QStringLiteral("chartView"));
    auto* series = qobject_cast<QScatterSeries*>(view->chart()->series().value(0));
    QTRY_VERIFY_WITH_TIMEOUT(series->count() > 100 && trend->valueAxisMaximum() > 1,
                             kDataTimeoutMs);
    QTRY_VERIFY2(PanelDriver::drawnPixels(view, series) > kMinSeriesPixels,
                 qPrintable(QString::number(PanelDriver::drawnPixels(view, series))));
    VERIFY_SOUND("trend");

    QVERIFY(m_panel->press(QStringLiteral("pushButtonDownload")));
    auto* download = qobject_cast<TrendDownload*>(m_panel->currentPage());
    QVERIFY(download);
    m_panel->tick();
    QTRY_COMPARE(label(download, "label")->text(), shown("TrendDownload", "Ready to download"));
    VERIFY_SOUND("trend-download");
    QVERIFY(m_panel->press(QStringLiteral("pushButtonClose")));
    QCOMPARE(m_panel->currentPage(), trend);
    QVERIFY(m_panel->press(QStringLiteral("pushButtonClose")));
    QCOMPARE(m_panel->currentPage(), home());
}

void tst_PanelLook::ringDown()
{
    QVERIFY(goHome());
    QVERIFY(m_panel->press(QStringLiteral("pushButtonRDGraph")));
    auto* page = qobject_cast<RDGraphWindow*>(m_panel->currentPage());
    QVERIFY(page);
    m_panel->tick();
    auto* view = page->findChild<QChartView*>();
    auto* trace = qobject_cast<QLineSeries*>(view->chart()->series().value(0));
    QTRY_VERIFY_WITH_TIMEOUT(trace->count() > 600, kDataTimeoutMs);
    QTRY_VERIFY(label(page, "labelRD")->text().contains(QChar(0x00B5)));
    QVERIFY2(PanelDriver::drawnPixels(view, trace) > kMinSeriesPixels,
             qPrintable(QString::number(PanelDriver::drawnPixels(view, trace))));
    VERIFY_SOUND("ringdown");
    QVERIFY(m_panel->press(QStringLiteral("pushButtonClose")));
    QCOMPARE(m_panel->currentPage(), home());
}

void tst_PanelLook::modeAndScans()
{
    QVERIFY(goHome());
    QVERIFY(m_panel->press(QStringLiteral("pushButtonMode")));
    QVERIFY(qobject_cast<ModeWindow*>(m_panel->currentPage()));
    VERIFY_SOUND("mode");

    QVERIFY(m_panel->press(QStringLiteral("pushButtonScan")));
    auto* scans = qobject_cast<ScansWindow*>(m_panel->currentPage());
    QVERIFY(scans);
    m_panel->tick();
    QTRY_COMPARE(label(scans, "opmodeLabel")->text(), shown("AnalyzerFacts", "MEASURE MODE"));
    VERIFY_SOUND("scans");
    QVERIFY(m_panel->press(QStringLiteral("pushButtonClose")));
    QCOMPARE(m_panel->currentPage(), home());
}

QImage tst_PanelLook::gasButtonImage() const
{
    auto* settings = m_panel->gui()->findChild<SettingsWindow*>();
    QWidget* button = settings->findChild<QWidget*>(QStringLiteral("radioButton_1"));
    QWidget* name = settings->findChild<QWidget*>(QStringLiteral("gasLabel_1"));
    const QRect both = button->geometry().united(name->geometry());
    return button->parentWidget()->grab(both).toImage();
}

void tst_PanelLook::settingsOutsideServiceMode()
{
    // In measure mode the settings are shown but cannot be changed.
    QVERIFY(goHome());
    QVERIFY(m_panel->press(QStringLiteral("pushButtonSettings")));
    auto* settings = qobject_cast<SettingsWindow*>(m_panel->currentPage());
    QVERIFY(settings);
    QVERIFY(m_panel->pressTab(QStringLiteral("tabGasType")));
    m_panel->tick();
    QTRY_VERIFY(label(settings, "opmodeLabel")->isVisible());
    QVERIFY(!settings->findChild<QWidget*>(QStringLiteral("radioButton_1"))->isEnabled());
    m_disabledGasButton = gasButtonImage();
    VERIFY_SOUND("settings-measure-mode");
    QVERIFY(m_panel->press(QStringLiteral("pushButtonClose")));
}

void tst_PanelLook::shutdownSteps()
{
    // Up to the last instruction; one more Next would shut the analyzer down.
    QVERIFY(goHome());
    QVERIFY(m_panel->press(QStringLiteral("pushButtonMode")));
    QVERIFY(m_panel->press(QStringLiteral("pushButtonShutdown")));
    auto* page = qobject_cast<ShutdownWindow*>(m_panel->currentPage());
    QVERIFY(page);
    m_panel->tick();
    QTRY_VERIFY(page->findChild<QWidget*>(QStringLiteral("apcWidget"))->isVisible());
    VERIFY_SOUND("shutdown-1");
    for (int step = 2; step <= 5; ++step) {
        QVERIFY(m_panel->press(QStringLiteral("pushButton")));
        QVERIFY(label(page, qPrintable(QStringLiteral("label_%1").arg(step)))
                    ->text()
                    .startsWith(QString::number(step) + QLatin1Char('.')));
        VERIFY_SOUND(QStringLiteral("shutdown-%1").arg(step));
    }
    QVERIFY(m_panel->press(QStringLiteral("pushButtonClose")));
    QCOMPARE(m_panel->currentPage(), home());
    // Step 2 left the analyzer in service mode, so the settings below are all enabled.
    QTRY_COMPARE(m_panel->ask(QStringLiteral("opmode")).toInt(), 2);
}

void tst_PanelLook::settingsTabs_data()
{
    QTest::addColumn<QString>("tab");
    for (const char* tab :
         {"tabGasType", "tabOutputs", "tabScheduling", "tabSettings", "tabService"})
        QTest::newRow(tab) << QString::fromLatin1(tab);
}

void tst_PanelLook::settingsTabs()
{
    QFETCH(QString, tab);
    QVERIFY(goHome());
    m_panel->tick();
    QVERIFY(m_panel->press(QStringLiteral("pushButtonSettings")));
    auto* settings = qobject_cast<SettingsWindow*>(m_panel->currentPage());
    QVERIFY(settings);
    QVERIFY(m_panel->pressTab(tab));
    m_panel->tick();
    QTRY_VERIFY(settings->findChild<QWidget*>(QStringLiteral("laserCurrentLineEdit"))->isEnabled());
    QTRY_VERIFY(!label(settings, "serialLabel")->text().isEmpty());
    VERIFY_SOUND(QStringLiteral("settings-") + tab);
}

void tst_PanelLook::disabledGasButtonsLookDisabled()
{
    // The same button and name, unchecked both times, drawn apart by their state alone.
    QVERIFY(!m_disabledGasButton.isNull());
    QVERIFY(m_panel->pressTab(QStringLiteral("tabGasType")));
    QVERIFY(m_panel->gui()
                ->findChild<SettingsWindow*>()
                ->findChild<QWidget*>(QStringLiteral("radioButton_1"))
                ->isEnabled());
    QVERIFY(gasButtonImage() != m_disabledGasButton);
}

void tst_PanelLook::keypadAndFactoryPages_data()
{
    QTest::addColumn<QString>("arrow");
    QTest::addColumn<int>("page");
    QTest::newRow("page 1") << QString() << 1;
    QTest::newRow("page 0") << QStringLiteral("page1LeftButton") << 0;
    QTest::newRow("page 1 again") << QStringLiteral("page0RightButton") << 1;
    QTest::newRow("page 2") << QStringLiteral("page1RightButton") << 2;
    QTest::newRow("page 3") << QStringLiteral("page2RightButton") << 3;
    QTest::newRow("page 4") << QStringLiteral("page3RightButton") << 4;
}

void tst_PanelLook::keypadAndFactoryPages()
{
    QFETCH(QString, arrow);
    QFETCH(int, page);
    auto* settings = m_panel->gui()->findChild<SettingsWindow*>();
    if (arrow.isEmpty()) {
        // Factory access: the password on the keypad from the Service tab.
        QVERIFY(goHome());
        QVERIFY(m_panel->press(QStringLiteral("pushButtonSettings")));
        QVERIFY(m_panel->pressTab(QStringLiteral("tabService")));
        QVERIFY(m_panel->press(QStringLiteral("changeAccessPushButton")));
        QVERIFY(qobject_cast<KeyboardWindow*>(m_panel->currentPage()));
        QVERIFY(m_panel->press(QStringLiteral("pushButton_5")));
        VERIFY_SOUND("keypad");
        QVERIFY(m_panel->press(QStringLiteral("pushButton_C")));
        QVERIFY(m_panel->typeOnKeypad(QStringLiteral("5738")));
        QCOMPARE(m_panel->currentPage(), settings);
        QCOMPARE(label(settings, "accessLabel")->text(),
                 shown("SettingsWindow", "Access: Factory"));
        QVERIFY(m_panel->pressTab(QStringLiteral("tabFactory")));
    } else {
        QVERIFY(m_panel->press(arrow));
    }
    QCOMPARE(settings->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->currentIndex(),
             page);
    m_panel->tick();
    VERIFY_SOUND(QStringLiteral("settings-factory-%1").arg(page));
}

void tst_PanelLook::calibration()
{
    // From the last factory page, where the pressure controller is calibrated.
    QVERIFY(m_panel->press(QStringLiteral("apcCalibrateButton")));
    auto* page = qobject_cast<CalibrationWindow*>(m_panel->currentPage());
    QVERIFY(page);
    QCOMPARE(label(page, "labelStatus")->text(),
             shown("Calibration", "Connect calibration box to J902."));
    VERIFY_SOUND("calibration");
    QVERIFY(m_panel->press(QStringLiteral("buttonCancel")));
    QCOMPARE(label(page, "labelStatus")->text(), shown("Calibration", "Calibration cancelled"));
    VERIFY_SOUND("calibration-cancelled");
    QVERIFY(m_panel->press(QStringLiteral("buttonOK")));
    QVERIFY(qobject_cast<SettingsWindow*>(m_panel->currentPage()));
}

void tst_PanelLook::certification()
{
    QVERIFY(goHome());
    QVERIFY(m_panel->press(QStringLiteral("pushButtonSettings")));
    QVERIFY(m_panel->pressTab(QStringLiteral("tabService")));
    QVERIFY(m_panel->press(QStringLiteral("buttonCertificationScan")));
    auto* page = qobject_cast<CertificationWindow*>(m_panel->currentPage());
    QVERIFY(page);
    m_panel->tick();
    QTRY_VERIFY_WITH_TIMEOUT(
        label(page, "labelStatus")->text() ==
            shown("Certification",
                  "Supply zero gas to analyzer (do not exceed maximum inlet pressure)."),
        kDataTimeoutMs);
    VERIFY_SOUND("certification");
    QVERIFY(m_panel->press(QStringLiteral("buttonCancel")));
    QVERIFY(qobject_cast<SettingsWindow*>(m_panel->currentPage()));
}

void tst_PanelLook::keypadPromptsFit_data()
{
    // Every prompt a page hands the keypad, as its operator reads it.
    QTest::addColumn<QString>("prompt");
    const std::pair<const char*, const char*> prompts[] = {
        {"HomeWindow", "Enter unlock code:"},
        {"ScansWindow", "Enter Current Step Delay"},
        {"ScansWindow", "Enter "},
        {"SettingsWindow", "Set 4-20 mA Minimum Conc."},
        {"SettingsWindow", "Set 4-20 mA Maximum Conc."},
        {"SettingsWindow", "Set 4-20 mA Output"},
        {"SettingsWindow", "Set User Alarm 1 value"},
        {"SettingsWindow", "Set User Alarm 2 value"},
        {"SettingsWindow", "Enter IP address"},
        {"SettingsWindow", "Enter subnet"},
        {"SettingsWindow", "Enter gateway"},
        {"SettingsWindow", "Fit Intercept"},
        {"SettingsWindow", "Fit Slope"},
        {"SettingsWindow", "Logging Interval"},
        {"SettingsWindow", "Enter time hh.mm.ss"},
        {"SettingsWindow", "Set Laser Current [mA]"},
        {"SettingsWindow", "Set Laser Temp [C]"},
        {"SettingsWindow", "Set Threshold"},
        {"SettingsWindow", "APC Set Point"},
        {"SettingsWindow", "Data Filter"},
        {"SettingsWindow", "Sample Gas Pressure (psig)"},
        {"SettingsWindow", "Enter Factory Password"},
        {"SettingsWindow", "Vmod amplitude"},
        {"SettingsWindow", "Vmod factor"},
        {"SettingsWindow", "Vmod frequency"},
        {"SettingsWindow", "Inverse Mirror Slope"},
        {"SettingsWindow", "Detector Gain"},
        {"SettingsWindow", "PZT Frequency"},
        {"SettingsWindow", "Simulation Concentration"},
        {"TrendWindow", "Enter MAX"},
        {"TrendWindow", "Enter MIN"},
    };
    for (const auto& [context, text] : prompts)
        QTest::newRow(text) << shown(context, text);
}

void tst_PanelLook::keypadPromptsFit()
{
    QFETCH(QString, prompt);
    // The keypad page on view, opened from the Service tab, with this prompt.
    if (!qobject_cast<SettingsWindow*>(m_panel->currentPage())) {
        QVERIFY(goHome());
        QVERIFY(m_panel->press(QStringLiteral("pushButtonSettings")));
    }
    QVERIFY(m_panel->pressTab(QStringLiteral("tabService")));
    QVERIFY(m_panel->press(QStringLiteral("changeAccessPushButton")));
    auto* keypad = qobject_cast<KeyboardWindow*>(m_panel->currentPage());
    QVERIFY(keypad);
    keypad->setLabel(prompt);
    const QStringList findings = m_panel->look(shot(QStringLiteral("keypad-prompt")));
    QVERIFY(m_panel->press(QStringLiteral("pushButton_Cancel")));
    QVERIFY2(findings.isEmpty(), qPrintable(QLatin1Char('\n') + findings.join(QLatin1Char('\n'))));
}

void tst_PanelLook::journalFromTheBadge()
{
    // Back home in service mode, where the shutdown steps left the analyzer.
    QVERIFY(goHome());
    m_panel->tick();
    auto* badge = this->badge();
    QTRY_COMPARE(badge->statusClass(), Analyzer::StatusClass::FunctionCheck);
    QCOMPARE(badge->text(), shown("AnalyzerFacts", "Function check"));
    // Its symbol drawn, between the unit's name and the version.
    const QPoint at = badge->mapTo(m_panel->window(), QPoint());
    const QImage drawn = m_panel->window()->grab(QRect(at, badge->size())).toImage();
    QVERIFY(drawsSymbol(
        drawn, badge->symbolRect().topLeft(),
        StatusBadge::classSymbol(Analyzer::StatusClass::FunctionCheck, StatusBadge::kSymbolSize)));
    QVERIFY(at.x() > label(m_panel->gui(), "nameLabel")->mapTo(m_panel->window(), QPoint()).x());
    // The value is no measurement in service mode, and says so by the symbol beside it.
    QVERIFY(!label(home(), "concClassLabel")->pixmap(Qt::ReturnByValue).isNull());

    QVERIFY(m_panel->pressOnTitleBar(QStringLiteral("statusBadge")));
    auto* journal = qobject_cast<JournalWindow*>(m_panel->currentPage());
    QVERIFY(journal);
    // The run's events, newest first: the modes the suite went through, the
    // reminder raised and cleared, the writes of its pages.
    QStringList events;
    for (int row = 0; row < journal->model()->rowCount(); ++row)
        events << journal->model()->index(row, JournalModel::EventColumn).data().toString();
    const QString reminder = shown("AnalyzerFacts", "Perf. Verification");
    const QString raised = shown("JournalModel", "%1 raised").arg(reminder);
    // Raised in this run, so its "cleared" says how long it was active.
    QString cleared = shown("JournalModel", "%1 cleared, active for %2").arg(reminder);
    cleared.truncate(cleared.indexOf(QLatin1String("%2")));
    QVERIFY2(events.contains(raised), qPrintable(events.join('\n')));
    const int clearedRow =
        events.indexOf(QRegularExpression(QRegularExpression::escape(cleared) + ".*"));
    QVERIFY2(clearedRow >= 0, qPrintable(events.join("\n")));
    QVERIFY(clearedRow < events.indexOf(raised));
    QVERIFY(events.contains(
        shown("JournalModel", "Mode changed from %1 to %2")
            .arg(shown("AnalyzerFacts", "MEASURE MODE"), shown("AnalyzerFacts", "SERVICE MODE"))));
    // The analyzer filter names this analyzer by its serial, however long.
    auto* analyzers = journal->findChild<QComboBox*>(QStringLiteral("analyzerComboBox"));
    const QString serial = m_panel->ask(QStringLiteral("serial_number")).toString();
    QTRY_COMPARE(analyzers->itemText(0), serial);
    VERIFY_SOUND("journal");

    QVERIFY(m_panel->press(QStringLiteral("pushButtonClose")));
    QCOMPARE(m_panel->currentPage(), home());
}

void tst_PanelLook::listsScrollWithAFinger()
{
    // Every list of every page, not only by its narrow scrollbar.
    QStringList without;
    const QList<QAbstractItemView*> views = m_panel->window()->findChildren<QAbstractItemView*>();
    for (QAbstractItemView* view : views) {
        // The drop-down lists of combo boxes are a few lines, never scrolled;
        // a header moves with its table.
        if (qobject_cast<QHeaderView*>(view) ||
            qobject_cast<QComboBox*>(view->parentWidget() ? view->parentWidget()->parentWidget()
                                                          : nullptr))
            continue;
        if (!QScroller::hasScroller(view->viewport()))
            without << TestSupport::widgetPath(view);
    }
    QVERIFY(views.size() >= 2);
    QVERIFY2(without.isEmpty(), qPrintable(without.join(QLatin1String(", "))));
}

QTEST_MAIN(tst_PanelLook)
#include "tst_panellook.moc"
