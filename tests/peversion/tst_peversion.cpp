#include "pefixture.h"
#include "peversioninfo.h"

#include <QFile>
#include <QTest>

#include <functional>
#include <vector>

using Bytes = std::vector<unsigned char>;
using Damage = std::function<void(Bytes &, const PeFixtureLayout &)>;
Q_DECLARE_METATYPE(Damage)
Q_DECLARE_METATYPE(PE_VERSION_ERROR)

namespace {

void put32(Bytes &bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

void put16(Bytes &bytes, std::size_t offset, std::uint16_t value)
{
    bytes[offset] = static_cast<unsigned char>(value);
    bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

PE_VERSION_ERROR read(const Bytes &bytes, PeVersionInfo &info)
{
    return readPeVersionInfo(bytes.data(), bytes.size(), info);
}

QString version(const PeVersionInfo &info)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(info.versionPart(0))
        .arg(info.versionPart(1))
        .arg(info.versionPart(2))
        .arg(info.versionPart(3));
}

PeFixture korwindFixture()
{
    PeFixture fixture;
    fixture.fileVersion[0] = 2;
    fixture.fileVersion[1] = 7;
    fixture.fileVersion[2] = 1;
    fixture.fileVersion[3] = 9;
    fixture.internalName = u"korwind";
    return fixture;
}

} // namespace

class TestPeVersion : public QObject
{
    Q_OBJECT

private slots:
    void readsMingwExecutables_data();
    void readsMingwExecutables();
    void readsGeneratedExecutables_data();
    void readsGeneratedExecutables();
    void refusesMalformedFiles_data();
    void refusesMalformedFiles();
    void damagedStringTableKeepsFixedVersion();
    void everyTruncationFailsCleanly();
};

void TestPeVersion::readsMingwExecutables_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("x86-64, PE32+") << QStringLiteral("mingw-x86_64.exe");
    QTest::newRow("i686, PE32") << QStringLiteral("mingw-i686.exe");
}

void TestPeVersion::readsMingwExecutables()
{
    QFETCH(QString, fileName);
    QFile file(QStringLiteral(VKT_MINGW_FIXTURES "/") + fileName);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray bytes = file.readAll();
    PeVersionInfo info;
    QCOMPARE(readPeVersionInfo(reinterpret_cast<const unsigned char *>(bytes.constData()), std::size_t(bytes.size()), info),
             PE_VERSION_OK);
    QVERIFY(info.hasFixedVersion);
    QCOMPARE(version(info), QStringLiteral("4.3.2.1"));
    // The Russian table comes first in the file; only the English-US one counts.
    QVERIFY(info.hasInternalName);
    QCOMPARE(QString::fromStdU16String(info.internalName), QStringLiteral("korwind"));
}

void TestPeVersion::readsGeneratedExecutables_data()
{
    QTest::addColumn<int>("machine");
    QTest::addColumn<bool>("pe32Plus");
    QTest::addColumn<QString>("stringTable");
    QTest::addColumn<QString>("internalName");
    QTest::addColumn<bool>("expectName");

    QTest::newRow("Windows CE ARM") << int(PE_MACHINE_ARM) << false << QStringLiteral("040904b0")
                                    << QStringLiteral("korwind") << true;
    QTest::newRow("Thumb, upper-case table key") << int(PE_MACHINE_THUMB) << false << QStringLiteral("040904B0")
                                                 << QStringLiteral("inavi") << true;
    QTest::newRow("ARM PE32+, non-ASCII name") << int(PE_MACHINE_ARM) << true << QStringLiteral("040904b0")
                                               << QStringLiteral("Навигатор") << true;
    QTest::newRow("x86-64 PE32+") << int(PE_MACHINE_AMD64) << true << QStringLiteral("040904b0")
                                  << QStringLiteral("Russa") << true;
    QTest::newRow("other language only") << int(PE_MACHINE_ARM) << false << QStringLiteral("041904b0")
                                         << QStringLiteral("Russa") << false;
    QTest::newRow("no internal name") << int(PE_MACHINE_I386) << false << QStringLiteral("040904b0") << QString() << false;
}

