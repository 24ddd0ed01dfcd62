// Layout and hit testing: rows and their rotation towards the page, hidden tabs, the
// half-open hit regions, the tabbed-dialog tab width and remainder, the 42-pixel and
// page-depth floors that grow the control, the maximum width, host units, and the
// arrow-key table. Pixels are in tst_drawing.
#include "pagoline/core/Pagoline.h"
#include "pagoline/core/TabLayout.h"
#include "pagoline/styles/CStyleTabbedDialog.h"

#include <QtTest>

namespace {

const CTab &tab(const Pagoline &control, int fixedIndex)
{
    return *control.TabList().Item(fixedIndex);
}

QRect region(const CTab &t)
{
    return QRect(QPoint(qMin(t.ULx(), t.LRx()), qMin(t.ULy(), t.LRy())),
                 QPoint(qMax(t.ULx(), t.LRx()), qMax(t.ULy(), t.LRy())));
}

int tabWidth(const Pagoline &control)
{
    return static_cast<const CStyleTabbedDialog *>(control.StyleObject())->TabWidth();
}

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void rowCount_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("perRow");
        QTest::addColumn<int>("rows");
        QTest::newRow("one full row") << 4 << 4 << 1;
        QTest::newRow("one more") << 5 << 4 << 2;
        QTest::newRow("single tab") << 1 << 4 << 1;
        QTest::newRow("ten by four") << 10 << 4 << 3;
        QTest::newRow("one per row") << 3 << 1 << 3;
    }

    void rowCount()
    {
        QFETCH(int, tabs);
        QFETCH(int, perRow);
        Pagoline control;
        control.resize(600, 400);
        control.setTabs(short(tabs));
        control.setTabsPerRow(short(perRow));
        QTEST(int(control.Rows()), "rows");
        QTEST(TabLayout::RowCount(tabs, perRow), "rows");
    }

    void currentRowTurnsToThePage()
    {
        // Natural rows 1, 2, 3 with the current tab in row 2 are drawn as rows 3, 1, 2.
        QCOMPARE(TabLayout::DisplayRow(1, 6, 4, 3), 3);
        QCOMPARE(TabLayout::DisplayRow(5, 6, 4, 3), 1);
        QCOMPARE(TabLayout::DisplayRow(9, 6, 4, 3), 2);

        Pagoline control;
        control.resize(600, 400);
        control.setTabs(10);
        control.setTabsPerRow(4);
        control.setTab(5);
        for (int i = 1; i <= 10; ++i) {
            const int expected = i <= 4 ? 3 : (i <= 8 ? 1 : 2);
            QCOMPARE(tab(control, i).Row, expected);
        }
        QCOMPARE(control.LastTabRow(), 2);
    }

    void hiddenTabsTakeNoPlace()
    {
        Pagoline control;
        control.resize(600, 400);
        control.setTabs(4);
        control.setTab(1);
        control.setTabVisible(0, false);
        control.setTabVisible(2, false);
        QCOMPARE(tab(control, 1).Index, -1);
        QCOMPARE(tab(control, 2).Index, 1);
        QCOMPARE(tab(control, 3).Index, -1);
        QCOMPARE(tab(control, 4).Index, 2);
        QCOMPARE(control.HitTest(10, 10), 2);
    }

    void hiddenCurrentTabKeepsTheNaturalRows()
    {
        Pagoline control;
        control.resize(400, 300);
        control.setTabsPerRow(1);
        control.setTab(1);
        control.setTabVisible(1, false);
        control.setTab(1); // a hidden tab can be made current through Tab
        QCOMPARE(control.Tab(), short(1));
        QCOMPARE(tab(control, 1).Row, 1);
        QCOMPARE(tab(control, 3).Row, 2);
        QCOMPARE(control.HitTest(200, 10), 3); // the back row
        QCOMPARE(control.HitTest(200, 30), 1);
    }

    void hitRegionIsHalfOpen_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("inside");
        // Region stored with its corners in the other order: (10, 20) and (5, 8).
        QTest::newRow("smaller corner") << QPoint(5, 8) << true;
        QTest::newRow("just inside the larger") << QPoint(9, 19) << true;
        QTest::newRow("larger x") << QPoint(10, 15) << false;
        QTest::newRow("larger y") << QPoint(7, 20) << false;
        QTest::newRow("before smaller x") << QPoint(4, 10) << false;
    }

    void hitRegionIsHalfOpen()
    {
        QFETCH(QPoint, point);
        CTab t;
        t.SetRegion(10, 20, 5, 8);
        QTEST(t.IsHit(point.x(), point.y()), "inside");
    }

    void hitTestOnTheDrawnRegions()
    {
        // 400 wide, 3 tabs: W 133; tab 1 has its caption region from (4, 5) to (129, 18).
        Pagoline control;
        control.resize(400, 300);
        control.Redraw(true); // a hidden widget gets no resize event
        QCOMPARE(control.HitTest(4, 5), 1);
        QCOMPARE(control.HitTest(128, 17), 1);
        QCOMPARE(control.HitTest(3, 10), 0);
        QCOMPARE(control.HitTest(10, 4), 0);
        QCOMPARE(control.HitTest(129, 10), 0);
        QCOMPARE(control.HitTest(10, 18), 0);
        QCOMPARE(control.HitTest(137, 10), 2);
        QCOMPARE(control.HitTest(200, 150), 0);
    }

    void tabWidthAndRemainder()
    {
        // Strip 400, 4 per row, 2 rows: W = (400 - 11) div 4 = 97, E = 1, row 2 from x 11.
        Pagoline control;
        control.resize(400, 300);
        control.setTabs(5);
        control.setTabsPerRow(4);
        control.setTab(0);
        const auto *style = static_cast<const CStyleTabbedDialog *>(control.StyleObject());
        QCOMPARE(style->TabWidth(), 97);
        QCOMPARE(style->Remainder(), 1);
        QCOMPARE(control.size(), QSize(400, 300));
        QCOMPARE(tab(control, 5).Row, 2);
        QCOMPARE(region(tab(control, 5)).left(), 11 + 4);
        QCOMPARE(region(tab(control, 2)).left(), 97 + 4);
        // The last tab of the row takes the remainder and ends on the page's right side.
        QCOMPARE(region(tab(control, 4)).right(), 400 - 11 - 1 - 4);
    }

    void narrowStripGrowsToTheWidthFloor_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("grown");
        QTest::newRow("no remainder") << 100 << 42 * 4;
        QTest::newRow("remainder 1") << 101 << 42 * 4 + 1;
    }

    void narrowStripGrowsToTheWidthFloor()
    {
        QFETCH(int, width);
        Pagoline control;
        control.setTabs(4);
        control.setTabsPerRow(4);
        control.resize(width, 200);
        control.Redraw(true);
        QCOMPARE(tabWidth(control), 42);
        QTEST(control.width(), "grown");
        QCOMPARE(control.height(), 200);
    }

    void shallowControlGrowsToTheDepthFloor()
    {
        Pagoline control;
        control.resize(300, 25);
        control.Redraw(true);
        QCOMPARE(control.PageDepth(), 10);
        QCOMPARE(control.size(), QSize(300, 30));
    }

    void maximumWidthGivesEveryTabThatWidth()
    {
        Pagoline control;
        control.resize(400, 300);
        control.setTabs(4);
        control.setTabsPerRow(4);
        control.setTabMaxWidth(60);
        QCOMPARE(tabWidth(control), 60);
        QCOMPARE(region(tab(control, 1)).left(), 4);
        QCOMPARE(region(tab(control, 1)).right(), 56);
        // No remainder for the last tab of the row.
        QCOMPARE(region(tab(control, 4)).left(), 184);
        QCOMPARE(region(tab(control, 4)).right(), 180 + 59 - 4);
        control.setTabMaxWidth(0);
        QCOMPARE(tabWidth(control), 100);
    }

    void tabHeightInHostUnits()
    {
        Pagoline control;
        QSignalSpy changes(&control, &Pagoline::PropertyChanged);
        control.setTabHeight(0);
        QCOMPARE(control.TabHeightPixels(), 20);
        QCOMPARE(changes.count(), 0);
        control.setTabHeight(20); // reported even when it is the old value
        QCOMPARE(changes.count(), 1);
        control.setScaleMode(Pagoline::vbTwips);
        QCOMPARE(control.TabHeight(), 300.0f);
        control.setTabHeight(450);
        QCOMPARE(control.TabHeightPixels(), 30);
        control.setTabMaxWidth(1500);
        QCOMPARE(control.TabMaxWidthPixels(), 100);
        QCOMPARE(control.TabMaxWidth(), 1500.0f);
    }

    void arrowKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        // 10 visible tabs, 4 per row: natural rows 1-4, 5-8, 9-10.
        QTest::newRow("up from 2") << 38 << 2 << 6;
        QTest::newRow("down from 2") << 40 << 2 << 10;
        QTest::newRow("down from 3, no tab 11") << 40 << 3 << 7;
        QTest::newRow("down from 6") << 40 << 6 << 2;
        QTest::newRow("up from 9 past the end") << 38 << 9 << 1;
        QTest::newRow("left wraps in a full row") << 37 << 5 << 8;
        QTest::newRow("left wraps in the short row") << 37 << 9 << 10;
        QTest::newRow("left") << 37 << 3 << 2;
        QTest::newRow("right from the last column") << 39 << 4 << 1;
        QTest::newRow("right from the last tab") << 39 << 10 << 9;
        QTest::newRow("right") << 39 << 2 << 3;
    }

    void arrowKeys()
    {
        QFETCH(int, key);
        QFETCH(int, from);
        QTEST(TabLayout::ArrowTarget(key, from, 10, 4), "to");
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
