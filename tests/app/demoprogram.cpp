#include "demoprogram.h"

#include "appsettings.h"
#include "errorwidget.h"
#include "sharedtypes.h"
#include "successwidget.h"
#include "treeitemdelegate.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTreeWidget>

namespace {

constexpr int stepTimeoutMs = 120000;
const QString language = QStringLiteral("en_US");

} // namespace

bool DemoSession::start(QString *error)
{
    if (!m_folder.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    m_world = std::make_unique<DemoWorld>(m_folder.filePath(QStringLiteral("world")));
    if (!m_world->write(error))
        return false;
    // The program finds the device and its settings where tools/demo points it.
    qputenv("VKT_MACHINE_ROOT", QFile::encodeName(m_world->machine()));
    QCoreApplication::setOrganizationName(QStringLiteral("DRQ"));
    QCoreApplication::setApplicationName(QStringLiteral("Korwind Navigator update center"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_world->configuration());
    registerSharedTypes();
    m_data = std::make_unique<ApplicationData>(m_folder.path());
    if (!m_server.start(m_world->catalogue())) {
        *error = m_server.errorText();
        return false;
    }
    return true;
}

DemoProgram::DemoProgram(const QString &serverUrl)
    : devices({[] { return AppSettings::downloadsDirectory(); }, [] { return AppSettings::backupsDirectory(); },
               language}),
      network([] { return AppSettings::networkSettings(language); })
{
    network.setServerBaseUrl(serverUrl);
    window = std::make_unique<MainWindow>(&devices, &network, &packages);
    window->resize(820, 600);
    window->show();
}

QString DemoProgram::page() const
{
    return window->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"))->currentWidget()->objectName();
}

QString DemoProgram::waitFor(const QString &name) const
{
    const QStringList failures = {QStringLiteral("errorPage"), QStringLiteral("deviceNotFoundPage")};
    if (QTest::qWaitFor([&] { return page() == name || (failures.contains(page()) && !failures.contains(name)); },
                        stepTimeoutMs)
        && page() == name)
        return QString();
    return QStringLiteral("waiting for %1, the window shows %2: %3")
        .arg(name, page(), pageText(QStringLiteral("errorPage")));
}

bool DemoProgram::click(const QString &name) const
{
    auto *button = window->findChild<QPushButton *>(name);
    if (!button || !QTest::qWaitFor([button] { return button->isVisible() && button->isEnabled(); }))
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

bool DemoProgram::chooseEntry(const QString &pageName, const QString &text) const
{
    auto *list = window->findChild<QWidget *>(pageName)->findChild<QListWidget *>();
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchStartsWith);
    if (items.size() != 1)
        return false;
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
    return list->currentItem() == items.first();
}

bool DemoProgram::clickMap(const QString &name) const
{
    auto *tree = window->findChild<QTreeWidget *>(QStringLiteral("mapTree"));
    tree->expandAll();
    const QList<QTreeWidgetItem *> items =
        tree->findItems(name + QStringLiteral(", version"), Qt::MatchStartsWith | Qt::MatchRecursive);
    const auto *delegate = dynamic_cast<TreeItemDelegate *>(tree->itemDelegate());
    if (items.size() != 1 || !delegate)
        return false;
    tree->scrollToItem(items.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      delegate->iconRect(tree->visualItemRect(items.first())).center());
    return true;
}

QString DemoProgram::pageText(const QString &pageName) const
{
    if (const auto *error = window->findChild<ErrorWidget *>(pageName))
        return error->text();
    if (const auto *success = window->findChild<SuccessWidget *>(pageName))
        return success->text();
    return QString();
}

QByteArray fileDigest(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result().toHex() : "<unreadable>";
}

QMap<QString, QByteArray> fileDigests(const QString &folder)
{
    QMap<QString, QByteArray> digests;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        digests.insert(QDir(folder).relativeFilePath(path), fileDigest(path));
    }
    return digests;
}

QMap<QString, QByteArray> demoUpdateMaps(const DemoWorld &world)
{
    QMap<QString, QByteArray> maps;
    for (const QString &map : {QStringLiteral("Base.nm3"), QStringLiteral("RUS.nm3"), QStringLiteral("RUS_Central.nm3"),
                               QStringLiteral("BLR.nm3")})
        maps.insert(map, fileDigest(world.catalogue() + QStringLiteral("/files/") + map));
    return maps;
}

QMap<QString, QByteArray> mapsOnTheDevice(const DemoWorld &world)
{
    return fileDigests(world.deviceMemory() + QStringLiteral("/KorwindContent/Maps"));
}
