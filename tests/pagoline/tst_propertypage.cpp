// The property page General and the About box: the step buttons with one and with
// several tabs, the list entry shown for a control's value, an unchanged apply that
// keeps every value, a caption change applied before ">" moves on, "<" and ">" at the
// ends, the stop at a text that is not a number (what was applied before it stays), and
// the About box's caption and version line. The page's look is left out.
#include "pagoline/core/FAbout.h"
#include "pagoline/core/PGeneral.h"
#include "pagoline/core/Pagoline.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

template <typename T>
T *field(PGeneral &page, const char *name)
{
    auto *widget = page.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no field %s", name);
    return widget;
}

// A control with three tabs, tab 0 current, and a page on it.
struct Fixture
{
    Pagoline control;
    PGeneral page;

    explicit Fixture(short tabs = 3)
    {
        control.setTabs(tabs);
        control.setTab(0);
        page.SelectionChanged({&control});
    }
    QLineEdit *text(const char *name) { return field<QLineEdit>(page, name); }
    QPushButton *button(const char *name) { return field<QPushButton>(page, name); }
};

} // namespace

class PropertyPageTest : public QObject
{
    Q_OBJECT

private slots:
    void stepButtonsNeedMoreThanOneTab_data()
    {
        QTest::addColumn<short>("tabs");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("one tab") << short(1) << false;
        QTest::newRow("two tabs") << short(2) << true;
    }

    void stepButtonsNeedMoreThanOneTab()
    {
        QFETCH(short, tabs);
        QFETCH(bool, enabled);
        Fixture f(tabs);
        QCOMPARE(f.button("cmdLeft")->isEnabled(), enabled);
        QCOMPARE(f.button("cmdRight")->isEnabled(), enabled);
        QVERIFY(!f.page.Changed());
    }

