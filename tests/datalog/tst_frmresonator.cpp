// The resonator window on the simulated bus and the virtual clock: its captions and value
// labels after a refresh, the main window's task timer stopped during a refresh and running
// between them, a frozen sweep beside the live one, a silent sensor, and closing.

#include "DatalogFixture.h"

#include "datalog/ui/FrmResonator.h"
#include "link/ClockTimer.h"
#include "link/NumberRules.h"
#include "shell/core/ExchangeGuard.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"
#include "sim/VirtualSensor.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

struct ResonatorFixture {
    ResonatorFixture()
    {
        [[maybe_unused]] const bool added = sim::populate(bus, sim::parseSensorList(QStringLiteral("2:89,5:77")).sensors);
        link.setTransport(&transport);
        mainTimer.setInterval(200);
        QObject::connect(&mainTimer, &ClockTimer::timeout, [this] {
            mainTimer.stop();
            ++mainTicks;
            mainTimer.start();
        });
        mainWindow.show();
        window = new FrmResonator(link, texts, guard, mainTimer);
        QObject::connect(window, &FrmResonator::closed, [this] { mainWindow.show(); });
        window->open(&mainWindow, 5);
    }
    ~ResonatorFixture() { delete window.data(); }
    QLabel* label(const char* name) const { return window->findChild<QLabel*>(QString::fromLatin1(name)); }

    VirtualClockScope clock;
    sim::SimBus bus;
    sim::SimTransport transport{bus, Transport::Kind::Serial};
    Link link;
    PlainTexts texts;
    ExchangeGuard guard{link};
    ClockTimer mainTimer;
    QWidget mainWindow;
    QPointer<FrmResonator> window;
    int mainTicks = 0;
};

}  // namespace

class TestFrmResonator : public QObject {
    Q_OBJECT
private slots:
    void init() { SetDecimalComma(false); }
    void refreshShowsTheSweepAndTheValues();
    void frozenSweepStaysBesideTheLiveOne();
    void silentSensorEmptiesTheValues();
    void closingBringsBackTheMainWindow();
};

void TestFrmResonator::refreshShowsTheSweepAndTheValues()
{
    ResonatorFixture f;
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.mainWindow.isVisible());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Resonator"));
    QCOMPARE(f.window->findChild<QLabel*>(QStringLiteral("Label1_8"))->text(), QStringLiteral("UnComp"));
    QCOMPARE(f.label("lblGraphFreq")->text(), QStringLiteral("0.00"));
    f.clock.clock.advance(650);
    QVERIFY(f.label("lblGraphFreq")->text() != QLatin1String("0.00"));
    QVERIFY(f.label("lblGraphFreq")->text().contains(u'.'));
    QVERIFY(!f.label("lblTempMat")->text().isEmpty());
    QVERIFY(f.label("lblTempMat")->text() != QLatin1String("-99"));
    QCOMPARE(f.label("lblGraphAmp")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    const SweepPoints& points = f.window->sweep().points();
    QVERIFY(*std::min_element(points.begin(), points.end()) < 1024 - 4 * 100);  // a peak
    // The main window's timer runs between refreshes, never during one.
    f.clock.clock.advance(3000);
    QVERIFY(f.mainTicks > 0);
    QVERIFY(f.mainTimer.isActive());
    QVERIFY(!f.guard.busy());
}

void TestFrmResonator::frozenSweepStaysBesideTheLiveOne()
{
    ResonatorFixture f;
    f.clock.clock.advance(650);
    QTest::mouseClick(f.window->findChild<QPushButton*>(QStringLiteral("cmdFreeze")), Qt::LeftButton);
    QVERIFY(f.window->frozen());
    f.bus.sensorAt(5)->live().setMaterial(80.0);
    f.clock.clock.advance(20000);
    QTest::mouseClick(f.window->findChild<QPushButton*>(QStringLiteral("cmdFreeze")), Qt::LeftButton);
    QVERIFY(!f.window->frozen());
}

void TestFrmResonator::silentSensorEmptiesTheValues()
{
    ResonatorFixture f;
    f.clock.clock.advance(650);
    const SweepPoints before = f.window->sweep().points();
    sim::FaultSet silent;
    silent.silence = true;
    QVERIFY(f.bus.setSensorFaults(5, silent));
    f.clock.clock.advance(12000);
    QVERIFY(f.label("lblGraphFreq")->text().isEmpty());
    QVERIFY(f.label("lblGraphFreqComp")->text().isEmpty());
    QCOMPARE(f.label("lblTempMat")->text(), QStringLiteral("-99"));
    QCOMPARE(f.window->sweep().points(), before);
}

void TestFrmResonator::closingBringsBackTheMainWindow()
{
    ResonatorFixture f;
    f.clock.clock.advance(650);
    f.window->close();
    QVERIFY(f.mainWindow.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.window.isNull());
    f.clock.clock.advance(2000);
}

QTEST_MAIN(TestFrmResonator)
#include "tst_frmresonator.moc"
