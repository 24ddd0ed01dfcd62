// The control's saved properties: what a new control writes, reading it back, captions
// beyond Latin, out-of-range and damaged values (SelectedTab past the list, TabsPerRow
// 0, a bag that is not a bag), and fonts and colours through a save. The tab and
// property-bag formats themselves are in tst_tabmodel and tst_propertybag.
#include "pagoline/core/Pagoline.h"
#include "pagoline/core/PropertyBag.h"

#include <QtTest>

namespace {

PropertyBag saved(const Pagoline &control)
{
    PropertyBag bag;
    if (!control.WriteProperties(bag))
        qWarning("WriteProperties failed");
    return PropertyBag::fromBytes(bag.toBytes());
}

} // namespace

class PersistenceTest : public QObject
{
    Q_OBJECT

private slots:
    void newControlSavesOnlySelectedTabAndTabs()
    {
        Pagoline control;
        const PropertyBag bag = saved(control);
        QCOMPARE(bag.names(), (QStringList{QStringLiteral("SelectedTab"), QStringLiteral("Tabs")}));
        QCOMPARE(bag.ReadProperty(QStringLiteral("selectedtab")).toInt(), 3);

        Pagoline back;
        back.setTabs(1);
        QVERIFY(back.ReadProperties(bag));
        QCOMPARE(back.Tabs(), short(3));
        for (short i = 0; i < 3; ++i)
            QCOMPARE(back.TabCaption(i), QStringLiteral("Tab %1").arg(i));
        QCOMPARE(back.Tab(), short(2));
    }

    void settingsRoundTrip()
    {
        Pagoline control;
        control.setTabsPerRow(2);
        control.setTabHeight(31);
        control.setTabMaxWidth(80);
        control.setTabOrientation(Pagoline::ssTabOrientationLeft);
        control.setShowFocusRect(false);
        control.setWordWrap(false);
        control.setBackColor(0x00336699);
        control.setForeColor(0x80000008);
        control.setTabCaption(1, QStringLiteral("\uFF21 wide"));
        control.setTabEnabled(2, false);
        control.setTab(1);
        QFont font(QStringLiteral("DejaVu Serif"), 13);
        font.setItalic(true);
        control.setFont(font);

        Pagoline back;
        QVERIFY(back.ReadProperties(saved(control)));
        QCOMPARE(back.TabsPerRow(), short(2));
        QCOMPARE(back.TabHeight(), 31.0f);
        QCOMPARE(back.TabMaxWidth(), 80.0f);
        QCOMPARE(back.TabOrientation(), Pagoline::ssTabOrientationLeft);
        QVERIFY(!back.ShowFocusRect() && !back.WordWrap());
        QCOMPARE(back.BackColor(), 0x00336699u);
        QCOMPARE(back.ForeColor(), 0x80000008u);
        QCOMPARE(back.TabCaption(1), QStringLiteral("\uFF21 wide"));
        QVERIFY(!back.TabEnabled(2));
        QCOMPARE(back.Tab(), short(1));
        QCOMPARE(back.font().family(), font.family());
        QCOMPARE(back.font().pointSize(), 13);
        QVERIFY(back.font().italic());
    }

    void selectedTabBeyondTheListLeavesTheFirstCurrent()
    {
        Pagoline control;
        control.setTabs(4);
        PropertyBag bag = saved(control);
        bag.WriteProperty(QStringLiteral("SelectedTab"), 7);
        Pagoline back;
        QVERIFY(back.ReadProperties(bag));
        QCOMPARE(back.Tabs(), short(4));
        QCOMPARE(back.Tab(), short(0));
    }

    void storedZeroTabsPerRowReadsAsOne()
    {
        PropertyBag bag = saved(Pagoline());
        bag.WriteProperty(QStringLiteral("TabsPerRow"), 0);
        Pagoline back;
        back.resize(300, 200);
        QVERIFY(back.ReadProperties(bag));
        QCOMPARE(back.TabsPerRow(), short(1));
        QCOMPARE(back.Rows(), short(3));
    }

    void damagedTabsEntryGivesAnEmptyList()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Tabs"), QByteArray::fromHex("504C424701FFFF"));
        Pagoline back;
        QVERIFY(back.ReadProperties(bag));
        QCOMPARE(back.Tabs(), short(0));
        QCOMPARE(back.Tab(), short(0));
        QCOMPARE(back.Caption(), QString());
        back.resize(200, 100);
        back.Redraw(true); // nothing to draw, and no harm in trying
        QCOMPARE(back.HitTest(10, 10), 0);
    }

    void firstGroupThatIsNotANumberAbandonsTheRead()
    {
        PropertyBag bag = saved(Pagoline());
        bag.WriteProperty(QStringLiteral("TabHeight"), QStringLiteral("tall"));
        Pagoline back;
        back.setTabsPerRow(5);
        QVERIFY(!back.ReadProperties(bag));
        QCOMPARE(back.TabsPerRow(), short(5));
    }

    void readingReportsNothing()
    {
        Pagoline control;
        control.setTab(0);
        QSignalSpy changes(&control, &Pagoline::PropertyChanged);
        QSignalSpy clicks(&control, &Pagoline::Click);
        QVERIFY(control.ReadProperties(saved(Pagoline())));
        QCOMPARE(clicks.count(), 0);
        QVERIFY(!changes.contains(QVariantList{QStringLiteral("SelectedTab")}));
        QCOMPARE(control.Tab(), short(2));
    }
};

QTEST_MAIN(PersistenceTest)
#include "tst_persistence.moc"
