#include "screens/journalmodel.h"

#include "analyzer/analyzerfacts.h"

namespace {

QString modeName(const QString& code)
{
    bool ok = false;
    const int mode = code.toInt(&ok);
    return ok && Analyzer::isKnownMode(mode) ? Analyzer::modeName(mode) : code;
}

QString procedureName(const QString& key)
{
    if (key == QLatin1String("certification"))
        return JournalModel::tr("Certification scans");
    if (key == QLatin1String("calibration"))
        return JournalModel::tr("Pressure-controller calibration");
    return key;
}

QString describe(const JournalEvent& e)
{
    const bool done = e.action == QLatin1String("raised") || e.action == QLatin1String("lost") ||
                      e.action == QLatin1String("started") || e.action == QLatin1String("failed");
    switch (e.kind) {
    case JournalEvent::Alarm:
        return (done ? JournalModel::tr("%1 raised") : JournalModel::tr("%1 cleared"))
            .arg(Analyzer::alarmLabel(e.subject));
    case JournalEvent::Mode:
        if (e.oldValue.isEmpty())
            return JournalModel::tr("Mode %1").arg(modeName(e.newValue));
        return JournalModel::tr("Mode changed from %1 to %2")
            .arg(modeName(e.oldValue), modeName(e.newValue));
    case JournalEvent::Link:
        return (done ? JournalModel::tr("Link to %1 lost")
                     : JournalModel::tr("Link to %1 restored"))
            .arg(e.subject);
    case JournalEvent::Setting:
        if (e.action == QLatin1String("dropped"))
            return JournalModel::tr("%1 not sent, no link: %2").arg(e.subject, e.newValue);
        if (e.oldValue.isEmpty() && e.newValue.isEmpty())
            return JournalModel::tr("%1 sent").arg(e.subject);
        if (e.oldValue.isEmpty())
            return JournalModel::tr("%1 set to %2").arg(e.subject, e.newValue);
        return JournalModel::tr("%1 changed from %2 to %3").arg(e.subject, e.oldValue, e.newValue);
    case JournalEvent::Procedure:
        if (done)
            return JournalModel::tr("%1 started").arg(procedureName(e.subject));
        return JournalModel::tr("%1 ended: %2").arg(procedureName(e.subject), e.newValue);
    case JournalEvent::Transfer:
        if (e.newValue.isEmpty())
            return (done ? JournalModel::tr("%1 failed") : JournalModel::tr("%1 written"))
                .arg(e.subject);
        return (done ? JournalModel::tr("%1 failed: %2") : JournalModel::tr("%1: %2"))
            .arg(e.subject, e.newValue);
    }
    return e.subject;
}

/// A CSV field: quoted, with inner quotes doubled, when it holds a comma, a
/// quote or a line break.
QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray csvLine(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')).toUtf8() + '\n';
}

} // namespace

JournalModel::JournalModel(EventJournal* journal, QObject* parent)
    : QAbstractTableModel(parent), m_journal(journal)
{
}

void JournalModel::setFilter(const EventJournal::Filter& filter)
{
    m_filter = filter;
    reload();
}

void JournalModel::reload()
{
    beginResetModel();
    m_events.clear();
    m_complete = !m_journal;
    endResetModel();
    fetchMore(QModelIndex());
}

int JournalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_events.size();
}

int JournalModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JournalModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_events.size())
        return QVariant();
    return texts(m_events.at(index.row())).value(index.column());
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QVariant();
    return headers().value(section);
}

bool JournalModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_complete;
}

void JournalModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const qint64 before = m_events.isEmpty() ? 0 : m_events.last().id;
    const QList<JournalEvent> more = m_journal->events(m_filter, before, kPageRows);
    m_complete = more.size() < kPageRows;
    if (more.isEmpty())
        return;
    beginInsertRows(QModelIndex(), m_events.size(), m_events.size() + more.size() - 1);
    for (const JournalEvent& event : more)
        m_events.append(event);
    endInsertRows();
}

QStringList JournalModel::headers()
{
    return {tr("Time"), tr("Kind"), tr("Event")};
}

QString JournalModel::kindText(JournalEvent::Kind kind)
{
    switch (kind) {
    case JournalEvent::Alarm:
        return tr("Alarm");
    case JournalEvent::Mode:
        return tr("Mode");
    case JournalEvent::Link:
        return tr("Link");
    case JournalEvent::Setting:
        return tr("Setting");
    case JournalEvent::Procedure:
        return tr("Procedure");
    case JournalEvent::Transfer:
        break;
    }
    return tr("Transfer");
}

QStringList JournalModel::texts(const JournalEvent& event)
{
    // Date and time of day apart: a full journal's export formats 100,000 of
    // them, and a local QDateTime format costs several times as much.
    const QString time = event.time.date().toString(Qt::ISODate) + QLatin1Char(' ') +
                         event.time.time().toString(Qt::ISODate);
    return {time, kindText(event.kind), describe(event)};
}

QByteArray JournalModel::csv() const
{
    QByteArray out = csvLine(headers());
    if (!m_journal || m_events.isEmpty())
        return out;
    // Read afresh in pages, so the file holds every event of the list, not
    // only the rows scrolled into view so far; but none newer than the list
    // shows (it is read again when the page is shown).
    qint64 before = m_events.first().id + 1;
    for (;;) {
        const QList<JournalEvent> page = m_journal->events(m_filter, before, kPageRows);
        for (const JournalEvent& event : page)
            out += csvLine(texts(event));
        if (page.size() < kPageRows)
            break;
        before = page.last().id;
    }
    return out;
}
