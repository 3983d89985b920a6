// End to end: the settings screen of the in-process panel against the analyzer
// simulator in service mode. Edits go through the real keypad and controller
// and are read back from the simulator over a connection of the test's own.
// A lost link closes the page until a reply reads service mode again.
#include "analyzer/analyzerstate.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "settings/settingswindow.h"
#include "support/messageanswerer.h"
#include "support/paneldriver.h"
#include "support/testsupport.h"
#include "widgets/keyboardwindow.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

class tst_SettingsLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void editsReachSimulator();
    void cancelledNetworkEntrySendsNothing();
    void gateClosedByALostLink();

private:
    void tick() { m_panel.tick(); }
    QJsonObject call(const QString& method, const QJsonValue& params = QJsonValue::Undefined)
    {
        return m_panel.call(method, params);
    }
    template <class T = QWidget> T* child(const char* name)
    {
        return m_settings->findChild<T*>(QLatin1String(name));
    }

    PanelDriver m_panel{
        {QStringLiteral("--backfill-days"), QStringLiteral("0"), QStringLiteral("--control")}};
    VireoGUI* m_gui = nullptr;
    SettingsWindow* m_settings = nullptr;
    QStackedWidget* m_pages = nullptr;
};

void tst_SettingsLive::initTestCase()
{
    QString error;
    QVERIFY2(m_panel.startSimulator(&error), qPrintable(error));
    QCOMPARE(call("opmode", QJsonArray{2}).value("error").isUndefined(), true);
    QVERIFY2(m_panel.startPanel(&error), qPrintable(error));
    QSettings().clear();
    m_gui = m_panel.gui();
    m_settings = m_gui->findChild<SettingsWindow*>();
    m_pages = m_gui->findChild<QStackedWidget*>(QStringLiteral("pages"));
    QVERIFY(m_settings && m_pages);
}

void tst_SettingsLive::editsReachSimulator()
{
    // The start-up refresh polls every tab once: identity and service mode arrive.
    const QString serial = call("serial_number").value("result").toString();
    QTRY_COMPARE(child<QLabel>("serialLabel")->text(), "SN: " + serial);
    QCOMPARE(m_panel.window()->windowTitle(), "SN " + serial + " @ 127.0.0.1");
    const QString name = call("unit_name").value("result").toString();
    QCOMPARE(m_panel.window()->findChild<QLabel*>(QStringLiteral("nameLabel"))->text(), name);
    QCOMPARE(m_panel.window()->findChild<QLabel*>(QStringLiteral("versionLabel"))->text(),
             call("version").value("result").toString());
    QVERIFY(!child("opmodeLabel")->isVisible() || !child("opmodeLabel")->isVisibleTo(m_settings));

    QTest::mouseClick(m_gui->findChild<QPushButton*>(QStringLiteral("pushButtonSettings")),
                      Qt::LeftButton);
    QCOMPARE(m_pages->currentWidget(), m_settings);
    tick();
    QTRY_VERIFY(child("laserCurrentLineEdit")->isEnabled());

    // Laser current through the keypad.
    child<QTabWidget>("tabWidget")->setCurrentIndex(3);
    tick();
    QTest::mouseClick(child("laserCurrentLineEdit"), Qt::LeftButton);
    auto* keypad = m_gui->findChild<KeyboardWindow*>();
    QCOMPARE(m_pages->currentWidget(), keypad);
    for (const char* key : {"pushButton_9", "pushButton_6", "pushButton_Dot", "pushButton_5"})
        QTest::mouseClick(keypad->findChild<QPushButton*>(QLatin1String(key)), Qt::LeftButton);
    QTest::mouseClick(keypad->findChild<QPushButton*>(QStringLiteral("pushButton_OK")),
                      Qt::LeftButton);
    QCOMPARE(m_pages->currentWidget(), m_settings);
    QTRY_COMPARE(call("laser_current").value("result").toDouble(), 96.5);
    QTRY_COMPARE(child<QLineEdit>("laserCurrentLineEdit")->text(), QStringLiteral("96.50"));
    TestSupport::saveScreenshot(m_panel.window(), QStringLiteral("settings-live-settings"));

    // A relay on the Outputs tab.
    child<QTabWidget>("tabWidget")->setCurrentIndex(1);
    tick();
    const bool relay = call("user_alarm_1_relay").value("result").toBool();
    auto* box = child<QCheckBox>("alarm1CheckBox");
    QTRY_COMPARE(box->isChecked(), relay);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QTRY_COMPARE(call("user_alarm_1_relay").value("result").toBool(), !relay);
    tick();
    QTRY_COMPARE(box->isChecked(), !relay);
    TestSupport::saveScreenshot(m_panel.window(), QStringLiteral("settings-live-outputs"));

    // A value out of range is refused with the simulator's message, and kept out.
    QString message;
    TestSupport::onNextModal([&message](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            message = box->text();
        qobject_cast<QDialog*>(modal)->accept();
    });
    child<QTabWidget>("tabWidget")->setCurrentIndex(3);
    child<QLineEdit>("laserCurrentLineEdit")->setText(QStringLiteral("500"));
    QTest::keyClick(child("laserCurrentLineEdit"), Qt::Key_Return);
    QTRY_COMPARE(message, QStringLiteral("Laser current must be from 0 to 120 mA."));
    QCOMPARE(call("laser_current").value("result").toDouble(), 96.5);
}

