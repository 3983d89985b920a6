// The simulator over a real socket: every method family answers with the
// result type the panel reads, writes persist, bad writes get code 1 with a
// readable message, and modes, alarms and the ring-down behave like an instrument.
#include "support/simclient.h"
#include "support/simulatorprocess.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>

namespace {
QJsonValue result(const QJsonObject& reply)
{
    return reply.value(QStringLiteral("result"));
}
int errorCode(const QJsonObject& reply)
{
    return reply.value(QStringLiteral("error")).toObject().value(QStringLiteral("code")).toInt();
}
QString errorMessage(const QJsonObject& reply)
{
    return reply.value(QStringLiteral("error"))
        .toObject()
        .value(QStringLiteral("message"))
        .toString();
}
bool isWhole(const QJsonValue& v)
{
    return v.isDouble() && v.toDouble() == std::floor(v.toDouble());
}
} // namespace

class tst_SimProtocol : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void readsHaveTheirTypes_data();
    void readsHaveTheirTypes();
    void writeThenRead_data();
    void writeThenRead();
    void badWritesAreRefusedReadably_data();
    void badWritesAreRefusedReadably();
    void protocolErrors_data();
    void protocolErrors();
    void batchIsAnsweredInOrderOnOneLine();
    void severalClientsAndBrokenOnes();
    void writesSurviveARestart();
    void factorySnapshotRestores();
    void timedModesReturnAsExpected_data();
    void timedModesReturnAsExpected();
    void userAlarmsFollowTheirLevels();
    void highConcentrationRaisesRingDownAlarm();
    void ringDownDecays();
    void concentrationMoves();
    void variantFlagsShow();

private:
    TestSupport::SimulatorProcess* m_sim = nullptr;
    SimClient m_client;
};

void tst_SimProtocol::initTestCase()
{
    m_sim =
        new TestSupport::SimulatorProcess({QStringLiteral("--scan-seconds"), QStringLiteral("1"),
                                           QStringLiteral("--seed"), QStringLiteral("7")});
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorString()));
    QVERIFY(m_client.connectTo(m_sim->port()));
}

void tst_SimProtocol::cleanupTestCase()
{
    delete m_sim;
}

