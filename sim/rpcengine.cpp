#include "sim/rpcengine.h"

#include "sim/instrument.h"
#include "sim/scanstore.h"
#include "sim/settingsstore.h"
#include "sim/settingstable.h"
#include "sim/simlog.h"
#include "sim/transfermanager.h"
#include "sim/trendstore.h"

#include <QDir>
#include <QHostAddress>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>

namespace VireoSim {

namespace {

const char kTimeFormat[] = "yyyy-MM-dd HH:mm:ss";

QJsonObject errorReply(const QJsonValue& id, int code, const QString& message)
{
    return QJsonObject{
        {QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
        {QStringLiteral("id"), id},
        {QStringLiteral("error"),
         QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}}}};
}

constexpr int kLargeReply = 4096;

QByteArray compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonValue number(double value)
{
    // JSON has no NaN; a reading that does not exist is null.
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

bool validIpv4(const QString& text)
{
    QHostAddress address;
    return text.count(QLatin1Char('.')) == 3 && address.setAddress(text) &&
           address.protocol() == QAbstractSocket::IPv4Protocol;
}

bool validNetmask(const QString& text)
{
    if (!validIpv4(text))
        return false;
    const quint32 mask = QHostAddress(text).toIPv4Address();
    // Contiguous ones from the top: inverting gives 0...01...1, and adding one
    // makes a power of two.
    const quint32 inverted = ~mask;
    return (inverted & (inverted + 1)) == 0;
}

} // namespace

RpcEngine::RpcEngine(const Options& options, QObject* parent)
    : QObject(parent), m_options(options), m_faults(options.faults)
{
}

RpcEngine::~RpcEngine() = default;

bool RpcEngine::open(QString* error)
{
    QDir dir(m_options.stateDir);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot create the state folder ") + m_options.stateDir;
        return false;
    }
    const QString base = dir.absolutePath() + QLatin1Char('/');
    m_table = std::make_unique<SettingsTable>(m_options);
    m_log = std::make_unique<SimLog>(base + QStringLiteral("vireo.log"));
    m_settings = std::make_unique<SettingsStore>(*m_table, base + QStringLiteral("settings.db"));
    m_trend = std::make_unique<TrendStore>(base + QStringLiteral("trend.db"));
    m_scans = std::make_unique<ScanStore>(base + QStringLiteral("scans.db"));
    m_transfers =
        std::make_unique<TransferManager>(base + QStringLiteral("transfers"), m_options.chunkSize);
    if (!m_settings->open(error) || !m_trend->open(error) || !m_scans->open(error))
        return false;
    m_instrument = std::make_unique<Instrument>(m_options, *m_table, *m_settings, *m_trend,
                                                *m_scans, *m_log, dir.absolutePath());
    registerMethods();
    return true;
}

void RpcEngine::start()
{
    m_instrument->start();
}

QStringList RpcEngine::methods() const
{
    QStringList names = m_handlers.keys();
    names.sort();
    return names;
}

QJsonValue RpcEngine::handleLine(const QByteArray& line)
{
    m_lineFate = LineFate();
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return errorReply(QJsonValue::Null, -32700, QStringLiteral("Parse error"));
    bool dropped = false;
    QJsonValue id;
    if (doc.isObject()) {
        const RpcOutcome outcome = answer(doc.object(), &id, &dropped);
        return dropped ? QJsonValue() : QJsonValue(replyObject(id, outcome));
    }
    // An empty batch is answered with an empty array: one line in, one line out,
    // and a reader that skips empty arrays sees nothing.
    const QJsonArray requests = doc.array();
    QJsonArray replies;
    for (const QJsonValue& request : requests) {
        const RpcOutcome outcome = answer(request, &id, &dropped);
        if (!dropped)
            replies.append(replyObject(id, outcome));
    }
    if (replies.isEmpty() && !requests.isEmpty())
        return QJsonValue(); // every reply of the batch was dropped
    return replies;
}

