// The main window as a user drives it: a shown window, real clicks on its widgets and on the
// tabs of MainTab, the event loop running on the virtual clock. Each flow here once went wrong
// in the real window while the pieces behind it passed their own tests.

#include "MainWindowFixture.h"

#include "shell/MainMenu.h"

#include "link/Clock.h"
#include "pagoline/core/Pagoline.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

// The middle of the tab's caption, where a user clicks.
QPoint tabPoint(const Pagoline& tabs, int tab)
{
    const CTab* item = tabs.TabList().Item(tab + 1);
    return item ? QPoint((item->ULx() + item->LRx()) / 2, (item->ULy() + item->LRy()) / 2) : QPoint(-1, -1);
}

void clickTab(MainWindowFixture& f, int tab)
{
    const QPoint at = tabPoint(f.main.mainTab(), tab);
    QVERIFY2(at.x() >= 0, "tab not on show");
    QTest::mouseClick(&f.main.mainTab(), Qt::LeftButton, {}, at);
}

// Frames whose payload starts with prefix, as the bus received them.
QList<QByteArray> framesStartingWith(const sim::SimBus& bus, const QByteArray& prefix)
{
    QList<QByteArray> found;
    for (const sim::ReceivedFrame& frame : bus.received()) {
        if (frame.payload.startsWith(prefix))
            found << frame.payload;
    }
    return found;
}

// Counts task-timer ticks that began while another tick was still running.
class TickOverlap : public QObject {
public:
    explicit TickOverlap(FrmMain& main) : main_(main)
    {
        // Connected after the window's own handler: a tick that was started inside another one
        // returns into a tick still in progress.
        connect(&main.taskTimer(), &ClockTimer::timeout, this, [this] {
            if (main_.guard().tickInProgress())
                ++overlapping;
        });
    }
    int overlapping = 0;

private:
    FrmMain& main_;
};

}  // namespace

class TstUserFlows : public QObject {
    Q_OBJECT
private slots:
    void searchPressedTwiceCompletesTwice();
    void movingTheSelectedSensorMovesThePages();
    void writePressedBeforeTheFillSendsNothing();
    void tabClickRunsThePageEntryAndLocksTheMenus();
    void searchEndsTheOutputTest();
    void deviceLostAndBackFindsTheSensorsAgain();
    void renameRefusesWhatTheBusCannotCarry();
};

void TstUserFlows::searchPressedTwiceCompletesTwice()
{
    MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("1:89,2:77,5:45"));
    f.main.load();
    f.main.show();
    TickOverlap ticks(f.main);
    auto* search = f.find<QPushButton>("CmdSearch");
    auto* status = f.find<QLabel>("lblConnectedVia");
    QStringList statusWhileSending;
    connect(&f.link, &Link::traffic, this, [&](bool outgoing, const QByteArray&) {
        if (outgoing && !statusWhileSending.contains(status->text()))
            statusWhileSending << status->text();
    });
    for (int round = 0; round < 2; ++round) {
        f.clock.clock.advance(1000);
        QTest::mouseClick(search, Qt::LeftButton);
        QVERIFY(!search->isEnabled());
        QVERIFY2(f.clock.clock.runUntil([&] { return search->isEnabled(); }, 60'000), "the search never finished");
        QCOMPARE(f.rowAddresses(), (QStringList{"1", "2", "5"}));
        QVERIFY(f.main.taskTimer().isActive());
    }
    // Live readings go on after the second search.
    f.clock.clock.advance(1000);
    QVERIFY(!f.find<QLabel>("LblReading_2")->text().isEmpty());
    QCOMPARE(ticks.overlapping, 0);
    // The status line said where the search was, and what is connected once it was over.
    for (int address : {1, 7, 16})
        QVERIFY(statusWhileSending.contains(QStringLiteral("en-Search: en-Address %1 / 16").arg(address)));
    QCOMPARE(status->text(), QStringLiteral("en-ConnectedVia dunmere-sim"));
}

void TstUserFlows::movingTheSelectedSensorMovesThePages()
{
    MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("3:45,7:77"));
    f.main.load();
    f.main.show();
    QCOMPARE(f.main.sensorModel().CurrentAddress, 3);
    auto* list = f.find<QComboBox>("ListAddress_0");
    list->setFocus();
    list->setCurrentIndex(list->findText(QStringLiteral("11")));
    QTest::keyClick(list, Qt::Key_Down);  // chooses 12 as a user does
    QTest::mouseClick(f.find<QPushButton>("CmdAddrOK_0"), Qt::LeftButton);
    QVERIFY(f.clock.clock.runUntil([&] { return f.bus.sensorAt(12) != nullptr; }, 5000));
    f.clock.clock.advance(1000);
    QCOMPARE(f.main.sensorModel().CurrentAddress, 12);

    // Another sensor moved onto the old address must not be what the pages talk to.
    f.bus.sensorAt(7)->setAddress(3);
    f.bus.clearReceived();
    clickTab(f, 1);
    f.clock.clock.advance(3000);
    QVERIFY(!f.bus.received().isEmpty());
    for (const sim::ReceivedFrame& frame : f.bus.received())
        QCOMPARE(frame.address, 12);
    QVERIFY(!f.find<QLineEdit>("TextMB")->text().isEmpty());
}