void tst_SimProtocol::readsHaveTheirTypes_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QJsonValue>("params");
    QTest::addColumn<QString>("type");
    const QJsonValue none = QJsonValue::Undefined;
    const char* numbers[] = {"conc",
                             "get_customer_laser_current",
                             "get_customer_laser_temperature",
                             "trigger_threshold",
                             "user_alarm_1_level",
                             "user_alarm_2_level",
                             "switch_to_ppm",
                             "a420_low_level",
                             "a420_high_level",
                             "a420",
                             "fit_offset",
                             "fit_slope",
                             "laser_current",
                             "laser_temperature",
                             "bfd",
                             "laser_current_monitor",
                             "laser_external_temperature",
                             "refcell",
                             "apc_set_point",
                             "measured_pressure_alarm",
                             "reactor_temperature",
                             "reactor_pressure",
                             "vmod_amplitude",
                             "vmod_factor",
                             "inverse_mirror_slope",
                             "tec_current",
                             "simconc",
                             "detector_temperature_setpoint",
                             "detector_temperature_actual",
                             "apc_pressure",
                             "tau_zero",
                             "tau_zero_std",
                             "sample_gas_pressure",
                             "tau",
                             "tau_std"};
    for (const char* m : numbers)
        QTest::newRow(m) << QString::fromLatin1(m) << none << "number";
    const char* ints[] = {"opmode",
                          "data_log_interval",
                          "data_filter",
                          "dynamic_filter_used",
                          "unit_type",
                          "vmod_frequency",
                          "detector_gain",
                          "pzt_frequency",
                          "calibration_certificate_collection_time"};
    for (const char* m : ints)
        QTest::newRow(m) << QString::fromLatin1(m) << none << "int";
    const char* bools[] = {"laser_alarm_active",
                           "pressure_alarm_active",
                           "rd_alarm_active",
                           "temp_alarm_active",
                           "refcell_alarm_active",
                           "detector_temperature_alarm_active",
                           "user_alarm_1_active",
                           "user_alarm_2_active",
                           "conc_warning_alarm_active",
                           "calibration_certificate_expired",
                           "reactor_used",
                           "fit_used",
                           "fit_mode_enabled",
                           "user_alarm_1_relay",
                           "user_alarm_2_relay",
                           "sys_alarm_relay",
                           "allow_automatic_laser_optimization",
                           "apc_used",
                           "apc_open",
                           "apc_controlling",
                           "reactor_heater_enabled",
                           "dynamic_filter_enabled",
                           "dew_point_used",
                           "detector_filtering_enabled",
                           "pzt_enabled",
                           "track_and_hold_enable",
                           "allow_negative_concentration",
                           "calibration_certificate_run_on_peak"};
    for (const char* m : bools)
        QTest::newRow(m) << QString::fromLatin1(m) << none << "bool";
    const char* strings[] = {"species",       "units",     "current_gas",       "last_tune",
                             "tune_schedule", "next_tune", "last_optimization", "unit_name",
                             "serial_number", "version",   "version_fpga"};
    for (const char* m : strings)
        QTest::newRow(m) << QString::fromLatin1(m) << none << "string";
    QTest::newRow("date_time") << "date_time" << none << "datetime";
    QTest::newRow("available_gases") << "available_gases" << none << "strings";
    QTest::newRow("echo_conc") << "echo_conc" << none << "bool pair";
    QTest::newRow("network_address") << "network_address" << none << "network";
    QTest::newRow("last_ring_down") << "last_ring_down" << none << "ring-down";
    QTest::newRow("baudrate usb") << "baudrate" << QJsonValue(QJsonArray{"usb"}) << "int";
    QTest::newRow("baudrate rs485") << "baudrate" << QJsonValue(QJsonArray{"rs485"}) << "int";
    QTest::newRow("measure_current [1]")
        << "measure_current" << QJsonValue(QJsonArray{1}) << "number";
    QTest::newRow("measure_temperature [1]")
        << "measure_temperature" << QJsonValue(QJsonArray{1}) << "number";
    QTest::newRow("get_trend_data")
        << "get_trend_data" << QJsonValue(QJsonArray{"2000-01-01 00:00:00", "2100-01-01 00:00:00"})
        << "samples";
}

