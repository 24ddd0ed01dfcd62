// Mouse and keyboard: the event-filter chain with its consume-and-stop rule and its
// errors, keyboard hooks, and the control driven by real Qt events in a shown window:
// clicks that select (with the host's copy of the click) or fall through to MouseDown,
// the arrow keys, a host KeyDown handler that cancels them, Alt with the current tab's
// accelerator, and Tab passing the focus on; drops passed on to the host. Starting a drag
// from the control (a nested drag loop) is left to manual checks.
#include "pagoline/core/Pagoline.h"
#include "pagoline/winapi/MSubClassManager.h"

#include <QAction>
#include <QLineEdit>
#include <QMimeData>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Counts the events of one type that reach the widget's own handling.
class CountingWidget : public QWidget
{
public:
    int seen = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            ++seen;
        return QWidget::event(event);
    }
};

// Records the key presses and mouse presses an object receives.
class Recorder : public QObject
{
public:
    QList<int> keys;
    QList<QPoint> presses;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys.append(static_cast<QKeyEvent *>(event)->key());
        if (event->type() == QEvent::MouseButtonPress)
            presses.append(static_cast<QMouseEvent *>(event)->position().toPoint());
        return false;
    }
};

void sendUser(QWidget *widget)
{
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(widget, &event);
}

// A host window with the control and a line edit to take the focus from it.
struct Form
{
    QWidget window;
    Pagoline *control = nullptr;
    QLineEdit *edit = nullptr;

    Form()
    {
        window.resize(460, 360);
        control = new Pagoline(&window);
        control->setGeometry(10, 10, 400, 300);
        edit = new QLineEdit(&window);
        edit->setGeometry(10, 320, 200, 24);
        window.show();
        window.activateWindow();
    }
    [[nodiscard]] bool ready() { return QTest::qWaitForWindowActive(&window); }
};

QPoint middleOf(const CTab &tab)
{
    return QPoint((tab.ULx() + tab.LRx()) / 2, (tab.ULy() + tab.LRy()) / 2);
}

} // namespace

class InputTest : public QObject
{
    Q_OBJECT

private slots:
    void latestProcedureRunsFirstAndConsumes()
    {
        CountingWidget widget;
        QStringList calls;
        bool consumeSecond = true;
        QString first = MSubClassManager::Subclass(&widget, [&](QObject *, QEvent *e) -> qintptr {
            if (e->type() == QEvent::User)
                calls.append(QStringLiteral("first"));
            return 0;
        }, &widget);
        QString second = MSubClassManager::Subclass(&widget, [&](QObject *, QEvent *e) -> qintptr {
            if (e->type() == QEvent::User) {
                calls.append(QStringLiteral("second"));
                if (consumeSecond)
                    MSubClassManager::gobjWindow()->MessageConsumed = true;
            }
            return 0;
        }, &widget);
        QVERIFY(!first.isEmpty() && !second.isEmpty());
        sendUser(&widget);
        QCOMPARE(calls, QStringList{QStringLiteral("second")});
        QCOMPARE(widget.seen, 0);
        consumeSecond = false;
        calls.clear();
        sendUser(&widget);
        QCOMPARE(calls, (QStringList{QStringLiteral("second"), QStringLiteral("first")}));
        QCOMPARE(widget.seen, 1);
        QVERIFY(MSubClassManager::Unsubclass(second));
        QVERIFY(second.isEmpty());
        QVERIFY(MSubClassManager::Unsubclass(first));
        QVERIFY(MSubClassManager::ChainOf(&widget) == nullptr);
        calls.clear();
        sendUser(&widget);
        QVERIFY(calls.isEmpty());
        QCOMPARE(widget.seen, 2);
        QString unknown = QStringLiteral("w_1_1");
        QVERIFY(!MSubClassManager::Unsubclass(unknown));
    }

    void chainErrors()
    {
        QString error;
        QVERIFY(MSubClassManager::Subclass(nullptr, [](QObject *, QEvent *) -> qintptr { return 0; }, nullptr,
                                           &error)
                    .isEmpty());
        QCOMPARE(error, QStringLiteral("Invalid parameter."));
        QWidget a, b;
        CChain chain;
        QVERIFY(!chain.Hook(&a, [](QObject *, QEvent *) -> qintptr { return 0; }, nullptr).key.isEmpty());
        QCOMPARE(chain.Hook(&b, [](QObject *, QEvent *) -> qintptr { return 0; }, nullptr).error,
                 QStringLiteral("Window handle conflict."));
        QCOMPARE(chain.Count(), 2);
        QVERIFY(chain.Item(chain.Count())->IsOriginalWindowProc());
    }

