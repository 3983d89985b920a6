// One row of the simulator's settings table: a key the panel reads without
// params and writes with params, its type, default and accepted range.
#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>

namespace VireoSim {

struct SettingKey
{
    enum class Kind
    {
        Bool,
        Int,
        Double,
        Text
    };
    /// How the params of a write (and of a read) are laid out.
    enum class Form
    {
        Plain,        ///< read: no params; write: [value]
        DetectorSlot, ///< write: [value] or [1, value] (detector number first)
        PortKeyed,    ///< read: [port]; write: [port, value]; one value per port
    };

    QString key;
    Kind kind = Kind::Double;
    QJsonValue defaultValue;
    double minimum = 0;
    double maximum = 0;
    /// Accepted values for Text keys (and accepted numbers for Int keys, as text); empty = any.
    QStringList choices;
    /// Name shown to the operator in error messages, e.g. "Laser current".
    /// Port names of PortKeyed rows.
    QStringList ports;
    QString label;
    QString unit;
    Form form = Form::Plain;
    /// False for properties fixed by the analyzer's build (apc_used, unit_type, ...).
    bool writable = true;
};

} // namespace VireoSim