    void listShowsTheControlsValue_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("shown");
        QTest::newRow("orientation") << QByteArray("TabOrientation") << 3 << "cboOrientation"
                                     << "3 - ssTabOrientationRight";
        QTest::newRow("mouse pointer") << QByteArray("MousePointer") << 99 << "cboMousePointer"
                                       << "99 - ssCustom";
        QTest::newRow("drop mode") << QByteArray("OLEDropMode") << 1 << "cboOLEDropMode" << "1 - ssOLEDropManual";
        QTest::newRow("style") << QByteArray("Style") << 0 << "cboStyle" << "0 - ssStyleTabbedDialog";
    }

    void listShowsTheControlsValue()
    {
        QFETCH(QByteArray, property);
        QFETCH(int, value);
        QFETCH(QString, list);
        QFETCH(QString, shown);
        Pagoline control;
        QVERIFY(control.setProperty(property.constData(), value));
        PGeneral page;
        page.SelectionChanged({&control});
        auto *box = page.findChild<QComboBox *>(list);
        QVERIFY(box);
        QCOMPARE(box->currentText(), shown);
        // Applying what was loaded changes nothing.
        QSignalSpy changes(&control, &Pagoline::PropertyChanged);
        QVERIFY(page.ApplyChanges());
        QCOMPARE(control.property(property.constData()).toInt(), value);
        QVERIFY(!changes.contains(QVariantList{QString::fromLatin1(property)}));
    }

    void captionChangeIsAppliedBeforeStepping()
    {
        Fixture f;
        f.text("txtTabCaption")->setText(QStringLiteral("&First"));
        QVERIFY(f.page.Changed());
        f.button("cmdRight")->click();
        QCOMPARE(f.control.TabCaption(0), QStringLiteral("&First"));
        QCOMPARE(f.control.Tab(), short(1));
        QCOMPARE(f.text("txtIndex")->text(), QStringLiteral("1"));
        QCOMPARE(f.text("txtTabCaption")->text(), QStringLiteral("Tab 1"));
        QVERIFY(!f.page.Changed());
        f.button("cmdLeft")->click();
        QCOMPARE(f.control.Tab(), short(0));
        QCOMPARE(f.text("txtTabCaption")->text(), QStringLiteral("&First"));
    }

    void stepsStopAtTheEnds()
    {
        Fixture f;
        QSignalSpy clicks(&f.control, &Pagoline::Click);
        f.button("cmdLeft")->click();
        QCOMPARE(f.control.Tab(), short(0));
        f.control.setTab(2);
        f.page.SelectionChanged({&f.control});
        clicks.clear();
        f.button("cmdRight")->click();
        QCOMPARE(f.control.Tab(), short(2));
        QCOMPARE(clicks.count(), 0);
    }

    void nonNumberStopsTheApplyThere_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<bool>("perRowApplied");
        QTest::addColumn<bool>("heightApplied");
        QTest::addColumn<bool>("orientationApplied");
        QTest::newRow("tabs per row") << "txtTabsPerRow" << false << false << false;
        QTest::newRow("tab height") << "txtTabHeight" << true << false << false;
        QTest::newRow("tab count") << "txtTabCount" << true << true << true;
    }

    void nonNumberStopsTheApplyThere()
    {
        QFETCH(QString, bad);
        QFETCH(bool, perRowApplied);
        QFETCH(bool, heightApplied);
        QFETCH(bool, orientationApplied);
        Fixture f;
        f.text("txtTabsPerRow")->setText(QStringLiteral("2"));
        f.text("txtTabHeight")->setText(QStringLiteral("30"));
        f.text("txtTabCount")->setText(QStringLiteral("5"));
        field<QComboBox>(f.page, "cboOrientation")->setCurrentIndex(1);
        f.page.findChild<QLineEdit *>(bad)->setText(QStringLiteral("twelve"));
        QVERIFY(!f.page.ApplyChanges());
        QVERIFY(f.page.Changed());
        QCOMPARE(f.control.TabsPerRow(), short(perRowApplied ? 2 : 3));
        QCOMPARE(f.control.TabHeight(), heightApplied ? 30.0f : 20.0f);
        QCOMPARE(int(f.control.TabOrientation()), orientationApplied ? 1 : 0);
        QCOMPARE(f.control.Tabs(), short(3));
        // The stopped page does not move to another tab either.
        f.button("cmdRight")->click();
        QCOMPARE(f.control.Tab(), short(0));
    }

    void applyFollowsThePropertyRules()
    {
        Fixture f(4);
        f.control.setTab(3);
        auto *page = new QWidget(&f.control);
        page->setObjectName(QStringLiteral("Frame1"));
        page->setGeometry(10, 40, 40, 20);
        f.control.setTab(0);
        QStringList messages;
        f.control.setMessageHandler([&messages](const QString &, const QString &text) { messages << text; });
        f.page.SelectionChanged({&f.control});
        f.text("txtTabCount")->setText(QStringLiteral("2"));
        field<QCheckBox>(f.page, "chkWordWrap")->setChecked(false);
        QVERIFY(f.page.ApplyChanges());
        QCOMPARE(f.control.Tabs(), short(4));
        QCOMPARE(messages.size(), 1);
        QVERIFY(!f.control.WordWrap());
    }

    void aboutBoxNamesTheControlAndItsVersion()
    {
        FAbout about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Pagoline"));
        const QString line = about.findChild<QLabel *>(QStringLiteral("lblVersion"))->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^Quillset Tabbed Dialog Control version \\d+\\.\\d+\\.0\\.\\d+$"))
                     .match(line)
                     .hasMatch(),
                 qPrintable(line));
        QCOMPARE(line, FAbout::VersionLine());
        QVERIFY(!(about.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(about.size(), QSize(391, 86));

        // AboutBox shows it modally; OK closes it.
        Pagoline control;
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<FAbout *>(QApplication::activeModalWidget());
            shown = box != nullptr;
            if (box)
                box->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        });
        control.AboutBox();
        QVERIFY(shown);
    }
};

QTEST_MAIN(PropertyPageTest)
#include "tst_propertypage.moc"
