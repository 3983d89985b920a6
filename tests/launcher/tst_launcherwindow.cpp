// The launcher's window driven like a user would: the frame, which buttons
// work when, New/Edit/Delete against the settings store, and Launch of a
// stand-in panel placed where the launcher looks for the real one.
#include "base/language.h"
#include "launcher/connectionsettingsdialog.h"
#include "launcher/mainwindow.h"
#include "launcher/settings.h"
#include "launchertestsupport.h"
#include "support/screencheck.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

class tst_LauncherWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void frame();
    void enablingRule_data();
    void enablingRule();
    void newConnection();
    void defaultStorageFollowsNewNotEdit();
    void editConnection_data();
    void editConnection();
    void deleteAsks_data();
    void deleteAsks();
    void launch_data();
    void launch();
    void panelLanguage_data();
    void panelLanguage();
    void launchFailureIsReported_data();
    void launchFailureIsReported();
    void unsavedListIsLogged();
    void hostileNames();
    void screenshot();
    void germanWindowsShowEveryText();

private:
    std::unique_ptr<LauncherStore> m_store;
    std::unique_ptr<QTemporaryDir> m_folder;
};

namespace {

const QList<ConnectionEntry> kTwo = {
    {QStringLiteral("Lab"), QStringLiteral("192.168.1.20:60001"), QStringLiteral("/data/lab")},
    {QStringLiteral("Stack"), QStringLiteral("10.0.0.7:60003"), QStringLiteral("/data/stack")},
};

QPushButton* button(const QWidget& window, const char* name)
{
    return window.findChild<QPushButton*>(QLatin1String(name));
}

QListWidget* list(const QWidget& window)
{
    return window.findChild<QListWidget*>(QStringLiteral("listConnections"));
}

QStringList rows(const QWidget& window)
{
    QStringList texts;
    for (int i = 0; i < list(window)->count(); ++i)
        texts << list(window)->item(i)->text();
    return texts;
}

void fill(QDialog* dialog, const QString& nickname, const QString& address, int channel,
          const QString& storage)
{
    dialog->findChild<QLineEdit*>(QStringLiteral("lineNickname"))->setText(nickname);
    dialog->findChild<QLineEdit*>(QStringLiteral("lineAddress"))->setText(address);
    dialog->findChild<QComboBox*>(QStringLiteral("comboChannel"))->setCurrentIndex(channel);
    dialog->findChild<QLineEdit*>(QStringLiteral("lineStorage"))->setText(storage);
}

QString fieldText(QDialog* dialog, const char* name)
{
    return dialog->findChild<QLineEdit*>(QLatin1String(name))->text();
}

void pressOk(QDialog* dialog)
{
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

void tst_LauncherWindow::init()
{
    m_store = std::make_unique<LauncherStore>();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void tst_LauncherWindow::cleanup()
{
    m_folder.reset();
    m_store.reset();
}

void tst_LauncherWindow::frame()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Marlo Max Launcher"));
    QVERIFY(QFile::exists(QStringLiteral(":/icons/images/marlomax.ico")));
    QVERIFY(!window.windowIcon().availableSizes().isEmpty());
    QCOMPARE(window.size(), QSize(640, 480));
    QVERIFY(window.findChild<QToolBar*>(QStringLiteral("mainToolBar"))->isHidden());
    QVERIFY(window.statusBar()->isHidden());
    QCOMPARE(window.findChild<QGroupBox*>()->title(), QStringLiteral("Connections"));
    QCOMPARE(button(window, "buttonNew")->text(), QStringLiteral("New..."));
    QCOMPARE(button(window, "buttonEdit")->text(), QStringLiteral("Edit..."));
    QCOMPARE(button(window, "buttonLaunch")->text(), QStringLiteral("Launch"));
    QCOMPARE(button(window, "buttonDelete")->text(), QStringLiteral("Delete"));
    QCOMPARE(window.programDirectory(), QCoreApplication::applicationDirPath());
}

void tst_LauncherWindow::enablingRule_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("empty list: only New") << 0;
    QTest::newRow("one connection") << 1;
    QTest::newRow("two connections, last selected") << 2;
}

void tst_LauncherWindow::enablingRule()
{
    QFETCH(int, count);
    LauncherStore::seed(kTwo.mid(0, count));
    MainWindow window;

    QStringList nicknames;
    for (const ConnectionEntry& entry : kTwo.mid(0, count))
        nicknames << entry.nickname;
    QCOMPARE(rows(window), nicknames);
    QVERIFY(button(window, "buttonNew")->isEnabled());
    QCOMPARE(button(window, "buttonEdit")->isEnabled(), count > 0);
    QCOMPARE(button(window, "buttonLaunch")->isEnabled(), count > 0);
    QCOMPARE(button(window, "buttonDelete")->isEnabled(), count > 0);
    QCOMPARE(list(window)->currentRow(), count - 1);
}

void tst_LauncherWindow::newConnection()
{
    LauncherStore::seed(kTwo.mid(0, 1));
    MainWindow window;
    onNextModalOf<QDialog>([this](QDialog* dialog) {
        fill(dialog, QStringLiteral("Roof"), QStringLiteral("10.9.8.7"), 2, m_folder->path());
        pressOk(dialog);
    });
    QTest::mouseClick(button(window, "buttonNew"), Qt::LeftButton);

    const ConnectionEntry added{QStringLiteral("Roof"), QStringLiteral("10.9.8.7:60002"),
                                m_folder->path()};
    QCOMPARE(LauncherStore::stored(), (QList<ConnectionEntry>{kTwo.at(0), added}));
    QCOMPARE(rows(window), (QStringList{"Lab", "Roof"}));
    QCOMPARE(list(window)->currentRow(), 1);

    // A cancelled New changes nothing.
    onNextModalOf<QDialog>([](QDialog* dialog) { dialog->reject(); });
    QTest::mouseClick(button(window, "buttonNew"), Qt::LeftButton);
    QCOMPARE(LauncherStore::stored().size(), 2);
}

void tst_LauncherWindow::defaultStorageFollowsNewNotEdit()
{
    MainWindow window;
    QTemporaryDir edited;
    const QString added = m_folder->path();

    QString offered;
    onNextModalOf<QDialog>([&](QDialog* dialog) {
        offered = fieldText(dialog, "lineStorage");
        fill(dialog, QStringLiteral("Lab"), QStringLiteral("10.0.0.1"), 1, added);
        pressOk(dialog);
    });
    QTest::mouseClick(button(window, "buttonNew"), Qt::LeftButton);
    QCOMPARE(offered, QDir::toNativeSeparators(m_store->home()));
    QCOMPARE(Settings().defaultStorage(), added);

    onNextModalOf<QDialog>([&](QDialog* dialog) {
        fill(dialog, QStringLiteral("Lab"), QStringLiteral("10.0.0.1"), 1, edited.path());
        pressOk(dialog);
    });
    QTest::mouseClick(button(window, "buttonEdit"), Qt::LeftButton);
    QCOMPARE(LauncherStore::stored().at(0).storageLocation, edited.path());
    QCOMPARE(Settings().defaultStorage(), added);

    onNextModalOf<QDialog>([&](QDialog* dialog) {
        offered = fieldText(dialog, "lineStorage");
        dialog->reject();
    });
    QTest::mouseClick(button(window, "buttonNew"), Qt::LeftButton);
    QCOMPARE(offered, added);
}

void tst_LauncherWindow::editConnection_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("channelShown");
    QTest::addColumn<QString>("savedAs");

