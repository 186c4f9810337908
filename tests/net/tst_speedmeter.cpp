// Speed over a sliding window of samples and the time left at that speed.

#include "speedmeter.h"

#include <QtTest>

class SpeedMeterTest : public QObject
{
    Q_OBJECT

private slots:
    void unknownUntilTimeIsMeasured()
    {
        SpeedMeter meter(5000);
        QCOMPARE(meter.speed(), -1);
        QCOMPARE(meter.timeLeft(100), -1);
        meter.add(4096);
        meter.commit();
        QCOMPARE(meter.speed(), -1);
        // Bytes committed without time count once time arrives.
        meter.addTime(1000);
        meter.commit();
        QCOMPARE(meter.speed(), 4096);
        QCOMPARE(meter.timeLeft(40960), 10);
    }

    void oldSamplesLeaveTheWindow()
    {
        SpeedMeter meter(5000);
        meter.addTime(3000);
        meter.add(3000000);
        meter.commit();
        meter.addTime(3000);
        meter.add(3000);
        meter.commit();
        QCOMPARE(meter.speed(), 1000);
        QCOMPARE(meter.timeLeft(1500), 1);
    }

    void outOfRangeIsUnknown()
    {
        SpeedMeter meter(5000);
        meter.addTime(1);
        meter.add(quint64(1) << 40);
        meter.commit();
        QCOMPARE(meter.speed(), -1);
        QCOMPARE(meter.timeLeft(1), -1);

        SpeedMeter slow(5000);
        slow.addTime(1000);
        slow.add(1);
        slow.commit();
        QCOMPARE(slow.timeLeft(quint64(1) << 40), -1);
    }
};

QTEST_GUILESS_MAIN(SpeedMeterTest)
#include "tst_speedmeter.moc"
