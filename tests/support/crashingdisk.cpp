#include "crashingdisk.h"

#include "listeners.h"
#include "localfilesystem.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <algorithm>
#include <functional>

using namespace vktpdl;

struct CrashingDisk::Node
{
    bool folder = false;
    QMap<QString, std::shared_ptr<Node>> children;
    QMap<QString, std::shared_ptr<Node>> durableChildren;
    QByteArray data;
    QByteArray durableData;
    bool everFlushed = true;
};

namespace {

using Node = CrashingDisk::Node;

std::shared_ptr<Node> makeFolder()
{
    auto node = std::make_shared<Node>();
    node->folder = true;
    return node;
}

std::shared_ptr<Node> load(const QString &path)
{
    auto folder = makeFolder();
    const QDir dir(path);
    for (const QFileInfo &entry : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        std::shared_ptr<Node> child;
        if (entry.isDir()) {
            child = load(entry.filePath());
        } else {
            child = std::make_shared<Node>();
            QFile file(entry.filePath());
            if (file.open(QIODevice::ReadOnly))
                child->data = child->durableData = file.readAll();
        }
        folder->children.insert(entry.fileName(), child);
    }
    folder->durableChildren = folder->children;
    return folder;
}

// Every node below node, through the current entries.
void forEachNode(const std::shared_ptr<Node> &node, const std::function<void(Node &)> &visit)
{
    visit(*node);
    for (const auto &child : std::as_const(node->children)) {
        if (child->folder)
            forEachNode(child, visit);
        else
            visit(*child);
    }
}

// What the device gives back after the power came back: the entries and contents that were flushed.
void dropUnflushed(const std::shared_ptr<Node> &node)
{
    if (!node->folder) {
        // Contents never flushed come back as whatever the card held there.
        node->data = node->everFlushed ? node->durableData : QByteArray(node->data.size(), '\0');
        return;
    }
    node->children = node->durableChildren;
    for (const auto &child : std::as_const(node->children))
        dropUnflushed(child);
}

void collectFiles(const std::shared_ptr<Node> &folder, const QString &prefix, QMap<QString, QByteArray> &files)
{
    for (auto child = folder->children.cbegin(); child != folder->children.cend(); ++child) {
        const QString path = prefix + QLatin1Char('/') + child.key();
        if (child.value()->folder)
            collectFiles(child.value(), path, files);
        else
            files.insert(path, child.value()->data);
    }
}

qint64 sizeBelow(const std::shared_ptr<Node> &node)
{
    qint64 size = 0;
    forEachNode(node, [&size](Node &each) { size += each.folder ? 0 : each.data.size(); });
    return size;
}

} // namespace

// One device's view of the disk.
class CrashingFileSystem final : public FileSystem
{
public:
    explicit CrashingFileSystem(CrashingDisk &disk) : m_disk(disk) {}

    int putFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override
    {
        const bool working = m_disk.count();
        QString name;
        const std::shared_ptr<Node> parent = m_disk.parentOf(destination, name);
        QFile file(source);
        if (!parent || !parent->folder || parent->children.contains(name) || !file.open(QIODevice::ReadOnly))
            return DE_TRANSFER_ERROR;
        QByteArray data = file.readAll();
        auto node = std::make_shared<Node>();
        node->everFlushed = false;
        if (!working) {
            // Cut off in the middle of the copy.
            node->data = data.left(data.size() / 2);
            parent->children.insert(name, node);
            return DE_TRANSFER_ERROR;
        }
        vktcommon::reportProgress(progress, 0);
        if (vktcommon::stopRequested(cont))
            return DE_CANCELLED;
        if (m_disk.usedBytes(destination) + data.size() > m_disk.m_capacity)
            return DE_TRANSFER_ERROR;
        if (m_disk.m_realCapacity >= 0) {
            const qint64 kept = qBound<qint64>(0, m_disk.m_realCapacity - m_disk.usedBytes(destination), data.size());
            data.replace(kept, data.size() - kept, QByteArray(data.size() - kept, '\0'));
        }
        node->data = data;
        parent->children.insert(name, node);
        m_disk.log.append(QStringLiteral("putFile ") + destination);
        vktcommon::reportProgress(progress, 100);
        return DE_NO_ERROR;
    }

