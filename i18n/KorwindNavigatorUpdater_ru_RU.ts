<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="ru_RU">
<context>
    <name>AndroidWorkflowLogic</name>
    <message>
        <source>Visit market to download it.</source>
        <translation>Загрузите его из магазина приложений.</translation>
    </message>
    <message>
        <source>Searching for Korwind Navigator installed...</source>
        <translation>Поиск установленного Korwind Navigator...</translation>
    </message>
</context>
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
    <name>BackupCommands</name>
    <message>
        <source>There is no backup %1; korwind-update backups lists them.</source>
        <translation>Резервной копии %1 нет; список резервных копий выводит korwind-update backups.</translation>
    </message>
    <message>
        <source>The backup %1 was made of another device; it cannot be restored onto %2.</source>
        <translation>Резервная копия %1 создана для другого устройства; её невозможно восстановить на %2.</translation>
    </message>
    <message>
        <source>The content of these folders is replaced by the backup %1:</source>
        <translation>Содержимое этих папок будет заменено резервной копией %1:</translation>
    </message>
    <message>
        <source>Restoring the backup</source>
        <translation>Восстановление из резервной копии</translation>
    </message>
    <message>
        <source>Your backup was successfully restored!</source>
        <translation>Резервная копия успешно восстановлена!</translation>
    </message>
    <message>
        <source>Deleting backup...</source>
        <translation>Удаление резервной копии...</translation>
    </message>
    <message>
        <source>Backup %1 deleted.</source>
        <translation>Резервная копия %1 удалена.</translation>
    </message>
</context>
<context>
    <name>BackupManagementWidget</name>
    <message>
        <source>Backups stored on this computer:</source>
        <translation>Резервные копии, сохранённые на этом компьютере:</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Резервные копии</translation>
    </message>
    <message>
        <source>Details of the chosen backup</source>
        <translation>Сведения о выбранной резервной копии</translation>
    </message>
    <message>
        <source>Delete the chosen backup</source>
        <translation>Удалить выбранную резервную копию</translation>
    </message>
    <message>
        <source>Description:
%1
Date: %2</source>
        <translation>Описание:
%1
Дата: %2</translation>
    </message>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Центр обновления Korwind Navigator</translation>
    </message>
    <message>
        <source>You are going to delete a backup.
Are you sure you want to continue?</source>
        <translation>Выбранная резервная копия будет удалена.
Вы действительно хотите продолжить?</translation>
    </message>
    <message>
        <source>No backups are stored.</source>
        <translation>Сохранённых резервных копий нет.</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Удалить</translation>
    </message>
</context>
<context>
    <name>BaseWindow</name>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Центр обновления Korwind Navigator</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Язык интерфейса</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>%1
Server is not currently available. Please, try again later or contact technical support services.</source>
        <translation>%1
Сервер в данный момент недоступен. Повторите попытку позже или обратитесь в службу технической поддержки.</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Настройки</translation>
    </message>
</context>
<context>
    <name>CommandLineOptions</name>
    <message>
        <source>--device takes a device number as `devices` lists it (1, 2, ...).</source>
        <translation>--device ожидает номер устройства из списка `devices` (1, 2, ...).</translation>
    </message>
    <message>
        <source>--navigator and --no-navigator exclude each other.</source>
        <translation>--navigator и --no-navigator нельзя использовать вместе.</translation>
    </message>
    <message>
        <source>--navigator takes a version of four numbers, such as 6.0.0.0.</source>
        <translation>--navigator ожидает версию из четырёх чисел, например 6.0.0.0.</translation>
    </message>
    <message>
        <source>--maps and --no-maps exclude each other.</source>
        <translation>--maps и --no-maps нельзя использовать вместе.</translation>
    </message>
    <message>
        <source>--maps takes "all" or map codes separated by commas.</source>
        <translation>--maps ожидает "all" или коды карт через запятую.</translation>
    </message>
    <message>
        <source>--server takes an http:// or https:// address.</source>
        <translation>--server ожидает адрес вида http:// или https://.</translation>
    </message>
    <message>
        <source>--%1 takes a folder.</source>
        <translation>--%1 ожидает папку.</translation>
    </message>
    <message>
        <source>--proxy and --no-proxy exclude each other.</source>
        <translation>--proxy и --no-proxy нельзя использовать вместе.</translation>
    </message>
    <message>
        <source>--proxy takes [USER[:PASSWORD]@]HOST[:PORT].</source>
        <translation>--proxy ожидает [USER[:PASSWORD]@]HOST[:PORT].</translation>
    </message>
    <message>
        <source>Unknown command "%1"; korwind-update --help lists the commands.</source>
        <translation>Неизвестная команда "%1"; список команд выводит korwind-update --help.</translation>
    </message>
    <message>
        <source>--%1 does not apply to the command %2.</source>
        <translation>--%1 неприменим к команде %2.</translation>
    </message>
    <message>
        <source>The command %1 takes no arguments.</source>
        <translation>Команда %1 не принимает аргументов.</translation>
    </message>
    <message>
        <source>The command %1 takes a backup ID, as `backups` lists them.</source>
        <translation>Команде %1 нужен ID резервной копии из списка `backups`.</translation>
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
        <translation>Использование: korwind-update COMMAND [OPTIONS]

Обновляет Korwind Navigator и его карты на подключённом устройстве так же, как мастер обновления.

Команды:
  devices                  найденные устройства: номер, тип, название и примечания
  status [--device N] [--exe PATH]
                           навигаторы и их версии, папки с содержимым со свободным местом
                           и картами, а также обновления, которые сервер предлагает для них
  update [--device N] [--exe PATH] [--content UID] [--navigator VERSION | --no-navigator]
         [--maps all|CODE,... | --no-maps] [--no-backup] [--yes]
                           загружает, создаёт резервную копию и устанавливает обновление навигатора
                           (первое предложенное, если не указано) и карты: если не указаны — обновления
                           установленных карт ("all": обновления и все ещё не установленные карты)
  backups [--device N]     сохранённые резервные копии (с --device — только копии этого устройства)
  restore ID [--device N]  возвращает резервную копию на устройство
  delete-backup ID         удаляет резервную копию

Параметры:
  --device N               устройство с номером N в списке `devices`; нужен, если устройств несколько
  --exe PATH               исполняемый файл навигатора; нужен, если их несколько
  --content UID            папка с содержимым для карт; нужен, если её нельзя выбрать автоматически
  --no-backup              без резервной копии (иначе — по настройке "создавать резервные копии")
  --yes                    продолжать, даже если устройство предупреждает, что пакет может не подойти
  --json                   вывести результат в формате JSON в стандартный вывод
  --server URL             адрес сервера обновлений вместо встроенного
  --downloads FOLDER       папка для загруженных файлов вместо указанной в настройках
  --backups FOLDER         папка для резервных копий вместо указанной в настройках
  --proxy [USER[:PASSWORD]@]HOST[:PORT]
                           использовать этот HTTP-прокси; --no-proxy: без прокси (иначе — по настройкам)
  --help, --version

Коды завершения:
  0  успешное выполнение
  2  ошибка командной строки: неизвестная команда, параметр, код карты, ID резервной копии или неверное значение
  3  устройство: не найдено, непригодно, нет навигатора или папки с содержимым, отключено во время работы
  4  сервер: сервер обновлений недоступен или отклонил запрос
  5  ошибка загрузки
  6  недостаточно свободного места на устройстве для выбранных карт
  7  установка: сбой резервного копирования, подготовки, удаления, установки или восстановления
  8  отменено: Ctrl-C или предупреждение устройства, которое пропускает только --yes
  9  занято: другой korwind-update работает с тем же устройством или папкой для резервных копий
