// The screen checks themselves, on small windows built to show each fault
// once and once not: a check that finds nothing must be one that could.
#include "support/screencheck.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

/// A shown 300 x 100 window holding one widget at the given place.
struct Window
{
    explicit Window(QWidget* child, const QRect& at = QRect(10, 10, 120, 30))
    {
        window.resize(300, 100);
        child->setParent(&window);
        child->setGeometry(at);
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
    }
    QWidget window;
    bool exposed = false;
};

const QString kLong = QStringLiteral("A text far too long for a hundred and twenty pixels");

} // namespace

class tst_ScreenCheck : public QObject
{
    Q_OBJECT

private slots:
    void cutText_data();
    void cutText();
    void wrappedLabelCutByHeight();
    void tabTextCut();
    void outsideTheWindow();
    void overlapping();
    void pixelsInColour();
    void contrastRatio();
    void lowContrast_data();
    void lowContrast();
};

void tst_ScreenCheck::cutText_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cut");
    QTest::newRow("label fits") << "label"
                                << "Fits" << false;
    QTest::newRow("label cut") << "label" << kLong << true;
    QTest::newRow("rich label fits") << "label"
                                     << "H<sub>2</sub>O" << false;
    QTest::newRow("rich label cut") << "label"
                                    << "<b>" + kLong + "</b>" << true;
    QTest::newRow("button fits") << "button"
                                 << "OK" << false;
    QTest::newRow("button cut") << "button" << kLong << true;
    QTest::newRow("check box fits") << "check box"
                                    << "AL1" << false;
    QTest::newRow("check box cut") << "check box" << kLong << true;
    QTest::newRow("group title cut") << "group" << kLong << true;
}

void tst_ScreenCheck::cutText()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(bool, cut);
    QWidget* widget = nullptr;
    if (kind == QLatin1String("label"))
        widget = new QLabel(text);
    else if (kind == QLatin1String("button"))
        widget = new QPushButton(text);
    else if (kind == QLatin1String("check box"))
        widget = new QCheckBox(text);
    else
        widget = new QGroupBox(text);
    Window window(widget);
    QVERIFY(window.exposed);
    const QStringList found = TestSupport::cutTexts(&window.window);
    QCOMPARE(found.size(), cut ? 1 : 0);
}

void tst_ScreenCheck::wrappedLabelCutByHeight()
{
    auto* label = new QLabel(kLong);
    label->setWordWrap(true);
    Window window(label, QRect(10, 10, 120, 20));
    QVERIFY(TestSupport::cutTexts(&window.window).value(0).contains(QLatin1String("high")));
    label->resize(120, 90);
    QCOMPARE(TestSupport::cutTexts(&window.window), QStringList());
}

void tst_ScreenCheck::tabTextCut()
{
    auto* tabs = new QTabWidget;
    tabs->addTab(new QWidget, QStringLiteral("First"));
    tabs->addTab(new QWidget, kLong);
    Window window(tabs, QRect(0, 0, 300, 100));
    QVERIFY(!TestSupport::cutTexts(&window.window).isEmpty());
    tabs->setTabText(1, QStringLiteral("Second"));
    QCOMPARE(TestSupport::cutTexts(&window.window), QStringList());
}

void tst_ScreenCheck::outsideTheWindow()
{
    auto* label = new QLabel(QStringLiteral("Edge"));
    Window window(label, QRect(250, 10, 60, 30));
    QCOMPARE(TestSupport::widgetsOutsideWindow(&window.window).size(), 1);
    label->move(240, 10);
    QCOMPARE(TestSupport::widgetsOutsideWindow(&window.window), QStringList());
}

void tst_ScreenCheck::overlapping()
{
    auto* value = new QLabel(QStringLiteral("120.0"));
    value->setObjectName(QStringLiteral("value"));
    auto* unit = new QLabel(QStringLiteral("PPBv"));
    unit->setObjectName(QStringLiteral("unit"));
    Window window(value, QRect(10, 10, 60, 30));
    unit->setParent(&window.window);
    unit->setGeometry(60, 10, 60, 30);
    unit->show();
    const QStringList found = TestSupport::overlappingWidgets(&window.window);
    QCOMPARE(found, QStringList{QStringLiteral("value and unit share 10 x 30 px")});
    unit->move(70, 10); // side by side, touching
    QCOMPARE(TestSupport::overlappingWidgets(&window.window), QStringList());
}

