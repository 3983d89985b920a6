// Long texts from the analyzer on the settings screen of the real 640 x 480
// panel: a 64-character serial number, a unit name and gas names of 20
// characters and a gas name of 300. On every tab and factory page each text
// either fits its widget or is cut with "…", and no widget covers another or
// leaves the window. The screenshots show it.
#include "analyzer/response.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "settings/settingswindow.h"
#include "support/paneldriver.h"
#include "support/testsupport.h"
#include "widgets/keyboardwindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocument>
#include <QtTest>

namespace {

const QString kSerial = QStringLiteral("SN-") + QString(61, QLatin1Char('7'));
const QString kUnitName = QStringLiteral("Trace Moisture Lab 7");
const QString kLongGas = QStringLiteral("C") + QString(299, QLatin1Char('H'));
const QStringList kGases = {QStringLiteral("Nitrogen Carrier 5.0"),
                            QStringLiteral("Argon Carrier Gas 46"),
                            QStringLiteral("Helium Purified 6.0x"), kLongGas};

/// The width and height the text of a label needs.
QSize textSize(const QLabel* label)
{
    if (label->textFormat() == Qt::RichText) {
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(label->text());
        return QSize(qCeil(document.idealWidth()), qCeil(document.size().height()));
    }
    const QFontMetrics metrics(label->font());
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return QSize(width, (lines.size() - 1) * metrics.lineSpacing() + metrics.height());
}

/// What is wrong with the widgets in view below root, one line each.
QStringList layoutFaults(QWidget* root, QWidget* window)
{
    QStringList faults;
    const QList<QWidget*> widgets = root->findChildren<QWidget*>();
    QList<QWidget*> shown;
    for (QWidget* widget : widgets) {
        if (widget->isVisibleTo(window) && widget->isWindow() == false)
            shown.append(widget);
    }
    for (QWidget* widget : shown) {
        const QString name = widget->objectName();
        const QRect inWindow(widget->mapTo(window, QPoint()), widget->size());
        if (!window->rect().contains(inWindow))
            faults << name + " lies outside the window";
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const QRect room = label->contentsRect();
            const QSize need = label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                                 : textSize(label);
            if (need.width() > room.width() || need.height() > label->height())
                faults << QStringLiteral("%1 cut: %2 needs %3x%4 in %5x%6")
                              .arg(name, label->text().left(40))
                              .arg(need.width())
                              .arg(need.height())
                              .arg(room.width())
                              .arg(label->height());
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            if (!box->text().isEmpty() && box->sizeHint().width() > box->width())
                faults << name + " cut: " + box->text();
        }
        // Widgets in view never cover one another (only siblings can).
        for (QWidget* other : shown) {
            if (other != widget && other->parentWidget() == widget->parentWidget() &&
                other->geometry().intersects(widget->geometry()) && widget < other)
                faults << name + " covers " + other->objectName();
        }
    }
    return faults;
}

} // namespace

class tst_SettingsTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void longTextsOnEveryTab();

private:
    template <class T = QWidget> T* child(const char* name)
    {
        return TestSupport::child<T>(m_settings, QLatin1String(name));
    }
    void checkTab(const QString& name);

    PanelDriver m_panel{{QStringLiteral("--backfill-days"), QStringLiteral("0"),
                         QStringLiteral("--serial"), kSerial, QStringLiteral("--unit-name"),
                         kUnitName, QStringLiteral("--reactor"), QStringLiteral("--fit")}};
    MainWindow* m_window = nullptr;
    VireoGUI* m_gui = nullptr;
    SettingsWindow* m_settings = nullptr;
};

void tst_SettingsTexts::initTestCase()
{
    QString error;
    QVERIFY2(m_panel.startSimulator(&error), qPrintable(error));
    const QJsonObject reply = m_panel.call("opmode", QJsonArray{2});
    QVERIFY(!reply.isEmpty()); // the simulator was reached
    QVERIFY(reply.value("error").isUndefined());
    QVERIFY2(m_panel.startPanel(&error), qPrintable(error));
    QSettings().clear();
    m_window = m_panel.window();
    m_gui = m_panel.gui();
    m_settings = m_gui->findChild<SettingsWindow*>();
    QCOMPARE(m_window->size(), QSize(640, 480));
}