    QTest::newRow("channel 3 kept") << "10.0.0.5:60003"
                                    << "3"
                                    << "10.0.0.5:60003";
    QTest::newRow("other port saved as 49999") << "10.0.0.5:4321"
                                               << "(None)"
                                               << "10.0.0.5:49999";
    QTest::newRow("port 60000 saved as 49999") << "10.0.0.5:60000"
                                               << "(None)"
                                               << "10.0.0.5:49999";
}

void tst_LauncherWindow::editConnection()
{
    QFETCH(QString, connectionString);
    QFETCH(QString, channelShown);
    QFETCH(QString, savedAs);

    LauncherStore::seed({{QStringLiteral("Old"), connectionString, m_folder->path()}, kTwo.at(1)});
    MainWindow window;
    list(window)->setCurrentRow(0);

    QString shownChannel;
    onNextModalOf<QDialog>([&](QDialog* dialog) {
        shownChannel = dialog->findChild<QComboBox*>(QStringLiteral("comboChannel"))->currentText();
        dialog->findChild<QLineEdit*>(QStringLiteral("lineNickname"))
            ->setText(QStringLiteral("New"));
        pressOk(dialog);
    });
    QTest::mouseClick(button(window, "buttonEdit"), Qt::LeftButton);

    QCOMPARE(shownChannel, channelShown);
    QCOMPARE(LauncherStore::stored(),
             (QList<ConnectionEntry>{{"New", savedAs, m_folder->path()}, kTwo.at(1)}));
    QCOMPARE(rows(window), (QStringList{"New", "Stack"}));
    QCOMPARE(list(window)->currentRow(), 1);
}

