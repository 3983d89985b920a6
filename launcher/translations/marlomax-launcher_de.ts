<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Age</name>
    <message>
        <source>%1 s ago</source>
        <translation>vor %1 s</translation>
    </message>
    <message>
        <source>%1 min ago</source>
        <translation>vor %1 min</translation>
    </message>
    <message>
        <source>%1 h ago</source>
        <translation>vor %1 h</translation>
    </message>
</context>
<context>
    <name>AnalyzerFacts</name>
    <message>
        <source>SHUTDOWN</source>
        <translation>ABSCHALTEN</translation>
    </message>
    <message>
        <source>CLOSE FILES</source>
        <translation>DATEIEN SCHLIESSEN</translation>
    </message>
    <message>
        <source>SERVICE MODE</source>
        <translation>SERVICEMODUS</translation>
    </message>
    <message>
        <source>TUNE MODE</source>
        <translation>ABGLEICHMODUS</translation>
    </message>
    <message>
        <source>REFERENCE CELL SCAN: CURRENT</source>
        <translation>REFERENZZELLEN-SCAN: STROM</translation>
    </message>
    <message>
        <source>REFERENCE CELL SCAN: TEMPERATURE</source>
        <translation>REFERENZZELLEN-SCAN: TEMPERATUR</translation>
    </message>
    <message>
        <source>OPTIMIZE LASER</source>
        <translation>LASER OPTIMIEREN</translation>
    </message>
    <message>
        <source>OPTIMIZE LASER FAILED</source>
        <translation>LASEROPTIMIERUNG FEHLGESCHLAGEN</translation>
    </message>
    <message>
        <source>MEASURE MODE</source>
        <translation>MESSMODUS</translation>
    </message>
    <message>
        <source>CENTERING FAILED</source>
        <translation>ZENTRIERUNG FEHLGESCHLAGEN</translation>
    </message>
    <message>
        <source>OFF-PEAK MODE</source>
        <translation>OFF-PEAK-MODUS</translation>
    </message>
    <message>
        <source>UNEXPECTED ERROR</source>
        <translation>UNERWARTETER FEHLER</translation>
    </message>
    <message>
        <source>CAVITY SCAN: CURRENT</source>
        <translation>KAVITÄTSSCAN: STROM</translation>
    </message>
    <message>
        <source>CAVITY SCAN: TEMPERATURE</source>
        <translation>KAVITÄTSSCAN: TEMPERATUR</translation>
    </message>
    <message>
        <source>Laser Alarm</source>
        <translation>Laseralarm</translation>
    </message>
    <message>
        <source>Pressure Alarm</source>
        <translation>Druckalarm</translation>
    </message>
    <message>
        <source>Utility Gas Pressure</source>
        <translation>Betriebsgasdruck</translation>
    </message>
    <message>
        <source>Ringdown Alarm</source>
        <translation>Ringdown-Alarm</translation>
    </message>
    <message>
        <source>Temperature Alarm</source>
        <translation>Temperaturalarm</translation>
    </message>
    <message>
        <source>Reactor Temperature</source>
        <translation>Reaktortemperatur</translation>
    </message>
    <message>
        <source>Reference Cell</source>
        <translation>Referenzzelle</translation>
    </message>
    <message>
        <source>Detector Temperature</source>
        <translation>Detektortemperatur</translation>
    </message>
    <message>
        <source>Conc. Warning</source>
        <translation>Konz.-Warnung</translation>
    </message>
    <message>
        <source>Conc Alarm 1</source>
        <translation>Konz.-Alarm 1</translation>
    </message>
    <message>
        <source>Conc Alarm 2</source>
        <translation>Konz.-Alarm 2</translation>
    </message>
    <message>
        <source>Perf. Verification</source>
        <translation>Leistungsprüfung</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Ausfall</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Function check</source>
        <translation>Funktionskontrolle</translation>
    </message>
    <message>
        <source>Maintenance required</source>
        <translation>Wartungsbedarf</translation>
    </message>
    <message>
        <source>Outside tolerance</source>
        <translation>Außerhalb der Toleranz</translation>
    </message>
