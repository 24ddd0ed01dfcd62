// The adapter windows driven as a user drives them: typing and clicking on shown windows with
// the event loop running, on the virtual clock, against adapters simulated on loopback. The
// main window is a stand-in that records what the windows ask of it; the main window's own
// wiring is tested with the main window.

#include "LoopbackNetwork.h"

#include "ethernet/EthernetAdapter.h"
#include "ethernet/EthernetFunctions.h"
#include "ethernet/ui/EthernetWindows.h"
#include "ethernet/ui/FrmAddEthernetAdapter.h"
#include "ethernet/ui/FrmEditEthernetAdapters.h"
#include "ethernet/ui/FrmEthernetDiags.h"
#include "ethernet/ui/FrmEthernetSetup.h"
#include "ethernet/ui/FrmIPSearchActive.h"
#include "link/Link.h"
#include "link/TransportSwitch.h"
#include "sim/AdapterConfigServer.h"

#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace dunmere;
using namespace dunmere::test;

namespace {

class StandInMain final : public EthernetWindowHost {
public:
    QWidget* mainWindow() override { return &window; }
    void rebuildMenus() override { ++menuBuilds; }
    void adapterListClosed() override { ++listClosings; }
    int currentAdapter() const override { return current; }
    QString adapterInUse() const override { return inUse; }
    void connectToAdapter(int position) override { connected << position; }
    void showSensorPage() override { ++sensorPages; }

    QWidget window;
    int menuBuilds = 0;
    int listClosings = 0;
    int sensorPages = 0;
    int current = 0;
    QString inUse;
    QList<int> connected;
};

void addByHand(EthernetAdapters& list, const QString& address, int port)
{
    list.Add(false, -1, port, address, address, QStringLiteral("0.0.0.0"), AdapterKey(address, port));
}

template <class W>
W* child(QWidget& window, const char* name)
{
    return window.findChild<W*>(QString::fromLatin1(name));
}

}  // namespace