void tst_SettingsTexts::checkTab(const QString& name)
{
    // Labels fitted as the tab shows ask for a new layout; it comes from the event loop.
    QStringList faults;
    QTRY_VERIFY2((faults = layoutFaults(m_settings, m_window)).isEmpty(),
                 qPrintable(name + ": " + faults.join("; ")));
    TestSupport::saveScreenshot(m_window, "settings-long-" + name);
}

void tst_SettingsTexts::longTextsOnEveryTab()
{
    // The start-up refresh brings the identity and service mode.
    QTRY_VERIFY(m_window->windowTitle().startsWith("SN " + kSerial));
    QTest::mouseClick(m_gui->findChild<QPushButton*>(QStringLiteral("pushButtonSettings")),
                      Qt::LeftButton);
    QTRY_VERIFY(child("laserCurrentLineEdit")->isEnabled());

    // The gas names, as the analyzer would send them.
    QJsonArray gases;
    for (const QString& gas : kGases)
        gases.append(gas);
    const int first = m_settings->firstRequestId();
    m_settings->handleResponse(Analyzer::Response(TestSupport::replyJson(first + 1, gases)));
    m_settings->handleResponse(Analyzer::Response(TestSupport::replyJson(first + 2, kLongGas)));
    // And the tune times (rows 30 and 31), as a faulty analyzer might.
    for (int row : {30, 31})
        m_settings->handleResponse(
            Analyzer::Response(TestSupport::replyJson(first + row - 1, QString(300, 'T'))));

    // Factory access through the keypad.
    auto* tabs = child<QTabWidget>("tabWidget");
    tabs->setCurrentIndex(4);
    QTest::mouseClick(child("changeAccessPushButton"), Qt::LeftButton);
    auto* keypad = m_gui->findChild<KeyboardWindow*>();
    for (const char* key :
         {"pushButton_5", "pushButton_7", "pushButton_3", "pushButton_8", "pushButton_OK"})
        QTest::mouseClick(keypad->findChild<QPushButton*>(QLatin1String(key)), Qt::LeftButton);
    QCOMPARE(child<QLabel>("accessLabel")->text(), QStringLiteral("Access: Factory"));

    const QStringList names = {"gas", "outputs", "schedule", "settings", "service"};
    for (int tab = 0; tab < names.size(); ++tab) {
        tabs->setCurrentIndex(tab);
        checkTab(names.at(tab));
    }
    tabs->setCurrentIndex(5);
    for (int page = 1; page < 5; ++page) {
        child<QStackedWidget>("stackedWidget")->setCurrentIndex(page);
        checkTab(QStringLiteral("factory-%1").arg(page));
    }

    // The long texts are cut with an ellipsis, the short ones shown whole.
    tabs->setCurrentIndex(4);
    QVERIFY(child<QLabel>("serialLabel")->text().startsWith("SN: SN-777"));
    QVERIFY(child<QLabel>("serialLabel")->text().endsWith(QChar(0x2026)));
    QCOMPARE(child<QLabel>("serialLabel")->textFormat(), Qt::PlainText);
    QCOMPARE(m_window->windowTitle(), "SN " + kSerial + " @ 127.0.0.1");
    tabs->setCurrentIndex(2);
    QVERIFY(child<QLabel>("nextTuneLabel")->text().startsWith("Next Tune: TTT"));
    QVERIFY(child<QLabel>("nextTuneLabel")->text().endsWith(QChar(0x2026)));
    tabs->setCurrentIndex(0);
    QVERIFY(child<QLabel>("gasLabel_2")->text().endsWith(QChar(0x2026)));
    QVERIFY(child<QRadioButton>("radioButton_2")->isChecked());
    QCOMPARE(child<QLabel>("gasLabel_4")->text(), QStringLiteral("Nitrogen Carrier 5.0")
                                                      .replace("5", "<sub>5</sub>")
                                                      .replace("0", "<sub>0</sub>"));
}

QTEST_MAIN(tst_SettingsTexts)
#include "tst_settingstexts.moc"