void tst_SimProtocol::readsHaveTheirTypes()
{
    QFETCH(QString, method);
    QFETCH(QJsonValue, params);
    QFETCH(QString, type);
    const QJsonObject reply = m_client.call(method, params, 42);
    QCOMPARE(reply.value(QStringLiteral("id")).toInt(), 42);
    QVERIFY2(!reply.contains(QStringLiteral("error")), qPrintable(errorMessage(reply)));
    const QJsonValue r = result(reply);
    if (type == QLatin1String("number")) {
        QVERIFY2(r.isDouble() && std::isfinite(r.toDouble()), qPrintable(method));
    } else if (type == QLatin1String("int")) {
        QVERIFY(isWhole(r));
    } else if (type == QLatin1String("bool")) {
        QVERIFY(r.isBool());
    } else if (type == QLatin1String("string")) {
        QVERIFY(r.isString());
        QVERIFY(!r.toString().isEmpty());
    } else if (type == QLatin1String("datetime")) {
        QVERIFY(
            QDateTime::fromString(r.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid());
    } else if (type == QLatin1String("strings")) {
        QVERIFY(r.toArray().size() > 16); // two pages of gas buttons
        for (const QJsonValue& v : r.toArray())
            QVERIFY(v.isString());
    } else if (type == QLatin1String("bool pair")) {
        QCOMPARE(r.toArray().size(), 2);
        QVERIFY(r.toArray().at(0).isBool() && r.toArray().at(1).isBool());
    } else if (type == QLatin1String("network")) {
        const QJsonArray a = r.toArray();
        QCOMPARE(a.size(), 4);
        QVERIFY(a.at(0).isBool() && a.at(1).isString() && a.at(2).isString() && a.at(3).isString());
    } else if (type == QLatin1String("ring-down")) {
        const QJsonArray a = r.toArray();
        QCOMPARE(a.size(), 4);
        QVERIFY(a.at(0).isDouble() && a.at(1).isDouble() && a.at(2).isDouble());
        QVERIFY(a.at(3).toArray().size() >= 626);
    } else if (type == QLatin1String("samples")) {
        for (const QJsonValue& v : r.toArray()) {
            const QJsonArray s = v.toArray();
            QVERIFY(s.at(0).isString() && s.at(1).isDouble() && s.at(2).isBool());
        }
    } else {
        QFAIL("unknown type");
    }
}

void tst_SimProtocol::writeThenRead_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QJsonArray>("params");
    QTest::addColumn<QString>("readMethod");
    QTest::addColumn<QJsonValue>("readParams");
    QTest::addColumn<QJsonValue>("expected");
    const QJsonValue none = QJsonValue::Undefined;
    QTest::newRow("laser current")
        << "laser_current" << QJsonArray{97.5} << "laser_current" << none << QJsonValue(97.5);
    QTest::newRow("alarm level") << "user_alarm_2_level" << QJsonArray{2500} << "user_alarm_2_level"
                                 << none << QJsonValue(2500);
    QTest::newRow("logging interval")
        << "data_log_interval" << QJsonArray{30} << "data_log_interval" << none << QJsonValue(30);
    QTest::newRow("units") << "units" << QJsonArray{"weight"} << "units" << none
                           << QJsonValue("weight");
    QTest::newRow("gas") << "current_gas" << QJsonArray{"Ar"} << "current_gas" << none
                         << QJsonValue("Ar");
    QTest::newRow("baud rate as text") << "baudrate" << QJsonArray{"rs232", "19200"} << "baudrate"
                                       << QJsonValue(QJsonArray{"rs232"}) << QJsonValue(19200);
    QTest::newRow("detector gain, keypad form")
        << "detector_gain" << QJsonArray{17} << "detector_gain" << none << QJsonValue(17);
    QTest::newRow("detector gain, return form")
        << "detector_gain" << QJsonArray{1, 42} << "detector_gain" << none << QJsonValue(42);
    QTest::newRow("detector filter") << "detector_filtering_enabled" << QJsonArray{1, false}
                                     << "detector_filtering_enabled" << none << QJsonValue(false);
    QTest::newRow("echo") << "echo_conc" << QJsonArray{true, false} << "echo_conc" << none
                          << QJsonValue(QJsonArray{true, false});
    QTest::newRow("static network")
        << "network_address" << QJsonArray{false, "10.0.0.5", "255.255.0.0", "10.0.0.1"}
        << "network_address" << none
        << QJsonValue(QJsonArray{false, "10.0.0.5", "255.255.0.0", "10.0.0.1"});
    QTest::newRow("tune schedule") << "tune_schedule" << QJsonArray{"Daily", "2024-3-5 07:15:00"}
                                   << "tune_schedule" << none << QJsonValue("daily");
    QTest::newRow("fit enable") << "fit_mode_enabled" << QJsonArray{true} << "fit_mode_enabled"
                                << none << QJsonValue(true);
    QTest::newRow("relay") << "sys_alarm_relay" << QJsonArray{true} << "sys_alarm_relay" << none
                           << QJsonValue(true);
    QTest::newRow("collection time")
        << "calibration_certificate_collection_time" << QJsonArray{0}
        << "calibration_certificate_collection_time" << none << QJsonValue(0);
    QTest::newRow("apc open") << "apc_open" << QJsonArray{true} << "apc_open" << none
                              << QJsonValue(true);
    QTest::newRow("apc controlling")
        << "apc_controlling" << QJsonArray{true} << "apc_open" << none << QJsonValue(false);
    QTest::newRow("data filter") << "data_filter" << QJsonArray{30} << "data_filter" << none
                                 << QJsonValue(30);
    QTest::newRow("sample pressure") << "sample_gas_pressure" << QJsonArray{15.5}
                                     << "sample_gas_pressure" << none << QJsonValue(15.5);
}

