// Extracts a whole zip archive into a folder with the program's own reader; exits with the archive code
// (0 on success) so that a script can compare it with other tools.
#include "archiveerror.h"
#include "foldernode.h"
#include "ziparchive.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zipextract ARCHIVE FOLDER\n");
        return 2;
    }
    const QString archivePath = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    ZipArchive archive;
    int result = archive.open(archivePath, QFileInfo(archivePath).size());
    if (result == AE_NO_ERROR) {
        QDir().mkpath(folder);
        result = archive.root()->extract(folder, nullptr, nullptr);
    }
    if (result != AE_NO_ERROR) {
        std::fprintf(stderr, "zipextract: archive code %d\n", result);
        return 1;
    }
    return 0;
}
