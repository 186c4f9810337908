#include "storagetext.h"

#include "formatting.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString sizeText(qint64 bytes)
{
    const Utilities::FormattedSize size = Utilities::formatSize(quint64(bytes));
    return size.number + size.unit;
}

} // namespace

QString storageText(const StorageInfo &storage)
{
    QStringList facts;
    if (storage.kind == StorageInfo::Memory)
        facts.append(QCoreApplication::translate("StorageText", "device memory"));
    else if (storage.kind == StorageInfo::Card)
        facts.append(QCoreApplication::translate("StorageText", "memory card"));
    if (storage.totalBytes >= 0)
        facts.append(sizeText(storage.totalBytes));
    if (storage.freeBytes >= 0)
        facts.append(QCoreApplication::translate("StorageText", "%1 free").arg(sizeText(storage.freeBytes)));
    const QString name = storage.label.isEmpty() ? storage.root : storage.label;
    if (facts.isEmpty())
        return name;
    return QCoreApplication::translate("StorageText", "%1: %2").arg(name, facts.join(QStringLiteral(", ")));
}