void tst_SimProtocol::writeThenRead()
{
    QFETCH(QString, method);
    QFETCH(QJsonArray, params);
    QFETCH(QString, readMethod);
    QFETCH(QJsonValue, readParams);
    QFETCH(QJsonValue, expected);
    const QJsonObject written = m_client.call(method, params);
    QVERIFY2(!written.contains(QStringLiteral("error")), qPrintable(errorMessage(written)));
    QCOMPARE(result(m_client.call(readMethod, readParams)), expected);
}

void tst_SimProtocol::badWritesAreRefusedReadably_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QJsonArray>("params");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("text for a number")
        << "laser_current" << QJsonArray{"abc"} << "must be a number";
    QTest::newRow("out of range") << "laser_current" << QJsonArray{500} << "from 0 to 120 mA";
    QTest::newRow("two values") << "laser_current" << QJsonArray{1, 2} << "exactly one value";
    QTest::newRow("fraction for a count")
        << "data_log_interval" << QJsonArray{1.5} << "whole number";
    QTest::newRow("unknown unit") << "units" << QJsonArray{"furlongs"} << "furlongs";
    QTest::newRow("unknown gas") << "current_gas" << QJsonArray{"Unobtainium"} << "Unobtainium";
    QTest::newRow("odd baud rate") << "baudrate" << QJsonArray{"usb", "1234"} << "9600";
    QTest::newRow("unknown port") << "baudrate" << QJsonArray{"com9", "9600"} << "usb";
    QTest::newRow("failure mode") << "opmode" << QJsonArray{7} << "OPTIMIZE LASER FAILED";
    QTest::newRow("no such mode") << "opmode" << QJsonArray{42} << "42";
    QTest::newRow("mode as text") << "opmode" << QJsonArray{"measure"} << "whole number";
    QTest::newRow("scan mode without parameters") << "opmode" << QJsonArray{4} << "Scans";
    QTest::newRow("bad IP") << "network_address"
                            << QJsonArray{false, "1.2.3", "255.255.255.0", "1.2.3.1"} << "1.2.3";
    QTest::newRow("bad mask") << "network_address"
                              << QJsonArray{false, "10.0.0.5", "255.0.255.0", "10.0.0.1"}
                              << "subnet";
    QTest::newRow("bad date") << "date_time" << QJsonArray{"2024-13-01 00:00:00"} << "2024-13-01";
    QTest::newRow("fixed by build") << "unit_type" << QJsonArray{5} << "cannot be changed";
    QTest::newRow("a reading") << "conc" << QJsonArray{5} << "cannot be set";
    QTest::newRow("bad trend range")
        << "get_trend_data" << QJsonArray{"yesterday", "today"} << "yyyy-MM-dd";
    QTest::newRow("scan backwards")
        << "cavity_scan_current" << QJsonArray{99, 90, 0.1, 0.2, 20, 20} << "higher stop";
    QTest::newRow("scan too short")
        << "refcell_scan_temperature" << QJsonArray{5, 35, 0.02} << "5 numbers";
    QTest::newRow("second laser") << "measure_current" << QJsonArray{2} << "laser 1";
    QTest::newRow("stale token") << "download_file_data" << QJsonArray{"0123"}
                                 << "no longer active";
    QTest::newRow("odd schedule") << "tune_schedule"
                                  << QJsonArray{"fortnightly", "2024-1-1 00:00:00"} << "monthly";
    QTest::newRow("half an echo") << "echo_conc" << QJsonArray{true} << "two switches";
    QTest::newRow("second detector") << "detector_gain" << QJsonArray{2, 5} << "detector 1";
    QTest::newRow("wrong reference") << "apc_calibrate_adc_v1" << QJsonArray{3.3} << "1.024";
}

