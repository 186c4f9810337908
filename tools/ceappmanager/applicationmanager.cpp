#include "applicationmanager.h"

#include "cabinetfile.h"
#include "registrytextfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

// The setup hooks as the Windows CE installer calls them.
using InstallInit = int (*)(void *parentWindow, int firstCall, int previouslyInstalled, const char16_t *installFolder);
using InstallExit = int (*)(void *parentWindow, const char16_t *installFolder, quint16 failedFolders,
                            quint16 failedFiles, quint16 failedRegistryKeys, quint16 failedRegistryValues,
                            quint16 failedShortcuts);

const QString setupFileName = QStringLiteral("_setup.xml");
const QString markerName = QStringLiteral("InstlDir");
constexpr int hooksContinue = 0;

struct InstalledFile
{
    QString source;
    QString target;
};

struct RegistryEntry
{
    QString key;
    QString name;
    QString value;
};

struct Setup
{
    QString application;
    QString folder;
    QString hooks;
    QList<InstalledFile> files;
    QList<RegistryEntry> registry;
};

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char('/'));
}

bool isDevicePath(const QString &path)
{
    return path.startsWith(QLatin1Char('\\')) && !path.contains(QLatin1Char('/'))
           && !path.split(QLatin1Char('\\')).contains(QStringLiteral(".."));
}

bool readSetup(const QByteArray &document, const CabinetFile::Entries &entries, Setup &setup, QString &error)
{
    QXmlStreamReader xml(document);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("setup")) {
        error = QStringLiteral("%1 has no setup element").arg(setupFileName);
        return false;
    }
    setup.application = xml.attributes().value(QLatin1String("application")).toString();
    setup.folder = xml.attributes().value(QLatin1String("folder")).toString();
    setup.hooks = xml.attributes().value(QLatin1String("hooks")).toString();
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("file")) {
            const QString name = attributes.value(QLatin1String("name")).toString();
            const QString source = attributes.hasAttribute(QLatin1String("source"))
                                       ? attributes.value(QLatin1String("source")).toString()
                                       : name;
            const QString folder = attributes.hasAttribute(QLatin1String("folder"))
                                       ? attributes.value(QLatin1String("folder")).toString()
                                       : setup.folder;
            if (!isPlainName(name) || !isDevicePath(folder) || !CabinetFile::find(entries, source)) {
                error = QStringLiteral("the file \"%1\" cannot be installed").arg(name);
                return false;
            }
            setup.files.append({source, folder + (folder.endsWith(QLatin1Char('\\')) ? QString() : QStringLiteral("\\")) + name});
        } else if (xml.name() == QLatin1String("registry")) {
            setup.registry.append({attributes.value(QLatin1String("key")).toString(),
                                   attributes.value(QLatin1String("name")).toString(),
                                   attributes.value(QLatin1String("value")).toString()});
        }
        xml.skipCurrentElement();
    }
    if (xml.hasError()) {
        error = QStringLiteral("%1 is damaged: %2").arg(setupFileName, xml.errorString());
        return false;
    }
    if (!isPlainName(setup.application) || !isDevicePath(setup.folder)) {
        error = QStringLiteral("%1 names no application or folder").arg(setupFileName);
        return false;
    }
    if (!setup.hooks.isEmpty() && !CabinetFile::find(entries, setup.hooks)) {
        error = QStringLiteral("the setup library \"%1\" is not in the cab").arg(setup.hooks);
        return false;
    }
    return true;
}

// The host file that a description's relative path names, each level matched ignoring case as on the PC
// this program stands for.
QString resolveRelative(const QString &folder, const QString &relative)
{
    QDir current(folder);
    const QStringList levels = relative.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < levels.size(); ++i) {
        const QString &level = levels.at(i);
        if (level == QLatin1String("..")) {
            if (!current.cdUp())
                return QString();
            continue;
        }
        const QStringList entries = current.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        const auto found = std::find_if(entries.cbegin(), entries.cend(), [&](const QString &entry) {
            return entry.compare(level, Qt::CaseInsensitive) == 0;
        });
        if (found == entries.cend())
            return QString();
        if (i + 1 == levels.size())
            return current.filePath(*found);
        if (!current.cd(*found))
            return QString();
    }
    return QString();
}

// The value of key in the section, from "Key =Value" lines.
QString descriptionValue(const QStringList &lines, const QString &section, const QString &key)
{
    bool inSection = false;
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            inSection = trimmed.mid(1, trimmed.size() - 2).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        if (inSection && equals > 0 && trimmed.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return trimmed.mid(equals + 1).trimmed();
    }
    return QString();
}

} // namespace

ApplicationManager::ApplicationManager(const QString &deviceFolder) : m_device(deviceFolder) {}