QByteArray RpcEngine::answerLine(const QByteArray& line)
{
    m_lineFate = LineFate();
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return compact(errorReply(QJsonValue::Null, -32700, QStringLiteral("Parse error")));
    QByteArray replies;
    if (doc.isObject()) {
        appendReply(doc.object(), &replies);
        return replies;
    }
    replies += '[';
    const QJsonArray requests = doc.array();
    int written = 0;
    for (int i = 0; i < requests.size(); ++i) {
        const int before = replies.size();
        if (written > 0)
            replies += ',';
        if (!appendReply(requests.at(i), &replies)) {
            replies.truncate(before);
            continue;
        }
        // A batch of file chunks: room for all of them at once rather than
        // growing (and copying) a large reply step by step.
        if (written++ == 0 && replies.size() > kLargeReply)
            replies.reserve(replies.size() * requests.size() + requests.size());
    }
    if (written == 0 && !requests.isEmpty())
        return QByteArray(); // every reply of the batch was dropped
    replies += ']';
    return replies;
}

bool RpcEngine::appendReply(const QJsonValue& request, QByteArray* out)
{
    QJsonValue id;
    bool dropped = false;
    const RpcOutcome outcome = answer(request, &id, &dropped);
    if (dropped)
        return false;
    if (outcome.code != 0 || outcome.encodedResult.isEmpty()) {
        *out += compact(replyObject(id, outcome));
        return true;
    }
    // The id goes out as it came; a one-element array encodes it exactly.
    const QByteArray idText = QJsonDocument(QJsonArray{id}).toJson(QJsonDocument::Compact);
    *out += R"({"jsonrpc":"2.0","id":)";
    out->append(idText.constData() + 1, idText.size() - 2);
    *out += R"(,"result":)";
    *out += outcome.encodedResult;
    *out += '}';
    return true;
}

QJsonObject RpcEngine::handleRequest(const QJsonValue& request)
{
    QJsonValue id;
    const RpcOutcome outcome = answer(request, &id);
    return replyObject(id, outcome);
}

QJsonObject RpcEngine::replyObject(const QJsonValue& id, const RpcOutcome& outcome)
{
    if (outcome.code != 0)
        return errorReply(id, outcome.code, outcome.message);
    const QJsonValue result =
        outcome.encodedResult.isEmpty()
            ? outcome.result
            : QJsonDocument::fromJson('[' + outcome.encodedResult + ']').array().at(0);
    return QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                       {QStringLiteral("id"), id},
                       {QStringLiteral("result"), result}};
}

RpcOutcome RpcEngine::answer(const QJsonValue& requestValue, QJsonValue* id, bool* dropped)
{
    if (dropped)
        *dropped = false;
    const QJsonObject request = requestValue.toObject();
    *id = request.contains(QStringLiteral("id")) ? request.value(QStringLiteral("id"))
                                                 : QJsonValue(QJsonValue::Null);
    const QJsonValue methodValue = request.value(QStringLiteral("method"));
    if (!requestValue.isObject() || !methodValue.isString())
        return RpcOutcome::fail(QStringLiteral("Invalid Request"), -32600);
    const QString method = methodValue.toString();
    const auto handler = m_handlers.constFind(method);
    if (handler == m_handlers.constEnd())
        return RpcOutcome::fail(QStringLiteral("Method not found: ") + method, -32601);
    const QJsonValue params = request.value(QStringLiteral("params"));
    const RpcOutcome fault = faultFor(method, params.toArray(), params.isArray(), dropped);
    if (fault.code != 0)
        return fault;
    if (!params.isUndefined() && !params.isArray())
        return RpcOutcome::fail(QStringLiteral("Invalid params: an array is expected"), -32602);
    return (*handler)(params.toArray(), params.isArray());
}

