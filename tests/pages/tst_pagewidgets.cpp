// The page widgets on the offscreen platform: every control of the three pages exists by its
// name and kind, the widgets mirror the model (text, items, colour, visibility), and clicks,
// picks and keypad presses reach the page logic. Layout and sizes are not checked.

#include "PagesFixture.h"
#include "link/ValueFormat.h"
#include "shell/pages/AdvancedPage.h"
#include "shell/pages/ConfigurationPage.h"
#include "shell/pages/DiagnosticsPage.h"
#include "shell/pages/core/PageLayouts.h"
#include "shell/pages/core/PageControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

struct WidgetFixture : PagesFixture {
    WidgetFixture()
    {
        FillColourTable();
        core.applyTexts();
        select(63, 2.1);
        core.adaptToSensorType();
    }
    template <class W>
    W* find(const char* name)
    {
        for (QWidget* page : {static_cast<QWidget*>(&configuration), static_cast<QWidget*>(&diagnostics),
                              static_cast<QWidget*>(&advanced)}) {
            if (auto* w = page->findChild<W*>(QString::fromLatin1(name)))
                return w;
        }
        return nullptr;
    }

    ConfigurationPage configuration{core};
    DiagnosticsPage diagnostics{core};
    AdvancedPage advanced{core};
};

bool kindMatches(QWidget* w, ControlKind kind)
{
    switch (kind) {
    case ControlKind::Frame: return qobject_cast<QGroupBox*>(w);
    case ControlKind::Label: return qobject_cast<QLabel*>(w);
    case ControlKind::Button: return qobject_cast<QPushButton*>(w);
    case ControlKind::Text: return qobject_cast<QLineEdit*>(w);
    case ControlKind::List: return qobject_cast<QComboBox*>(w);
    case ControlKind::Check: return qobject_cast<QCheckBox*>(w);
    case ControlKind::Slider: return qobject_cast<QSlider*>(w);
    case ControlKind::Progress: return qobject_cast<QProgressBar*>(w);
    }
    return false;
}

}  // namespace

class TstPageWidgets : public QObject {
    Q_OBJECT
private slots:
    void everyControlExistsByNameOnItsPage();
    void widgetsMirrorTheModel();
    void userPicksReachThePageRules();
    void writeButtonRaisesTheRequest();
    void keypadOpensTheFullLevel();
    void outputTestCoversTheDiagnosticsPage();
    void valueShownDuringAnExchangeIsNotGreyAfterwards();
};

void TstPageWidgets::valueShownDuringAnExchangeIsNotGreyAfterwards()
{
    WidgetFixture f;
    auto* value = f.find<QLabel>("LblTempRes");
    QVERIFY(value);
    const QColor normal = value->palette().color(QPalette::Active, QPalette::WindowText);
    // The page is disabled while an exchange runs, and the refresh writes the value then.
    f.diagnostics.setEnabled(false);
    f.model().setText(QStringLiteral("LblTempRes"), QStringLiteral("27.5"));
    f.diagnostics.setEnabled(true);
    QCOMPARE(value->palette().color(QPalette::Active, QPalette::WindowText), normal);
    QVERIFY(value->isEnabled());
}

void TstPageWidgets::everyControlExistsByNameOnItsPage()
{
    WidgetFixture f;
    const QWidget* pages[] = {nullptr, &f.configuration, &f.diagnostics, &f.advanced};
    for (const PageControl& c : PageControls()) {
        auto* w = pages[c.page]->findChild<QWidget*>(QString::fromLatin1(c.name));
        QVERIFY2(w, c.name);
        QVERIFY2(kindMatches(w, c.kind), c.name);
        // Every control has its place in its group's grid, except the group that covers the page.
        if (!CoversPage(w->objectName()))
            QVERIFY2(w->parentWidget()->layout() && w->parentWidget()->layout()->indexOf(w) >= 0, c.name);
    }
    QVERIFY(f.find<QLabel>("LblStatus_0"));
    QVERIFY(f.find<QPushButton>("CmdLogOut_1"));
}

