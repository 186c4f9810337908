<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="ru_RU">
<context>
    <name>Backup</name>
    <message>
        <source>Unknown device</source>
        <translation>Неизвестное устройство</translation>
    </message>
    <message>
        <source>Korwind Navigator %1
</source>
        <translation>Korwind Navigator %1
</translation>
    </message>
    <message>
        <source>Maps for Korwind Navigator:</source>
        <translation>Карты для Korwind Navigator:</translation>
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
        <translation>(не отключайте устройство до завершения операции)</translation>
    </message>
    <message>
        <source>Korwind Navigator %1</source>
        <translation>Korwind Navigator %1</translation>
    </message>
    <message>
        <source>Unknown device</source>
        <translation>Неизвестное устройство</translation>
    </message>
    <message>
        <source>Device wasn’t found.
Please check, if it was correctly connected, or if you need extra installation software.</source>
        <translation>Устройство не найдено.
Проверьте, правильно ли оно подключено и не требуется ли дополнительное программное обеспечение для установки.</translation>
    </message>
    <message>
        <source>Korwind Navigator content folder was not found on your device.</source>
        <translation>Папка с содержимым Korwind Navigator не найдена на устройстве.</translation>
    </message>
    <message>
        <source>Your device is still connected in the wrong way.</source>
        <translation>Устройство по-прежнему подключено неправильно.</translation>
    </message>
    <message>
        <source>Cannot find the device.</source>
        <translation>Не удаётся найти устройство.</translation>
    </message>
    <message>
        <source>Unknown error.</source>
        <translation>Неизвестная ошибка.</translation>
    </message>
    <message>
        <source>Failed to connect to ActiveSync.</source>
        <translation>Не удалось подключиться к ActiveSync.</translation>
    </message>
    <message>
        <source>Error waiting response from mobile device.</source>
        <translation>Ошибка ожидания ответа от мобильного устройства.</translation>
    </message>
    <message>
        <source>Time for waiting response from mobile device is out.</source>
        <translation>Истекло время ожидания ответа от мобильного устройства.</translation>
    </message>
    <message>
        <source>Need to install module for Korwin Navigator update center on your device.</source>
        <translation>Необходимо установить на устройство модуль для центра обновления Korwin Navigator.</translation>
    </message>
    <message>
        <source>File you've chosen is not a valid Korwind Navigator executable.</source>
        <translation>Выбранный файл не является допустимым исполняемым файлом Korwind Navigator.</translation>
    </message>
    <message>
        <source>Wrong device response. Please, install new version of Korwind Navigator update center.</source>
        <translation>Неверный ответ устройства. Установите новую версию центра обновления Korwind Navigator.</translation>
    </message>
    <message>
        <source>No devices with Korwind Navigator presented on current system.
Please connect device with Korwind Navigator to your PC and click "Retry".</source>
        <translation>В системе не найдено устройств с Korwind Navigator.
Подключите устройство с Korwind Navigator к компьютеру и нажмите "Повторить".</translation>
    </message>
    <message>
        <source>Korwind Navigator was not found on your device.</source>
        <translation>Korwind Navigator не найден на устройстве.</translation>
    </message>
    <message>
        <source>File transfer error. Check if the device is connected and it has enough free space on the flash card.</source>
        <translation>Ошибка передачи файлов. Проверьте, подключено ли устройство и достаточно ли свободного места на карте памяти.</translation>
    </message>
    <message>
        <source>Some files cannot be deleted</source>
        <translation>Некоторые файлы не удаётся удалить</translation>
    </message>
    <message>
        <source>Installation failed.</source>
        <translation>Не удалось выполнить установку.</translation>
    </message>
    <message>
        <source>Internal application error.</source>
        <translation>Внутренняя ошибка приложения.</translation>
    </message>
    <message>
        <source>Last operation was cancelled.</source>
        <translation>Последняя операция была отменена.</translation>
    </message>
    <message>
        <source>Error: Can't create ini file. Check if you can write to the application directory.</source>
        <translation>Ошибка: не удаётся создать INI-файл. Проверьте, есть ли у вас права на запись в папку приложения.</translation>
    </message>
    <message>
        <source>Error: CeAppMgr is not installed.</source>
        <translation>Ошибка: CeAppMgr не установлен.</translation>
    </message>
    <message>
        <source>Error: Can not run CeAppMgr. Check if it's installed correctly.</source>
        <translation>Ошибка: не удаётся запустить CeAppMgr. Проверьте, правильно ли он установлен.</translation>
    </message>
    <message>
        <source>Cannot create folder on the device. Make sure that flash card is mounted with write access.</source>
        <translation>Не удаётся создать папку на устройстве. Убедитесь, что карта памяти подключена с доступом на запись.</translation>
    </message>
    <message>
        <source>Not enough free space on device.</source>
        <translation>Недостаточно свободного места на устройстве.</translation>
    </message>
    <message>
        <source>You need to install newer version of module for Korwin Navigator update center on your device.</source>
        <translation>Необходимо установить на устройство более новую версию модуля для центра обновления Korwin Navigator.</translation>
    </message>
    <message>
        <source>Installation package chosen may not be compatible with your device.
