// The progress texts: durations with at most two units, binary sizes and speeds with hundredths.

#include "formatting.h"

#include <QtTest>

class FormattingTest : public QObject
{
    Q_OBJECT

private slots:
    void duration_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "00s";
        QTest::newRow("seconds only") << qint64(59) << "59s";
        QTest::newRow("single digit seconds") << qint64(7) << "07s";
        QTest::newRow("hour and minute") << qint64(3661) << "1h 1m";
        QTest::newRow("day hour minute second") << qint64(90061) << "1d 1h";
        QTest::newRow("zero after written unit") << qint64(3600) << "1h 0m";
        QTest::newRow("minute with zero seconds") << qint64(60) << "1m 00s";
        QTest::newRow("day with zero hours") << qint64(86400 + 61) << "1d 0h";
    }
    void duration()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(Utilities::formatDuration(seconds), text);
    }

    void size_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("unit");
        QTest::newRow("one and a half GiB") << quint64(1536) * 1048576 << "1,50" << "GB";
        QTest::newRow("exactly one GiB") << (quint64(1) << 30) << "1,00" << "GB";
        QTest::newRow("hundredths rounded down") << (quint64(2) << 30) + quint64(1023) * 1048576 << "2,99" << "GB";
        QTest::newRow("just below one GiB") << (quint64(1) << 30) - 1 << "1023" << "MB";
        QTest::newRow("below one MiB") << quint64(1048575) << "0" << "MB";
    }
    void size()
    {
        QFETCH(quint64, bytes);
        QFETCH(QString, number);
        QFETCH(QString, unit);
        const Utilities::FormattedSize formatted = Utilities::formatSize(bytes);
        QCOMPARE(formatted.number, number);
        QCOMPARE(formatted.unit, unit);
    }

    void speed_data()
    {
        QTest::addColumn<quint64>("bytesPerSecond");
        QTest::addColumn<QString>("text");
        QTest::newRow("five MiB") << quint64(5242880) << "5,00 MB/s";
        QTest::newRow("GiB with MiB hundredths") << (quint64(3) << 30) + (quint64(256) << 20) << "3,25 GB/s";
        QTest::newRow("ten MiB whole") << (quint64(10) << 20) + 524288 << "10 MB/s";
        QTest::newRow("MiB with KiB hundredths") << (quint64(1) << 20) + 512 * 1024 << "1,50 MB/s";
        QTest::newRow("ten KiB whole") << quint64(10 * 1024 + 1023) << "10 KB/s";
        QTest::newRow("KiB with byte hundredths") << quint64(1024 + 256) << "1,25 KB/s";
        QTest::newRow("bytes") << quint64(1023) << "1023 B/s";
        QTest::newRow("zero") << quint64(0) << "0 B/s";
    }
    void speed()
    {
        QFETCH(quint64, bytesPerSecond);
        QFETCH(QString, text);
        QCOMPARE(Utilities::formatSpeed(bytesPerSecond), text);
    }

    void date()
    {
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QCOMPARE(Utilities::formatDate(english, QDate(2024, 3, 5)), "Tuesday, March 05, 2024");
    }
};

QTEST_GUILESS_MAIN(FormattingTest)
#include "tst_formatting.moc"
