<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AnalyzerProbe</name>
    <message>
        <source>not an address followed by a port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the analyzer does not read its requests</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the analyzer sends what was not asked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a reply without a line end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>more lines than one poll&apos;s replies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no connection within %1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no reply within %1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConnectionSettingsDialog</name>
    <message>
        <source>Connection Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nickname</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please specify a nickname</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IPv6 addresses are not supported, please enter an IPv4 address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage location does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FleetModel</name>
    <message>
        <source>SHUTDOWN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CLOSE FILES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SERVICE MODE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TUNE MODE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REFERENCE CELL SCAN: CURRENT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REFERENCE CELL SCAN: TEMPERATURE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OPTIMIZE LASER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OPTIMIZE LASER FAILED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MEASURE MODE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CENTERING FAILED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OFF-PEAK MODE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UNEXPECTED ERROR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAVITY SCAN: CURRENT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAVITY SCAN: TEMPERATURE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OVER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unreachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Concentration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Utility Gas Pressure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ringdown Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reactor Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Cell</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detector Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conc. Warning</source>
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
    <name>FleetWindow</name>
    <message>
        <source>Fleet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unreachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MEASURE MODE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Laser Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 analyzers: %2 in alarm, %3 not answering, %4 measuring</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Marlo Max Launcher</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Launch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fleet...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection &quot;%1&quot; cannot be launched: its address &quot;%2&quot; is not an IPv4 address followed by a channel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The panel program %1 is missing or not executable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The panel program %1 could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
