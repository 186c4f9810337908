#include "devicedescription.h"
#include "devicemanager.h"
#include "devicesearcher.h"
#include "midevicehandler.h"
#include "navigatorrecord.h"
#include "testlisteners.h"

#include <QTest>

using namespace vktpdl;

namespace {

// A device that only counts how many of its kind are alive.
class FakeDevice final : public MIDeviceHandler
{
public:
    explicit FakeDevice(int &alive) : m_alive(alive) { ++m_alive; }
    ~FakeDevice() override { --m_alive; }

    int putFile(const QString &, const QString &, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override { return 0; }
    int getFile(const QString &, const QString &, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override { return 0; }
    int deleteFile(const QString &) override { return 0; }
    int createFolder(const QString &, const QString &) override { return 0; }
    int createDirectory(const QString &) override { return 0; }
    int removeDirectory(const QString &, bool) override { return 0; }
    int listFolders(const QString &, const QString &, QStringList &) override { return 0; }
    int listFiles(const QString &, const QString &, QStringList &) override { return 0; }
    int openFile(const QString &, QIODevice *&) override { return 0; }
    int freeSpace(const QString &, quint64 &) override { return 0; }
    QChar separator() const override { return '/'; }
    int kind() const override { return DK_STORAGE; }
    int getDeviceDescription(DeviceDescription &) override { return 0; }
    int installPackage(const QString &, qint64, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override { return 0; }
    int listRoots(QStringList &) override { return 0; }
    int pathFlags() const override { return PF_EXECUTABLE_PATHS; }
    int listNavigators(QList<NavigatorRecord> &, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override { return 0; }
    int inspectExecutable(const QString &, NavigatorRecord &, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override { return 0; }
    void selectNavigator(const NavigatorRecord &) override {}
    QString toPortablePath(const QString &) override { return {}; }
    QString fromPortablePath(const QString &) override { return {}; }
    QString dataPathFor(const QString &) override { return {}; }

private:
    int &m_alive;
};

// Shared record of what the searchers were asked and what they did.
struct SearchLog
{
    QStringList calls;
    int aliveDevices = 0;
    QList<DeviceHandler *> reported;
};

// Reports its devices, sets a progress of 50 and 100 on its own range, and can stop the search.
class FakeSearcher final : public DeviceSearcher
{
public:
    FakeSearcher(const QString &name, SearchLog &log, int devices, int storageDevices, bool *stopFlag = nullptr)
        : m_name(name), m_log(log), m_devices(devices), m_storageDevices(storageDevices), m_stopFlag(stopFlag) {}
    ~FakeSearcher() override { m_log.calls.append("delete " + m_name); }

    void initialize() override { m_log.calls.append("initialize " + m_name); }
    void shutdown() override { m_log.calls.append("shutdown " + m_name); }
    void search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *) override
    {
        m_log.calls.append("search " + m_name);
        progress->setProgress(50);
        for (int i = 0; i < m_devices; ++i) {
            auto device = std::make_unique<FakeDevice>(m_log.aliveDevices);
            m_log.reported.append(device.get());
            listener.deviceFound(std::move(device));
        }
        for (int i = 0; i < m_storageDevices; ++i) {
            auto device = std::make_unique<FakeDevice>(m_log.aliveDevices);
            m_log.reported.append(device.get());
            listener.storageDeviceFound(std::move(device));
        }
        progress->setProgress(100);
        if (m_stopFlag)
            *m_stopFlag = true;
    }

private:
    QString m_name;
    SearchLog &m_log;
    int m_devices;
    int m_storageDevices;
    bool *m_stopFlag;
};

class StopWhenFlagged : public vktcommon::ContinueListener
{
public:
    bool shouldContinue() override { return !flagged; }
    bool flagged = false;
};

} // namespace

class TestDeviceManager : public QObject
{
    Q_OBJECT

private slots:
    void searchesInOrderWithProgressRanges();
    void indexesGeneralDevicesBeforeStorageDevices();
    void cancellingKeepsNoDevice();
    void ownsDevicesAndSearchers();
    void worksWithoutSearchers();
};

namespace {

// Phone, storage and Windows CE searchers, like the full program has them.
std::unique_ptr<DeviceManager> threeSearchers(SearchLog &log, bool *stopAfterStorage = nullptr)
{
    std::vector<std::unique_ptr<DeviceSearcher>> searchers;
    searchers.push_back(std::make_unique<FakeSearcher>("phones", log, 2, 0));
    searchers.push_back(std::make_unique<FakeSearcher>("storage", log, 0, 2, stopAfterStorage));
    searchers.push_back(std::make_unique<FakeSearcher>("activesync", log, 1, 0));
    return std::make_unique<DeviceManager>(std::move(searchers));
}

} // namespace

void TestDeviceManager::searchesInOrderWithProgressRanges()
{
    SearchLog log;
    auto manager = threeSearchers(log);
    QCOMPARE(log.calls, QStringList({"initialize phones", "initialize storage", "initialize activesync"}));
    RecordingProgress progress;
    QCOMPARE(manager->searchDevices(&progress, nullptr), 0);
    QCOMPARE(log.calls.mid(3), QStringList({"search phones", "search storage", "search activesync"}));
    QCOMPARE(progress.values, QList<int>({0, 16, 33, 49, 66, 82, 99, 100}));
}

void TestDeviceManager::indexesGeneralDevicesBeforeStorageDevices()
{
    SearchLog log;
    auto manager = threeSearchers(log);
    QCOMPARE(manager->searchDevices(nullptr, nullptr), 0);
    // Found: phone, phone, storage, storage, Windows CE.
    QCOMPARE(manager->deviceCount(), 5);
    const QList<DeviceHandler *> expected = {log.reported[0], log.reported[1], log.reported[4], log.reported[2], log.reported[3]};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(manager->device(i), expected[i]);
    QCOMPARE(manager->device(-1), nullptr);
    QCOMPARE(manager->device(5), nullptr);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(manager->storageDevice(i), nullptr);
    QCOMPARE(static_cast<DeviceHandler *>(manager->storageDevice(3)), log.reported[2]);
    QCOMPARE(static_cast<DeviceHandler *>(manager->storageDevice(4)), log.reported[3]);
    QCOMPARE(manager->storageDevice(5), nullptr);
    QCOMPARE(manager->storageDevice(-1), nullptr);
}

void TestDeviceManager::cancellingKeepsNoDevice()
{
    SearchLog log;
    StopWhenFlagged cont;
    auto manager = threeSearchers(log, &cont.flagged);
    RecordingProgress progress;
    QCOMPARE(manager->searchDevices(&progress, &cont), 1);
    QCOMPARE(manager->deviceCount(), 0);
    QCOMPARE(manager->device(0), nullptr);
    QCOMPARE(log.aliveDevices, 0);
    QVERIFY(!log.calls.contains("search activesync"));
    QCOMPARE(progress.values.last(), 66);

    // The next search starts from scratch.
    QCOMPARE(manager->searchDevices(nullptr, nullptr), 0);
    QCOMPARE(manager->deviceCount(), 5);
}

void TestDeviceManager::ownsDevicesAndSearchers()
{
    SearchLog log;
    auto manager = threeSearchers(log);
    manager->searchDevices(nullptr, nullptr);
    QCOMPARE(log.aliveDevices, 5);
    manager->searchDevices(nullptr, nullptr);
    QCOMPARE(log.aliveDevices, 5); // the devices of the first search are gone
    manager->clearDevices();
    QCOMPARE(log.aliveDevices, 0);
    manager->searchDevices(nullptr, nullptr);
    log.calls.clear();
    manager.reset();
    QCOMPARE(log.aliveDevices, 0);
    QCOMPARE(log.calls, QStringList({"shutdown phones", "delete phones", "shutdown storage", "delete storage",
                                     "shutdown activesync", "delete activesync"}));
}

void TestDeviceManager::worksWithoutSearchers()
{
    DeviceManager manager{std::vector<std::unique_ptr<DeviceSearcher>>()};
    RecordingProgress progress;
    QCOMPARE(manager.searchDevices(&progress, nullptr), 0);
    QCOMPARE(progress.values, QList<int>({0, 100}));
    QCOMPARE(manager.deviceCount(), 0);
}

QTEST_GUILESS_MAIN(TestDeviceManager)
#include "tst_devicemanager.moc"
