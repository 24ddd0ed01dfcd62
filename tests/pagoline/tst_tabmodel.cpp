// The tab model: the caption parser and the caption hex form, default captions of new
// tabs, and the nested bags of one tab and of the tab list, including lists and records
// whose counts claim more than the bag holds. The control-level properties are in
// tst_persistence.
#include "pagoline/core/CTabs.h"
#include "pagoline/core/PropertyBag.h"

#include <QtTest>

class TabModelTest : public QObject
{
    Q_OBJECT

private slots:
    void captionParser_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("accelerator");
        QTest::addColumn<QString>("postfix");
        QTest::addColumn<int>("key");
        QTest::newRow("literal and marker") << "Save && E&xit" << "Save && E" << "x" << "it" << 88;
        QTest::newRow("marker last") << "A&" << "A&" << "" << "" << -1;
        QTest::newRow("only literal") << "&&" << "&&" << "" << "" << -1;
        QTest::newRow("last marker wins") << "&a&b" << "&a" << "b" << "" << 66;
        QTest::newRow("plain") << "Tab 0" << "Tab 0" << "" << "" << -1;
        QTest::newRow("spaces only") << "   " << "   " << "" << "" << -1;
        QTest::newRow("space after marker") << "a& b" << "a" << " " << "b" << 32;
        QTest::newRow("unicode accelerator") << QString("&\u00E4nd") << "" << QString("\u00E4") << "nd" << 0xC4;
    }

    void captionParser()
    {
        QFETCH(QString, caption);
        CTab tab;
        tab.setCaption(caption);
        QCOMPARE(tab.Caption(), caption);
        QTEST(tab.CaptionPrefix(), "prefix");
        QTEST(tab.CaptionAccelerator(), "accelerator");
        QTEST(tab.CaptionPostfix(), "postfix");
        QTEST(int(tab.AcceleratorKey()), "key");
    }

    void captionHexForm()
    {
        QCOMPARE(CaptionToHex(QStringLiteral("Tab 0")), QStringLiteral("00540061006200200030"));
        QCOMPARE(CaptionToHex(QStringLiteral("\uFF21")), QStringLiteral("FF21"));
        QCOMPARE(CaptionFromHex(QStringLiteral("FF2100e4")), QStringLiteral("\uFF21\u00E4"));
        QCOMPARE(CaptionFromHex(QStringLiteral("0041ZZZZ0042")), QStringLiteral("A"));
        QCOMPARE(CaptionFromHex(QStringLiteral("004")), QString());
    }

    void addGivesDefaultCaptionsAndFixedIndices()
    {
        CTabs tabs;
        tabs.Add();
        tabs.Add(-1);
        tabs.Add(99);
        QCOMPARE(tabs.Count(), 3);
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(tabs.Item(i)->Caption(), QStringLiteral("Tab %1").arg(i - 1));
            QCOMPARE(tabs.Item(i)->FixedIndex, i);
        }
        tabs.Add(1, QStringLiteral("First"));
        QCOMPARE(tabs.Item(1)->Caption(), QStringLiteral("First"));
        QCOMPARE(tabs.Item(2)->FixedIndex, 2);
        QVERIFY(tabs.Item(0) == nullptr && tabs.Item(5) == nullptr);
    }

    void plainTabStoresOnlyItsCaption()
    {
        CTab tab;
        tab.setCaption(QStringLiteral("Tab 0"));
        const PropertyBag bag = PropertyBag::fromBytes(tab.Serialise());
        QCOMPARE(bag.names(), QStringList{QStringLiteral("Caption")});
        QCOMPARE(bag.ReadProperty(QStringLiteral("Caption")).toString(), QStringLiteral("00540061006200200030"));
    }

    void tenContainedControlsAreNumberedWithoutPadding()
    {
        CTab tab;
        tab.setCaption(QStringLiteral("\uFF21"));
        tab.Enabled = false;
        tab.Visible = false;
        for (int i = 1; i <= 10; ++i)
            tab.ContainedControls.append({QStringLiteral("Control%1").arg(i), i % 2 == 0, i == 10 ? -1 : i});
        const PropertyBag bag = PropertyBag::fromBytes(tab.Serialise());
        const QStringList names = bag.names();
        QCOMPARE(names.indexOf(QStringLiteral("n10")), names.indexOf(QStringLiteral("ix9")) + 1);
        QCOMPARE(bag.ReadProperty(QStringLiteral("n10")).toString(), QStringLiteral("Control10"));
        QCOMPARE(bag.ReadProperty(QStringLiteral("ts10")).toBool(), true);
        QCOMPARE(bag.ReadProperty(QStringLiteral("ix10")).toInt(), -1);
        QCOMPARE(bag.ReadProperty(QStringLiteral("ControlsCount")).toInt(), 10);

        CTab back;
        back.Deserialise(tab.Serialise());
        QCOMPARE(back.Caption(), QStringLiteral("\uFF21"));
        QVERIFY(!back.Enabled && !back.Visible);
        QCOMPARE(back.ContainedControls.size(), 10);
        QCOMPARE(back.ContainedControls[2].Name, QStringLiteral("Control3"));
        QCOMPARE(back.ContainedControls[2].Index, 3);
        QCOMPARE(back.ContainedControls[2].TabStop, false);
    }

    void controlsCountBeyondTheRecordsStopsAtTheLast()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Caption"), CaptionToHex(QStringLiteral("X")));
        bag.WriteProperty(QStringLiteral("ControlsCount"), 2000000000);
        bag.WriteProperty(QStringLiteral("n1"), QStringLiteral("Frame1"));
        bag.WriteProperty(QStringLiteral("ts1"), true);
        bag.WriteProperty(QStringLiteral("ix1"), -1);
        CTab tab;
        tab.Deserialise(bag.toBytes());
        QCOMPARE(tab.ContainedControls.size(), 1);
        QCOMPARE(tab.ContainedControls[0].Name, QStringLiteral("Frame1"));
    }

    void tabListRoundTrip()
    {
        CTabs tabs;
        tabs.Add(-1, QStringLiteral("&One"));
        tabs.Add(-1, QStringLiteral("Two"));
        tabs.Item(2)->Enabled = false;
        CTabs back;
        back.Deserialise(tabs.Serialise());
        QCOMPARE(back.Count(), 2);
        QCOMPARE(back.Item(1)->Caption(), QStringLiteral("&One"));
        QVERIFY(!back.Item(2)->Enabled);
    }

    void tabListCounts_data()
    {
        QTest::addColumn<int>("numTabs");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("zero") << 0 << 2 << 0;
        QTest::newRow("missing") << -1 << 2 << 0;
        QTest::newRow("claims more than stored") << 1000000 << 2 << 2;
        QTest::newRow("claims fewer") << 1 << 2 << 1;
    }

    void tabListCounts()
    {
        QFETCH(int, numTabs);
        QFETCH(int, stored);
        PropertyBag bag;
        if (numTabs >= 0)
            bag.WriteProperty(QStringLiteral("NumTabs"), numTabs);
        for (int i = 1; i <= stored; ++i) {
            CTab tab;
            tab.setCaption(QStringLiteral("T%1").arg(i));
            bag.WriteProperty(QStringLiteral("Tab%1").arg(i), tab.Serialise());
        }
        CTabs tabs;
        tabs.Deserialise(bag.toBytes());
        QTEST(tabs.Count(), "expected");
    }

    void damagedTabEntryLeavesADefaultTab()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("NumTabs"), 1);
        bag.WriteProperty(QStringLiteral("Tab1"), QByteArray("not a bag"));
        CTabs tabs;
        tabs.Deserialise(bag.toBytes());
        QCOMPARE(tabs.Count(), 1);
        QVERIFY(tabs.Item(1)->Enabled && tabs.Item(1)->Visible);
        QVERIFY(tabs.Item(1)->ContainedControls.isEmpty());
    }
};

QTEST_MAIN(TabModelTest)
#include "tst_tabmodel.moc"
