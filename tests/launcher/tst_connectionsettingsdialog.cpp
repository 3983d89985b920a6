// The connection form on its own: what a new and an existing connection show,
// the entry it yields per channel, the order of its refusals and Browse.
#include "launcher/connectionsettingsdialog.h"
#include "launcher/mainwindow.h"
#include "launchertestsupport.h"
#include "support/screencheck.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class tst_ConnectionSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newConnectionFields();
    void existingConnectionFields_data();
    void existingConnectionFields();
    void entryPerChannel_data();
    void entryPerChannel();
    void validation_data();
    void validation();
    void cancelSkipsChecks();
    void browse_data();
    void browse();
    void screenshot();

private:
    std::unique_ptr<LauncherStore> m_store;
};

namespace {

struct Fields
{
    QLineEdit* nickname;
    QLineEdit* address;
    QComboBox* channel;
    QLineEdit* storage;
};

Fields fieldsOf(const QDialog& dialog)
{
    return {dialog.findChild<QLineEdit*>(QStringLiteral("lineNickname")),
            dialog.findChild<QLineEdit*>(QStringLiteral("lineAddress")),
            dialog.findChild<QComboBox*>(QStringLiteral("comboChannel")),
            dialog.findChild<QLineEdit*>(QStringLiteral("lineStorage"))};
}

QPushButton* okButton(const QDialog& dialog)
{
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

} // namespace

void tst_ConnectionSettingsDialog::init()
{
    m_store = std::make_unique<LauncherStore>();
}

void tst_ConnectionSettingsDialog::cleanup()
{
    m_store.reset();
}

void tst_ConnectionSettingsDialog::newConnectionFields()
{
    ConnectionSettingsDialog dialog(nullptr, nullptr);
    const Fields f = fieldsOf(dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Connection Settings"));
    QCOMPARE(dialog.size(), QSize(453, 332));
    QCOMPARE(f.nickname->text(), QString());
    QCOMPARE(f.address->text(), QString());
    QCOMPARE(f.channel->currentText(), QStringLiteral("(None)"));
    QStringList items;
    for (int i = 0; i < f.channel->count(); ++i)
        items << f.channel->itemText(i);
    QCOMPARE(items, (QStringList{"(None)", "1", "2", "3", "4"}));
    QCOMPARE(f.storage->text(), QDir::toNativeSeparators(m_store->home()));
}

void tst_ConnectionSettingsDialog::existingConnectionFields_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("channel");

    QTest::newRow("channel 1") << "192.168.1.20:60001"
                               << "192.168.1.20"
                               << "1";
    QTest::newRow("channel 4") << "10.0.0.7:60004"
                               << "10.0.0.7"
                               << "4";
    QTest::newRow("port of no channel") << "10.0.0.7:4321"
                                        << "10.0.0.7"
                                        << "(None)";
    QTest::newRow("port 49999") << "10.0.0.7:49999"
                                << "10.0.0.7"
                                << "(None)";
    QTest::newRow("no port after colon") << "10.0.0.7:"
                                         << "10.0.0.7"
                                         << "(None)";
    QTest::newRow("no colon") << "10.0.0.7"
                              << "UNKNOWN"
                              << "(None)";
    QTest::newRow("split at the first colon") << "fe80::1:60001"
                                              << "fe80"
                                              << "(None)";
}

void tst_ConnectionSettingsDialog::existingConnectionFields()
{
    QFETCH(QString, connectionString);
    QFETCH(QString, address);
    QFETCH(QString, channel);

    const ConnectionEntry entry{QStringLiteral("Lab"), connectionString, QStringLiteral("/a/b")};
    ConnectionSettingsDialog dialog(nullptr, &entry);
    const Fields f = fieldsOf(dialog);
    QCOMPARE(f.nickname->text(), QStringLiteral("Lab"));
    QCOMPARE(f.address->text(), address);
    QCOMPARE(f.channel->currentText(), channel);
    QCOMPARE(f.storage->text(), QStringLiteral("/a/b"));
}

void tst_ConnectionSettingsDialog::entryPerChannel_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("connectionString");

    QTest::newRow("(None)") << 0 << "10.1.2.3:49999";
    QTest::newRow("1") << 1 << "10.1.2.3:60001";
    QTest::newRow("2") << 2 << "10.1.2.3:60002";
    QTest::newRow("3") << 3 << "10.1.2.3:60003";
    QTest::newRow("4") << 4 << "10.1.2.3:60004";
}

void tst_ConnectionSettingsDialog::entryPerChannel()
{
    QFETCH(int, channel);
    QFETCH(QString, connectionString);

    ConnectionSettingsDialog dialog(nullptr, nullptr);
    const Fields f = fieldsOf(dialog);
    f.nickname->setText(QStringLiteral("Lab"));
    f.address->setText(QStringLiteral("10.1.2.3"));
    f.channel->setCurrentIndex(channel);
    f.storage->setText(QStringLiteral("typed/with/forward/slashes"));
    QCOMPARE(dialog.entry(),
             (ConnectionEntry{"Lab", connectionString, "typed/with/forward/slashes"}));
}

