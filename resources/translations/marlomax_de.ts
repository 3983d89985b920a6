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
    <name>CalendarDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>ERROR: Could not calibrate ADC</source>
        <translation>FEHLER: ADC konnte nicht kalibriert werden</translation>
    </message>
    <message>
        <source>ERROR: Lost connection to analyzer</source>
        <translation>FEHLER: Verbindung zum Analysator verloren</translation>
    </message>
    <message>
        <source>Calibration cancelled</source>
        <translation>Kalibrierung abgebrochen</translation>
    </message>
    <message>
        <source>Connect calibration box to J902.</source>
        <translation>Kalibrierbox an J902 anschließen.</translation>
    </message>
    <message>
        <source>Set switch to 1.024V position.</source>
        <translation>Schalter auf Stellung 1.024V stellen.</translation>
    </message>
    <message>
        <source>Set switch to 4.096V position.</source>
        <translation>Schalter auf Stellung 4.096V stellen.</translation>
    </message>
    <message>
        <source>Set switch to loopback position.</source>
        <translation>Schalter auf Stellung Loopback stellen.</translation>
    </message>
    <message>
        <source>ERROR: Could not calibrate DAC</source>
        <translation>FEHLER: DAC konnte nicht kalibriert werden</translation>
    </message>
    <message>
        <source>Calibration complete</source>
        <translation>Kalibrierung abgeschlossen</translation>
    </message>
</context>
<context>
    <name>CertificateWindow</name>
    <message>
        <source>&lt;ul&gt;&lt;li&gt;This analyzer&apos;s &lt;b&gt;Performance Verification&lt;/b&gt; is due!&lt;/li&gt;&lt;li&gt;Orvalis highly recommends this annual health check to ensure optimal performance.&lt;/li&gt;&lt;li&gt;Please visit &lt;b&gt;www.orvalis.com/verification&lt;/b&gt; to get started.&lt;/li&gt;&lt;li&gt;Press &lt;b&gt;OK&lt;/b&gt; to resume normal operation and remind again in one week.&lt;/li&gt;&lt;/ul&gt;</source>
        <translation>&lt;ul&gt;&lt;li&gt;Die &lt;b&gt;Leistungsprüfung&lt;/b&gt; dieses Analysators ist fällig!&lt;/li&gt;&lt;li&gt;Orvalis empfiehlt diese jährliche Prüfung dringend, damit der Analysator optimal arbeitet.&lt;/li&gt;&lt;li&gt;Besuchen Sie &lt;b&gt;www.orvalis.com/verification&lt;/b&gt;, um zu beginnen.&lt;/li&gt;&lt;li&gt;Drücken Sie &lt;b&gt;OK&lt;/b&gt;, um den normalen Betrieb fortzusetzen und in einer Woche erneut zu erinnern.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
</context>
<context>
    <name>Certification</name>
    <message>
        <source>ERROR: Lost connection to analyzer</source>
        <translation>FEHLER: Verbindung zum Analysator verloren</translation>
    </message>
    <message>
        <source>ERROR: System alarm detected</source>
        <translation>FEHLER: Systemalarm erkannt</translation>
    </message>
    <message>
        <source>ERROR: Failed to package files</source>
        <translation>FEHLER: Dateien konnten nicht verpackt werden</translation>
    </message>
    <message>
        <source>Please insert USB disk.</source>
        <translation>Bitte USB-Datenträger einstecken.</translation>
    </message>
    <message>
        <source>Supply zero gas to analyzer (do not exceed maximum inlet pressure).</source>
        <translation>Nullgas an den Analysator anlegen (maximalen Eingangsdruck nicht überschreiten).</translation>
    </message>
    <message>
        <source>Copying settings</source>
        <translation>Einstellungen werden kopiert</translation>
    </message>
    <message>
        <source>ERROR: Failed to copy settings</source>
        <translation>FEHLER: Einstellungen konnten nicht kopiert werden</translation>
    </message>
    <message>
        <source>Optimizing laser</source>
        <translation>Laser wird optimiert</translation>
    </message>
    <message>
        <source>ERROR: Laser is not being optimized</source>
        <translation>FEHLER: Laser wird nicht optimiert</translation>
    </message>
    <message>
        <source>Running temperature scan</source>
        <translation>Temperaturscan läuft</translation>
    </message>
    <message>
        <source>ERROR: Temperature scan not being run</source>
        <translation>FEHLER: Temperaturscan läuft nicht</translation>
    </message>
    <message>
        <source>Collecting on peak data</source>
        <translation>On-Peak-Daten werden erfasst</translation>
    </message>
    <message>
        <source>ERROR: Stopped collecting on peak data</source>
        <translation>FEHLER: Erfassung der On-Peak-Daten beendet</translation>
    </message>
    <message>
        <source>Collecting off peak data</source>
        <translation>Off-Peak-Daten werden erfasst</translation>
    </message>
    <message>
        <source>ERROR: Stopped collecting off peak data</source>
        <translation>FEHLER: Erfassung der Off-Peak-Daten beendet</translation>
    </message>
    <message>
        <source>Running cavity scan</source>
        <translation>Kavitätsscan läuft</translation>
    </message>
    <message>
        <source>ERROR: Cavity scan not being run</source>
        <translation>FEHLER: Kavitätsscan läuft nicht</translation>
    </message>
    <message>
        <source>Copying scan data</source>
        <translation>Scandaten werden kopiert</translation>
    </message>
    <message>
        <source>ERROR: Failed to copy scan data</source>
        <translation>FEHLER: Scandaten konnten nicht kopiert werden</translation>
    </message>
    <message>
        <source>Copying ring down data</source>
        <translation>Ringdown-Daten werden kopiert</translation>
    </message>
    <message>
        <source>ERROR: Failed to copy ring down data</source>
        <translation>FEHLER: Ringdown-Daten konnten nicht kopiert werden</translation>
    </message>
    <message>
        <source>Packaging files (please be patient)</source>
        <translation>Dateien werden verpackt (bitte Geduld)</translation>
    </message>
    <message>
        <source>Certification scans complete</source>
        <translation>Zertifizierungsscans abgeschlossen</translation>
    </message>
