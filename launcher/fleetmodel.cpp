#include "launcher/fleetmodel.h"

#include "base/agetext.h"
#include "base/dewpointc.h"
#include "base/dewpointf.h"
#include "base/dewpointk.h"
#include "base/unitkeys.h"
#include "base/weight.h"
#include "launcher/shorttext.h"

#include <QBrush>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <memory>

namespace {

// The ages of the last replies count up once a second.
constexpr int kAgeTickMs = 1000;
// What an analyzer said before it stopped answering: grey, yet above 4.5:1
// on white and on the alternate rows.
const QColor kStaleText(100, 100, 100);

std::unique_ptr<UnitConversion::ConversionInterface> conversionFor(const QString& key)
{
    using namespace UnitConversion;
    if (key == kVolumeKey)
        return std::make_unique<Volume>();
    if (key == kWeightKey)
        return std::make_unique<Weight>();
    if (key == kDewPointCKey)
        return std::make_unique<DewPointC>();
    if (key == kDewPointFKey)
        return std::make_unique<DewPointF>();
    if (key == kDewPointKKey)
        return std::make_unique<DewPointK>();
    return nullptr;
}

/// A chemical formula as plain text: digits become subscript characters
/// ("H2O" -> "H₂O"), a digit after "^" stays as it is and loses the caret,
/// as the panel shows the name.
QString plainFormula(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool digitNext = i + 1 < text.size() && text.at(i + 1).unicode() >= '0' &&
                               text.at(i + 1).unicode() <= '9';
        if (c == QLatin1Char('^') && digitNext)
            out += text.at(++i);
        else if (c.unicode() >= '0' && c.unicode() <= '9')
            out += QChar(0x2080 + (c.unicode() - '0'));
        else
            out += c;
    }
    return out;
}

} // namespace

FleetModel::FleetModel(int updateIntervalMs, QObject* parent) : QAbstractTableModel(parent)
{
    m_update.setSingleShot(true);
    m_update.setInterval(updateIntervalMs);
    connect(&m_update, &QTimer::timeout, this, &FleetModel::flush);
    m_ages.setInterval(kAgeTickMs);
    connect(&m_ages, &QTimer::timeout, this, &FleetModel::refreshAges);
    m_ages.start();
}

void FleetModel::setOrderHold(std::function<bool()> hold)
{
    m_holdOrder = std::move(hold);
}

void FleetModel::setEntries(const QList<ConnectionEntry>& entries,
                            const QVector<ProbeStatus>& statuses)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        Row row;
        row.entry = entries.at(i);
        row.status = statuses.value(i);
        row.place = placeOf(row.status);
        describe(row);
        m_rows.append(row);
    }
    m_firstDirty = m_lastDirty = -1;
    m_update.stop();
    endResetModel();
    emit updated();
}

void FleetModel::setStatus(int row, const ProbeStatus& status)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].status = status;
    describe(m_rows[row]);
    m_firstDirty = m_firstDirty < 0 ? row : qMin(m_firstDirty, row);
    m_lastDirty = qMax(m_lastDirty, row);
    if (!m_update.isActive())
        m_update.start();
}

void FleetModel::flush()
{
    if (m_firstDirty < 0)
        return;
    const QModelIndex first = index(m_firstDirty, 0);
    const QModelIndex last = index(m_lastDirty, ColumnCount - 1);
    m_firstDirty = m_lastDirty = -1;
    emit dataChanged(first, last);
    catchUpOrder();
    emit updated();
}

void FleetModel::catchUpOrder()
{
    if (m_holdOrder && m_holdOrder())
        return;
    for (int row = 0; row < m_rows.size(); ++row) {
        const int place = placeOf(m_rows.at(row).status);
        if (place == m_rows.at(row).place)
            continue;
        m_rows[row].place = place;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {SortRole});
    }
}

void FleetModel::refreshAges()
{
    if (m_rows.isEmpty())
        return;
    for (Row& row : m_rows)
        row.texts[LastReplyColumn] =
            row.status.lastGoodReply.isValid()
                ? ageText(row.status.lastGoodReply.msecsTo(QDateTime::currentDateTimeUtc()))
                : QString();
    emit dataChanged(index(0, LastReplyColumn), index(m_rows.size() - 1, LastReplyColumn),
                     {Qt::DisplayRole});
    // A row held in place while the pointer was on the table finds its
    // place once the pointer has gone.
    catchUpOrder();
}

int FleetModel::placeOf(const ProbeStatus& status)
{
    if (status.link == ProbeStatus::Link::Connecting)
        return Analyzer::statusClasses().size();
    return Analyzer::statusClasses().indexOf(status.statusClass());
}