RpcOutcome RpcEngine::faultFor(const QString& method, const QJsonArray& params, bool hasParams,
                               bool* dropped)
{
    for (const MethodFault& rule : std::as_const(m_faults.delayedMethods)) {
        if (rule.matches(method, params, hasParams))
            m_lineFate.delayMs = std::max(m_lineFate.delayMs, rule.value);
    }
    for (const MethodFault& rule : std::as_const(m_faults.servedInTurn)) {
        if (rule.matches(method, params, hasParams))
            m_lineFate.inTurnMs = std::max(m_lineFate.inTurnMs, rule.value);
    }
    for (int i = 0; i < m_faults.dropLinkAfter.size(); ++i) {
        if (m_faults.dropLinkAfter.at(i).matches(method, params, hasParams)) {
            m_lineFate.dropLinkAfterMs = m_faults.dropLinkAfter.takeAt(i).value;
            break;
        }
    }
    for (const MethodFault& rule : std::as_const(m_faults.dropReplies)) {
        if (!dropped || !rule.matches(method, params, hasParams))
            continue;
        const int seen = ++m_dropCounts[rule.text()];
        if (rule.value == 0 || seen == rule.value)
            *dropped = true;
    }
    for (const MethodFault& rule : std::as_const(m_faults.failMethods)) {
        if (rule.matches(method, params, hasParams))
            return RpcOutcome::fail(QStringLiteral("Simulated failure of ") + method, rule.value);
    }
    return RpcOutcome::ok(QJsonValue());
}

void RpcEngine::on(const QString& method, Handler handler)
{
    m_handlers.insert(method, std::move(handler));
}

void RpcEngine::reading(const QString& method, std::function<QJsonValue()> read)
{
    on(method, [method, read](const QJsonArray&, bool hasParams) {
        if (hasParams)
            return RpcOutcome::fail(
                QStringLiteral("%1 is a reading of the analyzer and cannot be set.").arg(method));
        return RpcOutcome::ok(read());
    });
}

void RpcEngine::action(const QString& method, std::function<RpcOutcome(const QJsonArray&)> act)
{
    on(method, [act](const QJsonArray& params, bool) { return act(params); });
}

QJsonValue RpcEngine::settingValue(const QString& key) const
{
    const SettingKey* row = m_table->find(key);
    return m_settings->value(key, row ? row->defaultValue : QJsonValue());
}

RpcOutcome RpcEngine::handleSetting(const SettingKey& key, const QJsonArray& params, bool hasParams)
{
    if (key.form == SettingKey::Form::PortKeyed && params.size() == 1) {
        const QString port = params.at(0).toString();
        if (!key.ports.contains(port))
            return RpcOutcome::fail(QStringLiteral("There is no port \"%1\"; the ports are %2.")
                                        .arg(port, key.ports.join(QStringLiteral(", "))));
        return RpcOutcome::ok(
            m_settings->value(SettingsTable::storageName(key, port), key.defaultValue));
    }
    if (!hasParams)
        return RpcOutcome::ok(m_settings->value(key.key, key.defaultValue));

    QJsonValue value;
    QString port, message;
    if (!m_table->validateWrite(key, params, &value, &port, &message))
        return RpcOutcome::fail(message);
    if (key.key == QLatin1String("units") && !m_options.dewPointUsed &&
        value.toString().startsWith(QLatin1String("dew")))
        return RpcOutcome::fail(
            QStringLiteral("Dew point units are not available on this analyzer."));
    const QString name = SettingsTable::storageName(key, port);
    m_settings->setValue(name, value);
    m_log->write(
        QStringLiteral("Setting %1 = %2")
            .arg(name, QString::fromUtf8(
                           QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))));
    return RpcOutcome::ok(value);
}

