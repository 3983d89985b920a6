// One entry of the event journal: what happened, when (local time), and the
// untranslated keys a page turns into words (kind, action, the alarm's or
// setting's method, mode codes), so that it reads in the language the panel
// is shown in; outcomes (a transfer's message, a procedure's last words) are
// kept as the operator was told them.
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
        Transfer   ///< a file moved to or from the storage folder, and its result
    };

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

    qint64 id = 0;
    /// Local time, to the second.
    QDateTime time;
    Kind kind = Alarm;
    /// The method, alarm, address, procedure or file the event is about.
    QString subject;
    /// "raised", "cleared", "changed", "lost", "restored", "sent", "started",
    /// "ended", "succeeded", "failed".
    QString action;
    QString oldValue;
    QString newValue;
};