void tst_SimProtocol::badWritesAreRefusedReadably()
{
    QFETCH(QString, method);
    QFETCH(QJsonArray, params);
    QFETCH(QString, messagePart);
    const QJsonValue before = result(m_client.call(method));
    const QJsonObject reply = m_client.call(method, params, 99);
    QCOMPARE(reply.value(QStringLiteral("id")).toInt(), 99);
    QCOMPARE(errorCode(reply), 1);
    QVERIFY2(errorMessage(reply).contains(messagePart), qPrintable(errorMessage(reply)));
    if (method != QLatin1String("conc") && method != QLatin1String("get_trend_data") &&
        method != QLatin1String("measure_current"))
        QCOMPARE(result(m_client.call(method)), before);
}

void tst_SimProtocol::protocolErrors_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("code");
    QTest::newRow("unknown method")
        << QByteArray(R"({"jsonrpc":"2.0","id":3,"method":"warp_drive"})") << -32601;
    QTest::newRow("no method") << QByteArray(R"({"jsonrpc":"2.0","id":3})") << -32600;
    QTest::newRow("params not an array")
        << QByteArray(R"({"jsonrpc":"2.0","id":3,"method":"conc","params":5})") << -32602;
    QTest::newRow("not JSON") << QByteArray("hello there") << -32700;
    QTest::newRow("cut-off JSON") << QByteArray(R"({"jsonrpc":"2.0","id":3,"meth)") << -32700;
}

void tst_SimProtocol::protocolErrors()
{
    QFETCH(QByteArray, line);
    QFETCH(int, code);
    m_client.sendLine(line);
    const QJsonObject reply = QJsonDocument::fromJson(m_client.readLine()).object();
    QCOMPARE(errorCode(reply), code);
    // The server carries on as before.
    QVERIFY(result(m_client.call(QStringLiteral("species"))).isString());
}

void tst_SimProtocol::batchIsAnsweredInOrderOnOneLine()
{
    QJsonArray requests;
    const QStringList methods = {"conc", "opmode", "species", "warp_drive", "serial_number"};
    for (int i = 0; i < methods.size(); ++i)
        requests.append(SimClient::request(methods.at(i), QJsonValue::Undefined, 100 + i));
    const QJsonArray replies = m_client.batch(requests);
    QCOMPARE(replies.size(), methods.size());
    for (int i = 0; i < methods.size(); ++i)
        QCOMPARE(replies.at(i).toObject().value(QStringLiteral("id")).toInt(), 100 + i);
    QCOMPARE(errorCode(replies.at(3).toObject()), -32601);
    // The panel's start-up may send an empty batch: one line comes back, holding nothing.
    m_client.sendLine("[]");
    QCOMPARE(m_client.readLine(), QByteArray("[]"));
    // A request with the panel's unset id is answered with that id as it came.
    m_client.sendLine(R"({"jsonrpc":"2.0","id":"-1","method":"opmode"})");
    QCOMPARE(QJsonDocument::fromJson(m_client.readLine())
                 .object()
                 .value(QStringLiteral("id"))
                 .toString(),
             QStringLiteral("-1"));
}

void tst_SimProtocol::severalClientsAndBrokenOnes()
{
    SimClient second, broken;
    QVERIFY(second.connectTo(m_sim->port()));
    QVERIFY(broken.connectTo(m_sim->port()));
    broken.socket().write(R"({"jsonrpc":"2.0","id":3,"method":"co)");
    broken.socket().flush();
    broken.socket().abort();
    QVERIFY(result(second.call(QStringLiteral("opmode"))).isDouble());
    QVERIFY(result(m_client.call(QStringLiteral("opmode"))).isDouble());
    // A flood of lines in one write is answered line by line.
    QByteArray flood;
    for (int i = 0; i < 500; ++i)
        flood += QJsonDocument(SimClient::request(QStringLiteral("conc"), QJsonValue::Undefined, i))
                     .toJson(QJsonDocument::Compact) +
                 '\n';
    second.socket().write(flood);
    for (int i = 0; i < 500; ++i)
        QCOMPARE(
            QJsonDocument::fromJson(second.readLine()).object().value(QStringLiteral("id")).toInt(),
            i);
}

