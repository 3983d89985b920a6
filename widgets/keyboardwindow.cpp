#include "widgets/keyboardwindow.h"

#include "ui_keyboardwindow.h"

#include <QSignalMapper>

namespace {
// Keys beyond the ten digits, as the signal mapper numbers them.
constexpr int ClearKey = 10;
constexpr int PointKey = 11;
constexpr int SignKey = 12;
} // namespace

KeyboardWindow::KeyboardWindow(QWidget* parent)
    : QWidget(parent), ui(new Ui::KeyboardWindow), m_mapper(new QSignalMapper(this))
{
    ui->setupUi(this);

    // Listed in the order of the values the keys send: the digits, then C, point and sign.
    const QList<QPushButton*> keys = {ui->pushButton_0,        ui->pushButton_1, ui->pushButton_2,
                                      ui->pushButton_3,        ui->pushButton_4, ui->pushButton_5,
                                      ui->pushButton_6,        ui->pushButton_7, ui->pushButton_8,
                                      ui->pushButton_9,        ui->pushButton_C, ui->pushButton_Dot,
                                      ui->pushButton_PlusMinus};
    for (int value = 0; value < keys.size(); ++value) {
        m_mapper->setMapping(keys.at(value), value);
        connect(keys.at(value), &QPushButton::clicked, m_mapper, qOverload<>(&QSignalMapper::map));
    }
    connect(m_mapper, &QSignalMapper::mappedInt, this, &KeyboardWindow::digit_Pressed);

    connect(ui->pushButton_OK, &QPushButton::clicked, this, &KeyboardWindow::OK_Pressed);
    connect(ui->pushButton_Cancel, &QPushButton::clicked, this, &KeyboardWindow::Cancel_Pressed);
}

KeyboardWindow::~KeyboardWindow()
{
    delete ui;
}

void KeyboardWindow::setLabel(const QString& text)
{
    ui->label->setText(text);
}

QString KeyboardWindow::getLine()
{
    return ui->lineEdit->text();
}

void KeyboardWindow::clearLine()
{
    ui->lineEdit->clear();
}

void KeyboardWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A hardware keyboard, when one is plugged in, types straight into the value.
    ui->lineEdit->setFocus();
}

void KeyboardWindow::digit_Pressed(int key)
{
    if (key >= 0 && key <= 9) {
        ui->lineEdit->insert(QString::number(key));
    } else if (key == ClearKey) {
        ui->lineEdit->setText(QString());
    } else if (key == PointKey) {
        ui->lineEdit->insert(QStringLiteral("."));
    } else if (key == SignKey) {
        QString text = ui->lineEdit->text();
        if (text.startsWith(QLatin1Char('-')))
            text.remove(QLatin1Char('-'));
        else
            text.insert(0, QLatin1Char('-'));
        ui->lineEdit->setText(text);
    }
}

void KeyboardWindow::OK_Pressed()
{
    emit accepted(true);
}

void KeyboardWindow::Cancel_Pressed()
{
    emit accepted(false);
}

void KeyboardWindow::on_lineEdit_returnPressed()
{
    emit accepted(true);
}
