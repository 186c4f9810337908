#include "packagelistparser.h"

#include <QTest>

namespace {

const QByteArray sha1 = "0123456789abcdef0123456789ABCDEF01234567";
const QByteArray fileLine = "rus.nm3,1048576,file-17," + sha1 + ",http://maps.example/rus.nm3";

// The seven fixed lines of a valid record, then its relation lines.
QList<QByteArray> baseRecord()
{
    return {"Russia", "korwind.rus", "All of Russia", "2011.05", "1.2", "map text", fileLine};
}

QByteArray listOf(const QList<QList<QByteArray>> &records, const QByteArray &ending = "DATAEND")
{
    QByteArray text;
    for (const QList<QByteArray> &record : records) {
        for (const QByteArray &line : record)
            text += line + '\n';
        text += '\n';
    }
    return text + ending;
}

QByteArray withLine(int index, const QByteArray &value)
{
    QList<QByteArray> record = baseRecord();
    record[index] = value;
    return listOf({record});
}

QByteArray withRelation(const QByteArray &relation)
{
    return listOf({baseRecord() << relation});
}

QByteArray withFile(int field, const QByteArray &value)
{
    QList<QByteArray> fields = fileLine.split(',');
    fields[field] = value;
    return withLine(6, fields.join(','));
}

} // namespace

class TestPackageListParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data();
    void rules();
    void fillsEveryField();
    void rejectionEmptiesTheList();
};

void TestPackageListParser::rules_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count"); // -1: the list is rejected

    QTest::newRow("one record") << listOf({baseRecord()}) << 1;
    QTest::newRow("two records") << listOf({baseRecord(), baseRecord()}) << 2;
    QTest::newRow("no records") << QByteArray("DATAEND") << 0;
    QTest::newRow("line feed after DATAEND") << listOf({baseRecord()}, "DATAEND\n") << 1;
    QTest::newRow("lines after DATAEND are not read") << listOf({baseRecord()}, "DATAEND\ngarbage") << 1;
    QTest::newRow("empty description and map text") << listOf({{"R", "c", "", "v", "1.0", "", fileLine}}) << 1;
    QTest::newRow("negative version") << withLine(4, "-1.-2") << 1;
    QTest::newRow("relation without version") << withRelation("conflicts,korwind.rus.overview") << 1;
    QTest::newRow("relation with version") << withRelation("depends,korwind.rus (>= 1.2)") << 1;
    QTest::newRow("relation without parentheses") << withRelation("replaces,korwind.rus != 1.2") << 1;
    QTest::newRow("parentheses anywhere") << withRelation("depends,(korwind.rus) (=) (1.2)") << 1;

    QTest::newRow("empty text") << QByteArray() << -1;
    QTest::newRow("missing DATAEND") << listOf({baseRecord()}, "").chopped(1) << -1;
    QTest::newRow("missing DATAEND and empty line") << QByteArray(baseRecord().join('\n')) << -1;
    QTest::newRow("record cut after four lines") << QByteArray(baseRecord().mid(0, 4).join('\n')) << -1;
    QTest::newRow("empty line where a record starts") << listOf({baseRecord()}, "\nDATAEND") << -1;
    QTest::newRow("DATAEND in place of the empty line") << QByteArray(baseRecord().join('\n') + "\nDATAEND") << -1;
    QTest::newRow("carriage returns") << listOf({baseRecord()}).replace('\n', "\r\n") << -1;
    QTest::newRow("empty code") << withLine(1, "") << -1;
    QTest::newRow("empty version text") << withLine(3, "") << -1;

    QTest::newRow("version of one part") << withLine(4, "1") << -1;
    QTest::newRow("version of three parts") << withLine(4, "1.2.3") << -1;
    QTest::newRow("version with an empty part") << withLine(4, "1.") << -1;
    QTest::newRow("version not decimal") << withLine(4, "1.x") << -1;
    QTest::newRow("version with hex digits") << withLine(4, "0x1.2") << -1;
    QTest::newRow("version with a plus sign") << withLine(4, "+1.2") << -1;
    QTest::newRow("version with a blank") << withLine(4, " 1.2") << -1;
    QTest::newRow("version beyond 32 bits") << withLine(4, "2147483648.0") << -1;

    QTest::newRow("file line of four fields") << withLine(6, "a,1,b," + sha1) << -1;
    QTest::newRow("file line of six fields") << withLine(6, fileLine + ",x") << -1;
    QTest::newRow("empty file name") << withFile(0, "") << -1;
    QTest::newRow("file name with a folder") << withFile(0, "../rus.nm3") << -1;
    QTest::newRow("file name with a backslash") << withFile(0, "maps\\rus.nm3") << -1;
    QTest::newRow("file name with a drive") << withFile(0, "C:rus.nm3") << -1;
    QTest::newRow("file name dot dot") << withFile(0, "..") << -1;
    QTest::newRow("size not a number") << withFile(1, "12k") << -1;
    QTest::newRow("size negative") << withFile(1, "-1") << -1;
    QTest::newRow("size empty") << withFile(1, "") << -1;
    QTest::newRow("size beyond 64 bits") << withFile(1, "18446744073709551616") << -1;
    QTest::newRow("empty file identifier") << withFile(2, "") << -1;
    QTest::newRow("SHA-1 too short") << withFile(3, sha1.left(39)) << -1;
    QTest::newRow("SHA-1 not hexadecimal") << withFile(3, sha1.left(39) + 'g') << -1;
    QTest::newRow("SHA-1 as a path") << withFile(3, "../../../../../../../../../../../../etc/x") << -1;
    QTest::newRow("empty URL") << withFile(4, "") << -1;

    QTest::newRow("relation without comma") << withRelation("depends korwind.rus") << -1;
    QTest::newRow("relation with two commas") << withRelation("depends,korwind.rus,korwind.ukr") << -1;
    QTest::newRow("unknown relation kind") << withRelation("requires,korwind.rus") << -1;
    QTest::newRow("relation kind in capitals") << withRelation("Depends,korwind.rus") << -1;
    QTest::newRow("relation with empty code") << withRelation("depends,") << -1;
    QTest::newRow("two spaces before the operator") << withRelation("depends,korwind.rus  (>= 1.2)") << -1;
    QTest::newRow("trailing space") << withRelation("depends,korwind.rus ") << -1;
    QTest::newRow("relation of two parts") << withRelation("depends,korwind.rus (>=)") << -1;
    QTest::newRow("relation of four parts") << withRelation("depends,korwind.rus (>= 1.2 1.3)") << -1;
    QTest::newRow("unknown operator") << withRelation("depends,korwind.rus (=> 1.2)") << -1;
    QTest::newRow("operator double equals") << withRelation("depends,korwind.rus (== 1.2)") << -1;
    QTest::newRow("relation version of one part") << withRelation("depends,korwind.rus (>= 1)") << -1;
    QTest::newRow("bad second record rejects the first") << listOf({baseRecord(), {"x"}}) << -1;
}

