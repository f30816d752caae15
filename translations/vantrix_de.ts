<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>vx::AskYesNo</name>
    <message>
        <source>Confirmation</source>
        <translation>Bestätigung</translation>
    </message>
</context>
<context>
    <name>vx::CsvFile</name>
    <message>
        <source>Unable to write to %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>es ist ein symbolischer Link</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
</context>
<context>
    <name>vx::DesktopSession</name>
    <message>
        <source>On Wayland a program cannot keep its window above the others. Start Vantrix with XWayland (QT_QPA_PLATFORM=xcb) for this.</source>
        <translation>Unter Wayland kann ein Programm sein Fenster nicht über den anderen halten. Starten Sie Vantrix dafür mit XWayland (QT_QPA_PLATFORM=xcb).</translation>
    </message>
    <message>
        <source>The window manager cannot keep a window above the others (it does not offer _NET_WM_STATE_ABOVE).</source>
        <translation>Der Fenstermanager kann kein Fenster über den anderen halten (er bietet _NET_WM_STATE_ABOVE nicht an).</translation>
    </message>
</context>
<context>
    <name>vx::LinkKind</name>
    <message>
        <source>Physical</source>
        <translation>Physisch</translation>
    </message>
    <message>
        <source>Virtual: loopback</source>
        <translation>Virtuell: Loopback</translation>
    </message>
    <message>
        <source>Virtual: bridge</source>
        <translation>Virtuell: Bridge</translation>
    </message>
    <message>
        <source>Virtual: bond</source>
        <translation>Virtuell: Bond</translation>
    </message>
    <message>
        <source>Virtual: VLAN</source>
        <translation>Virtuell: VLAN</translation>
    </message>
    <message>
        <source>Virtual: veth pair</source>
        <translation>Virtuell: veth-Paar</translation>
    </message>
    <message>
        <source>Virtual: tunnel (tun/tap)</source>
        <translation>Virtuell: Tunnel (tun/tap)</translation>
    </message>
    <message>
        <source>Virtual: WireGuard</source>
        <translation>Virtuell: WireGuard</translation>
    </message>
    <message>
        <source>Virtual: other</source>
        <translation>Virtuell: andere</translation>
    </message>
    <message>
        <source>All physical</source>
        <translation>Alle physischen</translation>
    </message>
</context>
<context>
    <name>vx::TApplicationsWindow</name>
    <message>
        <source>Applications</source>
        <translation>Anwendungen</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Anwendung</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Empfangen gesamt</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet gesamt</translation>
    </message>
    <message>
        <source>Traffic per application needs Vantrix&apos;s counter service, which is not installed here: install Vantrix from its package, which sets it up.</source>
        <translation>Der Datenverkehr je Anwendung braucht den Zähldienst von Vantrix, der hier nicht installiert ist: Installieren Sie Vantrix aus seinem Paket, das ihn einrichtet.</translation>
    </message>
    <message>
        <source>The counter service does not answer: start it with &quot;systemctl start vantrix-appnet.socket&quot; (as root).</source>
        <translation>Der Zähldienst antwortet nicht: Starten Sie ihn mit „systemctl start vantrix-appnet.socket“ (als root).</translation>
    </message>
    <message>
        <source>The counter service could not count here (it needs cgroup v2 and BPF): &quot;journalctl -u vantrix-appnet&quot; says why.</source>
        <translation>Der Zähldienst kann hier nicht zählen (er braucht cgroup v2 und BPF): „journalctl -u vantrix-appnet“ sagt, warum.</translation>
    </message>
    <message>
        <source>%1 (your service)</source>
        <translation>%1 (Ihr Dienst)</translation>
    </message>
    <message>
        <source>%1 (your log-in session)</source>
        <translation>%1 (Ihre Anmeldesitzung)</translation>
    </message>
    <message>
        <source>%1 (system service)</source>
        <translation>%1 (Systemdienst)</translation>
    </message>
    <message>
        <source>Other users</source>
        <translation>Andere Benutzer</translation>
    </message>
    <message>
        <source>The system (outside any service)</source>
        <translation>Das System (außerhalb eines Dienstes)</translation>
    </message>
</context>
<context>
    <name>vx::TAutostart</name>
    <message>
        <source>Its path is not valid UTF-8, which a desktop entry cannot hold.</source>
        <translation>Sein Pfad ist kein gültiges UTF-8, das ein Desktop-Eintrag nicht aufnehmen kann.</translation>
    </message>
    <message>
        <source>Its path holds a control character, which a desktop entry cannot hold.</source>
        <translation>Sein Pfad enthält ein Steuerzeichen, das ein Desktop-Eintrag nicht aufnehmen kann.</translation>
    </message>
    <message>
        <source>No configuration folder is known.</source>
        <translation>Es ist kein Konfigurationsordner bekannt.</translation>
    </message>
