#include "screens/journalmodel.h"

#include "analyzer/analyzerfacts.h"

#include <QCoreApplication>

namespace {

JournalModel::SettingLabels g_settingLabels;

/// The words of a row: in the language on screen, or in English (the texts
/// as written here) for the CSV.
class Words
{
public:
    explicit Words(bool english) : m_english(english) {}
    bool english() const { return m_english; }
    QString operator()(const char* text) const
    {
        return m_english ? QString::fromUtf8(text)
                         : QCoreApplication::translate("JournalModel", text);
    }

    QString mode(const QString& code) const
    {
        bool ok = false;
        const int mode = code.toInt(&ok);
        if (!ok || !Analyzer::isKnownMode(mode))
            return code;
        return m_english ? QString::fromUtf8(Analyzer::modeTable().at(mode).name)
                         : Analyzer::modeName(mode);
    }

    QString alarm(const QString& method) const
    {
        const Analyzer::AlarmInfo* info = Analyzer::alarmForMethod(method);
        if (m_english)
            return info ? QString::fromUtf8(info->label) : method;
        return Analyzer::alarmLabel(method);
    }

    /// The operator's name for a setting on screen; its method in the CSV,
    /// which names the method in a column of its own as well.
    QString setting(const QString& method) const
    {
        if (method == QLatin1String("opmode"))
            return (*this)(QT_TRANSLATE_NOOP("JournalModel", "Operating mode"));
        const QString label = !m_english && g_settingLabels ? g_settingLabels(method) : QString();
        return label.isEmpty() ? method : label;
    }

    QString settingValue(const QString& method, const QString& value) const
    {
        return method == QLatin1String("opmode") ? mode(value) : value;
    }

    QString procedure(const QString& key) const
    {
        if (key == QLatin1String("certification"))
            return (*this)(QT_TRANSLATE_NOOP("JournalModel", "Certification scans"));
        if (key == QLatin1String("calibration"))
            return (*this)(QT_TRANSLATE_NOOP("JournalModel", "Pressure-controller calibration"));
        return key;
    }

    /// A result the file manager reported: kept in its own words and shown
    /// in the language on screen (a text kept in another language stays as kept).
    QString transferResult(const QString& text) const
    {
        return m_english ? text
                         : QCoreApplication::translate("FileManager", text.toUtf8().constData());
    }

    QString duration(qint64 seconds) const
    {
        const auto two = [](qint64 n) {
            return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        };
        if (seconds < 60)
            return (*this)(QT_TRANSLATE_NOOP("JournalModel", "%1 s")).arg(seconds);
        if (seconds < 3600)
            return (*this)(QT_TRANSLATE_NOOP("JournalModel", "%1 min %2 s"))
                .arg(QString::number(seconds / 60), two(seconds % 60));
        if (seconds < 86400)
            return (*this)(QT_TRANSLATE_NOOP("JournalModel", "%1 h %2 min"))
                .arg(QString::number(seconds / 3600), two(seconds % 3600 / 60));
        return (*this)(QT_TRANSLATE_NOOP("JournalModel", "%1 d %2 h"))
            .arg(QString::number(seconds / 86400), QString::number(seconds % 86400 / 3600));
    }

    QString time(const QDateTime& time) const
    {
        return JournalEvent::timeText(time).replace(QLatin1Char('T'), QLatin1Char(' '));
    }

