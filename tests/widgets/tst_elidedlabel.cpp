// The label for names from the analyzer: whole while it fits, shortened with
// "…" to its room when it does not, back to whole when the room grows, and
// never asking its layout for less than the name's first characters.
#include "support/screencheck.h"
#include "widgets/elidedlabel.h"

#include <QHBoxLayout>
#include <QtTest>

namespace {
const QChar kEllipsis(0x2026);
const QString kLongFormula = QStringLiteral("H2O in N2 ").repeated(20);
} // namespace

class tst_ElidedLabel : public QObject
{
    Q_OBJECT

private slots:
    void wholeUntilLaidOut();
    void elidesToItsRoomAndBack();
    void framedLabelKeepsItsIndent();
    void plainTextIsNeverMarkup();
    void keepsTheFirstCharactersInALayout();
};

void tst_ElidedLabel::wholeUntilLaidOut()
{
    ElidedLabel label;
    QVERIFY(label.setServerText(kLongFormula, ServerText::Formula));
    QVERIFY(!label.setServerText(kLongFormula, ServerText::Formula)); // the same text again
    QCOMPARE(label.text(), subscriptDigits(kLongFormula));
    QCOMPARE(label.fullText(), kLongFormula);
    QCOMPARE(label.textFormat(), Qt::RichText);
}

void tst_ElidedLabel::elidesToItsRoomAndBack()
{
    QWidget window;
    window.resize(300, 60);
    auto* label = new ElidedLabel(&window);
    label->setGeometry(10, 10, 150, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    label->setServerText(kLongFormula, ServerText::Formula);
    QVERIFY(label->text().startsWith(QStringLiteral("H<sub>2</sub>O in")));
    QVERIFY(label->text().endsWith(kEllipsis));
    QCOMPARE(TestSupport::cutTexts(&window), QStringList());
    QCOMPARE(label->fullText(), kLongFormula);

    label->setServerText(QStringLiteral("CO2"), ServerText::Formula);
    QCOMPARE(label->text(), QStringLiteral("CO<sub>2</sub>"));
    label->setServerText(kLongFormula, ServerText::Formula);
    const QString narrow = label->text();
    label->resize(280, 40);
    QVERIFY(label->text().size() > narrow.size());
    QVERIFY(label->text().endsWith(kEllipsis));
    QCOMPARE(TestSupport::cutTexts(&window), QStringList());
}

void tst_ElidedLabel::framedLabelKeepsItsIndent()
{
    // A frame (or a style sheet's box) makes QLabel indent its text; the
    // shortened text still fits beside the indent.
    QWidget window;
    window.resize(300, 60);
    auto* label = new ElidedLabel(&window);
    label->setFrameStyle(QFrame::Box);
    label->setStyleSheet(QStringLiteral("padding: 2px;"));
    label->setGeometry(10, 10, 200, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    label->setServerText(QStringLiteral("VIREO H2O TRACE UNIT WITH A NAME LONGER THAN ITS BAR"),
                         ServerText::Plain);
    QVERIFY(label->text().endsWith(kEllipsis));
    QCOMPARE(TestSupport::cutTexts(&window), QStringList());
}

void tst_ElidedLabel::plainTextIsNeverMarkup()
{
    ElidedLabel label;
    label.setServerText(QStringLiteral("<b>VIREO</b>"), ServerText::Plain);
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QCOMPARE(label.text(), QStringLiteral("<b>VIREO</b>"));
}

void tst_ElidedLabel::keepsTheFirstCharactersInALayout()
{
    // Two long names share a row: each keeps its first five characters.
    QWidget window;
    window.resize(260, 60);
    auto* layout = new QHBoxLayout(&window);
    auto* species = new ElidedLabel;
    auto* gas = new ElidedLabel;
    layout->addWidget(species);
    layout->addWidget(gas);
    species->setServerText(kLongFormula, ServerText::Formula);
    gas->setServerText(QStringLiteral("Nitrogen 5.0 carrier"), ServerText::Plain);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(gas->text().startsWith(QStringLiteral("Nitro")));
    QVERIFY(gas->width() >= gas->minimumSizeHint().width());
    QVERIFY(species->text().endsWith(kEllipsis));
    QCOMPARE(TestSupport::cutTexts(&window), QStringList());
    // A short name asks for no less than itself.
    gas->setServerText(QStringLiteral("N2"), ServerText::Formula);
    QCOMPARE(gas->minimumSizeHint().width(), gas->sizeHint().width());
}

QTEST_MAIN(tst_ElidedLabel)
#include "tst_elidedlabel.moc"
