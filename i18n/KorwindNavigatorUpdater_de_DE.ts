<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
<context>
    <name>AndroidWorkflowLogic</name>
    <message>
        <source>Visit market to download it.</source>
        <translation>Laden Sie es im Market herunter.</translation>
    </message>
    <message>
        <source>Searching for Korwind Navigator installed...</source>
        <translation>Installierter Korwind Navigator wird gesucht...</translation>
    </message>
</context>
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
    <name>BackupCommands</name>
    <message>
        <source>There is no backup %1; korwind-update backups lists them.</source>
        <translation>Es gibt keine Sicherung %1; korwind-update backups listet die Sicherungen auf.</translation>
    </message>
    <message>
        <source>The backup %1 was made of another device; it cannot be restored onto %2.</source>
        <translation>Die Sicherung %1 wurde von einem anderen Gerät erstellt; sie kann nicht auf %2 wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>The content of these folders is replaced by the backup %1:</source>
        <translation>Der Inhalt dieser Ordner wird durch die Sicherung %1 ersetzt:</translation>
    </message>
    <message>
        <source>Restoring the backup</source>
        <translation>Wiederherstellung der Sicherung</translation>
    </message>
    <message>
        <source>Your backup was successfully restored!</source>
        <translation>Ihre Sicherung wurde erfolgreich wiederhergestellt!</translation>
    </message>
    <message>
        <source>Deleting backup...</source>
        <translation>Sicherung wird gelöscht...</translation>
    </message>
    <message>
        <source>Backup %1 deleted.</source>
        <translation>Sicherung %1 gelöscht.</translation>
    </message>
</context>
<context>
    <name>BackupManagementWidget</name>
    <message>
        <source>Backups stored on this computer:</source>
        <translation>Auf diesem Computer gespeicherte Sicherungen:</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Sicherungen</translation>
    </message>
    <message>
        <source>Details of the chosen backup</source>
        <translation>Details der ausgewählten Sicherung</translation>
    </message>
    <message>
        <source>Delete the chosen backup</source>
        <translation>Ausgewählte Sicherung löschen</translation>
    </message>
    <message>
        <source>Description:
%1
Date: %2</source>
        <translation>Beschreibung:
%1
Datum: %2</translation>
    </message>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Korwind Navigator Update-Center</translation>
    </message>
    <message>
        <source>You are going to delete a backup.
Are you sure you want to continue?</source>
        <translation>Sie sind dabei, eine Sicherung zu löschen.
Möchten Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>No backups are stored.</source>
        <translation>Es sind keine Sicherungen gespeichert.</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
</context>
<context>
    <name>BaseWindow</name>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Korwind Navigator Update-Center</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Sprache der Benutzeroberfläche</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>%1
Server is not currently available. Please, try again later or contact technical support services.</source>
        <translation>%1
Der Server ist derzeit nicht erreichbar. Bitte versuchen Sie es später erneut oder wenden Sie sich an den technischen Support.</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
</context>
<context>
    <name>CommandLineOptions</name>
    <message>
        <source>--device takes a device number as `devices` lists it (1, 2, ...).</source>
        <translation>--device erwartet eine Gerätenummer, wie sie `devices` auflistet (1, 2, ...).</translation>
    </message>
    <message>
        <source>--navigator and --no-navigator exclude each other.</source>
        <translation>--navigator und --no-navigator schließen sich gegenseitig aus.</translation>
    </message>
    <message>
        <source>--navigator takes a version of four numbers, such as 6.0.0.0.</source>
        <translation>--navigator erwartet eine Version aus vier Zahlen, etwa 6.0.0.0.</translation>
    </message>
    <message>
        <source>--maps and --no-maps exclude each other.</source>
        <translation>--maps und --no-maps schließen sich gegenseitig aus.</translation>
    </message>
    <message>
        <source>--maps takes "all" or map codes separated by commas.</source>
        <translation>--maps erwartet "all" oder durch Kommas getrennte Kartencodes.</translation>
    </message>
    <message>
        <source>--server takes an http:// or https:// address.</source>
        <translation>--server erwartet eine http://- oder https://-Adresse.</translation>
    </message>
    <message>
        <source>--%1 takes a folder.</source>
        <translation>--%1 erwartet einen Ordner.</translation>
    </message>
    <message>
        <source>--proxy and --no-proxy exclude each other.</source>
        <translation>--proxy und --no-proxy schließen sich gegenseitig aus.</translation>
    </message>
    <message>
        <source>--proxy takes [USER[:PASSWORD]@]HOST[:PORT].</source>
        <translation>--proxy erwartet [USER[:PASSWORD]@]HOST[:PORT].</translation>
    </message>
    <message>
        <source>Unknown command "%1"; korwind-update --help lists the commands.</source>
        <translation>Unbekannter Befehl "%1"; korwind-update --help listet die Befehle auf.</translation>
    </message>
    <message>
        <source>--%1 does not apply to the command %2.</source>
        <translation>--%1 gilt nicht für den Befehl %2.</translation>
    </message>
    <message>
        <source>The command %1 takes no arguments.</source>
        <translation>Der Befehl %1 erwartet keine Argumente.</translation>
    </message>
    <message>
        <source>The command %1 takes a backup ID, as `backups` lists them.</source>
        <translation>Der Befehl %1 erwartet eine Sicherungs-ID, wie sie `backups` auflistet.</translation>
    </message>
    <message>
        <source>Usage: korwind-update COMMAND [OPTIONS]

Updates the Korwind Navigator and its maps on a connected device, as the update wizard does.

Commands:
  devices                  the devices found: number, kind, name and remarks
  status [--device N] [--exe PATH]
                           the navigators and their versions, the content folders with their free
                           space and maps, and what the update server offers for them
  update [--device N] [--exe PATH] [--content UID] [--navigator VERSION | --no-navigator]
         [--maps all|CODE,... | --no-maps] [--no-backup] [--yes]
                           downloads, backs up and installs the navigator update (the first one
                           offered unless named) and the maps: the updates of the installed maps,
                           unless named ("all": the updates and every map not installed yet)
  backups [--device N]     the backups kept (those of the device with --device)
  restore ID [--device N]  puts a backup back onto the device
  delete-backup ID         deletes a backup

Options:
  --device N               the device numbered N by `devices`; needed when there are several
  --exe PATH               the navigator executable; needed when there are several
  --content UID            the content folder for maps; needed when it cannot be chosen alone
  --no-backup              no backup before the update (the setting "create backups" is used otherwise)
  --yes                    go on when the device warns that the package may not fit it
  --json                   print the result as JSON on standard output
  --server URL             the update server's address instead of the built-in one
  --downloads FOLDER       the downloads folder instead of the one in the settings
  --backups FOLDER         the backups folder instead of the one in the settings
  --proxy [USER[:PASSWORD]@]HOST[:PORT]
                           use this HTTP proxy; --no-proxy: use none (the settings decide otherwise)
  --help, --version

Exit status:
  0  success
  2  wrong command line: unknown command or option, a bad value, an unknown map code or backup ID
  3  device: not found, not usable, no navigator or content folder found, unplugged during the job
  4  server: the update server cannot be reached or refused the question
  5  download failed
  6  not enough free space on the device for the chosen maps
  7  installation: a backup, the preparation, a deletion, the installation or a restoration failed
  8  cancelled: Ctrl-C, or a warning of the device that only --yes passes
  9  busy: another korwind-update works on the same device or backups folder
</source>
        <translation>Aufruf: korwind-update COMMAND [OPTIONS]

Aktualisiert Korwind Navigator und seine Karten auf einem angeschlossenen Gerät, wie es der Aktualisierungsassistent tut.

Befehle:
  devices                  die gefundenen Geräte: Nummer, Art, Name und Hinweise
  status [--device N] [--exe PATH]
                           die Navigatoren und ihre Versionen, die Inhaltsordner mit ihrem freien
                           Speicherplatz und ihren Karten sowie die Angebote des Update-Servers dafür
  update [--device N] [--exe PATH] [--content UID] [--navigator VERSION | --no-navigator]
         [--maps all|CODE,... | --no-maps] [--no-backup] [--yes]
                           lädt das Navigator-Update (ohne Angabe das erste angebotene) und die Karten
                           herunter, erstellt eine Sicherung und installiert sie; Karten ohne Angabe: die
                           Updates der installierten Karten ("all": dazu jede noch nicht installierte Karte)
  backups [--device N]     die aufbewahrten Sicherungen (mit --device nur die dieses Geräts)
  restore ID [--device N]  spielt eine Sicherung auf das Gerät zurück
  delete-backup ID         löscht eine Sicherung

