// The bounds on the control's settings, the same through a saved bag, a setter and the
// property page: extreme and damaged bag values load within the bounds with a back
// buffer of bounded size, enumerations hold only their declared values, a tab height of
// 0 survives a save, and the tab and control counts read from a bag are bounded. The
// ordinary round trip of each setting is in tst_persistence.
#include "pagoline/core/PGeneral.h"
#include "pagoline/core/Pagoline.h"
#include "pagoline/core/PropertyBag.h"
#include "pagoline/core/PropertyLimits.h"

#include <QLineEdit>
#include <QtTest>

using namespace PropertyLimits;

namespace {

// A control read from a bag holding one value, laid out at an ordinary size.
std::unique_ptr<Pagoline> readWith(const QString &name, const QVariant &value)
{
    PropertyBag bag;
    bag.WriteProperty(name, value);
    auto control = std::make_unique<Pagoline>();
    control->resize(400, 300);
    if (!control->ReadProperties(PropertyBag::fromBytes(bag.toBytes())))
        qWarning("ReadProperties failed");
    control->Redraw(true);
    return control;
}

// The saved contents of a tab list of count tabs, each claiming a huge control count.
QByteArray tabList(int count, qlonglong claimed)
{
    PropertyBag tab;
    tab.WriteProperty(QStringLiteral("Caption"), QStringLiteral("0041"));
    tab.WriteProperty(QStringLiteral("ControlsCount"), claimed);
    for (int i = 1; i <= 3; ++i) {
        tab.WriteProperty(QStringLiteral("n%1").arg(i), QStringLiteral("c%1").arg(i));
        tab.WriteProperty(QStringLiteral("ts%1").arg(i), true);
        tab.WriteProperty(QStringLiteral("ix%1").arg(i), -1);
    }
    const QByteArray one = tab.toBytes();
    PropertyBag list;
    list.WriteProperty(QStringLiteral("NumTabs"), qlonglong(count));
    for (int i = 1; i <= count; ++i)
        list.WriteProperty(QStringLiteral("Tab%1").arg(i), one);
    return list.toBytes();
}

} // namespace

