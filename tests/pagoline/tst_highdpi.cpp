// The control on a screen scaled to 200 %: its back buffer holds twice the pixels in
// each direction at device pixel ratio 2, lines stay whole device pixels (no blur), what
// the window shows is that buffer one to one, and clicks still find their tabs in client
// pixels. Fractional ratios are Qt's scaling of the same buffer and are not tested.
#include "pagoline/core/Pagoline.h"

#include <QtTest>

class HighDpiTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    }

    void backBufferHasTwiceThePixelsEachWay()
    {
        QWidget window;
        auto *control = new Pagoline(&window);
        control->setGeometry(0, 0, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        control->Redraw(true);
        const QImage &buffer = control->BackBuffer();
        QCOMPARE(buffer.devicePixelRatio(), 2.0);
        QCOMPARE(buffer.size(), QSize(600, 400));
        QCOMPARE(buffer.deviceIndependentSize(), QSizeF(300, 200));

        // The page's left border: the outer line at client x 0 covers device columns 0
        // and 1 in one colour, the inner line the next two; no blended column between.
        const int y = 2 * (control->PageRect().top() + 20);
        QCOMPARE(buffer.pixelColor(0, y), buffer.pixelColor(1, y));
        QCOMPARE(buffer.pixelColor(2, y), buffer.pixelColor(3, y));
        QVERIFY(buffer.pixelColor(1, y) != buffer.pixelColor(2, y));

        // The window shows the buffer one to one.
        const QImage shown = control->grab().toImage().convertToFormat(buffer.format());
        QCOMPARE(shown.size(), buffer.size());
        QCOMPARE(shown, buffer);
    }

    void clicksFindTabsInClientPixels()
    {
        QWidget window;
        auto *control = new Pagoline(&window);
        control->setGeometry(0, 0, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const CTab &first = *control->TabList().Item(1);
        const QPoint middle((first.ULx() + first.LRx()) / 2, (first.ULy() + first.LRy()) / 2);
        QVERIFY(middle.x() < 150);
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, middle);
        QCOMPARE(control->Tab(), short(0));
    }
};

int main(int argc, char *argv[])
{
    // A 200 % screen, before the application reads its screens.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
