<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
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
    <name>PackageResolver</name>
    <message>
        <source>Cannot resolve package dependencies for </source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Inconsistent installation: a problem with packages :</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>QAbstractSocket</name>
    <message>
        <source>Socket operation timed out</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>QHttp</name>
    <message>
        <source>Connection refused</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Connection closed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>SSL handshake failed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Proxy requires authentication</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Host requires authentication</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Unknown protocol specified</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Data corrupted</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>Utilities</name>
    <message>
        <source>%1d </source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1h </source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1m </source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1s </source>
        <translation type="unfinished" />
    </message>
</context>
</TS>