QString FleetModel::concentrationText(const ProbeStatus& status)
{
    // As on the panel: a ring-down alarm leaves no value worth showing.
    if (status.alarms.testFlag(Analyzer::AlarmFlag::RingDown))
        return tr("OVER");
    QString value;
    QString unit;
    if (auto conversion = conversionFor(status.unitKey)) {
        conversion->setPpmSwitchLevel(status.ppmSwitchLevel);
        conversion->setValue(status.concentration);
        value = conversion->valueText();
        unit = conversion->unitsText();
    } else {
        value = UnitConversion::formatConcentration(status.concentration);
    }
    if (value.isEmpty())
        return QString();
    QStringList parts = {value, unit, plainFormula(status.species)};
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

void FleetModel::describe(Row& row) const
{
    const ProbeStatus& status = row.status;
    QString* texts = row.texts;
    texts[NameColumn] = shortText(row.entry.nickname);
    texts[AddressColumn] = shortText(row.entry.connectionString);
    texts[StatusColumn] = status.link == ProbeStatus::Link::Connecting
                              ? tr("Connecting\u2026")
                              : Analyzer::statusClassName(status.statusClass());

    texts[ModeColumn].clear();
    if (status.opmode) {
        const int code = *status.opmode;
        texts[ModeColumn] =
            Analyzer::isKnownMode(code) ? Analyzer::modeName(code) : tr("Mode %1").arg(code);
    }

    texts[ConcentrationColumn] = concentrationText(status);

    // What sets the class: a link that fails, and the analyzer's own alarms.
    // The process alarms (the gas is high) stand apart.
    QStringList alarms;
    switch (status.link) {
    case ProbeStatus::Link::NoReply:
        alarms << tr("No reply");
        break;
    case ProbeStatus::Link::Unreachable:
        alarms << tr("Unreachable");
        break;
    case ProbeStatus::Link::BadAddress:
        alarms << tr("Bad address");
        break;
    case ProbeStatus::Link::Connecting:
    case ProbeStatus::Link::Reachable:
        break;
    }
    QStringList processAlarms;
    for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable()) {
        if (!status.alarms.testFlag(info.flag))
            continue;
        const QString label = Analyzer::alarmLabel(info.flag, status.reactorUsed);
        if (info.kind == Analyzer::AlarmKind::User)
            processAlarms << label;
        else
            alarms << label;
    }
    texts[AlarmsColumn] = alarms.join(QStringLiteral(", "));
    texts[ProcessAlarmsColumn] = processAlarms.join(QStringLiteral(", "));
    // The column may be too narrow for them all: the tooltip lists every one.
    row.alarmTip = alarms.join(QLatin1Char('\n'));
    texts[LastReplyColumn] =
        status.lastGoodReply.isValid()
            ? ageText(status.lastGoodReply.msecsTo(QDateTime::currentDateTimeUtc()))
            : QString();
}

ConnectionEntry FleetModel::entry(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).entry : ConnectionEntry();
}

int FleetModel::count(Analyzer::StatusClass statusClass) const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [statusClass](const Row& row) {
        return row.status.link != ProbeStatus::Link::Connecting &&
               row.status.statusClass() == statusClass;
    }));
}

int FleetModel::connectingCount() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const Row& row) {
        return row.status.link == ProbeStatus::Link::Connecting;
    }));
}

int FleetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int FleetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FleetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const Row& row = m_rows.at(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return row.texts[column];
    case SortRole:
        return row.place * 1000000 + index.row();
    case StatusClassRole:
        if (row.status.link == ProbeStatus::Link::Connecting)
            return QVariant();
        return QVariant::fromValue(row.status.statusClass());
    case Qt::DecorationRole:
        // The class's symbol, the same drawing as on the panel's badge.
        if (column != StatusColumn || row.status.link == ProbeStatus::Link::Connecting)
            return QVariant();
        return QIcon(Analyzer::statusClassSymbol(row.status.statusClass()));
    case Qt::ForegroundRole:
        // What an analyzer said before it stopped answering is shown, greyed.
        if (row.status.link != ProbeStatus::Link::Reachable && column >= ModeColumn &&
            column != AlarmsColumn && column != LastReplyColumn)
            return QBrush(kStaleText);
        return QVariant();
    case Qt::ToolTipRole:
        // The reason is the launcher's own text or the socket's; never read as markup.
        if (column == StatusColumn && !row.status.failure.isEmpty())
            return Qt::convertFromPlainText(row.status.failure, Qt::WhiteSpaceNormal);
        if (column == AlarmsColumn && !row.alarmTip.isEmpty())
            return Qt::convertFromPlainText(row.alarmTip, Qt::WhiteSpacePre);
        if (column == ProcessAlarmsColumn && !row.texts[column].isEmpty())
            return Qt::convertFromPlainText(row.texts[column], Qt::WhiteSpaceNormal);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant FleetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const titles[ColumnCount] = {
        QT_TR_NOOP("Name"),           QT_TR_NOOP("Address"),       QT_TR_NOOP("Status"),
        QT_TR_NOOP("Mode"),           QT_TR_NOOP("Concentration"), QT_TR_NOOP("Alarms"),
        QT_TR_NOOP("Process alarms"), QT_TR_NOOP("Last reply")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return QVariant();
    return tr(titles[section]);
}