void tst_LauncherWindow::deleteAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("remaining");

    QTest::newRow("Yes removes the row") << int(QMessageBox::Yes) << QStringList{"Stack"};
    QTest::newRow("No keeps it") << int(QMessageBox::No) << QStringList{"Lab", "Stack"};
}

void tst_LauncherWindow::deleteAsks()
{
    QFETCH(int, answer);
    QFETCH(QStringList, remaining);

    LauncherStore::seed(kTwo);
    MainWindow window;
    list(window)->setCurrentRow(0);
    ShownMessage question;
    answerNextMessage(question, QMessageBox::StandardButton(answer));
    QTest::mouseClick(button(window, "buttonDelete"), Qt::LeftButton);

    QCOMPARE(question.title, QStringLiteral("Delete Connection"));
    QCOMPARE(question.text, QStringLiteral("Are you sure?"));
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(rows(window), remaining);
    QStringList storedNicknames;
    for (const ConnectionEntry& entry : LauncherStore::stored())
        storedNicknames << entry.nickname;
    QCOMPARE(storedNicknames, remaining);
}

void tst_LauncherWindow::launch_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("Launch button") << false;
    QTest::newRow("double-click on the row") << true;
}

void tst_LauncherWindow::launch()
{
    QFETCH(bool, doubleClick);

    const QString storage = m_folder->filePath(QStringLiteral("storage with spaces"));
    QVERIFY(QDir().mkpath(storage));
    const QString log = m_folder->filePath(QStringLiteral("starts.log"));
    writeStandIn(m_folder->path(), log);
    LauncherStore::seed(
        {{QStringLiteral("Lab"), QStringLiteral("192.168.1.20:60001"), storage}, kTwo.at(1)});

    MainWindow window;
    window.setProgramDirectory(m_folder->path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (doubleClick) {
        QListWidget* connections = list(window);
        const QRect row = connections->visualItemRect(connections->item(0));
        // A real double-click starts with a press on the same row.
        QTest::mouseClick(connections->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(connections->viewport(), Qt::LeftButton, {}, row.center());
    } else {
        list(window)->setCurrentRow(0);
        QTest::mouseClick(button(window, "buttonLaunch"), Qt::LeftButton);
    }

    QTRY_COMPARE(readLog(log), QStringLiteral("[192.168.1.20][60001][%1]\n").arg(storage));
    QVERIFY(window.isVisible());
}

void tst_LauncherWindow::panelLanguage_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("language"); // what the panel finds in LANGUAGE
    QTest::newRow("as the system") << 0 << ""
                                   << "fr:en";
    QTest::newRow("English") << 1 << "en"
                             << "en";
    QTest::newRow("German") << 2 << "de"
                            << "de";
}

void tst_LauncherWindow::panelLanguage()
{
    QFETCH(int, choice);
    QFETCH(QString, stored);
    QFETCH(QString, language);
    // The system's own choice, which "as the system" hands on untouched.
    const QByteArray before = qgetenv("LANGUAGE");
    qputenv("LANGUAGE", "fr:en");
    const auto restore = qScopeGuard([before] { qputenv("LANGUAGE", before); });

    const QString log = m_folder->filePath(QStringLiteral("starts.log"));
    QFile script(m_folder->filePath(QStringLiteral("marlomax")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s %s\\n' \"${LANGUAGE-unset}\" \"$*\" >> '" +
                 QFile::encodeName(log) + "'\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    LauncherStore::seed({kTwo.at(0)});

    {
        MainWindow window;
        window.setProgramDirectory(m_folder->path());
        auto* languages = window.findChild<QComboBox*>(QStringLiteral("comboLanguage"));
        QVERIFY(languages);
        QCOMPARE(languages->currentIndex(), 0);
        QCOMPARE(languages->count(), 3);
        languages->setCurrentIndex(choice);
        emit languages->activated(choice);
        QCOMPARE(LauncherStore::open()->value(QStringLiteral("panelLanguage")).toString(), stored);
        list(window)->setCurrentRow(0);
        QTest::mouseClick(button(window, "buttonLaunch"), Qt::LeftButton);
        // The command line stays host, port and storage folder.
        const QStringList address = kTwo.at(0).connectionString.split(QLatin1Char(':'));
        QTRY_COMPARE(readLog(log),
                     QStringLiteral("%1 %2 %3 %4\n")
                         .arg(language, address.at(0), address.at(1), kTwo.at(0).storageLocation));
    }
    // The choice is there again at the next start.
    MainWindow again;
    QCOMPARE(again.findChild<QComboBox*>(QStringLiteral("comboLanguage"))->currentIndex(), choice);
}

void tst_LauncherWindow::launchFailureIsReported_data()
{
    QTest::addColumn<QString>("standIn");
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing program")
        << "none"
        << "10.0.0.7:60003"
        << "The panel program <folder>/marlomax is missing or not executable.";
    QTest::newRow("not executable")
        << "plain"
        << "10.0.0.7:60003"
        << "The panel program <folder>/marlomax is missing or not executable.";
    QTest::newRow("stored IPv6 address")
        << "ok"
        << "fe80::1:60001"
        << "The connection \"Odd\" cannot be launched: its address "
           "\"fe80::1:60001\" is not an IPv4 address followed by a "
           "channel.";
    QTest::newRow("stored without port")
        << "ok"
        << "10.0.0.7"
        << "The connection \"Odd\" cannot be launched: its address "
           "\"10.0.0.7\" is not an IPv4 address followed by a "
           "channel.";
}

void tst_LauncherWindow::launchFailureIsReported()
{
    QFETCH(QString, standIn);
    QFETCH(QString, connectionString);
    QFETCH(QString, message);

    const QString log = m_folder->filePath(QStringLiteral("starts.log"));
    if (standIn != QLatin1String("none"))
        writeStandIn(m_folder->path(), log, standIn == QLatin1String("ok"));
    LauncherStore::seed({kTwo.at(0), {QStringLiteral("Odd"), connectionString, m_folder->path()}});
    MainWindow window;
    window.setProgramDirectory(m_folder->path());

    ShownMessage shown;
    answerNextMessage(shown);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The ")));
    QTest::mouseClick(button(window, "buttonLaunch"), Qt::LeftButton);
    QCOMPARE(shown.icon, QMessageBox::Critical);
    QCOMPARE(shown.text, message.replace(QStringLiteral("<folder>"), m_folder->path()));

    // Once the panel can be started, the next launch is the only one it sees.
    writeStandIn(m_folder->path(), log);
    list(window)->setCurrentRow(0);
    QTest::mouseClick(button(window, "buttonLaunch"), Qt::LeftButton);
    QTRY_COMPARE(readLog(log), QStringLiteral("[192.168.1.20][60001][/data/lab]\n"));
}

void tst_LauncherWindow::unsavedListIsLogged()
{
    // A store fault is logged, never shown: the dialog's three checks are the
    // launcher's only messages about what it keeps. The row stays for this run.
    m_store->makeUnwritable();

    MainWindow window;
    PopupCounter popups;
    onNextModalOf<QDialog>([&](QDialog* dialog) {
        fill(dialog, QStringLiteral("Lab"), QStringLiteral("10.0.0.1"), 1, m_folder->path());
        pressOk(dialog);
    });
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot write")));
    QTest::mouseClick(button(window, "buttonNew"), Qt::LeftButton);
    QCOMPARE(rows(window), QStringList{"Lab"});
    QCOMPARE(popups.shown, 0);
}

void tst_LauncherWindow::hostileNames()
{
    // Names from a hand-edited store: as long as 10,000 characters, or markup.
    const QString longName(10000, QLatin1Char('W'));
    const QString markup = QStringLiteral("<b>Lab</b><img src=x>");
    LauncherStore::seed({{longName, QStringLiteral("fe80::1:60001"), m_folder->path()},
                         {markup, QStringLiteral("fe80::2:60001"), m_folder->path()}});
    MainWindow window;
    window.resize(640, 480);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(rows(window), (QStringList{longName, markup}));
    QCOMPARE(list(window)->textElideMode(), Qt::ElideRight);

    // The launch message for the markup row shows the name as text, cut short.
    ShownMessage shown;
    Qt::TextFormat format = Qt::AutoText;
    onNextModalOf<QMessageBox>([&](QMessageBox* box) {
        shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        format = box->textFormat();
        box->accept();
    });
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The connection")));
    QTest::mouseClick(button(window, "buttonLaunch"), Qt::LeftButton);
    QCOMPARE(format, Qt::PlainText);
    QVERIFY2(shown.text.startsWith(QStringLiteral("The connection \"<b>Lab</b><img src=x>\"")),
             qPrintable(shown.text));

    list(window)->setCurrentRow(0);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The connection")));
    answerNextMessage(shown);
    QTest::mouseClick(button(window, "buttonLaunch"), Qt::LeftButton);
    QVERIFY2(shown.text.contains(QStringLiteral("WWW\u2026\"")), qPrintable(shown.text.left(300)));
    QVERIFY(shown.text.size() < 200);
}

void tst_LauncherWindow::screenshot()
{
    LauncherStore::seed({kTwo.at(0),
                         kTwo.at(1),
                         {QStringLiteral("Roof station"), QStringLiteral("10.20.30.40:49999"),
                          QStringLiteral("/data")}});
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString path =
        TestSupport::saveScreenshot(&window, QStringLiteral("launcher_mainwindow"));
    QVERIFY(QFile::exists(path));
    // Looked at as the panel's screens are: nothing cut, outside or overlapping.
    const QStringList findings = TestSupport::screenFindings(&window);
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

void tst_LauncherWindow::germanWindowsShowEveryText()
{
    // The launcher in German, as LANG=de_DE.UTF-8 starts it: its window and
    // its connection form show every text whole.
    Q_INIT_RESOURCE(marlomax_launcher);
    QVERIFY(setLanguage(QStringLiteral("marlomax-launcher"), QStringLiteral("de")));
    const auto english =
        qScopeGuard([] { setLanguage(QStringLiteral("marlomax-launcher"), QStringLiteral("en")); });
    LauncherStore::seed(kTwo);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(button(window, "buttonLaunch")->text(), QStringLiteral("Starten"));
    TestSupport::saveScreenshot(&window, QStringLiteral("launcher_mainwindow_de"));
    QStringList findings = TestSupport::screenFindings(&window);
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));

    ConnectionSettingsDialog dialog(&window, &kTwo.at(0));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Verbindung"));
    findings = TestSupport::cutTexts(&dialog);
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_LauncherWindow)
#include "tst_launcherwindow.moc"