void tst_SimProtocol::writesSurviveARestart()
{
    QVERIFY(!m_client.call(QStringLiteral("trigger_threshold"), QJsonArray{1234})
                 .contains(QStringLiteral("error")));
    QVERIFY(!m_client.call(QStringLiteral("date_time"), QJsonArray{"2031-05-06 07:08:09"})
                 .contains(QStringLiteral("error")));
    const quint16 port = m_sim->port();
    QVERIFY2(m_sim->restart(), qPrintable(m_sim->errorString()));
    QCOMPARE(m_sim->port(), port);
    m_client.socket().abort();
    QVERIFY(m_client.connectTo(m_sim->port()));
    QCOMPARE(result(m_client.call(QStringLiteral("trigger_threshold"))), QJsonValue(1234));
    QVERIFY(result(m_client.call(QStringLiteral("date_time")))
                .toString()
                .startsWith(QLatin1String("2031-05-06")));
    QVERIFY(
        !m_client
             .call(QStringLiteral("date_time"), QJsonArray{QDateTime::currentDateTime().toString(
                                                    QStringLiteral("yyyy-MM-dd HH:mm:ss"))})
             .contains(QStringLiteral("error")));
}

void tst_SimProtocol::factorySnapshotRestores()
{
    m_client.call(QStringLiteral("vmod_factor"), QJsonArray{2.5});
    QCOMPARE(result(m_client.call(QStringLiteral("finalize_factory_settings"))), QJsonValue(true));
    m_client.call(QStringLiteral("vmod_factor"), QJsonArray{7.25});
    QCOMPARE(result(m_client.call(QStringLiteral("restore_factory_settings"))), QJsonValue(true));
    QCOMPARE(result(m_client.call(QStringLiteral("vmod_factor"))), QJsonValue(2.5));
}

void tst_SimProtocol::timedModesReturnAsExpected_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QJsonArray>("params");
    QTest::addColumn<int>("runningMode");
    QTest::addColumn<int>("finalMode");
    QTest::addColumn<QString>("stampMethod");
    QTest::newRow("optimize") << "opmode" << QJsonArray{6} << 6 << 2 << "last_optimization";
    QTest::newRow("tune") << "opmode" << QJsonArray{3} << 3 << 8 << "last_tune";
    QTest::newRow("cavity current scan")
        << "cavity_scan_current" << QJsonArray{60.0, 120.0, 0.3, 0.2, 20, 20} << 12 << 2 << "";
    QTest::newRow("cavity temperature scan")
        << "cavity_scan_temperature" << QJsonArray{5, 35, 0.5, 0.5, 95, 20} << 13 << 2 << "";
    QTest::newRow("refcell current scan")
        << "refcell_scan_current" << QJsonArray{90, 99.5, 0.1, 0.2, 20} << 4 << 2 << "";
    QTest::newRow("refcell temperature scan")
        << "refcell_scan_temperature" << QJsonArray{5.0, 40.0, 0.02, 0.5, 95} << 5 << 2 << "";
}

void tst_SimProtocol::timedModesReturnAsExpected()
{
    QFETCH(QString, method);
    QFETCH(QJsonArray, params);
    QFETCH(int, runningMode);
    QFETCH(int, finalMode);
    QFETCH(QString, stampMethod);
    QCOMPARE(result(m_client.call(QStringLiteral("opmode"), QJsonArray{2})).toInt(), 2);
    QCOMPARE(result(m_client.call(method, params)).toInt(), runningMode);
    QCOMPARE(result(m_client.call(QStringLiteral("opmode"))).toInt(), runningMode);
    QTRY_COMPARE_WITH_TIMEOUT(result(m_client.call(QStringLiteral("opmode"))).toInt(), finalMode,
                              10000);
    if (!stampMethod.isEmpty())
        QVERIFY(result(m_client.call(stampMethod))
                    .toString()
                    .startsWith(QDate::currentDate().toString(Qt::ISODate)));
}

