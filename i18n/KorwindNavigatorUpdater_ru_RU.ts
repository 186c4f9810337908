<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="ru_RU">
<context>
    <name>DeviceInfo</name>
    <message>
        <source> (device in a read only mode!)</source>
        <translation> (устройство в режиме только для чтения!)</translation>
    </message>
    <message>
        <source> (plugged in a wrong way!)</source>
        <translation> (подключено неправильно!)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Центр обновления Korwind Navigator</translation>
    </message>
    <message>
        <source>&lt;b&gt;Korwind Navigator update center&lt;/b&gt;</source>
        <translation>&lt;b&gt;Центр обновления Korwind Navigator&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Версия %1</translation>
    </message>
    <message>
        <source>Changing language will take effect only after application
restart. Should we restart the application now?</source>
        <translation>Смена языка вступит в силу только после перезапуска
приложения. Перезапустить приложение сейчас?</translation>
    </message>
</context>
</TS>