class LimitsTest : public QObject
{
    Q_OBJECT

private slots:
    void bagValuesLoadWithinTheBounds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qlonglong>("stored");
        QTest::addColumn<QString>("property");
        QTest::addColumn<qlonglong>("expected");
        QTest::newRow("TabsPerRow 32767") << "TabsPerRow" << 32767LL << "TabsPerRow" << qlonglong(MaxTabsPerRow);
        QTest::newRow("TabsPerRow -4") << "TabsPerRow" << -4LL << "TabsPerRow" << 1LL;
        QTest::newRow("TabMaxWidth int max") << "TabMaxWidth" << 2147483647LL << "TabMaxWidth"
                                             << qlonglong(MaxTabMaxWidth);
        QTest::newRow("TabMaxWidth 2^40") << "TabMaxWidth" << (1LL << 40) << "TabMaxWidth" << qlonglong(MaxTabMaxWidth);
        QTest::newRow("TabHeight 1e9") << "TabHeight" << 1000000000LL << "TabHeight" << qlonglong(MaxTabHeight);
        QTest::newRow("TabHeight 0 kept") << "TabHeight" << 0LL << "TabHeight" << 0LL;
        QTest::newRow("TabHeight -3 default") << "TabHeight" << -3LL << "TabHeight" << 20LL;
        QTest::newRow("Style 2 default") << "Style" << 2LL << "Style" << 0LL;
        QTest::newRow("Style 1 kept") << "Style" << 1LL << "Style" << 1LL;
        QTest::newRow("Orientation 4 default") << "Orientation" << 4LL << "TabOrientation" << 0LL;
        QTest::newRow("MousePointer 50 default") << "MousePointer" << 50LL << "MousePointer" << 0LL;
        QTest::newRow("MousePointer 99 kept") << "MousePointer" << 99LL << "MousePointer" << 99LL;
        QTest::newRow("OLEDropMode 2 default") << "OLEDropMode" << 2LL << "OLEDropMode" << 0LL;
    }

    void bagValuesLoadWithinTheBounds()
    {
        QFETCH(QString, name);
        QFETCH(qlonglong, stored);
        QFETCH(QString, property);
        QFETCH(qlonglong, expected);
        const auto control = readWith(name, stored);
        // Lengths are pixels here: the control measures in pixels unless told otherwise.
        QCOMPARE(control->property(property.toLatin1()).toLongLong(), expected);
    }

    void extremeBagKeepsTheBackBufferBounded_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qlonglong>("stored");
        QTest::addColumn<int>("style");
        for (int style = 0; style < 2; ++style) {
            QTest::addRow("TabsPerRow 32767, style %d", style) << "TabsPerRow" << 32767LL << style;
            QTest::addRow("TabMaxWidth max, style %d", style) << "TabMaxWidth" << 2147483647LL << style;
            QTest::addRow("TabHeight max, style %d", style) << "TabHeight" << 2147483647LL << style;
        }
    }

    void extremeBagKeepsTheBackBufferBounded()
    {
        QFETCH(QString, name);
        QFETCH(qlonglong, stored);
        QFETCH(int, style);
        PropertyBag bag;
        bag.WriteProperty(name, stored);
        bag.WriteProperty(QStringLiteral("Style"), style);
        // The worst of the others at their bounds too, and the most tabs.
        bag.WriteProperty(QStringLiteral("TabsPerRow"), name == QLatin1String("TabsPerRow") ? stored : MaxTabsPerRow);
        bag.WriteProperty(QStringLiteral("TabMaxWidth"), MaxTabMaxWidth);
        bag.WriteProperty(QStringLiteral("Tabs"), tabList(MaxTabs, 0));
        Pagoline control;
        control.resize(400, 300);
        QVERIFY(control.ReadProperties(PropertyBag::fromBytes(bag.toBytes())));
        control.Redraw(true);
        QVERIFY(control.width() <= MaxGrownExtent);
        QVERIFY(control.height() <= MaxGrownExtent);
        const QImage &buffer = control.BackBuffer();
        QVERIFY(!buffer.isNull());
        const qreal ratio = control.devicePixelRatioF();
        QVERIFY(buffer.width() <= MaxGrownExtent * ratio && buffer.height() <= MaxGrownExtent * ratio);
    }

    void settersStopAtTheSameBounds()
    {
        Pagoline control;
        control.setTabsPerRow(32767);
        QCOMPARE(control.TabsPerRow(), short(MaxTabsPerRow));
        control.setTabsPerRow(0); // ignored, as below 1 always was
        QCOMPARE(control.TabsPerRow(), short(MaxTabsPerRow));
        control.setTabMaxWidth(3.0e9f);
        QCOMPARE(control.TabMaxWidthPixels(), MaxTabMaxWidth);
        control.setTabMaxWidth(-5);
        QCOMPARE(control.TabMaxWidthPixels(), 0);
        control.setTabHeight(1.0e7f);
        QCOMPARE(control.TabHeightPixels(), MaxTabHeight);
        control.setTabHeight(std::numeric_limits<float>::quiet_NaN());
        QCOMPARE(control.TabHeightPixels(), MaxTabHeight);
        control.setTabs(32767);
        QCOMPARE(control.Tabs(), short(MaxTabs));
        control.InsertTab(0);
        QCOMPARE(control.Tabs(), short(MaxTabs));
        // In twips the bound is the same number of pixels.
        control.setScaleMode(Pagoline::vbTwips);
        control.setTabMaxWidth(1.0e6f);
        QCOMPARE(control.TabMaxWidth(), float(MaxTabMaxWidth * 15));
    }

    void settersIgnoreUndeclaredEnumerationValues()
    {
        Pagoline control;
        control.setStyle(Pagoline::ssStylePropertyPage);
        QSignalSpy changes(&control, &Pagoline::PropertyChanged);
        QVERIFY(control.setProperty("Style", 2));
        control.setTabOrientation(Pagoline::TabOrientationConstants(7));
        control.setMousePointer(Pagoline::MousePointerConstants(42));
        control.setOLEDropMode(Pagoline::OLEDropConstants(5));
        QCOMPARE(control.Style(), Pagoline::ssStylePropertyPage);
        QCOMPARE(control.TabOrientation(), Pagoline::ssTabOrientationTop);
        QCOMPARE(control.MousePointer(), Pagoline::ssDefault);
        QCOMPARE(control.OLEDropMode(), Pagoline::ssOLEDropNone);
        QCOMPARE(changes.count(), 0);
        QVERIFY(control.StyleObject());
    }

    void propertyPageShowsWhatTheControlTook()
    {
        Pagoline control;
        PGeneral page;
        page.SelectionChanged({&control});
        auto *perRow = page.findChild<QLineEdit *>(QStringLiteral("txtTabsPerRow"));
        auto *count = page.findChild<QLineEdit *>(QStringLiteral("txtTabCount"));
        auto *maxWidth = page.findChild<QLineEdit *>(QStringLiteral("txtTabMaxWidth"));
        QVERIFY(perRow && count && maxWidth);
        perRow->setText(QStringLiteral("32767"));
        count->setText(QStringLiteral("30000"));
        maxWidth->setText(QStringLiteral("99999"));
        QVERIFY(page.ApplyChanges());
        QCOMPARE(control.TabsPerRow(), short(MaxTabsPerRow));
        QCOMPARE(control.Tabs(), short(MaxTabs));
        QCOMPARE(perRow->text(), QString::number(MaxTabsPerRow));
        QCOMPARE(count->text(), QString::number(MaxTabs));
        QCOMPARE(maxWidth->text(), QString::number(MaxTabMaxWidth));
    }

    void tabHeightZeroRoundTrips()
    {
        Pagoline control;
        control.resize(300, 200);
        control.setTabHeight(0.4f); // rounds to no pixels
        QCOMPARE(control.TabHeightPixels(), 0);
        control.Redraw(true); // a strip of no height still draws
        PropertyBag bag;
        QVERIFY(control.WriteProperties(bag));
        QCOMPARE(bag.ReadProperty(QStringLiteral("TabHeight")).toInt(), 0);
        Pagoline back;
        QVERIFY(back.ReadProperties(PropertyBag::fromBytes(bag.toBytes())));
        QCOMPARE(back.TabHeightPixels(), 0);
        QCOMPARE(back.TabHeight(), 0.0f);
    }

    void tabAndControlCountsFromABagAreBounded()
    {
        // More tabs than the bound, each claiming 2^40 controls but holding three.
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Tabs"), tabList(MaxTabs + 20, 1LL << 40));
        Pagoline control;
        QVERIFY(control.ReadProperties(PropertyBag::fromBytes(bag.toBytes())));
        QCOMPARE(control.Tabs(), short(MaxTabs));
        QCOMPARE(control.TabList().Item(MaxTabs)->ContainedControls.size(), 3);
        // A count claimed beyond what is stored reads no more than is there.
        PropertyBag claims;
        claims.WriteProperty(QStringLiteral("NumTabs"), 1LL << 40);
        CTabs tabs;
        tabs.Deserialise(claims.toBytes());
        QCOMPARE(tabs.Count(), 0);
    }
};

QTEST_MAIN(LimitsTest)
#include "tst_limits.moc"
