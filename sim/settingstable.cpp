#include "sim/settingstable.h"

#include "sim/options.h"

#include <cmath>

namespace VireoSim {

namespace {

using Kind = SettingKey::Kind;
using Form = SettingKey::Form;

SettingKey boolKey(const char* key, bool value, const char* label)
{
    SettingKey k;
    k.key = QLatin1String(key);
    k.kind = Kind::Bool;
    k.defaultValue = value;
    k.label = QLatin1String(label);
    return k;
}

SettingKey numberKey(Kind kind, const char* key, double value, double minimum, double maximum,
                     const char* label, const char* unit = "")
{
    SettingKey k;
    k.key = QLatin1String(key);
    k.kind = kind;
    k.defaultValue = kind == Kind::Int ? QJsonValue(int(value)) : QJsonValue(value);
    k.minimum = minimum;
    k.maximum = maximum;
    k.label = QLatin1String(label);
    k.unit = QString::fromUtf8(unit);
    return k;
}

SettingKey doubleKey(const char* key, double value, double minimum, double maximum,
                     const char* label, const char* unit = "")
{
    return numberKey(Kind::Double, key, value, minimum, maximum, label, unit);
}

SettingKey intKey(const char* key, int value, int minimum, int maximum, const char* label,
                  const char* unit = "")
{
    return numberKey(Kind::Int, key, value, minimum, maximum, label, unit);
}

SettingKey textKey(const char* key, const QString& value, const QStringList& choices,
                   const char* label)
{
    SettingKey k;
    k.key = QLatin1String(key);
    k.kind = Kind::Text;
    k.defaultValue = value;
    k.choices = choices;
    k.label = QLatin1String(label);
    return k;
}

SettingKey fixed(SettingKey key)
{
    key.writable = false;
    return key;
}

SettingKey detectorSlot(SettingKey key)
{
    key.form = Form::DetectorSlot;
    return key;
}

QString rangeText(const SettingKey& key)
{
    const auto number = [&](double v) {
        return key.kind == Kind::Int ? QString::number(qint64(v)) : QString::number(v, 'g', 6);
    };
    QString text = QStringLiteral("from %1 to %2").arg(number(key.minimum), number(key.maximum));
    if (!key.unit.isEmpty())
        text += QLatin1Char(' ') + key.unit;
    return text;
}

} // namespace

SettingsTable::SettingsTable(const Options& o)
{
    const QStringList baudRates = {QStringLiteral("9600"),  QStringLiteral("14400"),
                                   QStringLiteral("19200"), QStringLiteral("28800"),
                                   QStringLiteral("38400"), QStringLiteral("56000"),
                                   QStringLiteral("57600"), QStringLiteral("115200")};
    const QStringList unitKeys = {QStringLiteral("volume"), QStringLiteral("weight"),
                                  QStringLiteral("dewpointc"), QStringLiteral("dewpointf"),
                                  QStringLiteral("dewpointk")};

    // Gas, outputs and schedule.
    add(textKey("current_gas", o.gases.value(0), o.gases, "Carrier gas"));
    SettingKey baud = intKey("baudrate", 115200, 9600, 115200, "Baud rate");
    baud.form = Form::PortKeyed;
    baud.choices = baudRates;
    baud.ports =
        QStringList{QStringLiteral("usb"), QStringLiteral("rs232"), QStringLiteral("rs485")};
    add(baud);
    add(doubleKey("a420_low_level", 0, 0, 1e7, "4-20 mA minimum concentration", "ppb"));
    add(doubleKey("a420_high_level", 1000, 0, 1e7, "4-20 mA maximum concentration", "ppb"));
    add(doubleKey("a420", 4, 4, 20, "4-20 mA output", "mA"));
    add(doubleKey("user_alarm_1_level", 1000, 0, 1e7, "Alarm 1 set point", "ppb"));
    add(doubleKey("user_alarm_2_level", 5000, 0, 1e7, "Alarm 2 set point", "ppb"));
    add(boolKey("user_alarm_1_relay", true, "Alarm 1 relay"));
    add(boolKey("user_alarm_2_relay", true, "Alarm 2 relay"));
    add(boolKey("sys_alarm_relay", false, "System alarm relay"));
    add(fixed(boolKey("fit_used", o.fitUsed, "Fit mode")));
    add(boolKey("fit_mode_enabled", false, "Fit mode"));
    add(doubleKey("fit_offset", 0, -1e6, 1e6, "Fit intercept", "ppb"));
    add(doubleKey("fit_slope", 1, -1000, 1000, "Fit slope"));
    add(intKey("data_log_interval", 60, 1, 86400, "Logging interval", "s"));
    add(boolKey("allow_automatic_laser_optimization", true, "Automatic laser optimization"));

    // Settings tab.
    add(doubleKey("laser_current", 95, 0, 120, "Laser current", "mA"));
    add(doubleKey("laser_temperature", 20, 0, 40, "Laser temperature", "°C"));
    add(doubleKey("trigger_threshold", 2500, 0, 5000, "Threshold", "mV"));
    add(fixed(boolKey("apc_used", o.apcUsed, "Pressure controller")));
    add(doubleKey("apc_set_point", 700, 10, 1000, "Pressure set point", "Torr"));
    add(boolKey("reactor_heater_enabled", true, "Reactor heater"));
    add(intKey("data_filter", 200, 10, 1000, "Data filter"));
    add(boolKey("dynamic_filter_enabled", false, "Automatic data filter"));
    add(fixed(intKey("dynamic_filter_used", 1, 0, 2, "Dynamic filter type")));
    add(textKey("units", QStringLiteral("volume"), unitKeys, "Display unit"));
    add(doubleKey("sample_gas_pressure", 0, -14.7, 300, "Sample gas pressure", "psig"));
    add(fixed(boolKey("dew_point_used", o.dewPointUsed, "Dew point units")));
    add(fixed(boolKey("reactor_used", o.reactorUsed, "Reactor")));
    add(doubleKey("switch_to_ppm", 1000, 1, 1e7, "ppm switch level", "ppb"));

    // Service tab: the analyzer's identity, fixed by its build.
    add(fixed(textKey("unit_name", o.unitName, {}, "Unit name")));
    add(fixed(intKey("unit_type", o.unitType, 0, 1000000, "Unit type")));
    add(fixed(textKey("serial_number", o.serialNumber, {}, "Serial number")));
    add(fixed(textKey("version", QStringLiteral("4.2.0-sim"), {}, "Version")));
    add(fixed(textKey("version_fpga", QStringLiteral("2.11"), {}, "FPGA version")));

    // Factory pages.
    add(doubleKey("vmod_amplitude", 0.35, 0, 10, "Vmod amplitude", "V"));
    add(doubleKey("vmod_factor", 1, 0, 100, "Vmod factor"));
    add(intKey("vmod_frequency", 1000, 1, 100000, "Vmod frequency", "Hz"));
    add(doubleKey("inverse_mirror_slope", 1.2345e-4, -1, 1, "Inverse mirror slope"));
    add(detectorSlot(intKey("detector_gain", 10, 1, 100, "Detector gain")));
    add(detectorSlot(boolKey("detector_filtering_enabled", true, "Detector filter")));
    add(intKey("pzt_frequency", 400, 1, 100000, "PZT frequency", "Hz"));
    add(boolKey("pzt_enabled", true, "PZT"));
    add(doubleKey("simconc", 0, 0, 1e7, "Simulated concentration", "ppb"));
    add(boolKey("track_and_hold_enable", false, "Track and hold"));
    add(boolKey("allow_negative_concentration", false, "Negative concentrations"));
    add(doubleKey("detector_temperature_setpoint", -5, -40, 40, "Detector temperature set point",
                  "°C"));

    // Verification reminder and certification.
    add(boolKey("calibration_certificate_run_on_peak", o.runOnPeak, "Certification on peak"));
    add(intKey("calibration_certificate_collection_time", o.collectionSeconds, 0, 864000,
               "Certification collection time", "s"));
}

void SettingsTable::add(SettingKey key)
{
    m_index.insert(key.key, m_keys.size());
    m_keys.append(key);
}

const SettingKey* SettingsTable::find(const QString& key) const
{
    const auto it = m_index.constFind(key);
    return it == m_index.constEnd() ? nullptr : &m_keys.at(*it);
}

QString SettingsTable::storageName(const SettingKey& key, const QString& port)
{
    return port.isEmpty() ? key.key : key.key + QLatin1Char('.') + port;
}

bool SettingsTable::validateValue(const SettingKey& key, const QJsonValue& value,
                                  QJsonValue* normalised, QString* message) const
{
    switch (key.kind) {
    case Kind::Bool:
        if (value.isBool()) {
            *normalised = value;
            return true;
        }
        if (value.isDouble() && (value.toDouble() == 0 || value.toDouble() == 1)) {
            *normalised = value.toDouble() != 0;
            return true;
        }
        *message = QStringLiteral("%1 must be switched on or off (true or false).").arg(key.label);
        return false;
    case Kind::Int:
    case Kind::Double: {
        double number = 0;
        bool ok = value.isDouble();
        if (ok)
            number = value.toDouble();
        else if (value.isString())
            number = value.toString().trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(number)) {
            *message = QStringLiteral("%1 must be a number.").arg(key.label);
            return false;
        }
        if (key.kind == Kind::Int && number != std::floor(number)) {
            *message = QStringLiteral("%1 must be a whole number.").arg(key.label);
            return false;
        }
        if (!key.choices.isEmpty()) {
            if (!key.choices.contains(QString::number(qint64(number)))) {
                *message = QStringLiteral("%1 must be one of %2.")
                               .arg(key.label, key.choices.join(QStringLiteral(", ")));
                return false;
            }
        } else if (number < key.minimum || number > key.maximum) {
            *message = QStringLiteral("%1 must be %2.").arg(key.label, rangeText(key));
            return false;
        }
        *normalised = key.kind == Kind::Int ? QJsonValue(qint64(number)) : QJsonValue(number);
        return true;
    }
    case Kind::Text:
        if (!value.isString()) {
            *message = QStringLiteral("%1 must be given as text.").arg(key.label);
            return false;
        }
        if (!key.choices.isEmpty() && !key.choices.contains(value.toString())) {
            *message =
                QStringLiteral("%1 \"%2\" is not known; choose one of %3.")
                    .arg(key.label, value.toString(), key.choices.join(QStringLiteral(", ")));
            return false;
        }
        *normalised = value;
        return true;
    }
    return false;
}

