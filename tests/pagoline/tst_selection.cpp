// Selecting tabs through the interface: the refusals (current, disabled, no such tab),
// Click with the previous tab, changing the number of tabs with its two messages and
// the reduction that removes the current tab, hiding the current tab, and drawing that
// does not depend on Enabled. Clicks and keys are in tst_input, page contents in
// tst_hostcontrols.
#include "pagoline/core/Pagoline.h"

#include <QtTest>

namespace {

struct Messages
{
    QStringList titles;
    QStringList texts;
};

void capture(Pagoline &control, Messages &messages)
{
    control.setMessageHandler([&messages](const QString &title, const QString &text) {
        messages.titles.append(title);
        messages.texts.append(text);
    });
}

QWidget *hostControl(Pagoline &control, const QString &name)
{
    auto *widget = new QWidget(&control);
    widget->setObjectName(name);
    widget->setGeometry(20, 40, 50, 20);
    return widget;
}

} // namespace

class SelectionTest : public QObject
{
    Q_OBJECT

private slots:
    void refusedSelectionsRaiseNothing()
    {
        Pagoline control;
        control.setTabs(4);
        control.setTab(1);
        control.setTabEnabled(3, false);
        QSignalSpy clicks(&control, &Pagoline::Click);
        control.setTab(1);  // already current
        control.setTab(3);  // disabled
        control.setTab(4);  // beyond the last tab
        control.setTab(-1); // no tab at all
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(control.Tab(), short(1));
    }

    void tabBeyondTheLastMovesNoControls()
    {
        Pagoline control;
        control.setTab(0);
        QWidget *widget = hostControl(control, QStringLiteral("Frame1"));
        control.setTab(3);
        QCOMPARE(widget->x(), 20);
        QVERIFY(control.TabList().Item(1)->ContainedControls.isEmpty());
    }

    void clickCarriesThePreviousTab()
    {
        Pagoline control;
        control.setTab(0);
        short previous = -1;
        short seenInside = -1;
        connect(&control, &Pagoline::Click, this, [&](short PreviousTab) {
            previous = PreviousTab;
            seenInside = control.Tab();
        });
        QSignalSpy changes(&control, &Pagoline::PropertyChanged);
        control.setTab(2);
        QCOMPARE(previous, short(0));
        QCOMPARE(seenInside, short(2));
        QVERIFY(changes.contains(QVariantList{QStringLiteral("SelectedTab")}));
    }

    void hiddenTabCanBeSelectedThroughTab()
    {
        Pagoline control;
        control.setTab(0);
        control.setTabVisible(2, false);
        control.setTab(2);
        QCOMPARE(control.Tab(), short(2));
    }

    void reductionRefusedWhileTabsHoldControls_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QList<int>>("holding");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("verb");
        QTest::newRow("two tabs") << 4 << QList<int>{2, 3} << 2 << "tabs 2, and 3" << "contain";
        QTest::newRow("one tab") << 4 << QList<int>{3} << 2 << "tab 3" << "contains";
        QTest::newRow("three tabs") << 6 << QList<int>{2, 3, 5} << 1 << "tabs 2, 3, and 5" << "contain";
    }

    void reductionRefusedWhileTabsHoldControls()
    {
        QFETCH(int, tabs);
        QFETCH(QList<int>, holding);
        QFETCH(int, count);
        QFETCH(QString, list);
        QFETCH(QString, verb);
        Pagoline control;
        control.setTabs(short(tabs));
        control.setTab(0);
        for (int tab : holding)
            control.TabList().Item(tab + 1)->ContainedControls.append({QStringLiteral("Frame%1").arg(tab), true, -1});
        Messages messages;
        capture(control, messages);
        control.setTabs(short(count));
        QCOMPARE(control.Tabs(), short(tabs));
        QCOMPARE(messages.titles, QStringList{QStringLiteral("Pagoline Control")});
        QCOMPARE(messages.texts.value(0),
                 QStringLiteral("The number of tabs cannot be set to %1 whilst %2 %3 other controls.\r\n"
                                "Please remove the contained controls from %2, and then try again.")
                     .arg(count)
                     .arg(list, verb));
    }

    void reductionRefusedForControlsOnTheCurrentPage()
    {
        // The current page's controls are recorded only when it is left.
        Pagoline control;
        control.setTabs(4);
        control.setTab(3);
        hostControl(control, QStringLiteral("Frame1"));
        Messages messages;
        capture(control, messages);
        control.setTabs(2);
        QCOMPARE(control.Tabs(), short(4));
        QVERIFY(messages.texts.value(0).contains(QStringLiteral("whilst tab 3 contains")));
    }

    void atLeastOneTab()
    {
        Pagoline control;
        Messages messages;
        capture(control, messages);
        control.setTabs(0);
        QCOMPARE(control.Tabs(), short(3));
        QVERIFY(messages.texts.isEmpty());
        control.setUserMode(false);
        control.setTabs(0);
        QCOMPARE(control.Tabs(), short(3));
        QCOMPARE(messages.titles, QStringList{QStringLiteral("Pagoline")});
        QCOMPARE(messages.texts, QStringList{QStringLiteral("There must always be at least one tab.")});
    }

    void reductionKeepsAnUntouchedCurrentTab()
    {
        Pagoline control;
        control.resize(400, 300);
        control.setTabs(4);
        control.setTab(1);
        QSignalSpy clicks(&control, &Pagoline::Click);
        control.setTabs(2);
        QCOMPARE(control.Tabs(), short(2));
        QCOMPARE(control.Tab(), short(1));
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(control.HitTest(200, 10), 2);
        QCOMPARE(control.HitTest(300, 10), 0);
    }

    void reductionThatRemovesTheCurrentTabSelectsTheFirst()
    {
        Pagoline control;
        control.setTabs(4);
        control.setTab(3);
        QSignalSpy clicks(&control, &Pagoline::Click);
        control.setTabs(2);
        QCOMPARE(control.Tab(), short(0));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.first().first().value<short>(), short(3));
    }

    void growingAddsDefaultCaptions()
    {
        Pagoline control;
        QSignalSpy changes(&control, &Pagoline::PropertyChanged);
        control.setTabs(5);
        QCOMPARE(control.TabCaption(4), QStringLiteral("Tab 4"));
        QVERIFY(changes.contains(QVariantList{QStringLiteral("Tabs")}));
        bool ok = true;
        QCOMPARE(control.TabCaption(5, &ok), QString());
        QVERIFY(!ok);
    }

    void hidingTheCurrentTabSelectsTheFirstVisible()
    {
        Pagoline control;
        control.setTabs(4);
        control.setTabVisible(0, false);
        control.setTab(2);
        control.setTabVisible(2, false);
        QCOMPARE(control.Tab(), short(1));
    }

    void hidingTheCurrentTabKeepsItWhenTheFirstVisibleIsDisabled()
    {
        Pagoline control;
        control.setTabs(4);
        control.setTabEnabled(0, false);
        control.setTab(2);
        control.setTabVisible(2, false);
        QCOMPARE(control.Tab(), short(2));
    }

    void disabledControlDrawsAsAnEnabledOne()
    {
        Pagoline control;
        control.resize(300, 200);
        control.Redraw(true);
        const QImage enabled = control.BackBuffer().copy();
        control.setEnabled(false);
        control.Redraw(true);
        QCOMPARE(control.BackBuffer(), enabled);
    }
};

QTEST_MAIN(SelectionTest)
#include "tst_selection.moc"