</context>
<context>
    <name>FileManager</name>
    <message>
        <source>File copied successfully</source>
        <translation>Datei erfolgreich kopiert</translation>
    </message>
    <message>
        <source>Error copying file</source>
        <translation>Fehler beim Kopieren der Datei</translation>
    </message>
    <message>
        <source>Error mounting USB device</source>
        <translation>Fehler beim Einbinden des USB-Geräts</translation>
    </message>
    <message>
        <source>Copying file, please wait...</source>
        <translation>Datei wird kopiert, bitte warten...</translation>
    </message>
    <message>
        <source>File Transfer</source>
        <translation>Dateiübertragung</translation>
    </message>
    <message>
        <source>Transfer Cancelled</source>
        <translation>Übertragung abgebrochen</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>Datei wählen</translation>
    </message>
    <message>
        <source>Saving trend data...</source>
        <translation>Trenddaten werden gespeichert...</translation>
    </message>
    <message>
        <source>Insufficient space available</source>
        <translation>Nicht genügend Speicherplatz</translation>
    </message>
    <message>
        <source>Packaging files...</source>
        <translation>Dateien werden verpackt...</translation>
    </message>
    <message>
        <source>Mounting device...</source>
        <translation>Gerät wird eingebunden...</translation>
    </message>
    <message>
        <source>Unmounting device...</source>
        <translation>Gerät wird ausgehängt...</translation>
    </message>
</context>
<context>
    <name>HomeWindow</name>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>in</source>
        <translation>in</translation>
    </message>
    <message>
        <source>Laser Current</source>
        <translation>Laserstrom</translation>
    </message>
    <message>
        <source>Laser Temp</source>
        <translation>Lasertemp.</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Schwelle</translation>
    </message>
    <message>
        <source>RD Time</source>
        <translation>RD-Zeit</translation>
    </message>
    <message>
        <source>Tau Zero</source>
        <translation>Tau Null</translation>
    </message>
    <message>
        <source>Alarm Detail:</source>
        <translation>Alarmdetails:</translation>
    </message>
    <message>
        <source>Alarms:</source>
        <translation>Alarme:</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>OVER</source>
        <translation>ÜBER</translation>
    </message>
    <message>
        <source> - FIT</source>
        <translation> - FIT</translation>
    </message>
    <message>
        <source> - FACT</source>
        <translation> - WERK</translation>
    </message>
    <message>
        <source>System OK</source>
        <translation>System OK</translation>
    </message>
    <message>
        <source>Conc exceeds %1</source>
        <translation>Konz. über %1</translation>
    </message>
    <message>
        <source>Enter unlock code:</source>
        <translation>Entsperrcode eingeben:</translation>
    </message>
</context>
<context>
    <name>Images</name>
    <message>
        <source>VERIFY</source>
        <translation>PRÜFEN</translation>
    </message>
    <message>
        <source>Trace-gas analyzer</source>
        <translation>Spurengasanalysator</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Disable reminder</source>
        <translation>Nicht mehr erinnern</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>Messen</translation>
    </message>
    <message>
        <source>Tune</source>
        <translation>Abgleich</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>RD Graph</source>
        <translation>RD-Kurve</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>Sperren</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>Entsperren</translation>
    </message>
    <message>
        <source>Shutdown</source>
        <translation>Abschalten</translation>
    </message>
