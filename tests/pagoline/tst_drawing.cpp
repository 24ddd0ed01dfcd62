// Drawing, checked on the control's back buffer: the plain tab and the current tab with
// its page at the pixels of the top orientation, the same shapes turned for bottom, left
// and right (positions and the inner colours of each orientation, hit regions too), the
// template's pen arithmetic, line ends and element room, and captions (ampersands,
// accelerator underlines, disabled grey, bold current tab, wrapped lines). Fonts are
// compared only relative to each other, never to stored pictures.
#include "pagoline/core/Pagoline.h"
#include "pagoline/styles/CGDIToolbox.h"
#include "pagoline/styles/CTemplate.h"

#include <QPainter>
#include <QtTest>

namespace {

const QColor kFrame(0, 0, 0);
const QColor kHighlight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kFace(192, 192, 192);
const QColor kBack(0, 255, 0);
const QColor kText(0, 0, 255);
const QColor kGrey(255, 0, 0);

enum Slot { Frame, Hl, Sh, Face, Back };

QPalette testPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Shadow, kFrame);
    palette.setColor(QPalette::Light, kHighlight);
    palette.setColor(QPalette::Dark, kShadow);
    palette.setColor(QPalette::Button, kFace);
    palette.setColor(QPalette::ButtonText, kText);
    palette.setColor(QPalette::Disabled, QPalette::Text, kGrey);
    return palette;
}

QColor colourOf(Slot slot)
{
    switch (slot) {
    case Frame: return kFrame;
    case Hl: return kHighlight;
    case Sh: return kShadow;
    case Face: return kFace;
    default: return kBack;
    }
}

// 3 tabs in one row, tab height 20, the third current; strip length 400, depth 300.
void prepare(Pagoline &control, int orientation)
{
    control.setPalette(testPalette());
    control.setBackColor(0x0000FF00);
    control.setTabOrientation(Pagoline::TabOrientationConstants(orientation));
    control.resize(orientation >= 2 ? QSize(300, 400) : QSize(400, 300));
    control.Redraw(true);
}

QPoint toPixel(int orientation, QPoint logical, int length = 400, int depth = 300)
{
    switch (orientation) {
    case 1: return {logical.x(), depth - 1 - logical.y()};
    case 2: return {logical.y(), length - 1 - logical.x()};
    case 3: return {depth - 1 - logical.y(), logical.x()};
    default: return logical;
    }
}

// The pixels inside a rectangle that are not the face colour.
int ink(const QImage &image, const QRect &rect, const std::function<bool(QColor)> &accept = nullptr)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c != kFace && (!accept || accept(c)))
                ++count;
        }
    }
    return count;
}

QRect captionRect(const CTab &tab)
{
    return QRect(QPoint(qMin(tab.ULx(), tab.LRx()), qMin(tab.ULy(), tab.LRy())),
                 QPoint(qMax(tab.ULx(), tab.LRx()) - 1, qMax(tab.ULy(), tab.LRy()) - 1));
}

QImage rendered(const QString &caption, bool designMode = false)
{
    Pagoline control;
    control.setUserMode(!designMode);
    control.setTabCaption(0, caption);
    prepare(control, 0);
    return control.BackBuffer().copy();
}

} // namespace

