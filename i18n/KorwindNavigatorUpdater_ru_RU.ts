<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="ru_RU">
<context>
    <name>Backup</name>
    <message>
        <source>Unknown device</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Korwind Navigator %1
</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Maps for Korwind Navigator:</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>ContentFolderScanner</name>
    <message>
        <source>This map is already installed</source>
        <translation>Эта карта уже установлена</translation>
    </message>
</context>
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
    <name>DeviceServices</name>
    <message>
        <source>(don't unplug device untill operation is completed)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Korwind Navigator %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Unknown device</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Device wasn’t found.
Please check, if it was correctly connected, or if you need extra installation software.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Korwind Navigator content folder was not found on your device.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Your device is still connected in the wrong way.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Cannot find the device.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Unknown error.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Failed to connect to ActiveSync.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Error waiting response from mobile device.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Time for waiting response from mobile device is out.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Need to install module for Korwin Navigator update center on your device.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>File you've chosen is not a valid Korwind Navigator executable.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Wrong device response. Please, install new version of Korwind Navigator update center.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>No devices with Korwind Navigator presented on current system.
Please connect device with Korwind Navigator to your PC and click "Retry".</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Korwind Navigator was not found on your device.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>File transfer error. Check if the device is connected and it has enough free space on the flash card.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Some files cannot be deleted</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Installation failed.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Internal application error.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Last operation was cancelled.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Error: Can't create ini file. Check if you can write to the application directory.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Error: CeAppMgr is not installed.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Error: Can not run CeAppMgr. Check if it's installed correctly.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Cannot create folder on the device. Make sure that flash card is mounted with write access.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Not enough free space on device.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>You need to install newer version of module for Korwin Navigator update center on your device.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Installation package chosen may not be compatible with your device.
Updating without backup may result in data loss.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Cannot write on a hard drive.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Device operation error.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Operation was cancelled by user.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Some files needed for backup restoration are missing.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Backup cannot be restored on that device.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Device search operation was cancelled by user</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>User Login</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Login</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Abort</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Username</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished" />
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
<context>
    <name>NetworkServices</name>
    <message>
        <source>Korwin Navigator update center can't create files on your system.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Can't write output, check free space.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Operation cancelled by user.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Download error.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Error connection to download updates.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Server content error. Try update later.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&lt;br&gt;You need to check your network connection or connection &lt;a href="</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>" style="color:black"&gt;settings&lt;/a&gt; in order to continue updating.</source>
        <translation type="unfinished" />
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