#include "demoworld.h"

#include "cabinetfile.h"
#include "cedevicefixture.h"
#include "fixturemachine.h"
#include "mapfilewriter.h"
#include "pefixture.h"
#include "phonefixture.h"
#include "programfolder.h"
#include "zipforge.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <vector>

namespace {

constexpr quint64 MiB = 1024 * 1024;

// This release's maps and the older ones the device holds.
constexpr quint32 newFirstVersion = 20121;
constexpr quint32 newSecondVersion = 20120315;
constexpr quint32 oldFirstVersion = 20111;
constexpr quint32 oldSecondVersion = 20110401;
constexpr quint32 demoIndexId = 0x444d0001; // outside the legacy maps' table, so the headers are read

struct DemoMap
{
    const char *fileName;
    const char *code;
    const char *englishName;
    const char *russianName;
    const char *description;
    quint64 size; // of this release's file; the device's older file is a little smaller
    const char *dependsOn; // a package code, or nullptr
    const char *replaces;  // a package code, or nullptr
};

const DemoMap demoMaps[] = {
    {"Base.nm3", "korwind.base", "Base map", "Базовая карта", "Main roads and borders of Europe and Asia",
     3 * MiB + 120 * 1024, nullptr, nullptr},
    {"RUS.nm3", "korwind.rus", "Russia", "Россия", "Roads between the cities of Russia", 5 * MiB + 310 * 1024,
     "korwind.base", nullptr},
    {"RUS_Central.nm3", "korwind.rus.central", "Russia, Central", "Россия, Центр",
     "Moscow and the central regions: streets, addresses and points of interest", 4 * MiB + 512 * 1024, "korwind.rus",
     nullptr},
    {"RUS_NorthWest.nm3", "korwind.rus.northwest", "Russia, North-West", "Россия, Северо-Запад",
     "Saint Petersburg and the north-west: streets, addresses and points of interest", 4 * MiB + 64 * 1024,
     "korwind.rus", nullptr},
    {"RUS_South.nm3", "korwind.rus.south", "Russia, South", "Россия, Юг",
     "The south and the Black Sea coast: streets, addresses and points of interest", 3 * MiB + 700 * 1024,
     "korwind.rus", nullptr},
    {"RUS_Volga.nm3", "korwind.rus.volga", "Russia, Volga", "Россия, Поволжье",
     "The Volga region: streets, addresses and points of interest", 3 * MiB + 256 * 1024, "korwind.rus", nullptr},
    {"RUS_Ural.nm3", "korwind.rus.ural", "Russia, Ural", "Россия, Урал",
     "The Urals: streets, addresses and points of interest", 2 * MiB + 900 * 1024, "korwind.rus", nullptr},
    {"RUS_Siberia.nm3", "korwind.rus.siberia", "Russia, Siberia", "Россия, Сибирь",
     "Siberia: streets, addresses and points of interest", 2 * MiB + 640 * 1024, "korwind.rus", nullptr},
    {"RUS_FarEast.nm3", "korwind.rus.fareast", "Russia, Far East", "Россия, Дальний Восток",
     "The Far East: streets, addresses and points of interest", 2 * MiB + 128 * 1024, "korwind.rus", nullptr},
    {"BLR.nm3", "korwind.blr", "Belarus", "Беларусь", "All of Belarus; replaces the city map of Minsk",
     3 * MiB + 400 * 1024, "korwind.base", "korwind.blr.minsk"},
    {"UKR.nm3", "korwind.ukr", "Ukraine", "Украина", "All of Ukraine: streets, addresses and points of interest",
     4 * MiB + 800 * 1024, "korwind.base", nullptr},
    {"KAZ.nm3", "korwind.kaz", "Kazakhstan", "Казахстан", "All of Kazakhstan: main roads and cities",
     2 * MiB + 300 * 1024, "korwind.base", nullptr},
};

// An older map that no longer exists on its own: the new Belarus map replaces it.
const DemoMap minskMap = {"BLR_Minsk.nm3", "korwind.blr.minsk", "Minsk", "Минск", "The city of Minsk",
                          MiB + 200 * 1024, nullptr, nullptr};

const quint16 oldNavigatorVersion[4] = {5, 1, 0, 0};
const quint16 newNavigatorVersion[4] = {5, 2, 0, 0};
const char navigatorPackage[] = "KorwindNavigator_5.2.0.0.zip";
const char navigatorCab[] = "KorwindNavigator_5.2.0.0.cab";

// Writes files and folders below the world, remembering the first failure.
class WorldWriter
{
public:
    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    void fail(const QString &what)
    {
        if (ok())
            m_error = what;
    }

