// Host controls on pages: the 75000-unit shift with the tab stop turned off and
// restored, in pixels and in twips, DontShiftControls, ControlsShiftComplete while a
// page is entered, control-array members, controls that were off the page from the
// start, a control that became an array member, and the records read from a saved bag
// putting the controls of other pages away.
#include "pagoline/core/Pagoline.h"
#include "pagoline/core/PropertyBag.h"

#include <QLineEdit>
#include <QtTest>

namespace {

QWidget *place(Pagoline &control, const QString &name, int x, int index = -1)
{
    auto *widget = new QLineEdit(&control);
    widget->setObjectName(name);
    widget->move(x, 40);
    if (index >= 0)
        widget->setProperty("Index", index);
    return widget;
}

} // namespace

class HostControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void controlLeavesAndComesBack()
    {
        Pagoline control;
        control.setTab(0);
        QWidget *edit = place(control, QStringLiteral("TextName"), 360);
        QVERIFY(edit->focusPolicy() & Qt::TabFocus);
        control.setTab(1);
        QCOMPARE(edit->x(), -74640);
        QVERIFY(!(edit->focusPolicy() & Qt::TabFocus));
        QVERIFY(edit->isHidden());
        const QList<CControl> &records = control.TabList().Item(1)->ContainedControls;
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].Name, QStringLiteral("TextName"));
        QVERIFY(records[0].TabStop);
        QCOMPARE(records[0].Index, -1);
        control.setTab(0);
        QCOMPARE(edit->x(), 360);
        QVERIFY(edit->focusPolicy() & Qt::TabFocus);
        QVERIFY(!edit->isHidden());
    }

    void twipsShiftByTheSameHostUnits()
    {
        Pagoline control;
        control.setScaleMode(Pagoline::vbTwips);
        control.setTab(0);
        QWidget *edit = place(control, QStringLiteral("TextName"), 24); // 360 twips
        control.setTab(1);
        QCOMPARE(edit->x(), -74640 / 15);
        control.setTab(0);
        QCOMPARE(edit->x(), 24);
    }

    void ownTabStopComesBack()
    {
        Pagoline control;
        control.setTab(0);
        QWidget *edit = place(control, QStringLiteral("TextName"), 360);
        edit->setFocusPolicy(Qt::ClickFocus);
        control.setTab(1);
        control.setTab(0);
        QCOMPARE(edit->focusPolicy(), Qt::ClickFocus);
    }

    void dontShiftControlsMovesAndRecordsNothing()
    {
        Pagoline control;
        control.setTab(0);
        QWidget *edit = place(control, QStringLiteral("TextName"), 360);
        control.setDontShiftControls(true);
        control.setTab(1);
        QCOMPARE(edit->x(), 360);
        QVERIFY(control.TabList().Item(1)->ContainedControls.isEmpty());
    }

    void shiftIsIncompleteWhileAPageIsEntered()
    {
        Pagoline control;
        control.show();
        control.setTab(0);
        QWidget *edit = place(control, QStringLiteral("TextName"), 360);
        edit->show();
        control.setTab(1);
        QList<bool> seen;
        struct Watcher : QObject
        {
            Pagoline *control;
            QList<bool> *seen;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Move)
                    seen->append(control->ControlsShiftComplete());
                return false;
            }
        } watcher;
        watcher.control = &control;
        watcher.seen = &seen;
        edit->installEventFilter(&watcher);
        control.setTab(0);
        QVERIFY(!seen.isEmpty());
        QVERIFY(!seen.contains(true));
        QVERIFY(control.ControlsShiftComplete());
    }

    void controlArrayMembersComeBackOneByOne()
    {
        Pagoline control;
        control.setTab(0);
        QWidget *first = place(control, QStringLiteral("OptMode"), 30, 0);
        control.setTab(1);
        QWidget *second = place(control, QStringLiteral("OptMode"), 60, 1);
        control.setTab(2);
        QCOMPARE(control.TabList().Item(1)->ContainedControls.value(0).Index, 0);
        QCOMPARE(control.TabList().Item(2)->ContainedControls.value(0).Index, 1);
        control.setTab(1);
        QCOMPARE(second->x(), 60);
        QCOMPARE(first->x(), 30 - 75000);
        control.setTab(0);
        QCOMPARE(first->x(), 30);
        QCOMPARE(second->x(), 60 - 75000);
    }

    void controlFarToTheLeftIsNeverRecorded()
    {
        Pagoline control;
        control.setTab(0);
        QWidget *away = place(control, QStringLiteral("Hidden"), -20000);
        control.setTab(1);
        control.setTab(0);
        QCOMPARE(away->x(), -20000);
        QVERIFY(control.TabList().Item(1)->ContainedControls.isEmpty());
    }

    void controlThatBecameAnArrayMemberKeepsItsPage()
    {
        Pagoline control;
        control.setTab(1);
        QWidget *option = place(control, QStringLiteral("OptMode"), 30);
        control.setTab(0);
        QCOMPARE(option->x(), 30 - 75000);
        option->setProperty("Index", 3);
        control.setTab(2); // leaving tab 0 tidies the records
        QCOMPARE(control.TabList().Item(2)->ContainedControls.value(0).Index, 3);
        control.setTab(1);
        QCOMPARE(option->x(), 30);
    }

    void addContainedControlRecordsOnTheCurrentTab()
    {
        Pagoline control;
        control.setTab(1);
        QSignalSpy changes(&control, &Pagoline::PropertyChanged);
        control.AddContainedControl(QStringLiteral("Frame2"), false, 4);
        QCOMPARE(control.TabList().Item(2)->ContainedControls.value(0).Index, 4);
        QCOMPARE(changes.count(), 1);
    }

    void readPropertiesPutsOtherPagesAway()
    {
        Pagoline designed;
        designed.setTab(0);
        place(designed, QStringLiteral("Page0"), 10);
        designed.setTab(1);
        place(designed, QStringLiteral("Page1"), 10);
        designed.setTab(0);
        PropertyBag bag;
        QVERIFY(designed.WriteProperties(bag));

        // A host that builds its pages in code places them all on the page first.
        Pagoline loaded;
        QWidget *page0 = place(loaded, QStringLiteral("Page0"), 10);
        QWidget *page1 = place(loaded, QStringLiteral("Page1"), 10);
        QVERIFY(loaded.ReadProperties(PropertyBag::fromBytes(bag.toBytes())));
        QCOMPARE(loaded.Tab(), short(0));
        QCOMPARE(page0->x(), 10);
        QCOMPARE(page1->x(), 10 - 75000);
        QVERIFY(!(page1->focusPolicy() & Qt::TabFocus));
        loaded.setTab(1);
        QCOMPARE(page1->x(), 10);
        QVERIFY(page1->focusPolicy() & Qt::TabFocus);
        QCOMPARE(page0->x(), 10 - 75000);
    }

    void placeHostControlKeepsAnOffPageControlOff()
    {
        Pagoline control;
        control.resize(400, 300);
        control.setTab(0);
        QWidget *page = place(control, QStringLiteral("Page0"), 10);
        control.setTab(1);
        control.PlaceHostControl(page, control.PageRect());
        QCOMPARE(page->x(), control.PageRect().x() - 75000);
        control.setTab(0);
        QCOMPARE(page->geometry(), control.PageRect());
    }
};

QTEST_MAIN(HostControlsTest)
#include "tst_hostcontrols.moc"