    int getFile(const QString &destination, const QString &source, vktcommon::ProgressListener *,
                vktcommon::ContinueListener *) override
    {
        if (!m_disk.count())
            return DE_TRANSFER_ERROR;
        const std::shared_ptr<Node> node = m_disk.find(source);
        QFile file(destination);
        if (!node || node->folder || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly)
            || file.write(node->data) != node->data.size())
            return DE_TRANSFER_ERROR;
        return DE_NO_ERROR;
    }

    int deleteFile(const QString &path) override
    {
        if (!m_disk.count())
            return DE_DELETE_ERROR;
        QString name;
        const std::shared_ptr<Node> parent = m_disk.parentOf(path, name);
        if (!parent || !parent->children.contains(name))
            return DE_NO_ERROR;
        if (parent->children.value(name)->folder)
            return DE_DELETE_ERROR;
        parent->children.remove(name);
        m_disk.log.append(QStringLiteral("deleteFile ") + path);
        return DE_NO_ERROR;
    }

    int createFolder(const QString &parent, const QString &name) override
    {
        return createDirectory(joinPath(parent, name));
    }

    int createDirectory(const QString &path) override
    {
        if (!m_disk.count())
            return DE_CANNOT_CREATE_FOLDER;
        QString below;
        std::shared_ptr<Node> node = m_disk.rootOf(path, below);
        if (!node)
            return DE_CANNOT_CREATE_FOLDER;
        for (const QString &part : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            std::shared_ptr<Node> next = node->children.value(part);
            if (!next) {
                next = makeFolder();
                node->children.insert(part, next);
                m_disk.log.append(QStringLiteral("createFolder ") + path);
            }
            if (!next->folder)
                return DE_CANNOT_CREATE_FOLDER;
            node = next;
        }
        return DE_NO_ERROR;
    }

    int removeDirectory(const QString &path, bool recursive) override
    {
        if (recursive)
            return removeTree(path);
        if (!m_disk.count())
            return DE_DELETE_ERROR;
        QString name;
        const std::shared_ptr<Node> parent = m_disk.parentOf(path, name);
        const std::shared_ptr<Node> node = parent ? parent->children.value(name) : nullptr;
        if (!node)
            return DE_NO_ERROR;
        if (!node->folder || !node->children.isEmpty())
            return DE_DELETE_ERROR;
        parent->children.remove(name);
        m_disk.log.append(QStringLiteral("removeFolder ") + path);
        return DE_NO_ERROR;
    }

    int listFolders(const QString &folder, const QString &pattern, QStringList &names) override
    {
        return list(folder, pattern, true, names);
    }

    int listFiles(const QString &folder, const QString &pattern, QStringList &names) override
    {
        return list(folder, pattern, false, names);
    }

    int openFile(const QString &path, QIODevice *&device) override
    {
        device = nullptr;
        if (!m_disk.count())
            return DE_TRANSFER_ERROR;
        const std::shared_ptr<Node> node = m_disk.find(path);
        // Reading only: everything the program writes to a device goes through putFile.
        auto *buffer = new QBuffer;
        if (node && !node->folder)
            buffer->setData(node->data);
        else
            buffer->setProperty("missing", true);
        device = new ReadOnlyFile(buffer);
        return DE_NO_ERROR;
    }

    int freeSpace(const QString &path, quint64 &bytes) override
    {
        if (!m_disk.count())
            return DE_WRONG_REPLY;
        bytes = quint64(qMax<qint64>(0, m_disk.m_capacity - m_disk.usedBytes(path)));
        return DE_NO_ERROR;
    }

    QChar separator() const override { return QLatin1Char('/'); }

    bool isFile(const QString &path) override
    {
        if (!m_disk.count())
            return false;
        const std::shared_ptr<Node> node = m_disk.find(path);
        return node && !node->folder;
    }

    int renameFile(const QString &source, const QString &destination) override
    {
        if (!m_disk.count())
            return DE_TRANSFER_ERROR;
        QString from;
        QString to;
        const std::shared_ptr<Node> sourceParent = m_disk.parentOf(source, from);
        const std::shared_ptr<Node> destinationParent = m_disk.parentOf(destination, to);
        const std::shared_ptr<Node> node = sourceParent ? sourceParent->children.value(from) : nullptr;
        if (!node || !destinationParent || !destinationParent->folder)
            return DE_TRANSFER_ERROR;
        const std::shared_ptr<Node> replaced = destinationParent->children.value(to);
        if (replaced && (replaced->folder || node->folder))
            return DE_TRANSFER_ERROR;
        sourceParent->children.remove(from);
        destinationParent->children.insert(to, node);
        m_disk.log.append(QStringLiteral("rename ") + source + QStringLiteral(" -> ") + destination);
        return DE_NO_ERROR;
    }

    int exchangeFolders(const QString &first, const QString &second) override
    {
        if (!m_disk.count())
            return DE_TRANSFER_ERROR;
        if (!m_disk.m_exchangeSupported)
            return DE_NOT_SUPPORTED;
        QString a;
        QString b;
        const std::shared_ptr<Node> parentA = m_disk.parentOf(first, a);
        const std::shared_ptr<Node> parentB = m_disk.parentOf(second, b);
        if (!parentA || !parentB || !parentA->children.contains(a) || !parentB->children.contains(b))
            return DE_TRANSFER_ERROR;
        const std::shared_ptr<Node> nodeA = parentA->children.value(a);
        parentA->children.insert(a, parentB->children.value(b));
        parentB->children.insert(b, nodeA);
        m_disk.log.append(QStringLiteral("exchange ") + first + QStringLiteral(" <-> ") + second);
        return DE_NO_ERROR;
    }

    int flushFile(const QString &path) override
    {
        if (!m_disk.count())
            return DE_TRANSFER_ERROR;
        const std::shared_ptr<Node> node = m_disk.find(path);
        if (!node || node->folder)
            return DE_TRANSFER_ERROR;
        node->durableData = node->data;
        node->everFlushed = true;
        m_disk.log.append(QStringLiteral("flushFile ") + path);
        return DE_NO_ERROR;
    }

    int flushFolder(const QString &path) override
    {
        if (!m_disk.count())
            return DE_TRANSFER_ERROR;
        const std::shared_ptr<Node> node = m_disk.find(path);
        if (!node || !node->folder)
            return DE_TRANSFER_ERROR;
        node->durableChildren = node->children;
        m_disk.log.append(QStringLiteral("flushFolder ") + path);
        return DE_NO_ERROR;
    }

    int syncVolume(const QString &path) override
    {
        if (!m_disk.count())
            return DE_TRANSFER_ERROR;
        QString below;
        const std::shared_ptr<Node> root = m_disk.rootOf(path, below);
        if (!root)
            return DE_TRANSFER_ERROR;
        forEachNode(root, [](Node &node) {
            node.durableChildren = node.children;
            node.durableData = node.data;
            node.everFlushed = true;
        });
        m_disk.log.append(QStringLiteral("syncVolume ") + path);
        return DE_NO_ERROR;
    }