    QString describe(const JournalEvent& e) const;

private:
    bool m_english;
};

QString Words::describe(const JournalEvent& e) const
{
    const Words& say = *this;
    const bool done = e.action == QLatin1String("raised") || e.action == QLatin1String("lost") ||
                      e.action == QLatin1String("started") || e.action == QLatin1String("failed");
    switch (e.kind) {
    case JournalEvent::Alarm:
        if (done)
            return say(QT_TRANSLATE_NOOP("JournalModel", "%1 raised")).arg(alarm(e.subject));
        if (e.since.isValid() && e.time.isValid())
            return say(QT_TRANSLATE_NOOP("JournalModel", "%1 cleared, active for %2"))
                .arg(alarm(e.subject), duration(std::max<qint64>(0, e.since.secsTo(e.time))));
        return say(QT_TRANSLATE_NOOP("JournalModel", "%1 cleared")).arg(alarm(e.subject));
    case JournalEvent::Mode:
        if (e.oldValue.isEmpty())
            return say(QT_TRANSLATE_NOOP("JournalModel", "Mode %1")).arg(mode(e.newValue));
        return say(QT_TRANSLATE_NOOP("JournalModel", "Mode changed from %1 to %2"))
            .arg(mode(e.oldValue), mode(e.newValue));
    case JournalEvent::Link:
        return (done ? say(QT_TRANSLATE_NOOP("JournalModel", "Link to %1 lost"))
                     : say(QT_TRANSLATE_NOOP("JournalModel", "Link to %1 restored")))
            .arg(e.subject);
    case JournalEvent::Setting: {
        const QString name = setting(e.subject);
        const QString before = settingValue(e.subject, e.oldValue);
        const QString after = settingValue(e.subject, e.newValue);
        if (e.action == QLatin1String("dropped"))
            return say(QT_TRANSLATE_NOOP("JournalModel", "%1 not sent, no link: %2"))
                .arg(name, after);
        if (e.oldValue.isEmpty() && e.newValue.isEmpty())
            return say(QT_TRANSLATE_NOOP("JournalModel", "%1 sent")).arg(name);
        if (e.oldValue.isEmpty())
            return say(QT_TRANSLATE_NOOP("JournalModel", "%1 set to %2")).arg(name, after);
        return say(QT_TRANSLATE_NOOP("JournalModel", "%1 changed from %2 to %3"))
            .arg(name, before, after);
    }
    case JournalEvent::Procedure:
        if (done)
            return say(QT_TRANSLATE_NOOP("JournalModel", "%1 started")).arg(procedure(e.subject));
        return say(QT_TRANSLATE_NOOP("JournalModel", "%1 ended: %2"))
            .arg(procedure(e.subject), e.newValue);
    case JournalEvent::Transfer:
        if (e.newValue.isEmpty())
            return (done ? say(QT_TRANSLATE_NOOP("JournalModel", "%1 failed"))
                         : say(QT_TRANSLATE_NOOP("JournalModel", "%1 written")))
                .arg(e.subject);
        return (done ? say(QT_TRANSLATE_NOOP("JournalModel", "%1 failed: %2"))
                     : say(QT_TRANSLATE_NOOP("JournalModel", "%1: %2")))
            .arg(e.subject, transferResult(e.newValue));
    case JournalEvent::Panel:
        if (e.action == QLatin1String("stopped"))
            return say(QT_TRANSLATE_NOOP("JournalModel", "Panel stopped"));
        if (e.action != QLatin1String("restarted"))
            return say(QT_TRANSLATE_NOOP("JournalModel", "Panel started"));
        if (!e.since.isValid())
            return say(QT_TRANSLATE_NOOP("JournalModel",
                                         "Panel started; its last run ended without a stop"));
        return say(QT_TRANSLATE_NOOP("JournalModel",
                                     "Panel started; its last run ended without a stop after %1"))
            .arg(time(e.since));
    }
    return e.subject;
}

const char* const kKindWords[JournalEvent::kKindCount] = {
    QT_TRANSLATE_NOOP("JournalModel", "Alarm"),     QT_TRANSLATE_NOOP("JournalModel", "Mode"),
    QT_TRANSLATE_NOOP("JournalModel", "Link"),      QT_TRANSLATE_NOOP("JournalModel", "Setting"),
    QT_TRANSLATE_NOOP("JournalModel", "Procedure"), QT_TRANSLATE_NOOP("JournalModel", "Transfer"),
    QT_TRANSLATE_NOOP("JournalModel", "Panel")};

QString analyzerName(const JournalEvent& event, const Words& say)
{
    if (!event.serial.isEmpty())
        return event.serial;
    if (!event.address.isEmpty())
        return event.address;
    return say(QT_TRANSLATE_NOOP("JournalModel", "unknown analyzer"));
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

void JournalModel::setSettingLabels(const SettingLabels& labels)
{
    g_settingLabels = labels;
}

QStringList JournalModel::headers()
{
    return {tr("Time"), tr("Analyzer"), tr("Kind"), tr("Event"), tr("Method")};
}

QString JournalModel::kindText(JournalEvent::Kind kind)
{
    return Words(false)(kKindWords[kind]);
}

QString JournalModel::analyzerText(const JournalEvent& event)
{
    return analyzerName(event, Words(false));
}

QStringList JournalModel::texts(const JournalEvent& event)
{
    const Words say(false);
    return {say.time(event.time), analyzerName(event, say), kindText(event.kind),
            say.describe(event), event.kind == JournalEvent::Setting ? event.subject : QString()};
}

QStringList JournalModel::csvHeaders()
{
    return {QStringLiteral("Time"),          QStringLiteral("Serial"), QStringLiteral("Address"),
            QStringLiteral("Kind"),          QStringLiteral("Event"),  QStringLiteral("Method"),
            QStringLiteral("Active For (s)")};
}

QStringList JournalModel::csvFields(const JournalEvent& event)
{
    const Words say(true);
    const bool unknown = event.serial.isEmpty() && event.address.isEmpty();
    const bool cleared = event.kind == JournalEvent::Alarm && event.since.isValid();
    return {JournalEvent::timeText(event.time),
            unknown ? analyzerName(event, say) : event.serial,
            event.address,
            say(kKindWords[event.kind]),
            say.describe(event),
            event.kind == JournalEvent::Setting || event.kind == JournalEvent::Alarm ? event.subject
                                                                                     : QString(),
            cleared ? QString::number(std::max<qint64>(0, event.since.secsTo(event.time)))
                    : QString()};
}

QByteArray JournalModel::csv() const
{
    // The mark tells spreadsheet programs the file is UTF-8, whatever
    // language they run in.
    QByteArray out = "\xEF\xBB\xBF" + csvLine(csvHeaders());
    if (!m_journal || m_events.isEmpty())
        return out;
    // Read afresh in pages, so the file holds every event of the list, not
    // only the rows scrolled into view so far; but none newer than the list
    // shows (it is read again when the page is shown).
    qint64 before = m_events.first().id + 1;
    for (;;) {
        const QList<JournalEvent> page = m_journal->events(m_filter, before, kPageRows);
        for (const JournalEvent& event : page)
            out += csvLine(csvFields(event));
        if (page.size() < kPageRows)
            break;
        before = page.last().id;
    }
    return out;
}
