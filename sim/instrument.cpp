#include "sim/instrument.h"

#include "sim/options.h"
#include "sim/scanstore.h"
#include "sim/settingsstore.h"
#include "sim/settingstable.h"
#include "sim/simlog.h"
#include "sim/trendstore.h"
#include "sim/unitmath.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>

namespace VireoSim {

namespace {

const char* const kModeNames[] = {"SHUTDOWN",
                                  "CLOSE FILES",
                                  "SERVICE MODE",
                                  "TUNE MODE",
                                  "REFERENCE CELL SCAN: CURRENT",
                                  "REFERENCE CELL SCAN: TEMPERATURE",
                                  "OPTIMIZE LASER",
                                  "OPTIMIZE LASER FAILED",
                                  "MEASURE MODE",
                                  "CENTERING FAILED",
                                  "OFF-PEAK MODE",
                                  "UNEXPECTED ERROR",
                                  "CAVITY SCAN: CURRENT",
                                  "CAVITY SCAN: TEMPERATURE"};

// Absorption per ppb: 1/tau grows by this much (1/µs), so 1000 ppb shortens a
// 12 µs empty-cavity ring-down to 10 µs.
const double kAbsorptionPerPpb = 1.0 / 60000.0;
const double kRingDownAlarmTau = 1.0; // µs; below it the reading is "OVER"
const double kWarningPpb = 40000.0;
const int kWaveformSamples = 640; // 0.1 µs apart, six before the trigger
const char kTimeFormat[] = "yyyy-MM-dd HH:mm:ss";

} // namespace

Instrument::Instrument(const Options& options, const SettingsTable& table, SettingsStore& settings,
                       TrendStore& trend, ScanStore& scans, SimLog& log, const QString& stateDir,
                       QObject* parent)
    : QObject(parent), m_options(options), m_table(table), m_settings(settings), m_trend(trend),
      m_scans(scans), m_log(log), m_stateDir(stateDir),
      m_state(stateDir + QStringLiteral("/sim-state.ini"), QSettings::IniFormat),
      m_model(options.baselinePpb,
              options.seed ? options.seed : QRandomGenerator::global()->generate()),
      m_random(options.seed ? options.seed + 1 : QRandomGenerator::global()->generate()), m_mode(8)
{
    for (const QString& alarm : options.alarms)
        m_forcedAlarms.insert(alarm);
    m_tauZero = m_state.value(QStringLiteral("tauZero"), 12.0).toDouble();
    m_pressure = setting(QStringLiteral("apc_set_point"));
    m_reactorTemperature = settingFlag(QStringLiteral("reactor_heater_enabled")) ? 350.0 : 25.0;
    m_modeStarted = now();
    m_tickTimer.setInterval(1000);
    connect(&m_tickTimer, &QTimer::timeout, this, &Instrument::tick);
    m_modeTimer.setSingleShot(true);
    connect(&m_modeTimer, &QTimer::timeout, this, &Instrument::finishTimedMode);
}

QString Instrument::modeName(int mode)
{
    return mode >= 0 && mode < 14 ? QLatin1String(kModeNames[mode]) : QStringLiteral("UNKNOWN");
}

void Instrument::saveState(const QString& key, const QVariant& value)
{
    // Written through at once: the simulator may be killed at any moment.
    m_state.setValue(key, value);
    m_state.sync();
}

double Instrument::setting(const QString& key) const
{
    const SettingKey* row = m_table.find(key);
    return m_settings.value(key, row ? row->defaultValue : QJsonValue()).toDouble();
}

bool Instrument::settingFlag(const QString& key) const
{
    const SettingKey* row = m_table.find(key);
    return m_settings.value(key, row ? row->defaultValue : QJsonValue()).toBool();
}

double Instrument::noise(double sigma)
{
    const double u1 = std::max(m_random.generateDouble(), 1e-12);
    const double u2 = m_random.generateDouble();
    return sigma * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

void Instrument::start()
{
    ensureSrda();
    if (m_options.backfillDays > 0)
        backfill(m_options.backfillDays);
    m_log.write(QStringLiteral("Analyzer started in ") + modeName(m_mode));
    m_tickTimer.start();
}

qint64 Instrument::backfill(int days)
{
    const QDateTime end = QDateTime::fromSecsSinceEpoch(now().toSecsSinceEpoch());
    // Whole days of samples (86,400 each), whatever clock change lies between.
    QDateTime from = end.addSecs(-qint64(days) * 86400);
    const QDateTime newest = m_trend.lastSampleTime();
    if (newest.isValid() && newest >= from)
        from = newest.addSecs(1);
    if (from >= end)
        return 0;
    const QString gas =
        m_settings.value(QStringLiteral("current_gas"), QStringLiteral("N2")).toString();
    const double pressure = setting(QStringLiteral("sample_gas_pressure"));
    // The history has its own generator: the live reading carries on from the
    // baseline whatever length of history was made.
    ConcentrationModel history(m_model.baseline(), m_random.generate());
    const qint64 rows = m_trend.backfill(from, end, [&]() {
        const double ppbv = history.step();
        return UnitMath::sample(ppbv, gas, pressure, ppbv > kWarningPpb);
    });
    m_log.write(QStringLiteral("Trend history filled with %1 samples").arg(rows));
    return rows;
}

void Instrument::tick()
{
    ++m_ticks;
    const double simulated = setting(QStringLiteral("simconc"));
    m_model.setOverride(simulated);
    m_model.step();

    // The pressure controller holds its set point unless opened to the room.
    const double pressureTarget =
        (m_apcOpen || !m_options.apcUsed) ? 760.0 : setting(QStringLiteral("apc_set_point"));
    m_pressure += (pressureTarget - m_pressure) / 5.0;
    const bool heating =
        m_options.reactorUsed && settingFlag(QStringLiteral("reactor_heater_enabled"));
    m_reactorTemperature += ((heating ? 350.0 : 25.0) - m_reactorTemperature) / 120.0;

    m_trend.append(now(), currentSample());
    if (m_ticks % 60 == 0 && (m_mode == 8 || m_mode == 10))
        appendSrdaRecord(lastRingDown());
}

void Instrument::setMode(int mode, const QString& why)
{
    if (mode == m_mode)
        return;
    m_log.write(QStringLiteral("Mode %1 -> %2 (%3)").arg(modeName(m_mode), modeName(mode), why));
    m_mode = mode;
    m_modeStarted = now();
}

bool Instrument::requestMode(int mode, QString* message)
{
    switch (mode) {
    case 0:
    case 1:
    case 2:
    case 8:
    case 10:
        m_modeTimer.stop();
        setMode(mode, QStringLiteral("requested"));
        if (mode == 1) {
            // Closing files takes a moment, then the analyzer is shut down.
            m_modeTimer.start(1000);
        }
        return true;
    case 3:
    case 6:
        m_modeTimer.stop();
        setMode(mode, QStringLiteral("requested"));
        m_modeTimer.start(m_options.scanSeconds * 1000);
        return true;
    case 4:
    case 5:
    case 12:
    case 13:
        *message = QStringLiteral(
            "Scans are started from the Scans screen, which sends their parameters.");
        return false;
    default:
        if (mode >= 0 && mode < 14)
            *message =
                QStringLiteral("The analyzer enters \"%1\" by itself; it cannot be requested.")
                    .arg(modeName(mode));
        else
            *message = QStringLiteral("There is no operating mode %1.").arg(mode);
        return false;
    }
}

bool Instrument::startScan(const QString& method, const QJsonArray& params, QString* message)
{
    static const QHash<QString, QPair<int, int>> scans = {
        // method: mode, parameter count
        {QStringLiteral("cavity_scan_current"), {12, 6}},
        {QStringLiteral("cavity_scan_temperature"), {13, 6}},
        {QStringLiteral("refcell_scan_current"), {4, 5}},
        {QStringLiteral("refcell_scan_temperature"), {5, 5}},
    };
    const QPair<int, int> scan = scans.value(method);
    if (params.size() != scan.second) {
        *message =
            QStringLiteral("This scan needs %1 numbers: start, stop, step, delay, %2.")
                .arg(scan.second)
                .arg(scan.second == 6
                         ? QStringLiteral("the fixed laser value and the ring-downs per step")
                         : QStringLiteral("the fixed laser value"));
        return false;
    }
    for (const QJsonValue& value : params) {
        if (!value.isDouble() || !std::isfinite(value.toDouble())) {
            *message = QStringLiteral("Every scan parameter must be a number.");
            return false;
        }
    }
    const double start = params.at(0).toDouble();
    const double stop = params.at(1).toDouble();
    const double step = params.at(2).toDouble();
    if (step <= 0 || stop <= start) {
        *message = QStringLiteral(
            "The scan must run from a lower start to a higher stop with a positive step.");
        return false;
    }
    if ((stop - start) / step > 100000) {
        *message =
            QStringLiteral("The scan would take more than 100000 steps; choose a larger step.");
        return false;
    }
    if (params.at(3).toDouble() < 0) {
        *message = QStringLiteral("The delay between steps cannot be negative.");
        return false;
    }
    m_modeTimer.stop();
    m_scanMethod = method;
    m_scanParams = params;
    setMode(scan.first, method);
    m_modeTimer.start(m_options.scanSeconds * 1000);
    return true;
}

void Instrument::finishTimedMode()
{
    switch (m_mode) {
    case 1:
        setMode(0, QStringLiteral("files closed"));
        break;
    case 3:
        m_tauZero = 12.0 + noise(0.05);
        saveState(QStringLiteral("tauZero"), m_tauZero);
        saveState(QStringLiteral("lastTune"), now().toString(QLatin1String(kTimeFormat)));
        setMode(8, QStringLiteral("tune finished"));
        break;
    case 6:
        saveState(QStringLiteral("lastOptimization"), now().toString(QLatin1String(kTimeFormat)));
        setMode(2, QStringLiteral("optimisation finished"));
        break;
    case 4:
    case 5:
    case 12:
    case 13:
        m_scans.record(m_scanMethod, m_scanParams, m_modeStarted, now(), m_tauZero);
        setMode(2, QStringLiteral("scan finished"));
        break;
    default:
        break;
    }
}

double Instrument::ppbv() const
{
    double value = m_model.value();
    if (m_options.fitUsed && settingFlag(QStringLiteral("fit_mode_enabled")))
        value =
            setting(QStringLiteral("fit_slope")) * value + setting(QStringLiteral("fit_offset"));
    if (!settingFlag(QStringLiteral("allow_negative_concentration")))
        value = std::max(0.0, value);
    return value;
}

TrendSample Instrument::currentSample() const
{
    return UnitMath::sample(
        ppbv(), m_settings.value(QStringLiteral("current_gas"), QStringLiteral("N2")).toString(),
        setting(QStringLiteral("sample_gas_pressure")), systemAlarm());
}

double Instrument::concentration() const
{
    return UnitMath::inUnit(
        currentSample(),
        m_settings.value(QStringLiteral("units"), QStringLiteral("volume")).toString());
}

QJsonValue Instrument::tau() const
{
    if (m_mode <= 1)
        return QJsonValue(QJsonValue::Null);
    return 1.0 / (1.0 / m_tauZero + kAbsorptionPerPpb * std::max(0.0, m_model.value()));
}

QJsonValue Instrument::tauStd() const
{
    const QJsonValue t = tau();
    return t.isNull() ? t : QJsonValue(t.toDouble() * 0.003);
}

QJsonArray Instrument::lastRingDown()
{
    const QJsonValue t = tau();
    const double tauUs = t.isNull() ? -1.0 : t.toDouble() * (1.0 + noise(0.003));
    const double amplitude = t.isNull() ? 0.0 : 1.6 * (1.0 + noise(0.02));
    QJsonArray samples;
    for (int i = 0; i < kWaveformSamples; ++i) {
        double v = 0.02 + noise(0.004);
        if (i >= 6 && tauUs > 0)
            v += amplitude * std::exp(-(i - 6) * 0.1 / tauUs);
        samples.append(std::round(v * 10000.0) / 10000.0);
    }
    return QJsonArray{double(QDateTime::currentMSecsSinceEpoch()), tauUs, amplitude, samples};
}

double Instrument::reading(const QString& name)
{
    if (name == QLatin1String("get_customer_laser_current") ||
        name == QLatin1String("measure_current"))
        return setting(QStringLiteral("laser_current")) + noise(0.02);
    if (name == QLatin1String("get_customer_laser_temperature") ||
        name == QLatin1String("measure_temperature"))
        return setting(QStringLiteral("laser_temperature")) + noise(0.003);
    if (name == QLatin1String("laser_current_monitor"))
        return setting(QStringLiteral("laser_current")) * 0.998 + noise(0.02);
    if (name == QLatin1String("bfd"))
        return 118.0 + noise(0.4);
    if (name == QLatin1String("laser_external_temperature"))
        return 24.5 + 0.5 * std::sin(double(m_ticks) / 3600.0) + noise(0.02);
    if (name == QLatin1String("refcell"))
        return 850.0 + noise(1.5);
    if (name == QLatin1String("measured_pressure_alarm") || name == QLatin1String("apc_pressure"))
        return m_pressure + noise(0.2);
    if (name == QLatin1String("tec_current"))
        return 0.85 + noise(0.005);
    if (name == QLatin1String("detector_temperature_actual"))
        return setting(QStringLiteral("detector_temperature_setpoint")) + noise(0.02);
    if (name == QLatin1String("reactor_temperature"))
        return m_reactorTemperature + noise(0.1);
    if (name == QLatin1String("reactor_pressure"))
        return 30.0 + noise(0.05);
    return std::nan("");
}

bool Instrument::alarm(const QString& name) const
{
    if (m_forcedAlarms.contains(name))
        return true;
    if (name == QLatin1String("rd")) {
        const QJsonValue t = tau();
        return !t.isNull() && t.toDouble() < kRingDownAlarmTau;
    }
    if (name == QLatin1String("conc_warning"))
        return m_model.value() > kWarningPpb;
    if (name == QLatin1String("temp"))
        return m_options.reactorUsed && m_reactorTemperature < 300.0;
    if (name == QLatin1String("user_alarm_1"))
        return ppbv() > setting(QStringLiteral("user_alarm_1_level"));
    if (name == QLatin1String("user_alarm_2"))
        return ppbv() > setting(QStringLiteral("user_alarm_2_level"));
    return false;
}

bool Instrument::systemAlarm() const
{
    static const char* const system[] = {
        "laser", "pressure", "rd", "temp", "refcell", "detector_temperature", "conc_warning"};
    for (const char* name : system) {
        if (alarm(QLatin1String(name)))
            return true;
    }
    return false;
}

void Instrument::forceAlarm(const QString& name, bool on)
{
    if (on)
        m_forcedAlarms.insert(name);
    else
        m_forcedAlarms.remove(name);
    m_log.write(QStringLiteral("Alarm %1 %2")
                    .arg(name, on ? QStringLiteral("raised") : QStringLiteral("cleared")));
}

void Instrument::setApcOpen(bool open)
{
    m_apcOpen = open;
    m_log.write(open ? QStringLiteral("Pressure controller opened")
                     : QStringLiteral("Pressure controller controlling"));
}

bool Instrument::calibrateApc(const QString& step, const QJsonArray& params, QString* message)
{
    if (!m_options.apcUsed) {
        *message = QStringLiteral("This analyzer has no pressure controller to calibrate.");
        return false;
    }
    double expected = 0;
    if (step == QLatin1String("apc_calibrate_adc_v1"))
        expected = 1.024;
    else if (step == QLatin1String("apc_calibrate_adc_v2"))
        expected = 4.096;
    if (expected > 0) {
        const double volts = params.at(0).toDouble(-1);
        if (params.size() != 1 || std::abs(volts - expected) > expected * 0.05) {
            *message =
                QStringLiteral("The ADC calibration expects the %1 V reference.").arg(expected);
            return false;
        }
    }
    m_log.write(QStringLiteral("Pressure controller calibration step %1 done").arg(step));
    return true;
}

bool Instrument::certificateExpired() const
{
    if (!m_options.certificateExpired ||
        m_state.value(QStringLiteral("certificate/deleted")).toBool())
        return false;
    const QDateTime until =
        m_state.value(QStringLiteral("certificate/postponedUntil")).toDateTime();
    return !until.isValid() || QDateTime::currentDateTime() >= until;
}

void Instrument::deleteCertificateReminder()
{
    saveState(QStringLiteral("certificate/deleted"), true);
    m_log.write(QStringLiteral("Performance verification reminder disabled"));
}

void Instrument::postponeCertificateReminder()
{
    saveState(QStringLiteral("certificate/postponedUntil"),
              QDateTime::currentDateTime().addDays(7));
    m_log.write(QStringLiteral("Performance verification reminder postponed by one week"));
}

QDateTime Instrument::now() const
{
    return QDateTime::currentDateTime().addSecs(
        m_state.value(QStringLiteral("clockOffset"), 0).toLongLong());
}

bool Instrument::setClock(const QString& text, QString* message)
{
    QDateTime wanted = QDateTime::fromString(text.trimmed(), QLatin1String(kTimeFormat));
    if (!wanted.isValid()) {
        const QTime time = QTime::fromString(text.trimmed(), QStringLiteral("HH:mm:ss"));
        if (time.isValid())
            wanted = QDateTime(now().date(), time);
    }
    if (!wanted.isValid()) {
        *message = QStringLiteral(
                       "\"%1\" is not a date and time (yyyy-MM-dd HH:mm:ss) or a time (HH:mm:ss).")
                       .arg(text);
        return false;
    }
    saveState(QStringLiteral("clockOffset"), QDateTime::currentDateTime().secsTo(wanted));
    m_log.write(QStringLiteral("Clock set to ") + wanted.toString(QLatin1String(kTimeFormat)));
    return true;
}

QString Instrument::lastTune() const
{
    return m_state.value(QStringLiteral("lastTune"), QStringLiteral("Never")).toString();
}

QString Instrument::lastOptimization() const
{
    return m_state.value(QStringLiteral("lastOptimization"), QStringLiteral("Never")).toString();
}

QString Instrument::tuneInterval() const
{
    return m_state.value(QStringLiteral("tune/interval"), QStringLiteral("weekly")).toString();
}

QString Instrument::nextTune() const
{
    const QString interval = tuneInterval();
    QDateTime next =
        m_state.value(QStringLiteral("tune/start"), QDateTime(QDate(2024, 1, 1), QTime(2, 0)))
            .toDateTime();
    if (interval == QLatin1String("never") || !next.isValid())
        return QStringLiteral("Never");
    const QDateTime current = now();
    while (next < current) {
        if (interval == QLatin1String("monthly"))
            next = next.addMonths(1);
        else if (interval == QLatin1String("weekly"))
            next = next.addDays(7);
        else if (interval == QLatin1String("daily"))
            next = next.addDays(1);
        else
            next = next.addSecs(qMax<qint64>(3600, (next.secsTo(current) / 3600) * 3600));
    }
    return next.toString(QLatin1String(kTimeFormat));
}

bool Instrument::setTuneSchedule(const QJsonArray& params, QString* message)
{
    static const QStringList intervals = {QStringLiteral("monthly"), QStringLiteral("weekly"),
                                          QStringLiteral("daily"), QStringLiteral("hourly"),
                                          QStringLiteral("never")};
    const QString interval = params.at(0).toString().toLower();
    if (params.size() != 2 || !intervals.contains(interval)) {
        *message = QStringLiteral("The tune schedule needs an interval (%1) and a start time.")
                       .arg(intervals.join(QStringLiteral(", ")));
        return false;
    }
    const QDateTime start =
        QDateTime::fromString(params.at(1).toString(), QStringLiteral("yyyy-M-d HH:mm:ss"));
    if (!start.isValid()) {
        *message = QStringLiteral("The tune start \"%1\" is not a date and time.")
                       .arg(params.at(1).toString());
        return false;
    }
    saveState(QStringLiteral("tune/interval"), interval);
    saveState(QStringLiteral("tune/start"), start);
    return true;
}

void Instrument::ensureSrda()
{
    const QString path = m_stateDir + QStringLiteral("/srda.bin");
    if (QFile::exists(path))
        return;
    for (int i = 0; i < 64; ++i)
        appendSrdaRecord(lastRingDown());
}

void Instrument::appendSrdaRecord(const QJsonArray& ringDown)
{
    // Record: time (ms), ring-down time (µs), amplitude (V), sample count,
    // samples as 16-bit ADC counts of 1/10000 V; little endian.
    QFile file(m_stateDir + QStringLiteral("/srda.bin"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    const QJsonArray samples = ringDown.at(3).toArray();
    out << qint64(ringDown.at(0).toDouble()) << float(ringDown.at(1).toDouble())
        << float(ringDown.at(2).toDouble()) << quint16(samples.size());
    for (const QJsonValue& v : samples)
        out << quint16(std::clamp(v.toDouble() * 10000.0, 0.0, 65535.0));
}

} // namespace VireoSim
