#include "sha1.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTest>

class TestSha1 : public QObject
{
    Q_OBJECT

private slots:
    void knownDigest();
    void matchesIndependentImplementation_data();
    void matchesIndependentImplementation();
};

void TestSha1::knownDigest()
{
    Sha1 sha1;
    sha1.add(reinterpret_cast<const unsigned char *>("abc"), 3);
    QCOMPARE(QString::fromStdString(sha1.finishHex()), QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d"));
}

void TestSha1::matchesIndependentImplementation_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("piece");
    // Lengths around the 55/56/64-byte padding boundaries, fed whole and in odd pieces.
    for (int size : {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 128, 4096, 100003}) {
        QTest::addRow("%d bytes whole", size) << size << size + 1;
        QTest::addRow("%d bytes in pieces of 7", size) << size << 7;
    }
}

void TestSha1::matchesIndependentImplementation()
{
    QFETCH(int, size);
    QFETCH(int, piece);
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator{quint32(size)};
    for (char &c : data)
        c = char(generator.bounded(256));
    Sha1 sha1;
    for (int offset = 0; offset < size; offset += piece)
        sha1.add(reinterpret_cast<const unsigned char *>(data.constData()) + offset, std::size_t(qMin(piece, size - offset)));
    QCOMPARE(QByteArray::fromStdString(sha1.finishHex()), QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
}

QTEST_APPLESS_MAIN(TestSha1)
#include "tst_sha1.moc"
