// Feeds arbitrary bytes to the NM3 map header reader as an open file.
#include "mapheader.h"

#include <QBuffer>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QBuffer file;
    file.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    file.open(QIODevice::ReadOnly);
    vktcommon::MapHeader header;
    vktcommon::readMapHeader(QStringLiteral("ru_RU"), &file, header);
    return 0;
}
