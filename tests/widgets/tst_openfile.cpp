// The file chooser: which names a folder offers, in which order, stepping
// through them, and what OK and Cancel hand back.
#include "app/appsetup.h"
#include "support/screencheck.h"
#include "support/testsupport.h"
#include "widgets/openfile.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

class tst_OpenFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void listing_data();
    void listing();
    void emptyFolderThenCancel();
    void listingReplacesPrevious();
    void stepping_data();
    void stepping();
    void okChoosesCurrent();
    void screenshot();

private:
    QPushButton* button(const char* name) { return m_dialog->findChild<QPushButton*>(name); }
    QListWidget* list() { return m_dialog->findChild<QListWidget*>(QStringLiteral("_file_list")); }
    QStringList rows();
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<OpenFile> m_dialog;
};

void tst_OpenFile::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    const QDir dir(m_folder->path());
    for (const char* name :
         {"settings_b.db", "Settings_A.db", "settings_c.db", "scans.csv", "trend.db", "a.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(dir.mkdir(QStringLiteral("settings_old.db")));
    m_dialog = std::make_unique<OpenFile>();
}

QStringList tst_OpenFile::rows()
{
    QStringList names;
    for (int row = 0; row < list()->count(); ++row)
        names << list()->item(row)->text();
    return names;
}

void tst_OpenFile::listing_data()
{
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("settings files, any case, sorted without case")
        << QStringList{"settings*.db"}
        << QStringList{"Settings_A.db", "settings_b.db", "settings_c.db"};
    QTest::newRow("several filters")
        << QStringList{"*.csv", "trend*"} << QStringList{"scans.csv", "trend.db"};
    QTest::newRow("everything but folders")
        << QStringList{"*"} << QStringList{"a.txt",         "scans.csv",     "Settings_A.db",
                                           "settings_b.db", "settings_c.db", "trend.db"};
}

void tst_OpenFile::listing()
{
    QFETCH(QStringList, filters);
    QFETCH(QStringList, expected);

    m_dialog->setDirectory(m_folder->path(), filters);
    QCOMPARE(rows(), expected);
    QVERIFY(button("_ok_button")->isEnabled());
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(list()->selectedItems().size(), 1);
    QVERIFY(m_dialog->selectedFile().isEmpty());
}

void tst_OpenFile::emptyFolderThenCancel()
{
    QSignalSpy accepted(m_dialog.get(), &QDialog::accepted);
    QSignalSpy rejected(m_dialog.get(), &QDialog::rejected);
    m_dialog->setDirectory(m_folder->path(), {QStringLiteral("*.xyz")});
    QCOMPARE(list()->count(), 0);
    QVERIFY(!button("_ok_button")->isEnabled());

    // Nothing to choose: OK, even reached past the disabled button, does nothing.
    QVERIFY(QMetaObject::invokeMethod(m_dialog.get(), "on__ok_button_clicked"));
    QCOMPARE(accepted.count(), 0);
    click("_cancel_button");
    QCOMPARE(rejected.count(), 1);
    QVERIFY(m_dialog->selectedFile().isEmpty());
}

void tst_OpenFile::listingReplacesPrevious()
{
    m_dialog->setDirectory(m_folder->path(), {QStringLiteral("settings*.db")});
    m_dialog->setDirectory(m_folder->path(), {QStringLiteral("*.csv")});
    QCOMPARE(rows(), QStringList{QStringLiteral("scans.csv")});
    m_dialog->setDirectory(m_folder->path(), {QStringLiteral("none")});
    QCOMPARE(list()->count(), 0);
    QVERIFY(!button("_ok_button")->isEnabled());
}

void tst_OpenFile::stepping_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QByteArray>("buttonName");
    QTest::addColumn<int>("expected");

    QTest::newRow("down from the first") << 0 << QByteArray("_down_button") << 1;
    QTest::newRow("down on the last stays") << 2 << QByteArray("_down_button") << 2;
    QTest::newRow("up from the last") << 2 << QByteArray("_up_button") << 1;
    QTest::newRow("up on the first stays") << 0 << QByteArray("_up_button") << 0;
}

void tst_OpenFile::stepping()
{
    QFETCH(int, start);
    QFETCH(QByteArray, buttonName);
    QFETCH(int, expected);

    m_dialog->setDirectory(m_folder->path(), {QStringLiteral("settings*.db")});
    list()->setCurrentRow(start);
    click(buttonName.constData());
    QCOMPARE(list()->currentRow(), expected);
    QCOMPARE(list()->selectedItems(), QList<QListWidgetItem*>{list()->item(expected)});
}

void tst_OpenFile::okChoosesCurrent()
{
    m_dialog->setDirectory(m_folder->path(), {QStringLiteral("settings*.db")});
    click("_down_button");
    TestSupport::onNextModal([this](QWidget*) { click("_ok_button"); });
    QCOMPARE(m_dialog->exec(), int(QDialog::Accepted));
    QCOMPARE(m_dialog->selectedFile(), m_folder->path() + QStringLiteral("/settings_b.db"));

    // Cancel afterwards forgets the earlier choice.
    TestSupport::onNextModal([this](QWidget*) { click("_cancel_button"); });
    QCOMPARE(m_dialog->exec(), int(QDialog::Rejected));
    QVERIFY(m_dialog->selectedFile().isEmpty());
}

void tst_OpenFile::screenshot()
{
    // In the panel's own look (style sheet and font), as the operator sees it.
    setUpApplication(*qApp);
    m_dialog->setWindowTitle(QStringLiteral("Select File"));
    m_dialog->setDirectory(m_folder->path(), {QStringLiteral("*")});
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    click("_down_button");
    const QStringList findings = TestSupport::lookAt(m_dialog.get(), QStringLiteral("openfile"));
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_OpenFile)
#include "tst_openfile.moc"
