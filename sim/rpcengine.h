// The simulated measurement server without its sockets: turns one received
// line (a request or a batch) into the reply, using the settings table, the
// instrument and the stores. The server and the benchmarks drive it directly.
#pragma once

#include "sim/faultplan.h"
#include "sim/options.h"
#include "sim/rpcoutcome.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <functional>
#include <memory>

namespace VireoSim {

class Instrument;
class ScanStore;
class SettingsStore;
class SettingsTable;
class SimLog;
class TransferManager;
class TrendStore;
struct SettingKey;

class RpcEngine : public QObject
{
    Q_OBJECT
public:
    explicit RpcEngine(const Options& options, QObject* parent = nullptr);
    ~RpcEngine() override;

    /// Creates the state folder and opens every store; false with a message on failure.
    bool open(QString* error);
    /// Starts the instrument (backfill, then the once-a-second tick).
    void start();

    /// Answers one received line: a JSON object for a request or an error, a
    /// JSON array for a batch. The value is null when nothing is to be sent.
    QJsonValue handleLine(const QByteArray& line);
    /// Answers one request object.
    QJsonObject handleRequest(const QJsonValue& request);
    /// handleLine's reply as the compact JSON text that goes on the wire,
    /// written without building large results as JSON values.
    QByteArray answerLine(const QByteArray& line);

    /// What the faults aimed at methods ask of the line answered last.
    struct LineFate
    {
        /// Answer it this many milliseconds late (0: at once).
        int delayMs = 0;
        /// Answer it this many milliseconds after the link's last line served
        /// in turn (0: not served in turn).
        int inTurnMs = 0;
        /// Close the connection this many milliseconds after the reply (-1: never).
        int dropLinkAfterMs = -1;
    };
    const LineFate& lastLineFate() const { return m_lineFate; }

    QStringList methods() const;
    Instrument& instrument() { return *m_instrument; }
    TrendStore& trend() { return *m_trend; }
    SettingsStore& settings() { return *m_settings; }
    FaultPlan& faults() { return m_faults; }
    const Options& options() const { return m_options; }

signals:
    /// The fault plan changed through sim_control.
    void faultsChanged();

private:
    using Handler = std::function<RpcOutcome(const QJsonArray& params, bool hasParams)>;

    RpcOutcome answer(const QJsonValue& request, QJsonValue* id, bool* dropped = nullptr);
    RpcOutcome faultFor(const QString& method, const QJsonArray& params, bool hasParams,
                        bool* dropped);
    bool appendReply(const QJsonValue& request, QByteArray* out);
    static QJsonObject replyObject(const QJsonValue& id, const RpcOutcome& outcome);
    void registerMethods();
    void on(const QString& method, Handler handler);
    void reading(const QString& method, std::function<QJsonValue()> read);
    void action(const QString& method, std::function<RpcOutcome(const QJsonArray&)> act);
    RpcOutcome handleSetting(const SettingKey& key, const QJsonArray& params, bool hasParams);
    QJsonValue settingValue(const QString& key) const;
    RpcOutcome download(const QString& fileName);
    RpcOutcome trendData(const QJsonArray& params);
    RpcOutcome networkAddress(const QJsonArray& params, bool hasParams);
    RpcOutcome control(const QJsonArray& params);
    bool acceptSettingsUpload(const QString& path, QString* message);

    Options m_options;
    FaultPlan m_faults;
    LineFate m_lineFate;
    /// Calls seen so far per drop rule, by the rule's text.
    QHash<QString, int> m_dropCounts;
    std::unique_ptr<SettingsTable> m_table;
    std::unique_ptr<SimLog> m_log;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<TrendStore> m_trend;
    std::unique_ptr<ScanStore> m_scans;
    std::unique_ptr<TransferManager> m_transfers;
    std::unique_ptr<Instrument> m_instrument;
    QHash<QString, Handler> m_handlers;
};

} // namespace VireoSim
