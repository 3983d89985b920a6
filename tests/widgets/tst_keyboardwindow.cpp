// The numeric keypad page: what each key does to the typed text, the OK,
// return and Cancel answers, and the focus the line edit takes when shown.
#include "support/screencheck.h"
#include "support/testsupport.h"
#include "widgets/keyboardwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

class tst_KeyboardWindow : public QObject
{
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void typesAtTheCursor();
    void ignoresUnknownKeys();
    void answers_data();
    void answers();
    void clearThenOkAnswersWithEmptyLine();
    void promptAndLine();
    void focusOnEveryShow();
    void screenshot();

private:
    static void press(KeyboardWindow& keypad, const QString& key);
};

void tst_KeyboardWindow::press(KeyboardWindow& keypad, const QString& key)
{
    auto* button = keypad.findChild<QPushButton*>(QStringLiteral("pushButton_") + key);
    QVERIFY2(button, qPrintable(key));
    QTest::mouseClick(button, Qt::LeftButton);
}

void tst_KeyboardWindow::keys_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("expected");

    const QStringList value = {"1", "2", "Dot", "5"};
    QTest::newRow("every digit in order")
        << QString() << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}
        << "0123456789";
    QTest::newRow("digits and point") << QString() << value << "12.5";
    QTest::newRow("sign makes it negative")
        << QString() << value + QStringList{"PlusMinus"} << "-12.5";
    QTest::newRow("sign twice restores it")
        << QString() << value + QStringList{"PlusMinus", "PlusMinus"} << "12.5";
    QTest::newRow("sign on an empty line") << QString() << QStringList{"PlusMinus"} << "-";
    QTest::newRow("sign removes every minus") << "--1-2" << QStringList{"PlusMinus"} << "12";
    QTest::newRow("inner minus is no sign") << "1-2" << QStringList{"PlusMinus"} << "-1-2";
    QTest::newRow("C clears") << "-12.5" << QStringList{"C"} << "";
    QTest::newRow("typing after C") << "99" << QStringList{"C", "7"} << "7";
    QTest::newRow("point is not validated") << "1.5" << QStringList{"Dot", "Dot"} << "1.5..";
}

void tst_KeyboardWindow::keys()
{
    QFETCH(QString, start);
    QFETCH(QStringList, keys);
    QFETCH(QString, expected);

    KeyboardWindow keypad;
    keypad.findChild<QLineEdit*>(QStringLiteral("lineEdit"))->setText(start);
    for (const QString& key : keys)
        press(keypad, key);
    QCOMPARE(keypad.getLine(), expected);
}

void tst_KeyboardWindow::typesAtTheCursor()
{
    KeyboardWindow keypad;
    auto* line = keypad.findChild<QLineEdit*>(QStringLiteral("lineEdit"));
    line->setText(QStringLiteral("15"));
    line->setCursorPosition(1);
    press(keypad, QStringLiteral("2"));
    press(keypad, QStringLiteral("Dot"));
    QCOMPARE(keypad.getLine(), QStringLiteral("12.5"));
}

void tst_KeyboardWindow::ignoresUnknownKeys()
{
    KeyboardWindow keypad;
    keypad.findChild<QLineEdit*>(QStringLiteral("lineEdit"))->setText(QStringLiteral("4"));
    for (int key : {-1, 13, 100})
        QVERIFY(QMetaObject::invokeMethod(&keypad, "digit_Pressed", Q_ARG(int, key)));
    QCOMPARE(keypad.getLine(), QStringLiteral("4"));
}

void tst_KeyboardWindow::answers_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("expected");

    QTest::newRow("OK button") << "OK" << true;
    QTest::newRow("return key") << "return" << true;
    QTest::newRow("Cancel button") << "Cancel" << false;
}

void tst_KeyboardWindow::answers()
{
    QFETCH(QString, action);
    QFETCH(bool, expected);

    KeyboardWindow keypad;
    QSignalSpy spy(&keypad, &KeyboardWindow::accepted);
    press(keypad, QStringLiteral("3"));
    if (action == QLatin1String("return"))
        QTest::keyClick(keypad.findChild<QLineEdit*>(QStringLiteral("lineEdit")), Qt::Key_Return);
    else
        press(keypad, action);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), expected);
    // The answer leaves the typed text for the controller to read.
    QCOMPARE(keypad.getLine(), QStringLiteral("3"));
}

void tst_KeyboardWindow::clearThenOkAnswersWithEmptyLine()
{
    KeyboardWindow keypad;
    QSignalSpy spy(&keypad, &KeyboardWindow::accepted);
    for (const char* key : {"8", "C", "OK"})
        press(keypad, QString::fromLatin1(key));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QVERIFY(keypad.getLine().isEmpty());
}

void tst_KeyboardWindow::promptAndLine()
{
    KeyboardWindow keypad;
    auto* label = keypad.findChild<QLabel*>(QStringLiteral("label"));
    QCOMPARE(label->text(), QStringLiteral("TextLabel"));
    keypad.setLabel(QStringLiteral("Alarm 1 Setpoint"));
    QCOMPARE(label->text(), QStringLiteral("Alarm 1 Setpoint"));
    press(keypad, QStringLiteral("6"));
    keypad.clearLine();
    QVERIFY(keypad.getLine().isEmpty());
}

void tst_KeyboardWindow::focusOnEveryShow()
{
    // As in the controller: the keypad is one page of a stack among others.
    QStackedWidget stack;
    auto* other = new QLineEdit;
    auto* keypad = new KeyboardWindow;
    stack.addWidget(other);
    stack.addWidget(keypad);
    stack.show();
    QVERIFY(QTest::qWaitForWindowExposed(&stack));
    auto* line = keypad->findChild<QLineEdit*>(QStringLiteral("lineEdit"));

    for (int round = 0; round < 2; ++round) {
        stack.setCurrentWidget(other);
        other->setFocus();
        QCOMPARE(stack.focusWidget(), other);
        stack.setCurrentWidget(keypad);
        QTRY_COMPARE(stack.focusWidget(), line);
    }
}

void tst_KeyboardWindow::screenshot()
{
    KeyboardWindow keypad;
    keypad.resize(634, 474);
    keypad.setLabel(QStringLiteral("Alarm 1 Setpoint"));
    keypad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&keypad));
    for (const char* key : {"1", "2", "Dot", "5", "PlusMinus"})
        press(keypad, QString::fromLatin1(key));
    const QStringList findings = TestSupport::lookAt(&keypad, QStringLiteral("keyboardwindow"));
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_KeyboardWindow)
#include "tst_keyboardwindow.moc"