void tst_ConnectionSettingsDialog::validation_data()
{
    QTest::addColumn<QString>("nickname");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("storage");
    QTest::addColumn<QString>("message");

    const QString folder = QStringLiteral("<folder>");
    const QString missing = QStringLiteral("/no/such/folder");
    // Each row breaks everything from its field on, so the order shows.
    QTest::newRow("empty nickname") << ""
                                    << "analyzer.local" << missing << "Please specify a nickname";
    const QString shape = QStringLiteral("IP address is invalid: enter four numbers from 0 to 255 "
                                         "separated by dots, for example 192.168.1.20");
    QTest::newRow("host name") << "Lab"
                               << "analyzer.local" << missing << shape;
    QTest::newRow("empty address") << "Lab"
                                   << "" << missing << shape;
    QTest::newRow("address with port") << "Lab"
                                       << "10.0.0.7:60001" << folder << shape;
    // Forms the panel's connection would read as another address.
    QTest::newRow("leading zeros (octal)")
        << "Lab"
        << "192.168.001.020" << folder << "IP address is invalid: write 001 without leading zeros";
    QTest::newRow("leading zero in the first number")
        << "Lab"
        << "010.0.0.1" << folder << "IP address is invalid: write 010 without leading zeros";
    QTest::newRow("two numbers") << "Lab"
                                 << "10.1" << folder << shape;
    QTest::newRow("one number") << "Lab"
                                << "3232235777" << folder << shape;
    QTest::newRow("above 255") << "Lab"
                               << "192.168.1.256" << folder
                               << "IP address is invalid: 256 is more than 255";
    QTest::newRow("hexadecimal") << "Lab"
                                 << "0x0a.0.0.1" << folder << shape;
    QTest::newRow("IPv6 literal")
        << "Lab"
        << "fe80::1" << missing << "IPv6 addresses are not supported, please enter an IPv4 address";
    QTest::newRow("IPv4-mapped IPv6")
        << "Lab"
        << "::ffff:10.0.0.7" << folder
        << "IPv6 addresses are not supported, please enter an IPv4 address";
    QTest::newRow("missing folder") << "Lab"
                                    << "10.0.0.7" << missing << "Storage location does not exist";
    QTest::newRow("empty folder") << "Lab"
                                  << "10.0.0.7"
                                  << ""
                                  << "Storage location does not exist";
    QTest::newRow("a file, not a folder") << "Lab"
                                          << "10.0.0.7"
                                          << "<file>"
                                          << "Storage location does not exist";
    QTest::newRow("all usable") << "Lab"
                                << "10.0.0.7" << folder << "";
    QTest::newRow("zeros and 255 are numbers too") << "Lab"
                                                   << "0.10.100.255" << folder << "";
    QTest::newRow("spaces around are trimmed") << "Lab"
                                               << " 192.168.1.20 " << folder << "";
}

void tst_ConnectionSettingsDialog::validation()
{
    QFETCH(QString, nickname);
    QFETCH(QString, address);
    QFETCH(QString, storage);
    QFETCH(QString, message);

    QTemporaryDir dir;
    if (storage == QLatin1String("<folder>"))
        storage = dir.path();
    if (storage == QLatin1String("<file>")) {
        storage = dir.filePath(QStringLiteral("plain-file"));
        QFile file(storage);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    ConnectionSettingsDialog dialog(nullptr, nullptr);
    const Fields f = fieldsOf(dialog);
    f.nickname->setText(nickname);
    f.address->setText(address);
    f.storage->setText(storage);
    dialog.show();

    ShownMessage shown;
    if (!message.isEmpty())
        answerNextMessage(shown);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);

    if (message.isEmpty()) {
        QCOMPARE(accepted.count(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.entry().connectionString, address.trimmed() + QStringLiteral(":49999"));
        return;
    }
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.icon, QMessageBox::Critical);
    QCOMPARE(accepted.count(), 0);
    QVERIFY(dialog.isVisible());
    QCOMPARE(f.nickname->text(), nickname);
}

void tst_ConnectionSettingsDialog::cancelSkipsChecks()
{
    ConnectionSettingsDialog dialog(nullptr, nullptr);
    dialog.show();
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                      Qt::LeftButton);
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_ConnectionSettingsDialog::browse_data()
{
    QTest::addColumn<bool>("currentExists");
    QTest::addColumn<bool>("choose");

    QTest::newRow("from the current folder, chosen") << true << true;
    QTest::newRow("from home when the field is no folder, chosen") << false << true;
    QTest::newRow("cancelled keeps the field") << true << false;
}

void tst_ConnectionSettingsDialog::browse()
{
    QFETCH(bool, currentExists);
    QFETCH(bool, choose);

    QTemporaryDir current;
    QTemporaryDir target;
    const QString typed = currentExists ? current.path() : QStringLiteral("/no/such/folder");
    ConnectionSettingsDialog dialog(nullptr, nullptr);
    const Fields f = fieldsOf(dialog);
    f.storage->setText(typed);
    dialog.show();

    QString title;
    QString startFolder;
    onNextModalOf<QFileDialog>([&](QFileDialog* chooser) {
        title = chooser->windowTitle();
        startFolder = chooser->directory().absolutePath();
        if (!choose) {
            chooser->reject();
            return;
        }
        chooser->setDirectory(target.path());
        chooser->selectFile(target.path());
        static_cast<QDialog*>(chooser)->accept();
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("buttonBrowse")),
                      Qt::LeftButton);

    QCOMPARE(title, QStringLiteral("Select folder"));
    QCOMPARE(startFolder, QDir(currentExists ? current.path() : m_store->home()).absolutePath());
    QCOMPARE(f.storage->text(), choose ? QDir::toNativeSeparators(target.path()) : typed);
}

void tst_ConnectionSettingsDialog::screenshot()
{
    const ConnectionEntry entry{QStringLiteral("Lab analyzer"),
                                QStringLiteral("192.168.1.20:60002"),
                                QStringLiteral("/home/operator/analyzer-data")};
    // Opened by the launcher's window, as the program opens it, in its look.
    MainWindow window;
    ConnectionSettingsDialog dialog(&window, &entry);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList findings = TestSupport::lookAt(&dialog, QStringLiteral("launcher_dialog"));
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_ConnectionSettingsDialog)
#include "tst_connectionsettingsdialog.moc"