class DrawingTest : public QObject
{
    Q_OBJECT

private slots:
    void topOrientationPixels_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("slot");
        // Plain tab 1: foot (0, 20), W 133.
        QTest::newRow("plain left side") << QPoint(0, 10) << int(Frame);
        QTest::newRow("plain left inner") << QPoint(1, 10) << int(Hl);
        QTest::newRow("plain inside") << QPoint(2, 10) << int(Face);
        QTest::newRow("plain top") << QPoint(60, 0) << int(Frame);
        QTest::newRow("plain top inner") << QPoint(60, 1) << int(Hl);
        QTest::newRow("plain top-left corner") << QPoint(1, 3) << int(Frame);
        QTest::newRow("plain top-left inner") << QPoint(2, 3) << int(Hl);
        QTest::newRow("outside the corner") << QPoint(0, 0) << int(Back);
        QTest::newRow("plain top-right corner") << QPoint(130, 1) << int(Frame);
        QTest::newRow("plain top-right inner") << QPoint(130, 2) << int(Sh);
        QTest::newRow("shared side") << QPoint(133, 10) << int(Frame);
        QTest::newRow("plain right inner") << QPoint(132, 10) << int(Sh);
        QTest::newRow("next tab left inner") << QPoint(134, 10) << int(Hl);
        // Current tab 3: foot (266, 20), right side on the page's right side at 399.
        QTest::newRow("current left side") << QPoint(266, 10) << int(Frame);
        QTest::newRow("current left inner 1") << QPoint(267, 10) << int(Hl);
        QTest::newRow("current left inner 2") << QPoint(268, 10) << int(Hl);
        QTest::newRow("current inside") << QPoint(269, 10) << int(Face);
        QTest::newRow("current top") << QPoint(300, 0) << int(Frame);
        QTest::newRow("current top inner 2") << QPoint(300, 2) << int(Hl);
        QTest::newRow("current right side") << QPoint(399, 10) << int(Frame);
        QTest::newRow("current right inner 2") << QPoint(397, 10) << int(Sh);
        QTest::newRow("open foot") << QPoint(300, 20) << int(Face);
        QTest::newRow("open foot inner") << QPoint(300, 22) << int(Face);
        // The current page.
        QTest::newRow("page top") << QPoint(100, 20) << int(Frame);
        QTest::newRow("page top inner 1") << QPoint(100, 21) << int(Hl);
        QTest::newRow("page top inner 2") << QPoint(100, 22) << int(Hl);
        QTest::newRow("page inside") << QPoint(100, 23) << int(Face);
        QTest::newRow("page left") << QPoint(0, 100) << int(Frame);
        QTest::newRow("page left inner") << QPoint(2, 100) << int(Hl);
        QTest::newRow("page right") << QPoint(399, 100) << int(Frame);
        QTest::newRow("page right inner") << QPoint(398, 100) << int(Sh);
        QTest::newRow("page bottom") << QPoint(200, 299) << int(Frame);
        QTest::newRow("page bottom inner") << QPoint(200, 297) << int(Sh);
        QTest::newRow("bottom-left corner") << QPoint(0, 299) << int(Frame);
        QTest::newRow("bottom-right corner") << QPoint(399, 299) << int(Frame);
    }

    void topOrientationPixels()
    {
        QFETCH(QPoint, at);
        QFETCH(int, slot);
        Pagoline control;
        prepare(control, 0);
        QCOMPARE(control.BackBuffer().pixelColor(at), colourOf(Slot(slot)));
    }

    void turnedShapes_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QPoint>("logical");
        QTest::addColumn<int>("slot");
        // Inner colours of left side, corners, top, right side and bottom per orientation.
        struct Row
        {
            const char *name;
            QPoint logical;
            Slot top, bottom, left, right;
        };
        const Row rows[] = {
            {"outer left side", {0, 10}, Frame, Frame, Frame, Frame},
            {"inner left side", {1, 10}, Hl, Hl, Sh, Hl},
            {"inner top-left corner", {2, 3}, Hl, Sh, Sh, Sh},
            {"inner top edge", {60, 1}, Hl, Sh, Hl, Sh},
            {"inner top-right corner", {130, 2}, Sh, Sh, Hl, Sh},
            {"inner right side", {132, 10}, Sh, Sh, Hl, Sh},
            {"page top inner", {100, 21}, Hl, Sh, Hl, Sh},
            {"page right inner", {398, 100}, Sh, Sh, Hl, Sh},
            {"page bottom inner", {200, 298}, Sh, Hl, Sh, Hl},
            {"page left inner", {1, 100}, Hl, Hl, Sh, Hl},
            {"page inside", {200, 150}, Face, Face, Face, Face},
            {"outside the corner", {0, 0}, Back, Back, Back, Back},
        };
        const char *names[] = {"top", "bottom", "left", "right"};
        for (int o = 0; o < 4; ++o) {
            for (const Row &row : rows) {
                const Slot bySide[] = {row.top, row.bottom, row.left, row.right};
                QTest::addRow("%s %s", names[o], row.name) << o << row.logical << int(bySide[o]);
            }
        }
    }

    void turnedShapes()
    {
        QFETCH(int, orientation);
        QFETCH(QPoint, logical);
        QFETCH(int, slot);
        Pagoline control;
        prepare(control, orientation);
        QCOMPARE(control.BackBuffer().pixelColor(toPixel(orientation, logical)), colourOf(Slot(slot)));
    }

    void turnedHitRegions_data()
    {
        QTest::addColumn<int>("orientation");
        for (int o = 0; o < 4; ++o)
            QTest::addRow("%d", o) << o;
    }

    void turnedHitRegions()
    {
        QFETCH(int, orientation);
        Pagoline control;
        prepare(control, orientation);
        for (int tab = 1; tab <= 3; ++tab) {
            const QPoint middle = toPixel(orientation, QPoint((tab - 1) * 133 + 66, 11));
            QCOMPARE(control.HitTest(middle.x(), middle.y()), tab);
        }
        const QPoint page = toPixel(orientation, QPoint(200, 150));
        QCOMPARE(control.HitTest(page.x(), page.y()), 0);
    }

    void templateStepsTurnWithTheOrientation()
    {
        CTemplate left;
        left.SetOrientation(2, 0, 399);
        left.SPt(10, 3);
        const QPoint before = left.Pen();
        left.MPt(5, 0);
        QCOMPARE(left.Pen() - before, QPoint(0, -5));
        QCOMPARE(left.X(), 15);
        QCOMPARE(left.Y(), 3);

        CTemplate right;
        right.SetOrientation(3, 299, 0);
        right.SPt(10, 3);
        const QPoint start = right.Pen();
        right.MPt(5, 0);
        QCOMPARE(right.Pen() - start, QPoint(0, 5));
        QCOMPARE(right.X(), 15);
        QCOMPARE(right.Y(), 3);

        CTemplate bottom;
        bottom.SetOrientation(1, 0, 299);
        bottom.SPt(7, 4);
        QCOMPARE(bottom.Pen(), QPoint(7, 295));
        QCOMPARE(bottom.Y(), 4);
    }

    void stepsBeyondTheRoomAreDropped()
    {
        CTemplate t;
        t.Initialise(10);
        for (int i = 0; i < 12; ++i)
            t.CPt(1, 0);
        QCOMPARE(t.Elements().size(), 10);
        QCOMPARE(t.Pen(), QPoint(10, 0));
        t.MPt(0, 3); // moves still move the pen
        QCOMPARE(t.Pen(), QPoint(10, 3));
    }

    void onlyOutlineMovesAreRecorded()
    {
        CTemplate t;
        t.Initialise(10);
        t.MPt(5, 5);
        t.MPt(1, 0, CTemplate::OutlineOnly);
        t.SPt(0, 0, CTemplate::OutlineOnly);
        QCOMPARE(t.Elements().size(), 2);
        QCOMPARE(t.Elements()[1].dx, -6);
        QCOMPARE(t.Elements()[1].dy, -5);
    }

    void linesLeaveOutTheirEndPixel()
    {
        QImage image(12, 12, QImage::Format_ARGB32);
        image.fill(Qt::white);
        CTemplate t;
        t.Initialise(4);
        t.Pt(1, 1, 5, 0, Qt::black, 1);
        t.Pt(1, 3, 4, 4, Qt::black, 1);
        QPainter painter(&image);
        t.DrawTab(painter);
        painter.end();
        for (int x = 1; x <= 5; ++x)
            QCOMPARE(image.pixelColor(x, 1), x < 6 ? QColor(Qt::black) : QColor(Qt::white));
        QCOMPARE(image.pixelColor(6, 1), QColor(Qt::white));
        QCOMPARE(image.pixelColor(4, 6), QColor(Qt::black));
        QCOMPARE(image.pixelColor(5, 7), QColor(Qt::white));
    }

    void doubledAmpersandDrawsAsOne()
    {
        auto draw = [](const CTemplate::CaptionText &text) {
            QImage image(120, 30, QImage::Format_ARGB32);
            image.fill(Qt::white);
            CTemplate t;
            t.SetULx(0, 0);
            t.SetULy(0, 0);
            t.SetLRx(120, 0);
            t.SetLRy(0, 30);
            CTemplate::CaptionOptions options;
            options.colour = QColor(Qt::black);
            QPainter painter(&image);
            t.DrawCaption(painter, text, options);
            return image;
        };
        const QImage doubled = draw({QStringLiteral("A&&B"), QString(), QString()});
        QCOMPARE(doubled, draw({QStringLiteral("A"), QStringLiteral("&"), QStringLiteral("B")}));
        QVERIFY(doubled != draw({QStringLiteral("A&&&&B"), QString(), QString()}));
    }

    void acceleratorUnderlineOnlyWhenShown()
    {
        // Run mode without the focus or Alt: no underline.
        QCOMPARE(rendered(QStringLiteral("&Save")), rendered(QStringLiteral("Save")));
        // A form designer always shows them.
        QVERIFY(rendered(QStringLiteral("&Save"), true) != rendered(QStringLiteral("Save"), true));
    }

    void disabledCaptionIsGreyAndCurrentIsBold()
    {
        Pagoline control;
        for (short i = 0; i < 3; ++i)
            control.setTabCaption(i, QStringLiteral("Caption"));
        control.setTabEnabled(1, false);
        prepare(control, 0);
        const QImage &image = control.BackBuffer();
        const auto reddish = [](QColor c) { return c.red() > c.blue() + 60; };
        const auto bluish = [](QColor c) { return c.blue() > c.red() + 60; };
        const CTabs &tabs = control.TabList();
        QVERIFY(ink(image, captionRect(*tabs.Item(2)), reddish) > 0);
        QCOMPARE(ink(image, captionRect(*tabs.Item(2)), bluish), 0);
        QVERIFY(ink(image, captionRect(*tabs.Item(1)), bluish) > 0);
        QCOMPARE(ink(image, captionRect(*tabs.Item(1)), reddish), 0);
        QVERIFY(ink(image, captionRect(*tabs.Item(3))) > ink(image, captionRect(*tabs.Item(1))));
    }

    void lineBreakStartsASecondLine()
    {
        auto inkHeight = [](bool wrap) {
            Pagoline control;
            control.setTabHeight(60);
            control.setWordWrap(wrap);
            control.setTabCaption(0, QStringLiteral("One\r\nTwo"));
            prepare(control, 0);
            const QRect rect = captionRect(*control.TabList().Item(1));
            int top = -1, bottom = -1;
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                if (ink(control.BackBuffer(), QRect(rect.left(), y, rect.width(), 1)) > 0) {
                    top = top < 0 ? y : top;
                    bottom = y;
                }
            }
            return bottom - top;
        };
        const int oneLine = inkHeight(false);
        QVERIFY(oneLine > 0);
        QVERIFY(inkHeight(true) > oneLine * 3 / 2);
    }

    void pictureTouchesTheTextOnOneLineAndKeepsItsGapWhenWrapped_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("minGap");
        QTest::addColumn<int>("maxGap");
        QTest::newRow("single line") << false << 0 << 2;
        QTest::newRow("wrapped") << true << 10 << 12;
    }

    void pictureTouchesTheTextOnOneLineAndKeepsItsGapWhenWrapped()
    {
        QFETCH(bool, wrap);
        const QColor magenta(255, 0, 255);
        QPixmap picture(10, 10);
        picture.fill(magenta);
        Pagoline control;
        control.setWordWrap(wrap);
        control.setTabCaption(0, QStringLiteral("Hi"));
        control.setTabPicture(0, picture);
        prepare(control, 0);
        const QImage &image = control.BackBuffer();
        const QRect rect = captionRect(*control.TabList().Item(1));
        int pictureRight = -1, textLeft = -1;
        for (int x = rect.left(); x <= rect.right(); ++x) {
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c == magenta)
                    pictureRight = x;
                else if (c != kFace && pictureRight >= 0 && textLeft < 0)
                    textLeft = x;
            }
        }
        QVERIFY(pictureRight >= 0 && textLeft > pictureRight);
        const int gap = textLeft - pictureRight - 1;
        QFETCH(int, minGap);
        QFETCH(int, maxGap);
        QVERIFY2(gap >= minGap && gap <= maxGap, qPrintable(QString::number(gap)));
    }

    void himetricToPixels()
    {
        QImage device(1, 1, QImage::Format_ARGB32);
        device.setDotsPerMeterX(3780);
        device.setDotsPerMeterY(3780);
        int x = 2646, y = 1323;
        CGDIToolbox::HimetricToPixels(device, x, y);
        QCOMPARE(x, 100);
        QCOMPARE(y, 50);
    }
};

QTEST_MAIN(DrawingTest)
#include "tst_drawing.moc"
