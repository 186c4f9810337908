<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
<context>
    <name>Backup</name>
    <message>
        <source>Unknown device</source>
        <translation>Unbekanntes Gerät</translation>
    </message>
    <message>
        <source>Korwind Navigator %1
</source>
        <translation>Korwind Navigator %1
</translation>
    </message>
    <message>
        <source>Maps for Korwind Navigator:</source>
        <translation>Karten für Korwind Navigator:</translation>
    </message>
</context>
<context>
    <name>ContentFolderScanner</name>
    <message>
        <source>This map is already installed</source>
        <translation>Diese Karte ist bereits installiert</translation>
    </message>
</context>
<context>
    <name>DeviceInfo</name>
    <message>
        <source> (device in a read only mode!)</source>
        <translation> (Gerät ist schreibgeschützt!)</translation>
    </message>
    <message>
        <source> (plugged in a wrong way!)</source>
        <translation> (falsch angeschlossen!)</translation>
    </message>
</context>
<context>
    <name>DeviceServices</name>
    <message>
        <source>(don't unplug device untill operation is completed)</source>
        <translation>(Trennen Sie das Gerät nicht, bevor der Vorgang abgeschlossen ist)</translation>
    </message>
    <message>
        <source>Korwind Navigator %1</source>
        <translation>Korwind Navigator %1</translation>
    </message>
    <message>
        <source>Unknown device</source>
        <translation>Unbekanntes Gerät</translation>
    </message>
    <message>
        <source>Device wasn’t found.
Please check, if it was correctly connected, or if you need extra installation software.</source>
        <translation>Das Gerät wurde nicht gefunden.
Bitte prüfen Sie, ob es richtig angeschlossen ist oder ob zusätzliche Installationssoftware benötigt wird.</translation>
    </message>
    <message>
        <source>Korwind Navigator content folder was not found on your device.</source>
        <translation>Der Inhaltsordner von Korwind Navigator wurde auf Ihrem Gerät nicht gefunden.</translation>
    </message>
    <message>
        <source>Your device is still connected in the wrong way.</source>
        <translation>Ihr Gerät ist immer noch falsch angeschlossen.</translation>
    </message>
    <message>
        <source>Cannot find the device.</source>
        <translation>Das Gerät kann nicht gefunden werden.</translation>
    </message>
    <message>
        <source>Unknown error.</source>
        <translation>Unbekannter Fehler.</translation>
    </message>
    <message>
        <source>Failed to connect to ActiveSync.</source>
        <translation>Die Verbindung zu ActiveSync ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Error waiting response from mobile device.</source>
        <translation>Fehler beim Warten auf eine Antwort des mobilen Geräts.</translation>
    </message>
    <message>
        <source>Time for waiting response from mobile device is out.</source>
        <translation>Zeitüberschreitung beim Warten auf eine Antwort des mobilen Geräts.</translation>
    </message>
    <message>
        <source>Need to install module for Korwin Navigator update center on your device.</source>
        <translation>Auf Ihrem Gerät muss das Modul für das Korwin Navigator Update-Center installiert werden.</translation>
    </message>
    <message>
        <source>File you've chosen is not a valid Korwind Navigator executable.</source>
        <translation>Die ausgewählte Datei ist keine gültige ausführbare Datei von Korwind Navigator.</translation>
    </message>
    <message>
        <source>Wrong device response. Please, install new version of Korwind Navigator update center.</source>
        <translation>Ungültige Antwort des Geräts. Bitte installieren Sie eine neue Version des Korwind Navigator Update-Centers.</translation>
    </message>
    <message>
        <source>No devices with Korwind Navigator presented on current system.
Please connect device with Korwind Navigator to your PC and click "Retry".</source>
        <translation>Auf diesem System wurde kein Gerät mit Korwind Navigator gefunden.
Bitte schließen Sie ein Gerät mit Korwind Navigator an Ihren PC an und klicken Sie auf "Wiederholen".</translation>
    </message>
    <message>
        <source>Korwind Navigator was not found on your device.</source>
        <translation>Korwind Navigator wurde auf Ihrem Gerät nicht gefunden.</translation>
    </message>
    <message>
        <source>File transfer error. Check if the device is connected and it has enough free space on the flash card.</source>
        <translation>Fehler bei der Dateiübertragung. Prüfen Sie, ob das Gerät angeschlossen ist und auf der Speicherkarte genügend freier Speicherplatz vorhanden ist.</translation>
    </message>
    <message>
        <source>Some files cannot be deleted</source>
        <translation>Einige Dateien können nicht gelöscht werden</translation>
    </message>
    <message>
        <source>Installation failed.</source>
        <translation>Die Installation ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Internal application error.</source>
        <translation>Interner Programmfehler.</translation>
    </message>
    <message>
        <source>Last operation was cancelled.</source>
        <translation>Der letzte Vorgang wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Error: Can't create ini file. Check if you can write to the application directory.</source>
        <translation>Fehler: Die INI-Datei kann nicht erstellt werden. Prüfen Sie, ob Sie Schreibrechte für das Programmverzeichnis haben.</translation>
    </message>
    <message>
        <source>Error: CeAppMgr is not installed.</source>
        <translation>Fehler: CeAppMgr ist nicht installiert.</translation>
    </message>
    <message>
        <source>Error: Can not run CeAppMgr. Check if it's installed correctly.</source>
        <translation>Fehler: CeAppMgr kann nicht gestartet werden. Prüfen Sie, ob es richtig installiert ist.</translation>
    </message>
    <message>
        <source>Cannot create folder on the device. Make sure that flash card is mounted with write access.</source>
        <translation>Auf dem Gerät kann kein Ordner erstellt werden. Stellen Sie sicher, dass die Speicherkarte mit Schreibzugriff eingebunden ist.</translation>
    </message>
    <message>
        <source>Not enough free space on device.</source>
        <translation>Nicht genügend freier Speicherplatz auf dem Gerät.</translation>
    </message>
    <message>
        <source>You need to install newer version of module for Korwin Navigator update center on your device.</source>
        <translation>Sie müssen auf Ihrem Gerät eine neuere Version des Moduls für das Korwin Navigator Update-Center installieren.</translation>
    </message>
    <message>
        <source>Installation package chosen may not be compatible with your device.
Updating without backup may result in data loss.</source>
        <translation>Das ausgewählte Installationspaket ist möglicherweise nicht mit Ihrem Gerät kompatibel.
Eine Aktualisierung ohne Sicherung kann zu Datenverlust führen.</translation>
    </message>
    <message>
        <source>Cannot write on a hard drive.</source>
        <translation>Auf die Festplatte kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Device operation error.</source>
        <translation>Fehler bei einem Gerätevorgang.</translation>
    </message>
    <message>
        <source>Operation was cancelled by user.</source>
        <translation>Der Vorgang wurde vom Benutzer abgebrochen.</translation>
    </message>
    <message>
        <source>Some files needed for backup restoration are missing.</source>
        <translation>Einige für die Wiederherstellung der Sicherung benötigte Dateien fehlen.</translation>
    </message>
    <message>
        <source>Backup cannot be restored on that device.</source>
        <translation>Die Sicherung kann auf diesem Gerät nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Device search operation was cancelled by user</source>
        <translation>Die Gerätesuche wurde vom Benutzer abgebrochen</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>User Login</source>
        <translation>Benutzeranmeldung</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Korwind Navigator Update-Center</translation>
    </message>
    <message>
        <source>&lt;b&gt;Korwind Navigator update center&lt;/b&gt;</source>
        <translation>&lt;b&gt;Korwind Navigator Update-Center&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Changing language will take effect only after application
restart. Should we restart the application now?</source>
        <translation>Die Sprache wechselt erst nach einem Neustart
des Programms. Soll es jetzt neu gestartet werden?</translation>
    </message>
</context>
<context>
    <name>NetworkServices</name>
    <message>
        <source>Korwin Navigator update center can't create files on your system.</source>
        <translation>Das Korwin Navigator Update-Center kann keine Dateien auf Ihrem System erstellen.</translation>
    </message>
    <message>
        <source>Can't write output, check free space.</source>
        <translation>Die Ausgabe kann nicht geschrieben werden, prüfen Sie den freien Speicherplatz.</translation>
    </message>
    <message>
        <source>Operation cancelled by user.</source>
        <translation>Der Vorgang wurde vom Benutzer abgebrochen.</translation>
    </message>
    <message>
        <source>Download error.</source>
        <translation>Fehler beim Herunterladen.</translation>
    </message>
    <message>
        <source>Error connection to download updates.</source>
        <translation>Verbindungsfehler beim Herunterladen der Updates.</translation>
    </message>
    <message>
        <source>Server content error. Try update later.</source>
        <translation>Fehlerhafte Inhalte auf dem Server. Versuchen Sie die Aktualisierung später erneut.</translation>
    </message>
    <message>
        <source>&lt;br&gt;You need to check your network connection or connection &lt;a href="</source>
        <translation>&lt;br&gt;Bitte überprüfen Sie Ihre Netzwerkverbindung oder die &lt;a href="</translation>
    </message>
    <message>
        <source>" style="color:black"&gt;settings&lt;/a&gt; in order to continue updating.</source>
        <translation>" style="color:black"&gt;Verbindungseinstellungen&lt;/a&gt;, um mit der Aktualisierung fortzufahren.</translation>
    </message>
</context>
<context>
    <name>PackageResolver</name>
    <message>
        <source>Cannot resolve package dependencies for </source>
        <translation>Paketabhängigkeiten können nicht aufgelöst werden für </translation>
    </message>
    <message>
        <source>Inconsistent installation: a problem with packages :</source>
        <translation>Inkonsistente Installation: Problem mit den Paketen:</translation>
    </message>
</context>
<context>
    <name>QAbstractSocket</name>
    <message>
        <source>Socket operation timed out</source>
        <translation>Zeitüberschreitung bei Socket-Operation</translation>
    </message>
</context>
<context>
    <name>QHttp</name>
    <message>
        <source>Connection refused</source>
        <translation>Verbindung verweigert</translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation>Verbindung beendet</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Host %1 konnte nicht gefunden werden</translation>
    </message>
    <message>
        <source>SSL handshake failed</source>
        <translation>SSL-Handshake fehlgeschlagen</translation>
    </message>
    <message>
        <source>Proxy requires authentication</source>
        <translation>Proxy-Authentifizierung erforderlich</translation>
    </message>
    <message>
        <source>Host requires authentication</source>
        <translation>Der Host verlangt eine Authentifizierung</translation>
    </message>
    <message>
        <source>Unknown protocol specified</source>
        <translation>Unbekanntes Protokoll angegeben</translation>
    </message>
    <message>
        <source>Data corrupted</source>
        <translation>Die Daten sind beschädigt</translation>
    </message>
</context>
<context>
    <name>Utilities</name>
    <message>
        <source>%1d </source>
        <translation>%1 T. </translation>
    </message>
    <message>
        <source>%1h </source>
        <translation>%1 Std. </translation>
    </message>
    <message>
        <source>%1m </source>
        <translation>%1 Min. </translation>
    </message>
    <message>
        <source>%1s </source>
        <translation>%1 Sek. </translation>
    </message>
</context>
</TS>