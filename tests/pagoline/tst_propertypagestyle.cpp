// The property-page style, on the control's back buffer: tab widths that follow the
// captions (also with a picture), tabs side by side along their row, the current tab
// raised above its neighbours in every orientation, the staircase of back pages 11
// pixels per row in every orientation, the shape flags around the current tab, the
// window-frame corner of a tab standing above the current one, growing
// a control too short for its widest row, and switching the style at run time. The
// pixel-exact joins of the shapes are left out.
#include "pagoline/core/Pagoline.h"
#include "pagoline/styles/CStylePropertyPage.h"
#include "pagoline/styles/CTemplate.h"
#include "pagoline/winapi/MUnicodeSupport.h"

#include <QtTest>

namespace {

const QColor kFrame(0, 0, 0);
const QColor kHighlight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kFace(192, 192, 192);
const QColor kBack(0, 255, 0);

QPalette testPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Shadow, kFrame);
    palette.setColor(QPalette::Light, kHighlight);
    palette.setColor(QPalette::Dark, kShadow);
    palette.setColor(QPalette::Button, kFace);
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 255));
    return palette;
}

// A property-page control with the given captions in one row per perRow tabs; strip
// length 400, depth 300.
void prepare(Pagoline &control, const QStringList &captions, int perRow, int orientation, int current)
{
    control.setPalette(testPalette());
    control.setBackColor(0x0000FF00);
    control.setStyle(Pagoline::ssStylePropertyPage);
    control.setTabs(short(captions.size()));
    for (int i = 0; i < captions.size(); ++i)
        control.setTabCaption(short(i), captions[i]);
    control.setTabsPerRow(short(perRow));
    control.setTabOrientation(Pagoline::TabOrientationConstants(orientation));
    control.resize(orientation >= 2 ? QSize(300, 400) : QSize(400, 300));
    control.setTab(short(current));
    control.Redraw(true);
}

// A point given along the strip and across it from its outer edge, as a pixel.
QPoint toPixel(int orientation, int along, int fromEdge, int length = 400, int depth = 300)
{
    switch (orientation) {
    case 1: return {along, depth - 1 - fromEdge};
    case 2: return {fromEdge, length - 1 - along};
    case 3: return {depth - 1 - fromEdge, along};
    default: return {along, fromEdge};
    }
}

// How far from the strip's outer edge the first drawn pixel lies at a place along it.
int firstInk(const Pagoline &control, int orientation, int along)
{
    for (int e = 0; e < 60; ++e) {
        if (control.BackBuffer().pixelColor(toPixel(orientation, along, e)) != kBack)
            return e;
    }
    return -1;
}

int textWidth(const Pagoline &control, const QString &caption)
{
    const QFont font = CTemplate::CaptionFont(control.font(), false, control.BackBuffer());
    return MUnicodeSupport::GetTextExtentPoint32(font, caption).width();
}

QColor outer(int orientation, CStylePropertyPage::Part part)
{
    return CStylePropertyPage::OuterIsHighlight(orientation, part) ? kHighlight : kFrame;
}

} // namespace

class PropertyPageStyleTest : public QObject
{
    Q_OBJECT

private slots:
    void tabWidthsFollowTheirCaptions()
    {
        Pagoline control;
        const QStringList captions = {QStringLiteral("A"), QStringLiteral("A much wider caption"),
                                      QStringLiteral("&Mid"), QString()};
        prepare(control, captions, 4, 0, 3);
        const CTabs &tabs = control.TabList();
        int left = 0;
        for (int i = 1; i <= 4; ++i) {
            const CTab &tab = *tabs.Item(i);
            // An empty caption gives the default "Tab 3"; the markers are measured too.
            QCOMPARE(tab.Width, textWidth(control, tab.Caption()) + 12);
            QCOMPARE(tab.Left, left);
            left += tab.Width;
        }
        QVERIFY(tabs.Item(2)->Width > tabs.Item(1)->Width + 40);
        // The drawn sides stand where the widths put them (tab 3 is covered by the current tab).
        const QImage &image = control.BackBuffer();
        for (int i = 1; i <= 2; ++i) {
            const CTab &tab = *tabs.Item(i);
            QCOMPARE(image.pixelColor(tab.Left, 12), kHighlight);
            QCOMPARE(image.pixelColor(tab.Left + tab.Width - 1, 12), kFrame);
        }
    }

