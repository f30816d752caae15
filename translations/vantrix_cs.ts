<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>vx::AskYesNo</name>
    <message>
        <source>Confirmation</source>
        <translation>Potvrzení</translation>
    </message>
</context>
<context>
    <name>vx::CsvFile</name>
    <message>
        <source>Unable to write to %1: %2</source>
        <translation>Do %1 nelze zapisovat: %2</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>je to symbolický odkaz</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>není to obyčejný soubor</translation>
    </message>
</context>
<context>
    <name>vx::DesktopSession</name>
    <message>
        <source>On Wayland a program cannot keep its window above the others. Start Vantrix with XWayland (QT_QPA_PLATFORM=xcb) for this.</source>
        <translation>Na Waylandu nemůže program držet své okno nad ostatními. Spusťte k tomu Vantrix s XWaylandem (QT_QPA_PLATFORM=xcb).</translation>
    </message>
    <message>
        <source>The window manager cannot keep a window above the others (it does not offer _NET_WM_STATE_ABOVE).</source>
        <translation>Správce oken neumí držet okno nad ostatními (nenabízí _NET_WM_STATE_ABOVE).</translation>
    </message>
</context>
<context>
    <name>vx::LinkKind</name>
    <message>
        <source>Physical</source>
        <translation>Fyzické</translation>
    </message>
    <message>
        <source>Virtual: loopback</source>
        <translation>Virtuální: smyčka</translation>
    </message>
    <message>
        <source>Virtual: bridge</source>
        <translation>Virtuální: most</translation>
    </message>
    <message>
        <source>Virtual: bond</source>
        <translation>Virtuální: bond</translation>
    </message>
    <message>
        <source>Virtual: VLAN</source>
        <translation>Virtuální: VLAN</translation>
    </message>
    <message>
        <source>Virtual: veth pair</source>
        <translation>Virtuální: pár veth</translation>
    </message>
    <message>
        <source>Virtual: tunnel (tun/tap)</source>
        <translation>Virtuální: tunel (tun/tap)</translation>
    </message>
    <message>
        <source>Virtual: WireGuard</source>
        <translation>Virtuální: WireGuard</translation>
    </message>
    <message>
        <source>Virtual: other</source>
        <translation>Virtuální: jiné</translation>
    </message>
    <message>
        <source>All physical</source>
        <translation>Všechna fyzická</translation>
    </message>
</context>
<context>
    <name>vx::TApplicationsWindow</name>
    <message>
        <source>Applications</source>
        <translation>Aplikace</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Aplikace</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Stahování</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Odesílání</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Přijato</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Odesláno</translation>
    </message>
    <message>
        <source>Traffic per application needs Vantrix&apos;s counter service, which is not installed here: install Vantrix from its package, which sets it up.</source>
        <translation>Provoz podle aplikací potřebuje počítací službu Vantrixu, která zde není nainstalována: nainstalujte Vantrix z jeho balíčku, který ji nastaví.</translation>
    </message>
    <message>
        <source>The counter service does not answer: start it with &quot;systemctl start vantrix-appnet.socket&quot; (as root).</source>
        <translation>Počítací služba neodpovídá: spusťte ji příkazem „systemctl start vantrix-appnet.socket“ (jako root).</translation>
    </message>
    <message>
        <source>The counter service could not count here (it needs cgroup v2 and BPF): &quot;journalctl -u vantrix-appnet&quot; says why.</source>
        <translation>Počítací služba zde nemůže počítat (potřebuje cgroup v2 a BPF): „journalctl -u vantrix-appnet“ řekne proč.</translation>
    </message>
    <message>
        <source>%1 (your service)</source>
        <translation>%1 (vaše služba)</translation>
    </message>
    <message>
        <source>%1 (your log-in session)</source>
        <translation>%1 (vaše přihlašovací relace)</translation>
    </message>
    <message>
        <source>%1 (system service)</source>
        <translation>%1 (systémová služba)</translation>
    </message>
    <message>
        <source>Other users</source>
        <translation>Ostatní uživatelé</translation>
    </message>
    <message>
        <source>The system (outside any service)</source>
        <translation>Systém (mimo služby)</translation>
    </message>
</context>
<context>
    <name>vx::TAutostart</name>
    <message>
        <source>Its path is not valid UTF-8, which a desktop entry cannot hold.</source>
        <translation>Jeho cesta není platné UTF-8, které položka plochy nedokáže pojmout.</translation>
    </message>
    <message>
        <source>Its path holds a control character, which a desktop entry cannot hold.</source>
        <translation>Jeho cesta obsahuje řídicí znak, který položka plochy nedokáže pojmout.</translation>
    </message>
    <message>
        <source>No configuration folder is known.</source>
        <translation>Není známa žádná složka s nastavením.</translation>
    </message>