    void folder(const QString &path)
    {
        if (ok() && !QDir().mkpath(path))
            fail(QStringLiteral("cannot create ") + path);
    }

    void file(const QString &path, const QByteArray &contents)
    {
        folder(QFileInfo(path).path());
        QFile out(path);
        if (ok() && (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(contents) != contents.size()))
            fail(QStringLiteral("cannot write ") + path);
    }

    void append(const QString &path, const QByteArray &contents)
    {
        QFile out(path);
        if (ok() && (!out.open(QIODevice::WriteOnly | QIODevice::Append) || out.write(contents) != contents.size()))
            fail(QStringLiteral("cannot write ") + path);
    }

    void map(const QString &path, const MapFileRecipe &recipe)
    {
        folder(QFileInfo(path).path());
        if (ok() && !writeMapFile(recipe, path))
            fail(QStringLiteral("cannot write ") + path);
    }

private:
    QString m_error;
};

// Bytes that do not compress, the same on every run: data files of the navigator.
QByteArray filler(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = seed | 1;
    for (char &byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = char(state >> 24);
    }
    return bytes;
}

QByteArray navigatorExecutable(const quint16 (&version)[4])
{
    PeFixture fixture;
    for (int i = 0; i < 4; ++i)
        fixture.fileVersion[i] = version[i];
    fixture.internalName = u"korwind";
    const std::vector<unsigned char> bytes = writePeFixture(fixture);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray sha1Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

MapFileRecipe mapRecipe(const DemoMap &map, bool older)
{
    MapFileRecipe recipe;
    recipe.indexId = demoIndexId;
    recipe.firstVersion = older ? oldFirstVersion : newFirstVersion;
    recipe.secondVersion = older ? oldSecondVersion : newSecondVersion;
    recipe.packageCode = map.code;
    recipe.titles = {{1033, map.englishName}, {1049, map.russianName}};
    recipe.versionTexts = {{1033, older ? "2011.1" : "2012.1"}, {1049, older ? "2011 I кв." : "2012 I кв."}};
    recipe.fileSize = older ? map.size - 256 * 1024 : map.size;
    return recipe;
}

// One record of the map package list in the server's wire format; "@file" names a file of files/.
QByteArray mapRecord(const DemoMap &map)
{
    const QByteArray code(map.code);
    QByteArray record = QByteArray(map.englishName) + '\n' + code + '\n' + map.description + "\n2012.1\n"
                        + QByteArray::number(newFirstVersion) + '.' + QByteArray::number(newSecondVersion) + '\n'
                        + code.mid(code.indexOf('.') + 1) + "\n@file " + map.fileName + '\n';
    if (map.dependsOn)
        record += QByteArray("depends,") + map.dependsOn + " (>= " + QByteArray::number(newFirstVersion) + ".0)\n";
    if (map.replaces)
        record += QByteArray("replaces,") + map.replaces + '\n';
    return record + '\n';
}

QByteArray identityFile(const char *uid)
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KorwindContentInfo>\n    <Version>1</Version>\n"
                      "    <UID>")
           + uid + "</UID>\n</KorwindContentInfo>\n";
}