</translation>
    </message>
</context>
<context>
    <name>ConnectionSettingsWidget</name>
    <message>
        <source>Proxy-server settings:</source>
        <translation>Настройки прокси-сервера:</translation>
    </message>
    <message>
        <source>Use proxy-server</source>
        <translation>Использовать прокси-сервер</translation>
    </message>
    <message>
        <source>Proxy-server address</source>
        <translation>Адрес прокси-сервера</translation>
    </message>
    <message>
        <source>Proxy-server port</source>
        <translation>Порт прокси-сервера</translation>
    </message>
    <message>
        <source>&amp;Use proxy-server</source>
        <translation>&amp;Использовать прокси-сервер</translation>
    </message>
    <message>
        <source>A&amp;ddress:</source>
        <translation>&amp;Адрес:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Порт:</translation>
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
    <name>DeletionWarningWidget</name>
    <message>
        <source>Note, that old maps will be removed or re-installed during the update!</source>
        <translation>Обратите внимание: во время обновления старые карты будут удалены или переустановлены!</translation>
    </message>
    <message>
        <source>Maps that will be removed</source>
        <translation>Карты, которые будут удалены</translation>
    </message>
    <message>
        <source>If you're ok with that, press the "Update" button.</source>
        <translation>Если это приемлемо, нажмите кнопку "Обновить".</translation>
    </message>
    <message>
        <source>Following maps will be removed:</source>
        <translation>Будут удалены следующие карты:</translation>
    </message>
    <message>
        <source>"%1, %2", </source>
        <translation>"%1, %2", </translation>
    </message>
    <message>
        <source>During the installation of maps %1 following maps will be removed:</source>
        <translation>При установке карт %1 будут удалены следующие карты:</translation>
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
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>Device %1: %2 (%3)</source>
        <translation>Устройство %1: %2 (%3)</translation>
    </message>
    <message>
        <source>offered for Korwind Navigator %1:</source>
        <translation>предлагается для Korwind Navigator %1:</translation>
    </message>
    <message>
        <source>none</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>Korwind Navigator executables:</source>
        <translation>Исполняемые файлы Korwind Navigator:</translation>
    </message>
    <message>
        <source>none found</source>
        <translation>не найдены</translation>
    </message>
    <message>
        <source>server: %1</source>
        <translation>сервер: %1</translation>
    </message>
    <message>
        <source>no update offered</source>
        <translation>обновлений нет</translation>
    </message>
    <message>
        <source>update offered: %1  %2</source>
        <translation>доступно обновление: %1  %2</translation>
    </message>
    <message>
        <source>Content folders:</source>
        <translation>Папки с содержимым:</translation>
    </message>
    <message>
        <source>%1  ID %2%3</source>
        <translation>%1  ID %2%3</translation>
    </message>
    <message>
        <source>  (read only)</source>
        <translation>  (только для чтения)</translation>
    </message>
    <message>
        <source>free space %1, old map data %2</source>
        <translation>свободно %1, старые данные карт %2</translation>
    </message>
    <message>
        <source>installed maps:</source>
        <translation>установленные карты:</translation>
    </message>
    <message>
        <source>no maps are offered for the navigators found</source>
        <translation>для найденных навигаторов карты не предлагаются</translation>
    </message>
    <message>
        <source>  (damaged)</source>
        <translation>  (повреждена)</translation>
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
    <name>DeviceNotFoundWidget</name>
    <message>
        <source>Please, choose the operating system of your device and follow the instructions.</source>
        <translation>Выберите операционную систему устройства и следуйте инструкциям.</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>No devices were found.
Perhaps, device is connected in a wrong way, or you may need some extra software installation.</source>
        <translation>Устройства не найдены.
Возможно, устройство подключено неправильно или требуется установить дополнительное программное обеспечение.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
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
    <message>
        <source>A downloaded map file is damaged and was not installed; it has been removed.
Please download the maps again.</source>
        <translation>Загруженный файл карты повреждён и не был установлен; файл удалён.
Загрузите карты повторно.</translation>
    </message>
    <message>
        <source>The backups folder lies inside a folder that is backed up, so restoring would delete the backups themselves.
Please choose a backups folder outside the device in the settings.</source>
        <translation>Папка для резервных копий находится внутри папки, которая включается в резервную копию, поэтому при восстановлении были бы удалены сами резервные копии.
Выберите в настройках папку для резервных копий вне устройства.</translation>
    </message>
    <message>
        <source>The last update of this device did not finish: finish it, or restore the backup, before you begin another one.</source>
        <translation>Последнее обновление этого устройства не завершено: завершите его или восстановите резервную копию, прежде чем начинать новое.</translation>
    </message>
    <message>
        <source>The device gave back other data than was written to it: its memory card is failing, or holds less than it claims.
The update was stopped; it can be finished on a sound card.</source>
        <translation>Устройство вернуло не те данные, что были на него записаны: его карта памяти неисправна или вмещает меньше, чем заявлено.