</context>
<context>
    <name>vx::TInterfaceTree</name>
    <message>
        <source>Interface</source>
        <translation>Rozhraní</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Stahování</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Odesílání</translation>
    </message>
</context>
<context>
    <name>vx::TRemoteHostsDialog</name>
    <message>
        <source>Remote hosts</source>
        <translation>Vzdálení hostitelé</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Přidat</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Odebrat</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>P&amp;rocházet...</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Název:</translation>
    </message>
    <message>
        <source>A&amp;ddress:</source>
        <translation>&amp;Adresa:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Uživatelské jméno:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Heslo:</translation>
    </message>
    <message>
        <source>&amp;CA file:</source>
        <translation>Soubor &amp;CA:</translation>
    </message>
    <message>
        <source>CA file</source>
        <translation>Soubor CA</translation>
    </message>
    <message>
        <source>Certificates (*.pem *.crt);;All files (*)</source>
        <translation>Certifikáty (*.pem *.crt);;Všechny soubory (*)</translation>
    </message>
    <message>
        <source>The address must start with http:// or https://.</source>
        <translation>Adresa musí začínat http:// nebo https://.</translation>
    </message>
    <message>
        <source>The address names no host.</source>
        <translation>Adresa neuvádí žádného hostitele.</translation>
    </message>
    <message>
        <source>New host</source>
        <translation>Nový hostitel</translation>
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
        <translation>Žádný provoz.</translation>
    </message>
    <message>
        <source>No traffic recorded yet</source>
        <translation>Zatím nebyl zaznamenán žádný provoz</translation>
    </message>
    <message>
        <source>%1
Download: %2
Upload: %3</source>
        <translation>%1
Stahování: %2
Odesílání: %3</translation>
    </message>
</context>
<context>
    <name>vx::TUsageRecorder</name>
    <message>
        <source>Another Vantrix is recording the usage history %1; this one does not record while it runs.</source>
        <translation>Historii využití %1 zaznamenává jiný Vantrix; tento nezaznamenává, dokud onen běží.</translation>
    </message>
    <message>
        <source>The usage history %1 cannot be kept: %2: %3</source>
        <translation>Historii využití %1 nelze vést: %2: %3</translation>
    </message>
    <message>
        <source>The usage history %1 cannot be opened: %2. Vantrix tries again every minute.</source>
        <translation>Historii využití %1 nelze otevřít: %2. Vantrix to zkusí znovu každou minutu.</translation>
    </message>
    <message>
        <source>The usage history %1 could not be written: %2. Vantrix tries again every minute.</source>
        <translation>Historii využití %1 se nepodařilo zapsat: %2. Vantrix to zkusí znovu každou minutu.</translation>
    </message>
</context>
<context>
    <name>vx::TUsageStore</name>
    <message>
        <source>The usage history could not be read; it was moved to %1 and a new one started.</source>
        <translation>Historii využití nešlo přečíst; byla přesunuta do %1 a začala nová.</translation>
    </message>
    <message>
        <source>The usage history was written by a newer version of Vantrix; it is left as it is and nothing is recorded.</source>
        <translation>Historii využití zapsala novější verze Vantrixu; zůstává, jak je, a nic se nezaznamenává.</translation>
    </message>
    <message>
        <source>The usage history %1 cannot be read or moved aside: %2</source>
        <translation>Historii využití %1 nelze přečíst ani odložit: %2</translation>
    </message>