void tst_SimProtocol::userAlarmsFollowTheirLevels()
{
    m_client.call(QStringLiteral("user_alarm_1_level"), QJsonArray{0});
    m_client.call(QStringLiteral("user_alarm_2_level"), QJsonArray{1e7});
    QCOMPARE(result(m_client.call(QStringLiteral("user_alarm_1_active"))), QJsonValue(true));
    QCOMPARE(result(m_client.call(QStringLiteral("user_alarm_2_active"))), QJsonValue(false));
    m_client.call(QStringLiteral("user_alarm_1_level"), QJsonArray{1e7});
    QCOMPARE(result(m_client.call(QStringLiteral("user_alarm_1_active"))), QJsonValue(false));
}

void tst_SimProtocol::highConcentrationRaisesRingDownAlarm()
{
    m_client.call(QStringLiteral("opmode"), QJsonArray{8});
    m_client.call(QStringLiteral("units"), QJsonArray{"volume"});
    m_client.call(QStringLiteral("simconc"), QJsonArray{80000});
    QTRY_COMPARE_WITH_TIMEOUT(result(m_client.call(QStringLiteral("rd_alarm_active"))),
                              QJsonValue(true), 5000);
    QCOMPARE(result(m_client.call(QStringLiteral("conc_warning_alarm_active"))), QJsonValue(true));
    QVERIFY(result(m_client.call(QStringLiteral("tau"))).toDouble() < 1.0);
    QVERIFY(std::abs(result(m_client.call(QStringLiteral("conc"))).toDouble() - 80000) < 2000);
    m_client.call(QStringLiteral("simconc"), QJsonArray{0});
    QTRY_COMPARE_WITH_TIMEOUT(result(m_client.call(QStringLiteral("rd_alarm_active"))),
                              QJsonValue(false), 5000);
}

void tst_SimProtocol::ringDownDecays()
{
    const QJsonArray rd = result(m_client.call(QStringLiteral("last_ring_down"))).toArray();
    const double tau = rd.at(1).toDouble();
    QVERIFY(tau > 5 && tau < 15);
    const QJsonArray samples = rd.at(3).toArray();
    QVERIFY(samples.size() >= 626);
    auto mean = [&](int from) {
        double sum = 0;
        for (int i = from; i < from + 10; ++i)
            sum += samples.at(i).toDouble();
        return sum / 10 - 0.02; // less the detector offset
    };
    // Samples are 0.1 µs apart: the ratio over 100 samples is exp(-10 / tau).
    const double measured = 10.0 / std::log(mean(20) / mean(120));
    QVERIFY2(std::abs(measured - tau) < 0.1 * tau, qPrintable(QString::number(measured)));
    for (int i = 0; i < 6; ++i)
        QVERIFY(samples.at(i).toDouble() < 0.05); // nothing before the trigger
}

void tst_SimProtocol::concentrationMoves()
{
    const double first = result(m_client.call(QStringLiteral("conc"))).toDouble();
    QTRY_VERIFY_WITH_TIMEOUT(result(m_client.call(QStringLiteral("conc"))).toDouble() != first,
                             5000);
    // The weight and dew point forms agree with the volume reading.
    m_client.call(QStringLiteral("current_gas"), QJsonArray{"N2"});
    m_client.call(QStringLiteral("sample_gas_pressure"), QJsonArray{0});
    m_client.call(QStringLiteral("units"), QJsonArray{"dewpointc"});
    const double dewC = result(m_client.call(QStringLiteral("conc"))).toDouble();
    QVERIFY2(dewC < -80 && dewC > -100,
             qPrintable(QString::number(dewC))); // ~120 ppb is a deep frost point
    m_client.call(QStringLiteral("units"), QJsonArray{"volume"});
}