void RpcEngine::registerMethods()
{
    Instrument& in = *m_instrument;

    for (const SettingKey& key : m_table->keys()) {
        const SettingKey* row = &key;
        on(key.key, [this, row](const QJsonArray& params, bool hasParams) {
            return handleSetting(*row, params, hasParams);
        });
    }

    // The relay setting doubles as the analyzer's "system alarm active" report;
    // a raised relay fault makes its reads say so without touching the setting.
    if (const SettingKey* relay = m_table->find(QStringLiteral("sys_alarm_relay"))) {
        on(relay->key, [this, relay](const QJsonArray& params, bool hasParams) {
            if (!hasParams && m_faults.alarmRelay)
                return RpcOutcome::ok(true);
            return handleSetting(*relay, params, hasParams);
        });
    }

    // Live values and alarms.
    reading(QStringLiteral("conc"), [&in] { return number(in.concentration()); });
    reading(QStringLiteral("species"), [this] { return m_options.species; });
    reading(QStringLiteral("available_gases"),
            [this] { return QJsonArray::fromStringList(m_options.gases); });
    reading(QStringLiteral("tau"), [&in] { return in.tau(); });
    reading(QStringLiteral("tau_std"), [&in] { return in.tauStd(); });
    reading(QStringLiteral("tau_zero"), [&in] { return QJsonValue(in.tauZero()); });
    reading(QStringLiteral("tau_zero_std"), [&in] { return QJsonValue(in.tauZeroStd()); });
    for (const char* name :
         {"get_customer_laser_current", "get_customer_laser_temperature", "bfd",
          "laser_current_monitor", "laser_external_temperature", "refcell",
          "measured_pressure_alarm", "apc_pressure", "tec_current", "detector_temperature_actual",
          "reactor_temperature", "reactor_pressure"}) {
        const QString method = QLatin1String(name);
        reading(method, [&in, method] { return number(in.reading(method)); });
    }
    // The scan screen asks for these with the laser number as parameter.
    for (const char* name : {"measure_current", "measure_temperature"}) {
        const QString method = QLatin1String(name);
        on(method, [&in, method](const QJsonArray& params, bool hasParams) {
            if (hasParams && !(params.size() == 1 && params.at(0).toDouble() == 1))
                return RpcOutcome::fail(QStringLiteral("This analyzer has only laser 1."));
            return RpcOutcome::ok(number(in.reading(method)));
        });
    }
    const QHash<QString, QString> alarms = {
        {QStringLiteral("laser_alarm_active"), QStringLiteral("laser")},
        {QStringLiteral("pressure_alarm_active"), QStringLiteral("pressure")},
        {QStringLiteral("rd_alarm_active"), QStringLiteral("rd")},
        {QStringLiteral("temp_alarm_active"), QStringLiteral("temp")},
        {QStringLiteral("refcell_alarm_active"), QStringLiteral("refcell")},
        {QStringLiteral("detector_temperature_alarm_active"),
         QStringLiteral("detector_temperature")},
        {QStringLiteral("conc_warning_alarm_active"), QStringLiteral("conc_warning")},
        {QStringLiteral("user_alarm_1_active"), QStringLiteral("user_alarm_1")},
        {QStringLiteral("user_alarm_2_active"), QStringLiteral("user_alarm_2")},
    };
    for (auto it = alarms.constBegin(); it != alarms.constEnd(); ++it) {
        const QString name = it.value();
        reading(it.key(), [&in, name] { return QJsonValue(in.alarm(name)); });
    }
    reading(QStringLiteral("calibration_certificate_expired"),
            [&in] { return QJsonValue(in.certificateExpired()); });

    // Operating mode, scans and the ring-down.
    on(QStringLiteral("opmode"), [&in](const QJsonArray& params, bool hasParams) {
        if (!hasParams)
            return RpcOutcome::ok(in.opmode());
        const double code = params.at(0).toDouble(-1);
        if (params.size() != 1 || !params.at(0).isDouble() || code != std::floor(code))
            return RpcOutcome::fail(
                QStringLiteral("The operating mode must be given as one whole number."));
        QString message;
        if (!in.requestMode(int(code), &message))
            return RpcOutcome::fail(message);
        return RpcOutcome::ok(in.opmode());
    });
    for (const char* name : {"cavity_scan_current", "cavity_scan_temperature",
                             "refcell_scan_current", "refcell_scan_temperature"}) {
        const QString method = QLatin1String(name);
        on(method, [&in, method](const QJsonArray& params, bool hasParams) {
            QString message;
            if (hasParams && !in.startScan(method, params, &message))
                return RpcOutcome::fail(message);
            return RpcOutcome::ok(in.opmode());
        });
    }
    reading(QStringLiteral("last_ring_down"), [&in] { return QJsonValue(in.lastRingDown()); });

    // Pressure controller.
    const auto apcSwitch = [this, &in](bool open) {
        return [this, &in, open](const QJsonArray& params, bool hasParams) {
            if (!hasParams)
                return RpcOutcome::ok(in.apcOpen() == open);
            if (!m_options.apcUsed)
                return RpcOutcome::fail(
                    QStringLiteral("This analyzer has no pressure controller."));
            if (params.size() != 1 || !params.at(0).isBool())
                return RpcOutcome::fail(
                    QStringLiteral("The pressure controller switch expects true or false."));
            in.setApcOpen(params.at(0).toBool() ? open : !open);
            return RpcOutcome::ok(in.apcOpen() == open);
        };
    };
    on(QStringLiteral("apc_open"), apcSwitch(true));
    on(QStringLiteral("apc_controlling"), apcSwitch(false));
    for (const char* name : {"apc_calibrate_adc_v1", "apc_calibrate_adc_v2", "apc_calibrate_dac"}) {
        const QString method = QLatin1String(name);
        action(method, [&in, method](const QJsonArray& params) {
            QString message;
            if (!in.calibrateApc(method, params, &message))
                return RpcOutcome::fail(message);
            return RpcOutcome::ok(true);
        });
    }

    // Verification reminder.
    action(QStringLiteral("calibration_certificate_delete"), [&in](const QJsonArray&) {
        in.deleteCertificateReminder();
        return RpcOutcome::ok(true);
    });
    action(QStringLiteral("calibration_certificate_postpone"), [&in](const QJsonArray&) {
        in.postponeCertificateReminder();
        return RpcOutcome::ok(true);
    });

    // Settings that are not one stored value.
    on(QStringLiteral("echo_conc"), [this](const QJsonArray& params, bool hasParams) {
        if (!hasParams)
            return RpcOutcome::ok(
                m_settings->value(QStringLiteral("echo_conc"), QJsonArray{false, false}));
        if (params.size() != 2 || !params.at(0).isBool() || !params.at(1).isBool())
            return RpcOutcome::fail(
                QStringLiteral("Echo to serial port expects two switches: echo and prefix time."));
        m_settings->setValue(QStringLiteral("echo_conc"), params);
        return RpcOutcome::ok(params);
    });
    on(QStringLiteral("network_address"), [this](const QJsonArray& params, bool hasParams) {
        return networkAddress(params, hasParams);
    });
    on(QStringLiteral("tune_schedule"), [&in](const QJsonArray& params, bool hasParams) {
        QString message;
        if (hasParams && !in.setTuneSchedule(params, &message))
            return RpcOutcome::fail(message);
        return RpcOutcome::ok(in.tuneInterval());
    });
    reading(QStringLiteral("next_tune"), [&in] { return QJsonValue(in.nextTune()); });
    reading(QStringLiteral("last_tune"), [&in] { return QJsonValue(in.lastTune()); });
    reading(QStringLiteral("last_optimization"),
            [&in] { return QJsonValue(in.lastOptimization()); });
    on(QStringLiteral("date_time"), [&in](const QJsonArray& params, bool hasParams) {
        if (hasParams) {
            QString message;
            if (params.size() != 1 || !params.at(0).isString())
                return RpcOutcome::fail(
                    QStringLiteral("The date and time must be sent as one text."));
            if (!in.setClock(params.at(0).toString(), &message))
                return RpcOutcome::fail(message);
        }
        return RpcOutcome::ok(in.now().toString(QLatin1String(kTimeFormat)));
    });

    // Maintenance.
    action(QStringLiteral("restore_factory_settings"), [this](const QJsonArray&) {
        QString error;
        if (!m_settings->restoreFactory(&error))
            return RpcOutcome::fail(QStringLiteral("The factory settings could not be restored."));
        m_log->write(QStringLiteral("Factory settings restored"));
        return RpcOutcome::ok(true);
    });
    action(QStringLiteral("finalize_factory_settings"), [this](const QJsonArray&) {
        QString error;
        if (!m_settings->finalizeFactory(&error))
            return RpcOutcome::fail(QStringLiteral("The factory settings could not be saved."));
        m_log->write(QStringLiteral("Factory settings finalized"));
        return RpcOutcome::ok(true);
    });
    action(QStringLiteral("clear_trend_data"), [this](const QJsonArray&) {
        if (!m_trend->clear())
            return RpcOutcome::fail(QStringLiteral("The trend history could not be cleared."));
        m_log->write(QStringLiteral("Trend history cleared"));
        return RpcOutcome::ok(true);
    });
    action(QStringLiteral("get_trend_data"),
           [this](const QJsonArray& params) { return trendData(params); });

    // Files.
    const QList<QPair<const char*, const char*>> downloads = {
        {"download_settings", "settings.db"}, {"download_scan_data", "scans.db"},
        {"download_trend_file", "trend.db"},  {"download_srda", "srda.bin"},
        {"download_log_file", "vireo.log"},   {"download_unknown_file", ""}};
    for (const auto& entry : downloads) {
        const QString fileName = QLatin1String(entry.second);
        action(QLatin1String(entry.first),
               [this, fileName](const QJsonArray&) { return download(fileName); });
    }
    action(QStringLiteral("download_file_data"), [this](const QJsonArray& params) {
        QByteArray chunk;
        QString message;
        if (params.size() != 1 || !params.at(0).isString())
            return RpcOutcome::fail(
                QStringLiteral("download_file_data expects the transfer token."));
        if (!m_transfers->nextChunk(params.at(0).toString(), &chunk, &message))
            return RpcOutcome::fail(message);
        return RpcOutcome::okPlainString(chunk);
    });
    action(QStringLiteral("upload_settings"), [this](const QJsonArray&) {
        return RpcOutcome::ok(
            m_transfers->startUpload([this](const QString& path, QString* message) {
                return acceptSettingsUpload(path, message);
            }));
    });
    action(QStringLiteral("upload_file_data"), [this](const QJsonArray& params) {
        QString message;
        if (params.size() != 2 || !params.at(0).isString() || !params.at(1).isString())
            return RpcOutcome::fail(
                QStringLiteral("upload_file_data expects the transfer token and a chunk."));
        if (!m_transfers->uploadChunk(params.at(0).toString(), params.at(1).toString(), &message))
            return RpcOutcome::fail(message);
        return RpcOutcome::ok(true);
    });

    if (m_options.control)
        action(QStringLiteral("sim_control"),
               [this](const QJsonArray& params) { return control(params); });
}