private:
    // A file opened for reading; opening a missing one fails.
    class ReadOnlyFile final : public QIODevice
    {
    public:
        explicit ReadOnlyFile(QBuffer *buffer) : m_buffer(buffer) {}
        bool open(OpenMode mode) override
        {
            if ((mode & WriteOnly) || m_buffer->property("missing").toBool() || !m_buffer->open(QIODevice::ReadOnly))
                return false;
            return QIODevice::open(mode);
        }
        qint64 size() const override { return m_buffer->size(); }
        bool isSequential() const override { return false; }
        bool seek(qint64 position) override { return QIODevice::seek(position) && m_buffer->seek(position); }

    protected:
        qint64 readData(char *data, qint64 maxSize) override { return m_buffer->read(data, maxSize); }
        qint64 writeData(const char *, qint64) override { return -1; }

    private:
        std::unique_ptr<QBuffer> m_buffer;
    };

    int list(const QString &folder, const QString &pattern, bool folders, QStringList &names)
    {
        if (!m_disk.count())
            return DE_TRANSFER_ERROR;
        const std::shared_ptr<Node> node = m_disk.find(folder);
        if (!node || !node->folder)
            return DE_NO_ERROR;
        QStringList found;
        for (auto child = node->children.cbegin(); child != node->children.cend(); ++child) {
            if (child.value()->folder == folders && matchesPattern(child.key(), pattern))
                found.append(child.key());
        }
        // The order the PC's file system gives: ignoring case, then by name.
        std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
            const int folded = a.toCaseFolded().compare(b.toCaseFolded());
            return folded != 0 ? folded < 0 : a < b;
        });
        names += found;
        return DE_NO_ERROR;
    }

    CrashingDisk &m_disk;
};

CrashingDisk::CrashingDisk(const QStringList &roots)
{
    for (const QString &root : roots)
        m_roots.insert(root, load(root));
}

std::unique_ptr<FileSystem> CrashingDisk::fileSystem()
{
    return std::make_unique<CrashingFileSystem>(*this);
}

void CrashingDisk::failFrom(qint64 n)
{
    m_failFrom = n;
    m_operations = 0;
    m_failing = false;
}

bool CrashingDisk::count()
{
    ++m_operations;
    if (m_failFrom > 0 && m_operations >= m_failFrom)
        m_failing = true;
    return !m_failing;
}

void CrashingDisk::powerLoss()
{
    for (const auto &root : std::as_const(m_roots))
        dropUnflushed(root);
}

void CrashingDisk::reconnect()
{
    m_failFrom = 0;
    m_failing = false;
}

QMap<QString, QByteArray> CrashingDisk::files(const QString &root) const
{
    QMap<QString, QByteArray> found;
    if (m_roots.contains(root))
        collectFiles(m_roots.value(root), QString(), found);
    return found;
}

std::shared_ptr<Node> CrashingDisk::rootOf(const QString &path, QString &below) const
{
    QString best;
    for (const QString &root : m_roots.keys()) {
        if ((path == root || path.startsWith(root + QLatin1Char('/'))) && root.size() > best.size())
            best = root;
    }
    if (best.isEmpty())
        return nullptr;
    below = path.mid(best.size());
    return m_roots.value(best);
}

std::shared_ptr<Node> CrashingDisk::find(const QString &path) const
{
    QString below;
    std::shared_ptr<Node> node = rootOf(path, below);
    for (const QString &part : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!node || !node->folder)
            return nullptr;
        node = node->children.value(part);
    }
    return node;
}

std::shared_ptr<Node> CrashingDisk::parentOf(const QString &path, QString &name) const
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return nullptr;
    name = path.mid(slash + 1);
    const std::shared_ptr<Node> parent = find(path.left(slash));
    return parent && parent->folder ? parent : nullptr;
}

qint64 CrashingDisk::usedBytes(const QString &path) const
{
    QString below;
    const std::shared_ptr<Node> root = rootOf(path, below);
    return root ? sizeBelow(root) : 0;
}