</context>
<context>
    <name>JournalModel</name>
    <message>
        <source>Certification scans</source>
        <translation>Zertifizierungsscans</translation>
    </message>
    <message>
        <source>Pressure-controller calibration</source>
        <translation>Kalibrierung des Druckreglers</translation>
    </message>
    <message>
        <source>%1 raised</source>
        <translation>%1 ausgelöst</translation>
    </message>
    <message>
        <source>%1 cleared</source>
        <translation>%1 aufgehoben</translation>
    </message>
    <message>
        <source>Mode %1</source>
        <translation>Modus %1</translation>
    </message>
    <message>
        <source>Mode changed from %1 to %2</source>
        <translation>Modus von %1 zu %2 gewechselt</translation>
    </message>
    <message>
        <source>Link to %1 lost</source>
        <translation>Verbindung zu %1 verloren</translation>
    </message>
    <message>
        <source>Link to %1 restored</source>
        <translation>Verbindung zu %1 wiederhergestellt</translation>
    </message>
    <message>
        <source>%1 not sent, no link: %2</source>
        <translation>%1 nicht gesendet, keine Verbindung: %2</translation>
    </message>
    <message>
        <source>%1 sent</source>
        <translation>%1 gesendet</translation>
    </message>
    <message>
        <source>%1 set to %2</source>
        <translation>%1 auf %2 gesetzt</translation>
    </message>
    <message>
        <source>%1 changed from %2 to %3</source>
        <translation>%1 von %2 auf %3 geändert</translation>
    </message>
    <message>
        <source>%1 started</source>
        <translation>%1 gestartet</translation>
    </message>
    <message>
        <source>%1 ended: %2</source>
        <translation>%1 beendet: %2</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 written</source>
        <translation>%1 geschrieben</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Einstellung</translation>
    </message>
    <message>
        <source>Procedure</source>
        <translation>Ablauf</translation>
    </message>
    <message>
        <source>Transfer</source>
        <translation>Übertragung</translation>
    </message>
    <message>
        <source>Operating mode</source>
        <translation>Betriebsart</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 d %2 h</source>
        <translation>%1 d %2 h</translation>
    </message>
    <message>
        <source>%1 cleared, active for %2</source>
        <translation>%1 aufgehoben, war %2 aktiv</translation>
    </message>
    <message>
        <source>Panel stopped</source>
        <translation>Bedienfeld beendet</translation>
    </message>
    <message>
        <source>Panel started</source>
        <translation>Bedienfeld gestartet</translation>
    </message>
    <message>
        <source>Panel started; its last run ended without a stop</source>
        <translation>Bedienfeld gestartet; der letzte Lauf endete ohne Beenden</translation>
    </message>
    <message>
        <source>Panel started; its last run ended without a stop after %1</source>
        <translation>Bedienfeld gestartet; der letzte Lauf endete ohne Beenden nach %1</translation>
    </message>
    <message>
        <source>Panel</source>
        <translation>Bedienfeld</translation>
    </message>
    <message>
        <source>unknown analyzer</source>
        <translation>unbekannter Analysator</translation>
    </message>
    <message>
        <source>Analyzer</source>
        <translation>Analysator</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>Methode</translation>
    </message>
</context>
<context>
    <name>JournalWindow</name>
    <message>
        <source>Event Journal</source>
        <translation>Ereignisprotokoll</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV sichern</translation>
    </message>
    <message>
        <source>All events</source>
        <translation>Alle Ereignisse</translation>
    </message>
    <message>
        <source>The journal cannot be read</source>
        <translation>Das Protokoll ist nicht lesbar</translation>
    </message>
    <message>
        <source>Events: %1</source>
        <translation>Ereignisse: %1</translation>
    </message>
    <message>
        <source>All analyzers</source>
        <translation>Alle Analysatoren</translation>
    </message>
    <message>
        <source>This analyzer</source>
        <translation>Dieser Analysator</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