RpcOutcome RpcEngine::download(const QString& fileName)
{
    QJsonArray result;
    QString message;
    const QString path =
        fileName.isEmpty() ? QString() : QDir(m_options.stateDir).absoluteFilePath(fileName);
    if (!m_transfers->startDownload(path, &result, &message))
        return RpcOutcome::fail(message);
    m_log->write(QStringLiteral("Download of %1 started (%2 chunks)")
                     .arg(fileName.isEmpty() ? QStringLiteral("an unknown file") : fileName)
                     .arg(result.at(0).toInt()));
    return RpcOutcome::ok(result);
}

bool RpcEngine::acceptSettingsUpload(const QString& path, QString* message)
{
    QString problem;
    if (!SettingsStore::checkFile(path, &problem)) {
        *message = QStringLiteral("The uploaded file is not a valid settings database (%1) "
                                  "The analyzer settings were not changed.")
                       .arg(problem);
        m_log->write(QStringLiteral("Settings upload rejected: ") + problem);
        return false;
    }
    QString error;
    if (!m_settings->replaceWith(path, &error)) {
        qWarning("settings upload: %s", qPrintable(error));
        *message = QStringLiteral("The analyzer could not install the uploaded settings.");
        return false;
    }
    m_log->write(QStringLiteral("Settings database replaced by upload"));
    return true;
}

