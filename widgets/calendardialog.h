// The date picker popup: a calendar with OK and Cancel. The owner connects the
// dialog's accepted and rejected signals and reads the date as text.
#pragma once

#include <QDate>
#include <QDialog>

namespace Ui {
class CalendarDialog;
}
class QCalendarWidget;

class CalendarDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CalendarDialog(QWidget* parent = nullptr);
    ~CalendarDialog() override;

    /// Remembers the calendar's selected date and returns it as "yyyy-MM-dd".
    QString selectedDateText();
    /// Shows the current month with today selected (the operator cancelled).
    void selectToday();
    void setSelectedDate(const QDate& date);

private:
    Ui::CalendarDialog* ui;
    QCalendarWidget* m_calendar;
    QDate m_selectedDate;
    QString m_selectedDateText;
};
