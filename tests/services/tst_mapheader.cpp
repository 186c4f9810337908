#include "knownmaptable.h"
#include "languagetexts.h"
#include "mapfilewriter.h"
#include "mapheader.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

using namespace vktcommon;

Q_DECLARE_METATYPE(MapFileRecipe)

namespace {

MapFileRecipe germany(quint32 headerVersion)
{
    MapFileRecipe recipe;
    recipe.headerVersion = headerVersion;
    recipe.indexId = 77;
    recipe.entryCount = 3;
    recipe.firstVersion = 20112;
    recipe.secondVersion = 20110630;
    recipe.packageCode = "korwind.deu";
    recipe.titles = {{1033, "Germany"}, {1031, "Deutschland"}, {1049, "Германия"}};
    recipe.versionTexts = {{1033, "2011Q2"}, {1049, "2011 II кв."}};
    recipe.conditions = {{"korwind.base", 1, 20104, 0}, {"korwind.deu.old", 5, 20101, 20100101}};
    return recipe;
}

bool readBytes(const QByteArray &bytes, MapHeader &header, const QString &language = QStringLiteral("en_US"))
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readMapHeader(language, &buffer, header);
}

// An unbuffered map file that counts the reads made of it, as a file would see them.
class CountingFile final : public QBuffer
{
public:
    explicit CountingFile(const QByteArray &bytes)
    {
        setData(bytes);
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    int reads = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        ++reads;
        return QBuffer::readData(data, maxSize);
    }
};

} // namespace

class TestMapHeader : public QObject
{
    Q_OBJECT

private slots:
    void headerVersions_data();
    void headerVersions();
    void knownTableHit();
    void knownTableFindsEveryRow();
    void scramblingKeys_data();
    void scramblingKeys();
    void languageChoice_data();
    void languageChoice();
    void localeNames_data();
    void localeNames();
    void conditionOperators();
    void badInput_data();
    void badInput();
    void truncation_data();
    void truncation();
    void readsOnlyWhatTheHeaderNeeds_data();
    void readsOnlyWhatTheHeaderNeeds();
    void textsLongerThanARead_data();
    void textsLongerThanARead();
};

void TestMapHeader::headerVersions_data()
{
    QTest::addColumn<quint32>("headerVersion");
    QTest::newRow("version 0") << 0u;
    QTest::newRow("version 1") << 1u;
    QTest::newRow("version 2") << 2u;
}

void TestMapHeader::headerVersions()
{
    QFETCH(quint32, headerVersion);
    MapHeader header;
    QVERIFY(readBytes(writeMapFile(germany(headerVersion)), header, QStringLiteral("de_DE")));
    QCOMPARE(header.packageCode, QStringLiteral("korwind.deu"));
    QCOMPARE(header.firstVersion, 20112u);
    QCOMPARE(header.secondVersion, 20110630u);
    QCOMPARE(header.title, QStringLiteral("Deutschland"));
    QCOMPARE(header.versionText, QStringLiteral("2011Q2")); // no German version text: English
    QCOMPARE(header.conditions.size(), 2);
    QCOMPARE(header.conditions.at(0).packageName, QStringLiteral("korwind.base"));
    QCOMPARE(header.conditions.at(0).op, QStringLiteral(">="));
    QCOMPARE(header.conditions.at(0).first, 20104u);
    QCOMPARE(header.conditions.at(1).packageName, QStringLiteral("korwind.deu.old"));
    QCOMPARE(header.conditions.at(1).op, QStringLiteral("!="));
    QCOMPARE(header.conditions.at(1).second, 20100101u);
}