</context>
<context>
    <name>ModeWindow</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Puts the analyzer into stand-by and allows manual control of the system&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Versetzt den Analysator in Bereitschaft und erlaubt die manuelle Steuerung des Systems&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Determines the zero baseline, Tau Zero&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Bestimmt die Nullbasislinie, Tau Null&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Captures ringdown measurements and reports analyte concentration&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Nimmt Ringdown-Messungen auf und meldet die Konzentration des Analyten&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Performs a controlled shutdown of the analyzer.</source>
        <translation>Fährt den Analysator kontrolliert herunter.</translation>
    </message>
    <message>
        <source>Performs scans of the cavity or reference cell</source>
        <translation>Scannt die Kavität oder die Referenzzelle</translation>
    </message>
    <message>
        <source>Place all analyzers into stand-by to change system settings.</source>
        <translation>Alle Analysatoren in Bereitschaft versetzen, um Systemeinstellungen zu ändern.</translation>
    </message>
    <message>
        <source>Determine the zero baseline, Tau Zero of each analyzer.</source>
        <translation>Nullbasislinie, Tau Null jedes Analysators bestimmen.</translation>
    </message>
    <message>
        <source>Captures ringdown measurements and reports molecular concentration.</source>
        <translation>Nimmt Ringdown-Messungen auf und meldet die Molekülkonzentration.</translation>
    </message>
    <message>
        <source>Performs a controlled shutdown 
of all analyzers.</source>
        <translation>Fährt alle Analysatoren 
kontrolliert herunter.</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
</context>
<context>
    <name>ScansWindow</name>
    <message>
        <source>Cavity Temp</source>
        <translation>Kavität Temp.</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Strom</translation>
    </message>
    <message>
        <source>RDs</source>
        <translation>RDs</translation>
    </message>
    <message>
        <source>Cavity Current</source>
        <translation>Kavität Strom</translation>
    </message>
    <message>
        <source>Temp</source>
        <translation>Temp.</translation>
    </message>
    <message>
        <source>RefCell Temp</source>
        <translation>Ref.-Zelle Temp.</translation>
    </message>
    <message>
        <source>RefCell Current</source>
        <translation>Ref.-Zelle Strom</translation>
    </message>
    <message>
        <source>Enter Current Step Delay</source>
        <translation>Pause je Stromstufe eingeben</translation>
    </message>
    <message>
        <source>Enter </source>
        <translation>Eingabe </translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>The analyzer is currently performing a scan.
OK to proceed?</source>
        <translation>Der Analysator führt gerade einen Scan aus.