void TstUserFlows::writePressedBeforeTheFillSendsNothing()
{
    MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("4:45"));
    f.main.load();
    f.main.show();
    f.clock.clock.advance(1000);
    auto* write = f.find<QPushButton>("CmdConfigWrite");

    // Straight after entering, before any tick has filled the page.
    clickTab(f, 1);
    QVERIFY(!write->isEnabled());
    QTest::mouseClick(write, Qt::LeftButton);
    f.clock.clock.advance(3000);
    QVERIFY(framesStartingWith(f.bus, "W").isEmpty());
    QVERIFY(write->isEnabled());

    // A fill that got no answers leaves nothing a click could write.
    clickTab(f, 0);
    f.clock.clock.advance(1000);
    sim::FaultSet silent;
    silent.silence = true;
    QVERIFY(f.bus.setSensorFaults(4, silent));
    clickTab(f, 1);
    f.clock.clock.advance(10'000);
    QVERIFY(!write->isEnabled());
    QTest::mouseClick(write, Qt::LeftButton);
    f.clock.clock.advance(3000);
    QVERIFY(framesStartingWith(f.bus, "W").isEmpty());

    // Once the sensor answers again, a fresh fill makes the write possible, and the click
    // locks the tabs until the write has run.
    QVERIFY(f.bus.setSensorFaults(4, {}));
    clickTab(f, 0);
    f.clock.clock.advance(1000);
    clickTab(f, 1);
    QVERIFY(f.clock.clock.runUntil([&] { return write->isEnabled(); }, 10'000));
    QTest::mouseClick(write, Qt::LeftButton);
    QVERIFY(!write->isEnabled());
    QVERIFY(!f.main.mainTab().Enabled());
    QVERIFY(f.clock.clock.runUntil([&] { return write->isEnabled(); }, 20'000));
    QVERIFY(f.main.mainTab().Enabled());
    QVERIFY(!framesStartingWith(f.bus, "W2 ").isEmpty());
}

void TstUserFlows::tabClickRunsThePageEntryAndLocksTheMenus()
{
    MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("1:89"));
    f.main.load();
    f.main.show();
    f.clock.clock.advance(1000);
    const QStringList menus{"mnuCommunications", "mnuLanguage", "mnuSearchSpeed"};
    for (int tab : {1, 2, 0}) {
        clickTab(f, tab);
        QCOMPARE(f.main.mainTab().Tab(), tab);
        for (const QString& menu : menus)
            QCOMPARE(f.main.menu().itemEnabled(menu), tab == 0);
        f.clock.clock.advance(3000);
    }
    // The entries ran: the Configuration page was read, the Diagnostics page refreshed.
    QVERIFY(!f.find<QLineEdit>("TextMB")->text().isEmpty());
    QVERIFY(!f.find<QLabel>("LblVersionNumber")->text().isEmpty());
}

void TstUserFlows::searchEndsTheOutputTest()
{
    MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("2:45"));
    f.main.load();
    f.main.show();
    clickTab(f, 2);
    f.clock.clock.advance(3000);
    auto* test = f.find<QPushButton>("CmdOutputTest");
    QVERIFY(test->isEnabled());
    QTest::mouseClick(test, Qt::LeftButton);
    auto* frame = f.find<QWidget>("FrameInterface");
    QVERIFY(frame->isVisible());
    f.clock.clock.advance(1000);

    // The sensor goes; the search that follows finds nobody.
    clickTab(f, 0);
    f.bus.removeSensor(2);
    QTest::mouseClick(f.find<QPushButton>("CmdSearch"), Qt::LeftButton);
    QVERIFY(f.clock.clock.runUntil([&] { return f.main.noSensorFound(); }, 60'000));
    clickTab(f, 2);
    QVERIFY(!frame->isVisible());
    QVERIFY(!f.main.requests().OutputTestRequest);
}

void TstUserFlows::deviceLostAndBackFindsTheSensorsAgain()
{
    MainWindowFixture f("NumLangs=1\r\nLastComms=COM\r\nPort=1\r\n", std::nullopt);
    [[maybe_unused]] const bool added = sim::populate(f.bus, sim::parseSensorList(QStringLiteral("1:45,4:77")).sensors);
    SimulatedPorts ports(f.bus, {"/dev/simA"});
    Link link;
    LanguageTexts texts;
    FrmMain main(link, texts, ports);
    QStringList shown;
    main.messages().setAnswerProvider([&](const QString& text, MessageButtons) {
        shown << text;
        return FrmMessages::Answer::Ok;
    });
    main.load();
    main.show();
    auto* status = main.findChild<QLabel*>("lblConnectedVia");
    QCOMPARE(status->text(), QStringLiteral("en-ConnectedVia en-ComPort 1"));
    QVERIFY(!main.noSensorFound());

    // The device fails while the rows are polled, and is gone from the system's list.
    QVERIFY(ports.lastOpened);
    ports.setDevices({});
    ports.lastOpened->close();
    emit ports.lastOpened->failed();
    QVERIFY(f.clock.clock.runUntil([&] { return main.noSensorFound(); }, 30'000));
    QVERIFY(!shown.isEmpty() && shown.first().endsWith(QStringLiteral("The port is not open")));
    QCOMPARE(status->text(), QStringLiteral("en-No en-ComPort - en-Communications"));
    QVERIFY(!main.menu().item("mnuComPortCom1") || !main.menu().item("mnuComPortCom1")->isChecked());

    f.clock.clock.advance(5000);  // unplugged for a while

    // Plugged back in: opened again and searched, with nobody touching the window.
    ports.setDevices({"/dev/simA"});
    QVERIFY(f.clock.clock.runUntil([&] { return !main.noSensorFound(); }, 30'000));
    QVERIFY(f.clock.clock.runUntil([&] { return main.findChild<QPushButton*>("CmdSearch")->isEnabled(); }, 30'000));
    QCOMPARE(status->text(), QStringLiteral("en-ConnectedVia en-ComPort 1"));
    QVERIFY(main.menu().item("mnuComPortCom1")->isChecked());
    QVERIFY(main.taskTimer().isActive());
}

void TstUserFlows::renameRefusesWhatTheBusCannotCarry()
{
    MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("1:45"));
    f.main.load();
    f.main.show();
    auto* name = f.find<QLineEdit>("TextName_0");
    name->selectAll();
    // Typed one key at a time, as a keyboard with these letters sends them.
    for (const QChar c : QStringLiteral("Mixer \u03A9\u00DF\u4E2D")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(name, &press);
    }
    QCOMPARE(name->text(), QStringLiteral("Mixer \u00DF"));
    QTest::mouseClick(f.find<QPushButton>("CmdAddrOK_0"), Qt::LeftButton);
    f.clock.clock.advance(3000);
    QCOMPARE(f.bus.sensorAt(1)->name().trimmed(), QByteArray("Mixer \xDF"));
}

QTEST_MAIN(TstUserFlows)
#include "tst_userflows.moc"