void TestMapHeader::knownTableHit()
{
    const KnownMapTable::Entry *russia = nullptr;
    for (const KnownMapTable::Entry &entry : KnownMapTable::instance().entries()) {
        if (entry.packageCode == QLatin1String("korwind.rus"))
            russia = &entry;
    }
    QVERIFY(russia);

    // An old file: its data says nothing useful, only size and index identifier count.
    MapFileRecipe recipe;
    recipe.indexId = russia->indexId;
    recipe.packageCode = "something else";
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(writeMapFile(recipe));
    QVERIFY(file.resize(qint64(russia->fileSize)));
    QVERIFY(file.seek(0));

    MapHeader header;
    QVERIFY(readMapHeader(QStringLiteral("en_US"), &file, header));
    QCOMPARE(header.packageCode, QStringLiteral("korwind.rus"));
    QCOMPARE(header.firstVersion, russia->firstVersion);
    QCOMPARE(header.secondVersion, russia->secondVersion);
    QCOMPARE(header.title, QStringLiteral("Россия")); // no English title: the lowest identifier
    QVERIFY(header.conditions.isEmpty());
    QVERIFY(readMapHeader(QStringLiteral("ua_UA"), &file, header));
    QCOMPARE(header.title, QStringLiteral("Росія"));

    // One byte more and the same identifier is an ordinary file again.
    QVERIFY(file.resize(qint64(russia->fileSize) + 1));
    QVERIFY(readMapHeader(QStringLiteral("en_US"), &file, header));
    QCOMPARE(header.packageCode, QStringLiteral("something else"));
}

void TestMapHeader::knownTableFindsEveryRow()
{
    const QList<KnownMapTable::Entry> &entries = KnownMapTable::instance().entries();
    QCOMPARE(entries.size(), 12);
    const QRegularExpression code(QStringLiteral("^korwind\\.[a-z]{3}$"));
    for (const KnownMapTable::Entry &entry : entries) {
        QCOMPARE(KnownMapTable::instance().find(entry.fileSize, entry.indexId), &entry);
        QVERIFY2(code.match(entry.packageCode).hasMatch(), qPrintable(entry.packageCode));
        QVERIFY(!entry.titles.isEmpty() && !entry.versionTexts.isEmpty());
    }
    QVERIFY(!KnownMapTable::instance().find(entries.first().fileSize, entries.first().indexId + 1000));
    QVERIFY(!KnownMapTable::instance().find(0, 0));
}

void TestMapHeader::scramblingKeys_data()
{
    QTest::addColumn<quint32>("a");
    QTest::addColumn<quint32>("b");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("A=5 B=300: period 3") << 5u << 300u << QByteArray("\x05\x2c\x01", 3);
    QTest::newRow("both zero: one byte each") << 0u << 0u << QByteArray(2, '\0');
    QTest::newRow("255 and 256") << 255u << 256u << QByteArray("\xff\x00\x01", 3);
    QTest::newRow("65535 and 65536") << 65535u << 65536u << QByteArray("\xff\xff\x00\x00\x01", 5);
    QTest::newRow("16777215 and 16777216") << 16777215u << 16777216u
                                          << QByteArray("\xff\xff\xff\x00\x00\x00\x01", 7);
    QTest::newRow("largest values") << 0xffffffffu << 20110317u << QByteArray("\xff\xff\xff\xff\xed\xdb\x32\x01", 8);
}

void TestMapHeader::scramblingKeys()
{
    QFETCH(quint32, a);
    QFETCH(quint32, b);
    QFETCH(QByteArray, key);

    // Zero bytes scrambled are the key itself, repeated.
    const QByteArray zeros(2 * key.size() + 1, '\0');
    MapFileRecipe recipe;
    recipe.firstVersion = a;
    recipe.secondVersion = b;
    recipe.packageCode = zeros;
    QList<MapFileField> fields;
    const QByteArray file = writeMapFile(recipe, &fields);
    const auto stored = std::find_if(fields.cbegin(), fields.cend(),
                                     [](const MapFileField &f) { return f.name == QLatin1String("package code bytes"); });
    QVERIFY(stored != fields.cend());
    QCOMPARE(file.mid(stored->offset, stored->size), key + key + key.left(1));

    MapHeader header;
    QVERIFY(readBytes(file, header));
    QCOMPARE(header.packageCode, QString(zeros.size(), QChar(0)));

    recipe.packageCode = "korwind.fra";
    QVERIFY(readBytes(writeMapFile(recipe), header));
    QCOMPARE(header.packageCode, QStringLiteral("korwind.fra"));
}