    void emptyCaptionIsTwelvePixelsAndAPictureAddsItsExtent()
    {
        QCOMPARE(CStylePropertyPage::TabWidth(0, 0), 12);
        Pagoline control;
        prepare(control, {QStringLiteral("x"), QStringLiteral("y")}, 3, 0, 0);
        const int plain = control.TabList().Item(2)->Width;
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        control.setTabPicture(1, picture);
        control.Redraw(true);
        QCOMPARE(control.TabList().Item(2)->Width, plain + 16 + 10);
    }

    void currentTabStandsAboveItsNeighbours_data()
    {
        QTest::addColumn<int>("orientation");
        for (int o = 0; o < 4; ++o)
            QTest::addRow("orientation %d", o) << o;
    }

    void currentTabStandsAboveItsNeighbours()
    {
        QFETCH(int, orientation);
        Pagoline control;
        prepare(control, {QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third")}, 3,
                orientation, 1);
        const CTabs &tabs = control.TabList();
        auto middle = [&](int i) { return tabs.Item(i)->Left + tabs.Item(i)->Width / 2; };
        QCOMPARE(firstInk(control, orientation, middle(2)), 0);
        QCOMPARE(firstInk(control, orientation, middle(1)), 2);
        QCOMPARE(firstInk(control, orientation, middle(3)), 2);
        // Widened into its neighbours: its corner stands where the left neighbour ends.
        QCOMPARE(firstInk(control, orientation, tabs.Item(2)->Left - 1), 1);
        const int foot = 2 + 20;
        const QPoint onCurrent = toPixel(orientation, middle(2), foot - 5);
        QCOMPARE(control.HitTest(onCurrent.x(), onCurrent.y()), 2);
    }

    void backPagesFormAStaircase_data()
    {
        QTest::addColumn<int>("orientation");
        for (int o = 0; o < 4; ++o)
            QTest::addRow("orientation %d", o) << o;
    }

    void backPagesFormAStaircase()
    {
        QFETCH(int, orientation);
        Pagoline control;
        QStringList captions;
        for (int i = 0; i < 7; ++i)
            captions << QStringLiteral("Tab %1").arg(i);
        // Three rows; the current tab's row touches the page.
        prepare(control, captions, 3, orientation, 0);
        QCOMPARE(control.Rows(), short(3));
        const int L = 400, D = 300, T = 20;
        const QImage &image = control.BackBuffer();
        const QColor right = outer(orientation, CStylePropertyPage::RightSide);
        // The right side of the page of row r stands at L - 11 x (R - r) - 1, each back
        // page one tab height shorter than the one in front.
        for (int row = 1; row <= 3; ++row) {
            const int x = L - 11 * (3 - row) - 1;
            const int bottom = D - 1 - T * (row - 1); // from the outer edge
            QCOMPARE(image.pixelColor(toPixel(orientation, x, bottom - 8)), right);
            QCOMPARE(image.pixelColor(toPixel(orientation, x - 3, bottom - 8)), kFace);
            if (row < 3)
                QCOMPARE(image.pixelColor(toPixel(orientation, x + 1, bottom - 8)), kBack);
        }
        // Below the back pages' feet only the background shows.
        QCOMPARE(image.pixelColor(toPixel(orientation, L - 1, D - 1 - 2 * T + 3)), kBack);
        QCOMPARE(image.pixelColor(toPixel(orientation, L - 12, D - 1 - T + 3)), kBack);
        // Row 2's tabs start 11 pixels along, row 3's 22.
        const CTabs &tabs = control.TabList();
        QCOMPARE(tabs.Item(4)->Row, 2);
        QCOMPARE(tabs.Item(4)->Left, 11);
        QCOMPARE(tabs.Item(7)->Row, 3);
        QCOMPARE(tabs.Item(7)->Left, 22);
    }

    void flagsAroundTheCurrentTab()
    {
        Pagoline control;
        prepare(control, {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}, 3, 0, 1);
        auto *style = dynamic_cast<CStylePropertyPage *>(control.StyleObject());
        QVERIFY(style);
        const CTabs &tabs = control.TabList();
        QCOMPARE(style->Flags(*tabs.Item(1)), 130);
        QCOMPARE(style->Flags(*tabs.Item(2)), 3);
        QCOMPARE(style->Flags(*tabs.Item(3)), 258);
        QCOMPARE(CStylePropertyPage::TemplateKey(2, 1, 258), QStringLiteral("2_1_102"));
    }

    void cornerAboveTheCurrentTabIsWindowFrame_data()
    {
        QTest::addColumn<int>("orientation");
        for (int o = 0; o < 4; ++o)
            QTest::addRow("orientation %d", o) << o;
    }

    void cornerAboveTheCurrentTabIsWindowFrame()
    {
        QFETCH(int, orientation);
        Pagoline control;
        // Tab 3 (row 2) starts inside the current tab 1 and ends beyond it, short of the
        // end of row 1: flags 512 only.
        prepare(control, {QStringLiteral("Current one"), QStringLiteral("A very much wider second caption"),
                          QStringLiteral("Third tab here"), QStringLiteral("D")}, 2, orientation, 0);
        auto *style = dynamic_cast<CStylePropertyPage *>(control.StyleObject());
        QVERIFY(style);
        const CTab &above = *control.TabList().Item(3);
        QCOMPARE(style->Flags(above), 512);
        // The top-right corner pixel: one in from the right side, one below the top edge,
        // the strip starting 2 pixels in from the outer edge.
        const QPoint corner = toPixel(orientation, above.Left + above.Width - 2, 2 + 1);
        QCOMPARE(control.BackBuffer().pixelColor(corner), kFrame);
    }

    void tooShortControlGrowsToItsWidestRow()
    {
        Pagoline control;
        prepare(control, {QStringLiteral("A rather long caption"), QStringLiteral("Another long one"),
                          QStringLiteral("Short")}, 2, 0, 0);
        control.resize(60, 300);
        control.Redraw(true);
        auto *style = dynamic_cast<CStylePropertyPage *>(control.StyleObject());
        QVERIFY(style);
        const CTabs &tabs = control.TabList();
        const int widest = tabs.Item(1)->Width + tabs.Item(2)->Width;
        QCOMPARE(control.width(), widest + 11);
        QCOMPARE(control.height(), 300);
    }

    void styleSwitchesAtRunTime()
    {
        Pagoline control;
        prepare(control, {QStringLiteral("Wide caption here"), QStringLiteral("B"), QStringLiteral("C")}, 3, 0, 0);
        QVERIFY(dynamic_cast<CStylePropertyPage *>(control.StyleObject()));
        const QImage propertyPage = control.BackBuffer().copy();
        QSignalSpy changes(&control, &Pagoline::PropertyChanged);
        control.setStyle(Pagoline::ssStyleTabbedDialog);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first().first().toString(), QStringLiteral("Style"));
        QVERIFY(!dynamic_cast<CStylePropertyPage *>(control.StyleObject()));
        QVERIFY(control.BackBuffer() != propertyPage);
        control.setStyle(Pagoline::ssStylePropertyPage);
        QCOMPARE(control.BackBuffer(), propertyPage);
    }
};

QTEST_MAIN(PropertyPageStyleTest)
#include "tst_propertypagestyle.moc"
