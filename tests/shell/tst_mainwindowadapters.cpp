// The main window with its adapter list: the saved adapters offered by the menu at start-up
// and the connection made to the last one over real TCP on loopback (the simulated bus behind
// a simulated adapter's bridge), what closing the list window asks of the task timer, and the
// whole way through the menus: search, connect, give the adapter a fixed address, follow it.

#include "MainWindowFixture.h"
#include "../ethernet/LoopbackNetwork.h"

#include "shell/MainMenu.h"

#include "ethernet/EthernetFunctions.h"
#include "ethernet/ui/EthernetWindows.h"
#include "ethernet/ui/FrmEthernetSetup.h"
#include "shell/pages/core/PagesCore.h"
#include "sim/AdapterConfigServer.h"
#include "sim/TcpBridge.h"

#include <QAction>
#include <QLineEdit>
#include <QTimer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

// Three adapters; the second is the simulated one that the last connection went to.
struct AdapterBench {
    explicit AdapterBench(MainWindowFixture& f, const QByteArray& lastComms)
    {
        [[maybe_unused]] const bool added = sim::populate(bus, sim::parseSensorList(QStringLiteral("1:89,4:77")).sensors);
        QString error;
        if (!bridge.listen(QHostAddress(QStringLiteral("127.0.19.60")), 0, error))
            qWarning("%s", qPrintable(error));
        key = QStringLiteral("127.0.19.60:%1").arg(bridge.port());
        EthernetAdapters list;
        for (const QString& host : {QStringLiteral("127.0.19.61"), QStringLiteral("127.0.19.60"), QStringLiteral("127.0.19.62")}) {
            const int port = host.endsWith(QLatin1String(".60")) ? bridge.port() : 1;
            list.Add(true, 1, port, host, host, QStringLiteral("127.0.0.1"), AdapterKey(host, port));
        }
        [[maybe_unused]] const bool saved = list.SaveToDB(f.folder() + QStringLiteral("EthernetDB.mdb"));
        QFile file(f.configPath());
        if (file.open(QIODevice::WriteOnly))
            file.write(configText("NumLangs=1\r\nLanguage=0\r\nLastComms=" + lastComms
                                  + "\r\n[EthernetSetup]\r\nLastIPAddress=" + key.toLatin1() + "\r\n"));
    }
    sim::SimBus bus;
    sim::TcpBridge bridge{bus};
    QString key;
};

}  // namespace

class TestMainWindowAdapters : public QObject {
    Q_OBJECT
private slots:
    void startUpOffersTheSavedAdaptersAndReconnects()
    {
        MainWindowFixture f("", std::nullopt, false);
        AdapterBench bench(f, "IP");
        f.main.load();
        for (int k = 1; k <= 3; ++k)
            QVERIFY(f.main.menu().item(QStringLiteral("mnuIP%1").arg(k)));
        QCOMPARE(f.main.menu().item(QStringLiteral("mnuIP2"))->text(), bench.key);
        for (const char* key : {"mnuAddTCPIP", "mnuSearchEA", "mnuEditEA"})
            QVERIFY(f.main.menu().item(QString::fromLatin1(key))->isEnabled());
        QVERIFY(f.link.state().IPMode);
        QCOMPARE(f.main.transportSwitch().state().CurrentAdapter, 2);
        QVERIFY(!f.main.noSensorFound());
        QVERIFY(f.main.menu().item(QStringLiteral("mnuIP2"))->isChecked());
    }

    void closingTheListWindowReconnectsAtTheNewPosition_data()
    {
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("request");
        QTest::newRow("one before it") << 1 << 1;
        QTest::newRow("one after it") << 3 << 2;
        QTest::newRow("itself") << 2 << 0;
    }
    void closingTheListWindowReconnectsAtTheNewPosition()
    {
        QFETCH(int, deleted);
        QFETCH(int, request);
        MainWindowFixture f("", std::nullopt, false);
        AdapterBench bench(f, "IP");
        f.main.load();
        QVERIFY(f.link.state().IPMode);
        f.main.menu().item(QStringLiteral("mnuEditEA"))->trigger();
        FrmEditEthernetAdapters* window = f.main.ethernetWindows().listWindow();
        QVERIFY(window && window->isVisible());
        window->grdEAList()->selectRow(deleted - 1);
        QTest::mouseClick(window->cmdDeleteEA(), Qt::LeftButton);
        QCOMPARE(f.main.adapters().Count(), 2);
        window->close();
        QCOMPARE(f.main.requests().AdapterRequest, request);
        QCOMPARE(f.main.transportSwitch().state().CurrentAdapter, request);
        QVERIFY(!f.main.menu().item(QStringLiteral("mnuIP3")));
        EthernetAdapters stored;
        QVERIFY(stored.LoadFromDB(f.folder() + QStringLiteral("EthernetDB.mdb")));
        QCOMPARE(stored.Count(), 2);
    }