void tst_SettingsLive::cancelledNetworkEntrySendsNothing()
{
    // The operator presses the IP field and cancels the keypad: the 60 s timer
    // must not write the fields to the analyzer.
    QTest::mouseClick(m_gui->findChild<QPushButton*>(QStringLiteral("pushButtonSettings")),
                      Qt::LeftButton);
    child<QTabWidget>("tabWidget")->setCurrentIndex(1);
    tick();
    QSignalSpy sent(m_settings, &SettingsWindow::jsonToSend);
    QTest::mouseClick(child("ipLineEdit"), Qt::LeftButton);
    auto* keypad = m_gui->findChild<KeyboardWindow*>();
    QCOMPARE(m_pages->currentWidget(), keypad);
    QTest::mouseClick(keypad->findChild<QPushButton*>(QStringLiteral("pushButton_Cancel")),
                      Qt::LeftButton);
    QCOMPARE(m_pages->currentWidget(), m_settings);
    QVERIFY(!m_settings->editingTimer()->isActive());
    QMetaObject::invokeMethod(m_settings, "editingDone");
    QCOMPARE(sent.count(), 0);
}

void tst_SettingsLive::gateClosedByALostLink()
{
    // In service mode on the Outputs tab; then the link drops, and once it
    // is back the analyzer answers "opmode" with errors only. Nobody knows
    // its mode: the relays stay shut, and a press changes nothing.
    QTest::mouseClick(m_gui->findChild<QPushButton*>(QStringLiteral("pushButtonSettings")),
                      Qt::LeftButton);
    child<QTabWidget>("tabWidget")->setCurrentIndex(1);
    tick();
    auto* box = child<QCheckBox>("alarm1CheckBox");
    QTRY_VERIFY(box->isEnabled());
    const QJsonValue relay = call("user_alarm_1_relay").value("result");

    TestSupport::MessageAnswerer answerer;
    const auto refuseModes = [this](bool on) {
        return call("sim_control", QJsonArray{"fail-method", "opmode::-32000", on}).value("result");
    };
    const auto dropLink = [this](bool on) {
        return call("sim_control", QJsonArray{"drop-link-after", "laser_alarm_active", on})
            .value("result");
    };
    QCOMPARE(refuseModes(true), QJsonValue(true));
    QCOMPARE(dropLink(true), QJsonValue(true));
    const auto rulesOff = qScopeGuard([&]() {
        refuseModes(false);
        dropLink(false);
    });
    // The status poll asks the alarm flags on this tab: the link drops after it.
    QVERIFY2(QTest::qWaitFor(
                 [&] {
                     tick();
                     return answerer.messages.join('|').contains(
                         QStringLiteral("Restored connection to"));
                 },
                 10000),
             qPrintable(answerer.messages.join('|')));
    QVERIFY(answerer.messages.join('|').contains(QStringLiteral("Lost connection to")));
    // Replies after the return, the refused modes among them, have come in.
    const auto answeredAfter = [this](const QDateTime& since) {
        tick();
        return m_gui->analyzerState()->lastRead(QStringLiteral("laser_alarm_active")) > since;
    };
    const QDateTime restored = QDateTime::currentDateTime();
    QTRY_VERIFY(answeredAfter(restored));
    QVERIFY(!m_settings->isInServiceMode());
    QVERIFY(!box->isEnabled());
    const QDateTime clicked = QDateTime::currentDateTime();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    // A write would have gone out before the next poll, on the same link.
    QTRY_VERIFY(answeredAfter(clicked));
    QCOMPARE(call("user_alarm_1_relay").value("result"), relay);

    // A reply that reads service mode opens the page again.
    refuseModes(false);
    tick();
    QTRY_VERIFY((tick(), box->isEnabled()));
}

QTEST_MAIN(tst_SettingsLive)
#include "tst_settingslive.moc"
