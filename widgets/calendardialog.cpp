#include "widgets/calendardialog.h"

#include "ui_calendardialog.h"

#include <QCalendarWidget>
#include <QGridLayout>

CalendarDialog::CalendarDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::CalendarDialog), m_calendar(new QCalendarWidget)
{
    ui->setupUi(this);
    auto* layout = new QGridLayout(ui->widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_calendar, 0, 0);
    m_selectedDate = m_calendar->selectedDate();
}

CalendarDialog::~CalendarDialog()
{
    delete ui;
}

QString CalendarDialog::selectedDateText()
{
    m_selectedDate = m_calendar->selectedDate();
    m_selectedDateText = m_selectedDate.toString(QStringLiteral("yyyy-MM-dd"));
    return m_selectedDateText;
}

void CalendarDialog::selectToday()
{
    const QDate today = QDate::currentDate();
    m_calendar->setCurrentPage(today.year(), today.month());
    m_calendar->setSelectedDate(today);
}

void CalendarDialog::setSelectedDate(const QDate& date)
{
    m_calendar->setSelectedDate(date);
}