    void searchConnectAndGiveTheAdapterAFixedAddress()
    {
        MainWindowFixture f("NumLangs=1\r\nLanguage=0\r\n", std::nullopt);
        sim::SimBus bus;
        [[maybe_unused]] const bool added = sim::populate(bus, sim::parseSensorList(QStringLiteral("1:89")).sensors);
        // The simulated adapter: its configuration datagrams and its bus bridge, which moves
        // with it when it takes new settings.
        sim::AdapterConfigServer adapter;
        adapter.setApplyDelayMs(3000);
        QString error;
        QVERIFY2(adapter.bind(QHostAddress(QStringLiteral("127.0.19.80")), 30718, error), qPrintable(error));
        auto bridge = std::make_unique<sim::TcpBridge>(bus);
        QVERIFY2(bridge->listen(QHostAddress(QStringLiteral("127.0.19.80")), 10001, error), qPrintable(error));
        QObject::connect(&adapter, &sim::AdapterConfigServer::settingsApplied, [&](const sim::AdapterSettings& s) {
            const auto& a = s.address;
            bridge = std::make_unique<sim::TcpBridge>(bus);
            QString e;
            [[maybe_unused]] const bool moved = bridge->listen(QHostAddress(QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3])), s.tcpPort, e);
        });
        LoopbackNetwork net({QStringLiteral("127.0.0.1")}, {QStringLiteral("127.0.19.80")});
        f.main.load();
        // No transport yet: the start-up search finds nothing and says so.
        QCOMPARE(f.messages, QStringList{"en-CommsError"});
        f.messages.clear();

        f.main.menu().item(QStringLiteral("mnuSearchEA"))->trigger();
        QCOMPARE(f.main.menu().item(QStringLiteral("mnuIP1"))->text(), QStringLiteral("127.0.19.80:10001"));
        f.main.menu().item(QStringLiteral("mnuIP1"))->trigger();
        QVERIFY(f.clock.clock.runUntil([&] { return f.link.state().IPMode && !f.main.noSensorFound(); }, 60000));
        QCOMPARE(f.main.sensorModel().SensorTable[1].FoundAddress, 1);

        // The user asks for the set-up, which the task timer opens; in it a fixed address and
        // another port are written.
        bool written = false;
        QTimer user;
        user.setInterval(10);
        QObject::connect(&user, &QTimer::timeout, [&] {
            // The window once it waits modally for the user.
            auto* window = f.main.findChild<FrmEthernetSetup*>();
            if (!window || !window->testAttribute(Qt::WA_ShowModal) || !window->isVisible())
                return;
            user.stop();
            auto* address = window->findChild<QLineEdit*>(QStringLiteral("tbFixedIPAddress"));
            auto* port = window->findChild<QLineEdit*>(QStringLiteral("tbPortNumber"));
            written = address->text() == QStringLiteral("127.0.19.80") && port->text() == QStringLiteral("10001");
            address->setText(QStringLiteral("127.0.19.81"));
            port->setText(QStringLiteral("10200"));
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("btnSet")), Qt::LeftButton);
            window->close();
        });
        user.start();
        f.main.pages().buttonClicked(QStringLiteral("cmdEASettings"));
        QVERIFY(f.main.requests().EthernetSetupRequest);
        QVERIFY(f.clock.clock.runUntil([&] { return !f.main.requests().EthernetSetupRequest; }, 60000));
        QVERIFY(written);
        QCOMPARE(f.main.adapters().Count(), 1);
        QCOMPARE(f.main.adapters().Item(1)->Key, QStringLiteral("127.0.19.81:10200"));
        QCOMPARE(f.main.menu().item(QStringLiteral("mnuIP1"))->text(), QStringLiteral("127.0.19.81:10200"));
        QVERIFY(f.link.state().IPMode);
        QCOMPARE(f.main.transportSwitch().state().LastIPAddress, QStringLiteral("127.0.19.81:10200"));
        QCOMPARE(f.main.transportSwitch().state().CurrentAdapter, 1);
        QVERIFY(f.clock.clock.runUntil([&] { return !f.main.noSensorFound(); }, 60000));
        QCOMPARE(f.messages.join(QLatin1Char('|')), QString());
    }

    void afterASwitchToASerialPortTheListWindowAsksForNoAdapter()
    {
        MainWindowFixture f;
        AdapterBench bench(f, "COM");
        f.main.load();
        QVERIFY(!f.link.state().IPMode);
        f.main.menu().item(QStringLiteral("mnuEditEA"))->trigger();
        f.main.ethernetWindows().listWindow()->close();
        QCOMPARE(f.main.requests().AdapterRequest, 0);
    }
};

QTEST_MAIN(TestMainWindowAdapters)
#include "tst_mainwindowadapters.moc"