void TestMapHeader::languageChoice_data()
{
    QTest::addColumn<QList<MapFileText>>("titles");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("title");
    const QList<MapFileText> three = {{1049, "Франция"}, {1033, "France"}, {1031, "Frankreich"}};
    QTest::newRow("requested language") << three << "ru_RU" << "Франция";
    QTest::newRow("missing language: English") << three << "pl_PL" << "France";
    QTest::newRow("unknown locale: English") << three << "xx_YY" << "France";
    QTest::newRow("neither: lowest identifier")
        << QList<MapFileText>{{1049, "Франция"}, {1045, "Francja"}, {3079, "Frankreich"}} << "fr_FR" << "Francja";
    QTest::newRow("empty table") << QList<MapFileText>() << "ru_RU" << "";
    QTest::newRow("later entry replaces earlier")
        << QList<MapFileText>{{1036, "Franse"}, {1036, "France"}} << "fr_FR" << "France";
}

void TestMapHeader::languageChoice()
{
    QFETCH(QList<MapFileText>, titles);
    QFETCH(QString, language);
    QFETCH(QString, title);
    MapFileRecipe recipe = germany(2);
    recipe.titles = titles;
    MapHeader header;
    QVERIFY(readBytes(writeMapFile(recipe), header, language));
    QCOMPARE(header.title, title);
}

void TestMapHeader::localeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("language");
    QTest::newRow("en_US") << "en_US" << 1033;
    QTest::newRow("ru_RU") << "ru_RU" << 1049;
    QTest::newRow("de_AT") << "de_AT" << 3079;
    QTest::newRow("ua_UA (not standard)") << "ua_UA" << 1058;
    QTest::newRow("be_BE (not standard)") << "be_BE" << 1059;
    QTest::newRow("ar_AR (not standard)") << "ar_AR" << 1025;
    QTest::newRow("pt_PT goes to 1046") << "pt_PT" << 1046;
    QTest::newRow("lower-case country is unknown") << "ru_ru" << 1033;
    QTest::newRow("empty") << "" << 1033;
}

void TestMapHeader::localeNames()
{
    QFETCH(QString, name);
    QFETCH(int, language);
    QCOMPARE(int(windowsLanguageId(name)), language);
}

void TestMapHeader::conditionOperators()
{
    MapFileRecipe recipe = germany(1);
    recipe.conditions.clear();
    for (quint8 op = 0; op <= 7; ++op)
        recipe.conditions.append({"korwind.base", op, op, 0});
    MapHeader header;
    QVERIFY(readBytes(writeMapFile(recipe), header));
    QStringList ops;
    for (const MapCondition &condition : header.conditions)
        ops.append(condition.op);
    QCOMPARE(ops, QStringList({"", ">=", ">", "<=", "<", "!=", "=", ""}));
}

void TestMapHeader::badInput_data()
{
    QTest::addColumn<MapFileRecipe>("recipe");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("packageCode");

    MapFileRecipe recipe = germany(2);
    recipe.magic = "GNM4";
    QTest::newRow("wrong magic") << recipe << false << "";
    recipe = germany(2);
    recipe.headerVersion = 3;
    QTest::newRow("header version 3") << recipe << false << "";
    recipe = germany(0);
    recipe.headerVersion = 0xffffffff;
    QTest::newRow("header version 2^32-1") << recipe << false << "";
    recipe = germany(1);
    recipe.indexMagic = "NIDY";
    QTest::newRow("wrong index magic") << recipe << false << "";
    recipe = germany(2);
    recipe.explicitTableBase = true;
    recipe.entryCount = 0xffffffff;
    QTest::newRow("entry count runs past the end") << recipe << false << "";
    recipe = germany(0);
    recipe.explicitTableBase = true;
    recipe.tableBase = 0xffffffff;
    QTest::newRow("table base runs past the end") << recipe << false << "";
    recipe = germany(2);
    recipe.explicitTableBase = true;
    recipe.tableBase = 124;
    recipe.entryCount = 0;
    QTest::newRow("explicit base, no entry table") << recipe << true << "korwind.deu";
    recipe = germany(2);
    recipe.packageCode = "korwind.\xff\xfe\x80";
    QTest::newRow("invalid UTF-8 is replaced") << recipe << true << QStringLiteral("korwind.") + QString(3, QChar::ReplacementCharacter);
    recipe = germany(2);
    recipe.withConditions = false;
    QTest::newRow("no conditions at all") << recipe << true << "korwind.deu";
}