void tst_SimProtocol::variantFlagsShow()
{
    TestSupport::SimulatorProcess variant(
        {"--no-apc", "--reactor", "--fit", "--no-dew-point", "--unit-type", "100", "--serial",
         "SN-77", "--certificate-expired", "--off-peak-certification", "--collection-seconds",
         "600", "--species", "HDO", "--gas", "Forming gas 95/5", "--gas", "N2"});
    QVERIFY2(variant.start(), qPrintable(variant.errorString()));
    SimClient client;
    QVERIFY(client.connectTo(variant.port()));
    QCOMPARE(result(client.call(QStringLiteral("apc_used"))), QJsonValue(false));
    QCOMPARE(result(client.call(QStringLiteral("reactor_used"))), QJsonValue(true));
    QCOMPARE(result(client.call(QStringLiteral("fit_used"))), QJsonValue(true));
    QCOMPARE(result(client.call(QStringLiteral("dew_point_used"))), QJsonValue(false));
    QCOMPARE(result(client.call(QStringLiteral("unit_type"))), QJsonValue(100));
    QCOMPARE(result(client.call(QStringLiteral("serial_number"))), QJsonValue("SN-77"));
    QCOMPARE(result(client.call(QStringLiteral("species"))), QJsonValue("HDO"));
    QCOMPARE(result(client.call(QStringLiteral("available_gases"))),
             QJsonValue(QJsonArray{"Forming gas 95/5", "N2"}));
    QCOMPARE(result(client.call(QStringLiteral("current_gas"))), QJsonValue("Forming gas 95/5"));
    QCOMPARE(errorCode(client.call(QStringLiteral("current_gas"), QJsonArray{"Ar"})), 1);
    QCOMPARE(result(client.call(QStringLiteral("calibration_certificate_run_on_peak"))),
             QJsonValue(false));
    QCOMPARE(result(client.call(QStringLiteral("calibration_certificate_collection_time"))),
             QJsonValue(600));
    QCOMPARE(errorCode(client.call(QStringLiteral("units"), QJsonArray{"dewpointc"})), 1);
    QCOMPARE(errorCode(client.call(QStringLiteral("apc_open"), QJsonArray{true})), 1);
    QCOMPARE(errorCode(client.call(QStringLiteral("apc_calibrate_dac"))), 1);
    QCOMPARE(result(client.call(QStringLiteral("reactor_temperature"))).toDouble() > 300, true);
    // The reminder: due, postponed, and still postponed after a restart.
    QCOMPARE(result(client.call(QStringLiteral("calibration_certificate_expired"))),
             QJsonValue(true));
    QCOMPARE(result(client.call(QStringLiteral("calibration_certificate_postpone"))),
             QJsonValue(true));
    QCOMPARE(result(client.call(QStringLiteral("calibration_certificate_expired"))),
             QJsonValue(false));
    QVERIFY(variant.restart());
    SimClient again;
    QVERIFY(again.connectTo(variant.port()));
    QCOMPARE(result(again.call(QStringLiteral("calibration_certificate_expired"))),
             QJsonValue(false));
    // Fit mode applies slope and intercept to the reading.
    again.call(QStringLiteral("simconc"), QJsonArray{1000});
    again.call(QStringLiteral("fit_slope"), QJsonArray{2});
    again.call(QStringLiteral("fit_offset"), QJsonArray{100});
    again.call(QStringLiteral("fit_mode_enabled"), QJsonArray{true});
    QTRY_VERIFY_WITH_TIMEOUT(
        std::abs(result(again.call(QStringLiteral("conc"))).toDouble() - 2100) < 50, 5000);
}

QTEST_GUILESS_MAIN(tst_SimProtocol)
#include "tst_simprotocol.moc"