</context>
<context>
    <name>AnalyzerProbe</name>
    <message>
        <source>not an address followed by a port</source>
        <translation>keine Adresse mit folgendem Port</translation>
    </message>
    <message>
        <source>the analyzer does not read its requests</source>
        <translation>der Analysator liest seine Anfragen nicht</translation>
    </message>
    <message>
        <source>the analyzer sends what was not asked</source>
        <translation>der Analysator sendet Ungefragtes</translation>
    </message>
    <message>
        <source>a reply without a line end</source>
        <translation>eine Antwort ohne Zeilenende</translation>
    </message>
    <message>
        <source>more lines than one poll&apos;s replies</source>
        <translation>mehr Zeilen als die Antworten einer Abfrage</translation>
    </message>
    <message>
        <source>no connection within %1 ms</source>
        <translation>keine Verbindung binnen %1 ms</translation>
    </message>
    <message>
        <source>no reply within %1 ms</source>
        <translation>keine Antwort binnen %1 ms</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>die Verbindung wurde geschlossen</translation>
    </message>
</context>
<context>
    <name>ConnectionSettingsDialog</name>
    <message>
        <source>Connection Settings</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Nickname</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Storage Location</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Please specify a nickname</source>
        <translation>Bitte einen Namen angeben</translation>
    </message>
    <message>
        <source>IPv6 addresses are not supported, please enter an IPv4 address</source>
        <translation>IPv6-Adressen werden nicht unterstützt, bitte eine IPv4-Adresse eingeben</translation>
    </message>
    <message>
        <source>Storage location does not exist</source>
        <translation>Der Speicherort existiert nicht</translation>
    </message>
    <message>
        <source>Select folder</source>
        <translation>Ordner wählen</translation>
    </message>
</context>
<context>
    <name>FleetModel</name>
    <message>
        <source>OVER</source>
        <translation>ÜBER</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Verbinde…</translation>
    </message>
    <message>
        <source>No reply</source>
        <translation>Keine Antwort</translation>
    </message>
    <message>
        <source>Unreachable</source>
        <translation>Unerreichbar</translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation>Ungültige Adresse</translation>
    </message>
    <message>
        <source>Mode %1</source>
        <translation>Modus %1</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>Concentration</source>
        <translation>Konzentration</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Last reply</source>
        <translation>Letzte Antwort</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Process alarms</source>
        <translation>Prozessalarme</translation>
    </message>
</context>
<context>
    <name>FleetWindow</name>
    <message>
        <source>Fleet</source>
        <translation>Flotte</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1 connecting</source>
        <translation>%1 im Verbindungsaufbau</translation>
    </message>
    <message>
        <source>%1 analyzers: %2</source>
        <translation>%1 Analysatoren: %2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Marlo Max Launcher</source>
        <translation>Marlo Max Launcher</translation>
    </message>
    <message>
        <source>Connections</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>New...</source>
        <translation>Neu...</translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation>Bearbeiten...</translation>
    </message>
    <message>
        <source>Launch</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Fleet...</source>
        <translation>Flotte...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Delete Connection</source>
        <translation>Verbindung löschen</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
    <message>
        <source>The connection &quot;%1&quot; cannot be launched: its address &quot;%2&quot; is not an IPv4 address followed by a channel.</source>
        <translation>Die Verbindung „%1“ kann nicht gestartet werden: ihre Adresse „%2“ ist keine IPv4-Adresse mit folgendem Kanal.</translation>
    </message>
    <message>
        <source>The panel program %1 is missing or not executable.</source>
        <translation>Das Panelprogramm %1 fehlt oder ist nicht ausführbar.</translation>
    </message>
    <message>
        <source>The panel program %1 could not be started.</source>
        <translation>Das Panelprogramm %1 konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Panel language:</source>
        <translation>Sprache des Panels:</translation>
    </message>
    <message>
        <source>As the system</source>
        <translation>Wie das System</translation>
    </message>
</context>
</TS>