bool ApplicationManager::installDescription(const QString &descriptionFile, QString &error)
{
    QFile file(descriptionFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(descriptionFile, file.errorString());
        return false;
    }
    const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
    const QString component = descriptionValue(lines, QStringLiteral("CEAppManager"), QStringLiteral("Component"));
    const QString cabs = descriptionValue(lines, component, QStringLiteral("CabFiles"));
    if (component.isEmpty() || cabs.isEmpty()) {
        error = QStringLiteral("%1 names no cab").arg(descriptionFile);
        return false;
    }
    const QString folder = QFileInfo(descriptionFile).absolutePath();
    for (const QString &relative : cabs.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString cab = resolveRelative(folder, relative.trimmed());
        if (cab.isEmpty()) {
            error = QStringLiteral("the cab %1 is not there").arg(relative.trimmed());
            return false;
        }
        if (!installCab(cab, error))
            return false;
    }
    return true;
}

quint32 ApplicationManager::makeFolder(const QString &path)
{
    QString level;
    for (const QString &name : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        level += QLatin1Char('\\') + name;
        quint32 attributes = 0;
        if (m_device.attributes(level, attributes) == RE_SUCCESS)
            continue;
        const quint32 result = m_device.createFolder(level);
        if (result != RE_SUCCESS)
            return result;
    }
    return RE_SUCCESS;
}

bool ApplicationManager::installCab(const QString &cabFile, QString &error)
{
    CabinetFile::Entries entries;
    if (!CabinetFile::read(cabFile, entries, error))
        return false;
    const QByteArray *document = CabinetFile::find(entries, setupFileName);
    Setup setup;
    if (!document) {
        error = QStringLiteral("%1 holds no %2").arg(cabFile, setupFileName);
        return false;
    }
    if (!readSetup(*document, entries, setup, error))
        return false;

    RegistryTextFile registry;
    if (!registry.load(m_device.registryPath())) {
        error = QStringLiteral("the device's registry cannot be read");
        return false;
    }
    const QString applicationKey = RegistryTextFile::localMachineKey(QStringLiteral("Software\\Apps\\") + setup.application);
    RegistryValue marker;
    const bool previouslyInstalled = registry.value(applicationKey, markerName, marker);

    // The setup library is loaded from a private copy, as the device's installer loads it from the cab.
    QTemporaryDir hooksFolder;
    QLibrary hooks;
    InstallExit installExit = nullptr;
    const std::u16string folder = setup.folder.toStdU16String();
    if (!setup.hooks.isEmpty()) {
        QFile copy(hooksFolder.filePath(QStringLiteral("setup.so")));
        const QByteArray *library = CabinetFile::find(entries, setup.hooks);
        if (!hooksFolder.isValid() || !copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)
            || copy.write(*library) != library->size() || !copy.flush()) {
            error = QStringLiteral("the setup library cannot be unpacked");
            return false;
        }
        copy.close();
        hooks.setFileName(copy.fileName());
        const auto installInit = reinterpret_cast<InstallInit>(hooks.resolve("Install_Init"));
        installExit = reinterpret_cast<InstallExit>(hooks.resolve("Install_Exit"));
        if (!installInit) {
            error = QStringLiteral("the setup library has no Install_Init: %1").arg(hooks.errorString());
            return false;
        }
        if (installInit(nullptr, 1, previouslyInstalled ? 1 : 0, folder.c_str()) != hooksContinue) {
            error = QStringLiteral("the setup library cancelled the installation");
            return false;
        }
    }

    if (makeFolder(setup.folder) != RE_SUCCESS) {
        error = QStringLiteral("%1 cannot be made on the device").arg(setup.folder);
        return false;
    }
    for (const InstalledFile &file : setup.files) {
        const qsizetype separator = file.target.lastIndexOf(QLatin1Char('\\'));
        QFile target;
        quint32 result = makeFolder(file.target.left(separator));
        if (result == RE_SUCCESS)
            result = m_device.openFile(file.target, RA_WRITE, RC_CREATE_ALWAYS, target);
        const QByteArray *content = CabinetFile::find(entries, file.source);
        if (result != RE_SUCCESS || target.write(*content) != content->size() || !target.flush()) {
            error = QStringLiteral("%1 cannot be written on the device (error %2)").arg(file.target).arg(result);
            return false;
        }
    }
    for (const RegistryEntry &entry : setup.registry) {
        if (!registry.setText(RegistryTextFile::localMachineKey(entry.key), entry.name, entry.value)) {
            error = QStringLiteral("the registry value %1 cannot be written").arg(entry.name);
            return false;
        }
    }
    registry.setText(applicationKey, markerName, setup.folder);
    if (!registry.save(m_device.registryPath())) {
        error = QStringLiteral("the device's registry cannot be written");
        return false;
    }
    if (installExit)
        installExit(nullptr, folder.c_str(), 0, 0, 0, 0, 0);
    hooks.unload();
    return true;
}