Mit OK fortfahren?</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Changes in SERVICE Mode Only</source>
        <translation>Änderungen nur im SERVICEMODUS</translation>
    </message>
    <message>
        <source>Gas Type</source>
        <translation>Gasart</translation>
    </message>
    <message>
        <source>Gas 1</source>
        <translation>Gas 1</translation>
    </message>
    <message>
        <source>Gas 2</source>
        <translation>Gas 2</translation>
    </message>
    <message>
        <source>Gas 3</source>
        <translation>Gas 3</translation>
    </message>
    <message>
        <source>Gas 4</source>
        <translation>Gas 4</translation>
    </message>
    <message>
        <source>Gas 5</source>
        <translation>Gas 5</translation>
    </message>
    <message>
        <source>Gas 6</source>
        <translation>Gas 6</translation>
    </message>
    <message>
        <source>Gas 7</source>
        <translation>Gas 7</translation>
    </message>
    <message>
        <source>Gas 8</source>
        <translation>Gas 8</translation>
    </message>
    <message>
        <source>Gas 9</source>
        <translation>Gas 9</translation>
    </message>
    <message>
        <source>Gas 10</source>
        <translation>Gas 10</translation>
    </message>
    <message>
        <source>Gas 11</source>
        <translation>Gas 11</translation>
    </message>
    <message>
        <source>Gas 12</source>
        <translation>Gas 12</translation>
    </message>
    <message>
        <source>Gas 13</source>
        <translation>Gas 13</translation>
    </message>
    <message>
        <source>Gas 14</source>
        <translation>Gas 14</translation>
    </message>
    <message>
        <source>Gas 15</source>
        <translation>Gas 15</translation>
    </message>
    <message>
        <source>Gas 16</source>
        <translation>Gas 16</translation>
    </message>
    <message>
        <source>Outputs</source>
        <translation>Ausgänge</translation>
    </message>
    <message>
        <source>4-20 Min Conc</source>
        <translation>4-20 Min. Konz.</translation>
    </message>
    <message>
        <source>4-20 Max Conc</source>
        <translation>4-20 Max. Konz.</translation>
    </message>
    <message>
        <source>4-20 Output [mA]</source>
        <translation>4-20 Ausgang [mA]</translation>
    </message>
    <message>
        <source>Alarm 1 Setpoint</source>
        <translation>Alarm 1 Sollwert</translation>
    </message>
    <message>
        <source>Alarm 2 Setpoint</source>
        <translation>Alarm 2 Sollwert</translation>
    </message>
    <message>
        <source>Relay Control</source>
        <translation>Relais</translation>
    </message>
    <message>
        <source>AL1</source>
        <translation>AL1</translation>
    </message>
    <message>
        <source>AL2</source>
        <translation>AL2</translation>
    </message>
    <message>
        <source>SYS-AL</source>
        <translation>SYS-AL</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Subnet</source>
        <translation>Subnetz</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Use DHCP</source>
        <translation>DHCP nutzen</translation>
    </message>
    <message>
        <source>Fit Mode</source>
        <translation>Fit-Modus</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>Steigung</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Intercept</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Serial Ports</source>
        <translation>Serielle Ports</translation>
    </message>
    <message>
        <source>USB Serial Baud Rate</source>
        <translation>USB-Baudrate</translation>
    </message>
    <message>
        <source>RS-232 Baud Rate</source>
        <translation>RS-232-Baudrate</translation>
    </message>
    <message>
        <source>RS-485 Baud Rate</source>
        <translation>RS-485-Baudrate</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>Logging</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Prefix Time</source>
        <translation>Mit Uhrzeit</translation>
    </message>
    <message>
        <source>Interval (sec)</source>
        <translation>Intervall (s)</translation>
    </message>
    <message>
        <source>Echo to serial port</source>
        <translation>An seriellen Port</translation>
    </message>
    <message>
        <source>Laser Optimization</source>
        <translation>Laseroptimierung</translation>
    </message>
    <message>
        <source>Allow automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Optimize Now</source>
        <translation>Jetzt optimieren</translation>
    </message>
    <message>
        <source>Last:</source>
        <translation>Zuletzt:</translation>
    </message>
    <message>
        <source>Tune Schedule</source>
        <translation>Abgleichplan</translation>
    </message>
    <message>
        <source>Starting on:</source>
        <translation>Ab:</translation>
    </message>
    <message>
        <source>at:</source>
        <translation>um:</translation>
    </message>
    <message>
        <source>Interval:</source>
        <translation>Intervall:</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Hourly</source>
        <translation>Stündlich</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Next Tune:</source>
        <translation>Nächster Abgleich:</translation>
    </message>
    <message>
        <source>Last Tune: </source>
        <translation>Letzter Abgleich: </translation>
    </message>
    <message>
        <source>Date and Time</source>
        <translation>Datum und Uhrzeit</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Readings</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>Laser BFD (mV)</source>
        <translation>Laser-BFD (mV)</translation>
    </message>
    <message>
        <source>Laser T (C)</source>
        <translation>Laser-T (C)</translation>
    </message>
    <message>
        <source>Ref Cell (mV)</source>
        <translation>Ref.-Zelle (mV)</translation>
    </message>
    <message>
        <source>Pressure (Torr)</source>
        <translation>Druck (Torr)</translation>
    </message>
    <message>
        <source>Reactor T (C)</source>
        <translation>Reaktor-T (C)</translation>
    </message>
    <message>
        <source>Reactor Pressure (psi)</source>
        <translation>Reaktordruck (psi)</translation>
    </message>
    <message>
        <source>Laser I (mA)</source>
        <translation>Laser-I (mA)</translation>
    </message>
    <message>
        <source>Threshold (mV)</source>
        <translation>Schwelle (mV)</translation>
    </message>
    <message>
        <source>Pressure Controller Override</source>
        <translation>Druckregler übersteuern</translation>
    </message>
    <message>
        <source>Reactor Heater Enabled</source>
        <translation>Reaktorheizung ein</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Units</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message>
        <source>Dew Point(C)</source>
        <translation>Taupunkt (C)</translation>
    </message>
    <message>
        <source>Dew Point(F)</source>
        <translation>Taupunkt (F)</translation>
    </message>
    <message>
        <source>Dew Point(K)</source>
        <translation>Taupunkt (K)</translation>
    </message>
    <message>
        <source>Backlight</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Data Filter</source>
        <translation>Datenfilter</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Glatt</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>Instrument Settings</source>
        <translation>Geräteeinstellungen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Sichern</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Factory Restore</source>
        <translation>Werkszustand</translation>
    </message>
    <message>
        <source>File Transfer</source>
        <translation>Dateiübertragung</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>Scans</source>
        <translation>Scans</translation>
    </message>
    <message>
        <source>System Log</source>
        <translation>Systemprotokoll</translation>
    </message>
    <message>
        <source>SRDA</source>
        <translation>SRDA</translation>
    </message>
    <message>
        <source>Please insert USB disk.</source>
        <translation>Bitte USB-Datenträger einstecken.</translation>
    </message>
    <message>
        <source>Diagnostic Data</source>
        <translation>Diagnosedaten</translation>
    </message>
    <message>
        <source>Certification scans will take about 12 hours, during which the analyzer is offline</source>
        <translation>Die Zertifizierungsscans dauern etwa 12 Stunden, in denen der Analysator nicht misst</translation>
    </message>
    <message>
        <source>Run Certification Scans</source>
        <translation>Zertifizierungsscans</translation>
    </message>
    <message>
        <source>Run Off-Peak Mode</source>
        <translation>Off-Peak-Modus</translation>
    </message>
    <message>
        <source>Software</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>Unit Type</source>
        <translation>Gerätetyp</translation>
    </message>
    <message>
        <source>Unit Name</source>
        <translation>Gerätename</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>FPGA</source>
        <translation>FPGA</translation>
    </message>
    <message>
        <source>Access: Standard</source>
        <translation>Zugang: Standard</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Factory</source>
        <translation>Werk</translation>
    </message>
    <message>
        <source>This tab intentionally left blank</source>
        <translation>Diese Seite ist absichtlich leer</translation>
    </message>
    <message>
        <source>Laser Settings</source>
        <translation>Lasereinstellungen</translation>
    </message>
    <message>
        <source>Vmod Amplitude</source>
        <translation>Vmod-Amplitude</translation>
    </message>
    <message>
        <source>Vmod Factor</source>
        <translation>Vmod-Faktor</translation>
    </message>
    <message>
        <source>Vmod Freq</source>
        <translation>Vmod-Freq.</translation>
    </message>
    <message>
        <source>SIMS</source>
        <translation>SIMS</translation>
    </message>
    <message>
        <source>TEC Current</source>
        <translation>TEC-Strom</translation>
    </message>
    <message>
        <source>Transducer</source>
        <translation>Messwandler</translation>
    </message>
    <message>
        <source>RTD Sensor</source>
        <translation>RTD-Sensor</translation>
    </message>
    <message>
        <source>Det Temp Read</source>
        <translation>Det.-Temp. Ist</translation>
    </message>
    <message>
        <source>APC</source>
        <translation>APC</translation>
    </message>
    <message>
        <source>Analyzer Settings</source>
        <translation>Analysator</translation>
    </message>
    <message>
        <source>Finalize</source>
        <translation>Festschreiben</translation>
    </message>
    <message>
        <source>Track and Hold</source>
        <translation>Track and Hold</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Detector</source>
        <translation>Detektor</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Verstärkung</translation>
    </message>
    <message>
        <source>Filter Enable</source>
        <translation>Filter ein</translation>
    </message>
    <message>
        <source>Temperature (Read)</source>
        <translation>Temperatur (Ist)</translation>
    </message>
    <message>
        <source>Temperature (Set)</source>
        <translation>Temperatur (Soll)</translation>
    </message>
    <message>
        <source>PZT</source>
        <translation>PZT</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequenz</translation>
    </message>
    <message>
        <source>Concentration</source>
        <translation>Konzentration</translation>
    </message>
    <message>
        <source>Simulated</source>
        <translation>Simuliert</translation>
    </message>
    <message>
        <source>Allow Negative</source>
        <translation>Negative erlauben</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Verlauf löschen</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>Kalibrieren</translation>
    </message>
    <message>
        <source>Speed+</source>
        <translation>Speed+</translation>
    </message>
    <message>
        <source>Unit Name: </source>
        <translation>Gerätename: </translation>
    </message>
    <message>
        <source>Unit Type: </source>
        <translation>Gerätetyp: </translation>
    </message>
    <message>
        <source>SN: </source>
        <translation>SN: </translation>
    </message>
    <message>
        <source>SN %1 @ %2</source>
        <translation>SN %1 @ %2</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Restoring settings can erase the current analyzer settings.
