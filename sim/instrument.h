// The simulated analyzer itself: concentration and ring-down readings, the
// operating mode with its timed procedures (tune, optimisation, scans), the
// alarms, the clock, and the once-a-second sample that feeds trend.db.
#pragma once

#include "sim/concentrationmodel.h"
#include "sim/trendsample.h"

#include <QDateTime>
#include <QJsonArray>
#include <QObject>
#include <QSet>
#include <QSettings>
#include <QTimer>

namespace VireoSim {

struct Options;
class SettingsStore;
class SettingsTable;
class TrendStore;
class ScanStore;
class SimLog;

class Instrument : public QObject
{
    Q_OBJECT
public:
    Instrument(const Options& options, const SettingsTable& table, SettingsStore& settings,
               TrendStore& trend, ScanStore& scans, SimLog& log, const QString& stateDir,
               QObject* parent = nullptr);

    /// Backfills the trend history and starts the once-a-second tick.
    void start();
    /// Advances the instrument one second (the tick's work; tests call it directly).
    void tick();
    /// Writes history from max(newest sample, now - days) up to now.
    qint64 backfill(int days);

    static QString modeName(int mode);
    int opmode() const { return m_mode; }
    /// Operator mode change; false with a message when the mode cannot be requested.
    bool requestMode(int mode, QString* message);
    /// Starts a scan (mode 4, 5, 12 or 13) with the parameters the panel sends.
    bool startScan(const QString& method, const QJsonArray& params, QString* message);

    // Readings.
    double ppbv() const;          ///< after fit and the negative clamp
    double concentration() const; ///< in the current display unit
    TrendSample currentSample() const;
    QJsonValue tau() const;
    QJsonValue tauStd() const;
    double tauZero() const { return m_tauZero; }
    double tauZeroStd() const { return m_tauZero * 0.0015; }
    QJsonArray lastRingDown();
    double reading(const QString& name);

    // Alarms.
    bool alarm(const QString& name) const;
    bool systemAlarm() const;
    void forceAlarm(const QString& name, bool on);

    // Pressure controller.
    bool apcOpen() const { return m_apcOpen; }
    void setApcOpen(bool open);
    bool calibrateApc(const QString& step, const QJsonArray& params, QString* message);

    // Verification reminder.
    bool certificateExpired() const;
    void deleteCertificateReminder();
    void postponeCertificateReminder();

    // Clock and schedule.
    QDateTime now() const;
    bool setClock(const QString& text, QString* message);
    QString lastTune() const;
    QString nextTune() const;
    QString lastOptimization() const;
    QString tuneInterval() const;
    bool setTuneSchedule(const QJsonArray& params, QString* message);

    void setConcentrationOverride(double ppb) { m_model.setOverride(ppb); }

private:
    void finishTimedMode();
    void setMode(int mode, const QString& why);
    void saveState(const QString& key, const QVariant& value);
    double setting(const QString& key) const;
    bool settingFlag(const QString& key) const;
    double noise(double sigma);
    void appendSrdaRecord(const QJsonArray& ringDown);
    void ensureSrda();

    const Options& m_options;
    const SettingsTable& m_table;
    SettingsStore& m_settings;
    TrendStore& m_trend;
    ScanStore& m_scans;
    SimLog& m_log;
    QString m_stateDir;
    QSettings m_state;

    ConcentrationModel m_model;
    QRandomGenerator m_random;
    QTimer m_tickTimer;
    QTimer m_modeTimer;
    int m_mode = 2;
    QString m_scanMethod;
    QJsonArray m_scanParams;
    QDateTime m_modeStarted;
    double m_tauZero = 12.0;
    double m_pressure = 700;
    double m_reactorTemperature = 25;
    bool m_apcOpen = false;
    QSet<QString> m_forcedAlarms;
    qint64 m_ticks = 0;
};

} // namespace VireoSim
