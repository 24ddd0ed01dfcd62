// The menu bar: items built in their order from the languages, the usable ports and the
// adapter list; tick marks from the state; a rebuild keeping a disabled communications menu
// disabled; the click keys and what they ask for; the adapter tick following its adapter.
// What the clicks then do in the main window is covered with the main window.

#include "shell/MainMenu.h"
#include "shell/core/MenuKeys.h"

#include <QAction>
#include <QMenuBar>
#include <QTest>

using namespace dunmere;
using Kind = MenuCommand::Kind;

namespace {

class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return QStringLiteral("<") + key + QStringLiteral(">"); }
};

struct Fixture {
    KeyTexts texts;
    QMenuBar bar;
    MainMenu menu{&bar, texts};

    QStringList tickedKeys(const QString& parent) const
    {
        QStringList keys;
        for (const QString& key : menu.childKeys(parent)) {
            if (menu.item(key)->isChecked())
                keys << key;
        }
        return keys;
    }
};

MenuContents contents(QStringList languages, std::initializer_list<int> ports, QStringList adapters = {})
{
    MenuContents c;
    c.languageNames = std::move(languages);
    for (int p : ports)
        c.portAvailable[p] = true;
    c.adapterKeys = std::move(adapters);
    return c;
}

}  // namespace

class TstMainMenu : public QObject {
    Q_OBJECT
private slots:
    void itemsInTheirOrder()
    {
        Fixture f;
        MenuTicks ticks;
        ticks.language = 2;
        f.menu.build(contents({"English", "Deutsch", "Nederlands"}, {1, 4}, {"10.0.0.5:10001"}), ticks);
        QStringList top;
        for (QAction* a : f.bar.actions())
            top << a->objectName();
        QCOMPARE(top, (QStringList{"mnuLanguage", "mnuCommunications", "mnuHelp", "mnuSearchSpeed"}));
        QCOMPARE(f.menu.childKeys("mnuLanguage"), (QStringList{"mnuLanguage1", "mnuLanguage2", "mnuLanguage3"}));
        QCOMPARE(f.menu.item("mnuLanguage3")->text(), QStringLiteral("Nederlands"));
        QCOMPARE(f.tickedKeys("mnuLanguage"), QStringList{"mnuLanguage3"});
        QCOMPARE(f.menu.childKeys("mnuCommunications"), (QStringList{"mnuComPort", "mnuTCPIP"}));
        QCOMPARE(f.menu.childKeys("mnuComPort"), (QStringList{"mnuComPortCom1", "mnuComPortCom4"}));
        QCOMPARE(f.menu.item("mnuComPortCom4")->text(), QStringLiteral("COM4"));
        QCOMPARE(f.menu.childKeys("mnuTCPIP"), (QStringList{"mnuAddTCPIP", "mnuSearchEA", "mnuEditEA", "mnuIP1"}));
        QCOMPARE(f.menu.item("mnuIP1")->text(), QStringLiteral("10.0.0.5:10001"));
        QCOMPARE(f.menu.childKeys("mnuSearchSpeed"),
                 (QStringList{"mnuSearchSpeedFast", "mnuSearchSpeedMedium", "mnuSearchSpeedSlow"}));
        QCOMPARE(f.menu.item("mnuSearchSpeedSlow")->text(), QStringLiteral("<LangSlow>"));
    }

    void ticks_data()
    {
        QTest::addColumn<bool>("comOpen");
        QTest::addColumn<bool>("ipMode");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QStringList>("ticked");
        QTest::newRow("COM4, fast") << true << false << 400 << QStringList{"mnuComPortCom4", "mnuSearchSpeedFast"};
        QTest::newRow("adapter 2, slow") << false << true << 2000 << QStringList{"mnuIP2", "mnuSearchSpeedSlow"};
        QTest::newRow("700 ticks no speed") << false << false << 700 << QStringList{};
    }
    void ticks()
    {
        QFETCH(bool, comOpen);
        QFETCH(bool, ipMode);
        QFETCH(int, speed);
        QFETCH(QStringList, ticked);
        Fixture f;
        MenuTicks t{0, comOpen, 4, ipMode, 2, speed};
        f.menu.build(contents({"English"}, {1, 4}, {"a:1", "b:2"}), t);
        QStringList all = f.tickedKeys("mnuComPort") + f.tickedKeys("mnuTCPIP") + f.tickedKeys("mnuSearchSpeed");
        QCOMPARE(all, ticked);
    }

