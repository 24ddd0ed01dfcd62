// The main window with the sensor model behind its Sensor page: the search filling the rows,
// demonstration mode, the rows after a language change, the last row unticked, the serial
// ports from the probe, clicks that arrive while an exchange waits, and closing in the middle
// of an exchange. Virtual clock and the simulated bus; the row bookkeeping itself is tested
// with the sensor model.

#include "MainWindowFixture.h"

#include "shell/MainMenu.h"
#include "shell/SensorPage.h"

#include "link/Clock.h"
#include "pagoline/core/Pagoline.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

class TstSensorPage : public QObject {
    Q_OBJECT
private slots:
    void searchFillsRowsInAddressOrderAtMostSix()
    {
        MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("16:45,3:45,1:89,7:77,2:45,9:45,12:45,5:45"));
        f.main.load();
        QCOMPARE(f.rowAddresses(), (QStringList{"1", "2", "3", "5", "7", "9"}));
        QCOMPARE(f.find<QGroupBox>("FrameSensor_0")->title(), QString::fromLatin1(f.bus.sensorAt(1)->identity()));
        // The seventh and eighth sensor were found but found no row.
        for (int box : {11, 15}) {
            auto* check = f.find<QCheckBox>(QStringLiteral("CheckAddr_%1").arg(box));
            QVERIFY(check->isEnabled());
            QVERIFY(!check->isChecked());
        }
        QVERIFY(!f.find<QCheckBox>("CheckAddr_3")->isEnabled());  // nothing at address 4
        QVERIFY(f.find<QRadioButton>("OptSensor_0")->isChecked());
        QVERIFY(f.main.taskTimer().isActive());
        QVERIFY(f.main.mainTab().TabEnabled(1) && f.main.mainTab().TabEnabled(2));
        // The next tick shows live values in every row.
        f.clock.clock.advance(2000);
        for (int r = 0; r < 6; ++r)
            QVERIFY(!f.find<QLabel>(QStringLiteral("LblReading_%1").arg(r))->text().isEmpty());
    }

    void noSensorGivesDemonstrationValues()
    {
        MainWindowFixture f("NumLangs=1\r\n", QString());
        f.main.load();
        QCOMPARE(f.messages, QStringList{"en-CommsError"});
        QVERIFY(f.main.noSensorFound());
        QVERIFY(!f.main.taskTimer().isActive());
        QCOMPARE(f.find<QLineEdit>("TextName_0")->text(), QStringLiteral("DEMO"));
        QCOMPARE(f.find<QLabel>("LblReading_0")->text(), QStringLiteral("XX.X"));
        QCOMPARE(f.find<QGroupBox>("FrameSensor_0")->title(), QStringLiteral("DEMO"));
        QCOMPARE(f.find<QComboBox>("ListAddress_0")->currentText(), QStringLiteral("16"));
        QVERIFY(!f.find<QPushButton>("CmdAddrOK_0")->isEnabled());
        QVERIFY(f.main.mainTab().TabEnabled(1) && f.main.mainTab().TabEnabled(2) && f.main.mainTab().TabEnabled(3));
        // A search with the simulated line still there: the button stays usable.
        QVERIFY(f.find<QPushButton>("CmdSearch")->isEnabled());
    }

    void languageChangeKeepsEachRowsAddress()
    {
        MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("2:45,5:77"));
        f.main.load();
        QCOMPARE(f.rowAddresses(), (QStringList{"2", "5"}));
        f.main.menu().item("mnuLanguage2")->trigger();
        QCOMPARE(f.rowAddresses(), (QStringList{"2", "5"}));
        // So that a rename keeps the sensor where it is.
        f.find<QLineEdit>("TextName_1")->setText(QStringLiteral("Renamed"));
        QTest::keyClick(f.find<QLineEdit>("TextName_1"), Qt::Key_Exclam);
        f.find<QPushButton>("CmdAddrOK_1")->click();
        f.clock.clock.advance(3000);
        QCOMPARE(f.bus.sensorAt(5)->name().trimmed(), QByteArray("Renamed!"));
        QVERIFY(!f.bus.sensorAt(1));
    }

    void lastRowUntickedDisablesEveryOtherPage()
    {
        MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("3:45"));
        f.main.load();
        QVERIFY(f.main.mainTab().TabEnabled(1));
        f.find<QCheckBox>("CheckAddr_2")->click();
        QVERIFY(f.rowAddresses().isEmpty());
        for (short tab : {1, 2, 3})
            QVERIFY2(!f.main.mainTab().TabEnabled(tab), qPrintable(QString::number(tab)));
        QVERIFY(f.find<QPushButton>("CmdTrend")->isHidden());
    }

    void probedPortsInTheMenuAndPortSixteenKept()
    {
        MainWindowFixture f("NumLangs=1\r\nLastComms=COM\r\nPort=16\r\n[Ports]\r\nCOM1=/dev/simA\r\nCOM4=/dev/simB\r\nCOM16=/dev/simC\r\n",
                            std::nullopt);
        [[maybe_unused]] const bool added = sim::populate(f.bus, sim::parseSensorList(QStringLiteral("1:45")).sensors);
        SimulatedPorts ports(f.bus, {"/dev/simA", "/dev/simB", "/dev/simC"});
        Link link;
        LanguageTexts texts;
        FrmMain main(link, texts, ports);
        main.messages().setAnswerProvider([](const QString&, MessageButtons) { return FrmMessages::Answer::Ok; });
        main.load();
        QCOMPARE(main.menu().childKeys("mnuComPort"), (QStringList{"mnuComPortCom1", "mnuComPortCom4", "mnuComPortCom16"}));
        QVERIFY(main.menu().item("mnuComPortCom16")->isChecked());
        QCOMPARE(main.findChild<QLabel*>("lblConnectedVia")->text(), QStringLiteral("en-ConnectedVia en-ComPort 16"));
        QVERIFY(!main.noSensorFound());

        // A port click is a request the next tick serves; the menu waits for it.
        main.menu().item("mnuComPortCom4")->trigger();
        QVERIFY(!main.menu().itemEnabled("mnuCommunications"));
        f.clock.clock.runUntil([&] { return main.menu().itemEnabled("mnuCommunications"); }, 5000);
        QVERIFY(main.menu().item("mnuComPortCom4")->isChecked());
        QCOMPARE(ports.opened.last(), QStringLiteral("/dev/simB"));
    }

    void selectionClickedDuringAnExchangeWaitsForTheTick()
    {
        MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("1:89,2:77"));
        f.main.load();
        bool clickedInside = false;
        int framesBeforeClickReturned = -1;
        // Click row 1 while a tick's exchange waits for its reply.
        connect(&f.link, &Link::traffic, this, [&](bool outgoing, const QByteArray&) {
            if (!outgoing || clickedInside || !f.main.guard().busy())
                return;
            clickedInside = true;
            auto& clock = Clock::current();
            clock.schedule(clock.nowMs() + 1, [&] {
                const int before = f.bus.received().size();
                f.find<QRadioButton>("OptSensor_1")->click();
                framesBeforeClickReturned = f.bus.received().size() - before;
            });
        });
        f.clock.clock.advance(400);
        QVERIFY(clickedInside);
        QCOMPARE(framesBeforeClickReturned, 0);  // nothing was sent from inside the wait
        f.clock.clock.runUntil([&] { return f.main.sensorModel().SelectedRow() == 1; }, 3000);
        QCOMPARE(f.main.sensorModel().SelectedRow(), 1);
        QCOMPARE(f.main.sensorModel().CurrentAddress, 2);
    }

    void diagnosticsRequestsServedOnePerTickInTheirOrder()
    {
        MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("1:89"));
        f.main.load();
        f.main.mainTab().setTab(2);
        f.clock.clock.advance(3000);  // the full refresh of the entered page
        f.bus.clearReceived();
        // Pressed in this order; served in the fixed order, one per tick.
        TaskRequests& r = f.main.requests();
        r.AveragingModeRequest = true;
        r.ModeWriteRequest = true;
        f.clock.clock.advance(3000);
        QList<QByteArray> writes;
        QList<qint64> times;
        for (const sim::ReceivedFrame& frame : f.bus.received()) {
            for (const QByteArray command : {QByteArray("W38"), QByteArray("W49")}) {
                if (frame.payload.startsWith(command + ' ') && !writes.contains(command)) {
                    writes << command;
                    times << frame.atMs;
                }
            }
        }
        QCOMPARE(writes, (QList<QByteArray>{"W38", "W49"}));
        QVERIFY(times[1] - times[0] >= 200);
        QVERIFY(!r.ModeWriteRequest && !r.AveragingModeRequest);
    }

    void closingDuringAnExchangeSendsNothingMoreAndExitsOnce()
    {
        MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("1:89,2:77,5:45"));
        f.main.load();
        int sentAfterClose = 0;
        bool closed = false;
        connect(&f.link, &Link::traffic, this, [&](bool outgoing, const QByteArray&) {
            if (!outgoing)
                return;
            if (closed) {
                ++sentAfterClose;
                return;
            }
            if (!f.main.guard().busy())
                return;
            auto& clock = Clock::current();
            clock.schedule(clock.nowMs() + 1, [&] {
                if (closed)
                    return;
                closed = true;
                f.main.close();
                // The tick is still waiting: nothing is unloaded under it.
                QVERIFY(!f.main.exited());
            });
        });
        f.clock.clock.advance(3000);
        QVERIFY(closed);
        QCOMPARE(sentAfterClose, 0);
        QVERIFY(f.main.exited());
        QCOMPARE(f.exits, 1);
        QVERIFY(!f.main.taskTimer().isActive());
        f.main.close();
        QCOMPARE(f.exits, 1);
    }
};

QTEST_MAIN(TstSensorPage)
#include "tst_sensorpage.moc"
