<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
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
</TS>