void TestMapHeader::badInput()
{
    QFETCH(MapFileRecipe, recipe);
    QFETCH(bool, readable);
    QFETCH(QString, packageCode);
    MapHeader header;
    header.packageCode = QStringLiteral("untouched");
    QCOMPARE(readBytes(writeMapFile(recipe), header), readable);
    QCOMPARE(header.packageCode, readable ? packageCode : QStringLiteral("untouched"));
}

void TestMapHeader::truncation_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<int>("conditions");

    for (quint32 version : {0u, 2u}) {
        QList<MapFileField> fields;
        const QByteArray full = writeMapFile(germany(version), &fields);
        qint64 conditionStart = full.size();
        for (const MapFileField &field : fields) {
            if (field.name == QLatin1String("condition count"))
                conditionStart = field.offset;
        }
        for (const MapFileField &field : fields) {
            QList<qint64> cuts = {field.offset};
            if (field.size > 1)
                cuts.append(field.offset + field.size - 1);
            for (qint64 cut : cuts) {
                // Fewer than four bytes where the conditions start: the file simply has none.
                const bool readable = cut >= conditionStart && cut - conditionStart < 4;
                QTest::addRow("v%u %s at +%lld (of %lld)", version, qPrintable(field.name),
                              cut - field.offset, field.size)
                    << full.left(cut) << readable << 0;
            }
        }
        QTest::addRow("v%u whole file", version) << full << true << 2;
    }
}

void TestMapHeader::truncation()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(int, conditions);
    MapHeader header;
    QCOMPARE(readBytes(bytes, header), readable);
    if (readable)
        QCOMPARE(header.conditions.size(), conditions);
}

void TestMapHeader::readsOnlyWhatTheHeaderNeeds_data()
{
    QTest::addColumn<MapFileRecipe>("recipe");
    QTest::addColumn<int>("reads");
    QTest::newRow("version 0, all in the first read") << germany(0) << 1;
    QTest::newRow("version 2, all in the first read") << germany(2) << 1;
    MapFileRecipe far = germany(2);
    far.entryCount = 2000; // the data starts 8000 bytes further on
    QTest::newRow("data beyond the first read") << far << 2;
    far.fileSize = 1024 * 1024;
    QTest::newRow("data beyond the first read, large file") << far << 2;
}

void TestMapHeader::readsOnlyWhatTheHeaderNeeds()
{
    QFETCH(MapFileRecipe, recipe);
    QFETCH(int, reads);
    const QByteArray bytes = writeMapFile(recipe);
    CountingFile file(bytes);
    MapHeader header;
    QVERIFY(readMapHeader(QStringLiteral("de_DE"), &file, bytes.size(), header));
    QCOMPARE(header.title, QStringLiteral("Deutschland"));
    QCOMPARE(header.conditions.size(), 2);
    QCOMPARE(file.reads, reads);
}

void TestMapHeader::textsLongerThanARead_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("title");
    const QByteArray russian(5000, 'r');
    const QByteArray english(6000, 'e');
    const QByteArray german(7000, 'd');
    // The chosen text lies before, inside or at the end of what was read last.
    QTest::newRow("first of three chosen") << "ru_RU" << russian;
    QTest::newRow("second chosen") << "en_US" << english;
    QTest::newRow("last chosen") << "de_DE" << german;
}

void TestMapHeader::textsLongerThanARead()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, title);
    MapFileRecipe recipe = germany(1);
    recipe.titles = {{1049, QByteArray(5000, 'r')}, {1033, QByteArray(6000, 'e')}, {1031, QByteArray(7000, 'd')}};
    recipe.versionTexts = {{1033, "2011Q2"}};
    recipe.conditions = {{QByteArray(9000, 'c'), 3, 1, 2}};
    const QByteArray bytes = writeMapFile(recipe);
    CountingFile file(bytes);
    MapHeader header;
    QVERIFY(readMapHeader(language, &file, bytes.size(), header));
    QCOMPARE(header.title, QString::fromLatin1(title));
    QCOMPARE(header.versionText, QStringLiteral("2011Q2"));
    QCOMPARE(header.conditions.size(), 1);
    QCOMPARE(header.conditions.at(0).packageName, QString(9000, QLatin1Char('c')));
    QCOMPARE(header.conditions.at(0).op, QStringLiteral("<="));
}

QTEST_GUILESS_MAIN(TestMapHeader)
#include "tst_mapheader.moc"
