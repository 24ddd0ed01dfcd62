// The main window's life: start-up with the edition, language and settings rules, a missing
// settings file, the texts on the Sensor page and their change with the language, the help
// file rule, closing and ExitApp, and the pages staying live while MainTab is switched off
// around exchanges. Runs on the virtual clock with the simulated bus in
// process. The pages 1-3 and the search's own rules are covered by their own tests.

#include "MainWindowFixture.h"

#include "shell/FrmHelp.h"
#include "shell/MainMenu.h"
#include "shell/SensorPage.h"

#include "link/Settings.h"
#include "pagoline/core/Pagoline.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

QString setting(const MainWindowFixture& f, const char* key)
{
    return ReadSetting(QStringLiteral("Settings"), QString::fromLatin1(key), f.configPath());
}

}  // namespace

class TstFrmMain : public QObject {
    Q_OBJECT
private slots:
    void editionFromType_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("rangeUnit");
        QTest::newRow("7: plain, 0 written") << QByteArray("7") << "Dunmere (QX0068 v1.80)" << "0" << " %";
        QTest::newRow("1: Brix") << QByteArray("1") << "Tolland Grey Limited - Dunmere (QX0068 v1.80)" << "1" << " Brix";
    }
    void editionFromType()
    {
        QFETCH(QByteArray, type);
        QFETCH(QString, caption);
        QFETCH(QString, stored);
        QFETCH(QString, rangeUnit);
        MainWindowFixture f("Type=" + type + "\r\nNumLangs=1\r\n");
        f.main.load();
        QCOMPARE(f.main.windowTitle(), caption);
        QCOMPARE(setting(f, "Type"), stored);
        // The output range captions name the edition's unit from the first texts on.
        for (const char* label : {"LblOutHigh", "LblOutLow"})
            QVERIFY2(f.find<QLabel>(QString::fromLatin1(label))->text().endsWith(rangeUnit), label);
    }

    void languageChoiceAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("storedLanguage");
        QTest::newRow("NumLangs 15 is 1") << QByteArray("NumLangs=15\r\nLanguage=1\r\n")
                                          << QStringList{"mnuLanguage1", "mnuLanguage2"} << "de-Search" << "1";
        QTest::newRow("NumLangs x is 1") << QByteArray("NumLangs=x\r\nLanguage=1\r\n")
                                         << QStringList{"mnuLanguage1", "mnuLanguage2"} << "de-Search" << "1";
        QTest::newRow("Language 3 of 2 is 0") << QByteArray("NumLangs=2\r\nLanguage=3\r\n")
                                              << QStringList{"mnuLanguage1", "mnuLanguage2", "mnuLanguage3"} << "en-Search"
                                              << "0";
    }
    void languageChoiceAtStartUp()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QStringList, items);
        QFETCH(QString, search);
        QFETCH(QString, storedLanguage);
        MainWindowFixture f(lines);
        f.main.load();
        QCOMPARE(f.main.menu().childKeys("mnuLanguage"), items);
        QCOMPARE(f.find<QPushButton>("CmdSearch")->text(), search);
        QCOMPARE(setting(f, "Language"), storedLanguage);
    }

    void missingSettingsFileStopsStartUp()
    {
        MainWindowFixture f("", QStringLiteral("1:89"), false);
        f.main.load();
        QCOMPARE(f.messages.size(), 1);
        QVERIFY(f.messages[0].contains(QStringLiteral("config.ini")));
        QVERIFY(!f.main.taskTimer().isActive());
        QVERIFY(f.texts.text(QStringLiteral("LangSearch")).isEmpty());
        QVERIFY(f.bus.received().isEmpty());
        QCOMPARE(f.exits, 1);
    }

    void languageSwitchChangesEveryCaptionAtOnce()
    {
        MainWindowFixture f;
        f.main.load();
        QCOMPARE(f.find<QPushButton>("CmdTrend")->text(), QStringLiteral("en-Trend en-Graph && en-Logging"));
        f.main.menu().item("mnuLanguage2")->trigger();
        QCOMPARE(setting(f, "Language"), QStringLiteral("1"));
        QCOMPARE(f.find<QPushButton>("CmdSearch")->text(), QStringLiteral("de-Search"));
        // One ampersand on show: the doubled one is the label's escape.
        QCOMPARE(f.find<QPushButton>("CmdTrend")->text(), QStringLiteral("de-Trend de-Graph && de-Logging"));
        for (int r = 0; r < SensorPage::RowCount; ++r)
            QCOMPARE(f.find<QPushButton>(QStringLiteral("CmdAddrOK_%1").arg(r))->text(), QStringLiteral("de-Update"));
        QCOMPARE(f.main.mainTab().TabCaption(0), QStringLiteral("de-Sensor"));
        QCOMPARE(f.main.mainTab().TabCaption(3), QStringLiteral("de-AdvancedConfig"));
        QCOMPARE(f.main.menu().item("mnuSearchSpeedSlow")->text(), QStringLiteral("de-Slow"));
        QVERIFY(f.main.menu().item("mnuLanguage2")->isChecked());
        QVERIFY(!f.main.menu().item("mnuLanguage1")->isChecked());
        QCOMPARE(f.find<QComboBox>("ListValue")->itemText(0), QStringLiteral("de-Filtered de-Unscaled"));
    }

    void menuRebuildLeavesNoOldMenus()
    {
        MainWindowFixture f("NumLangs=1\r\n");
        f.main.load();
        auto menus = [&] { return f.main.menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size(); };
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto afterStart = menus();
        for (const char* item : {"mnuLanguage2", "mnuLanguage1", "mnuLanguage2"})
            f.main.menu().item(QString::fromLatin1(item))->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(menus(), afterStart);
    }

    void searchSpeedMenu()
    {
        MainWindowFixture f("NumLangs=1\r\nSearchSpeed=700\r\n");
        f.main.load();
        QCOMPARE(f.main.searchProbeTimeoutMs(), 700);
        for (const char* key : {"mnuSearchSpeedFast", "mnuSearchSpeedMedium", "mnuSearchSpeedSlow"})
            QVERIFY(!f.main.menu().item(key)->isChecked());
        f.main.menu().item("mnuSearchSpeedSlow")->trigger();
        QCOMPARE(f.main.searchProbeTimeoutMs(), 2000);
        QVERIFY(f.main.menu().item("mnuSearchSpeedSlow")->isChecked());
        QCOMPARE(setting(f, "SearchSpeed"), QStringLiteral("2000"));
    }

    void helpFileFollowsTheLanguageNumber()
    {
        QByteArray lines = "NumLangs=9\r\nLanguage=9\r\n";
        MainWindowFixture f(lines);
        {
            QFile config(f.configPath());
            QVERIFY(config.open(QIODevice::Append));
            config.write("[Language9]\r\nLang=Nihongo\r\nLangHelp=Herupu\r\n");
        }
        QFile help(f.folder() + QStringLiteral("Japanese.txt"));
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.write(QByteArray("\xFF\xFE\xE5\x65\x2C\x67", 6));  // BOM, then two CJK characters
        help.close();
        f.main.load();
        f.main.menu().item("mnuHelp")->trigger();
        QVERIFY(f.main.helpWindow());
        QCOMPARE(f.main.helpWindow()->windowTitle(), QStringLiteral("Dunmere - Herupu"));
        QCOMPARE(f.main.helpWindow()->findChild<QPlainTextEdit*>("TextHelp")->toPlainText(), QStringLiteral(u"日本"));
        // A second click while it is open changes nothing.
        FrmHelp* first = f.main.helpWindow();
        f.main.menu().item("mnuHelp")->trigger();
        QCOMPARE(f.main.helpWindow(), first);
    }

    void missingHelpFileShowsTheMessage()
    {
        MainWindowFixture f;
        f.main.load();
        f.messages.clear();
        f.main.menu().item("mnuHelp")->trigger();
        QVERIFY(!f.main.helpWindow());
        QCOMPARE(f.messages, QStringList{"en-Help en-Invalid"});
    }

    void startUpLayout()
    {
        MainWindowFixture f;
        f.main.load();
        Pagoline& tabs = f.main.mainTab();
        QCOMPARE(tabs.Tab(), short(0));
        QVERIFY(!tabs.TabVisible(3));
        QCOMPARE(tabs.TabsPerRow(), short(3));
        QCOMPARE(f.main.size(), QSize(719, 544));
        QVERIFY(!f.find<QLabel>("lblConnectedVia")->isHidden());
        QVERIFY(f.find<QLabel>("lblConnectedVia")->text().startsWith(QStringLiteral("en-ConnectedVia ")));
    }

    void pagesStayLiveWhileMainTabIsSwitchedOff()
    {
        // MainTab is switched off around each exchange; its pages must not grey with it.
        MainWindowFixture f;
        f.main.load();
        Pagoline& tabs = f.main.mainTab();
        int switchedOff = 0;
        QStringList greyed;
        QObject::connect(&tabs, &Pagoline::PropertyChanged, &tabs, [&](const QString& name) {
            if (name != QLatin1String("Enabled") || tabs.Enabled())
                return;
            ++switchedOff;
            if (!tabs.isEnabled())
                greyed << tabs.objectName();
            for (QWidget* page : tabs.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!page->isEnabled())
                    greyed << page->objectName();
            }
        });
        tabs.setTab(1);
        f.clock.clock.advance(3000);
        tabs.setTab(2);
        f.clock.clock.advance(3000);
        QVERIFY(switchedOff > 0);
        QCOMPARE(greyed, QStringList());
        QVERIFY(tabs.Enabled());
    }
};

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
