// pe-fixture: writes a minimal PE executable with a version resource, for tests and the demo device.
#include "pefixture.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

bool parseMachine(const QString &text, std::uint16_t &machine)
{
    const QString name = text.toLower();
    if (name == QLatin1String("arm"))
        machine = PE_MACHINE_ARM;
    else if (name == QLatin1String("thumb"))
        machine = PE_MACHINE_THUMB;
    else if (name == QLatin1String("i386"))
        machine = PE_MACHINE_I386;
    else if (name == QLatin1String("amd64"))
        machine = PE_MACHINE_AMD64;
    else
        return false;
    return true;
}

bool parseVersion(const QString &text, std::uint16_t version[4])
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        version[i] = parts[i].toUShort(&ok);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a minimal PE executable with a version resource."));
    parser.addHelpOption();
    const QCommandLineOption machineOption(QStringLiteral("machine"), QStringLiteral("arm (default), thumb, i386 or amd64."),
                                           QStringLiteral("name"), QStringLiteral("arm"));
    const QCommandLineOption plusOption(QStringLiteral("pe32plus"), QStringLiteral("Write a PE32+ optional header."));
    const QCommandLineOption versionOption(QStringLiteral("file-version"), QStringLiteral("Four dotted parts."),
                                           QStringLiteral("version"), QStringLiteral("1.0.0.0"));
    const QCommandLineOption nameOption(QStringLiteral("internal-name"), QStringLiteral("The InternalName value."),
                                        QStringLiteral("name"));
    const QCommandLineOption tableOption(QStringLiteral("string-table"), QStringLiteral("Language and code page."),
                                         QStringLiteral("key"), QStringLiteral("040904b0"));
    const QCommandLineOption noVersionOption(QStringLiteral("no-version-resource"), QStringLiteral("Leave out the resources."));
    parser.addOptions({machineOption, plusOption, versionOption, nameOption, tableOption, noVersionOption});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The file to write."));
    parser.process(application);

    PeFixture fixture;
    if (parser.positionalArguments().size() != 1 || !parseMachine(parser.value(machineOption), fixture.machine)
        || !parseVersion(parser.value(versionOption), fixture.fileVersion)) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    fixture.pe32Plus = parser.isSet(plusOption);
    fixture.withVersionResource = !parser.isSet(noVersionOption);
    fixture.internalName = parser.value(nameOption).toStdU16String();
    fixture.stringTable = parser.value(tableOption).toStdString();

    const std::vector<unsigned char> bytes = writePeFixture(fixture);
    QFile file(parser.positionalArguments().constFirst());
    if (!file.open(QIODevice::WriteOnly)
        || file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    return 0;
}