OK to proceed?</source>
        <translation>Das Wiederherstellen kann die aktuellen Einstellungen des Analysators löschen.
Mit OK fortfahren?</translation>
    </message>
    <message>
        <source>Error restoring settings</source>
        <translation>Fehler beim Wiederherstellen der Einstellungen</translation>
    </message>
    <message>
        <source>Settings restored</source>
        <translation>Einstellungen wiederhergestellt</translation>
    </message>
    <message>
        <source>Error finalizing settings</source>
        <translation>Fehler beim Festschreiben der Einstellungen</translation>
    </message>
    <message>
        <source>Settings finalized</source>
        <translation>Einstellungen festgeschrieben</translation>
    </message>
    <message>
        <source>Please wait</source>
        <translation>Bitte warten</translation>
    </message>
    <message>
        <source>Trend Data</source>
        <translation>Trenddaten</translation>
    </message>
    <message>
        <source>Error clearing trend data</source>
        <translation>Fehler beim Löschen der Trenddaten</translation>
    </message>
    <message>
        <source>Trend data cleared</source>
        <translation>Trenddaten gelöscht</translation>
    </message>
    <message>
        <source>Set 4-20 mA Minimum Conc.</source>
        <translation>4-20 mA: Min. Konz. setzen</translation>
    </message>
    <message>
        <source>Set 4-20 mA Maximum Conc.</source>
        <translation>4-20 mA: Max. Konz. setzen</translation>
    </message>
    <message>
        <source>Set 4-20 mA Output</source>
        <translation>4-20 mA: Ausgang setzen</translation>
    </message>
    <message>
        <source>Set User Alarm 1 value</source>
        <translation>Wert für Alarm 1 setzen</translation>
    </message>
    <message>
        <source>Set User Alarm 2 value</source>
        <translation>Wert für Alarm 2 setzen</translation>
    </message>
    <message>
        <source>Enter IP address</source>
        <translation>IP-Adresse eingeben</translation>
    </message>
    <message>
        <source>Enter subnet</source>
        <translation>Subnetz eingeben</translation>
    </message>
    <message>
        <source>Enter gateway</source>
        <translation>Gateway eingeben</translation>
    </message>
    <message>
        <source>Fit Intercept</source>
        <translation>Fit-Offset</translation>
    </message>
    <message>
        <source>Fit Slope</source>
        <translation>Fit-Steigung</translation>
    </message>
    <message>
        <source>Logging Interval</source>
        <translation>Protokollintervall</translation>
    </message>
    <message>
        <source>Next Tune: </source>
        <translation>Nächster Abgleich: </translation>
    </message>
    <message>
        <source>Last: </source>
        <translation>Zuletzt: </translation>
    </message>
    <message>
        <source>Enter time hh.mm.ss</source>
        <translation>Uhrzeit eingeben hh.mm.ss</translation>
    </message>
    <message>
        <source>Set Laser Current [mA]</source>
        <translation>Laserstrom setzen [mA]</translation>
    </message>
    <message>
        <source>Set Laser Temp [C]</source>
        <translation>Lasertemp. setzen [C]</translation>
    </message>
    <message>
        <source>Set Threshold</source>
        <translation>Schwelle setzen</translation>
    </message>
    <message>
        <source>APC Set Point</source>
        <translation>APC-Sollwert</translation>
    </message>
    <message>
        <source>Sample Gas Pressure (psig)</source>
        <translation>Probengasdruck (psig)</translation>
    </message>
    <message>
        <source>FPGA: </source>
        <translation>FPGA: </translation>
    </message>
    <message>
        <source>Enter Factory Password</source>
        <translation>Passwort für Werkszugang</translation>
    </message>
    <message>
        <source>Vmod amplitude</source>
        <translation>Vmod-Amplitude</translation>
    </message>
    <message>
        <source>Vmod factor</source>
        <translation>Vmod-Faktor</translation>
    </message>
    <message>
        <source>Vmod frequency</source>
        <translation>Vmod-Frequenz</translation>
    </message>
    <message>
        <source>Inverse Mirror Slope</source>
        <translation>Inverse Spiegelsteigung</translation>
    </message>
    <message>
        <source>Detector Gain</source>
        <translation>Detektorverstärkung</translation>
    </message>
    <message>
        <source>PZT Frequency</source>
        <translation>PZT-Frequenz</translation>
    </message>
    <message>
        <source>Simulation Concentration</source>
        <translation>Simulierte Konzentration</translation>
    </message>
    <message>
        <source>Access: Factory</source>
        <translation>Zugang: Werk</translation>
    </message>
    <message>
        <source>Ready to download</source>
        <translation>Bereit zum Sichern</translation>
    </message>
    <message>
        <source>Configure storage location</source>
        <translation>Speicherort einrichten</translation>
    </message>