Updating without backup may result in data loss.</source>
        <translation>Выбранный установочный пакет может быть несовместим с вашим устройством.
Обновление без резервной копии может привести к потере данных.</translation>
    </message>
    <message>
        <source>Cannot write on a hard drive.</source>
        <translation>Не удаётся выполнить запись на жёсткий диск.</translation>
    </message>
    <message>
        <source>Device operation error.</source>
        <translation>Ошибка операции с устройством.</translation>
    </message>
    <message>
        <source>Operation was cancelled by user.</source>
        <translation>Операция отменена пользователем.</translation>
    </message>
    <message>
        <source>Some files needed for backup restoration are missing.</source>
        <translation>Отсутствуют некоторые файлы, необходимые для восстановления из резервной копии.</translation>
    </message>
    <message>
        <source>Backup cannot be restored on that device.</source>
        <translation>Резервную копию невозможно восстановить на этом устройстве.</translation>
    </message>
    <message>
        <source>Device search operation was cancelled by user</source>
        <translation>Поиск устройств отменён пользователем</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>User Login</source>
        <translation>Вход пользователя</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Войти</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>Имя пользователя</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
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
        <translation>Центр обновления Korwin Navigator не может создавать файлы в вашей системе.</translation>
    </message>
    <message>
        <source>Can't write output, check free space.</source>
        <translation>Не удаётся записать данные, проверьте наличие свободного места.</translation>
    </message>
    <message>
        <source>Operation cancelled by user.</source>
        <translation>Операция отменена пользователем.</translation>
    </message>
    <message>
        <source>Download error.</source>
        <translation>Ошибка загрузки.</translation>
    </message>
    <message>
        <source>Error connection to download updates.</source>
        <translation>Ошибка подключения при загрузке обновлений.</translation>
    </message>
    <message>
        <source>Server content error. Try update later.</source>
        <translation>Ошибка содержимого на сервере. Повторите обновление позже.</translation>
    </message>
    <message>
        <source>&lt;br&gt;You need to check your network connection or connection &lt;a href="</source>
        <translation>&lt;br&gt;Проверьте подключение к сети или &lt;a href="</translation>
    </message>
    <message>
        <source>" style="color:black"&gt;settings&lt;/a&gt; in order to continue updating.</source>
        <translation>" style="color:black"&gt;настройки подключения&lt;/a&gt;, чтобы продолжить обновление.</translation>
    </message>
</context>
<context>
    <name>PackageResolver</name>
    <message>
        <source>Cannot resolve package dependencies for </source>
        <translation>Не удаётся разрешить зависимости пакета </translation>
    </message>
    <message>
        <source>Inconsistent installation: a problem with packages :</source>
        <translation>Несогласованная установка: проблема с пакетами:</translation>
    </message>
</context>
<context>
    <name>QAbstractSocket</name>
    <message>
        <source>Socket operation timed out</source>
        <translation>Время ожидания операции с сокетом истекло</translation>
    </message>
</context>
<context>
    <name>QHttp</name>
    <message>
        <source>Connection refused</source>
        <translation>Отказано в соединении</translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation>Соединение закрыто</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Узел %1 не найден</translation>
    </message>
    <message>
        <source>SSL handshake failed</source>
        <translation>Квитирование SSL не удалось</translation>
    </message>
    <message>
        <source>Proxy requires authentication</source>
        <translation>Прокси-сервер запрашивает аутентификацию</translation>
    </message>
    <message>
        <source>Host requires authentication</source>
        <translation>Узел запрашивает аутентификацию</translation>
    </message>
    <message>
        <source>Unknown protocol specified</source>
        <translation>Указан неизвестный протокол</translation>
    </message>
    <message>
        <source>Data corrupted</source>
        <translation>Данные повреждены</translation>
    </message>
</context>
<context>
    <name>Utilities</name>
    <message>
        <source>%1d </source>
        <translation>%1 д </translation>
    </message>
    <message>
        <source>%1h </source>
        <translation>%1 ч </translation>
    </message>
    <message>
        <source>%1m </source>
        <translation>%1 мин </translation>
    </message>
    <message>
        <source>%1s </source>
        <translation>%1 с </translation>
    </message>
</context>
</TS>