void TestPackageListParser::rules()
{
    QFETCH(QByteArray, text);
    QFETCH(int, count);

    QList<MapInfo> maps;
    QCOMPARE(parseMapPackageList(text, maps), count >= 0);
    QCOMPARE(maps.size(), qMax(count, 0));
}

void TestPackageListParser::fillsEveryField()
{
    const QByteArray text = listOf({{"Россия", "korwind.rus", "Вся Россия", "2011.05", "3.14", "text 6",
                                     "россия.nm3,18446744073709551615,id-1," + sha1 + ",http://maps.example/r.nm3",
                                     "depends,korwind.base (>= 1.2)", "conflicts,korwind.rus.overview",
                                     "depends,korwind.fonts", "replaces,korwind.rus.old (< 3.0)",
                                     "conflicts,korwind.rus (!= 3.14)"}});
    QList<MapInfo> maps;
    QVERIFY(parseMapPackageList(text, maps));
    QCOMPARE(maps.size(), 1);
    const MapInfo &map = maps.first();
    QCOMPARE(map.kind, int(ProductInfo::MapPackage));
    QCOMPARE(map.name, QStringLiteral("Россия"));
    QCOMPARE(map.code, QStringLiteral("korwind.rus"));
    QCOMPARE(map.description, QStringLiteral("Вся Россия"));
    QCOMPARE(map.version, QStringLiteral("2011.05"));
    QCOMPARE(map.majorVersion, 3);
    QCOMPARE(map.minorVersion, 14);
    QCOMPARE(map.mapText, QStringLiteral("text 6"));
    QCOMPARE(map.file.fileName, QStringLiteral("россия.nm3"));
    QCOMPARE(map.file.size, Q_UINT64_C(18446744073709551615));
    QCOMPARE(map.file.extraText, QStringLiteral("id-1"));
    QCOMPARE(map.file.extraBytes, sha1);
    QCOMPARE(map.file.url, QUrl(QStringLiteral("http://maps.example/r.nm3")));

    QCOMPARE(map.depends.size(), 2);
    QCOMPARE(map.depends[0].code, QStringLiteral("korwind.base"));
    QCOMPARE(map.depends[0].op, QStringLiteral(">="));
    QCOMPARE(map.depends[0].majorVersion, 1);
    QCOMPARE(map.depends[0].minorVersion, 2);
    QCOMPARE(map.depends[1].code, QStringLiteral("korwind.fonts"));
    QVERIFY(map.depends[1].op.isEmpty());
    QCOMPARE(map.depends[1].majorVersion, 0);
    QCOMPARE(map.conflicts.size(), 2);
    QCOMPARE(map.conflicts[0].code, QStringLiteral("korwind.rus.overview"));
    QCOMPARE(map.conflicts[1].op, QStringLiteral("!="));
    QCOMPARE(map.replaces.size(), 1);
    QCOMPARE(map.replaces[0].op, QStringLiteral("<"));
    QCOMPARE(map.replaces[0].majorVersion, 3);
}

void TestPackageListParser::rejectionEmptiesTheList()
{
    QList<MapInfo> maps;
    QVERIFY(parseMapPackageList(listOf({baseRecord()}), maps));
    QCOMPARE(maps.size(), 1);
    QVERIFY(!parseMapPackageList(withLine(4, "1"), maps));
    QVERIFY(maps.isEmpty());
}

QTEST_GUILESS_MAIN(TestPackageListParser)
#include "tst_packagelistparser.moc"
