// One entry of the event journal: what happened, when, to which analyzer, and
// the untranslated keys a page turns into words (kind, action, the alarm's or
// setting's method, mode codes), so that it reads in the language the panel
// is shown in, whichever language it was recorded in. Its time keeps the
// offset from UTC it was recorded with, so the hour the clocks go back reads
// as two different hours.
#pragma once

#include <QDateTime>
#include <QJsonValue>
#include <QString>

struct JournalEvent
{
    /// What kind of thing happened; stored under its key.
    enum Kind
    {
        Alarm,     ///< an alarm flag raised or cleared (subject: its method)
        Mode,      ///< the operating mode changed (old and new code)
        Link,      ///< the link to the analyzer lost or restored (subject: its address)
        Setting,   ///< a setting sent from the panel (subject: the method)
        Procedure, ///< a guided procedure started or ended (new value: its outcome)
        Transfer,  ///< a file moved to or from the storage folder, and its result
        Panel      ///< the panel started ("started", "restarted" after an unclean stop) or stopped
    };
    static constexpr int kKindCount = Panel + 1;

    JournalEvent() = default;
    /// An event stamped with time (now, when it is recorded, if invalid).
    JournalEvent(Kind kind, const QString& subject, const QString& action,
                 const QString& oldValue = QString(), const QString& newValue = QString(),
                 const QDateTime& time = QDateTime())
        : time(time), kind(kind), subject(subject), action(action), oldValue(oldValue),
          newValue(newValue)
    {
    }

    /// The key under which kind is stored ("alarm", "mode", ...).
    static QString kindKey(Kind kind);
    /// The kind stored under key; false when no kind has that key.
    static bool kindFromKey(const QString& key, Kind* kind);
    /// A value sent or read as the journal keeps it: a text as it is, a
    /// number or a truth value in words, the elements of an array after one
    /// another ("usb, 19200"), anything else as compact JSON.
    static QString valueText(const QJsonValue& value);
    /// time as ISO 8601 with its offset from UTC ("2024-10-27T02:30:00+02:00").
    static QString timeText(const QDateTime& time);
    /// A time written by timeText (or, in files of the first format, local
    /// "yyyy-MM-dd HH:mm:ss"); invalid when it is neither.
    static QDateTime timeFromText(const QString& text);

    qint64 id = 0;
    /// To the second, with the offset from UTC it was recorded at.
    QDateTime time;
    Kind kind = Alarm;
    /// The method, alarm, address, procedure or file the event is about.
    QString subject;
    /// "raised", "cleared", "changed", "lost", "restored", "sent", "started",
    /// "ended", "succeeded", "failed", "stopped", "restarted".
    QString action;
    QString oldValue;
    QString newValue;
    /// For a cleared alarm, when it was raised; for a start after an unclean
    /// stop, the last event of the run that ended so. Else invalid.
    QDateTime since;
    /// The analyzer's serial number; empty while it was not known (and for
    /// events of files older than the analyzer column: see address).
    QString serial;
    /// The address the analyzer was reached at; empty for an event migrated
    /// from a file that did not record the analyzer ("unknown analyzer").
    QString address;
};
