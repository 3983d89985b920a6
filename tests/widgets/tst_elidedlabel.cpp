// The label for every text from the analyzer: whole while it fits, shortened
// with "…" to its room (on one line or a few) when it does not, back to whole
// when the room grows, never asking its layout for less than the text's first
// characters, the panel's prefix never read as markup, a capped text logged
// once.
#include "support/screencheck.h"
#include "widgets/elidedlabel.h"

#include <QHBoxLayout>
#include <QtTest>

namespace {
const QChar kEllipsis(0x2026);
const QString kLongFormula = QStringLiteral("H2O in N2 ").repeated(20);

/// A label at geometry in window, shown; null when the window never shows.
ElidedLabel* shownLabel(QWidget& window, const QRect& geometry)
{
    auto* label = new ElidedLabel(&window);
    label->setGeometry(geometry);
    window.show();
    return QTest::qWaitForWindowExposed(&window) ? label : nullptr;
}
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
    void prefixIsThePanelsOwn();
    void cutOnItsLastLine_data();
    void cutOnItsLastLine();
    void fittedAgainForAnotherFont();
    void cappedTextLoggedOnce();
    void capAtItsExactLength_data();
    void capAtItsExactLength();
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
    ElidedLabel* label = shownLabel(window, {10, 10, 150, 40});
    QVERIFY(label);
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

void tst_ElidedLabel::prefixIsThePanelsOwn()
{
    // The prefix is escaped, never marked up; the formula is the analyzer's.
    ElidedLabel label;
    label.setServerText(QStringLiteral("Gas 2 <&> "), QStringLiteral("<b>N2</b>"),
                        ServerText::Formula);
    QCOMPARE(label.text(), QStringLiteral("Gas 2 &lt;&amp;&gt; &lt;b&gt;N<sub>2</sub>&lt;/b&gt;"));
    QCOMPARE(label.fullText(), QStringLiteral("Gas 2 <&> <b>N2</b>"));
    QVERIFY(!label.setServerText(QStringLiteral("Gas 2 <&> "), QStringLiteral("<b>N2</b>"),
                                 ServerText::Formula));
    // Another prefix is another text.
    QVERIFY(label.setServerText(QStringLiteral("Gas: "), QStringLiteral("<b>N2</b>"),
                                ServerText::Formula));
}

void tst_ElidedLabel::cutOnItsLastLine_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("kind");
    QTest::newRow("one line") << 1 << int(ServerText::Plain);
    QTest::newRow("two lines") << 2 << int(ServerText::Plain);
    QTest::newRow("two lines of a formula") << 2 << int(ServerText::Formula);
    QTest::newRow("three lines") << 3 << int(ServerText::Plain);
}

void tst_ElidedLabel::cutOnItsLastLine()
{
    // Whole lines wrap at word boundaries; only the last is cut.
    QFETCH(int, lines);
    QFETCH(int, kind);
    QWidget window;
    window.resize(300, 120);
    ElidedLabel* label = shownLabel(window, {10, 10, 160, 100});
    QVERIFY(label);
    label->setLines(lines);
    label->setServerText(QStringLiteral("Version: "), kLongFormula, ServerText(kind));
    const QString shown = label->text();
    const QString separator = kind == int(ServerText::Formula) ? "<br>" : "\n";
    QCOMPARE(shown.count(separator), lines - 1);
    QVERIFY2(shown.startsWith(QStringLiteral("Version: H")), qPrintable(shown));
    QVERIFY(shown.endsWith(kEllipsis));
    QVERIFY(!shown.contains(QStringLiteral(" ") + kEllipsis));
    QCOMPARE(TestSupport::cutTexts(&window), QStringList());
    QCOMPARE(label->fullText(), "Version: " + kLongFormula);
    // A text that fits stays on one line, whole.
    label->setServerText(QStringLiteral("Version: "), QStringLiteral("four"), ServerText(kind));
    QCOMPARE(label->text(), QStringLiteral("Version: four"));
}

void tst_ElidedLabel::fittedAgainForAnotherFont()
{
    QWidget window;
    window.resize(300, 60);
    ElidedLabel* label = shownLabel(window, {10, 10, 200, 40});
    QVERIFY(label);
    label->setServerText(QStringLiteral("SN: "), QString(80, QLatin1Char('7')));
    const int small = label->text().size();
    QFont large = label->font();
    large.setPointSize(large.pointSize() * 2);
    label->setFont(large);
    QVERIFY(label->text().size() < small);
    QVERIFY(label->text().startsWith(QStringLiteral("SN: 7")));
    QCOMPARE(TestSupport::cutTexts(&window), QStringList());
}

namespace {
QStringList g_logged;
void recordLog(QtMsgType, const QMessageLogContext&, const QString& text)
{
    g_logged << text;
}
} // namespace

void tst_ElidedLabel::cappedTextLoggedOnce()
{
    // The label shows the cap; the log keeps the whole text, once.
    const QString huge(100000, QLatin1Char('x'));
    ElidedLabel label;
    label.setObjectName(QStringLiteral("nameLabel"));
    g_logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordLog);
    label.setServerText(huge);
    label.setServerText(huge);
    label.show();
    label.resize(100, 30);
    qInstallMessageHandler(previous);
    QCOMPARE(g_logged.size(), 1);
    QVERIFY(g_logged.first().startsWith(
        QStringLiteral("Text from the analyzer cut to 300 characters on nameLabel: xxx")));
    QVERIFY(g_logged.first().endsWith(huge));
    QCOMPARE(label.fullText(), QString(kServerTextLimit, QLatin1Char('x')) + kEllipsis);
}

void tst_ElidedLabel::capAtItsExactLength_data()
{
    // The cap keeps 300 characters; a text no longer than cap and ellipsis
    // loses nothing by staying whole.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    const QString full(300, QLatin1Char('a'));
    const QString pair = QStringLiteral("\U0001F600");
    QTest::newRow("300") << full << full;
    QTest::newRow("301") << full + 'b' << full + 'b';
    QTest::newRow("302") << full + "bc" << full + kEllipsis;
    QTest::newRow("a pair across the cut")
        << full.left(299) + pair + "bc" << full.left(299) + kEllipsis;
}

void tst_ElidedLabel::capAtItsExactLength()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    ElidedLabel label;
    if (kept != text)
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Text from the analyzer cut"));
    label.setServerText(text);
    QCOMPARE(label.fullText(), kept);
}

QTEST_MAIN(tst_ElidedLabel)
#include "tst_elidedlabel.moc"
