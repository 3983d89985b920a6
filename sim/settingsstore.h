// The analyzer's settings database (settings.db): every written setting, the
// display backlight limits, and the snapshot that a factory restore returns to.
// Writes go to disk at once, so a restart or a download sees them.
#pragma once

#include <QHash>
#include <QJsonValue>
#include <QSqlDatabase>
#include <QString>

namespace VireoSim {

class SettingsTable;

class SettingsStore
{
public:
    SettingsStore(const SettingsTable& table, const QString& path);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    /// Creates the file and its tables when missing, then loads the values.
    bool open(QString* error);
    QString path() const { return m_path; }

    QJsonValue value(const QString& name, const QJsonValue& fallback = QJsonValue()) const;
    void setValue(const QString& name, const QJsonValue& value);

    /// Copies the current values into the factory snapshot.
    bool finalizeFactory(QString* error);
    /// Replaces the current values by the factory snapshot (the table's defaults when none was
    /// made).
    bool restoreFactory(QString* error);

    /// Whether the file is a complete SQLite database with the tables this store needs.
    static bool checkFile(const QString& path, QString* message);
    /// Makes the given (checked) file the settings database and loads it.
    bool replaceWith(const QString& path, QString* error);

private:
    bool createSchema(QString* error);
    bool copyTable(const char* from, const char* to, QString* error);
    void load();
    void close();

    const SettingsTable& m_table;
    QString m_path;
    QString m_connectionName;
    QHash<QString, QJsonValue> m_values;
};

} // namespace VireoSim