void tst_ScreenCheck::pixelsInColour()
{
    QImage background(40, 40, QImage::Format_RGB32);
    background.fill(Qt::white);
    QImage drawn = background;
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor teal(56, 127, 114);
    QColor translucent = teal;
    translucent.setAlpha(80);
    painter.setPen(Qt::NoPen);
    painter.setBrush(translucent);
    painter.drawEllipse(QRectF(5, 5, 10, 10));
    painter.setBrush(QColor(128, 128, 128)); // a grey grid square: not the series
    painter.drawRect(20, 20, 10, 10);
    painter.end();
    const int teals = TestSupport::pixelsDrawnIn(drawn, background, teal);
    QVERIFY2(teals > 60 && teals <= 100, qPrintable(QString::number(teals)));
    QCOMPARE(TestSupport::pixelsDrawnIn(drawn, background, QColor(239, 136, 9)), 0);
    QCOMPARE(TestSupport::pixelsDrawnIn(background, background, teal), 0);
}

void tst_ScreenCheck::contrastRatio()
{
    using TestSupport::contrastRatio;
    QCOMPARE(contrastRatio(Qt::black, Qt::white), 21.0);
    QCOMPARE(contrastRatio(Qt::white, Qt::black), 21.0);
    QCOMPARE(contrastRatio(QColor(242, 242, 242), QColor(242, 242, 242)), 1.0);
    // The grey that just passes on white, and the one just below it.
    QVERIFY(contrastRatio(QColor(118, 118, 118), Qt::white) >= 4.5);
    QVERIFY(contrastRatio(QColor(119, 119, 119), Qt::white) < 4.5);
}

void tst_ScreenCheck::lowContrast_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("styleSheet");
    QTest::addColumn<bool>("low");
    const QString gradient = QStringLiteral(
        "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 %1, stop: 1 %2); "
        "color: white;");
    QTest::newRow("dark label on light grey")
        << "label"
        << "background: rgb(242, 242, 242); color: rgb(31, 45, 58);" << false;
    QTest::newRow("light grey label on light grey")
        << "label"
        << "background: rgb(242, 242, 242); color: rgb(140, 140, 140);" << true;
    QTest::newRow("white label on a gradient ending light")
        << "label" << gradient.arg("#505050", "#A0A0A0") << true;
    QTest::newRow("white label on a dark gradient")
        << "label" << gradient.arg("#303030", "#606060") << false;
    QTest::newRow("white button on orange")
        << "button"
        << "background: rgb(236, 122, 8); color: white; border: none;" << true;
    QTest::newRow("dark button on orange")
        << "button"
        << "background: rgb(236, 122, 8); color: black; border: none;" << false;
    QTest::newRow("disabled faint button: left out")
        << "disabled button"
        << "background: white; color: rgb(200, 200, 200);" << false;
    QTest::newRow("list: white on near white selected")
        << "list"
        << "selection-background-color: rgb(235, 235, 235); selection-color: white;" << true;
    QTest::newRow("list: white on dark blue selected")
        << "list"
        << "selection-background-color: rgb(0, 90, 160); selection-color: white;" << false;
}

void tst_ScreenCheck::lowContrast()
{
    QFETCH(QString, kind);
    QFETCH(QString, styleSheet);
    QFETCH(bool, low);
    QWidget* widget = nullptr;
    QRect at(10, 10, 200, 40);
    if (kind == QLatin1String("label")) {
        widget = new QLabel(QStringLiteral("Unit Name 120.5"));
    } else if (kind.endsWith(QLatin1String("button"))) {
        widget = new QPushButton(QStringLiteral("Journal"));
        widget->setEnabled(kind == QLatin1String("button"));
    } else {
        auto* list = new QListWidget;
        list->addItems({QStringLiteral("Alarms"), QStringLiteral("Modes")});
        widget = list;
        at = QRect(10, 10, 200, 80);
    }
    widget->setObjectName(QStringLiteral("probe"));
    widget->setStyleSheet(styleSheet);
    Window window(widget, at);
    QVERIFY(window.exposed);
    const QStringList found = TestSupport::lowContrastTexts(&window.window);
    QVERIFY2(found.size() == (low ? 1 : 0), qPrintable(found.join('\n')));
    if (low)
        QVERIFY(found.first().startsWith(QLatin1String("probe: ")));
}

QTEST_MAIN(tst_ScreenCheck)
#include "tst_screencheck.moc"
