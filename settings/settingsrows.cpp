// The settings screen's 82 rows, in the order of its request table: row r
// takes the id first + r - 1. assignRequestIds() walks them.
#include "settings/settingswindow.h"

namespace {
using S = SettingsWindow;
using Show = SettingsRow::Show;
constexpr auto GasType = SettingsRow::GasType;
constexpr auto Outputs = SettingsRow::Outputs;
constexpr auto Schedule = SettingsRow::Schedule;
constexpr auto Settings = SettingsRow::Settings;
constexpr auto Service = SettingsRow::Service;
constexpr auto Factory = SettingsRow::Factory;
constexpr auto OneShot = SettingsRow::OneShot;
constexpr auto NoGroup = SettingsRow::NoGroup;
constexpr int Never = SettingsRow::Never;
constexpr int Error = SettingsRow::Error;
constexpr int Focus = SettingsRow::Focus;
constexpr int NoReactor = SettingsRow::NoReactor;
constexpr int LaserMonitor = SettingsRow::LaserMonitor;
constexpr int NotLaserMonitor = SettingsRow::NotLaserMonitor;
} // namespace

// clang-format off
const std::array<SettingsRow, 82> SettingsWindow::kRows = {{
//   group     key                                   param    shown as       skip           widget                          keypad prompt / label prefix    handler
    // Gas Type
    {GasType,  "opmode",                             nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::opmodeReceived},
    {GasType,  "available_gases",                    nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::gasesReceived},
    {GasType,  "current_gas",                        nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::currentGasReceived},
    // Outputs
    {Outputs,  "opmode",                             nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::opmodeReceived},
    {Outputs,  "baudrate",                           "usb",   Show::Rate,    Never,         "usbBaudrateComboBox",          nullptr,                        nullptr},
    {Outputs,  "baudrate",                           "rs232", Show::Rate,    Never,         "rs232BaudrateComboBox",        nullptr,                        nullptr},
    {Outputs,  "baudrate",                           "rs485", Show::Rate,    Never,         "rs485BaudrateComboBox",        nullptr,                        nullptr},
    {Outputs,  "network_address",                    nullptr, Show::Custom,  Never,         "dhcpCheckBox",                 nullptr,                        &S::networkReceived},
    {Outputs,  "a420_low_level",                     nullptr, Show::F2,      Focus,         "fourTwentyMinLineEdit",        QT_TRANSLATE_NOOP("SettingsWindow", "Set 4-20 mA Minimum Conc."),    nullptr},
    {Outputs,  "a420_high_level",                    nullptr, Show::F2,      Focus,         "fourTwentyMaxLineEdit",        QT_TRANSLATE_NOOP("SettingsWindow", "Set 4-20 mA Maximum Conc."),    nullptr},
    {Outputs,  "a420",                               nullptr, Show::F2,      Focus,         "fourTwentyOutputLineEdit",     QT_TRANSLATE_NOOP("SettingsWindow", "Set 4-20 mA Output"),           nullptr},
    {Outputs,  "user_alarm_1_level",                 nullptr, Show::F1,      Focus,         "alarm_1LineEdit",              QT_TRANSLATE_NOOP("SettingsWindow", "Set User Alarm 1 value"),       nullptr},
    {Outputs,  "user_alarm_2_level",                 nullptr, Show::F1,      Focus,         "alarm_2LineEdit",              QT_TRANSLATE_NOOP("SettingsWindow", "Set User Alarm 2 value"),       nullptr},
    {Outputs,  "user_alarm_1_relay",                 nullptr, Show::Checked, Never,         "alarm1CheckBox",               nullptr,                        nullptr},
    {Outputs,  "user_alarm_2_relay",                 nullptr, Show::Checked, Never,         "alarm2CheckBox",               nullptr,                        nullptr},
    {Outputs,  "sys_alarm_relay",                    nullptr, Show::Checked, Never,         "alarmSysCheckBox",             nullptr,                        nullptr},
    {Outputs,  nullptr,                              nullptr, Show::Address, Never,         "ipLineEdit",                   QT_TRANSLATE_NOOP("SettingsWindow", "Enter IP address"),             nullptr},
    {Outputs,  nullptr,                              nullptr, Show::Address, Never,         "subnetLineEdit",               QT_TRANSLATE_NOOP("SettingsWindow", "Enter subnet"),                 nullptr},
    {Outputs,  nullptr,                              nullptr, Show::Address, Never,         "gatewayLineEdit",              QT_TRANSLATE_NOOP("SettingsWindow", "Enter gateway"),                nullptr},
    {Outputs,  "fit_used",                           nullptr, Show::Visible, Error,         "groupBoxFitMode",              nullptr,                        nullptr},
    {Outputs,  "fit_mode_enabled",                   nullptr, Show::Checked, Error,         "checkBoxFitEnable",            nullptr,                        nullptr},
    {Outputs,  "fit_offset",                         nullptr, Show::F2,      Error | Focus, "lineEditFitIntercept",         QT_TRANSLATE_NOOP("SettingsWindow", "Fit Intercept"),                nullptr},
    {Outputs,  "fit_slope",                          nullptr, Show::F2,      Error | Focus, "lineEditFitSlope",             QT_TRANSLATE_NOOP("SettingsWindow", "Fit Slope"),                    nullptr},
    // Schedule
    {Schedule, "opmode",                             nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::opmodeReceived},
    {Schedule, "echo_conc",                          nullptr, Show::Custom,  Never,         "echoConcCheckBox",             nullptr,                        &S::echoConcReceived},
    {Schedule, "data_log_interval",                  nullptr, Show::Int,     Error | Focus, "loggingIntLineEdit",           QT_TRANSLATE_NOOP("SettingsWindow", "Logging Interval"),             nullptr},
    {Schedule, "allow_automatic_laser_optimization", nullptr, Show::Checked, Never,         "allowAutoLaserOptCheckBox",    nullptr,                        nullptr},
    {Schedule, "last_tune",                          nullptr, Show::Label,   Never,         "lastTuneLabel",                QT_TRANSLATE_NOOP("SettingsWindow", "Last Tune: "),                  nullptr},
    {Schedule, "tune_schedule",                      nullptr, Show::Custom,  Never,         "scheduleComboBox",             nullptr,                        &S::tuneScheduleReceived},
    {Schedule, "next_tune",                          nullptr, Show::Label,   Never,         "nextTuneLabel",                QT_TRANSLATE_NOOP("SettingsWindow", "Next Tune: "),                  nullptr},
    {Schedule, "last_optimization",                  nullptr, Show::Label,   Never,         "lastOptimizationLabel",        QT_TRANSLATE_NOOP("SettingsWindow", "Last: "),                       nullptr},
    {Schedule, "date_time",                          nullptr, Show::Custom,  Never,         "timeLineEdit",                 QT_TRANSLATE_NOOP("SettingsWindow", "Enter time hh.mm.ss"),          &S::dateTimeReceived},
    // Settings
    {Settings, "opmode",                             nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::opmodeReceived},
    {Settings, "laser_current",                      nullptr, Show::F2,      Focus,         "laserCurrentLineEdit",         QT_TRANSLATE_NOOP("SettingsWindow", "Set Laser Current [mA]"),       nullptr},
    {Settings, "laser_temperature",                  nullptr, Show::F2,      Focus,         "laserTempLineEdit",            QT_TRANSLATE_NOOP("SettingsWindow", "Set Laser Temp [C]"),           nullptr},
    {Settings, "trigger_threshold",                  nullptr, Show::G6,      Focus,         "thresholdLineEdit",            QT_TRANSLATE_NOOP("SettingsWindow", "Set Threshold"),                nullptr},
    {Settings, "bfd",                                nullptr, Show::F2,      Error | LaserMonitor, "bfdLineEdit",           nullptr,                        nullptr},
    {Settings, "laser_current_monitor",              nullptr, Show::F2,      Error | NotLaserMonitor, "bfdLineEdit",        nullptr,                        nullptr},
    {Settings, "laser_external_temperature",         nullptr, Show::F2,      Never,         "laserTempReadLineEdit",        nullptr,                        nullptr},
    {Settings, "refcell",                            nullptr, Show::G6,      Never,         "refcellLineEdit",              nullptr,                        nullptr},
    {Settings, "apc_used",                           nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::apcUsedReceived},
    {Settings, "apc_set_point",                      nullptr, Show::F2,      Focus,         "apcSetLineEdit",               QT_TRANSLATE_NOOP("SettingsWindow", "APC Set Point"),                nullptr},
    {Settings, "measured_pressure_alarm",            nullptr, Show::F2,      Error,         "pressureReadLineEdit",         nullptr,                        nullptr},
    {Settings, "apc_open",                           nullptr, Show::Checked, Never,         "apcOpenCheckBox",              nullptr,                        nullptr},
    {Settings, "reactor_heater_enabled",             nullptr, Show::Checked, Error,         "reactorHeaterEnabledCheckBox", nullptr,                        nullptr},
    {Settings, "data_filter",                        nullptr, Show::Custom,  Never,         "dataFilterLineEdit",           QT_TRANSLATE_NOOP("SettingsWindow", "Data Filter"),                  &S::dataFilterReceived},
    {Settings, "dynamic_filter_enabled",             nullptr, Show::Custom,  Error,         "dynamicFilterEnabledCheckBox", nullptr,                        &S::dynamicFilterEnabledReceived},
    {Settings, "dynamic_filter_used",                nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::dynamicFilterUsedReceived},
    {Settings, "units",                              nullptr, Show::Custom,  Never,         "unitsComboBox",                nullptr,                        &S::unitsReceived},
    {NoGroup,  "sample_gas_pressure",                nullptr, Show::Nothing, Never,         "unitsComboBox",                QT_TRANSLATE_NOOP("SettingsWindow", "Sample Gas Pressure (psig)"),   nullptr},
    {Settings, "dew_point_used",                     nullptr, Show::Custom,  Error,         nullptr,                        nullptr,                        &S::dewPointUsedReceived},
    {Settings, "reactor_used",                       nullptr, Show::Custom,  Error,         nullptr,                        nullptr,                        &S::reactorUsedReceived},
    {Settings, "reactor_temperature",                nullptr, Show::F2,      Error | NoReactor, "reactorTempLineEdit",      nullptr,                        nullptr},
    {Settings, "reactor_pressure",                   nullptr, Show::F2,      Error | NoReactor, "reactorPressureLineEdit",  nullptr,                        nullptr},
    // Service
    {Service,  "opmode",                             nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::opmodeReceived},
    {Service,  "unit_name",                          nullptr, Show::Custom,  Never,         "unitNameLabel",                nullptr,                        &S::unitNameReceived},
    {Service,  "unit_type",                          nullptr, Show::Custom,  Error,         "unitTypeLabel",                nullptr,                        &S::unitTypeReceived},
    {Service,  "serial_number",                      nullptr, Show::Custom,  Never,         "serialLabel",                  nullptr,                        &S::serialNumberReceived},
    {Service,  "version",                            nullptr, Show::Custom,  Never,         "versionLabel",                 nullptr,                        &S::versionReceived},
    {Service,  "version_fpga",                       nullptr, Show::Label,   Error,         "fpgaLabel",                    QT_TRANSLATE_NOOP("SettingsWindow", "FPGA: "),                       nullptr},
    // One-shot: the password entry and two actions, never polled
    {OneShot,  nullptr,                              nullptr, Show::Custom,  Never,         "changeAccessPushButton",       QT_TRANSLATE_NOOP("SettingsWindow", "Enter Factory Password"),       &S::passwordEntered},
    {OneShot,  "restore_factory_settings",           nullptr, Show::Custom,  Never,         "defaultSettingsPushButton",    nullptr,                        &S::restoreReceived},
    {OneShot,  "finalize_factory_settings",          nullptr, Show::Custom,  Never,         "finalizeSettingsPushButton",   nullptr,                        &S::finalizeReceived},
    // Factory
    {Factory,  "vmod_amplitude",                     nullptr, Show::G6,      Error | Focus, "vmodLineEdit",                 QT_TRANSLATE_NOOP("SettingsWindow", "Vmod amplitude"),               nullptr},
    {Factory,  "vmod_factor",                        nullptr, Show::F2,      Focus,         "vmodFactorLineEdit",           QT_TRANSLATE_NOOP("SettingsWindow", "Vmod factor"),                  nullptr},
    {Factory,  "vmod_frequency",                     nullptr, Show::Int,     Focus,         "vmodFreqLineEdit",             QT_TRANSLATE_NOOP("SettingsWindow", "Vmod frequency"),               nullptr},
    {Factory,  "inverse_mirror_slope",               nullptr, Show::E4,      Focus,         "simsLineEdit",                 QT_TRANSLATE_NOOP("SettingsWindow", "Inverse Mirror Slope"),         nullptr},
    {Factory,  "tec_current",                        nullptr, Show::F2,      Focus,         "tecCurrentLineEdit",           nullptr,                        nullptr},
    {Factory,  "detector_gain",                      nullptr, Show::Int,     Focus,         "detector1GainLineEdit",        QT_TRANSLATE_NOOP("SettingsWindow", "Detector Gain"),                nullptr},
    {Factory,  "pzt_frequency",                      nullptr, Show::Int,     Error | Focus, "pztFrequencyLineEdit",         QT_TRANSLATE_NOOP("SettingsWindow", "PZT Frequency"),                nullptr},
    {Factory,  "detector_filtering_enabled",         nullptr, Show::Checked, Never,         "detector1FilterCheckBox",      nullptr,                        nullptr},
    {Factory,  "pzt_enabled",                        nullptr, Show::Checked, Error,         "pztEnabledCheckBox",           nullptr,                        nullptr},
    {Factory,  "simconc",                            nullptr, Show::G6,      Focus,         "simConcLineEdit",              QT_TRANSLATE_NOOP("SettingsWindow", "Simulation Concentration"),     nullptr},
    {Factory,  "track_and_hold_enable",              nullptr, Show::Checked, Never,         "trackHoldEnableCheckbox",      nullptr,                        nullptr},
    {Factory,  "allow_negative_concentration",       nullptr, Show::Checked, Error,         "allowNegativeCheckBox",        nullptr,                        nullptr},
    // Listed with the Factory rows but, like the one-shot rows, never polled.
    {OneShot,  "clear_trend_data",                   nullptr, Show::Custom,  Never,         "clearTrendButton",             nullptr,                        &S::clearTrendReceived},
    {Factory,  "opmode",                             nullptr, Show::Custom,  Never,         nullptr,                        nullptr,                        &S::opmodeReceived},
    {Factory,  "detector_temperature_setpoint",      nullptr, Show::F2,      Error,         "detectorTempSetLineEdit",      nullptr,                        nullptr},
    {Factory,  "detector_temperature_actual",        nullptr, Show::F2,      Error,         "detectorTempReadLineEdit",     nullptr,                        nullptr},
    {Factory,  "reactor_temperature",                nullptr, Show::F2,      Error,         "rtdLineEdit",                  nullptr,                        nullptr},
    {Factory,  "reactor_pressure",                   nullptr, Show::F2,      Error,         "transducerLineEdit",           nullptr,                        nullptr},
    {Factory,  "apc_pressure",                       nullptr, Show::F2,      Error,         "apcPressureLineEdit",          nullptr,                        nullptr},
}};
// clang-format on