</context>
<context>
    <name>ShutdownWindow</name>
    <message>
        <source>APC Pressure (Torr)</source>
        <translation>APC-Druck (Torr)</translation>
    </message>
    <message>
        <source>1. Press the &apos;Next&apos; button to continue with the shutdown process.  To cancel shutdown press the &apos;X&apos; button.</source>
        <translation>1. Mit &apos;Weiter&apos; das Herunterfahren fortsetzen.  Zum Abbrechen die Taste &apos;X&apos; drücken.</translation>
    </message>
    <message>
        <source>2. Purge the analyzer with an inert pressurized gas before proceeding (if applicable).  Press the &apos;Next&apos; button when ready to proceed.</source>
        <translation>2. Den Analysator vor dem Fortfahren mit einem inerten Druckgas spülen (falls zutreffend).  Danach &apos;Weiter&apos; drücken.</translation>
    </message>
    <message>
        <source>2. Cap sample outlet, and press the &apos;Next&apos; button.</source>
        <translation>2. Probenausgang verschließen und &apos;Weiter&apos; drücken.</translation>
    </message>
    <message>
        <source>3. Pressure controller is set to open. Turn off vacuum pump (if applicable), cap the sample outlet with new VCR gasket and close the sample outlet valve (if applicable).  Then press the &apos;Next&apos; button.</source>
        <translation>3. Der Druckregler steht auf Offen. Vakuumpumpe ausschalten (falls zutreffend), den Probenausgang mit neuer VCR-Dichtung verschließen und sein Ventil schließen (falls zutreffend).  Dann &apos;Weiter&apos; drücken.</translation>
    </message>
    <message>
        <source>3. Cap sample inlet, and press the &apos;Next&apos; button.</source>
        <translation>3. Probeneingang verschließen und &apos;Weiter&apos; drücken.</translation>
    </message>
    <message>
        <source>4. Pressure controller is set to controlling.  Close the valve at the sample inlet (if applicable), quickly cap sample inlet with a new VCR gasket and press the &apos;Next&apos; button.</source>
        <translation>4. Der Druckregler regelt wieder.  Das Ventil am Probeneingang schließen (falls zutreffend), den Probeneingang rasch mit neuer VCR-Dichtung verschließen und &apos;Weiter&apos; drücken.</translation>
    </message>
    <message>
        <source>4. Cap H2 supply inlet, and press the &apos;Next&apos; button.</source>
        <translation>4. H2-Versorgungseingang verschließen und &apos;Weiter&apos; drücken.</translation>
    </message>
    <message>
        <source>4. To shutdown press &apos;Next&apos; once more.</source>
        <translation>4. Zum Herunterfahren noch einmal &apos;Weiter&apos; drücken.</translation>
    </message>
    <message>
        <source>5. To shutdown press &apos;Next&apos; once more.</source>
        <translation>5. Zum Herunterfahren noch einmal &apos;Weiter&apos; drücken.</translation>
    </message>
