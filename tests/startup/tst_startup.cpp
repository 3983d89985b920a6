// Start-up: the command line (in process and through the real program), the
// frame window and the compiled-in resources.
#include "app/appsetup.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "base/globals.h"
#include "support/testsupport.h"

#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QProcess>
#include <QStatusBar>
#include <QtTest>

namespace {
/// The environment the panel program runs in here: this one's, offscreen, with its own HOME.
QProcessEnvironment panelEnvironment(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}
} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void wrongArgumentCountExits_data();
    void wrongArgumentCountExits();
    void fourArgumentsSetTheValues();
    void fixedNamesAndDefaults();
    void frameWindow();
    void resources();
    void programFolderGoesLastOnPath();
    void languageFollowsTheSystem_data();
    void languageFollowsTheSystem();
};

void tst_Startup::wrongArgumentCountExits_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList();
    QTest::newRow("two") << QStringList{"127.0.0.1", "49999"};
    QTest::newRow("four") << QStringList{"127.0.0.1", "49999", "/tmp", "extra"};
}

void tst_Startup::wrongArgumentCountExits()
{
    QFETCH(QStringList, arguments);
    TestSupport::IsolatedHome home;
    QProcess panel;
    QProcessEnvironment env = panelEnvironment(home.path());
    panel.setProcessEnvironment(env);
    panel.start(TestSupport::binDir() + QStringLiteral("/marlomax"), arguments);
    QVERIFY2(panel.waitForStarted(), qPrintable(panel.errorString()));
    // It ends on its own before any window exists; a shown window would keep it running.
    QVERIFY(panel.waitForFinished(10000));
    QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(panel.exitCode(), 1);

    // Logged before any log server connection, so it lands in GUI.log.
    QFile log(home.path() + QStringLiteral("/GUI.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains(" Debug: expected four arguments\n"));
}

void tst_Startup::fourArgumentsSetTheValues()
{
    QVERIFY(parseCommandLine({"marlomax", "192.168.1.20", "4321", "C:/data"}));
    QCOMPARE(connectionString(), QStringLiteral("192.168.1.20:4321"));
    QCOMPARE(devicePath(), QStringLiteral("C:/data"));
    QCOMPARE(mountPoint(), QStringLiteral("C:/data"));
    QVERIFY(isRemote());

    QTest::ignoreMessage(QtDebugMsg, "expected four arguments");
    QVERIFY(!parseCommandLine({"marlomax", "10.0.0.1", "1"}));
    QCOMPARE(connectionString(), QStringLiteral("192.168.1.20:4321")); // untouched on failure
}

void tst_Startup::fixedNamesAndDefaults()
{
    QCOMPARE(settingsFileName(), QStringLiteral("settings.db"));
    QCOMPARE(trendFileName(), QStringLiteral("trend.db"));
    QCOMPARE(scansFileName(), QStringLiteral("scans.db"));
    QCOMPARE(srdaFileName(), QStringLiteral("srda.bin"));
    QCOMPARE(logFileName(), QStringLiteral("vireo.log"));
    QCOMPARE(logRequestPath(), QStringLiteral("/tmp/log_request"));
    connectionString() = QStringLiteral("analyzer:1");
    QCOMPARE(connectionString(), QStringLiteral("analyzer:1")); // a modifiable reference
}

void tst_Startup::frameWindow()
{
    TestSupport::IsolatedHome home;
    connectionString() = QStringLiteral("192.168.1.20:4321");
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("192.168.1.20"));
    QCOMPARE(window.minimumSize(), QSize(640, 480));
    QCOMPARE(window.maximumSize(), QSize(640, 480));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Orvalis"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("VireoGUI"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.statusBar()->isHidden());
}

void tst_Startup::resources()
{
    QFile sheet(QStringLiteral(":/styles/application.qss"));
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    // The font first; then the list highlight and drop-down lists that read at 4.5:1.
    QVERIFY(sheet.readAll().startsWith("* { font-family: \"DejaVu Sans\"}"));

    const int font = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/DejaVuSans.ttf"));
    QVERIFY(font >= 0);
    QVERIFY(QFontDatabase::applicationFontFamilies(font).contains(QStringLiteral("DejaVu Sans")));

    QVERIFY(!QIcon(QStringLiteral(":/images/marlomax.ico")).isNull());
    QVERIFY(!QImage(QStringLiteral(":/images/OK_c.png")).isNull());
    QVERIFY(!QImage(QStringLiteral(":/images/Cross.bmp")).isNull());
}

void tst_Startup::programFolderGoesLastOnPath()
{
    QCOMPARE(programFolder(QStringLiteral("/usr/bin")), QStringLiteral("/usr/lib/marlomax"));
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("lib/marlomax")));
    const QString folder = programFolder(prefix.path() + QStringLiteral("/bin"));
    const QByteArray entry = folder.toLocal8Bit();

    // After the instrument's own folders, so its programs of the same name win.
    QCOMPARE(pathWithProgramFolder("/usr/bin:/bin", folder), "/usr/bin:/bin:" + entry);
    QCOMPARE(pathWithProgramFolder("/usr/bin:" + entry, folder), "/usr/bin:" + entry);
    QVERIFY(pathWithProgramFolder("", folder).startsWith("/"));
    QVERIFY(pathWithProgramFolder("", folder).endsWith(":" + entry));
    // A build tree has no such folder: PATH stays as it was.
    QCOMPARE(pathWithProgramFolder("/usr/bin", prefix.path() + QStringLiteral("/lib/none")),
             QByteArray("/usr/bin"));
}

void tst_Startup::languageFollowsTheSystem_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("language"); // LANGUAGE, where the launcher puts its choice
    QTest::addColumn<QString>("chosen");
    QTest::newRow("C locale") << "C"
                              << ""
                              << "en";
    QTest::newRow("German locale") << "de_DE.UTF-8"
                                   << ""
                                   << "de";
    QTest::newRow("Austrian locale") << "de_AT.UTF-8"
                                     << ""
                                     << "de";
    QTest::newRow("French locale, no catalogue") << "fr_FR.UTF-8"
                                                 << ""
                                                 << "en";
    QTest::newRow("German chosen on an English system") << "en_US.UTF-8"
                                                        << "de"
                                                        << "de";
    QTest::newRow("English chosen on a German system") << "de_DE.UTF-8"
                                                       << "en"
                                                       << "en";
    QTest::newRow("French before German") << "C"
                                          << "fr:de"
                                          << "de";
    QTest::newRow("English before German") << "C"
                                           << "en:de"
                                           << "en";
}

void tst_Startup::languageFollowsTheSystem()
{
    QFETCH(QString, lang);
    QFETCH(QString, language);
    QFETCH(QString, chosen);
    TestSupport::IsolatedHome home;
    QProcess panel;
    QProcessEnvironment env = panelEnvironment(home.path());
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LANG"), lang);
    if (!language.isEmpty())
        env.insert(QStringLiteral("LANGUAGE"), language);
    panel.setProcessEnvironment(env);
    // Without arguments it ends at once, after choosing its language.
    panel.start(TestSupport::binDir() + QStringLiteral("/marlomax"), QStringList());
    QVERIFY(panel.waitForFinished(10000));
    QCOMPARE(panel.exitCode(), 1);
    QFile log(home.path() + QStringLiteral("/GUI.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray lines = log.readAll();
    QVERIFY2(lines.contains(" Debug: Language: " + chosen.toLatin1() + '\n'), lines.constData());
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
