#include "launcher/fleetmodel.h"

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

const char kTimeFormat[] = "yyyy-MM-dd HH:mm:ss";

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


QIcon lamp(const QColor& colour)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(140));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1, 1, 10, 10));
    return QIcon(pixmap);
}

} // namespace

FleetModel::FleetModel(int updateIntervalMs, QObject* parent) : QAbstractTableModel(parent)
{
    m_update.setSingleShot(true);
    m_update.setInterval(updateIntervalMs);
    connect(&m_update, &QTimer::timeout, this, &FleetModel::flush);
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
    emit updated();
}

FleetModel::Rank FleetModel::rankOf(const ProbeStatus& status)
{
    switch (status.link) {
    case ProbeStatus::Link::Connecting:
        return Rank::Unknown;
    case ProbeStatus::Link::Reachable:
        if (status.alarms)
            return Rank::Alarm;
        return status.opmode == Analyzer::MeasureMode ? Rank::Measuring : Rank::OtherMode;
    case ProbeStatus::Link::NoReply:
    case ProbeStatus::Link::Unreachable:
    case ProbeStatus::Link::BadAddress:
        break;
    }
    return Rank::Failure;
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
    row.rank = rankOf(status);
    QString* texts = row.texts;
    texts[NameColumn] = shortText(row.entry.nickname);
    texts[AddressColumn] = shortText(row.entry.connectionString);

    switch (status.link) {
    case ProbeStatus::Link::Connecting:
        texts[StateColumn] = tr("Connecting\u2026");
        break;
    case ProbeStatus::Link::Reachable:
        texts[StateColumn] = !status.alarms ? tr("Reachable") : tr("Alarm");
        break;
    case ProbeStatus::Link::NoReply:
        texts[StateColumn] = tr("No reply");
        break;
    case ProbeStatus::Link::Unreachable:
        texts[StateColumn] = tr("Unreachable");
        break;
    case ProbeStatus::Link::BadAddress:
        texts[StateColumn] = tr("Bad address");
        break;
    }

    texts[ModeColumn].clear();
    if (status.opmode) {
        const int code = *status.opmode;
        texts[ModeColumn] =
            Analyzer::isKnownMode(code) ? Analyzer::modeName(code) : tr("Mode %1").arg(code);
    }

    texts[ConcentrationColumn] = concentrationText(status);

    QStringList alarms;
    for (const Analyzer::AlarmInfo& info : Analyzer::alarmTable()) {
        if (status.alarms.testFlag(info.flag))
            alarms << Analyzer::alarmLabel(info.flag, status.reactorUsed);
    }
    texts[AlarmsColumn] = alarms.join(QStringLiteral(", "));
    texts[LastReplyColumn] = status.lastGoodReply.toString(QLatin1String(kTimeFormat));
}

ConnectionEntry FleetModel::entry(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).entry : ConnectionEntry();
}

FleetModel::Rank FleetModel::rank(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).rank : Rank::Unknown;
}

int FleetModel::count(Rank rank) const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(),
                             [rank](const Row& row) { return row.rank == rank; }));
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
        return int(row.rank) * 1000000 + index.row();
    case StatusClassRole:
        return QVariant::fromValue(row.status.statusClass());
    case Qt::DecorationRole: {
        if (column != StateColumn)
            return QVariant();
        static const QIcon lamps[] = {lamp(QColor(211, 10, 10)), lamp(QColor(211, 10, 10)),
                                      lamp(QColor(230, 160, 20)), lamp(QColor(56, 160, 90)),
                                      lamp(QColor(160, 160, 160))};
        return lamps[int(row.rank)];
    }
    case Qt::ForegroundRole:
        // What an analyzer said before it stopped answering is shown, greyed.
        if (row.status.link != ProbeStatus::Link::Reachable && column >= ModeColumn &&
            column != LastReplyColumn)
            return QBrush(Qt::gray);
        return QVariant();
    case Qt::ToolTipRole:
        // The reason is the launcher's own text or the socket's; never read as markup.
        if (column == StateColumn && !row.status.failure.isEmpty())
            return Qt::convertFromPlainText(row.status.failure, Qt::WhiteSpaceNormal);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant FleetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const titles[ColumnCount] = {
        QT_TR_NOOP("Name"),          QT_TR_NOOP("Address"), QT_TR_NOOP("State"),
        QT_TR_NOOP("Mode"),          QT_TR_NOOP("Concentration"),
        QT_TR_NOOP("Alarms"),        QT_TR_NOOP("Last reply")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return QVariant();
    return tr(titles[section]);
}