RpcOutcome RpcEngine::trendData(const QJsonArray& params)
{
    const auto parse = [](const QJsonValue& v) {
        return QDateTime::fromString(v.toString(), QLatin1String(kTimeFormat));
    };
    if (params.size() != 2 || !parse(params.at(0)).isValid() || !parse(params.at(1)).isValid())
        return RpcOutcome::fail(
            QStringLiteral("get_trend_data expects a start and an end as yyyy-MM-dd HH:mm:ss."));
    const QString units = settingValue(QStringLiteral("units")).toString();
    return RpcOutcome::ok(m_trend->query(params.at(0).toString(), params.at(1).toString(), units,
                                         m_options.fullTrend));
}

RpcOutcome RpcEngine::networkAddress(const QJsonArray& params, bool hasParams)
{
    const QJsonArray current =
        m_settings
            ->value(QStringLiteral("network_address"),
                    QJsonArray{false, QStringLiteral("192.168.1.20"),
                               QStringLiteral("255.255.255.0"), QStringLiteral("192.168.1.1")})
            .toArray();
    if (!hasParams)
        return RpcOutcome::ok(current);
    QJsonArray updated = current;
    if (params.size() == 1 && params.at(0).toBool(false) && params.at(0).isBool()) {
        updated[0] = true;
    } else if (params.size() == 4 && params.at(0).isBool() && !params.at(0).toBool()) {
        if (!validIpv4(params.at(1).toString()))
            return RpcOutcome::fail(
                QStringLiteral("\"%1\" is not a valid IP address.").arg(params.at(1).toString()));
        if (!validNetmask(params.at(2).toString()))
            return RpcOutcome::fail(
                QStringLiteral("\"%1\" is not a valid subnet mask.").arg(params.at(2).toString()));
        if (!validIpv4(params.at(3).toString()))
            return RpcOutcome::fail(QStringLiteral("\"%1\" is not a valid gateway address.")
                                        .arg(params.at(3).toString()));
        updated = params;
    } else {
        return RpcOutcome::fail(
            QStringLiteral("Network settings expect [true] for DHCP, or [false, IP address, "
                           "subnet mask, gateway]."));
    }
    m_settings->setValue(QStringLiteral("network_address"), updated);
    return RpcOutcome::ok(updated);
}