void TstPageWidgets::widgetsMirrorTheModel()
{
    WidgetFixture f;
    f.model().setText(QStringLiteral("LblStatus_0"), QStringLiteral("LangStatus0b"));
    f.model().setColour(QStringLiteral("LblStatus_0"), 0);
    auto* status = f.find<QLabel>("LblStatus_0");
    QCOMPARE(status->text(), QStringLiteral("LangStatus0b"));
    QCOMPARE(status->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    auto* type = f.find<QComboBox>("ListOPType");
    QCOMPARE(type->count(), 3);
    QCOMPARE(type->itemText(1), QStringLiteral("0-20mA (0-10V)"));
    f.model().setIndex(QStringLiteral("ListOPType"), 1);
    QCOMPARE(type->currentIndex(), 1);

    QVERIFY(!f.find<QWidget>("ListOPVar2")->isHidden());
    f.select(45, 1.6);
    f.core.adaptToSensorType();
    QVERIFY(f.find<QWidget>("ListOPVar2")->isHidden());
    QVERIFY(f.find<QWidget>("TextHighPercent")->isHidden());
}

void TstPageWidgets::userPicksReachThePageRules()
{
    WidgetFixture f;
    auto* type = f.find<QComboBox>("ListOPType");
    f.model().setIndex(QStringLiteral("ListOPType"), 0);
    QVERIFY(!f.find<QWidget>("ListOPVar1")->isHidden());
    type->setCurrentIndex(2);
    emit type->activated(2);
    QCOMPARE(f.model().index(QStringLiteral("ListOPType")), 2);
    QVERIFY(f.find<QWidget>("ListOPVar1")->isHidden());

    auto* box = f.find<QLineEdit>("TextMB");
    QTest::keyClicks(box, QStringLiteral("0.25"));
    QCOMPARE(f.model().text(QStringLiteral("TextMB")), QStringLiteral("0.25"));
}

void TstPageWidgets::writeButtonRaisesTheRequest()
{
    WidgetFixture f;
    auto* write = f.find<QPushButton>("CmdConfigWrite");
    QVERIFY(!write->isEnabled());
    f.model().setEnabled(QStringLiteral("CmdConfigWrite"), true);
    QTest::mouseClick(write, Qt::LeftButton);
    QVERIFY(f.requests.WriteConfigRequest);
    QVERIFY(!write->isEnabled());
}

void TstPageWidgets::keypadOpensTheFullLevel()
{
    WidgetFixture f;
    for (const char* key : {"Key_7", "Key_1", "Key_4", "Key_0"})
        QTest::mouseClick(f.find<QPushButton>(key), Qt::LeftButton);
    QVERIFY(f.find<QWidget>("FramePW")->isHidden());
    QVERIFY(!f.find<QWidget>("CmdLogOut_0")->isHidden());
    QVERIFY(f.core.accessLevels().advancedTabVisible());
}

void TstPageWidgets::outputTestCoversTheDiagnosticsPage()
{
    WidgetFixture f;
    f.diagnostics.resize(640, 400);
    f.model().setEnabled(QStringLiteral("CmdOutputTest"), true);
    QTest::mouseClick(f.find<QPushButton>("CmdOutputTest"), Qt::LeftButton);
    auto* frame = f.find<QWidget>("FrameInterface");
    QVERIFY(!frame->isHidden());
    QCOMPARE(frame->geometry(), f.diagnostics.rect());
    QTest::mouseClick(f.find<QPushButton>("CmdmA_2"), Qt::LeftButton);
    QCOMPARE(f.find<QSlider>("SlidermA_0")->value(), 2560);
    // The button that closes the test stays reachable above the group.
    auto* exit = f.find<QPushButton>("CmdOutputTest");
    QCOMPARE(f.diagnostics.childAt(exit->geometry().center()), exit);
}

QTEST_MAIN(TstPageWidgets)
#include "tst_pagewidgets.moc"