void writeCatalogue(WorldWriter &out, const QString &catalogue, const QByteArray &oldExecutable)
{
    const QString files = catalogue + QStringLiteral("/files/");
    QByteArray mapList;
    for (const DemoMap &map : demoMaps) {
        out.map(files + QLatin1String(map.fileName), mapRecipe(map, false));
        mapList += mapRecord(map);
    }
    out.file(catalogue + QStringLiteral("/maps/default.txt"), mapList + "DATAEND\n");

    const QByteArray newExecutable = navigatorExecutable(newNavigatorVersion);
    const QList<QPair<QByteArray, QByteArray>> contents = {
        {"Korwind/Korwind.exe", newExecutable},
        {"Korwind/data/ui.dat", filler(qsizetype(MiB + 300 * 1024), 52)},
        {"Korwind/data/voices/en.dat", filler(qsizetype(MiB), 53)},
        {"Korwind/data/voices/ru.dat", filler(qsizetype(MiB + 100 * 1024), 54)},
        {"Korwind/readme.txt", "Korwind Navigator 5.2.0.0\n\nFaster routing, lane guidance on motorways and new "
                               "speed camera warnings.\n"}};
    ZipForge zip;
    for (const auto &[name, data] : contents) {
        ZipForge::Entry entry;
        entry.name = name;
        entry.data = data;
        // Data that does not compress is stored, as packers do.
        entry.method = name.endsWith(".dat") ? 0 : 8;
        zip.add(entry);
    }
    out.file(files + QLatin1String(navigatorPackage), zip.build());
    // The server knows the navigator by the SHA-1 of its executable, the older and this release's.
    out.file(catalogue + QStringLiteral("/navigators.txt"),
             QByteArray("name: Korwind Navigator\n"
                        "description: Faster routing, lane guidance on motorways and new speed camera warnings.\n"
                        "version: 5.2.0.0\nfile: ")
                 + navigatorPackage + "\ntypefile: zip\ndevicenames: NAVI 5\nchecksums: " + sha1Hex(oldExecutable)
                 + ", " + sha1Hex(newExecutable) + '\n');
}

void writeDevice(WorldWriter &out, const QString &memory, const QString &card, const QByteArray &oldExecutable)
{
    const QString navigator = memory + QStringLiteral("/Korwind/");
    out.file(navigator + QStringLiteral("Korwind.exe"), oldExecutable);
    // No data path: the navigator finds its maps on either storage, so the user chooses.
    out.file(navigator + QStringLiteral("settings.ini"),
             "[General]\r\nLanguage=en\r\nUnits=metric\r\nVoice=data\\voices\\en.dat\r\n");
    out.file(navigator + QStringLiteral("data/ui.dat"), filler(qsizetype(MiB + 200 * 1024), 51));
    out.file(navigator + QStringLiteral("data/voices/en.dat"), filler(qsizetype(900 * 1024), 50));

    const QString memoryMaps = memory + QStringLiteral("/KorwindContent/Maps/");
    out.file(memory + QStringLiteral("/KorwindContent/KorwindContentInfo.xml"),
             identityFile("{7c1e5a2d-3b4f-4e8a-9d06-5f2b8c41a7e3}"));
    for (const DemoMap *map : {&demoMaps[0], &demoMaps[1], &demoMaps[2], &minskMap})
        out.map(memoryMaps + QLatin1String(map->fileName), mapRecipe(*map, true));
    // Data the navigator keeps beside its maps, removed with the old maps.
    out.file(memoryMaps + QStringLiteral("speedcams.txt"), "37.6173,55.7558,60\n30.3351,59.9343,80\n");
    out.file(memoryMaps + QStringLiteral("cache/routes.idx"), filler(qsizetype(300 * 1024), 55));

    out.file(card + QStringLiteral("/KorwindContent/KorwindContentInfo.xml"),
             identityFile("{d94b07f1-62ac-4c35-8e1b-0a3f6d2e9c58}"));
    out.map(card + QStringLiteral("/KorwindContent/Maps/UKR.nm3"), mapRecipe(demoMaps[10], true));
}