RpcOutcome RpcEngine::control(const QJsonArray& params)
{
    const QString what = params.at(0).toString();
    const QJsonValue value = params.at(params.size() - 1);
    if (what == QLatin1String("alarm") && params.size() == 3) {
        m_instrument->forceAlarm(params.at(1).toString(), params.at(2).toBool());
    } else if (what == QLatin1String("conc") && params.size() == 2) {
        m_settings->setValue(QStringLiteral("simconc"), value.toDouble());
    } else if (what == QLatin1String("close-after")) {
        m_faults.closeAfter = value.toInt();
    } else if (what == QLatin1String("delay-ms")) {
        m_faults.delayMs = value.toInt();
    } else if (what == QLatin1String("split-replies")) {
        m_faults.splitReplies = value.toBool();
    } else if (what == QLatin1String("garbage-every")) {
        m_faults.garbageEvery = value.toInt();
    } else if (FaultPlan::isMethodFaultFlag(what) && params.size() == 3) {
        // The same rule texts as the command line's flags of these names.
        QString message;
        const QString rule = params.at(1).toString();
        if (!m_faults.setMethodFault(what, rule, params.at(2).toBool(), &message))
            return RpcOutcome::fail(QStringLiteral("sim_control: ") + message, -32602);
        m_dropCounts.clear();
    } else if (what == QLatin1String("stop-after")) {
        m_faults.stopAfter = value.toInt(-1);
    } else if (what == QLatin1String("shuffle-batches")) {
        m_faults.shuffleBatches = value.toBool();
    } else if (what == QLatin1String("alarm-relay")) {
        m_faults.alarmRelay = value.toBool();
    } else {
        return RpcOutcome::fail(QStringLiteral("sim_control: unknown request"), -32602);
    }
    emit faultsChanged();
    return RpcOutcome::ok(true);
}

} // namespace VireoSim
