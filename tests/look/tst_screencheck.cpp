// The screen checks themselves, on small windows built to show each fault
// once and once not: a check that finds nothing must be one that could.
#include "support/screencheck.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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

QTEST_MAIN(tst_ScreenCheck)
#include "tst_screencheck.moc"