</context>
<context>
    <name>vx::TUsageWindow</name>
    <message>
        <source>Today</source>
        <translation>Dnes</translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation>Včera</translation>
    </message>
    <message>
        <source>This week</source>
        <translation>Tento týden</translation>
    </message>
    <message>
        <source>This month</source>
        <translation>Tento měsíc</translation>
    </message>
    <message>
        <source>Last month</source>
        <translation>Minulý měsíc</translation>
    </message>
    <message>
        <source>All time</source>
        <translation>Celkem</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>Využití</translation>
    </message>
    <message>
        <source>&amp;Interface:</source>
        <translation>&amp;Rozhraní:</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Období</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Stahování</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Odesílání</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Celkem</translation>
    </message>
    <message>
        <source>Totals per period</source>
        <translation>Součty za období</translation>
    </message>
    <message>
        <source>Monthly allowance</source>
        <translation>Měsíční limit</translation>
    </message>
    <message>
        <source>Limit</source>
        <translation>Omezit</translation>
    </message>
    <message>
        <source>Download and upload together; 1 GB is 1024 MB</source>
        <translation>Stahování a odesílání dohromady; 1 GB je 1024 MB</translation>
    </message>
    <message>
        <source>The day of the month a period starts; in shorter months, their last day</source>
        <translation>Den v měsíci, kdy období začíná; v kratších měsících jejich poslední den</translation>
    </message>
    <message>
        <source>Billing day:</source>
        <translation>Zúčtovací den:</translation>
    </message>
    <message>
        <source>Last 31 days</source>
        <translation>Posledních 31 dní</translation>
    </message>
    <message>
        <source>Last 12 months</source>
        <translation>Posledních 12 měsíců</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportovat...</translation>
    </message>
    <message>
        <source>Every interface&apos;s daily traffic as a CSV file</source>
        <translation>Denní provoz každého rozhraní jako soubor CSV</translation>
    </message>
    <message>
        <source>No usage history is kept: </source>
        <translation>Historie využití se nevede: </translation>
    </message>
    <message>
        <source>No allowance set.</source>
        <translation>Limit není nastaven.</translation>
    </message>
    <message>
        <source>%1 of %2 used from %3 to %4. At this pace: %5 by the end.</source>
        <translation>Využito %1 z %2 od %3 do %4. Tímto tempem: %5 do konce.</translation>
    </message>
    <message>
        <source>the usage history is not open</source>
        <translation>historie využití není otevřená</translation>
    </message>
    <message>
        <source>The allowance could not be saved: %1. Try again in a moment.</source>
        <translation>Limit se nepodařilo uložit: %1. Zkuste to za chvíli znovu.</translation>
    </message>
    <message>
        <source>Export usage</source>
        <translation>Export využití</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Soubory CSV (*.csv);;Všechny soubory (*)</translation>
    </message>
</context>
<context>
    <name>vx::TdlgAbout</name>
    <message>
        <source>About</source>
        <translation>O programu</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Verze</translation>
    </message>
    <message>
        <source>This program is free for private, educational and non-commercial use.

It is provided as it is, without any warranty: you use it at your own risk.

All rights reserved.</source>
        <translation>Tento program je zdarma pro soukromé, vzdělávací a nekomerční použití.

Program je poskytován tak, jak je, bez jakékoli záruky: používáte jej na vlastní nebezpečí.

Všechna práva vyhrazena.</translation>
    </message>
    <message>
        <source>Cannot get update information.</source>
        <translation>Nelze získat informace o verzi</translation>
    </message>
    <message>
        <source>You use latest version.</source>
        <translation>Máte poslední verzi.</translation>
    </message>
    <message>
        <source>New version %1 available. Click here to download it.</source>
        <translation>Nová verze %1 je k dispozici. Pokud ji chcete stáhnout, klikněte zde.</translation>
    </message>
    <message>
        <source>Checking for update...</source>
        <translation>Hledám aktualizace...</translation>
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
        <translation>Jiné</translation>
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
        <translation>Smyčka (loopback)</translation>
    </message>
    <message>
        <source>ATM</source>
        <translation>ATM</translation>
    </message>
    <message>
        <source>IEEE 802.11 wireless</source>
        <translation>Bezdrátové IEEE 802.11</translation>
    </message>
    <message>
        <source>Tunnel encapsulation</source>
        <translation>Tunelové zapouzdření</translation>
    </message>
    <message>
        <source>IEEE 1394 (Firewire) high performance serial bus</source>
        <translation>IEEE 1394 (Firewire), vysokorychlostní sériová sběrnice</translation>
    </message>
    <message>
        <source>Mobile broadband for WiMax</source>
        <translation>Mobilní širokopásmové připojení WiMax</translation>
    </message>
    <message>
        <source>Mobile broadband for GSM</source>
        <translation>Mobilní širokopásmové připojení GSM</translation>
    </message>
    <message>
        <source>Mobile broadband for CDMA</source>
        <translation>Mobilní širokopásmové připojení CDMA</translation>
    </message>
    <message>
        <source>Non Operational</source>
        <translation>Nefunkční</translation>
    </message>
    <message>
        <source>Unreachable</source>
        <translation>Nedostupné</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Odpojeno</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Připojování</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Připojeno</translation>
    </message>
    <message>
        <source>Operational</source>
        <translation>Funkční</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Vlastnosti</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Obecné</translation>
    </message>
    <message>
        <source>Interface name</source>
        <translation>Název rozhraní</translation>
    </message>
    <message>
        <source> Device properties </source>
        <translation> Vlastnosti zařízení </translation>
    </message>
    <message>
        <source>Alias:</source>
        <translation>Alias:</translation>
    </message>
    <message>
        <source>Max speed:</source>
        <translation>Max. rychlost:</translation>
    </message>
    <message>
        <source>MTU size:</source>
        <translation>Velikost MTU:</translation>
    </message>
    <message>
        <source>MAC address:</source>
        <translation>Adresa MAC:</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>Adresa IP:</translation>
    </message>
    <message>
        <source>Subnet mask:</source>
        <translation>Maska podsítě:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Stav:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Failed to get data. Device is not available.</source>
        <translation>Data se nepodařilo získat. Zařízení není dostupné.</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mb/s</translation>
    </message>
    <message>
        <source>Class:</source>
        <translation>Třída:</translation>
    </message>
    <message>
        <source>The sum of the physical interfaces</source>
        <translation>Součet fyzických rozhraní</translation>
    </message>
