#include "screens/journalwindow.h"

#include "files/filemanager.h"
#include "files/storageexport.h"
#include "screens/journalmodel.h"
#include "ui_journalwindow.h"
#include "widgets/calendardialog.h"
#include "widgets/fingerscroll.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
constexpr int kMethodWidth = 100;
} // namespace

JournalWindow::JournalWindow(EventJournal* journal, FileManager* fileManager, QWidget* parent)
    : QWidget(parent), ui(new Ui::JournalWindow), m_journal(journal), m_fileManager(fileManager),
      m_model(new JournalModel(journal && journal->isOpen() ? journal : nullptr, this)),
      // Without a parent, like every popup of the panel: it opens as its own window.
      m_calendar(new CalendarDialog())
{
    ui->setupUi(this);
    ui->journalView->setModel(m_model);
    scrollWithFinger(ui->journalView);
    // Time and kind as wide as their words; what happened takes the rest and
    // wraps onto as many lines as it needs, so nothing is cut off.
    QHeaderView* header = ui->journalView->horizontalHeader();
    header->setSectionResizeMode(JournalModel::TimeColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(JournalModel::AnalyzerColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(JournalModel::KindColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(JournalModel::EventColumn, QHeaderView::Stretch);
    // The method is for the technician: a narrow column, cut short where long.
    header->setSectionResizeMode(JournalModel::MethodColumn, QHeaderView::Fixed);
    header->resizeSection(JournalModel::MethodColumn, kMethodWidth);
    ui->journalView->setTextElideMode(Qt::ElideRight);
    ui->journalView->setWordWrap(true);
    ui->journalView->verticalHeader()->hide();
    ui->journalView->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    // The filter compares keys kept as item data, never the words shown.
    ui->kindComboBox->addItem(tr("All events"), QString());
    for (JournalEvent::Kind kind :
         {JournalEvent::Alarm, JournalEvent::Mode, JournalEvent::Link, JournalEvent::Setting,
          JournalEvent::Procedure, JournalEvent::Transfer, JournalEvent::Panel})
        ui->kindComboBox->addItem(JournalModel::kindText(kind), JournalEvent::kindKey(kind));
    // This analyzer first: a journal two panels share holds the other one's too.
    ui->analyzerComboBox->addItem(QString(), true);
    ui->analyzerComboBox->addItem(tr("All analyzers"), false);

    ui->fromDateLineEdit->installEventFilter(this);
    ui->toDateLineEdit->installEventFilter(this);
    connect(ui->pushButtonClose, &QPushButton::clicked, this, &JournalWindow::closeClicked);
    connect(ui->pushButtonExport, &QPushButton::clicked, this, &JournalWindow::exportClicked);
    connect(ui->kindComboBox, qOverload<int>(&QComboBox::activated), this,
            &JournalWindow::kindChanged);
    connect(ui->analyzerComboBox, qOverload<int>(&QComboBox::activated), this,
            &JournalWindow::analyzerChanged);
    refresh();
}

JournalWindow::~JournalWindow()
{
    delete m_calendar;
    delete ui;
}

void JournalWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void JournalWindow::refresh()
{
    const bool open = m_journal && m_journal->isOpen();
    const QDate today = QDate::currentDate();
    const QDate oldest = open ? m_journal->oldestDate() : QDate();
    if (!m_toPicked)
        ui->toDateLineEdit->setText(today.toString(kDateFormat));
    if (!m_fromPicked)
        ui->fromDateLineEdit->setText((oldest.isValid() ? oldest : today).toString(kDateFormat));
    ui->pushButtonExport->setEnabled(open);
    nameAnalyzer();
    applyFilter();
}

void JournalWindow::nameAnalyzer()
{
    const QString serial = m_journal ? m_journal->serial() : QString();
    const QString address = m_journal ? m_journal->address() : QString();
    // By its serial number, as the rows of every analyzer name it; a long
    // one is cut to the box, and read whole in its tooltip.
    const QString name =
        serial.isEmpty() ? (address.isEmpty() ? tr("This analyzer") : address) : serial;
    ui->analyzerComboBox->setItemText(0, name);
    ui->analyzerComboBox->setItemData(0, name, Qt::ToolTipRole);
    ui->analyzerComboBox->setToolTip(name);
}

void JournalWindow::applyFilter()
{
    EventJournal::Filter filter;
    filter.kind = ui->kindComboBox->currentData().toString();
    filter.from = QDate::fromString(ui->fromDateLineEdit->text(), kDateFormat);
    filter.to = QDate::fromString(ui->toDateLineEdit->text(), kDateFormat);
    filter.oneAnalyzer = ui->analyzerComboBox->currentData().toBool() && m_journal;
    if (filter.oneAnalyzer) {
        filter.serial = m_journal->serial();
        filter.address = m_journal->address();
    }
    m_model->setFilter(filter);
    // Rows of one analyzer need not say which.
    ui->journalView->setColumnHidden(JournalModel::AnalyzerColumn, filter.oneAnalyzer);
    ui->journalView->scrollToTop();
    if (!m_journal || !m_journal->isOpen())
        ui->countLabel->setText(tr("The journal cannot be read"));
    else
        ui->countLabel->setText(tr("Events: %1").arg(m_journal->count(filter)));
}

void JournalWindow::kindChanged(int)
{
    applyFilter();
}

void JournalWindow::analyzerChanged(int)
{
    applyFilter();
}

bool JournalWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == ui->fromDateLineEdit || watched == ui->toDateLineEdit)) {
        pickDate(static_cast<QLineEdit*>(watched));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void JournalWindow::pickDate(QLineEdit* field)
{
    m_calendar->selectToday();
    m_calendar->setSelectedDate(QDate::fromString(field->text(), kDateFormat));
    if (m_calendar->exec() != QDialog::Accepted)
        return;
    const QString picked = m_calendar->selectedDateText();
    field->setText(picked);
    const bool from = field == ui->fromDateLineEdit;
    (from ? m_fromPicked : m_toPicked) = true;
    // A range that ends before it begins becomes the one day picked.
    QLineEdit* other = from ? ui->toDateLineEdit : ui->fromDateLineEdit;
    const QDate start = QDate::fromString(ui->fromDateLineEdit->text(), kDateFormat);
    const QDate end = QDate::fromString(ui->toDateLineEdit->text(), kDateFormat);
    if (start > end) {
        other->setText(picked);
        (from ? m_toPicked : m_fromPicked) = true;
    }
    applyFilter();
}

void JournalWindow::exportClicked()
{
    StorageExport::save(QStringLiteral("journal.csv"),
                        m_fileManager ? m_fileManager->serialNumber() : QString(), m_model->csv(),
                        m_model->rowCount());
}

void JournalWindow::closeClicked()
{
    emit closed();
}
