// The event journal page, reached by tapping the status badge on the title
// bar: what happened to the analyzer and the panel, newest first, of this
// panel's analyzer or of all analyzers that shared the journal, narrowed to
// one kind of event and to a range of days picked on the calendar popup
// ("what happened between Monday and Wednesday"), and exported to CSV in the
// storage folder as journal_<serial>_<yyyy-MM-dd_HHmmss>.csv. It polls
// nothing: the journal is the panel's own.
#pragma once

#include "base/eventjournal.h"

#include <QWidget>

class CalendarDialog;
class FileManager;
class JournalModel;
class QLineEdit;

namespace Ui {
class JournalWindow;
}

class JournalWindow : public QWidget
{
    Q_OBJECT

public:
    /// journal may be null or closed (the page then says so); the file
    /// manager gives the serial number for the export's name.
    JournalWindow(EventJournal* journal, FileManager* fileManager, QWidget* parent);
    ~JournalWindow() override;

    JournalModel* model() const { return m_model; }
    /// The calendar popup both dates are picked with (for tests).
    CalendarDialog* calendar() const { return m_calendar; }

signals:
    /// The operator closed the page: back to where the badge was tapped.
    void closed();

public slots:
    /// Reads the list again; the dates not picked by the operator follow the
    /// journal (from its oldest day up to today).
    void refresh();

private slots:
    void closeClicked();
    void kindChanged(int index);
    void analyzerChanged(int index);
    void exportClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void pickDate(QLineEdit* field);
    void applyFilter();
    /// Names this panel's analyzer in the analyzer filter.
    void nameAnalyzer();

    Ui::JournalWindow* ui;
    EventJournal* m_journal;
    FileManager* m_fileManager;
    JournalModel* m_model;
    CalendarDialog* m_calendar;
    bool m_fromPicked = false;
    bool m_toPicked = false;
};
