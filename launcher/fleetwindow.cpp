#include "launcher/fleetwindow.h"

#include "base/agetext.h"
#include "launcher/analyzerprobe.h"
#include "launcher/fleetmodel.h"
#include "ui_fleetwindow.h"

#include <QCursor>
#include <QEvent>
#include <QHeaderView>
#include <QScroller>
#include <QSortFilterProxyModel>

FleetWindow::FleetWindow(const QList<ConnectionEntry>& entries, QWidget* parent,
                         const FleetTiming& timing)
    : QWidget(parent, Qt::Window), ui(new Ui::FleetWindow), m_timing(timing),
      m_model(new FleetModel(timing.viewUpdateMs, this)), m_sorted(new QSortFilterProxyModel(this))
{
    ui->setupUi(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(FleetModel::SortRole);
    m_sorted->setDynamicSortFilter(true);
    ui->tableFleet->setModel(m_sorted);
    m_sorted->sort(FleetModel::NameColumn);

    // Widths fixed from typical texts: sizing columns to their contents would
    // lay out every row again on every update.
    const auto widest = [this](const QStringList& texts) {
        QString found;
        for (const QString& text : texts) {
            if (fontMetrics().horizontalAdvance(text) > fontMetrics().horizontalAdvance(found))
                found = text;
        }
        return found;
    };
    QStringList classes;
    for (Analyzer::StatusClass c : Analyzer::statusClasses())
        classes << Analyzer::statusClassName(c);
    // The Alarms column holds the longest alarm name whole; when there are
    // more, its tooltip lists them all.
    QStringList alarms;
    for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable()) {
        if (info.kind != Analyzer::AlarmKind::User)
            alarms << Analyzer::alarmLabel(info.flag);
    }
    const QString typical[FleetModel::ColumnCount] = {
        QStringLiteral("Stack station"),
        QStringLiteral("10.0.100.20:60001"),
        widest(classes) + QStringLiteral("MMM"),
        Analyzer::modeName(Analyzer::MeasureMode),
        QStringLiteral("1234.5 PPBv H\u2082O"),
        widest(alarms),
        Analyzer::alarmLabel(Analyzer::AlarmFlag::UserAlarm1),
        ageText(59000)};
    QHeaderView* header = ui->tableFleet->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    int total = 0;
    for (int column = 0; column < FleetModel::ColumnCount; ++column) {
        const int width = fontMetrics().horizontalAdvance(typical[column]) + 20;
        header->resizeSection(column, width);
        total += width;
    }
    resize(qMax(width(), total + 40), height());
    QHeaderView* rows = ui->tableFleet->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 8);

    // A finger on a touch screen drags the rows; the mouse still selects.
    ui->tableFleet->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QScroller::grabGesture(ui->tableFleet->viewport(), QScroller::TouchGesture);
    // No row moves from under the pointer; they find their places once it leaves.
    m_model->setOrderHold([this] { return pointerOnTable(); });
    ui->tableFleet->viewport()->installEventFilter(this);

    connect(m_model, &FleetModel::updated, this, &FleetWindow::showSummary);
    setConnections(entries);
}

bool FleetWindow::pointerOnTable() const
{
    const QWidget* viewport = ui->tableFleet->viewport();
    return viewport->isVisible() &&
           viewport->rect().contains(viewport->mapFromGlobal(QCursor::pos()));
}

bool FleetWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->tableFleet->viewport() && event->type() == QEvent::Leave)
        m_model->catchUpOrder();
    return QWidget::eventFilter(watched, event);
}

FleetWindow::~FleetWindow() = default;

void FleetWindow::setConnections(const QList<ConnectionEntry>& entries)
{
    QVector<AnalyzerProbe*> previous = m_probes;
    m_probes.clear();
    QVector<ProbeStatus> statuses;
    QVector<int> fresh;
    for (int row = 0; row < entries.size(); ++row) {
        AnalyzerProbe* probe = nullptr;
        for (AnalyzerProbe*& candidate : previous) {
            if (candidate && candidate->connectionString() == entries.at(row).connectionString) {
                probe = candidate;
                candidate = nullptr;
                break;
            }
        }
        if (probe) {
            disconnect(probe, nullptr, this, nullptr);
        } else {
            probe = new AnalyzerProbe(entries.at(row).connectionString, m_timing, this);
            fresh << row;
        }
        m_probes << probe;
        statuses << probe->status();
        watch(probe, row);
    }
    qDeleteAll(previous);
    m_model->setEntries(entries, statuses);

    // Spread over one refresh period, so two hundred analyzers are asked a
    // few at a time rather than all at once.
    for (int row : fresh)
        m_probes.at(row)->start(int(qint64(m_timing.refreshMs) * row / qMax(1, entries.size())));
}

void FleetWindow::watch(AnalyzerProbe* probe, int row)
{
    connect(probe, &AnalyzerProbe::statusChanged, this,
            [this, probe, row]() { m_model->setStatus(row, probe->status()); });
}

void FleetWindow::showSummary()
{
    // Every class counted, the empty ones too, so the parts add up to the whole.
    QStringList parts;
    for (Analyzer::StatusClass c : Analyzer::statusClasses())
        parts << tr("%1 %2").arg(m_model->count(c)).arg(Analyzer::statusClassName(c));
    if (const int connecting = m_model->connectingCount())
        parts << tr("%1 connecting").arg(connecting);
    ui->labelSummary->setText(
        tr("%1 analyzers: %2").arg(m_model->rowCount()).arg(parts.join(QStringLiteral(", "))));
}

void FleetWindow::on_tableFleet_doubleClicked(const QModelIndex& index)
{
    const QModelIndex source = m_sorted->mapToSource(index);
    if (source.isValid())
        emit launchRequested(m_model->entry(source.row()));
}