    void rebuildKeepsDisabledCommunicationsMenu()
    {
        Fixture f;
        f.menu.build(contents({"English"}, {1}), {});
        QVERIFY(f.menu.itemEnabled("mnuCommunications"));
        f.menu.setItemEnabled("mnuCommunications", false);
        f.menu.setItemEnabled("mnuLanguage", false);
        f.menu.build(contents({"English"}, {1}), {});
        QVERIFY(!f.menu.itemEnabled("mnuCommunications"));
        QVERIFY(f.menu.itemEnabled("mnuLanguage"));
    }

    void clicksReportTheirKey()
    {
        Fixture f;
        f.menu.build(contents({"English", "Deutsch"}, {2}), {});
        QStringList clicked;
        connect(&f.menu, &MainMenu::clicked, this, [&](const QString& key) { clicked << key; });
        f.menu.item("mnuLanguage2")->trigger();
        f.menu.item("mnuComPortCom2")->trigger();
        f.menu.item("mnuHelp")->trigger();
        QCOMPARE(clicked, (QStringList{"mnuLanguage2", "mnuComPortCom2", "mnuHelp"}));
    }

    void parseKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number");
        QTest::newRow("language 3") << "mnuLanguage3" << int(Kind::Language) << 2;
        QTest::newRow("language parent") << "mnuLanguage" << int(Kind::None) << 0;
        QTest::newRow("COM12") << "mnuComPortCom12" << int(Kind::ComPort) << 12;
        QTest::newRow("port parent") << "mnuComPort" << int(Kind::None) << 0;
        QTest::newRow("adapter 2") << "mnuIP2" << int(Kind::Adapter) << 2;
        QTest::newRow("search adapters") << "mnuSearchEA" << int(Kind::SearchAdapters) << 0;
        QTest::newRow("edit adapters") << "mnuEditEA" << int(Kind::EditAdapters) << 0;
        QTest::newRow("add adapter") << "mnuAddTCPIP" << int(Kind::AddAdapter) << 0;
        QTest::newRow("tcp parent") << "mnuTCPIP" << int(Kind::None) << 0;
        QTest::newRow("help") << "mnuHelp" << int(Kind::Help) << 0;
        QTest::newRow("medium") << "mnuSearchSpeedMedium" << int(Kind::SearchSpeed) << 1000;
        QTest::newRow("speed parent") << "mnuSearchSpeed" << int(Kind::None) << 0;
        QTest::newRow("junk number") << "mnuIPx" << int(Kind::None) << 0;
    }
    void parseKeys()
    {
        QFETCH(QString, key);
        QFETCH(int, kind);
        QFETCH(int, number);
        const MenuCommand command = ParseMenuKey(key);
        QCOMPARE(int(command.kind), kind);
        QCOMPARE(command.number, number);
    }

    void adapterTickFollowsItsAdapter_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("expected");
        const QString last = QStringLiteral("10.0.0.7:10001");
        QTest::newRow("moved up after a removal") << QStringList{"10.0.0.2:10001", last} << 3 << 2;
        QTest::newRow("gone") << QStringList{"10.0.0.2:10001"} << 2 << 0;
        QTest::newRow("two alike: the later") << QStringList{last, "x:1", last} << 1 << 3;
        QTest::newRow("none in use") << QStringList{last} << 0 << 0;
        QTest::newRow("empty list") << QStringList{} << 1 << 0;
    }
    void adapterTickFollowsItsAdapter()
    {
        QFETCH(QStringList, keys);
        QFETCH(int, current);
        QFETCH(int, expected);
        QCOMPARE(ReindexCurrentAdapter(keys, QStringLiteral("10.0.0.7:10001"), current), expected);
    }
};

QTEST_MAIN(TstMainMenu)
#include "tst_mainmenu.moc"
