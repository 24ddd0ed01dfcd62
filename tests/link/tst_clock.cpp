// The clock seam: virtual time runs scheduled calls in order and jumps to deadlines, sleeps
// let only wire events through, timers repeat on it; the real clock's wait wakes on an event
// and on its deadline without polling.

#include "VirtualClockFixture.h"
#include "link/ClockTimer.h"

#include <QTest>
#include <QTimer>
#include <ctime>

using namespace dunmere;

class TestClock : public QObject {
    Q_OBJECT
private slots:
    void virtualWaitRunsDueCallsInOrderAndStopsAtTheCondition()
    {
        test::VirtualClockScope time;
        auto& clock = time.clock;
        const qint64 t0 = clock.nowMs();
        QList<int> order;
        clock.schedule(t0 + 30, [&] { order << 30; });
        clock.schedule(t0 + 10, [&] { order << 10; });
        clock.schedule(t0 + 500, [&] { order << 500; });
        QVERIFY(clock.waitUntil([&] { return order.size() == 2; }, t0 + 1000));
        QCOMPARE(order, (QList<int>{10, 30}));
        QCOMPARE(clock.nowMs(), t0 + 30);
        QVERIFY(!clock.waitUntil([] { return false; }, t0 + 100));
        QCOMPARE(clock.nowMs(), t0 + 100);
    }

    void sleepLetsWireEventsThroughButNotTimers()
    {
        test::VirtualClockScope time;
        auto& clock = time.clock;
        const qint64 t0 = clock.nowMs();
        bool wire = false, timer = false;
        clock.schedule(t0 + 5, [&] { wire = true; }, Clock::Runs::AlsoDuringSleep);
        clock.schedule(t0 + 5, [&] { timer = true; });
        clock.sleep(10);
        QVERIFY(wire);
        QVERIFY(!timer);
        clock.advance(0);
        QVERIFY(timer);
    }

    void clockTimerRepeatsAndStops()
    {
        test::VirtualClockScope time;
        ClockTimer timer;
        int ticks = 0;
        connect(&timer, &ClockTimer::timeout, this, [&] {
            if (++ticks == 3)
                timer.stop();
        });
        timer.start(200);
        time.clock.advance(2000);
        QCOMPARE(ticks, 3);
        QVERIFY(!timer.isActive());
    }

    void realWaitWakesOnAnEventWithoutSpinning()
    {
        RealClock clock;
        bool flag = false;
        QTimer::singleShot(300, this, [&] { flag = true; });
        const std::clock_t cpu0 = std::clock();
        QVERIFY(clock.waitUntil([&] { return flag; }, clock.nowMs() + 5000));
        const double cpuSeconds = double(std::clock() - cpu0) / CLOCKS_PER_SEC;
        // A spinning wait would burn the whole 0.3 s.
        QVERIFY2(cpuSeconds < 0.15, qPrintable(QString::number(cpuSeconds)));
        QVERIFY(!clock.waitUntil([] { return false; }, clock.nowMs() + 50));
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
