// The launcher's connection list and the storage folder offered for the next
// new connection, kept in the platform's native settings store.
#pragma once

#include "launcher/connectionentry.h"

#include <QList>
#include <QSettings>
#include <optional>

class Settings
{
public:
    Settings();

    /// Replaces the list in memory with the stored one. A store that cannot
    /// be read whole (unreadable, corrupt) gives what could be read; it is
    /// logged, and from then on never written, so that nothing read in part
    /// replaces what the user had.
    void load();
    /// Writes the whole list back, so rows deleted in memory leave the store too.
    /// Returns false (and logs why) when the store could not be written, or
    /// must not be because it could not be read.
    bool save();
    /// Whether the last load read the whole store.
    bool readable() const { return m_readable; }

    QString defaultStorage() const;
    /// Kept for this run only when the store must not be written.
    void setDefaultStorage(const QString& folder);

    /// The language the panels it starts speak ("en", "de"), or empty for the
    /// system's language. Kept for this run only when the store must not be written.
    QString panelLanguage() const;
    void setPanelLanguage(const QString& language);

    const QList<ConnectionEntry>& connections() const { return m_connections; }
    void append(const ConnectionEntry& entry);
    void replace(int row, const ConnectionEntry& entry);
    void removeAt(int row);

    /// Where the store lives, for messages to the user.
    QString fileName() const { return m_store.fileName(); }

private:
    QSettings m_store;
    QList<ConnectionEntry> m_connections;
    bool m_readable = true;
    /// The default storage set while the store must not be written.
    QString m_unsavedDefaultStorage;
    /// The panel language chosen while the store must not be written.
    std::optional<QString> m_unsavedPanelLanguage;
};