</context>
<context>
    <name>vx::Tfrm_vx_Watcher</name>
    <message>
        <source>Transfer</source>
        <translation>Přenos</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Rychlost</translation>
    </message>
    <message>
        <source>Properties...</source>
        <translation>Vlastnosti...</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Stahování</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Aktuální</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Total transfer</source>
        <translation>Celkový přenos</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Odesílání</translation>
    </message>
    <message>
        <source>Session totals</source>
        <translation>Součty relace</translation>
    </message>
    <message>
        <source>Current download</source>
        <translation>Aktuální stahování</translation>
    </message>
    <message>
        <source>Highest download</source>
        <translation>Nejvyšší stahování</translation>
    </message>
    <message>
        <source>Total received</source>
        <translation>Celkem přijato</translation>
    </message>
    <message>
        <source>Current upload</source>
        <translation>Aktuální odesílání</translation>
    </message>
    <message>
        <source>Highest upload</source>
        <translation>Nejvyšší odesílání</translation>
    </message>
    <message>
        <source>Total sent</source>
        <translation>Celkem odesláno</translation>
    </message>
    <message>
        <source>Session download</source>
        <translation>Stahování v relaci</translation>
    </message>
    <message>
        <source>Session upload</source>
        <translation>Odesílání v relaci</translation>
    </message>
    <message>
        <source>&amp;Export history...</source>
        <translation>Exportovat &amp;historii...</translation>
    </message>
    <message>
        <source>Clear session &amp;totals...</source>
        <translation>Vy&amp;mazat součty relace...</translation>
    </message>
    <message>
        <source>%1 traffic</source>
        <translation>Provoz %1</translation>
    </message>
    <message>
        <source>Units of %1</source>
        <translation>Jednotky %1</translation>
    </message>
    <message>
        <source>Properties of %1</source>
        <translation>Vlastnosti %1</translation>
    </message>
    <message>
        <source>%1 graph</source>
        <translation>Graf %1</translation>
    </message>
    <message>
        <source>Download %1, highest %2. Upload %3, highest %4.</source>
        <translation>Stahování %1, nejvýše %2. Odesílání %3, nejvýše %4.</translation>
    </message>
    <message>
        <source>Last minute: download average %1 %5, peak %2 %5; upload average %3 %5, peak %4 %5.</source>
        <translation>Poslední minuta: stahování průměrně %1 %5, špička %2 %5; odesílání průměrně %3 %5, špička %4 %5.</translation>
    </message>
    <message>
        <source>Timestamp: %1
Value: %2</source>
        <translation>Čas: %1
Hodnota: %2</translation>
    </message>
    <message>
        <source>Clear session totals?</source>
        <translation>Vymazat součty relace?</translation>
    </message>
    <message>
        <source>Export history</source>
        <translation>Export historie</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Soubory CSV (*.csv);;Všechny soubory (*)</translation>
    </message>