void TestPeVersion::readsGeneratedExecutables()
{
    QFETCH(int, machine);
    QFETCH(bool, pe32Plus);
    QFETCH(QString, stringTable);
    QFETCH(QString, internalName);
    QFETCH(bool, expectName);

    PeFixture fixture = korwindFixture();
    fixture.machine = static_cast<std::uint16_t>(machine);
    fixture.pe32Plus = pe32Plus;
    fixture.stringTable = stringTable.toStdString();
    fixture.internalName = internalName.toStdU16String();
    fixture.fileVersion[0] = 65535;
    PeVersionInfo info;
    QCOMPARE(read(writePeFixture(fixture), info), PE_VERSION_OK);
    QVERIFY(info.hasFixedVersion);
    QCOMPARE(version(info), QStringLiteral("65535.7.1.9"));
    QCOMPARE(info.hasInternalName, expectName);
    QCOMPARE(QString::fromStdU16String(info.internalName), expectName ? internalName : QString());
}

void TestPeVersion::refusesMalformedFiles_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<PE_VERSION_ERROR>("expected");

    auto truncate = [](std::size_t size) { return Damage([size](Bytes &b, const PeFixtureLayout &) { b.resize(size); }); };
    QTest::newRow("empty file") << truncate(0) << PE_VERSION_TRUNCATED_HEADER;
    QTest::newRow("DOS header only") << truncate(64) << PE_VERSION_TRUNCATED_HEADER;
    QTest::newRow("ends in the optional header") << truncate(200) << PE_VERSION_TRUNCATED_HEADER;
    QTest::newRow("ends in the section table") << truncate(0x140) << PE_VERSION_TRUNCATED_HEADER;
    QTest::newRow("not MZ") << Damage([](Bytes &b, const PeFixtureLayout &) { b[0] = 'Z'; }) << PE_VERSION_NOT_PE;
    QTest::newRow("PE offset beyond end of file")
        << Damage([](Bytes &b, const PeFixtureLayout &) { put32(b, 0x3C, 0xFFFFFFF0u); }) << PE_VERSION_TRUNCATED_HEADER;
    QTest::newRow("no PE signature")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { b[l.peHeader + 1] = 'X'; }) << PE_VERSION_NOT_PE;
    QTest::newRow("unknown optional header")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put16(b, l.optionalHeader, 0x107); })
        << PE_VERSION_UNKNOWN_OPTIONAL_HEADER;
    QTest::newRow("optional header too short for its fields")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put16(b, l.peHeader + 20, 60); })
        << PE_VERSION_UNKNOWN_OPTIONAL_HEADER;
    QTest::newRow("two data directories")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.resourceDirectoryEntry - 20, 2); })
        << PE_VERSION_NO_RESOURCES;
    QTest::newRow("resource address outside every section")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.resourceDirectoryEntry, 0x9000); })
        << PE_VERSION_OUT_OF_BOUNDS;
    QTest::newRow("section beyond end of file")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.sectionHeader + 20, 0x100000); })
        << PE_VERSION_OUT_OF_BOUNDS;
    QTest::newRow("directory entries beyond the section")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put16(b, l.typeEntry - 2, 0xFFFF); })
        << PE_VERSION_OUT_OF_BOUNDS;
    QTest::newRow("subdirectory beyond the section")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.typeEntry + 4, 0x80000000u | 0x7FFFFFF0u); })
        << PE_VERSION_OUT_OF_BOUNDS;
    QTest::newRow("no version type")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.typeEntry, 3); }) << PE_VERSION_NO_VERSION_RESOURCE;
    QTest::newRow("version resource not numbered 1")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.nameEntry, 2); }) << PE_VERSION_NO_VERSION_RESOURCE;
    QTest::newRow("loop back to the root")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.nameEntry + 4, 0x80000000u); })
        << PE_VERSION_RESOURCE_LOOP;
    QTest::newRow("language level loops to itself")
        << Damage([](Bytes &b, const PeFixtureLayout &l) {
               put32(b, l.languageEntry + 4, 0x80000000u | std::uint32_t(l.languageEntry - 16 - l.resourceSection));
           })
        << PE_VERSION_RESOURCE_LOOP;
    QTest::newRow("data entry where a directory belongs")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.typeEntry + 4, std::uint32_t(l.dataEntry - l.resourceSection)); })
        << PE_VERSION_BAD_RESOURCE_TREE;
    QTest::newRow("version data beyond end of file")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.dataEntry + 4, 0x10000); })
        << PE_VERSION_OUT_OF_BOUNDS;
    QTest::newRow("version data address outside every section")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put32(b, l.dataEntry, 0x80); }) << PE_VERSION_OUT_OF_BOUNDS;
    QTest::newRow("block length beyond the data")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put16(b, l.versionData, std::uint16_t(l.versionSize + 4)); })
        << PE_VERSION_BAD_VERSION_BLOCK;
    QTest::newRow("block length zero")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put16(b, l.versionData, 0); }) << PE_VERSION_BAD_VERSION_BLOCK;
    QTest::newRow("wrong root key")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { b[l.versionData + 6] = 'W'; }) << PE_VERSION_BAD_VERSION_BLOCK;
    QTest::newRow("fixed information longer than the block")
        << Damage([](Bytes &b, const PeFixtureLayout &l) { put16(b, l.versionData + 2, 0xFFF0); })
        << PE_VERSION_BAD_VERSION_BLOCK;
}