    void oneKeyboardHookPerWindow()
    {
        QWidget widget;
        int first = MSubClassManager::HookKeyboard([](QObject *, QKeyEvent *) { return false; }, &widget);
        QVERIFY(first != 0);
        QCOMPARE(MSubClassManager::HookKeyboard([](QObject *, QKeyEvent *) { return false; }, &widget), 0);
        QCOMPARE(MSubClassManager::HookOf(&widget), first);
        QCOMPARE(MSubClassManager::LastHook(), first);
        MSubClassManager::UnhookKeyboard(first);
        QCOMPARE(first, 0);
        QCOMPARE(MSubClassManager::HookOf(&widget), 0);
    }

    void clickOnAnotherTabSelectsIt()
    {
        Form form;
        QVERIFY(form.ready());
        Recorder host;
        form.window.installEventFilter(&host);
        QSignalSpy clicks(form.control, &Pagoline::Click);
        QSignalSpy downs(form.control, &Pagoline::MouseDown);
        const QPoint at = middleOf(*form.control->TabList().Item(1));
        QTest::mouseClick(form.control, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(form.control->Tab(), short(0));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.first().first().value<short>(), short(2));
        QCOMPARE(downs.count(), 0);
        QCOMPARE(host.presses, QList<QPoint>{at + QPoint(10, 10)});
    }

    void hostMayHideTheControlFromItsClickHandler()
    {
        // Hiding takes the control's procedure out of the chain that is delivering the click.
        Form form;
        QVERIFY(form.ready());
        connect(form.control, &Pagoline::Click, form.control, &QWidget::hide);
        QTest::mouseClick(form.control, Qt::LeftButton, Qt::NoModifier, middleOf(*form.control->TabList().Item(1)));
        QVERIFY(form.control->isHidden());
        QVERIFY(MSubClassManager::ChainOf(form.control) == nullptr);
        form.control->show();
        QVERIFY(MSubClassManager::ChainOf(form.control) != nullptr);
        QCOMPARE(form.control->Tab(), short(0));
    }

    void procedureMayUnhookTheOneAfterIt()
    {
        CountingWidget widget;
        int laterCalls = 0;
        QString later = MSubClassManager::Subclass(&widget, [&](QObject *, QEvent *) -> qintptr {
            ++laterCalls;
            return 0;
        }, &widget);
        QString first = MSubClassManager::Subclass(&widget, [&](QObject *, QEvent *e) -> qintptr {
            if (e->type() == QEvent::User)
                MSubClassManager::Unsubclass(later);
            return 0;
        }, &widget);
        laterCalls = 0;
        sendUser(&widget);
        QCOMPARE(laterCalls, 0);
        QCOMPARE(widget.seen, 1);
        QVERIFY(MSubClassManager::Unsubclass(first));
    }

    void clickThatChangesNothingRaisesMouseDown_data()
    {
        QTest::addColumn<int>("tab"); // fixed index of the tab clicked, 0 for the page
        QTest::newRow("current tab") << 3;
        QTest::newRow("disabled tab") << 2;
        QTest::newRow("page") << 0;
    }

    void clickThatChangesNothingRaisesMouseDown()
    {
        QFETCH(int, tab);
        Form form;
        QVERIFY(form.ready());
        form.control->setTabEnabled(1, false);
        QSignalSpy clicks(form.control, &Pagoline::Click);
        QSignalSpy downs(form.control, &Pagoline::MouseDown);
        const QPoint at = tab > 0 ? middleOf(*form.control->TabList().Item(tab)) : QPoint(200, 150);
        QTest::mouseClick(form.control, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(downs.count(), 1);
        QCOMPARE(downs.first().at(0).value<short>(), short(1));
        QCOMPARE(downs.first().at(2).toFloat(), float(at.x()));
    }

    void arrowKeysMoveBetweenTabs_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        // Public numbers; 10 visible tabs, 4 per row.
        QTest::newRow("up from 1") << 1 << int(Qt::Key_Up) << 5;
        QTest::newRow("down from 1") << 1 << int(Qt::Key_Down) << 9;
        QTest::newRow("down from 2") << 2 << int(Qt::Key_Down) << 6;
        QTest::newRow("left wraps") << 0 << int(Qt::Key_Left) << 3;
        QTest::newRow("right on the short row wraps") << 9 << int(Qt::Key_Right) << 8;
    }