// A phone with the same older navigator, found through the emulated connectivity library; its package in
// the catalogue is the emulated phone's installation package.
void writePhone(WorldWriter &out, const QString &catalogue, const QString &phones, const QString &configuration)
{
    PhoneFixture phone;
    phone.applications = {{QStringLiteral("10203040"), QStringLiteral("2.0(12)"), QStringLiteral("Clock")},
                          {QStringLiteral("2002bfb2-0000-1111"), QStringLiteral("5.1(1234)"),
                           QStringLiteral("Korwind Navigator")}};
    QString error;
    if (out.ok() && !(phone.write(phones, &error) && PhoneFixture::writeLibraryConfiguration(configuration, &error)
                      && PhoneFixture::writePackage(catalogue + QStringLiteral("/files/KorwindNavigator_5.2.0.0.sis"),
                                                    {QStringLiteral("2002bfb2-0000-1111"), QStringLiteral("5.2(0)"),
                                                     QStringLiteral("Korwind Navigator")},
                                                    &error)))
        out.fail(error);
    out.append(catalogue + QStringLiteral("/navigators.txt"),
               "\nname: Korwind Navigator\ndescription: Faster routing and lane guidance on motorways.\n"
               "version: 5.2.0.0\nfile: KorwindNavigator_5.2.0.0.sis\ntypefile: sis\ndevicenames: SYMBIAN\n");
}

// A Windows Mobile device reached over the emulated remote API: the older navigator in its default folder,
// older maps on its card, no device-side module; the PC's sync software runs the emulated application
// manager built beside the programs. The catalogue offers the newer navigator for it as a cab.
void writeActiveSyncDevice(WorldWriter &out, const QString &folder, const QString &catalogue,
                           const QByteArray &oldExecutable)
{
    CeDeviceFixture device(folder);
    const QString navigatorFolder = QStringLiteral("\\Program files\\DRQ\\Korwind Navigator");
    const QString content = QStringLiteral("\\Storage Card\\KorwindContent");
    if (!device.makeWindowsMobile(QStringLiteral("Korwind PNA"))
        || !device.installSyncSoftware(programFolder() + QStringLiteral("/vkt-ceappmgr"))
        || !device.addFile(navigatorFolder + QStringLiteral("\\Korwind.exe"), oldExecutable)
        || !device.addStorageCard(QStringLiteral("Storage Card"))
        || !device.addFile(content + QStringLiteral("\\KorwindContentInfo.xml"),
                           identityFile("{3f0c8e21-9a5d-4b7e-8c13-6d2f0a9b4e75}")))
        out.fail(QStringLiteral("cannot write the Windows Mobile device in ") + folder);
    for (const DemoMap *map : {&demoMaps[0], &demoMaps[1]})
        out.map(device.hostPath(content + QStringLiteral("\\Maps\\")) + QLatin1String(map->fileName),
                mapRecipe(*map, true));

    const QByteArray newExecutable = navigatorExecutable(newNavigatorVersion);
    const QByteArray setup = "<setup application=\"DRQ Korwind Navigator\" folder=\"" + navigatorFolder.toUtf8()
                             + "\"><file name=\"Korwind.exe\"/><registry key=\"\\Software\\Apps\\DRQ Korwind Navigator\" "
                               "name=\"InstallDir\" value=\"" + navigatorFolder.toUtf8() + "\"/></setup>\n";
    QString error;
    if (out.ok() && !CabinetFile::write(catalogue + QStringLiteral("/files/") + QLatin1String(navigatorCab),
                                        {{QStringLiteral("_setup.xml"), setup}, {QStringLiteral("Korwind.exe"), newExecutable}},
                                        error))
        out.fail(error);
    const QByteArray block = QByteArray("\nname: Korwind Navigator\ndescription: Faster routing and lane guidance.\n"
                                        "version: 5.2.0.0\nfile: ")
                             + navigatorCab + "\ntypefile: cab\ndevicenames: Korwind PNA\nchecksums: "
                             + sha1Hex(oldExecutable) + ", " + sha1Hex(newExecutable) + '\n';
    out.append(catalogue + QStringLiteral("/navigators.txt"), block);
}