</context>
<context>
    <name>vx::TInterfaceTree</name>
    <message>
        <source>Interface</source>
        <translation>Schnittstelle</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
</context>
<context>
    <name>vx::TRemoteHostsDialog</name>
    <message>
        <source>Remote hosts</source>
        <translation>Entfernte Rechner</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>A&amp;ddress:</source>
        <translation>Ad&amp;resse:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>&amp;CA file:</source>
        <translation>&amp;CA-Datei:</translation>
    </message>
    <message>
        <source>CA file</source>
        <translation>CA-Datei</translation>
    </message>
    <message>
        <source>Certificates (*.pem *.crt);;All files (*)</source>
        <translation>Zertifikate (*.pem *.crt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The address must start with http:// or https://.</source>
        <translation>Die Adresse muss mit http:// oder https:// beginnen.</translation>
    </message>
    <message>
        <source>The address names no host.</source>
        <translation>Die Adresse nennt keinen Rechner.</translation>
    </message>
    <message>
        <source>New host</source>
        <translation>Neuer Rechner</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>vx::TUsageBarChart</name>
    <message>
        <source>No traffic.</source>
        <translation>Kein Datenverkehr.</translation>
    </message>
    <message>
        <source>No traffic recorded yet</source>
        <translation>Noch kein Datenverkehr aufgezeichnet</translation>
    </message>
    <message>
        <source>%1
Download: %2
Upload: %3</source>
        <translation>%1
Download: %2
Upload: %3</translation>
    </message>
</context>
<context>
    <name>vx::TUsageRecorder</name>
    <message>
        <source>Another Vantrix is recording the usage history %1; this one does not record while it runs.</source>
        <translation>Ein anderes Vantrix zeichnet den Verbrauchsverlauf %1 auf; dieses zeichnet nicht auf, solange jenes läuft.</translation>
    </message>
    <message>
        <source>The usage history %1 cannot be kept: %2: %3</source>
        <translation>Der Verbrauchsverlauf %1 kann nicht geführt werden: %2: %3</translation>
    </message>
    <message>
        <source>The usage history %1 cannot be opened: %2. Vantrix tries again every minute.</source>
        <translation>Der Verbrauchsverlauf %1 kann nicht geöffnet werden: %2. Vantrix versucht es jede Minute erneut.</translation>
    </message>
    <message>
        <source>The usage history %1 could not be written: %2. Vantrix tries again every minute.</source>
        <translation>Der Verbrauchsverlauf %1 konnte nicht geschrieben werden: %2. Vantrix versucht es jede Minute erneut.</translation>
    </message>
</context>
<context>
    <name>vx::TUsageStore</name>
    <message>
        <source>The usage history could not be read; it was moved to %1 and a new one started.</source>
        <translation>Der Verbrauchsverlauf war nicht lesbar; er wurde nach %1 verschoben und ein neuer begonnen.</translation>
    </message>
    <message>
        <source>The usage history was written by a newer version of Vantrix; it is left as it is and nothing is recorded.</source>
        <translation>Der Verbrauchsverlauf stammt von einer neueren Version von Vantrix; er bleibt unverändert und es wird nichts aufgezeichnet.</translation>
    </message>
    <message>
        <source>The usage history %1 cannot be read or moved aside: %2</source>
        <translation>Der Verbrauchsverlauf %1 kann weder gelesen noch beiseitegelegt werden: %2</translation>
    </message>
</context>
<context>
    <name>vx::TUsageWindow</name>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation>Gestern</translation>
    </message>
    <message>
        <source>This week</source>
        <translation>Diese Woche</translation>
    </message>
    <message>
        <source>This month</source>
        <translation>Dieser Monat</translation>
    </message>
    <message>
        <source>Last month</source>
        <translation>Letzter Monat</translation>
    </message>
    <message>
        <source>All time</source>
        <translation>Insgesamt</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>Verbrauch</translation>
    </message>
    <message>
        <source>&amp;Interface:</source>
        <translation>&amp;Schnittstelle:</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>Totals per period</source>
        <translation>Summen je Zeitraum</translation>
    </message>
    <message>
        <source>Monthly allowance</source>
        <translation>Monatliches Kontingent</translation>
    </message>
    <message>
        <source>Limit</source>
        <translation>Grenze</translation>
    </message>
    <message>
        <source>Download and upload together; 1 GB is 1024 MB</source>
        <translation>Download und Upload zusammen; 1 GB sind 1024 MB</translation>
    </message>
    <message>
        <source>The day of the month a period starts; in shorter months, their last day</source>
        <translation>Der Tag des Monats, an dem ein Zeitraum beginnt; in kürzeren Monaten deren letzter Tag</translation>
    </message>
    <message>
        <source>Billing day:</source>
        <translation>Abrechnungstag:</translation>
    </message>
    <message>
        <source>Last 31 days</source>
        <translation>Letzte 31 Tage</translation>
    </message>
    <message>
        <source>Last 12 months</source>
        <translation>Letzte 12 Monate</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <source>Every interface&apos;s daily traffic as a CSV file</source>
        <translation>Der tägliche Datenverkehr jeder Schnittstelle als CSV-Datei</translation>
    </message>
    <message>
        <source>No usage history is kept: </source>
        <translation>Es wird kein Verbrauchsverlauf geführt: </translation>
    </message>
    <message>
        <source>No allowance set.</source>
        <translation>Kein Kontingent festgelegt.</translation>
    </message>
    <message>
        <source>%1 of %2 used from %3 to %4. At this pace: %5 by the end.</source>
        <translation>%1 von %2 verbraucht vom %3 bis %4. In diesem Tempo: %5 bis zum Ende.</translation>
    </message>
    <message>
        <source>the usage history is not open</source>
        <translation>der Verbrauchsverlauf ist nicht geöffnet</translation>
    </message>
    <message>
        <source>The allowance could not be saved: %1. Try again in a moment.</source>
        <translation>Das Kontingent konnte nicht gespeichert werden: %1. Versuchen Sie es gleich noch einmal.</translation>
    </message>
    <message>
        <source>Export usage</source>
        <translation>Verbrauch exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>vx::TdlgAbout</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>This program is free for private, educational and non-commercial use.

It is provided as it is, without any warranty: you use it at your own risk.

All rights reserved.</source>
        <translation>Dieses Programm ist für private, schulische und nichtkommerzielle Nutzung kostenlos.

Es wird so bereitgestellt, wie es ist, ohne jede Gewährleistung: Sie nutzen es auf eigene Gefahr.

Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>Cannot get update information.</source>
        <translation>Die Update-Informationen sind nicht abrufbar.</translation>
    </message>
    <message>
        <source>You use latest version.</source>
        <translation>Sie verwenden die neueste Version.</translation>
    </message>
    <message>
        <source>New version %1 available. Click here to download it.</source>
        <translation>Neue Version %1 verfügbar. Klicken Sie hier, um sie herunterzuladen.</translation>
    </message>
    <message>
        <source>Checking for update...</source>
        <translation>Suche nach Updates...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>vx::Tdlg_vx_AdapterInfo</name>
    <message>
        <source>Other</source>
        <translation>Andere</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>Token Ring</source>
        <translation>Token Ring</translation>
    </message>
    <message>
        <source>FDDI</source>
        <translation>FDDI</translation>
    </message>
    <message>
        <source>PPP</source>
        <translation>PPP</translation>
    </message>
    <message>
        <source>Loopback</source>
        <translation>Loopback</translation>
    </message>
    <message>
        <source>ATM</source>
        <translation>ATM</translation>
    </message>
    <message>
        <source>IEEE 802.11 wireless</source>
        <translation>IEEE 802.11 (WLAN)</translation>
    </message>
    <message>
        <source>Tunnel encapsulation</source>
        <translation>Tunnel-Kapselung</translation>
    </message>
    <message>
        <source>IEEE 1394 (Firewire) high performance serial bus</source>
        <translation>IEEE 1394 (Firewire), serieller Hochleistungsbus</translation>
    </message>
    <message>
        <source>Mobile broadband for WiMax</source>
        <translation>Mobiles Breitband über WiMax</translation>
    </message>
    <message>
        <source>Mobile broadband for GSM</source>
        <translation>Mobiles Breitband über GSM</translation>
    </message>
    <message>
        <source>Mobile broadband for CDMA</source>
        <translation>Mobiles Breitband über CDMA</translation>
    </message>
    <message>
        <source>Non Operational</source>
        <translation>Nicht betriebsbereit</translation>
    </message>
    <message>
        <source>Unreachable</source>
        <translation>Nicht erreichbar</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Verbindet</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Operational</source>
        <translation>Betriebsbereit</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Interface name</source>
        <translation>Name der Schnittstelle</translation>
    </message>
    <message>
        <source> Device properties </source>
        <translation> Geräteeigenschaften </translation>
    </message>
    <message>
        <source>Alias:</source>
        <translation>Alias:</translation>
    </message>
    <message>
        <source>Max speed:</source>
        <translation>Höchstgeschwindigkeit:</translation>
    </message>
    <message>
        <source>MTU size:</source>
        <translation>MTU-Größe:</translation>
    </message>
    <message>
        <source>MAC address:</source>
        <translation>MAC-Adresse:</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>Subnet mask:</source>
        <translation>Subnetzmaske:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Failed to get data. Device is not available.</source>
        <translation>Keine Daten erhalten. Das Gerät ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mbit/s</translation>
    </message>
    <message>
        <source>Class:</source>
        <translation>Klasse:</translation>
    </message>
    <message>
        <source>The sum of the physical interfaces</source>
        <translation>Die Summe der physischen Schnittstellen</translation>
    </message>
</context>
<context>
    <name>vx::Tfrm_vx_Watcher</name>
    <message>
        <source>Transfer</source>
        <translation>Übertragung</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Properties...</source>
        <translation>Eigenschaften...</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Aktuell</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Höchstwert</translation>
    </message>
    <message>
        <source>Total transfer</source>
        <translation>Gesamtübertragung</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>Session totals</source>
        <translation>Sitzungssummen</translation>
    </message>
    <message>
        <source>Current download</source>
        <translation>Aktueller Download</translation>
    </message>
    <message>
        <source>Highest download</source>
        <translation>Höchster Download</translation>
    </message>
    <message>
        <source>Total received</source>
        <translation>Insgesamt empfangen</translation>
    </message>
    <message>
        <source>Current upload</source>
        <translation>Aktueller Upload</translation>
    </message>
    <message>
        <source>Highest upload</source>
        <translation>Höchster Upload</translation>
    </message>
    <message>
        <source>Total sent</source>
        <translation>Insgesamt gesendet</translation>
    </message>
    <message>
        <source>Session download</source>
        <translation>Download der Sitzung</translation>
    </message>
    <message>
        <source>Session upload</source>
        <translation>Upload der Sitzung</translation>
    </message>
    <message>
        <source>&amp;Export history...</source>
        <translation>Verlauf ex&amp;portieren...</translation>
    </message>
    <message>
        <source>Clear session &amp;totals...</source>
        <translation>Sitzungssummen lösc&amp;hen...</translation>
    </message>
    <message>
        <source>%1 traffic</source>
        <translation>Datenverkehr von %1</translation>
    </message>
    <message>
        <source>Units of %1</source>
        <translation>Einheiten von %1</translation>
    </message>
    <message>
        <source>Properties of %1</source>
        <translation>Eigenschaften von %1</translation>
    </message>
    <message>
        <source>%1 graph</source>
        <translation>Diagramm von %1</translation>
    </message>
    <message>
        <source>Download %1, highest %2. Upload %3, highest %4.</source>
        <translation>Download %1, höchstens %2. Upload %3, höchstens %4.</translation>
    </message>
    <message>
        <source>Last minute: download average %1 %5, peak %2 %5; upload average %3 %5, peak %4 %5.</source>
        <translation>Letzte Minute: Download im Mittel %1 %5, Spitze %2 %5; Upload im Mittel %3 %5, Spitze %4 %5.</translation>
    </message>
    <message>
        <source>Timestamp: %1
Value: %2</source>
        <translation>Zeitpunkt: %1
Wert: %2</translation>
    </message>
    <message>
        <source>Clear session totals?</source>
        <translation>Sitzungssummen löschen?</translation>
    </message>
    <message>
        <source>Export history</source>
        <translation>Verlauf exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>vx::Twnd_vx_Main</name>
    <message>
        <source>Interfaces</source>
        <translation>Schnittstellen</translation>
    </message>
    <message>
        <source>No interface is being watched. Press Ctrl+I to show the interfaces, then check one to watch it.</source>
        <translation>Keine Schnittstelle wird überwacht. Drücken Sie Strg+I, um die Schnittstellen anzuzeigen, und haken Sie eine an, um sie zu überwachen.</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Quits the application</source>
        <translation>Beendet das Programm</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Über...</translation>
    </message>
    <message>
        <source>Always &amp;Visible</source>
        <translation>&amp;Immer sichtbar</translation>
    </message>
    <message>
        <source>&amp;Interface View</source>
        <translation>&amp;Schnittstellenliste</translation>
    </message>
    <message>
        <source>Window &amp;Caption</source>
        <translation>&amp;Fenstertitel</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>&amp;Ausblenden</translation>
    </message>
    <message>
        <source>&amp;Only Operational Interfaces</source>
        <translation>&amp;Nur betriebsbereite Schnittstellen</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>A&amp;ktualisieren</translation>
    </message>
    <message>
        <source>Persistent &amp;layout and settings</source>
        <translation>Dauerhaftes &amp;Layout und Einstellungen</translation>
    </message>
    <message>
        <source>Start with the &amp;desktop</source>
        <translation>Mit dem &amp;Desktop starten</translation>
    </message>
    <message>
        <source>&amp;Usage...</source>
        <translation>&amp;Verbrauch...</translation>
    </message>
    <message>
        <source>Traffic per day and month, and the monthly allowance</source>
        <translation>Datenverkehr je Tag und Monat und das monatliche Kontingent</translation>
    </message>
    <message>
        <source>Start with the desktop</source>
        <translation>Mit dem Desktop starten</translation>
    </message>
    <message>
        <source>Vantrix cannot be started with the desktop from where it is: %1</source>
        <translation>Vantrix kann von seinem Ort aus nicht mit dem Desktop gestartet werden: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Monitor</source>
        <translation>Über&amp;wachen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Default U&amp;nits</source>
        <translation>Standard-&amp;Einheiten</translation>
    </message>
    <message>
        <source>&amp;Transfer</source>
        <translation>&amp;Übertragung</translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation>&amp;Geschwindigkeit</translation>
    </message>
    <message>
        <source>Update &amp;Period</source>
        <translation>Akt&amp;ualisierungsintervall</translation>
    </message>
    <message>
        <source>&amp;Fast (0.5 s)</source>
        <translation>&amp;Schnell (0,5 s)</translation>
    </message>
    <message>
        <source>&amp;Normal (1 s)</source>
        <translation>&amp;Normal (1 s)</translation>
    </message>
    <message>
        <source>S&amp;low (2 s)</source>
        <translation>&amp;Langsam (2 s)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Show</source>
        <translation>&amp;Anzeigen</translation>
    </message>
    <message>
        <source>
%1: Download %2, Upload %3</source>
        <translation>
%1: Download %2, Upload %3</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>%1 has used its monthly allowance: %2.</source>
        <translation>%1 hat sein monatliches Kontingent verbraucht: %2.</translation>
    </message>
    <message>
        <source>%1 has used %2 % of its monthly allowance: %3.</source>
        <translation>%1 hat %2 % seines monatlichen Kontingents verbraucht: %3.</translation>
    </message>
    <message>
        <source>Usa&amp;ge of %1...</source>
        <translation>Ve&amp;rbrauch von %1...</translation>
    </message>
    <message>
        <source>Hide Virtual Inter&amp;faces</source>
        <translation>Vir&amp;tuelle Schnittstellen ausblenden</translation>
    </message>
    <message>
        <source>Lists only the physical interfaces and their total</source>
        <translation>Listet nur die physischen Schnittstellen und ihre Summe</translation>
    </message>
    <message>
        <source>Tra&amp;y Readout</source>
        <translation>Anzei&amp;ge im Infobereich</translation>
    </message>
    <message>
        <source>&amp;Off</source>
        <translation>&amp;Aus</translation>
    </message>
    <message>
        <source>Remote Host&amp;s...</source>
        <translation>Entfernte Re&amp;chner...</translation>
    </message>
    <message>
        <source>Other machines whose interfaces are listed, read from their node exporter</source>
        <translation>Andere Rechner, deren Schnittstellen aufgeführt werden, gelesen von ihrem Node Exporter</translation>
    </message>
    <message>
        <source>The remote hosts could not be stored: %1</source>
        <translation>Die entfernten Rechner konnten nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>unreachable</source>
        <translation>nicht erreichbar</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>verbinde</translation>
    </message>
    <message>
        <source>Not reached: %1</source>
        <translation>Nicht erreicht: %1</translation>
    </message>
    <message>
        <source>Traffic &amp;by Application...</source>
        <translation>Datenverkehr je Pr&amp;ogramm...</translation>
    </message>
    <message>
        <source>Which application uses the network</source>
        <translation>Welche Anwendung das Netzwerk nutzt</translation>
    </message>
</context>
</TS>
