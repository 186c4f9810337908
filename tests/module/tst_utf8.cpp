#include "utf8.h"

#include <QTest>

class TestUtf8 : public QObject
{
    Q_OBJECT

private slots:
    void roundTrips_data();
    void roundTrips();
    void unpairedSurrogateBecomesReplacement();
    void refusesMalformedBytes_data();
    void refusesMalformedBytes();
};

void TestUtf8::roundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII with NULs") << QString::fromUtf16(u"\\Storage Card\0\\SD\0", 18);
    QTest::newRow("Cyrillic") << QStringLiteral("\\Карта памяти");
    QTest::newRow("CJK") << QStringLiteral("\\存储卡");
    QTest::newRow("outside the basic plane") << QStringLiteral("\\Card \U0001F5FA");
}

void TestUtf8::roundTrips()
{
    QFETCH(QString, text);
    const std::string bytes = toUtf8(text.toStdU16String());
    QCOMPARE(QByteArray::fromStdString(bytes), text.toUtf8());
    std::u16string back;
    QVERIFY(fromUtf8(bytes, back));
    QCOMPARE(QString::fromStdU16String(back), text);
}

void TestUtf8::unpairedSurrogateBecomesReplacement()
{
    const std::u16string text{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
    QCOMPARE(QByteArray::fromStdString(toUtf8(text)), QByteArray("a\xEF\xBF\xBD" "b\xEF\xBF\xBD"));
}

void TestUtf8::refusesMalformedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lone continuation byte") << QByteArray("a\x80");
    QTest::newRow("truncated sequence") << QByteArray("\xD0");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF");
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80");
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80");
    QTest::newRow("invalid lead byte") << QByteArray("\xFF");
}

void TestUtf8::refusesMalformedBytes()
{
    QFETCH(QByteArray, bytes);
    std::u16string text;
    QVERIFY(!fromUtf8(bytes.toStdString(), text));
}

QTEST_APPLESS_MAIN(TestUtf8)
#include "tst_utf8.moc"