Optionen:
  --device N               das Gerät mit der Nummer N aus `devices`; nötig, wenn es mehrere gibt
  --exe PATH               die ausführbare Datei des Navigators; nötig, wenn es mehrere gibt
  --content UID            der Inhaltsordner für die Karten; nötig, wenn er nicht von selbst feststeht
  --no-backup              keine Sicherung vor der Aktualisierung (sonst gilt die Einstellung "Sicherungen automatisch erstellen")
  --yes                    fortfahren, wenn das Gerät warnt, dass das Paket möglicherweise nicht zu ihm passt
  --json                   das Ergebnis als JSON auf der Standardausgabe ausgeben
  --server URL             die Adresse des Update-Servers anstelle der eingebauten
  --downloads FOLDER       der Download-Ordner anstelle des Ordners aus den Einstellungen
  --backups FOLDER         der Sicherungsordner anstelle des Ordners aus den Einstellungen
  --proxy [USER[:PASSWORD]@]HOST[:PORT]
                           diesen HTTP-Proxy verwenden; --no-proxy: keinen verwenden (sonst entscheiden die Einstellungen)
  --help, --version

Exit-Status:
  0  Erfolg
  2  falsche Befehlszeile: unbekannter Befehl, unbekannte Option, ungültiger Wert, unbekannter Kartencode oder unbekannte Sicherungs-ID
  3  Gerät: nicht gefunden, nicht verwendbar, kein Navigator oder Inhaltsordner gefunden, während des Vorgangs getrennt
  4  Server: Der Update-Server ist nicht erreichbar oder hat die Anfrage abgelehnt
  5  Herunterladen fehlgeschlagen
  6  nicht genügend freier Speicherplatz auf dem Gerät für die ausgewählten Karten
  7  Installation: Sicherung, Vorbereitung, Löschen, Installation oder Wiederherstellung fehlgeschlagen
  8  abgebrochen: Ctrl-C oder eine Warnung des Geräts, über die nur --yes hinweggeht
  9  belegt: ein anderes korwind-update arbeitet mit demselben Gerät oder Sicherungsordner
</translation>
    </message>
</context>
<context>
    <name>ConnectionSettingsWidget</name>
    <message>
        <source>Proxy-server settings:</source>
        <translation>Proxyserver-Einstellungen:</translation>
    </message>
    <message>
        <source>Use proxy-server</source>
        <translation>Proxyserver verwenden</translation>
    </message>
    <message>
        <source>Proxy-server address</source>
        <translation>Adresse des Proxyservers</translation>
    </message>
    <message>
        <source>Proxy-server port</source>
        <translation>Port des Proxyservers</translation>
    </message>
    <message>
        <source>&amp;Use proxy-server</source>
        <translation>Proxyserver &amp;verwenden</translation>
    </message>
    <message>
        <source>A&amp;ddress:</source>
        <translation>&amp;Adresse:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
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
    <name>DeletionWarningWidget</name>
    <message>
        <source>Note, that old maps will be removed or re-installed during the update!</source>
        <translation>Beachten Sie, dass alte Karten bei der Aktualisierung entfernt oder neu installiert werden!</translation>
    </message>
    <message>
        <source>Maps that will be removed</source>
        <translation>Karten, die entfernt werden</translation>
    </message>
    <message>
        <source>If you're ok with that, press the "Update" button.</source>
        <translation>Wenn Sie damit einverstanden sind, klicken Sie auf "Aktualisieren".</translation>
    </message>
    <message>
        <source>Following maps will be removed:</source>
        <translation>Folgende Karten werden entfernt:</translation>
    </message>
    <message>
        <source>"%1, %2", </source>
        <translation>"%1, %2", </translation>
    </message>
    <message>
        <source>During the installation of maps %1 following maps will be removed:</source>
        <translation>Bei der Installation der Karten %1 werden folgende Karten entfernt:</translation>
    </message>
    <message>
        <source>%1, %2
</source>
        <translation>%1, %2
</translation>
    </message>
</context>
<context>
    <name>DeviceCommands</name>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>Device %1: %2 (%3)</source>
        <translation>Gerät %1: %2 (%3)</translation>
    </message>
    <message>
        <source>offered for Korwind Navigator %1:</source>
        <translation>angeboten für Korwind Navigator %1:</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Korwind Navigator executables:</source>
        <translation>Ausführbare Dateien von Korwind Navigator:</translation>
    </message>
    <message>
        <source>none found</source>
        <translation>keine gefunden</translation>
    </message>
    <message>
        <source>server: %1</source>
        <translation>Server: %1</translation>
    </message>
    <message>
        <source>no update offered</source>
        <translation>kein Update angeboten</translation>
    </message>
    <message>
        <source>update offered: %1  %2</source>
        <translation>Update angeboten: %1  %2</translation>
    </message>
    <message>
        <source>Content folders:</source>
        <translation>Inhaltsordner:</translation>
    </message>
    <message>
        <source>%1  ID %2%3</source>
        <translation>%1  ID %2%3</translation>
    </message>
    <message>
        <source>  (read only)</source>
        <translation>  (schreibgeschützt)</translation>
    </message>
    <message>
        <source>free space %1, old map data %2</source>
        <translation>freier Speicherplatz %1, alte Kartendaten %2</translation>
    </message>
    <message>
        <source>installed maps:</source>
        <translation>installierte Karten:</translation>
    </message>
    <message>
        <source>no maps are offered for the navigators found</source>
        <translation>für die gefundenen Navigatoren werden keine Karten angeboten</translation>
    </message>
    <message>
        <source>  (damaged)</source>
        <translation>  (beschädigt)</translation>
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
    <name>DeviceNotFoundWidget</name>
    <message>
        <source>Please, choose the operating system of your device and follow the instructions.</source>
        <translation>Bitte wählen Sie das Betriebssystem Ihres Geräts aus und folgen Sie den Anweisungen.</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>No devices were found.
Perhaps, device is connected in a wrong way, or you may need some extra software installation.</source>
        <translation>Es wurden keine Geräte gefunden.
Möglicherweise ist das Gerät falsch angeschlossen oder es muss zusätzliche Software installiert werden.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>DeviceServices</name>
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
    <message>
        <source>A downloaded map file is damaged and was not installed; it has been removed.
Please download the maps again.</source>
        <translation>Eine heruntergeladene Kartendatei ist beschädigt und wurde nicht installiert; sie wurde entfernt.
Bitte laden Sie die Karten erneut herunter.</translation>
    </message>
    <message>
        <source>The backups folder lies inside a folder that is backed up, so restoring would delete the backups themselves.
Please choose a backups folder outside the device in the settings.</source>
        <translation>Der Sicherungsordner liegt in einem Ordner, der gesichert wird; eine Wiederherstellung würde daher die Sicherungen selbst löschen.
Bitte wählen Sie in den Einstellungen einen Sicherungsordner außerhalb des Geräts.</translation>
    </message>
    <message>
        <source>The last update of this device did not finish: finish it, or restore the backup, before you begin another one.</source>
        <translation>Die letzte Aktualisierung dieses Geräts wurde nicht abgeschlossen: Schließen Sie sie ab oder stellen Sie die Sicherung wieder her, bevor Sie eine neue beginnen.</translation>
    </message>
    <message>
        <source>The device gave back other data than was written to it: its memory card is failing, or holds less than it claims.
The update was stopped; it can be finished on a sound card.</source>
        <translation>Das Gerät hat andere Daten zurückgegeben, als darauf geschrieben wurden: Seine Speicherkarte ist defekt oder fasst weniger, als sie angibt.
