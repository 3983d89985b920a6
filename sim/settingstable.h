// The table of every stored setting the simulator serves. Reads, writes,
// validation and persistence are driven by it instead of one handler per key.
#pragma once

#include "sim/settingkey.h"

#include <QHash>
#include <QJsonArray>
#include <QVector>

namespace VireoSim {

struct Options;

class SettingsTable
{
public:
    /// Builds the table; the build-fixed rows take their values from options.
    explicit SettingsTable(const Options& options);

    const SettingKey* find(const QString& key) const;
    const QVector<SettingKey>& keys() const { return m_keys; }

    /// The storage name of a value: the key, or key + "." + port for port-keyed rows.
    static QString storageName(const SettingKey& key, const QString& port = QString());

    /// Checks the params of a write; on success returns true and sets value
    /// (and port for port-keyed rows); otherwise sets an operator-readable message.
    bool validateWrite(const SettingKey& key, const QJsonArray& params, QJsonValue* value,
                       QString* port, QString* message) const;
    /// Checks one stored value (used when loading an uploaded settings database).
    bool validateValue(const SettingKey& key, const QJsonValue& value, QJsonValue* normalised,
                       QString* message) const;

private:
    void add(SettingKey key);

    QVector<SettingKey> m_keys;
    QHash<QString, int> m_index;
};

} // namespace VireoSim