class TestEthernetWindows : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        clock_ = std::make_unique<VirtualClockScope>();
        db_ = dir_.filePath(QStringLiteral("EthernetDB.mdb"));
        QFile::remove(db_);
        list_.Clear();
        messages_.shown.clear();
        messages_.answerYes = true;
        host_ = std::make_unique<StandInMain>();
        host_->window.show();
        ctx_ = std::make_unique<EthernetContext>(EthernetContext{list_, db_, socket_, &messages_, texts_, closing_, *host_});
    }
    void cleanup()
    {
        ctx_.reset();
        host_.reset();
        clock_.reset();
    }

    void addWindowTakesAWholePortAndBuildsTheKeyFromIt_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("key");  // empty: refused
        QTest::newRow("plain") << "10.0.0.1" << "10001" << "10.0.0.1:10001";
        QTest::newRow("leading zero") << "10.0.0.1" << "010001" << "10.0.0.1:10001";
        QTest::newRow("decimal port") << "10.0.0.1" << "10001.0" << "";
        QTest::newRow("exponent port") << "10.0.0.1" << "1e10" << "";
        QTest::newRow("port 0") << "10.0.0.1" << "0" << "";
        QTest::newRow("two dots") << "10.0.1" << "10001" << "";
    }
    void addWindowTakesAWholePortAndBuildsTheKeyFromIt()
    {
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QString, key);
        FrmAddEthernetAdapter window(*ctx_, &host_->window);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("LangAddEthernetAdapter"));
        QTest::keyClicks(window.tbIPAddress(), address);
        QTest::keyClicks(window.tbPort(), port);
        QTest::mouseClick(window.btnOK(), Qt::LeftButton);
        if (key.isEmpty()) {
            QCOMPARE(messages_.shown, QStringList{"LangIncorrectIPAddressFormat"});
            QVERIFY(window.isVisible());
            QCOMPARE(list_.Count(), 0);
            return;
        }
        QVERIFY(!window.isVisible());
        QCOMPARE(list_.Count(), 1);
        QCOMPARE(list_.Item(1)->Key, key);
        QCOMPARE(list_.Item(1)->strLocalIPAddress, QStringLiteral("0.0.0.0"));
        EthernetAdapters stored;
        QVERIFY(stored.LoadFromDB(db_));
        QCOMPARE(stored.Item(1)->Key, key);
    }

    void addingAnExistingKeyLeavesOneEntry()
    {
        for (int i = 0; i < 2; ++i) {
            FrmAddEthernetAdapter window(*ctx_, &host_->window);
            window.show();
            QTest::keyClicks(window.tbIPAddress(), QStringLiteral("10.0.0.1"));
            QTest::keyClicks(window.tbPort(), QStringLiteral("10001"));
            QTest::mouseClick(window.btnOK(), Qt::LeftButton);
        }
        QCOMPARE(list_.Count(), 1);
    }

    void listWindowDeletesTheChosenRowAndSavesOnClose()
    {
        for (int i = 1; i <= 3; ++i)
            addByHand(list_, QStringLiteral("10.0.0.%1").arg(i), 10001);
        auto* window = new FrmEditEthernetAdapters(*ctx_, &host_->window);
        window->show();
        QTableWidget* grid = window->grdEAList();
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("10.0.0.2"));
        QCOMPARE(grid->item(1, 3)->text(), QStringLiteral("LangManual"));
        QVERIFY(!window->cmdDeleteEA()->isEnabled());
        QVERIFY(!window->cmdResetIP()->isEnabled());
        // The user answers No first: nothing goes.
        grid->selectRow(1);
        QVERIFY(window->cmdDeleteEA()->isEnabled());
        messages_.answerYes = false;
        QTest::mouseClick(window->cmdDeleteEA(), Qt::LeftButton);
        QCOMPARE(messages_.shown.last(), QStringLiteral("LangDoYouWishToDeleteAdapter 10.0.0.2?"));
        QCOMPARE(list_.Count(), 3);
        QVERIFY(!window->cmdDeleteEA()->isEnabled());  // the grid was filled again
        grid->selectRow(1);
        messages_.answerYes = true;
        QTest::mouseClick(window->cmdDeleteEA(), Qt::LeftButton);
        QCOMPARE(list_.Count(), 2);
        QCOMPARE(list_.Item(2)->strIPAddress, QStringLiteral("10.0.0.3"));
        QCOMPARE(grid->rowCount(), 2);
        QVERIFY(!QFile::exists(db_));  // written when the window closes
        window->close();
        QCOMPARE(host_->listClosings, 1);
        EthernetAdapters stored;
        QVERIFY(stored.LoadFromDB(db_));
        QCOMPARE(stored.Count(), 2);
    }

    void resetAsksTheAdapterAndFindsItAgain()
    {
        sim::AdapterConfigServer adapter;
        QString error;
        QVERIFY(adapter.bind(QHostAddress(QStringLiteral("127.0.19.50")), AdapterProtocolPort, error));
        LoopbackNetwork net({QStringLiteral("127.0.0.1")}, {QStringLiteral("127.0.19.50")});
        list_.Add(true, 1, 10001, QStringLiteral("127.0.19.50"), QStringLiteral("127.0.19.50"), QStringLiteral("127.0.0.1"),
                  QStringLiteral("127.0.19.50:10001"));
        addByHand(list_, QStringLiteral("10.0.0.1"), 10001);
        auto* window = new FrmEditEthernetAdapters(*ctx_, &host_->window);
        window->show();
        window->grdEAList()->selectRow(0);
        QTest::mouseClick(window->cmdResetIP(), Qt::LeftButton);
        QCOMPARE(messages_.shown.first(), QStringLiteral("LangDoYouWishToResetAdapter 127.0.19.50?"));
        // The adapter answered with its hardware address, took the reset, and the search that
        // followed found it again at the end of the list.
        QCOMPARE(list_.Count(), 2);
        QCOMPARE(list_.Item(1)->Key, QStringLiteral("10.0.0.1:10001"));
        QCOMPARE(list_.Item(2)->Key, QStringLiteral("127.0.19.50:10001"));
        QVERIFY(window->isVisible());
        QVERIFY(host_->window.isVisible());
        static_cast<VirtualClock&>(Clock::current()).advance(3100);
        QVERIFY(adapter.settings().automatic);
        window->close();
    }

    void searchWindowCancelEndsTheSearch()
    {
        ScriptedAdapter mute(QStringLiteral("127.0.19.51"));
        LoopbackNetwork net({QStringLiteral("127.0.0.1")}, {QStringLiteral("127.0.19.51")});
        auto& clock = Clock::current();
        const qint64 start = clock.nowMs();
        bool seen = false;
        clock.schedule(start + 2000, [&] {
            auto* window = host_->window.findChild<FrmIPSearchActive*>();
            QVERIFY(window && window->isVisible());
            seen = !host_->window.isVisible() && window->messagelabel()->text() == QStringLiteral("LangEthernetSearchPleaseWait")
                   && window->messagelabel2()->text() == QStringLiteral("Checking IP Address 127.0.0.1")
                   && window->messagebutton()->text() == QStringLiteral("LangCancel");
            QTest::mouseClick(window->messagebutton(), Qt::LeftButton);
        });
        const SearchOutcome outcome = FrmIPSearchActive::run(*ctx_, nullptr);
        QVERIFY(seen);
        QVERIFY(outcome.cancelled);
        QCOMPARE(clock.nowMs() - start, 2000);
        QVERIFY(host_->window.isVisible());
        QVERIFY(QFile::exists(db_));
        QCOMPARE(messages_.shown, QStringList{"LangNoEAFound"});
    }

    void setupWindowWritesAFixedAddressAndFollowsTheAdapter()
    {
        sim::AdapterConfigServer adapter;
        adapter.setApplyDelayMs(3000);
        QString error;
        QVERIFY(adapter.bind(QHostAddress(QStringLiteral("127.0.19.52")), AdapterProtocolPort, error));
        for (const char* host : {"10.0.0.1", "127.0.19.52", "10.0.0.3"})
            list_.Add(true, 1, 10001, QString::fromLatin1(host), QString::fromLatin1(host), QStringLiteral("127.0.0.1"),
                      QString::fromLatin1(host) + QStringLiteral(":10001"));
        host_->current = 2;
        host_->inUse = QStringLiteral("127.0.19.52");
        FrmEthernetSetup window(*ctx_, &host_->window);
        window.show();
        window.load();
        QCOMPARE(child<QLabel>(window, "lblCurrentIP")->text(), QStringLiteral("127.0.19.52"));
        QCOMPARE(child<QLabel>(window, "lblCurrentPort")->text(), QStringLiteral("10001"));
        QCOMPARE(child<QLabel>(window, "lblCurrentGateway")->text(), QStringLiteral("127.0.0.254"));
        QCOMPARE(child<QLabel>(window, "lblDHCPSetting")->text(), QStringLiteral("LangFixedIPAddress"));
        auto* fixed = child<QRadioButton>(window, "rbFixedIP");
        QVERIFY(fixed->isChecked());
        auto* address = child<QLineEdit>(window, "tbFixedIPAddress");
        auto* port = child<QLineEdit>(window, "tbPortNumber");
        QCOMPARE(address->text(), QStringLiteral("127.0.19.52"));
        QCOMPARE(port->text(), QStringLiteral("10001"));
        address->clear();
        QTest::keyClicks(address, QStringLiteral("127.0.19.53"));
        port->clear();
        QTest::keyClicks(port, QStringLiteral("10200"));

        // Half way through the wait the user tries the close box: the window stays.
        auto& clock = Clock::current();
        int shownProgress = -1;
        bool stayed = false;
        clock.schedule(clock.nowMs() + 3000, [&] {
            shownProgress = child<QProgressBar>(window, "pbSet")->isVisible() ? child<QProgressBar>(window, "pbSet")->value() : -1;
            window.close();
            stayed = window.isVisible() && !window.SetupIdle();
        });
        QTest::mouseClick(child<QPushButton>(window, "btnSet"), Qt::LeftButton);
        QVERIFY(shownProgress > 30 && shownProgress < 70);
        QVERIFY(stayed);
        QVERIFY(!child<QProgressBar>(window, "pbSet")->isVisible());
        QVERIFY(window.SetupIdle());
        QCOMPARE(child<QLabel>(window, "lblCurrentIP")->text(), QStringLiteral("127.0.19.53"));
        QCOMPARE(child<QLabel>(window, "lblCurrentPort")->text(), QStringLiteral("10200"));
        QCOMPARE(list_.Count(), 3);
        QCOMPARE(list_.Item(3)->Key, QStringLiteral("127.0.19.53:10200"));
        QCOMPARE(host_->menuBuilds, 1);
        QCOMPARE(host_->connected, QList<int>{3});
        QVERIFY(child<QGroupBox>(window, "FrNewSettings")->isEnabled());
        QVERIFY(messages_.shown.isEmpty());
        window.close();
        QVERIFY(!window.isVisible());
    }

    void setupWindowWithoutAnAdapterSendsNothing()
    {
        FrmEthernetSetup window(*ctx_, &host_->window);
        window.show();
        window.load();
        QCOMPARE(messages_.shown, QStringList{"LangCannotRetrieveConfiguration"});
        QVERIFY(!child<QGroupBox>(window, "FrNewSettings")->isEnabled());
        window.close();
        QVERIFY(!window.isVisible());
    }

    void diagnosticsWindowFollowsTheLink()
    {
        Link link;
        TransportState transport;
        auto* window = new FrmEthernetDiags(link, transport, texts_, &host_->window);
        window->show();
        auto value = [&](const char* name) { return child<QLabel>(*window, name)->text(); };
        QCOMPARE(value("lblIPAddressDiag"), QString());
        QCOMPARE(value("lblPortNumDiag"), QStringLiteral("0"));
        QCOMPARE(value("lblTimeouts_1"), QStringLiteral("0"));
        QCOMPARE(value("lblMaxRTT_1"), QStringLiteral("0 ms"));
        QCOMPARE(value("lblConnectionTime_0"), QStringLiteral("LangConnectionTime"));
        QCOMPARE(window->windowTitle(), QStringLiteral("LangEthernetAdapter LangDiagnostics"));

        // A TCP exchange that gets no answer shows as a time-out at once.
        ScriptedTransport tcp(Transport::Kind::Tcp);
        link.setTransport(&tcp);
        link.state().IPMode = true;
        transport.RemoteHostText = QStringLiteral("127.0.0.1");
        transport.RemotePortValue = 10001;
        (void)link.ReadParameter(1, 3);
        QVERIFY(link.state().NetTimeouts > 0);
        QCOMPARE(value("lblTimeouts_1"), QString::number(link.state().NetTimeouts));
        QCOMPARE(value("lblIPAddressDiag"), QStringLiteral("127.0.0.1"));
        QCOMPARE(value("lblPortNumDiag"), QStringLiteral("10001"));

        QVERIFY(!(window->windowFlags() & Qt::WindowStaysOnTopHint));
        window->chkAlwaysOnTop()->click();
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window->isVisible());
        window->chkAlwaysOnTop()->click();
        QVERIFY(!(window->windowFlags() & Qt::WindowStaysOnTopHint));
        delete window;
        link.setTransport(nullptr);
    }

private:
    std::unique_ptr<VirtualClockScope> clock_;
    QTemporaryDir dir_;
    QString db_;
    AdapterSocket socket_;
    EthernetAdapters list_;
    RecordedMessages messages_;
    KeyTexts texts_;
    bool closing_ = false;
    std::unique_ptr<StandInMain> host_;
    std::unique_ptr<EthernetContext> ctx_;
};

QTEST_MAIN(TestEthernetWindows)
#include "tst_ethernetwindows.moc"
