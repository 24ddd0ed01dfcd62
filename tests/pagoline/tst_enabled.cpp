// The control's own Enabled, in a shown window driven by real Qt events: a disabled
// control looks exactly as an enabled one, the widgets on its pages stay live, clicks,
// keys and accelerators do nothing and raise no events until it is enabled again; what
// is saved is its own Enabled, not a parent's; PropertyChanged("Enabled") follows only
// its own change. A disabled parent greying the whole tree is Qt's and is not tested.
#include "pagoline/core/Pagoline.h"
#include "pagoline/core/PropertyBag.h"

#include <QLineEdit>
#include <QtTest>

namespace {

// A host window with the control, a page container holding a line edit on tab 0, and a
// line edit of the host's own outside the control.
struct Form
{
    QWidget window;
    Pagoline *control = nullptr;
    QWidget *page = nullptr;
    QLineEdit *pageEdit = nullptr;
    QLineEdit *outside = nullptr;

    Form()
    {
        window.resize(460, 360);
        control = new Pagoline(&window);
        control->setGeometry(10, 10, 400, 300);
        control->setTab(0);
        page = new QWidget(control);
        page->setObjectName(QStringLiteral("page0"));
        page->setGeometry(control->PageRect());
        pageEdit = new QLineEdit(page);
        pageEdit->setGeometry(10, 10, 150, 24);
        outside = new QLineEdit(&window);
        outside->setGeometry(10, 320, 200, 24);
        window.show();
        window.activateWindow();
    }
    [[nodiscard]] bool ready() { return QTest::qWaitForWindowActive(&window); }
    [[nodiscard]] QPoint middleOfTab(short tab) const
    {
        const CTab &t = *control->TabList().Item(tab + 1);
        return QPoint((t.ULx() + t.LRx()) / 2, (t.ULy() + t.LRy()) / 2);
    }
};

bool hasName(const QSignalSpy &spy, const QString &name)
{
    for (const QList<QVariant> &args : spy) {
        if (args.first().toString() == name)
            return true;
    }
    return false;
}

} // namespace

class EnabledTest : public QObject
{
    Q_OBJECT

private slots:
    void disabledControlLooksTheSameAndItsPagesStayLive()
    {
        Form form;
        QVERIFY(form.ready());
        const QImage enabled = form.control->grab().toImage();
        form.control->setEnabled(false);
        QVERIFY(!form.control->Enabled());
        // Neither the control nor its page is greyed: same pixels, page widgets enabled.
        QVERIFY(form.control->isEnabled());
        QVERIFY(form.pageEdit->isEnabled());
        QCOMPARE(form.control->grab().toImage(), enabled);
        // The page's own widget still takes input.
        QTest::mouseClick(form.pageEdit, Qt::LeftButton);
        QTest::keyClicks(form.pageEdit, QStringLiteral("live"));
        QCOMPARE(form.pageEdit->text(), QStringLiteral("live"));
    }

    void disabledControlTakesNoClicksOrKeys()
    {
        Form form;
        QVERIFY(form.ready());
        form.control->setFocus();
        QTRY_VERIFY(form.control->hasFocus());
        form.control->setEnabled(false);
        QSignalSpy clicks(form.control, &Pagoline::Click);
        QSignalSpy downs(form.control, &Pagoline::MouseDown);
        QSignalSpy keys(form.control, &Pagoline::KeyDown);
        QTest::mouseClick(form.control, Qt::LeftButton, Qt::NoModifier, form.middleOfTab(1));
        QTest::keyClick(form.control, Qt::Key_Right);
        QCOMPARE(form.control->Tab(), short(0));
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(downs.count(), 0);
        QCOMPARE(keys.count(), 0);
        // Nor can it be clicked or tabbed into.
        QCOMPARE(form.control->focusPolicy(), Qt::NoFocus);

        form.control->setEnabled(true);
        QTest::mouseClick(form.control, Qt::LeftButton, Qt::NoModifier, form.middleOfTab(1));
        QCOMPARE(form.control->Tab(), short(1));
        QCOMPARE(clicks.count(), 1);
        QTest::keyClick(form.control, Qt::Key_Right);
        QCOMPARE(form.control->Tab(), short(2));
    }

    void programmaticSelectionStillWorksWhileDisabled()
    {
        // A host turns the page itself while the user is kept out.
        Form form;
        form.control->setEnabled(false);
        QSignalSpy clicks(form.control, &Pagoline::Click);
        form.control->setTab(2);
        QCOMPARE(form.control->Tab(), short(2));
        QCOMPARE(clicks.count(), 1);
    }

    void savedEnabledIsTheControlsOwn_data()
    {
        QTest::addColumn<bool>("parentEnabled");
        QTest::addColumn<bool>("ownEnabled");
        QTest::newRow("disabled parent, enabled control") << false << true;
        QTest::newRow("enabled parent, disabled control") << true << false;
        QTest::newRow("both disabled") << false << false;
    }

    void savedEnabledIsTheControlsOwn()
    {
        QFETCH(bool, parentEnabled);
        QFETCH(bool, ownEnabled);
        QWidget parent;
        auto *control = new Pagoline(&parent);
        control->setEnabled(ownEnabled);
        parent.setEnabled(parentEnabled);
        PropertyBag bag;
        QVERIFY(control->WriteProperties(bag));
        // True is the default and is not stored.
        QCOMPARE(bag.contains(QStringLiteral("Enabled")), !ownEnabled);
        Pagoline back;
        QVERIFY(back.ReadProperties(PropertyBag::fromBytes(bag.toBytes())));
        QCOMPARE(back.Enabled(), ownEnabled);
        QVERIFY(back.isEnabled());
    }

    void propertyChangedOnlyForItsOwnChange()
    {
        QWidget parent;
        auto *control = new Pagoline(&parent);
        QSignalSpy changes(control, &Pagoline::PropertyChanged);
        parent.setEnabled(false);
        parent.setEnabled(true);
        QVERIFY(!hasName(changes, QStringLiteral("Enabled")));
        control->setEnabled(false);
        control->setEnabled(false);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first().first().toString(), QStringLiteral("Enabled"));
        // The property system reaches the same Enabled.
        QVERIFY(control->setProperty("Enabled", true));
        QVERIFY(control->Enabled());
        QCOMPARE(changes.count(), 2);
    }
};

QTEST_MAIN(EnabledTest)
#include "tst_enabled.moc"