Обновление остановлено; его можно завершить на исправной карте.</translation>
    </message>
    <message>
        <source>(don't unplug device until operation is completed)</source>
        <translation>(не отключайте устройство до завершения операции)</translation>
    </message>
</context>
<context>
    <name>KorwindContentChooseWidget</name>
    <message>
        <source>Several storage cards were found, choose the one you want to use for map updating:</source>
        <translation>Найдено несколько карт памяти. Выберите ту, на которой нужно обновить карты:</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>&lt;font color="red"&gt;KorwindContent's flash drive is in read only mode. Switch it to write mode to update maps.&lt;/font&gt;&lt;br&gt;</source>
        <translation>&lt;font color="red"&gt;Карта памяти с папкой KorwindContent находится в режиме только для чтения. Чтобы обновить карты, переключите её в режим записи.&lt;/font&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Storage cards available:</source>
        <translation>Доступные карты памяти:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Описание:</translation>
    </message>
    <message>
        <source>Maps:
%2

Free space:
%3

Folder:
%4</source>
        <translation>Карты:
%2

Свободное место:
%3

Папка:
%4</translation>
    </message>
</context>
<context>
    <name>KorwindExeChooseWidget</name>
    <message>
        <source>Path to the Korwind Navigator executable</source>
        <translation>Путь к исполняемому файлу Korwind Navigator</translation>
    </message>
    <message>
        <source>Select the executable</source>
        <translation>Выбрать исполняемый файл</translation>
    </message>
    <message>
        <source>Restore backup</source>
        <translation>Восстановить резервную копию</translation>
    </message>
    <message>
        <source>&lt;font color="red"&gt;%1&lt;/font&gt;&lt;br&gt;</source>
        <translation>&lt;font color="red"&gt;%1&lt;/font&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>Can be updated to version %1</source>
        <translation>Можно обновить до версии %1</translation>
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
        <translation>Установлена последняя версия</translation>
    </message>
    <message>
        <source>%1Version: %2&lt;br&gt;Path: %3</source>
        <translation>%1Версия: %2&lt;br&gt;Путь: %3</translation>
    </message>
    <message>
        <source>Korwind Navigator %1</source>
        <translation>Korwind Navigator %1</translation>
    </message>
    <message>
        <source>Program cannot locate any Korwind Navigator executables on that device.</source>
        <translation>Программе не удалось найти на этом устройстве ни одного исполняемого файла Korwind Navigator.</translation>
    </message>
    <message>
        <source>Please, enter the path manually:</source>
        <translation>Укажите путь вручную:</translation>
    </message>
    <message>
        <source>Several possible Korwind Navigator executables were found, choose the one you want to update:</source>
        <translation>Найдено несколько возможных исполняемых файлов Korwind Navigator. Выберите тот, который нужно обновить:</translation>
    </message>
    <message>
        <source>Korwind Navigator executable was found. You may choose it for update:</source>
        <translation>Найден исполняемый файл Korwind Navigator. Его можно выбрать для обновления:</translation>
    </message>
    <message>
        <source>or enter the path manually:</source>
        <translation>или укажите путь вручную:</translation>
    </message>
    <message>
        <source>Korwind Navigator applications found:</source>
        <translation>Найденные приложения Korwind Navigator:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Описание:</translation>
    </message>
    <message>
        <source>Choose your Korwind Navigator executable</source>
        <translation>Выберите исполняемый файл Korwind Navigator</translation>
    </message>
    <message>
        <source>Executable files (*.exe)</source>
        <translation>Исполняемые файлы (*.exe)</translation>
    </message>
    <message>
        <source>&lt;font color="red"&gt;Korwind Navigator is installed to read-only flash drive and cannot be updated. Switch flash drive to write mode to update Korwind Navigator.&lt;/font&gt;&lt;br&gt;</source>
        <translation>&lt;font color="red"&gt;Korwind Navigator установлен на карту памяти, доступную только для чтения, и не может быть обновлён. Чтобы обновить Korwind Navigator, переключите карту памяти в режим записи.&lt;/font&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>S&amp;elect</source>
        <translation>Вы&amp;брать</translation>
    </message>
    <message>
        <source>&amp;Restore backup</source>
        <translation>&amp;Восстановить резервную копию</translation>
    </message>
</context>
<context>
    <name>KorwindUpdateChooseWidget</name>
    <message>
        <source>Choose Korwind Navigator updates:</source>
        <translation>Выберите обновления Korwind Navigator:</translation>
    </message>
    <message>
        <source>Create a backup</source>
        <translation>Создать резервную копию</translation>
    </message>
    <message>
        <source>Korwind Navigator updates available:</source>
        <translation>Доступные обновления Korwind Navigator:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Описание:</translation>
    </message>
    <message>
        <source>No info available</source>
        <translation>Нет сведений</translation>
    </message>
    <message>
        <source>Korwind Navigator %1</source>
        <translation>Korwind Navigator %1</translation>
    </message>
    <message>
        <source>Don't update the program</source>
        <translation>Не обновлять программу</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Далее</translation>
    </message>
    <message>
        <source>&amp;Create a backup</source>
        <translation>&amp;Создать резервную копию</translation>
    </message>
</context>
<context>
    <name>ListWidget</name>
    <message>
        <source>Entries</source>
        <translation>Записи</translation>
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
    <name>MainSettingsWidget</name>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>General settings</source>
        <translation>Общие настройки</translation>
    </message>
    <message>
        <source>Connection settings</source>
        <translation>Настройки подключения</translation>
    </message>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Центр обновления Korwind Navigator</translation>
    </message>
    <message>
        <source>Backup management</source>
        <translation>Управление резервными копиями</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Korwind Navigator update center</source>
        <translation>Центр обновления Korwind Navigator</translation>
    </message>
    <message>
        <source>Changing language will take effect only after application
restart. Should we restart the application now?</source>
        <translation>Смена языка вступит в силу только после перезапуска
приложения. Перезапустить приложение сейчас?</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Далее</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Checking latest version...</source>
        <translation>Проверка наличия новой версии...</translation>
    </message>
    <message>
        <source>You need to update Korwind Navigator update center. Press "Next" to continue.</source>
        <translation>Необходимо обновить центр обновления Korwind Navigator. Нажмите "Далее", чтобы продолжить.</translation>
    </message>
    <message>
        <source>Searching for devices...</source>
        <translation>Поиск устройств...</translation>
    </message>
    <message>
        <source>Search device</source>
        <translation>Поиск устройств</translation>
    </message>
    <message>
        <source>All flash drive on selected device is in read only state and cannot be updated! Switch your device from read only mode to update Korwind Navigator!</source>
        <translation>Все карты памяти на выбранном устройстве доступны только для чтения, обновление невозможно! Чтобы обновить Korwind Navigator, выключите на устройстве режим только для чтения!</translation>
    </message>
    <message>
        <source>To device search</source>
        <translation>К поиску устройств</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Установить</translation>
    </message>
    <message>
        <source>Installing additional software...</source>
        <translation>Установка дополнительного программного обеспечения...</translation>
    </message>
    <message>
        <source>This kind of device is not supported.</source>
        <translation>Устройства этого типа не поддерживаются.</translation>
    </message>
    <message>
        <source>Searching for the KorwindContent folders...</source>
        <translation>Поиск папок KorwindContent...</translation>
    </message>
    <message>
        <source>Searching for Korwind Navigator updates...</source>
        <translation>Поиск обновлений Korwind Navigator...</translation>
    </message>
    <message>
        <source>Your Korwind Navigator is already up-to-date.
No flash cards with the KorwindContent folder were found on your device.
You cannot update maps with no flash card inserted.</source>
        <translation>Korwind Navigator уже обновлён до последней версии.
На устройстве не найдено карт памяти с папкой KorwindContent.
Обновить карты без установленной карты памяти невозможно.</translation>
    </message>
    <message>
        <source>Select device</source>
        <translation>Выбрать устройство</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>New Korwind Navigator version available: </source>
        <translation>Доступна новая версия Korwind Navigator: </translation>
    </message>
    <message>
        <source>Your Korwind Navigator was successfully updated.
No flash cards with the KorwindContent folder were found on your device.
You cannot update maps with no flash card inserted.</source>
        <translation>Korwind Navigator успешно обновлён.
На устройстве не найдено карт памяти с папкой KorwindContent.
Обновить карты без установленной карты памяти невозможно.</translation>
    </message>
    <message>
        <source>No map updates for Korwind Navigator %1 were found.</source>
        <translation>Обновления карт для Korwind Navigator %1 не найдены.</translation>
    </message>
    <message>
        <source>Rescanning Korwind Navigator content folder...</source>
        <translation>Повторная проверка папки с содержимым Korwind Navigator...</translation>
    </message>
    <message>
        <source>Searching for map updates...</source>
        <translation>Поиск обновлений карт...</translation>
    </message>
    <message>
        <source>Your Korwind Navigator and maps are already up-to-date!
You need to unplug your device before running Korwind Navigator</source>
        <translation>Korwind Navigator и карты уже обновлены до последних версий!
Перед запуском Korwind Navigator отключите устройство от компьютера</translation>
    </message>
    <message>
        <source>Your maps are already up-to-date!
You need to unplug your device before running Korwind Navigator</source>
        <translation>Карты уже обновлены до последних версий!
Перед запуском Korwind Navigator отключите устройство от компьютера</translation>
    </message>
    <message>
        <source>Update is successfully completed!
You need to unplug your device before running Korwind Navigator</source>
        <translation>Обновление успешно завершено!
Перед запуском Korwind Navigator отключите устройство от компьютера</translation>
    </message>
    <message>
        <source>More updates</source>
        <translation>Другие обновления</translation>
    </message>
    <message>
        <source>Select a backup to restore</source>
        <translation>Выберите резервную копию для восстановления</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Восстановить</translation>
    </message>
    <message>
        <source>%1, </source>
        <translation>%1, </translation>
    </message>
    <message>
        <source>During that operation the content of folders %1 will be deleted.</source>
        <translation>При этой операции содержимое папок %1 будет удалено.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Продолжить</translation>
    </message>
    <message>
        <source>Restoring the backup...</source>
        <translation>Восстановление из резервной копии...</translation>
    </message>
    <message>
        <source>Your backup was successfully restored!</source>
        <translation>Резервная копия успешно восстановлена!</translation>
    </message>
    <message>
        <source>Search updates</source>
        <translation>Поиск обновлений</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Отправить</translation>
    </message>
    <message>
        <source>Sending information about device...</source>
        <translation>Отправка сведений об устройстве...</translation>
    </message>
    <message>
        <source>Thank you for sending information!</source>
        <translation>Спасибо, сведения отправлены!</translation>
    </message>
    <message>
        <source>Send information about device.</source>
        <translation>Отправить сведения об устройстве.</translation>
    </message>
    <message>
        <source>We will examine the problem and add support for your device updates. No confidential data is required and will not be send.</source>
        <translation>Мы изучим проблему и добавим поддержку обновления для этого устройства. Конфиденциальные данные не требуются и не передаются.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Deleting backup...</source>
        <translation>Удаление резервной копии...</translation>
    </message>
    <message>
        <source>
Do you want to continue?</source>
        <translation>
Продолжить?</translation>
    </message>
    <message>
        <source>You need to reconnect your device in "USB storage" mode to upload maps.
Please, switch the mode and press "Continue".</source>
        <translation>Чтобы загрузить карты на устройство, необходимо переподключить его в режиме "USB-накопитель".
Переключите режим и нажмите "Продолжить".</translation>
    </message>
    <message>
        <source>Searching for reconnected device...</source>
        <translation>Поиск переподключённого устройства...</translation>
    </message>
    <message>
        <source>Finish the update</source>
        <translation>Завершить обновление</translation>
    </message>
    <message>
        <source>Preparing to finish the update...</source>
        <translation>Подготовка к завершению обновления...</translation>
    </message>
    <message>
        <source>Internal application error.</source>
        <translation>Внутренняя ошибка приложения.</translation>
    </message>
    <message>
        <source>The update is finished.
You need to unplug your device before running Korwind Navigator</source>
        <translation>Обновление завершено.
Отключите устройство перед запуском Korwind Navigator</translation>
    </message>
    <message>
        <source>The backup made before the update (%1) is no longer in the backups folder.</source>
        <translation>Резервной копии, сделанной перед обновлением (%1), больше нет в папке резервных копий.</translation>
    </message>
    <message>
        <source>Press "Skip the check" to go on without it: backups can be restored without the update server.</source>
        <translation>Нажмите «Пропустить проверку», чтобы продолжить без неё: резервные копии можно восстановить и без сервера обновлений.</translation>
    </message>
    <message>
        <source>Skip the check</source>
        <translation>Пропустить проверку</translation>
    </message>
    <message>
        <source>You need to install additional software on your device to continue.</source>
        <translation>Для продолжения необходимо установить на устройство дополнительное программное обеспечение.</translation>
    </message>
    <message>
        <source>The update failed</source>
        <translation>Обновление не удалось</translation>
    </message>
    <message>
        <source>Korwind Navigator was updated</source>
        <translation>Korwind Navigator обновлён</translation>
    </message>
    <message>
        <source>The maps can be chosen now.</source>
        <translation>Теперь можно выбрать карты.</translation>
    </message>
    <message>
        <source>Your Korwind Navigator was successfully updated to version %1.
Map updates are offered for Korwind Navigator %2 and later.</source>
        <translation>Korwind Navigator успешно обновлён до версии %1.
Обновления карт предлагаются для Korwind Navigator %2 и новее.</translation>
    </message>
    <message>
        <source>The update is finished</source>
        <translation>Обновление завершено</translation>
    </message>
    <message>
        <source>Restoring the backup failed</source>
        <translation>Восстановить резервную копию не удалось</translation>
    </message>
    <message>
        <source>The backup is restored</source>
        <translation>Резервная копия восстановлена</translation>
    </message>
    <message>
        <source>You may need to do some things with your device to accomplish installation.</source>
        <translation>Для завершения установки может потребоваться выполнить некоторые действия на устройстве.</translation>
    </message>
    <message>
        <source>The update is still running. Do you want to cancel it?</source>
        <translation>Обновление ещё выполняется. Отменить его?</translation>
    </message>
</context>
<context>
    <name>MapTree</name>
    <message>
        <source>Map</source>
        <translation>Карта</translation>
    </message>
    <message>
        <source>Choose what happens</source>
        <translation>Выбрать, что произойдёт</translation>
    </message>
    <message>
        <source>Expand</source>
        <translation>Развернуть</translation>
    </message>
    <message>
        <source>Collapse</source>
        <translation>Свернуть</translation>
    </message>
    <message>
        <source>Changes what happens to the map, as a click on its icon does.</source>
        <translation>Меняет, что произойдёт с картой, как щелчок по её значку.</translation>
    </message>
    <message>
        <source>Shows the regional maps.</source>
        <translation>Показывает региональные карты.</translation>
    </message>
    <message>
        <source>Hides the regional maps.</source>
        <translation>Скрывает региональные карты.</translation>
    </message>
</context>
<context>
    <name>MapUpdateChooseWidget</name>
    <message>
        <source>Map updates available:</source>
        <translation>Доступные обновления карт:</translation>
    </message>
    <message>
        <source>Maps</source>
        <translation>Карты</translation>
    </message>
    <message>
        <source>Press the space key or click a map's icon to change what happens to the map.</source>
        <translation>Чтобы изменить действие с картой, нажмите пробел или щёлкните значок карты.</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Карта</translation>
    </message>
    <message>
        <source>No maps are offered for this storage card.</source>
        <translation>Для этой карты памяти нет доступных карт.</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Описание:</translation>
    </message>
    <message>
        <source>Description of the current map</source>
        <translation>Описание текущей карты</translation>
    </message>
    <message>
        <source>Choose other storage card</source>
        <translation>Выбрать другую карту памяти</translation>
    </message>
    <message>
        <source>Not enough free space</source>
        <translation>Недостаточно свободного места</translation>
    </message>
    <message>
        <source>Create a backup</source>
        <translation>Создать резервную копию</translation>
    </message>
    <message>
        <source>Restore backup</source>
        <translation>Восстановить резервную копию</translation>
    </message>
    <message>
        <source>Choose map updates for Korwind Navigator %1</source>
        <translation>Выберите обновления карт для Korwind Navigator %1</translation>
    </message>
    <message>
        <source>Available: </source>
        <translation>Доступно: </translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>Needed: </source>
        <translation>Требуется: </translation>
    </message>
    <message>
        <source>Choose a map to read its description.</source>
        <translation>Выберите карту, чтобы просмотреть её описание.</translation>
    </message>
    <message>
        <source>Choice not made</source>
        <translation>Выбор не принят</translation>
    </message>
    <message>
        <source>This choice cannot be made. %1</source>
        <translation>Такой выбор невозможен. %1</translation>
    </message>
    <message>
        <source>&amp;Choose other storage card</source>
        <translation>Выбрать &amp;другую карту памяти</translation>
    </message>
    <message>
        <source>Create a &amp;backup</source>
        <translation>Создать &amp;резервную копию</translation>
    </message>
    <message>
        <source>&amp;Restore backup</source>
        <translation>&amp;Восстановить резервную копию</translation>
    </message>
</context>
<context>
    <name>MapViewDelegate</name>
    <message>
        <source>Install the whole group</source>
        <translation>Установить всю группу</translation>
    </message>
    <message>
        <source>Clear the group's choices</source>
        <translation>Сбросить выбор в группе</translation>
    </message>
</context>
<context>
    <name>MapViewElement</name>
    <message>
        <source>%1, version %2 (installed: %3)</source>
        <translation>%1, версия %2 (установлена: %3)</translation>
    </message>
    <message>
        <source>%1, version %2</source>
        <translation>%1, версия %2</translation>
    </message>
    <message>
        <source>No info available</source>
        <translation>Нет сведений</translation>
    </message>
    <message>
        <source>%1
Size: %2</source>
        <translation>%1
Размер: %2</translation>
    </message>
    <message>
        <source>%1
Click the icon to change what happens to this map.</source>
        <translation>%1
Щёлкните значок, чтобы выбрать, что произойдёт с этой картой.</translation>
    </message>
    <message>
        <source>Not chosen</source>
        <translation>Не выбрана</translation>
    </message>
    <message>
        <source>Will be installed</source>
        <translation>Будет установлена</translation>
    </message>
    <message>
        <source>Some maps of this group are chosen</source>
        <translation>Выбраны некоторые карты этой группы</translation>
    </message>
    <message>
        <source>Chosen for removal</source>
        <translation>Выбрана для удаления</translation>
    </message>
    <message>
        <source>Installed, update available</source>
        <translation>Установлена, есть обновление</translation>
    </message>
    <message>
        <source>Will be updated</source>
        <translation>Будет обновлена</translation>
    </message>
    <message>
        <source>Installed, up to date</source>
        <translation>Установлена, актуальна</translation>
    </message>
    <message>
        <source>Will be deleted from the device</source>
        <translation>Будет удалена с устройства</translation>
    </message>
    <message>
        <source>%1 (follows from the other chosen maps)</source>
        <translation>%1 (требуется для других выбранных карт)</translation>
    </message>
    <message>
        <source>The map's file on the device is damaged: it was cut short or changed after its installation.</source>
        <translation>Файл этой карты на устройстве повреждён: после установки он был обрезан или изменён.</translation>
    </message>
    <message>
        <source>Damaged, update available</source>
        <translation>Повреждена, есть обновление</translation>
    </message>
    <message>
        <source>Damaged, not chosen to be installed again</source>
        <translation>Повреждена, повторная установка не выбрана</translation>
    </message>
    <message>
        <source>Damaged, a newer version is offered</source>
        <translation>Повреждена, предлагается более новая версия</translation>
    </message>
    <message>
        <source>Damaged, not offered to be installed again</source>
        <translation>Повреждена, повторная установка не предлагается</translation>
    </message>
    <message>
        <source>Damaged, will be installed again</source>
        <translation>Повреждена, будет установлена заново</translation>
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
    <name>PNDWorkflowLogic</name>
    <message>
        <source>Searching for Korwind Navigator installed...</source>
        <translation>Поиск установленного Korwind Navigator...</translation>
    </message>
    <message>
        <source>Checking out Korwind Navigator executable file...</source>
        <translation>Проверка исполняемого файла Korwind Navigator...</translation>
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
    <name>PackageServices</name>
    <message>
        <source>%1 needs a map that the update server does not offer.</source>
        <translation>Для %1 нужна карта, которую сервер обновлений не предлагает.</translation>
    </message>
    <message>
        <source>These maps cannot be installed together: %1.</source>
        <translation>Эти карты нельзя установить вместе: %1.</translation>
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
        <translation>Справка по подключению устройств iOS</translation>
    </message>
    <message>
        <source>You need to install the following software:
	iTunes
Install these programs and press "Retry".</source>
        <translation>Необходимо установить следующее программное обеспечение:
	iTunes
Установите эти программы и нажмите "Повторить".</translation>
    </message>
    <message>
        <source>Connection help for PND devices</source>
        <translation>Справка по подключению устройств PND</translation>
    </message>
    <message>
        <source>ActiveSync mode is not supported by PNDs.
Please switch your device to USB mode and press "Retry".</source>
        <translation>Устройства PND не поддерживают режим ActiveSync.
Переключите устройство в режим USB и нажмите "Повторить".</translation>
    </message>
    <message>
        <source>Connection help for Symbian devices</source>
        <translation>Справка по подключению устройств Symbian</translation>
    </message>
    <message>
        <source>Please install Nokia PC Suite and press "Retry".</source>
        <translation>Установите Nokia PC Suite и нажмите "Повторить".</translation>
    </message>
    <message>
        <source>Connection help for Windows Mobile devices</source>
        <translation>Справка по подключению устройств Windows Mobile</translation>
    </message>
    <message>
        <source>Please install Microsoft ActiveSync, switch your device to ActiveSync mode and press "Retry".</source>
        <translation>Установите Microsoft ActiveSync, переключите устройство в режим ActiveSync и нажмите "Повторить".</translation>
    </message>
    <message>
        <source>Connection help for Android devices</source>
        <translation>Справка по подключению устройств Android</translation>
    </message>
    <message>
        <source>Please install USB driver specific for your device, switch to "USB debugging mode" and press "Retry".</source>
        <translation>Установите USB-драйвер для этого устройства, включите режим "Отладка по USB" и нажмите "Повторить".</translation>
    </message>
</context>
<context>
    <name>ProgressBarWidget</name>
    <message>
        <source>Progress</source>
        <translation>Ход выполнения</translation>
    </message>
</context>
<context>
    <name>ProgressPrinter</name>
    <message>
        <source>%1 left</source>
        <translation>осталось %1</translation>
    </message>
</context>
<context>
    <name>ProgressWidget</name>
    <message>
        <source>Operation progress</source>
        <translation>Ход операции</translation>
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
    <name>RecordFormat</name>
    <message>
        <source>update</source>
        <translation>обновление</translation>
    </message>
    <message>
        <source>new</source>
        <translation>новая</translation>
    </message>
    <message>
        <source>installed, up to date</source>
        <translation>установлена, актуальна</translation>
    </message>
    <message>
        <source>%1KB</source>
        <translation>%1КБ</translation>
    </message>
    <message>
        <source>Windows CE</source>
        <translation>Windows CE</translation>
    </message>
    <message>
        <source>USB storage</source>
        <translation>USB-накопитель</translation>
    </message>
    <message>
        <source>phone</source>
        <translation>телефон</translation>
    </message>
    <message>
        <source>Android</source>
        <translation>Android</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>The last update of this device did not finish (begun %1).</source>
        <translation>Последнее обновление этого устройства не завершено (начато %1).</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 was being installed.</source>
        <translation>Шла установка Korwind Navigator %1.</translation>
    </message>
    <message>
        <source>still to install: %1</source>
        <translation>ещё не установлено: %1</translation>
    </message>
    <message>
        <source>removed to make room: %1</source>
        <translation>удалено, чтобы освободить место: %1</translation>
    </message>
    <message>
        <source>the folder's old map data goes at the end</source>
        <translation>старые данные карт папки удаляются в конце</translation>
    </message>
    <message>
        <source>korwind-update update finishes it.</source>
        <translation>korwind-update update завершит его.</translation>
    </message>
    <message>
        <source>korwind-update restore %1 puts the device back as it was before.</source>
        <translation>korwind-update restore %1 вернёт устройство в прежнее состояние.</translation>
    </message>
    <message>
        <source>installed, damaged</source>
        <translation>установлена, повреждена</translation>
    </message>
</context>
<context>
    <name>SelectDeviceWidget</name>
    <message>
        <source>Choose the device you want to update:</source>
        <translation>Выберите устройство для обновления:</translation>
    </message>
    <message>
        <source>Devices found</source>
        <translation>Найденные устройства</translation>
    </message>
    <message>
        <source>If your device is not in the list, choose its operating system for help with connecting it:</source>
        <translation>Если устройства нет в списке, выберите его операционную систему, чтобы получить справку по подключению:</translation>
    </message>
</context>
<context>
    <name>SelfUpdateInstaller</name>
    <message>
        <source>Error: archive is empty.</source>
        <translation>Ошибка: архив пуст.</translation>
    </message>
    <message>
        <source>Zlib error.</source>
        <translation>Ошибка Zlib.</translation>
    </message>
    <message>
        <source>Error: can't open archive.</source>
        <translation>Ошибка: не удаётся открыть архив.</translation>
    </message>
    <message>
        <source>Error: archive corrupted.</source>
        <translation>Ошибка: архив повреждён.</translation>
    </message>
    <message>
        <source>Error: can't read archive.</source>
        <translation>Ошибка: не удаётся прочитать архив.</translation>
    </message>
    <message>
        <source>Error: can't write archive.</source>
        <translation>Ошибка: не удаётся записать архив.</translation>
    </message>
    <message>
        <source>Error: can't seek in archive.</source>
        <translation>Ошибка: не удаётся выполнить позиционирование в архиве.</translation>
    </message>
    <message>
        <source>Error: can't create directory.</source>
        <translation>Ошибка: не удаётся создать папку.</translation>
    </message>
    <message>
        <source>Invalid Archive.</source>
        <translation>Недопустимый архив.</translation>
    </message>
    <message>
        <source>Error in parsing archive.</source>
        <translation>Ошибка разбора архива.</translation>
    </message>
    <message>
        <source>Error: unsupported archive format.</source>
        <translation>Ошибка: неподдерживаемый формат архива.</translation>
    </message>
    <message>
        <source>You need update Korwind Navigator update center.</source>
        <translation>Необходимо обновить центр обновления Korwind Navigator.</translation>
    </message>
    <message>
        <source>Can't create file</source>
        <translation>Не удаётся создать файл</translation>
    </message>
    <message>
        <source>Update installation error.</source>
        <translation>Ошибка установки обновления.</translation>
    </message>
</context>
<context>
    <name>SendInfoWidget</name>
    <message>
        <source>Please, provide us with information about your device to help us solve the problem. Enter device manufacturer and model in the device name field.</source>
        <translation>Чтобы помочь нам решить проблему, сообщите сведения об устройстве. Укажите производителя и модель устройства в поле "Название устройства".</translation>
    </message>
    <message>
        <source>Device name</source>
        <translation>Название устройства</translation>
    </message>
    <message>
        <source>Device &amp;name:</source>
        <translation>Название &amp;устройства:</translation>
    </message>
</context>
<context>
    <name>ServiceSession</name>
    <message>
        <source>You may need to do some things with your device to complete the installation.</source>
        <translation>Для завершения установки может потребоваться выполнить некоторые действия на устройстве.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Отменено.</translation>
    </message>
    <message>
        <source>Already cancelling: waiting for the running step to stop.</source>
        <translation>Отмена уже выполняется: ожидание остановки текущего шага.</translation>
    </message>
    <message>
        <source>Cancelling: the running step stops at its next check.</source>
        <translation>Отмена: текущий шаг остановится при следующей проверке.</translation>
    </message>
    <message>
        <source>Searching for devices...</source>
        <translation>Поиск устройств...</translation>
    </message>
    <message numerus="yes">
        <source>%n devices are connected: choose one with --device N (korwind-update devices lists them).</source>
        <translation>
            <numerusform>Подключено устройств: %n. Выберите одно с помощью --device N (список выводит korwind-update devices).</numerusform>
            <numerusform>Подключено устройств: %n. Выберите одно с помощью --device N (список выводит korwind-update devices).</numerusform>
            <numerusform>Подключено устройств: %n. Выберите одно с помощью --device N (список выводит korwind-update devices).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>There is no device %1: korwind-update devices lists %n.</source>
        <translation>
            <numerusform>Устройства с номером %1 нет; устройств в списке korwind-update devices: %n.</numerusform>
            <numerusform>Устройства с номером %1 нет; устройств в списке korwind-update devices: %n.</numerusform>
            <numerusform>Устройства с номером %1 нет; устройств в списке korwind-update devices: %n.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 is not connected as USB storage; the update wizard handles such devices.</source>
        <translation>Устройство %1 подключено не как USB-накопитель; с такими устройствами работает мастер обновления.</translation>
    </message>
    <message>
        <source>%1 cannot be changed.</source>
        <translation>Устройство %1 недоступно для изменений.</translation>
    </message>
    <message>
        <source>Searching for Korwind Navigator installed...</source>
        <translation>Поиск установленного Korwind Navigator...</translation>
    </message>
    <message>
        <source>No Korwind Navigator was found on the device; name its executable with --exe PATH.</source>
        <translation>Korwind Navigator на устройстве не найден; укажите его исполняемый файл с помощью --exe PATH.</translation>
    </message>
    <message>
        <source>Several Korwind Navigators are on the device: choose one with --exe PATH.
%1</source>
        <translation>На устройстве несколько копий Korwind Navigator: выберите одну с помощью --exe PATH.
%1</translation>
    </message>
    <message>
        <source>Checking out Korwind Navigator executable file...</source>
        <translation>Проверка исполняемого файла Korwind Navigator...</translation>
    </message>
    <message>
        <source>The device was unplugged.</source>
        <translation>Устройство было отключено.</translation>
    </message>
    <message>
        <source>Searching for the KorwindContent folders...</source>
        <translation>Поиск папок KorwindContent...</translation>
    </message>
    <message>
        <source>Searching for Korwind Navigator updates...</source>
        <translation>Поиск обновлений Korwind Navigator...</translation>
    </message>
    <message>
        <source>Searching for map updates...</source>
        <translation>Поиск обновлений карт...</translation>
    </message>
    <message>
        <source>Asking the server about the files</source>
        <translation>Запрос сведений о файлах у сервера</translation>
    </message>
    <message>
        <source>Checking earlier downloads</source>
        <translation>Проверка ранее загруженных файлов</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Загрузка</translation>
    </message>
    <message>
        <source>Verifying the downloads</source>
        <translation>Проверка целостности загруженных файлов</translation>
    </message>
</context>
<context>
    <name>SettingsValues</name>
    <message>
        <source>Choose a folder to store the backups.</source>
        <translation>Выберите папку для резервных копий.</translation>
    </message>
    <message>
        <source>The folder to store the backups must be given with its full path.</source>
        <translation>Папку для резервных копий необходимо указать с полным путём.</translation>
    </message>
    <message>
        <source>The folder to store the backups, "%1", cannot be created.</source>
        <translation>Не удаётся создать папку для резервных копий "%1".</translation>
    </message>
    <message>
        <source>The folder to store the backups, "%1", cannot be written to.</source>
        <translation>Запись в папку для резервных копий "%1" невозможна.</translation>
    </message>
    <message>
        <source>Choose a folder to store downloaded files.</source>
        <translation>Выберите папку для загруженных файлов.</translation>
    </message>
    <message>
        <source>The folder to store downloaded files must be given with its full path.</source>
        <translation>Папку для загруженных файлов необходимо указать с полным путём.</translation>
    </message>
    <message>
        <source>The folder to store downloaded files, "%1", cannot be created.</source>
        <translation>Не удаётся создать папку для загруженных файлов "%1".</translation>
    </message>
    <message>
        <source>The folder to store downloaded files, "%1", cannot be written to.</source>
        <translation>Запись в папку для загруженных файлов "%1" невозможна.</translation>
    </message>
</context>
<context>
    <name>SettingsWidget</name>
    <message>
        <source>Software and components backup:</source>
        <translation>Резервное копирование программ и компонентов:</translation>
    </message>
    <message>
        <source>Automatically create backups</source>
        <translation>Автоматически создавать резервные копии</translation>
    </message>
    <message>
        <source>Manage backups</source>
        <translation>Управление резервными копиями</translation>
    </message>
    <message>
        <source>Folder to store the backups</source>
        <translation>Папка для резервных копий</translation>
    </message>
    <message>
        <source>Select the folder to store the backups</source>
        <translation>Выбрать папку для резервных копий</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Выбрать</translation>
    </message>
    <message>
        <source>Folder to store downloaded files</source>
        <translation>Папка для загруженных файлов</translation>
    </message>
    <message>
        <source>Select the folder to store downloaded files</source>
        <translation>Выбрать папку для загруженных файлов</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Язык интерфейса</translation>
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
        <translation>Выбор папки</translation>
    </message>
    <message>
        <source>&amp;Automatically create backups</source>
        <translation>&amp;Автоматически создавать резервные копии</translation>
    </message>
    <message>
        <source>&amp;Manage backups...</source>
        <translation>&amp;Управление резервными копиями...</translation>
    </message>
    <message>
        <source>Folder to store the &amp;backups:</source>
        <translation>Папка для &amp;резервных копий:</translation>
    </message>
    <message>
        <source>Folder to store &amp;downloaded files:</source>
        <translation>Папка для &amp;загруженных файлов:</translation>
    </message>
</context>
<context>
    <name>StorageText</name>
    <message>
        <source>device memory</source>
        <translation>память устройства</translation>
    </message>
    <message>
        <source>memory card</source>
        <translation>карта памяти</translation>
    </message>
    <message>
        <source>%1 free</source>
        <translation>свободно %1</translation>
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
        <translation>Установка завершена!</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Успешно</translation>
    </message>
</context>
<context>
    <name>TerminalProxyLogin</name>
    <message>
        <source>The proxy asks for a login.</source>
        <translation>Прокси-сервер запрашивает учётные данные.</translation>
    </message>
    <message>
        <source>User name: </source>
        <translation>Имя пользователя: </translation>
    </message>
    <message>
        <source>Password: </source>
        <translation>Пароль: </translation>
    </message>
</context>
<context>
    <name>TreeWidget</name>
    <message>
        <source>Entries</source>
        <translation>Записи</translation>
    </message>
</context>
<context>
    <name>TwoWindowWidget</name>
    <message>
        <source>Description</source>
        <translation>Описание</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Удалить</translation>
    </message>
</context>
<context>
    <name>UnfinishedUpdateWidget</name>
    <message>
        <source>The last update did not finish</source>
        <translation>Последнее обновление не завершено</translation>
    </message>
    <message>
        <source>Restore the backup</source>
        <translation>Восстановить резервную копию</translation>
    </message>
    <message>
        <source>The last update of this device did not finish, so the device may lack some of its maps or files.</source>
        <translation>Последнее обновление этого устройства не завершено, поэтому на устройстве может не хватать карт или файлов.</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 was being installed.</source>
        <translation>Шла установка Korwind Navigator %1.</translation>
    </message>
    <message>
        <source>Maps still to install: %1.</source>
        <translation>Ещё не установлены карты: %1.</translation>
    </message>
    <message>
        <source>To make room, these map files were removed before their new versions were in place: %1.</source>
        <translation>Чтобы освободить место, эти файлы карт были удалены до установки их новых версий: %1.</translation>
    </message>
    <message>
        <source>"Finish the update" installs what is missing, with the files already downloaded, and downloads the rest.</source>
        <translation>«Завершить обновление» установит недостающее из уже загруженных файлов и загрузит остальное.</translation>
    </message>
    <message>
        <source>Or put the device back as it was before the update, from the backup %1.</source>
        <translation>Или верните устройство в состояние до обновления из резервной копии %1.</translation>
    </message>
    <message>
        <source>It was begun on %1 at %2.</source>
        <translation>Оно было начато %1 в %2.</translation>
    </message>
    <message>
        <source>&amp;Restore the backup</source>
        <translation>&amp;Восстановить резервную копию</translation>
    </message>
</context>
<context>
    <name>UpdateCommand</name>
    <message>
        <source>downloaded</source>
        <translation>файлы загружены</translation>
    </message>
    <message>
        <source>Backing up the program and maps</source>
        <translation>Резервное копирование программы и карт</translation>
    </message>
    <message>
        <source>backed up</source>
        <translation>резервная копия создана</translation>
    </message>
    <message>
        <source>Preparing the installation</source>
        <translation>Подготовка к установке</translation>
    </message>
    <message>
        <source>prepared</source>
        <translation>установка подготовлена</translation>
    </message>
    <message>
        <source>Deleting old maps</source>
        <translation>Удаление старых карт</translation>
    </message>
    <message>
        <source>old maps deleted</source>
        <translation>старые карты удалены</translation>
    </message>
    <message>
        <source>Installing Korwind Navigator</source>
        <translation>Установка Korwind Navigator</translation>
    </message>
    <message>
        <source>navigator installed</source>
        <translation>навигатор установлен</translation>
    </message>
    <message>
        <source>Installing maps</source>
        <translation>Установка карт</translation>
    </message>
    <message>
        <source>maps installed</source>
        <translation>карты установлены</translation>
    </message>
    <message>
        <source>Nothing to update: Korwind Navigator and its maps are up to date.</source>
        <translation>Обновлять нечего: Korwind Navigator и его карты в актуальном состоянии.</translation>
    </message>
    <message>
        <source>Update is successfully completed!
You need to unplug your device before running Korwind Navigator.</source>
        <translation>Обновление успешно завершено!
Перед запуском Korwind Navigator отключите устройство от компьютера.</translation>
    </message>
    <message>
        <source>The folder of %1 cannot be written: the navigator is not updated.</source>
        <translation>Запись в папку, где находится %1, невозможна: навигатор не обновлён.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 is not offered for %2; offered: %3.</source>
        <translation>Korwind Navigator %1 не предлагается для %2; доступны: %3.</translation>
    </message>
    <message>
        <source>There is no content folder with the ID %1 on the device; korwind-update status lists them.</source>
        <translation>На устройстве нет папки с содержимым с ID %1; список папок выводит korwind-update status.</translation>
    </message>
    <message>
        <source>The content folder %1 cannot be written.</source>
        <translation>Запись в папку с содержимым %1 невозможна.</translation>
    </message>
    <message>
        <source>No content folder on the device can be written.</source>
        <translation>На устройстве нет папки с содержимым, доступной для записи.</translation>
    </message>
    <message>
        <source>Several content folders can take the maps: choose one with --content UID.
%1</source>
        <translation>Карты можно установить в несколько папок с содержимым: выберите одну с помощью --content UID.
%1</translation>
    </message>
    <message>
        <source>No map updates for Korwind Navigator %1 were found.</source>
        <translation>Обновления карт для Korwind Navigator %1 не найдены.</translation>
    </message>
    <message>
        <source>No flash cards with the KorwindContent folder were found on your device.
You cannot update maps with no flash card inserted.</source>
        <translation>На устройстве не найдено карт памяти с папкой KorwindContent.
Обновить карты без установленной карты памяти невозможно.</translation>
    </message>
    <message>
        <source>The map %1 cannot be installed together with the other maps chosen.</source>
        <translation>Карту %1 невозможно установить вместе с другими выбранными картами.</translation>
    </message>
    <message>
        <source>The update server offers no map %1 for Korwind Navigator %2.</source>
        <translation>Сервер обновлений не предлагает карту %1 для Korwind Navigator %2.</translation>
    </message>
    <message>
        <source>%1 is installed already.</source>
        <translation>Карта %1 уже установлена.</translation>
    </message>
    <message>
        <source>Not enough free space in %1: the maps need %2, available: %3.</source>
        <translation>Недостаточно свободного места в %1: для карт требуется %2, доступно: %3.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>Device %1: %2</source>
        <translation>Устройство %1: %2</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 (%2) is updated to %3.</source>
        <translation>Korwind Navigator %1 (%2) будет обновлён до версии %3.</translation>
    </message>
    <message>
        <source>Korwind Navigator %1 (%2) stays as it is.</source>
        <translation>Korwind Navigator %1 (%2) останется без изменений.</translation>
    </message>
    <message>
        <source>Maps in %1:</source>
        <translation>Карты в %1:</translation>
    </message>
    <message>
        <source>install %1 (%2)</source>
        <translation>установить %1 (%2)</translation>
    </message>
    <message>
        <source>remove %1</source>
        <translation>удалить %1</translation>
    </message>
    <message>
        <source>no changes</source>
        <translation>без изменений</translation>
    </message>
    <message>
        <source>A backup of the program and maps is made in %1.</source>
        <translation>Резервная копия программы и карт будет создана в %1.</translation>
    </message>
    <message>
        <source>Updating Korwind Navigator to %1:</source>
        <translation>Обновление Korwind Navigator до версии %1:</translation>
    </message>
    <message>
        <source>Updating maps:</source>
        <translation>Обновление карт:</translation>
    </message>
    <message>
        <source>The same files were backed up before; that backup is kept.</source>
        <translation>Резервная копия этих файлов уже существует; она сохраняется.</translation>
    </message>
    <message>
        <source>Backup %1 made.</source>
        <translation>Резервная копия %1 создана.</translation>
    </message>
    <message>
        <source>Not installed: --yes installs it all the same.</source>
        <translation>Не установлено: чтобы установить несмотря на это, используйте --yes.</translation>
    </message>
    <message>
        <source>Nothing was done.</source>
        <translation>Ничего не выполнено.</translation>
    </message>
    <message>
        <source>Done before: %1.</source>
        <translation>До этого выполнено: %1.</translation>
    </message>
    <message>
        <source>korwind-update restore %1 puts back the files as they were before.</source>
        <translation>korwind-update restore %1 вернёт файлы в прежнее состояние.</translation>
    </message>
    <message>
        <source>The device may hold part of the update.</source>
        <translation>На устройстве может остаться часть обновления.</translation>
    </message>
    <message>
        <source>It is finished first.</source>
        <translation>Сначала оно будет завершено.</translation>
    </message>
    <message>
        <source>The unfinished update is finished.</source>
        <translation>Незавершённое обновление завершено.</translation>
    </message>
    <message>
        <source>the folder's other map data is deleted once the new maps are in place</source>
        <translation>остальные данные карт папки удаляются после установки новых карт</translation>
    </message>
</context>
<context>
    <name>UpdateProgressEntryWidget</name>
    <message>
        <source>Stage progress</source>
        <translation>Ход этапа</translation>
    </message>
    <message>
        <source>Speed: %1;</source>
        <translation>Скорость: %1;</translation>
    </message>
    <message>
        <source>done: %1 from %2 (%3%);</source>
        <translation>выполнено: %1 из %2 (%3%);</translation>
    </message>
    <message>
        <source>time left: %1</source>
        <translation>осталось: %1</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Выполняется</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Готово</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>Ожидает</translation>
    </message>
</context>
<context>
    <name>UpdateStagesWidget</name>
    <message>
        <source>Updating Korwind Navigator update center</source>
        <translation>Обновление центра обновления Korwind Navigator</translation>
    </message>
    <message>
        <source>Updating maps</source>
        <translation>Обновление карт</translation>
    </message>
    <message>
        <source>Updating Korwind Navigator</source>
        <translation>Обновление Korwind Navigator</translation>
    </message>
    <message>
        <source>Preparing for download</source>
        <translation>Подготовка к загрузке</translation>
    </message>
    <message>
        <source>Checking files</source>
        <translation>Проверка файлов</translation>
    </message>
    <message>
        <source>Downloading files</source>
        <translation>Загрузка файлов</translation>
    </message>
    <message>
        <source>Downloading file: </source>
        <translation>Загрузка файла: </translation>
    </message>
    <message>
        <source>Verifying files</source>
        <translation>Проверка целостности файлов</translation>
    </message>
    <message>
        <source>Creating backup</source>
        <translation>Создание резервной копии</translation>
    </message>
    <message>
        <source>Preparing for update installation</source>
        <translation>Подготовка к установке обновления</translation>
    </message>
    <message>
        <source>Deleting old maps</source>
        <translation>Удаление старых карт</translation>
    </message>
    <message>
        <source>Installing update</source>
        <translation>Установка обновления</translation>
    </message>
    <message>
        <source>Installing file: </source>
        <translation>Установка файла: </translation>
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
    <message>
        <source>dddd, MMMM dd, yyyy</source>
        <translation>dddd, d MMMM yyyy</translation>
    </message>
    <message>
        <source>%1,%2</source>
        <translation>%1,%2</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>ГБ</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>МБ</translation>
    </message>
    <message>
        <source>%1,%2 GB/s</source>
        <translation>%1,%2 ГБ/с</translation>
    </message>
    <message>
        <source>%1 MB/s</source>
        <translation>%1 МБ/с</translation>
    </message>
    <message>
        <source>%1,%2 MB/s</source>
        <translation>%1,%2 МБ/с</translation>
    </message>
    <message>
        <source>%1 KB/s</source>
        <translation>%1 КБ/с</translation>
    </message>
    <message>
        <source>%1,%2 KB/s</source>
        <translation>%1,%2 КБ/с</translation>
    </message>
    <message>
        <source>%1 B/s</source>
        <translation>%1 Б/с</translation>
    </message>
</context>
<context>
    <name>WarningFrame</name>
    <message>
        <source>Warning</source>
        <translation>Внимание</translation>
    </message>
</context>
<context>
    <name>WorkLock</name>
    <message>
        <source>the device %1</source>
        <translation>устройством %1</translation>
    </message>
    <message>
        <source>the backups folder %1</source>
        <translation>папкой для резервных копий %1</translation>
    </message>
    <message>
        <source>Cannot create the folder %1 for the lock files.</source>
        <translation>Не удаётся создать папку %1 для файлов блокировки.</translation>
    </message>
    <message>
        <source>Cannot write the lock file in %1.</source>
        <translation>Не удаётся записать файл блокировки в %1.</translation>
    </message>
    <message>
        <source>Another korwind-update (process %1) is working on %2.</source>
        <translation>С %2 уже работает другой экземпляр korwind-update (процесс %1).</translation>
    </message>
</context>
<context>
    <name>vktpdl::QRapiFile</name>
    <message>
        <source>The file %1 cannot be opened on the device (error %2).</source>
        <translation>Не удаётся открыть файл %1 на устройстве (ошибка %2).</translation>
    </message>
    <message>
        <source>Reading from the device failed (error %1).</source>
        <translation>Не удалось выполнить чтение с устройства (ошибка %1).</translation>
    </message>
    <message>
        <source>Writing to the device failed (error %1).</source>
        <translation>Не удалось выполнить запись на устройство (ошибка %1).</translation>
    </message>
</context>
</TS>