</context>
<context>
    <name>vx::Twnd_vx_Main</name>
    <message>
        <source>Interfaces</source>
        <translation>Rozhraní</translation>
    </message>
    <message>
        <source>No interface is being watched. Press Ctrl+I to show the interfaces, then check one to watch it.</source>
        <translation>Žádné rozhraní není sledováno. Stiskněte Ctrl+I pro zobrazení rozhraní a zaškrtněte to, které chcete sledovat.</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Ukončit</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Ukončit</translation>
    </message>
    <message>
        <source>Quits the application</source>
        <translation>Ukončí program</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>O progr&amp;amu...</translation>
    </message>
    <message>
        <source>Always &amp;Visible</source>
        <translation>Vždy &amp;navrchu</translation>
    </message>
    <message>
        <source>&amp;Interface View</source>
        <translation>&amp;Seznam rozhraní</translation>
    </message>
    <message>
        <source>Window &amp;Caption</source>
        <translation>&amp;Titulek okna</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>S&amp;krýt</translation>
    </message>
    <message>
        <source>&amp;Only Operational Interfaces</source>
        <translation>&amp;Jen funkční rozhraní</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Obnovit</translation>
    </message>
    <message>
        <source>Persistent &amp;layout and settings</source>
        <translation>Trvalé &amp;rozložení a nastavení</translation>
    </message>
    <message>
        <source>Start with the &amp;desktop</source>
        <translation>Spouštět s &amp;plochou</translation>
    </message>
    <message>
        <source>&amp;Usage...</source>
        <translation>&amp;Využití...</translation>
    </message>
    <message>
        <source>Traffic per day and month, and the monthly allowance</source>
        <translation>Provoz po dnech a měsících a měsíční limit</translation>
    </message>
    <message>
        <source>Start with the desktop</source>
        <translation>Spouštět s plochou</translation>
    </message>
    <message>
        <source>Vantrix cannot be started with the desktop from where it is: %1</source>
        <translation>Vantrix nelze spouštět s plochou z místa, kde je: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Soubor</translation>
    </message>
    <message>
        <source>&amp;Monitor</source>
        <translation>S&amp;ledování</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Zobrazit</translation>
    </message>
    <message>
        <source>Default U&amp;nits</source>
        <translation>Výchozí j&amp;ednotky</translation>
    </message>
    <message>
        <source>&amp;Transfer</source>
        <translation>&amp;Přenos</translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation>&amp;Rychlost</translation>
    </message>
    <message>
        <source>Update &amp;Period</source>
        <translation>&amp;Interval aktualizace</translation>
    </message>
    <message>
        <source>&amp;Fast (0.5 s)</source>
        <translation>&amp;Rychlý (0,5 s)</translation>
    </message>
    <message>
        <source>&amp;Normal (1 s)</source>
        <translation>&amp;Normální (1 s)</translation>
    </message>
    <message>
        <source>S&amp;low (2 s)</source>
        <translation>&amp;Pomalý (2 s)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message>
        <source>&amp;Show</source>
        <translation>Zo&amp;brazit</translation>
    </message>
    <message>
        <source>
%1: Download %2, Upload %3</source>
        <translation>
%1: stahování %2, odesílání %3</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 z %2</translation>
    </message>
    <message>
        <source>%1 has used its monthly allowance: %2.</source>
        <translation>%1 vyčerpalo svůj měsíční limit: %2.</translation>
    </message>
    <message>
        <source>%1 has used %2 % of its monthly allowance: %3.</source>
        <translation>%1 využilo %2 % svého měsíčního limitu: %3.</translation>
    </message>
    <message>
        <source>Usa&amp;ge of %1...</source>
        <translation>V&amp;yužití %1...</translation>
    </message>
    <message>
        <source>Hide Virtual Inter&amp;faces</source>
        <translation>Skrýt virtuální ro&amp;zhraní</translation>
    </message>
    <message>
        <source>Lists only the physical interfaces and their total</source>
        <translation>Zobrazí jen fyzická rozhraní a jejich součet</translation>
    </message>
    <message>
        <source>Tra&amp;y Readout</source>
        <translation>Ry&amp;chlosti v oznamovací oblasti</translation>
    </message>
    <message>
        <source>&amp;Off</source>
        <translation>V&amp;ypnuto</translation>
    </message>
    <message>
        <source>Remote Host&amp;s...</source>
        <translation>Vz&amp;dálené počítače...</translation>
    </message>
    <message>
        <source>Other machines whose interfaces are listed, read from their node exporter</source>
        <translation>Jiné počítače, jejichž rozhraní jsou uvedena, čtená z jejich node exporteru</translation>
    </message>
    <message>
        <source>The remote hosts could not be stored: %1</source>
        <translation>Vzdálené počítače nelze uložit: %1</translation>
    </message>
    <message>
        <source>unreachable</source>
        <translation>nedostupný</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>připojování</translation>
    </message>
    <message>
        <source>Not reached: %1</source>
        <translation>Nedostupný: %1</translation>
    </message>
    <message>
        <source>Traffic &amp;by Application...</source>
        <translation>Provoz podle pro&amp;gramů...</translation>
    </message>
    <message>
        <source>Which application uses the network</source>
        <translation>Která aplikace používá síť</translation>
    </message>
</context>
</TS>