Die Aktualisierung wurde angehalten; sie kann auf einer intakten Karte abgeschlossen werden.</translation>
    </message>
    <message>
        <source>(don't unplug device until operation is completed)</source>
        <translation>(Trennen Sie das Gerät nicht, bevor der Vorgang abgeschlossen ist)</translation>
    </message>
</context>
<context>
    <name>KorwindContentChooseWidget</name>
    <message>
        <source>Several storage cards were found, choose the one you want to use for map updating:</source>
        <translation>Es wurden mehrere Speicherkarten gefunden. Wählen Sie die Speicherkarte aus, auf der die Karten aktualisiert werden sollen:</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>&lt;font color="red"&gt;KorwindContent's flash drive is in read only mode. Switch it to write mode to update maps.&lt;/font&gt;&lt;br&gt;</source>
        <translation>&lt;font color="red"&gt;Die Speicherkarte mit KorwindContent ist schreibgeschützt. Heben Sie den Schreibschutz auf, um Karten zu aktualisieren.&lt;/font&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Storage cards available:</source>
        <translation>Verfügbare Speicherkarten:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>Maps:
%2

Free space:
%3

Folder:
%4</source>
        <translation>Karten:
%2

Freier Speicherplatz:
%3

Ordner:
%4</translation>
    </message>
</context>
<context>
    <name>KorwindExeChooseWidget</name>
    <message>
        <source>Path to the Korwind Navigator executable</source>
        <translation>Pfad zur ausführbaren Datei von Korwind Navigator</translation>
    </message>
    <message>
        <source>Select the executable</source>
        <translation>Ausführbare Datei auswählen</translation>
    </message>
    <message>
        <source>Restore backup</source>
        <translation>Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>&lt;font color="red"&gt;%1&lt;/font&gt;&lt;br&gt;</source>
        <translation>&lt;font color="red"&gt;%1&lt;/font&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>Can be updated to version %1</source>
        <translation>Kann auf Version %1 aktualisiert werden</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>&lt;font color="green"&gt;%1&lt;/font&gt;&lt;br&gt;</source>
        <translation>&lt;font color="green"&gt;%1&lt;/font&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>Is up-to-date</source>
        <translation>Ist auf dem neuesten Stand</translation>
    </message>
    <message>
        <source>%1Version: %2&lt;br&gt;Path: %3</source>
        <translation>%1Version: %2&lt;br&gt;Pfad: %3</translation>
    </message>
    <message>
        <source>Korwind Navigator %1</source>
        <translation>Korwind Navigator %1</translation>
    </message>
    <message>
        <source>Program cannot locate any Korwind Navigator executables on that device.</source>
        <translation>Das Programm kann auf diesem Gerät keine ausführbare Datei von Korwind Navigator finden.</translation>
    </message>
    <message>
        <source>Please, enter the path manually:</source>
        <translation>Bitte geben Sie den Pfad manuell ein:</translation>
    </message>
    <message>
        <source>Several possible Korwind Navigator executables were found, choose the one you want to update:</source>
        <translation>Es wurden mehrere mögliche ausführbare Dateien von Korwind Navigator gefunden. Wählen Sie die Datei aus, die aktualisiert werden soll:</translation>
    </message>
    <message>
        <source>Korwind Navigator executable was found. You may choose it for update:</source>
        <translation>Eine ausführbare Datei von Korwind Navigator wurde gefunden. Sie können sie für die Aktualisierung auswählen:</translation>
    </message>
    <message>
        <source>or enter the path manually:</source>
        <translation>oder geben Sie den Pfad manuell ein:</translation>
    </message>
    <message>
        <source>Korwind Navigator applications found:</source>
        <translation>Gefundene Installationen von Korwind Navigator:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>Choose your Korwind Navigator executable</source>
        <translation>Ausführbare Datei von Korwind Navigator auswählen</translation>
    </message>
    <message>
        <source>Executable files (*.exe)</source>
        <translation>Ausführbare Dateien (*.exe)</translation>
    </message>
    <message>
        <source>&lt;font color="red"&gt;Korwind Navigator is installed to read-only flash drive and cannot be updated. Switch flash drive to write mode to update Korwind Navigator.&lt;/font&gt;&lt;br&gt;</source>
        <translation>&lt;font color="red"&gt;Korwind Navigator ist auf einer schreibgeschützten Speicherkarte installiert und kann nicht aktualisiert werden. Heben Sie den Schreibschutz der Speicherkarte auf, um Korwind Navigator zu aktualisieren.&lt;/font&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>S&amp;elect</source>
        <translation>&amp;Auswählen</translation>
    </message>
    <message>
        <source>&amp;Restore backup</source>
        <translation>&amp;Sicherung wiederherstellen</translation>
    </message>
</context>
<context>
    <name>KorwindUpdateChooseWidget</name>
    <message>
        <source>Choose Korwind Navigator updates:</source>
        <translation>Updates für Korwind Navigator auswählen:</translation>
    </message>
    <message>
        <source>Create a backup</source>
        <translation>Sicherung erstellen</translation>
    </message>
    <message>
        <source>Korwind Navigator updates available:</source>
        <translation>Verfügbare Updates für Korwind Navigator:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>No info available</source>
        <translation>Keine Informationen verfügbar</translation>
    </message>
    <message>
        <source>Korwind Navigator %1</source>
        <translation>Korwind Navigator %1</translation>
    </message>
    <message>
        <source>Don't update the program</source>
        <translation>Programm nicht aktualisieren</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>&amp;Create a backup</source>
        <translation>&amp;Sicherung erstellen</translation>
    </message>
</context>
<context>
    <name>ListWidget</name>
    <message>
        <source>Entries</source>
        <translation>Einträge</translation>
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
    <name>MainSettingsWidget</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Connection settings</source>
        <translation>Verbindungseinstellungen</translation>
    </message>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Korwind Navigator Update-Center</translation>
    </message>
    <message>
        <source>Backup management</source>
        <translation>Sicherungsverwaltung</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Korwind Navigator Update-Center</translation>
    </message>
    <message>
        <source>Changing language will take effect only after application
restart. Should we restart the application now?</source>
        <translation>Die Sprache wechselt erst nach einem Neustart
des Programms. Soll es jetzt neu gestartet werden?</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Checking latest version...</source>
        <translation>Die neueste Version wird geprüft...</translation>
    </message>
    <message>
        <source>You need to update Korwind Navigator update center. Press "Next" to continue.</source>
        <translation>Das Korwind Navigator Update-Center muss aktualisiert werden. Klicken Sie auf "Weiter", um fortzufahren.</translation>
    </message>
    <message>
        <source>Searching for devices...</source>
        <translation>Geräte werden gesucht...</translation>
    </message>
    <message>
        <source>Search device</source>
        <translation>Gerät suchen</translation>
    </message>
    <message>
        <source>All flash drive on selected device is in read only state and cannot be updated! Switch your device from read only mode to update Korwind Navigator!</source>
        <translation>Alle Speicherkarten des ausgewählten Geräts sind schreibgeschützt und können nicht aktualisiert werden! Heben Sie den Schreibschutz des Geräts auf, um Korwind Navigator zu aktualisieren!</translation>
    </message>
    <message>
        <source>To device search</source>
        <translation>Zur Gerätesuche</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installieren</translation>
    </message>
    <message>
        <source>Installing additional software...</source>
        <translation>Zusätzliche Software wird installiert...</translation>
    </message>
    <message>
        <source>This kind of device is not supported.</source>
        <translation>Diese Geräteart wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>Searching for the KorwindContent folders...</source>
        <translation>KorwindContent-Ordner werden gesucht...</translation>
    </message>
    <message>
        <source>Searching for Korwind Navigator updates...</source>
        <translation>Updates für Korwind Navigator werden gesucht...</translation>
    </message>
    <message>
        <source>Your Korwind Navigator is already up-to-date.
No flash cards with the KorwindContent folder were found on your device.
You cannot update maps with no flash card inserted.</source>
        <translation>Ihr Korwind Navigator ist bereits auf dem neuesten Stand.
Auf Ihrem Gerät wurden keine Speicherkarten mit einem KorwindContent-Ordner gefunden.
Ohne eingesetzte Speicherkarte können keine Karten aktualisiert werden.</translation>
    </message>
    <message>
        <source>Select device</source>
        <translation>Gerät auswählen</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>New Korwind Navigator version available: </source>
        <translation>Neue Version von Korwind Navigator verfügbar: </translation>
    </message>
    <message>
        <source>Your Korwind Navigator was successfully updated.
No flash cards with the KorwindContent folder were found on your device.
You cannot update maps with no flash card inserted.</source>
        <translation>Ihr Korwind Navigator wurde erfolgreich aktualisiert.
Auf Ihrem Gerät wurden keine Speicherkarten mit einem KorwindContent-Ordner gefunden.
Ohne eingesetzte Speicherkarte können keine Karten aktualisiert werden.</translation>
    </message>
    <message>
        <source>No map updates for Korwind Navigator %1 were found.</source>
        <translation>Für Korwind Navigator %1 wurden keine Karten-Updates gefunden.</translation>
    </message>
    <message>
        <source>Rescanning Korwind Navigator content folder...</source>
        <translation>Der Inhaltsordner von Korwind Navigator wird erneut durchsucht...</translation>
    </message>
    <message>
        <source>Searching for map updates...</source>
        <translation>Karten-Updates werden gesucht...</translation>
    </message>
    <message>
        <source>Your Korwind Navigator and maps are already up-to-date!
You need to unplug your device before running Korwind Navigator</source>
        <translation>Ihr Korwind Navigator und Ihre Karten sind bereits auf dem neuesten Stand!
Trennen Sie Ihr Gerät, bevor Sie Korwind Navigator starten</translation>
    </message>
    <message>
        <source>Your maps are already up-to-date!
You need to unplug your device before running Korwind Navigator</source>
        <translation>Ihre Karten sind bereits auf dem neuesten Stand!
Trennen Sie Ihr Gerät, bevor Sie Korwind Navigator starten</translation>
    </message>
    <message>
        <source>Update is successfully completed!
You need to unplug your device before running Korwind Navigator</source>
        <translation>Die Aktualisierung wurde erfolgreich abgeschlossen!
Trennen Sie Ihr Gerät, bevor Sie Korwind Navigator starten</translation>
    </message>
    <message>
        <source>More updates</source>
        <translation>Weitere Updates</translation>
    </message>
    <message>
        <source>Select a backup to restore</source>
        <translation>Wählen Sie eine Sicherung zum Wiederherstellen aus</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>%1, </source>
        <translation>%1, </translation>
    </message>
    <message>
        <source>During that operation the content of folders %1 will be deleted.</source>
        <translation>Bei diesem Vorgang wird der Inhalt der Ordner %1 gelöscht.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Fortfahren</translation>
    </message>
    <message>
        <source>Restoring the backup...</source>
        <translation>Sicherung wird wiederhergestellt...</translation>
    </message>
    <message>
        <source>Your backup was successfully restored!</source>
        <translation>Ihre Sicherung wurde erfolgreich wiederhergestellt!</translation>
    </message>
    <message>
        <source>Search updates</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Sending information about device...</source>
        <translation>Informationen über das Gerät werden gesendet...</translation>
    </message>
    <message>
        <source>Thank you for sending information!</source>
        <translation>Vielen Dank für das Senden der Informationen!</translation>
    </message>
    <message>
        <source>Send information about device.</source>
        <translation>Informationen über das Gerät senden.</translation>
    </message>
    <message>
        <source>We will examine the problem and add support for your device updates. No confidential data is required and will not be send.</source>
        <translation>Wir werden das Problem untersuchen und die Aktualisierung Ihres Geräts unterstützen. Es werden keine vertraulichen Daten benötigt oder gesendet.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Deleting backup...</source>
        <translation>Sicherung wird gelöscht...</translation>
    </message>
    <message>
        <source>
Do you want to continue?</source>
        <translation>
Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>You need to reconnect your device in "USB storage" mode to upload maps.
Please, switch the mode and press "Continue".</source>
        <translation>Um Karten zu übertragen, müssen Sie Ihr Gerät im Modus "USB-Massenspeicher" erneut anschließen.
Bitte wechseln Sie den Modus und klicken Sie auf "Fortfahren".</translation>
    </message>
    <message>
        <source>Searching for reconnected device...</source>
        <translation>Erneut angeschlossenes Gerät wird gesucht...</translation>
    </message>
    <message>
        <source>Finish the update</source>
        <translation>Aktualisierung abschließen</translation>
    </message>
    <message>
        <source>Preparing to finish the update...</source>
        <translation>Abschluss der Aktualisierung wird vorbereitet...</translation>
    </message>
    <message>
        <source>Internal application error.</source>
        <translation>Interner Programmfehler.</translation>
    </message>
    <message>
        <source>The update is finished.
You need to unplug your device before running Korwind Navigator</source>
        <translation>Die Aktualisierung ist abgeschlossen.
Trennen Sie Ihr Gerät, bevor Sie Korwind Navigator starten</translation>
    </message>
    <message>
        <source>The backup made before the update (%1) is no longer in the backups folder.</source>
        <translation>Die vor der Aktualisierung angelegte Sicherung (%1) ist nicht mehr im Sicherungsordner.</translation>
    </message>
    <message>
        <source>Press "Skip the check" to go on without it: backups can be restored without the update server.</source>
        <translation>Mit „Prüfung überspringen“ geht es ohne sie weiter: Sicherungen lassen sich auch ohne den Update-Server wiederherstellen.</translation>
    </message>
    <message>
        <source>Skip the check</source>
        <translation>Prüfung überspringen</translation>
    </message>
    <message>
        <source>You need to install additional software on your device to continue.</source>
        <translation>Um fortzufahren, müssen Sie zusätzliche Software auf Ihrem Gerät installieren.</translation>
    </message>
    <message>
        <source>The update failed</source>
        <translation>Die Aktualisierung ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Korwind Navigator was updated</source>
        <translation>Korwind Navigator wurde aktualisiert</translation>
    </message>
    <message>
        <source>The maps can be chosen now.</source>
        <translation>Jetzt können die Karten ausgewählt werden.</translation>
    </message>
    <message>
        <source>Your Korwind Navigator was successfully updated to version %1.
Map updates are offered for Korwind Navigator %2 and later.</source>
        <translation>Ihr Korwind Navigator wurde erfolgreich auf Version %1 aktualisiert.
Kartenupdates gibt es für Korwind Navigator %2 und neuer.</translation>
    </message>
    <message>
        <source>The update is finished</source>
        <translation>Die Aktualisierung ist abgeschlossen</translation>
    </message>
    <message>
        <source>Restoring the backup failed</source>
        <translation>Die Wiederherstellung der Sicherung ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>The backup is restored</source>
        <translation>Die Sicherung ist wiederhergestellt</translation>
    </message>
    <message>
        <source>You may need to do some things with your device to accomplish installation.</source>
        <translation>Möglicherweise müssen Sie an Ihrem Gerät einige Schritte ausführen, um die Installation abzuschließen.</translation>
    </message>
    <message>
        <source>The update is still running. Do you want to cancel it?</source>
        <translation>Die Aktualisierung läuft noch. Möchten Sie sie abbrechen?</translation>
    </message>
</context>
<context>
    <name>MapTree</name>
    <message>
        <source>Map</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>Choose what happens</source>
        <translation>Festlegen, was geschieht</translation>
    </message>
    <message>
        <source>Expand</source>
        <translation>Aufklappen</translation>
    </message>
    <message>
        <source>Collapse</source>
        <translation>Zuklappen</translation>
    </message>
    <message>
        <source>Changes what happens to the map, as a click on its icon does.</source>
        <translation>Ändert, was mit der Karte geschieht, wie ein Klick auf ihr Symbol.</translation>
    </message>
    <message>
        <source>Shows the regional maps.</source>
        <translation>Zeigt die Regionalkarten.</translation>
    </message>
    <message>
        <source>Hides the regional maps.</source>
        <translation>Blendet die Regionalkarten aus.</translation>
    </message>
</context>
<context>
    <name>MapUpdateChooseWidget</name>
    <message>
        <source>Map updates available:</source>
        <translation>Verfügbare Karten-Updates:</translation>
    </message>
    <message>
        <source>Maps</source>
        <translation>Karten</translation>
    </message>
    <message>
        <source>Press the space key or click a map's icon to change what happens to the map.</source>
        <translation>Drücken Sie die Leertaste oder klicken Sie auf das Symbol einer Karte, um festzulegen, was mit der Karte geschieht.</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>No maps are offered for this storage card.</source>
        <translation>Für diese Speicherkarte werden keine Karten angeboten.</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>Description of the current map</source>
        <translation>Beschreibung der aktuellen Karte</translation>
    </message>
    <message>
        <source>Choose other storage card</source>
        <translation>Andere Speicherkarte auswählen</translation>
    </message>
    <message>
        <source>Not enough free space</source>
        <translation>Nicht genügend freier Speicherplatz</translation>
    </message>
    <message>
        <source>Create a backup</source>
        <translation>Sicherung erstellen</translation>
    </message>
    <message>
        <source>Restore backup</source>
        <translation>Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>Choose map updates for Korwind Navigator %1</source>
        <translation>Karten-Updates für Korwind Navigator %1 auswählen</translation>
    </message>
    <message>
        <source>Available: </source>
        <translation>Verfügbar: </translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>Needed: </source>
        <translation>Benötigt: </translation>
    </message>
    <message>
        <source>Choose a map to read its description.</source>
        <translation>Wählen Sie eine Karte aus, um ihre Beschreibung zu lesen.</translation>
    </message>
    <message>
        <source>Choice not made</source>
        <translation>Auswahl nicht übernommen</translation>
    </message>
    <message>
        <source>This choice cannot be made. %1</source>
        <translation>Diese Auswahl ist nicht möglich. %1</translation>
    </message>
    <message>
        <source>&amp;Choose other storage card</source>
        <translation>&amp;Andere Speicherkarte auswählen</translation>
    </message>
    <message>
        <source>Create a &amp;backup</source>
        <translation>&amp;Sicherung erstellen</translation>
    </message>
    <message>
        <source>&amp;Restore backup</source>
        <translation>&amp;Sicherung wiederherstellen</translation>
    </message>
</context>
<context>
    <name>MapViewDelegate</name>
    <message>
        <source>Install the whole group</source>
        <translation>Ganze Gruppe installieren</translation>
    </message>
    <message>
        <source>Clear the group's choices</source>
        <translation>Auswahl in der Gruppe aufheben</translation>
    </message>
</context>
<context>
    <name>MapViewElement</name>
    <message>
        <source>%1, version %2 (installed: %3)</source>
        <translation>%1, Version %2 (installiert: %3)</translation>
    </message>
    <message>
        <source>%1, version %2</source>
        <translation>%1, Version %2</translation>
    </message>
    <message>
        <source>No info available</source>
        <translation>Keine Informationen verfügbar</translation>
    </message>
    <message>
        <source>%1
Size: %2</source>
        <translation>%1
Größe: %2</translation>
    </message>
    <message>
        <source>%1
Click the icon to change what happens to this map.</source>
        <translation>%1
Klicken Sie auf das Symbol, um festzulegen, was mit dieser Karte geschieht.</translation>
    </message>
    <message>
        <source>Not chosen</source>
        <translation>Nicht ausgewählt</translation>
    </message>
    <message>
        <source>Will be installed</source>
        <translation>Wird installiert</translation>
    </message>
    <message>
        <source>Some maps of this group are chosen</source>
        <translation>Einige Karten dieser Gruppe sind ausgewählt</translation>
    </message>
    <message>
        <source>Chosen for removal</source>
        <translation>Zum Entfernen ausgewählt</translation>
    </message>
    <message>
        <source>Installed, update available</source>
        <translation>Installiert, Update verfügbar</translation>
    </message>
    <message>
        <source>Will be updated</source>
        <translation>Wird aktualisiert</translation>
    </message>
    <message>
        <source>Installed, up to date</source>
        <translation>Installiert, auf dem neuesten Stand</translation>
    </message>
    <message>
        <source>Will be deleted from the device</source>
        <translation>Wird vom Gerät gelöscht</translation>
    </message>
    <message>
        <source>%1 (follows from the other chosen maps)</source>
        <translation>%1 (ergibt sich aus den anderen ausgewählten Karten)</translation>
    </message>
    <message>
        <source>The map's file on the device is damaged: it was cut short or changed after its installation.</source>
        <translation>Die Datei dieser Karte auf dem Gerät ist beschädigt: Sie wurde nach der Installation gekürzt oder verändert.</translation>
    </message>
    <message>
        <source>Damaged, update available</source>
        <translation>Beschädigt, Update verfügbar</translation>
    </message>
    <message>
        <source>Damaged, not chosen to be installed again</source>
        <translation>Beschädigt, nicht zur Neuinstallation ausgewählt</translation>
    </message>
    <message>
        <source>Damaged, a newer version is offered</source>
        <translation>Beschädigt, eine neuere Version wird angeboten</translation>
    </message>
    <message>
        <source>Damaged, not offered to be installed again</source>
        <translation>Beschädigt, keine Neuinstallation angeboten</translation>
    </message>
    <message>
        <source>Damaged, will be installed again</source>
        <translation>Beschädigt, wird neu installiert</translation>
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
    <name>PNDWorkflowLogic</name>
    <message>
        <source>Searching for Korwind Navigator installed...</source>
        <translation>Installierter Korwind Navigator wird gesucht...</translation>
    </message>
    <message>
        <source>Checking out Korwind Navigator executable file...</source>
        <translation>Ausführbare Datei von Korwind Navigator wird geprüft...</translation>
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
    <name>PackageServices</name>
    <message>
        <source>%1 needs a map that the update server does not offer.</source>
        <translation>%1 benötigt eine Karte, die der Update-Server nicht anbietet.</translation>
    </message>
    <message>
        <source>These maps cannot be installed together: %1.</source>
        <translation>Diese Karten können nicht zusammen installiert werden: %1.</translation>
    </message>
</context>
<context>
    <name>PlatformButtonsWidget</name>
    <message>
        <source>iPhone</source>
        <translation>iPhone</translation>
    </message>
    <message>
        <source>PND</source>
        <translation>PND</translation>
    </message>
    <message>
        <source>Symbian</source>
        <translation>Symbian</translation>
    </message>
    <message>
        <source>WindowsMobile</source>
        <translation>WindowsMobile</translation>
    </message>
    <message>
        <source>Android</source>
        <translation>Android</translation>
    </message>
    <message>
        <source>&amp;iPhone</source>
        <translation>&amp;iPhone</translation>
    </message>
    <message>
        <source>&amp;PND</source>
        <translation>&amp;PND</translation>
    </message>
    <message>
        <source>S&amp;ymbian</source>
        <translation>S&amp;ymbian</translation>
    </message>
    <message>
        <source>&amp;WindowsMobile</source>
        <translation>&amp;WindowsMobile</translation>
    </message>
    <message>
        <source>&amp;Android</source>
        <translation>&amp;Android</translation>
    </message>
</context>
<context>
    <name>PlatformHelpWidget</name>
    <message>
        <source>Connection help for iOS devices</source>
        <translation>Verbindungshilfe für iOS-Geräte</translation>
    </message>
    <message>
        <source>You need to install the following software:
	iTunes
Install these programs and press "Retry".</source>
        <translation>Sie müssen die folgende Software installieren:
	iTunes
Installieren Sie diese Programme und klicken Sie auf "Wiederholen".</translation>
    </message>
    <message>
        <source>Connection help for PND devices</source>
        <translation>Verbindungshilfe für PND-Geräte</translation>
    </message>
    <message>
        <source>ActiveSync mode is not supported by PNDs.
Please switch your device to USB mode and press "Retry".</source>
        <translation>PNDs unterstützen den ActiveSync-Modus nicht.
Bitte schalten Sie Ihr Gerät in den USB-Modus und klicken Sie auf "Wiederholen".</translation>
    </message>
    <message>
        <source>Connection help for Symbian devices</source>
        <translation>Verbindungshilfe für Symbian-Geräte</translation>
    </message>
    <message>
        <source>Please install Nokia PC Suite and press "Retry".</source>
        <translation>Bitte installieren Sie Nokia PC Suite und klicken Sie auf "Wiederholen".</translation>
    </message>
    <message>
        <source>Connection help for Windows Mobile devices</source>
        <translation>Verbindungshilfe für Windows-Mobile-Geräte</translation>
    </message>
    <message>
        <source>Please install Microsoft ActiveSync, switch your device to ActiveSync mode and press "Retry".</source>
        <translation>Bitte installieren Sie Microsoft ActiveSync, schalten Sie Ihr Gerät in den ActiveSync-Modus und klicken Sie auf "Wiederholen".</translation>
    </message>
    <message>
        <source>Connection help for Android devices</source>
        <translation>Verbindungshilfe für Android-Geräte</translation>
    </message>
    <message>
        <source>Please install USB driver specific for your device, switch to "USB debugging mode" and press "Retry".</source>
        <translation>Bitte installieren Sie den passenden USB-Treiber für Ihr Gerät, aktivieren Sie den Modus "USB-Debugging" und klicken Sie auf "Wiederholen".</translation>
    </message>
</context>
<context>
    <name>ProgressBarWidget</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>ProgressPrinter</name>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
</context>
<context>
    <name>ProgressWidget</name>
    <message>
        <source>Operation progress</source>
        <translation>Fortschritt des Vorgangs</translation>
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
    <name>RecordFormat</name>
    <message>
        <source>update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>new</source>
        <translation>neu</translation>
    </message>
    <message>
        <source>installed, up to date</source>
        <translation>installiert, auf dem neuesten Stand</translation>
    </message>
    <message>
        <source>%1KB</source>
        <translation>%1KB</translation>
    </message>
    <message>
        <source>Windows CE</source>
        <translation>Windows CE</translation>
    </message>
    <message>
        <source>USB storage</source>
        <translation>USB-Massenspeicher</translation>
    </message>
    <message>
        <source>phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>Android</source>
        <translation>Android</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>The last update of this device did not finish (begun %1).</source>
        <translation>Die letzte Aktualisierung dieses Geräts wurde nicht abgeschlossen (begonnen %1).</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 was being installed.</source>
        <translation>Korwind Navigator %1 wurde gerade installiert.</translation>
    </message>
    <message>
        <source>still to install: %1</source>
        <translation>noch zu installieren: %1</translation>
    </message>
    <message>
        <source>removed to make room: %1</source>
        <translation>entfernt, um Platz zu schaffen: %1</translation>
    </message>
    <message>
        <source>the folder's old map data goes at the end</source>
        <translation>die alten Kartendaten des Ordners werden zum Schluss gelöscht</translation>
    </message>
    <message>
        <source>korwind-update update finishes it.</source>
        <translation>korwind-update update schließt sie ab.</translation>
    </message>
    <message>
        <source>korwind-update restore %1 puts the device back as it was before.</source>
        <translation>korwind-update restore %1 stellt den vorherigen Zustand des Geräts wieder her.</translation>
    </message>
    <message>
        <source>installed, damaged</source>
        <translation>installiert, beschädigt</translation>
    </message>
</context>
<context>
    <name>SelectDeviceWidget</name>
    <message>
        <source>Choose the device you want to update:</source>
        <translation>Wählen Sie das Gerät aus, das Sie aktualisieren möchten:</translation>
    </message>
    <message>
        <source>Devices found</source>
        <translation>Gefundene Geräte</translation>
    </message>
    <message>
        <source>If your device is not in the list, choose its operating system for help with connecting it:</source>
        <translation>Wenn Ihr Gerät nicht in der Liste steht, wählen Sie sein Betriebssystem aus, um Hilfe zum Anschließen zu erhalten:</translation>
    </message>
</context>
<context>
    <name>SelfUpdateInstaller</name>
    <message>
        <source>Error: archive is empty.</source>
        <translation>Fehler: Das Archiv ist leer.</translation>
    </message>
    <message>
        <source>Zlib error.</source>
        <translation>Zlib-Fehler.</translation>
    </message>
    <message>
        <source>Error: can't open archive.</source>
        <translation>Fehler: Das Archiv kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Error: archive corrupted.</source>
        <translation>Fehler: Das Archiv ist beschädigt.</translation>
    </message>
    <message>
        <source>Error: can't read archive.</source>
        <translation>Fehler: Das Archiv kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Error: can't write archive.</source>
        <translation>Fehler: Das Archiv kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Error: can't seek in archive.</source>
        <translation>Fehler: Die Positionierung im Archiv ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Error: can't create directory.</source>
        <translation>Fehler: Das Verzeichnis kann nicht erstellt werden.</translation>
    </message>
    <message>
        <source>Invalid Archive.</source>
        <translation>Ungültiges Archiv.</translation>
    </message>
    <message>
        <source>Error in parsing archive.</source>
        <translation>Fehler beim Auswerten des Archivs.</translation>
    </message>
    <message>
        <source>Error: unsupported archive format.</source>
        <translation>Fehler: Nicht unterstütztes Archivformat.</translation>
    </message>
    <message>
        <source>You need update Korwind Navigator update center.</source>
        <translation>Das Korwind Navigator Update-Center muss aktualisiert werden.</translation>
    </message>
    <message>
        <source>Can't create file</source>
        <translation>Datei kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>Update installation error.</source>
        <translation>Fehler bei der Installation des Updates.</translation>
    </message>
</context>
<context>
    <name>SendInfoWidget</name>
    <message>
        <source>Please, provide us with information about your device to help us solve the problem. Enter device manufacturer and model in the device name field.</source>
        <translation>Bitte geben Sie uns Informationen über Ihr Gerät, damit wir das Problem lösen können. Geben Sie Hersteller und Modell des Geräts in das Feld für den Gerätenamen ein.</translation>
    </message>
    <message>
        <source>Device name</source>
        <translation>Gerätename</translation>
    </message>
    <message>
        <source>Device &amp;name:</source>
        <translation>&amp;Gerätename:</translation>
    </message>
</context>
<context>
    <name>ServiceSession</name>
    <message>
        <source>You may need to do some things with your device to complete the installation.</source>
        <translation>Möglicherweise müssen Sie an Ihrem Gerät einige Schritte ausführen, um die Installation abzuschließen.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>Already cancelling: waiting for the running step to stop.</source>
        <translation>Abbruch läuft bereits: Es wird gewartet, bis der laufende Schritt anhält.</translation>
    </message>
    <message>
        <source>Cancelling: the running step stops at its next check.</source>
        <translation>Abbruch: Der laufende Schritt hält bei seiner nächsten Prüfung an.</translation>
    </message>
    <message>
        <source>Searching for devices...</source>
        <translation>Geräte werden gesucht...</translation>
    </message>
    <message numerus="yes">
        <source>%n devices are connected: choose one with --device N (korwind-update devices lists them).</source>
        <translation>
            <numerusform>%n Geräte sind angeschlossen: Wählen Sie eines mit --device N aus (korwind-update devices listet sie auf).</numerusform>
            <numerusform>%n Geräte sind angeschlossen: Wählen Sie eines mit --device N aus (korwind-update devices listet sie auf).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>There is no device %1: korwind-update devices lists %n.</source>
        <translation>
            <numerusform>Es gibt kein Gerät %1: korwind-update devices listet %n Gerät(e) auf.</numerusform>
            <numerusform>Es gibt kein Gerät %1: korwind-update devices listet %n Gerät(e) auf.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 is not connected as USB storage; the update wizard handles such devices.</source>
        <translation>%1 ist nicht als USB-Massenspeicher angeschlossen; solche Geräte werden vom Aktualisierungsassistenten behandelt.</translation>
    </message>
    <message>
        <source>%1 cannot be changed.</source>
        <translation>%1 kann nicht verändert werden.</translation>
    </message>
    <message>
        <source>Searching for Korwind Navigator installed...</source>
        <translation>Installierter Korwind Navigator wird gesucht...</translation>
    </message>
    <message>
        <source>No Korwind Navigator was found on the device; name its executable with --exe PATH.</source>
        <translation>Auf dem Gerät wurde kein Korwind Navigator gefunden; geben Sie die ausführbare Datei mit --exe PATH an.</translation>
    </message>
    <message>
        <source>Several Korwind Navigators are on the device: choose one with --exe PATH.
%1</source>
        <translation>Auf dem Gerät befinden sich mehrere Installationen von Korwind Navigator: Wählen Sie eine mit --exe PATH aus.
%1</translation>
    </message>
    <message>
        <source>Checking out Korwind Navigator executable file...</source>
        <translation>Ausführbare Datei von Korwind Navigator wird geprüft...</translation>
    </message>
    <message>
        <source>The device was unplugged.</source>
        <translation>Das Gerät wurde getrennt.</translation>
    </message>
    <message>
        <source>Searching for the KorwindContent folders...</source>
        <translation>KorwindContent-Ordner werden gesucht...</translation>
    </message>
    <message>
        <source>Searching for Korwind Navigator updates...</source>
        <translation>Updates für Korwind Navigator werden gesucht...</translation>
    </message>
    <message>
        <source>Searching for map updates...</source>
        <translation>Karten-Updates werden gesucht...</translation>
    </message>
    <message>
        <source>Asking the server about the files</source>
        <translation>Abfrage der Dateien beim Server</translation>
    </message>
    <message>
        <source>Checking earlier downloads</source>
        <translation>Prüfung früherer Downloads</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Verifying the downloads</source>
        <translation>Überprüfung der Downloads</translation>
    </message>
</context>
<context>
    <name>SettingsValues</name>
    <message>
        <source>Choose a folder to store the backups.</source>
        <translation>Wählen Sie einen Ordner für Sicherungen.</translation>
    </message>
    <message>
        <source>The folder to store the backups must be given with its full path.</source>
        <translation>Der Ordner für Sicherungen muss mit vollständigem Pfad angegeben werden.</translation>
    </message>
    <message>
        <source>The folder to store the backups, "%1", cannot be created.</source>
        <translation>Der Ordner für Sicherungen, "%1", kann nicht erstellt werden.</translation>
    </message>
    <message>
        <source>The folder to store the backups, "%1", cannot be written to.</source>
        <translation>In den Ordner für Sicherungen, "%1", kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Choose a folder to store downloaded files.</source>
        <translation>Wählen Sie einen Ordner für heruntergeladene Dateien.</translation>
    </message>
    <message>
        <source>The folder to store downloaded files must be given with its full path.</source>
        <translation>Der Ordner für heruntergeladene Dateien muss mit vollständigem Pfad angegeben werden.</translation>
    </message>
    <message>
        <source>The folder to store downloaded files, "%1", cannot be created.</source>
        <translation>Der Ordner für heruntergeladene Dateien, "%1", kann nicht erstellt werden.</translation>
    </message>
    <message>
        <source>The folder to store downloaded files, "%1", cannot be written to.</source>
        <translation>In den Ordner für heruntergeladene Dateien, "%1", kann nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>SettingsWidget</name>
    <message>
        <source>Software and components backup:</source>
        <translation>Sicherung von Software und Komponenten:</translation>
    </message>
    <message>
        <source>Automatically create backups</source>
        <translation>Sicherungen automatisch erstellen</translation>
    </message>
    <message>
        <source>Manage backups</source>
        <translation>Sicherungen verwalten</translation>
    </message>
    <message>
        <source>Folder to store the backups</source>
        <translation>Ordner für Sicherungen</translation>
    </message>
    <message>
        <source>Select the folder to store the backups</source>
        <translation>Ordner für Sicherungen auswählen</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Folder to store downloaded files</source>
        <translation>Ordner für heruntergeladene Dateien</translation>
    </message>
    <message>
        <source>Select the folder to store downloaded files</source>
        <translation>Ordner für heruntergeladene Dateien auswählen</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Sprache der Benutzeroberfläche</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Select directory</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>&amp;Automatically create backups</source>
        <translation>Sicherungen &amp;automatisch erstellen</translation>
    </message>
    <message>
        <source>&amp;Manage backups...</source>
        <translation>Sicherungen &amp;verwalten...</translation>
    </message>
    <message>
        <source>Folder to store the &amp;backups:</source>
        <translation>Ordner für &amp;Sicherungen:</translation>
    </message>
    <message>
        <source>Folder to store &amp;downloaded files:</source>
        <translation>Ordner für &amp;heruntergeladene Dateien:</translation>
    </message>
</context>
<context>
    <name>StorageText</name>
    <message>
        <source>device memory</source>
        <translation>Gerätespeicher</translation>
    </message>
    <message>
        <source>memory card</source>
        <translation>Speicherkarte</translation>
    </message>
    <message>
        <source>%1 free</source>
        <translation>%1 frei</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>SuccessWidget</name>
    <message>
        <source>Installation is finished!</source>
        <translation>Die Installation ist abgeschlossen!</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolg</translation>
    </message>
</context>
<context>
    <name>TerminalProxyLogin</name>
    <message>
        <source>The proxy asks for a login.</source>
        <translation>Der Proxy verlangt eine Anmeldung.</translation>
    </message>
    <message>
        <source>User name: </source>
        <translation>Benutzername: </translation>
    </message>
    <message>
        <source>Password: </source>
        <translation>Passwort: </translation>
    </message>
</context>
<context>
    <name>TreeWidget</name>
    <message>
        <source>Entries</source>
        <translation>Einträge</translation>
    </message>
</context>
<context>
    <name>TwoWindowWidget</name>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
</context>
<context>
    <name>UnfinishedUpdateWidget</name>
    <message>
        <source>The last update did not finish</source>
        <translation>Die letzte Aktualisierung wurde nicht abgeschlossen</translation>
    </message>
    <message>
        <source>Restore the backup</source>
        <translation>Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>The last update of this device did not finish, so the device may lack some of its maps or files.</source>
        <translation>Die letzte Aktualisierung dieses Geräts wurde nicht abgeschlossen; auf dem Gerät können daher Karten oder Dateien fehlen.</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 was being installed.</source>
        <translation>Korwind Navigator %1 wurde gerade installiert.</translation>
    </message>
    <message>
        <source>Maps still to install: %1.</source>
        <translation>Noch zu installierende Karten: %1.</translation>
    </message>
    <message>
        <source>To make room, these map files were removed before their new versions were in place: %1.</source>
        <translation>Um Platz zu schaffen, wurden diese Kartendateien entfernt, bevor ihre neuen Versionen installiert waren: %1.</translation>
    </message>
    <message>
        <source>"Finish the update" installs what is missing, with the files already downloaded, and downloads the rest.</source>
        <translation>„Aktualisierung abschließen“ installiert, was fehlt, mit den bereits heruntergeladenen Dateien, und lädt den Rest herunter.</translation>
    </message>
    <message>
        <source>Or put the device back as it was before the update, from the backup %1.</source>
        <translation>Oder stellen Sie den Zustand vor der Aktualisierung aus der Sicherung %1 wieder her.</translation>
    </message>
    <message>
        <source>It was begun on %1 at %2.</source>
        <translation>Sie wurde am %1 um %2 begonnen.</translation>
    </message>
    <message>
        <source>&amp;Restore the backup</source>
        <translation>&amp;Sicherung wiederherstellen</translation>
    </message>
</context>
<context>
    <name>UpdateCommand</name>
    <message>
        <source>downloaded</source>
        <translation>heruntergeladen</translation>
    </message>
    <message>
        <source>Backing up the program and maps</source>
        <translation>Sicherung von Programm und Karten</translation>
    </message>
    <message>
        <source>backed up</source>
        <translation>gesichert</translation>
    </message>
    <message>
        <source>Preparing the installation</source>
        <translation>Vorbereitung der Installation</translation>
    </message>
    <message>
        <source>prepared</source>
        <translation>vorbereitet</translation>
    </message>
    <message>
        <source>Deleting old maps</source>
        <translation>Löschen alter Karten</translation>
    </message>
    <message>
        <source>old maps deleted</source>
        <translation>alte Karten gelöscht</translation>
    </message>
    <message>
        <source>Installing Korwind Navigator</source>
        <translation>Installation von Korwind Navigator</translation>
    </message>
    <message>
        <source>navigator installed</source>
        <translation>Navigator installiert</translation>
    </message>
    <message>
        <source>Installing maps</source>
        <translation>Installation der Karten</translation>
    </message>
    <message>
        <source>maps installed</source>
        <translation>Karten installiert</translation>
    </message>
    <message>
        <source>Nothing to update: Korwind Navigator and its maps are up to date.</source>
        <translation>Nichts zu aktualisieren: Korwind Navigator und seine Karten sind auf dem neuesten Stand.</translation>
    </message>
    <message>
        <source>Update is successfully completed!
You need to unplug your device before running Korwind Navigator.</source>
        <translation>Die Aktualisierung wurde erfolgreich abgeschlossen!
Trennen Sie Ihr Gerät, bevor Sie Korwind Navigator starten.</translation>
    </message>
    <message>
        <source>The folder of %1 cannot be written: the navigator is not updated.</source>
        <translation>In den Ordner von %1 kann nicht geschrieben werden: Der Navigator wird nicht aktualisiert.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 is not offered for %2; offered: %3.</source>
        <translation>Korwind Navigator %1 wird für %2 nicht angeboten; angeboten: %3.</translation>
    </message>
    <message>
        <source>There is no content folder with the ID %1 on the device; korwind-update status lists them.</source>
        <translation>Auf dem Gerät gibt es keinen Inhaltsordner mit der ID %1; korwind-update status listet die Inhaltsordner auf.</translation>
    </message>
    <message>
        <source>The content folder %1 cannot be written.</source>
        <translation>In den Inhaltsordner %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>No content folder on the device can be written.</source>
        <translation>Auf dem Gerät gibt es keinen beschreibbaren Inhaltsordner.</translation>
    </message>
    <message>
        <source>Several content folders can take the maps: choose one with --content UID.
%1</source>
        <translation>Mehrere Inhaltsordner können die Karten aufnehmen: Wählen Sie einen mit --content UID aus.
%1</translation>
    </message>
    <message>
        <source>No map updates for Korwind Navigator %1 were found.</source>
        <translation>Für Korwind Navigator %1 wurden keine Karten-Updates gefunden.</translation>
    </message>
    <message>
        <source>No flash cards with the KorwindContent folder were found on your device.
You cannot update maps with no flash card inserted.</source>
        <translation>Auf Ihrem Gerät wurden keine Speicherkarten mit einem KorwindContent-Ordner gefunden.
Ohne eingesetzte Speicherkarte können keine Karten aktualisiert werden.</translation>
    </message>
    <message>
        <source>The map %1 cannot be installed together with the other maps chosen.</source>
        <translation>Die Karte %1 kann nicht zusammen mit den anderen ausgewählten Karten installiert werden.</translation>
    </message>
    <message>
        <source>The update server offers no map %1 for Korwind Navigator %2.</source>
        <translation>Der Update-Server bietet keine Karte %1 für Korwind Navigator %2 an.</translation>
    </message>
    <message>
        <source>%1 is installed already.</source>
        <translation>%1 ist bereits installiert.</translation>
    </message>
    <message>
        <source>Not enough free space in %1: the maps need %2, available: %3.</source>
        <translation>Nicht genügend freier Speicherplatz in %1: Die Karten benötigen %2, verfügbar: %3.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>Device %1: %2</source>
        <translation>Gerät %1: %2</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 (%2) is updated to %3.</source>
        <translation>Korwind Navigator %1 (%2) wird auf %3 aktualisiert.</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 (%2) stays as it is.</source>
        <translation>Korwind Navigator %1 (%2) bleibt unverändert.</translation>
    </message>
    <message>
        <source>Maps in %1:</source>
        <translation>Karten in %1:</translation>
    </message>
    <message>
        <source>install %1 (%2)</source>
        <translation>installieren: %1 (%2)</translation>
    </message>
    <message>
        <source>remove %1</source>
        <translation>entfernen: %1</translation>
    </message>
    <message>
        <source>no changes</source>
        <translation>keine Änderungen</translation>
    </message>
    <message>
        <source>A backup of the program and maps is made in %1.</source>
        <translation>In %1 wird eine Sicherung von Programm und Karten erstellt.</translation>
    </message>
    <message>
        <source>Updating Korwind Navigator to %1:</source>
        <translation>Korwind Navigator wird auf %1 aktualisiert:</translation>
    </message>
    <message>
        <source>Updating maps:</source>
        <translation>Karten werden aktualisiert:</translation>
    </message>
    <message>
        <source>The same files were backed up before; that backup is kept.</source>
        <translation>Dieselben Dateien wurden bereits früher gesichert; diese Sicherung wird beibehalten.</translation>
    </message>
    <message>
        <source>Backup %1 made.</source>
        <translation>Sicherung %1 erstellt.</translation>
    </message>
    <message>
        <source>Not installed: --yes installs it all the same.</source>
        <translation>Nicht installiert: Mit --yes wird es trotzdem installiert.</translation>
    </message>
    <message>
        <source>Nothing was done.</source>
        <translation>Es wurde nichts ausgeführt.</translation>
    </message>
    <message>
        <source>Done before: %1.</source>
        <translation>Bereits erledigt: %1.</translation>
    </message>
    <message>
        <source>korwind-update restore %1 puts back the files as they were before.</source>
        <translation>korwind-update restore %1 stellt die Dateien so wieder her, wie sie vorher waren.</translation>
    </message>
    <message>
        <source>The device may hold part of the update.</source>
        <translation>Das Gerät enthält möglicherweise einen Teil des Updates.</translation>
    </message>
    <message>
        <source>It is finished first.</source>
        <translation>Sie wird zuerst abgeschlossen.</translation>
    </message>
    <message>
        <source>The unfinished update is finished.</source>
        <translation>Die unvollendete Aktualisierung ist abgeschlossen.</translation>
    </message>
    <message>
        <source>the folder's other map data is deleted once the new maps are in place</source>
        <translation>die übrigen Kartendaten des Ordners werden gelöscht, sobald die neuen Karten installiert sind</translation>
    </message>
</context>
<context>
    <name>UpdateProgressEntryWidget</name>
    <message>
        <source>Stage progress</source>
        <translation>Fortschritt des Schritts</translation>
    </message>
    <message>
        <source>Speed: %1;</source>
        <translation>Geschwindigkeit: %1;</translation>
    </message>
    <message>
        <source>done: %1 from %2 (%3%);</source>
        <translation>erledigt: %1 von %2 (%3 %);</translation>
    </message>
    <message>
        <source>time left: %1</source>
        <translation>verbleibende Zeit: %1</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>Wartet</translation>
    </message>
</context>
<context>
    <name>UpdateStagesWidget</name>
    <message>
        <source>Updating Korwind Navigator update center</source>
        <translation>Aktualisierung des Korwind Navigator Update-Centers</translation>
    </message>
    <message>
        <source>Updating maps</source>
        <translation>Aktualisierung der Karten</translation>
    </message>
    <message>
        <source>Updating Korwind Navigator</source>
        <translation>Aktualisierung von Korwind Navigator</translation>
    </message>
    <message>
        <source>Preparing for download</source>
        <translation>Vorbereitung des Downloads</translation>
    </message>
    <message>
        <source>Checking files</source>
        <translation>Prüfung der Dateien</translation>
    </message>
    <message>
        <source>Downloading files</source>
        <translation>Herunterladen der Dateien</translation>
    </message>
    <message>
        <source>Downloading file: </source>
        <translation>Herunterladen der Datei: </translation>
    </message>
    <message>
        <source>Verifying files</source>
        <translation>Überprüfung der Dateien</translation>
    </message>
    <message>
        <source>Creating backup</source>
        <translation>Erstellen der Sicherung</translation>
    </message>
    <message>
        <source>Preparing for update installation</source>
        <translation>Vorbereitung der Update-Installation</translation>
    </message>
    <message>
        <source>Deleting old maps</source>
        <translation>Löschen alter Karten</translation>
    </message>
    <message>
        <source>Installing update</source>
        <translation>Installation des Updates</translation>
    </message>
    <message>
        <source>Installing file: </source>
        <translation>Installation der Datei: </translation>
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
    <message>
        <source>dddd, MMMM dd, yyyy</source>
        <translation>dddd, d. MMMM yyyy</translation>
    </message>
    <message>
        <source>%1,%2</source>
        <translation>%1,%2</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>%1,%2 GB/s</source>
        <translation>%1,%2 GB/s</translation>
    </message>
    <message>
        <source>%1 MB/s</source>
        <translation>%1 MB/s</translation>
    </message>
    <message>
        <source>%1,%2 MB/s</source>
        <translation>%1,%2 MB/s</translation>
    </message>
    <message>
        <source>%1 KB/s</source>
        <translation>%1 KB/s</translation>
    </message>
    <message>
        <source>%1,%2 KB/s</source>
        <translation>%1,%2 KB/s</translation>
    </message>
    <message>
        <source>%1 B/s</source>
        <translation>%1 B/s</translation>
    </message>
</context>
<context>
    <name>WarningFrame</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
</context>
<context>
    <name>WorkLock</name>
    <message>
        <source>the device %1</source>
        <translation>dem Gerät %1</translation>
    </message>
    <message>
        <source>the backups folder %1</source>
        <translation>dem Sicherungsordner %1</translation>
    </message>
    <message>
        <source>Cannot create the folder %1 for the lock files.</source>
        <translation>Der Ordner %1 für die Sperrdateien kann nicht erstellt werden.</translation>
    </message>
    <message>
        <source>Cannot write the lock file in %1.</source>
        <translation>Die Sperrdatei in %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Another korwind-update (process %1) is working on %2.</source>
        <translation>Ein anderes korwind-update (Prozess %1) arbeitet gerade mit %2.</translation>
    </message>
</context>
<context>
    <name>vktpdl::QRapiFile</name>
    <message>
        <source>The file %1 cannot be opened on the device (error %2).</source>
        <translation>Die Datei %1 kann auf dem Gerät nicht geöffnet werden (Fehler %2).</translation>
    </message>
    <message>
        <source>Reading from the device failed (error %1).</source>
        <translation>Das Lesen vom Gerät ist fehlgeschlagen (Fehler %1).</translation>
    </message>
    <message>
        <source>Writing to the device failed (error %1).</source>
        <translation>Das Schreiben auf das Gerät ist fehlgeschlagen (Fehler %1).</translation>
    </message>
</context>
</TS>