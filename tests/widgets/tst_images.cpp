// The compiled-in images: every name the screens and style sheets refer to
// loads, the wide buttons fit the popups' icon size, and no two drawings are
// the same picture. Also renders a contact sheet to look at.
#include "support/testsupport.h"
#include "widgets/keyboardwindow.h"
#include "widgets/messagebox.h"
#include "widgets/openfile.h"

#include <QCryptographicHash>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(std::shared_ptr<QWidget>)

class tst_Images : public QObject
{
    Q_OBJECT

private slots:
    void loads_data();
    void loads();
    void sizesTheFormsExpect_data();
    void sizesTheFormsExpect();
    void allDistinct();
    void windowIcon();
    void popupButtonsShowTheirImages_data();
    void popupButtonsShowTheirImages();
    void contactSheet();

private:
    static QStringList names();
};

QStringList tst_Images::names()
{
    return QStringLiteral(MARLOMAX_IMAGE_NAMES).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void tst_Images::loads_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : names())
        QTest::newRow(qPrintable(name)) << name;
}

void tst_Images::loads()
{
    QFETCH(QString, name);
    const QImage image(QStringLiteral(":/images/") + name);
    QVERIFY(!image.isNull());
    // Finger-sized or a status dot; never a stray 1-pixel image.
    QVERIFY(image.width() >= 16 && image.height() >= 16);
    if (name.endsWith(QLatin1String(".bmp"))) {
        QVERIFY(!image.hasAlphaChannel());
    } else {
        // Drawn on a transparent ground: a corner pixel shows the screen behind it.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }
}

void tst_Images::sizesTheFormsExpect_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    // Command buttons sit in 80 x 80 icon boxes (keypad, file chooser) and in
    // 160 x 60 ones (message box): at 80 x 60 they fill both unscaled.
    for (const char* name : {"OK_c.png", "Cancel_c.png", "Delete_c.png", "Next.png"})
        QTest::newRow(name) << QString::fromLatin1(name) << QSize(80, 60);
    for (const char* name : {"0.png", "9.png", "C.png", "Dot.png", "plusminus.png",
                             "Button_Arrow-U.png", "Button_Arrow-D.png"})
        QTest::newRow(name) << QString::fromLatin1(name) << QSize(80, 80);
}

void tst_Images::sizesTheFormsExpect()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QCOMPARE(QImage(QStringLiteral(":/images/") + name).size(), size);
}

void tst_Images::allDistinct()
{
    QHash<QByteArray, QString> seen;
    for (const QString& name : names()) {
        const QImage image =
            QImage(QStringLiteral(":/images/") + name).convertToFormat(QImage::Format_ARGB32);
        const QByteArray digest = QCryptographicHash::hash(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes())),
            QCryptographicHash::Sha1);
        QVERIFY2(!seen.contains(digest),
                 qPrintable(name + QStringLiteral(" looks like ") + seen.value(digest)));
        seen.insert(digest, name);
    }
}

void tst_Images::windowIcon()
{
    const QIcon icon(QStringLiteral(":/images/marlomax.ico"));
    QVERIFY(!icon.isNull());
    QVERIFY(!icon.pixmap(32, 32).isNull());
}

void tst_Images::popupButtonsShowTheirImages_data()
{
    QTest::addColumn<std::shared_ptr<QWidget>>("popup");
    QTest::newRow("keypad") << std::shared_ptr<QWidget>(new KeyboardWindow);
    QTest::newRow("message box") << std::shared_ptr<QWidget>(new MessageBox(nullptr, true));
    QTest::newRow("file chooser") << std::shared_ptr<QWidget>(new OpenFile);
}

void tst_Images::popupButtonsShowTheirImages()
{
    QFETCH(std::shared_ptr<QWidget>, popup);
    const QList<QPushButton*> buttons = popup->findChildren<QPushButton*>();
    QVERIFY(!buttons.isEmpty());
    for (const QPushButton* button : buttons) {
        // A mistyped image path leaves an invisible button behind.
        const QIcon icon = button->icon();
        QVERIFY2(!icon.pixmap(button->iconSize()).isNull(), qPrintable(button->objectName()));
        QVERIFY2(icon.actualSize(button->iconSize()).height() >= 60,
                 qPrintable(button->objectName()));
        QVERIFY(button->text().isEmpty());
        QVERIFY(button->isFlat());
    }
}

void tst_Images::contactSheet()
{
    QWidget sheet;
    auto* grid = new QGridLayout(&sheet);
    const QStringList all = names();
    const int columns = 7;
    for (int i = 0; i < all.size(); ++i) {
        auto* cell = new QWidget;
        auto* layout = new QVBoxLayout(cell);
        auto* picture = new QLabel;
        QPixmap pixmap(QStringLiteral(":/images/") + all.at(i));
        if (pixmap.width() > 200)
            pixmap = pixmap.scaledToWidth(200, Qt::SmoothTransformation);
        picture->setPixmap(pixmap);
        picture->setAlignment(Qt::AlignCenter);
        auto* caption = new QLabel(all.at(i));
        caption->setAlignment(Qt::AlignCenter);
        layout->addWidget(picture, 1);
        layout->addWidget(caption);
        grid->addWidget(cell, i / columns, i % columns);
    }
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    QVERIFY(QFileInfo::exists(TestSupport::saveScreenshot(&sheet, QStringLiteral("images"))));
}

QTEST_MAIN(tst_Images)
#include "tst_images.moc"