void TestPeVersion::refusesMalformedFiles()
{
    QFETCH(Damage, damage);
    QFETCH(PE_VERSION_ERROR, expected);
    PeFixtureLayout layout;
    Bytes bytes = writePeFixture(korwindFixture(), &layout);
    damage(bytes, layout);
    PeVersionInfo info;
    QCOMPARE(read(bytes, info), expected);
    QVERIFY(!info.hasFixedVersion);
    QVERIFY(!info.hasInternalName);
}

void TestPeVersion::damagedStringTableKeepsFixedVersion()
{
    PeFixtureLayout layout;
    Bytes bytes = writePeFixture(korwindFixture(), &layout);
    // The first child ("StringFileInfo") claims more bytes than its parent holds.
    put16(bytes, layout.fixedInfo + 52, 0xFFFF);
    PeVersionInfo info;
    QCOMPARE(read(bytes, info), PE_VERSION_OK);
    QVERIFY(info.hasFixedVersion);
    QCOMPARE(version(info), QStringLiteral("2.7.1.9"));
    QVERIFY(!info.hasInternalName);

    // A fixed information block without its signature is not a version.
    bytes = writePeFixture(korwindFixture(), &layout);
    put32(bytes, layout.fixedInfo, 0);
    QCOMPARE(read(bytes, info), PE_VERSION_OK);
    QVERIFY(!info.hasFixedVersion);
    QVERIFY(info.hasInternalName);
}

void TestPeVersion::everyTruncationFailsCleanly()
{
    PeFixtureLayout layout;
    const Bytes whole = writePeFixture(korwindFixture(), &layout);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        // A copy of exactly this size, so that the sanitizers see any read past its end.
        const Bytes prefix(whole.begin(), whole.begin() + std::ptrdiff_t(size));
        PeVersionInfo info;
        const PE_VERSION_ERROR result = read(prefix, info);
        if (size < layout.versionData + layout.versionSize)
            QVERIFY2(result != PE_VERSION_OK, qPrintable(QString::number(size)));
        else
            QCOMPARE(result, PE_VERSION_OK);
    }
}

QTEST_APPLESS_MAIN(TestPeVersion)
#include "tst_peversion.moc"
