<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>CalendarDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalibrationWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CertificateWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;ul&gt;&lt;li&gt;This analyzer&apos;s &lt;b&gt;Performance Verification&lt;/b&gt; is due!&lt;/li&gt;&lt;li&gt;Orvalis highly recommends this annual health check to ensure optimal performance.&lt;/li&gt;&lt;li&gt;Please visit &lt;b&gt;www.orvalis.com/verification&lt;/b&gt; to get started.&lt;/li&gt;&lt;li&gt;Press &lt;b&gt;OK&lt;/b&gt; to resume normal operation and remind again in one week.&lt;/li&gt;&lt;/ul&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CertificationWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HomeWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100.8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PPBv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H&lt;sub&gt;2&lt;/sub&gt;O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N&lt;sub&gt;2&lt;/sub&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser Temp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RD Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tau Zero</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Detail:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conc Alarm 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conc Alarm 2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeyboardWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModeWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Puts the analyzer into stand-by and allows manual control of the system&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Determines the zero baseline, Tau Zero&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Captures ringdown measurements and reports analyte concentration&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Performs a controlled shutdown of the analyzer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Performs scans of the cavity or reference cell</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpenFile</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RDGraphWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScansWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opmode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cavity Temp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>35</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>95</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RDs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>20</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cavity Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>90</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>99.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RefCell Temp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.02</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RefCell Current</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changes in SERVICE Mode Only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 9</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 11</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 12</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 13</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 14</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 15</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gas 16</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outputs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4-20 Min Conc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4-20 Max Conc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4-20 Output [mA]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm 1 Setpoint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm 2 Setpoint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Relay Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AL1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AL2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SYS-AL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subnet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use DHCP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slope</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Intercept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial Ports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB Serial Baud Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>9600</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>14400</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>19200</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>28800</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>38400</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>56000</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>57600</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>115200</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RS-232 Baud Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RS-485 Baud Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prefix Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval (sec)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Echo to serial port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser Optimization</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allow automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Optimize Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tune Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting on:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>:00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hourly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Never</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Tune:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Tune: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date and Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser BFD (mV)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser T (C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ref Cell (mV)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure (Torr)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reactor T (C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reactor Pressure (psi)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser I (mA)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Threshold (mV)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure Controller Override</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reactor Heater Enabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Units</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dew Point(C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dew Point(F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dew Point(K)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backlight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>200</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Service</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instrument Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Factory Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Transfer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trend</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scans</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SRDA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please insert USB disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostic Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certification scans will take about 12 hours, during which the analyzer is offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run Certification Scans</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run Off-Peak Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FPGA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Access: Standard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Factory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This tab intentionally left blank</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vmod Amplitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vmod Factor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vmod Freq</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIMS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TEC Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transducer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RTD Sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Det Temp Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>APC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyzer Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finalize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track and Hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detector</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature (Read)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature (Set)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PZT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Concentration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allow Negative</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShutdownWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>APC Pressure (Torr)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. Press the &apos;Next&apos; button to continue with the shutdown process.  To cancel shutdown press the &apos;X&apos; button.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrendDownload</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download in SERVICE Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Trend Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Most Recent:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please insert a USB flash drive</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrendWindow</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4 Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 Hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AutoScale Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VireoGUI</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