    void arrowKeysMoveBetweenTabs()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        Form form;
        QVERIFY(form.ready());
        form.control->setTabs(10);
        form.control->setTabsPerRow(4);
        form.control->setTab(short(from));
        form.control->setFocus();
        QTRY_VERIFY(form.control->hasFocus());
        QTest::keyClick(form.control, Qt::Key(key));
        QTEST(int(form.control->Tab()), "to");
    }

    void keyDownHandlerCanCancelTheArrow()
    {
        Form form;
        QVERIFY(form.ready());
        form.control->setTab(0);
        connect(form.control, &Pagoline::KeyDown, this, [](short &KeyCode, short) { KeyCode = 0; });
        form.control->setFocus();
        QTRY_VERIFY(form.control->hasFocus());
        QTest::keyClick(form.control, Qt::Key_Right);
        QCOMPARE(form.control->Tab(), short(0));
    }

    void altWithTheCurrentAcceleratorTakesTheFocus()
    {
        Form form;
        QVERIFY(form.ready());
        form.control->setTabCaption(2, QStringLiteral("&Settings"));
        form.control->setTabCaption(0, QStringLiteral("&Outputs"));
        form.edit->setFocus();
        QTRY_VERIFY(form.edit->hasFocus());
        Recorder edit;
        form.edit->installEventFilter(&edit);
        QTest::keyClick(form.edit, Qt::Key_O, Qt::AltModifier); // another tab's accelerator
        QVERIFY(form.edit->hasFocus());
        QCOMPARE(edit.keys, QList<int>{Qt::Key_O});
        QTest::keyClick(form.edit, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(form.control->hasFocus());
        QCOMPARE(edit.keys, QList<int>{Qt::Key_O});
        QCOMPARE(form.control->Tab(), short(2));
    }

    void tabKeyPassesTheFocusOn()
    {
        Form form;
        QVERIFY(form.ready());
        QList<short> codes;
        connect(form.control, &Pagoline::KeyDown, this, [&codes](short &KeyCode, short) { codes.append(KeyCode); });
        form.control->setFocus();
        QTRY_VERIFY(form.control->hasFocus());
        QTest::keyClick(form.control, Qt::Key_Tab);
        QTRY_VERIFY(form.edit->hasFocus());
        QCOMPARE(codes, QList<short>{9});
    }

    void hookTakesItsKeysBeforeTheHostsShortcuts()
    {
        Form form;
        QVERIFY(form.ready());
        form.control->setTabCaption(2, QStringLiteral("&Settings"));
        form.control->setTab(0);
        int triggered = 0;
        for (const QKeySequence &keys : {QKeySequence(Qt::Key_Right), QKeySequence(Qt::ALT | Qt::Key_S)}) {
            auto *action = new QAction(&form.window);
            action->setShortcut(keys);
            form.window.addAction(action);
            connect(action, &QAction::triggered, this, [&triggered] { ++triggered; });
        }
        form.control->setFocus();
        QTRY_VERIFY(form.control->hasFocus());
        QTest::keyClick(form.control, Qt::Key_Right);
        QCOMPARE(form.control->Tab(), short(1));
        form.control->setTab(2);
        form.edit->setFocus();
        QTRY_VERIFY(form.edit->hasFocus());
        QTest::keyClick(form.edit, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(form.control->hasFocus());
        QCOMPARE(triggered, 0);
    }

    void focusShowsTheFocusRectangleAndAccelerators()
    {
        Form form;
        QVERIFY(form.ready());
        form.control->setTabCaption(2, QStringLiteral("&Settings"));
        form.edit->setFocus();
        QTRY_VERIFY(form.edit->hasFocus());
        QTest::keyClick(form.edit, Qt::Key_End); // no modifier held from an earlier key
        form.control->Redraw(false);
        const QImage unfocused = form.control->BackBuffer().copy();
        form.control->setFocus();
        QTRY_VERIFY(form.control->hasFocus());
        QVERIFY(form.control->BackBuffer() != unfocused);
        form.control->setShowFocusRect(false);
        const QImage acceleratorsOnly = form.control->BackBuffer().copy();
        QVERIFY(acceleratorsOnly != unfocused);
        form.edit->setFocus();
        QTRY_VERIFY(form.edit->hasFocus());
        form.control->setShowFocusRect(true);
        QCOMPARE(form.control->BackBuffer(), unfocused);
    }

    void dropsArePassedOnOnlyInManualMode()
    {
        Pagoline control;
        QMimeData data;
        data.setText(QStringLiteral("dropped"));
        QList<short> states;
        QString droppedText;
        connect(&control, &Pagoline::OLEDragOver, this,
                [&](const QMimeData *, int &, short, short, float, float, short &State) { states.append(State); });
        connect(&control, &Pagoline::OLEDragDrop, this,
                [&](const QMimeData *Data, int &, short, short, float X, float) {
                    droppedText = Data->text() + QStringLiteral("@") + QString::number(X);
                });
        QVERIFY(!control.acceptDrops());
        control.setOLEDropMode(Pagoline::ssOLEDropManual);
        QVERIFY(control.acceptDrops());
        QDragEnterEvent enter(QPoint(30, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&control, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(30, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&control, &drop);
        QCOMPARE(states, QList<short>{0});
        QCOMPARE(droppedText, QStringLiteral("dropped@30"));
    }

    void designModeTakesNoKeys()
    {
        Form form;
        QVERIFY(form.ready());
        form.control->setUserMode(false);
        form.control->setTab(0);
        form.control->setFocus();
        QTRY_VERIFY(form.control->hasFocus());
        QTest::keyClick(form.control, Qt::Key_Right);
        QCOMPARE(form.control->Tab(), short(0));
        QCOMPARE(MSubClassManager::HookOf(form.control), 0);
    }
};

QTEST_MAIN(InputTest)
#include "tst_input.moc"