FixtureVolume volume(const QString &mountPoint, const QString &label, const QString &uuid)
{
    FixtureVolume result;
    result.mountPoint = mountPoint;
    result.label = label;
    result.uuid = uuid;
    return result;
}

// One USB device with two LUNs, as a navigation device shows its memory and its card.
FixtureMachine deviceMachine(const QString &memory, const QString &card)
{
    FixtureUsbDevice usb;
    usb.vendorId = QStringLiteral("4b57");
    usb.productId = QStringLiteral("0105");
    usb.serial = QStringLiteral("KWN5-0001234");
    FixtureDisk memoryDisk;
    memoryDisk.vendor = QStringLiteral("Korwind");
    memoryDisk.model = QStringLiteral("NAVI 5");
    memoryDisk.volumes.append(volume(memory, QStringLiteral("NAVI"), QStringLiteral("4E41-5649")));
    FixtureDisk cardDisk;
    cardDisk.vendor = QStringLiteral("Korwind");
    cardDisk.model = QStringLiteral("NAVI 5 SD");
    cardDisk.volumes.append(volume(card, QStringLiteral("NAVI_SD"), QStringLiteral("5344-0001")));
    usb.luns = {memoryDisk, cardDisk};
    FixtureMachine machine;
    machine.usbDevices.append(usb);
    return machine;
}

} // namespace

DemoWorld::DemoWorld(const QString &folder) : m_folder(QDir(folder).absolutePath()) {}

QString DemoWorld::catalogue() const { return m_folder + QStringLiteral("/catalogue"); }
QString DemoWorld::machine() const { return m_folder + QStringLiteral("/machine"); }
QString DemoWorld::configuration() const { return m_folder + QStringLiteral("/config"); }
QString DemoWorld::deviceMemory() const { return machine() + QStringLiteral("/media/NAVI"); }
QString DemoWorld::memoryCard() const { return machine() + QStringLiteral("/media/NAVI_SD"); }
QString DemoWorld::phones() const { return m_folder + QStringLiteral("/phones"); }
QString DemoWorld::phoneLibraryConfiguration() const { return m_folder + QStringLiteral("/phone-library.conf"); }
QString DemoWorld::phoneCard() const { return PhoneFixture().drive(phones(), QStringLiteral("E")); }
QString DemoWorld::activeSyncDevice() const { return m_folder + QStringLiteral("/activesync"); }
QString DemoWorld::downloads() const { return m_folder + QStringLiteral("/downloads"); }
QString DemoWorld::backups() const { return m_folder + QStringLiteral("/backups"); }

bool DemoWorld::write(QString *error) const
{
    WorldWriter out;
    const QByteArray oldExecutable = navigatorExecutable(oldNavigatorVersion);
    writeCatalogue(out, catalogue(), oldExecutable);
    writeDevice(out, deviceMemory(), memoryCard(), oldExecutable);
    writePhone(out, catalogue(), phones(), phoneLibraryConfiguration());
    writeActiveSyncDevice(out, activeSyncDevice(), catalogue(), oldExecutable);
    QString machineError;
    if (out.ok() && !writeFixtureMachine(machine(), deviceMachine(deviceMemory(), memoryCard()), &machineError))
        out.fail(machineError);
    out.folder(downloads());
    out.folder(backups());

    // The program's settings store, as it reads it below XDG_CONFIG_HOME.
    QSettings settings(configuration() + QStringLiteral("/DRQ/Korwind Navigator update center.conf"),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("downloadsDirectory"), downloads());
    settings.setValue(QStringLiteral("backupsDirectory"), backups());
    settings.sync();
    if (settings.status() != QSettings::NoError)
        out.fail(QStringLiteral("cannot write ") + settings.fileName());

    if (error)
        *error = out.error();
    return out.ok();
}