</context>
<context>
    <name>StaleMarker</name>
    <message>
        <source>no reply yet</source>
        <translation>noch keine Antwort</translation>
    </message>
</context>
<context>
    <name>StorageExport</name>
    <message>
        <source>Nothing to export</source>
        <translation>Nichts zu exportieren</translation>
    </message>
</context>
<context>
    <name>Trend::TrendChart</name>
    <message>
        <source>1 Week</source>
        <translation>1 Woche</translation>
    </message>
    <message>
        <source>1 Day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>4 Hours</source>
        <translation>4 Stunden</translation>
    </message>
    <message>
        <source>1 Hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>Min = %1
Max = %2
Mean = %3
Std Dev = %4</source>
        <translation>Min = %1
Max = %2
Mittel = %3
Stdabw. = %4</translation>
    </message>
</context>
<context>
    <name>TrendDownload</name>
    <message>
        <source>Download in SERVICE Mode</source>
        <translation>Download nur im SERVICEMODUS</translation>
    </message>
    <message>
        <source>Download Trend Data</source>
        <translation>Trenddaten herunterladen</translation>
    </message>
    <message>
        <source>Most Recent:</source>
        <translation>Zeitraum:</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>All Data</source>
        <translation>Alle Daten</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Please insert a USB flash drive</source>
        <translation>Bitte einen USB-Stick einstecken</translation>
    </message>
    <message>
        <source>Ready to download</source>
        <translation>Bereit zum Herunterladen</translation>
    </message>
    <message>
        <source>Configure storage</source>
        <translation>Speicher einrichten</translation>
    </message>
</context>
<context>
    <name>TrendWindow</name>
    <message>
        <source>Week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>4 Hours</source>
        <translation>4 Stunden</translation>
    </message>
    <message>
        <source>1 Hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vor</translation>
    </message>
    <message>
        <source>AutoScale Y</source>
        <translation>Auto Y</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>MAX must be above MIN (%1).</source>
        <translation>MAX muss über MIN (%1) liegen.</translation>
    </message>
    <message>
        <source>MIN must be below MAX (%1).</source>
        <translation>MIN muss unter MAX (%1) liegen.</translation>
    </message>
    <message>
        <source>Enter MAX</source>
        <translation>MAX eingeben</translation>
    </message>
    <message>
        <source>Enter MIN</source>
        <translation>MIN eingeben</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV sichern</translation>
    </message>
    <message>
        <source>Export PNG</source>
        <translation>PNG sichern</translation>
    </message>
</context>
<context>
    <name>VireoGUI</name>
    <message>
        <source>Message from RPC Server</source>
        <translation>Meldung vom RPC-Server</translation>
    </message>
    <message>
        <source>Restored connection to %1</source>
        <translation>Verbindung zu %1 wiederhergestellt</translation>
    </message>
    <message>
        <source>Lost connection to %1</source>
        <translation>Verbindung zu %1 verloren</translation>
    </message>
</context>
</TS>