bool SettingsTable::validateWrite(const SettingKey& key, const QJsonArray& params,
                                  QJsonValue* value, QString* port, QString* message) const
{
    port->clear();
    if (!key.writable) {
        *message = QStringLiteral("%1 is fixed by the analyzer's build and cannot be changed.")
                       .arg(key.label);
        return false;
    }
    QJsonValue given;
    switch (key.form) {
    case Form::Plain:
        if (params.size() != 1) {
            *message = QStringLiteral("%1 expects exactly one value.").arg(key.label);
            return false;
        }
        given = params.at(0);
        break;
    case Form::DetectorSlot:
        if (params.size() == 2) {
            if (params.at(0).toDouble(-1) != 1) {
                *message = QStringLiteral("This analyzer has only detector 1.");
                return false;
            }
            given = params.at(1);
        } else if (params.size() == 1) {
            given = params.at(0);
        } else {
            *message = QStringLiteral("%1 expects a value, optionally after the detector number.")
                           .arg(key.label);
            return false;
        }
        break;
    case Form::PortKeyed:
        if (params.size() != 2 || !key.ports.contains(params.at(0).toString())) {
            *message = QStringLiteral("%1 expects a port (%2) and a value.")
                           .arg(key.label, key.ports.join(QStringLiteral(", ")));
            return false;
        }
        *port = params.at(0).toString();
        given = params.at(1);
        break;
    }
    return validateValue(key, given, value, message);
}

} // namespace VireoSim
