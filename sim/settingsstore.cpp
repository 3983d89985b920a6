#include "sim/settingsstore.h"

#include "sim/settingstable.h"
#include "sim/sqlitefile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>

namespace VireoSim {

namespace {

QString encode(const QJsonValue& value)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
}

QJsonValue decode(const QString& text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    return doc.isArray() && doc.array().size() == 1 ? doc.array().at(0) : QJsonValue();
}

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS settings_table (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS factory_table (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS display_table (min_brightness INTEGER, max_brightness INTEGER)",
};

} // namespace

SettingsStore::SettingsStore(const SettingsTable& table, const QString& path)
    : m_table(table), m_path(path), m_connectionName(SqliteFile::uniqueConnectionName("settings"))
{
}

SettingsStore::~SettingsStore()
{
    close();
}

void SettingsStore::close()
{
    SqliteFile::removeConnection(m_connectionName);
}

bool SettingsStore::open(QString* error)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    if (!db.open()) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_path, db.lastError().text());
        return false;
    }
    if (!createSchema(error))
        return false;
    load();
    return true;
}

bool SettingsStore::createSchema(QString* error)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    QSqlQuery query(db);
    for (const char* statement : kSchema) {
        if (!query.exec(QLatin1String(statement))) {
            *error = QStringLiteral("cannot prepare %1: %2").arg(m_path, query.lastError().text());
            return false;
        }
    }
    if (query.exec(QStringLiteral("SELECT COUNT(*) FROM display_table")) && query.next() &&
        query.value(0).toInt() == 0)
        query.exec(QStringLiteral("INSERT INTO display_table VALUES (10, 255)"));
    return true;
}

void SettingsStore::load()
{
    m_values.clear();
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    if (!query.exec(QStringLiteral("SELECT key, value FROM settings_table")))
        return;
    while (query.next()) {
        const QString name = query.value(0).toString();
        const QJsonValue stored = decode(query.value(1).toString());
        const SettingKey* key = m_table.find(name.section(QLatin1Char('.'), 0, 0));
        if (key) {
            // A database from another analyzer (or an older simulator) may hold
            // values this build would refuse; those keep their defaults.
            QJsonValue normalised;
            QString message;
            if (!m_table.validateValue(*key, stored, &normalised, &message))
                continue;
            m_values.insert(name, normalised);
        } else if (!stored.isUndefined()) {
            m_values.insert(name, stored);
        }
    }
}

QJsonValue SettingsStore::value(const QString& name, const QJsonValue& fallback) const
{
    return m_values.value(name, fallback);
}

void SettingsStore::setValue(const QString& name, const QJsonValue& value)
{
    m_values.insert(name, value);
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    query.prepare(
        QStringLiteral("INSERT OR REPLACE INTO settings_table (key, value) VALUES (?, ?)"));
    query.addBindValue(name);
    query.addBindValue(encode(value));
    if (!query.exec())
        qWarning("cannot store setting %s: %s", qPrintable(name),
                 qPrintable(query.lastError().text()));
}

bool SettingsStore::copyTable(const char* from, const char* to, QString* error)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    QSqlQuery query(db);
    db.transaction();
    if (!query.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(to))) ||
        !query.exec(QStringLiteral("INSERT INTO %1 SELECT key, value FROM %2")
                        .arg(QLatin1String(to), QLatin1String(from)))) {
        *error = query.lastError().text();
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        *error = db.lastError().text();
        return false;
    }
    return true;
}

bool SettingsStore::finalizeFactory(QString* error)
{
    return copyTable("settings_table", "factory_table", error);
}

bool SettingsStore::restoreFactory(QString* error)
{
    if (!copyTable("factory_table", "settings_table", error))
        return false;
    load();
    return true;
}

bool SettingsStore::checkFile(const QString& path, QString* message)
{
    return SqliteFile::check(
        path,
        {{QStringLiteral("settings_table"), {QStringLiteral("key"), QStringLiteral("value")}},
         {QStringLiteral("display_table"),
          {QStringLiteral("min_brightness"), QStringLiteral("max_brightness")}}},
        message);
}

bool SettingsStore::replaceWith(const QString& path, QString* error)
{
    close();
    // rename() replaces the old file in one step, so a crash leaves either the
    // old or the new database, never a mixture.
    QFile::remove(m_path + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(m_path).constData()) !=
        0) {
        *error = QStringLiteral("cannot replace %1").arg(m_path);
        QString reopenError;
        open(&reopenError);
        return false;
    }
    return open(error);
}

} // namespace VireoSim
